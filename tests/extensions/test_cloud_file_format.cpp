#include "extensions/simulated/cloud_file_format.h"

#include <string>
#include <vector>

#include "extension_test_environment.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& bytes, const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }
void AppendText(Bytes& bytes, const std::string& text)
{
    Append(bytes, text);
    bytes.push_back(0);
}
void AppendU32(Bytes& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(value >> shift));
}
Bytes Header(uint32_t entries)
{
    Bytes bytes;
    AppendText(bytes, "SIMULATED_CLOUD");
    AppendU32(bytes, entries);
    return bytes;
}
Bytes Image(const CloudStore& store)
{
    ByteBuffer image;
    EXPECT_TRUE(HVI_WriteSimulatedCloud(store, image));
    return Bytes(image.GetData(), image.GetData() + image.GetSize());
}
Bytes Value(CloudStore& store, const char* key)
{
    CloudStore::Entry* entry = store.Find(key);
    if (entry == nullptr) return {};
    return Bytes(entry->value.GetData(), entry->value.GetData() + entry->value.GetSize());
}

}  // namespace

// Uses the engine test environment for its log only.
using CloudFileFormat = ExtensionTest;

TEST_F(CloudFileFormat, WritesMagicCountAndEntriesInStoreOrder)
{
    CloudStore store;
    const uint8_t a[] = {1, 2, 3};
    ASSERT_TRUE(HVI_PutCloudEntry(store, "A", a, 3));
    ASSERT_TRUE(HVI_PutCloudEntry(store, "B", nullptr, 0));

    Bytes expected = Header(2);
    AppendText(expected, "A");
    AppendU32(expected, 3);
    expected.insert(expected.end(), {1, 2, 3});
    AppendText(expected, "B");
    AppendU32(expected, 0);
    EXPECT_EQ(Image(store), expected);
    EXPECT_EQ(expected.size(), 16u + 4u + 2u + 4u + 3u + 2u + 4u);
}

TEST_F(CloudFileFormat, PuttingAKeyTwiceKeepsItsFirstPositionAndTheLastValue)
{
    CloudStore store;
    const uint8_t first[] = {7};
    const uint8_t second[] = {8, 9};
    HVI_PutCloudEntry(store, "K", first, 1);
    HVI_PutCloudEntry(store, "L", first, 1);
    HVI_PutCloudEntry(store, "K", second, 2);

    Bytes expected = Header(2);
    AppendText(expected, "K");
    AppendU32(expected, 2);
    expected.insert(expected.end(), {8, 9});
    AppendText(expected, "L");
    AppendU32(expected, 1);
    expected.push_back(7);
    EXPECT_EQ(Image(store), expected);
}

TEST_F(CloudFileFormat, ReadingSkipsEntriesWithoutBytes)
{
    Bytes file = Header(3);
    AppendText(file, "A");
    AppendU32(file, 3);
    file.insert(file.end(), {1, 2, 3});
    AppendText(file, "B");
    AppendU32(file, 0);
    AppendText(file, "C");
    AppendU32(file, 1);
    file.push_back(42);

    CloudStore store;
    EXPECT_TRUE(HVI_ReadSimulatedCloud(file.data(), int64_t(file.size()), store));
    ASSERT_EQ(store.GetCount(), 2);
    EXPECT_EQ(Value(store, "A"), (Bytes{1, 2, 3}));
    EXPECT_EQ(store.Find("B"), nullptr);
    EXPECT_EQ(Value(store, "C"), (Bytes{42}));
}

TEST_F(CloudFileFormat, AByteCountOfAllOnesIsNegativeAndSkipsOnlyThatEntry)
{
    Bytes file = Header(2);
    AppendText(file, "X");
    AppendU32(file, 0xFFFFFFFFu);
    AppendText(file, "A");
    AppendU32(file, 1);
    file.push_back(5);

    CloudStore store;
    EXPECT_FALSE(HVI_ReadSimulatedCloud(file.data(), int64_t(file.size()), store));
    ASSERT_EQ(store.GetCount(), 1);
    EXPECT_EQ(Value(store, "A"), (Bytes{5}));
    EXPECT_TRUE(
        Logged("SimulatedCloudImplementation::Load: entry 'X' of 'user://simulated.cloud' has a byte count "
               "of -1; it is skipped."));
}

