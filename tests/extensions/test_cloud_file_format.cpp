#include "extensions/simulated/cloud_file_format.h"

#include <string>
#include <vector>

#include "extension_test_environment.h"

namespace {

Bytes Value(CloudStore& store, const char* key)
{
    CloudStore::Entry* entry = store.Find(key);
    if (entry == nullptr) return {};
    return Bytes(entry->value.GetData(), entry->value.GetData() + entry->value.GetSize());
}

}  // namespace

// Uses the engine test environment for its log only. The writer is judged byte
// for byte through the simulated cloud's own file (test_simulated_cloud.cpp).
using CloudFileFormat = ExtensionTest;

TEST_F(CloudFileFormat, ReadsEachFileByItsRules)
{
    const struct {
        const char* name;
        Bytes file;
        bool whole;                                       // the reader's answer: nothing was damaged
        std::vector<std::pair<std::string, Bytes>> kept;  // the entries in the store after reading
        const char* line;                                 // the log line, or null
    } rows[] = {
        {"EntriesWithoutBytesAreSkipped",
         Cat({CloudHeader(3), CloudEntry("A", {1, 2, 3}), CloudEntry("B", {}), CloudEntry("C", {42})}),
         true,
         {{"A", {1, 2, 3}}, {"C", {42}}},
         nullptr},
        {"AByteCountOfAllOnesIsNegativeAndSkipsOnlyThatEntry",
         Cat({CloudHeader(2), CloudText("X"), CloudU32(0xFFFFFFFFu), CloudEntry("A", {5})}),
         false,
         {{"A", {5}}},
         "SimulatedCloudImplementation::Load: entry 'X' of 'user://simulated.cloud' has a byte count of -1; it is "
         "skipped."},
        {"AnotherMagicLeavesTheStoreEmpty",
         CloudHeader(0, "SIMULATED_CLOUX"),
         false,
         {},
         "SimulatedCloudImplementation::Load: 'user://simulated.cloud' is not a simulated cloud file."},
        {"AnEmptyFileIsRefused", {}, false, {}, nullptr},
        {"AFileOfTheMagicAloneIsRefused",
         CloudText("SIMULATED_CLOUD"),
         false,
         {},
         "SimulatedCloudImplementation::Load: 'user://simulated.cloud' ends before its entry count."},
        {"AByteCountPastTheEndKeepsTheEntriesBeforeIt",
         Cat({CloudHeader(2), CloudEntry("A", {9}), CloudText("B"), CloudU32(100), {1, 2}}),
         false,
         {{"A", {9}}},
         "SimulatedCloudImplementation::Load: entry 'B' of 'user://simulated.cloud' claims 100 bytes but 2 remain; "
         "the 1 entries before it are kept."},
        {"AnEntryCountOfAllOnesEndsWithTheData",
         Cat({CloudHeader(0xFFFFFFFFu), CloudEntry("A", {3, 4})}),
         false,
         {{"A", {3, 4}}},
         nullptr},
        {"AKeyWithoutTerminatorEndsTheReading",
         Cat({CloudHeader(2), CloudEntry("A", {1}), CloudText("UNTERMINATED", false)}),
         false,
         {{"A", {1}}},
         "SimulatedCloudImplementation::Load: 'user://simulated.cloud' ends inside entry 1 of 2; the 1 entries "
         "before it are kept."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CloudStore store;
        EXPECT_EQ(HVI_ReadSimulatedCloud(row.file.data(), int64_t(row.file.size()), store), row.whole);
        EXPECT_EQ(store.GetCount(), int(row.kept.size()));
        for (const auto& [key, value] : row.kept) EXPECT_EQ(Value(store, key.c_str()), value) << key;
        if (row.line != nullptr) {
            EXPECT_EQ(CountLogged(row.line), 1);
        }
    }
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
