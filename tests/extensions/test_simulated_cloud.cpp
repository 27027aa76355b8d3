#include "extension_test_environment.h"
#include "support/scoped_limit.h"

class SimulatedCloud : public ExtensionTest {
protected:
    void SetUp() override
    {
        ExtensionTest::SetUp();
        StartServices("SIMULATED_CLOUD");
    }

    void Put(const char* key, const Bytes& value)
    {
        Engine()->cloud->PutData(key, value.data(), uint32_t(value.size()));
    }

    // The value of the key, or nullopt-like "missing" as an empty optional.
    bool Read(const char* key, Bytes& value)
    {
        HV_Blob* blob = Engine()->cloud->ReadData(key);
        if (blob == nullptr) return false;
        value.assign(blob->data, blob->data + blob->size);
        Engine()->FreeBlob(blob);
        return true;
    }

    Bytes File(const char* name = "simulated.cloud")
    {
        const std::string text = ReadFileText(UserFolder() / name);
        return Bytes(text.begin(), text.end());
    }

    void WriteFile(const Bytes& bytes)
    {
        std::ofstream(UserFolder() / "simulated.cloud", std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    void Restart()
    {
        StopServices();
        StartServices("SIMULATED_CLOUD");
    }
};

TEST_F(SimulatedCloud, TheFileHoldsTheMagicTheCountAndEachEntryByteForByte)
{
    Put("A", {1, 2, 3});
    Put("Bc", {});
    Put("D", {0xFF});
    const uint8_t expected[] = {
        'S', 'I', 'M', 'U', 'L', 'A', 'T',  'E', 'D', '_', 'C', 'L', 'O', 'U', 'D', 0,  // magic and its zero
        3,   0,   0,   0,                                                               // three entries
        'A', 0,   3,   0,   0,   0,   1,    2,   3,                                     // "A": 3 bytes
        'B', 'c', 0,   0,   0,   0,   0,                                                // "Bc": no bytes
        'D', 0,   1,   0,   0,   0,   0xFF,                                             // "D": 1 byte
    };
    EXPECT_EQ(File(), Bytes(std::begin(expected), std::end(expected)));
}

TEST_F(SimulatedCloud, AnEntryWithoutBytesIsGoneAfterARestart)
{
    Put("A", {1, 2, 3});
    Put("B", {});
    const Bytes expected = Cat({CloudHeader(2), CloudEntry("A", {1, 2, 3}), CloudEntry("B", {})});
    EXPECT_EQ(File(), expected);
    Bytes value;
    EXPECT_TRUE(Read("B", value));
    EXPECT_TRUE(value.empty());

    Restart();
    ASSERT_TRUE(Read("A", value));
    EXPECT_EQ(value, (Bytes{1, 2, 3}));
    EXPECT_FALSE(Read("B", value));
    // Loading does not write: the file stays as it was until the next put.
    EXPECT_EQ(File(), expected);
    // The put re-reads the file as the start did: B stays missing and leaves the file.
    Put("C", {4});
    EXPECT_FALSE(Read("B", value));
    EXPECT_EQ(File(), Cat({CloudHeader(2), CloudEntry("A", {1, 2, 3}), CloudEntry("C", {4})}));
    Restart();
    EXPECT_FALSE(Read("B", value));
}

TEST_F(SimulatedCloud, ARemovalReachesTheFileOnlyWithTheNextPut)
{
    Put("A", {7});
    Engine()->cloud->RemoveData("A");
    Bytes value;
    EXPECT_FALSE(Read("A", value));
    Restart();
    ASSERT_TRUE(Read("A", value));
    EXPECT_EQ(value, (Bytes{7}));

    Engine()->cloud->RemoveData("A");
    Put("C", {8, 9});
    EXPECT_EQ(File(), Cat({CloudHeader(1), CloudEntry("C", {8, 9})}));
    Restart();
    EXPECT_FALSE(Read("A", value));
}

TEST_F(SimulatedCloud, PuttingAKeyTwiceKeepsItsPlaceAndTheLastValue)
{
    Put("first", {1});
    Put("second", {2});
    Put("first", {3, 3});
    EXPECT_EQ(File(), Cat({CloudHeader(2), CloudEntry("first", {3, 3}), CloudEntry("second", {2})}));
    Bytes value;
    ASSERT_TRUE(Read("first", value));
    EXPECT_EQ(value, (Bytes{3, 3}));
}

TEST_F(SimulatedCloud, ADamagedFileKeepsItsGoodEntriesAndIsNotRewrittenByLoading)
{
    const Bytes damaged =
        Cat({CloudHeader(3), CloudEntry("good", {5, 6}), CloudText("bad"), CloudU32(1000), {1, 2, 3}});
    WriteFile(damaged);
    Restart();
    Bytes value;
    ASSERT_TRUE(Read("good", value));
    EXPECT_EQ(value, (Bytes{5, 6}));
    EXPECT_FALSE(Read("bad", value));
    EXPECT_TRUE(
        Logged("SimulatedCloudImplementation::Load: entry 'bad' of 'user://simulated.cloud' claims 1000 bytes "
               "but 3 remain; the 1 entries before it are kept."));
    EXPECT_EQ(File(), damaged);
    EXPECT_FALSE(std::filesystem::exists(UserFolder() / "simulated.cloud.damaged"));
    // The next put rewrites the file from the store, after keeping a copy.
    Put("new", {7});
    EXPECT_TRUE(
        Logged("SimulatedCloudImplementation::Save: the damaged 'user://simulated.cloud' is kept as "
               "'user://simulated.cloud.damaged'."));
    EXPECT_EQ(File(), Cat({CloudHeader(2), CloudEntry("good", {5, 6}), CloudEntry("new", {7})}));
    EXPECT_EQ(File("simulated.cloud.damaged"), damaged);
}

TEST_F(SimulatedCloud, AFileWithAnotherMagicLeavesTheStoreEmpty)
{
    const Bytes other = Cat({CloudHeader(1, "SIMULATED_CLOUX"), CloudEntry("A", {1})});
    WriteFile(other);
    Restart();
    Bytes value;
    EXPECT_FALSE(Read("A", value));
    EXPECT_EQ(File(), other);
    Put("B", {2});
    EXPECT_EQ(File("simulated.cloud.damaged"), other);
    Put("C", {3});
    EXPECT_FALSE(std::filesystem::exists(UserFolder() / "simulated.cloud.damaged-2"));
    // A later damaged file does not replace the first copy.
    const Bytes truncated = CloudHeader(1);
    WriteFile(truncated);
    Restart();
    Put("D", {4});
    EXPECT_EQ(File("simulated.cloud.damaged"), other);
    EXPECT_EQ(File("simulated.cloud.damaged-2"), truncated);
}

TEST_F(SimulatedCloud, ADamagedFileIsNotReplacedWhenNoCopyCanBeKept)
{
    const Bytes damaged = Cat({CloudHeader(2), CloudEntry("good", {5})});
    WriteFile(damaged);
    std::filesystem::create_directories(UserFolder() / "simulated.cloud.damaged");
    for (int copy = 2; copy <= 9; ++copy)
        std::filesystem::create_directories(UserFolder() / ("simulated.cloud.damaged-" + std::to_string(copy)));
    Restart();
    Put("new", {1});
    EXPECT_TRUE(
        Logged("SimulatedCloudImplementation::Save: the damaged 'user://simulated.cloud' could not be kept "
               "aside; it is not replaced."));
    EXPECT_EQ(File(), damaged);
    Bytes value;
    ASSERT_TRUE(Read("new", value));
    EXPECT_EQ(value, (Bytes{1}));
}

TEST_F(SimulatedCloud, NullDataWithASizeIsRefusedAndNothingIsWritten)
{
    EXPECT_TRUE(Engine()->cloud->IsAvailable());
    Engine()->cloud->PutData("A", nullptr, 4);
    EXPECT_TRUE(Logged("SimulatedCloudImplementation::PutData: refused key 'A' with 4 bytes: no data."));
    Bytes value;
    EXPECT_FALSE(Read("A", value));
    EXPECT_FALSE(std::filesystem::exists(UserFolder() / "simulated.cloud"));
}

TEST_F(SimulatedCloud, AFailedWriteKeepsTheOldFileAndTheStore)
{
    Put("A", {1});
    const Bytes before = File();
    {
        // The new file cannot grow past the old one's size, as on a full disk.
        ScopedLimit size(RLIMIT_FSIZE, before.size());
        Put("B", {2});
    }
    EXPECT_TRUE(
        Logged("SimulatedCloudImplementation::Save: 'user://simulated.cloud' could not be written; the store "
               "stays in memory."));
    EXPECT_EQ(File(), before);
    Bytes value;
    ASSERT_TRUE(Read("B", value));
    EXPECT_EQ(value, (Bytes{2}));

    std::filesystem::remove(UserFolder() / "simulated.cloud.tmp");
    Put("C", {3});
    EXPECT_EQ(File(), Cat({CloudHeader(3), CloudEntry("A", {1}), CloudEntry("B", {2}), CloudEntry("C", {3})}));
}

TEST_F(SimulatedCloud, ConcurrentPutsAndReadsKeepEveryKey)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < 20; ++i) {
                const std::string key = "k" + std::to_string(t) + "_" + std::to_string(i);
                Put(key.c_str(), {uint8_t(t), uint8_t(i)});
                Bytes value;
                EXPECT_TRUE(Read(key.c_str(), value));
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    Restart();
    Bytes value;
    ASSERT_TRUE(Read("k3_19", value));
    EXPECT_EQ(value, (Bytes{3, 19}));
}

TEST_F(SimulatedCloud, AFileTooLargeToReadIsMovedAsideBeforeTheFirstPut)
{
    // 3 GiB without a byte on disk: larger than a store can read.
    {
        std::ofstream(UserFolder() / "simulated.cloud", std::ios::binary);
    }
    std::filesystem::resize_file(UserFolder() / "simulated.cloud", 3ull << 30);
    Restart();
    Put("new", {7});
    EXPECT_TRUE(Logged("SimulatedCloudImplementation::Load: 'user://simulated.cloud' exists but cannot be read."));
    EXPECT_EQ(std::filesystem::file_size(UserFolder() / "simulated.cloud.damaged"), 3ull << 30);
    EXPECT_EQ(File(), Cat({CloudHeader(1), CloudEntry("new", {7})}));
}
