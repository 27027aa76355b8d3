#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "core/features.h"
#include "core/logging.h"
#include "engine_test_support.h"
#include "foundation/engine_log.h"
#include "winapi/user/message_box_records.h"

class Logging : public testing::Test {
protected:
    void SetUp() override { HVU_ClearMessageBoxRecords(); }
};

TEST_F(Logging, ThresholdKeepsLevelsFromItUpAndLevelsAboveSevenCountAsErrors)
{
    const struct {
        int threshold;  // -1: the default
        std::vector<std::string> kept;
    } rows[] = {
        {-1, {"[ERROR] error", "[SYSTEM] system", "[ERROR] nine"}},
        {0, {"trace line", "info 1", "[WARNING] warning", "[ERROR] error", "[SYSTEM] system", "[ERROR] nine"}},
        {1, {"[WARNING] warning", "[ERROR] error", "[SYSTEM] system", "[ERROR] nine"}},
        {3, {"[SYSTEM] system"}},
    };
    for (const auto& row : rows) {
        if (row.threshold >= 0) HVI_SetLogThreshold(row.threshold);
        const size_t before = LogCapture::AllWritten().size();
        HV_Print("trace %s", "line");
        HV_Log(HV_LOG_INFO, "info %d", 1);
        HV_Log(HV_LOG_WARNING, "warning");
        HV_Log(HV_LOG_ERROR, "error");
        HV_Log(HV_LOG_SYSTEM, "system");
        HV_Log(9, "nine");
        const std::vector<std::string> lines = LogCapture::AllWritten();
        EXPECT_EQ(std::vector<std::string>(lines.begin() + long(before), lines.end()), row.kept) << row.threshold;
    }
}

TEST_F(Logging, PopupsAreLoggedAsLinesAndShownInDeveloperModeOncePerTextUnlessSwitchedOff)
{
    HV_Popup(HV_LOG_ERROR, "Disk %s", "full");  // outside developer mode: logged, not shown
    HVI_SetDeveloperMode(true);
    HV_Popup(HV_LOG_INFO, "hint");  // below the threshold: shown, not logged
    HV_Popup(HV_LOG_WARNING, "same");
    HV_Popup(HV_LOG_WARNING, "same");
    HV_Popup(HV_LOG_WARNING, "other");
    HVI_SetLogThreshold(1);
    HV_Popup(HV_LOG_WARNING, "same");
    HVI_SetFeatureLists("NO_POPUPS", nullptr, nullptr);
    HV_Popup(HV_LOG_ERROR, "hidden");
    std::vector<std::string> shown;
    for (const auto& record : HVU_GetMessageBoxRecords()) shown.push_back(record.text);
    EXPECT_EQ((std::vector<std::string>{"hint", "same", "other"}), shown);
    EXPECT_EQ(
        (std::vector<std::string>{"[ERROR] [POPUP] Disk full", "[WARNING] [POPUP] same", "[ERROR] [POPUP] hidden"}),
        LogCapture::AllWritten());
}

TEST_F(Logging, PopupFromAnotherThreadWaitsForTheMainThread)
{
    HVI_SetDeveloperMode(true);
    std::thread([] { HV_Popup(HV_LOG_ERROR, "from a worker"); }).join();
    EXPECT_TRUE(HVU_GetMessageBoxRecords().empty());
    HVI_ShowQueuedPopups();
    ASSERT_EQ(1u, HVU_GetMessageBoxRecords().size());
    EXPECT_EQ("from a worker", HVU_GetMessageBoxRecords()[0].text);
}

TEST_F(Logging, SummaryCountsErrorsWarningsAndTheRest)
{
    HVI_SetLogThreshold(0);
    HV_Log(HV_LOG_ERROR, "e1");
    HV_Log(HV_LOG_ERROR, "e2");
    HV_Log(HV_LOG_WARNING, "w");
    HV_Log(HV_LOG_INFO, "i");
    HV_Log(HV_LOG_SYSTEM, "s");
    HVI_WriteLogSummary();
    EXPECT_EQ("[SYSTEM] HALVO log: 2 errors, 1 warnings, 2 infos.", LogCapture::AllWritten().back());
}

TEST_F(Logging, FileGetsBannerEarlierLinesAndLaterLinesNumberedFromOneWithoutDroppedOnes)
{
    TemporaryFolder folder;
    HVI_SetSchemeRoot(HV_PATH_SCHEME_LOGS, folder.Path().string().c_str());
    HV_Log(HV_LOG_ERROR, "before the file");
    ASSERT_TRUE(HVI_OpenLogFile("logs://game.log"));
    HV_Log(HV_LOG_INFO, "dropped lines take no number");
    HV_Log(HV_LOG_SYSTEM, "after the file");
    std::ifstream file(folder.Path() / "game.log");
    std::stringstream content;
    content << file.rdbuf();
    std::vector<std::string> lines;
    for (std::string line; std::getline(content, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ(0u, lines[0].rfind("Pelkor HV (API 15.30.00 + core 2326, built ", 0));
    EXPECT_EQ(std::string(64, '-'), lines[1]);
    EXPECT_EQ("0001: [", lines[2].substr(0, 7));
    EXPECT_EQ("] [ERROR] before the file", lines[2].substr(15));
    EXPECT_EQ("0002: [", lines[3].substr(0, 7));
    EXPECT_EQ("] [SYSTEM] after the file", lines[3].substr(15));
}

TEST_F(Logging, FileWithoutNativePathFailsAndKeepsTheLogInMemory)
{
    EXPECT_FALSE(HVI_OpenLogFile("logs://game.log"));
    EXPECT_TRUE(WasLogged("[ERROR] HVI_OpenLogFile: no native path for 'logs://game.log'."));
}

TEST_F(Logging, ConsoleKeepsTheLast8192Lines)
{
    for (int i = 0; i < 8192 + 5; ++i) {
        HV_Log(HV_LOG_ERROR, "%d", i);
    }
    const std::vector<std::string> texts = LogCapture::AllWritten();
    ASSERT_EQ(8192u, texts.size());
    EXPECT_EQ("[ERROR] 5", texts.front());
    EXPECT_EQ("[ERROR] 8196", texts.back());
}

TEST_F(Logging, LowerLayersReachTheLogThroughTheFoundationSeam)
{
    HVI_InstallFoundationLogSink();
    HVI_Log(HV_LOG_ERROR, "File System OpenFile: mode is %s.", "bad");
    HVI_Popup(HV_LOG_WARNING, "watch %d%%", 5);
    HVI_SetLogThreshold(1);
    HVI_Popup(HV_LOG_WARNING, "watch %d%%", 6);
    EXPECT_EQ((std::vector<std::string>{"[ERROR] File System OpenFile: mode is bad.", "[WARNING] [POPUP] watch 6%"}),
              LogCapture::AllWritten());
}

TEST_F(Logging, NullFormatFromTheProgramIsReportedInsteadOfFormatted)
{
    HV_EngineInterface hv = {};
    hv.Print = HV_Print;
    hv.Log = HV_Log;
    hv.Popup = HV_Popup;
    HVI_SetDeveloperMode(true);
    hv.Print(nullptr);
    hv.Log(HV_LOG_SYSTEM, nullptr);
    hv.Popup(HV_LOG_ERROR, nullptr);
    EXPECT_EQ((std::vector<std::string>{"[ERROR] HV_Print: format is null.", "[ERROR] HV_Log: format is null.",
                                        "[ERROR] HV_Popup: format is null."}),
              LogCapture::AllWritten());
    EXPECT_TRUE(HVU_GetMessageBoxRecords().empty());
}