TEST_F(CloudFileFormat, WrongMagicLeavesTheStoreEmptyWithALogLine)
{
    Bytes file;
    AppendText(file, "SIMULATED_CLOUX");
    AppendU32(file, 0);
    CloudStore store;
    EXPECT_FALSE(HVI_ReadSimulatedCloud(file.data(), int64_t(file.size()), store));
    EXPECT_EQ(store.GetCount(), 0);
    EXPECT_TRUE(Logged("SimulatedCloudImplementation::Load: 'user://simulated.cloud' is not a simulated cloud file."));
}

TEST_F(CloudFileFormat, AnEmptyOrHeaderOnlyFileIsRefused)
{
    CloudStore store;
    EXPECT_FALSE(HVI_ReadSimulatedCloud(nullptr, 0, store));
    Bytes magicOnly;
    AppendText(magicOnly, "SIMULATED_CLOUD");
    EXPECT_FALSE(HVI_ReadSimulatedCloud(magicOnly.data(), int64_t(magicOnly.size()), store));
    EXPECT_TRUE(Logged("SimulatedCloudImplementation::Load: 'user://simulated.cloud' ends before its entry count."));
    EXPECT_EQ(store.GetCount(), 0);
}

TEST_F(CloudFileFormat, AByteCountPastTheEndKeepsTheEntriesBeforeIt)
{
    Bytes file = Header(2);
    AppendText(file, "A");
    AppendU32(file, 1);
    file.push_back(9);
    AppendText(file, "B");
    AppendU32(file, 100);
    file.insert(file.end(), {1, 2});

    CloudStore store;
    EXPECT_FALSE(HVI_ReadSimulatedCloud(file.data(), int64_t(file.size()), store));
    ASSERT_EQ(store.GetCount(), 1);
    EXPECT_EQ(Value(store, "A"), (Bytes{9}));
    EXPECT_TRUE(
        Logged("SimulatedCloudImplementation::Load: entry 'B' of 'user://simulated.cloud' "
               "claims 100 bytes but 2 remain; the 1 entries before it are kept."));
}

TEST_F(CloudFileFormat, AnEntryCountOfAllOnesEndsWithTheData)
{
    Bytes file = Header(0xFFFFFFFFu);
    AppendText(file, "A");
    AppendU32(file, 2);
    file.insert(file.end(), {3, 4});

    CloudStore store;
    EXPECT_FALSE(HVI_ReadSimulatedCloud(file.data(), int64_t(file.size()), store));
    ASSERT_EQ(store.GetCount(), 1);
    EXPECT_EQ(Value(store, "A"), (Bytes{3, 4}));
}

TEST_F(CloudFileFormat, AKeyWithoutTerminatorEndsTheReading)
{
    Bytes file = Header(2);
    AppendText(file, "A");
    AppendU32(file, 1);
    file.push_back(1);
    Append(file, "UNTERMINATED");

    CloudStore store;
    EXPECT_FALSE(HVI_ReadSimulatedCloud(file.data(), int64_t(file.size()), store));
    EXPECT_EQ(store.GetCount(), 1);
    EXPECT_TRUE(
        Logged("SimulatedCloudImplementation::Load: 'user://simulated.cloud' ends inside "
               "entry 1 of 2; the 1 entries before it are kept."));
}

TEST_F(CloudFileFormat, PutRefusesKeysTooLongToReadBackAndMissingData)
{
    CloudStore store;
    const std::string longKey(2048, 'k');
    const uint8_t byte = 1;
    EXPECT_FALSE(HVI_PutCloudEntry(store, longKey.c_str(), &byte, 1));
    EXPECT_TRUE(HVI_PutCloudEntry(store, longKey.substr(1).c_str(), &byte, 1));
    EXPECT_FALSE(HVI_PutCloudEntry(store, "null", nullptr, 4));
    EXPECT_FALSE(HVI_PutCloudEntry(store, nullptr, &byte, 1));
    EXPECT_EQ(store.GetCount(), 1);
}
