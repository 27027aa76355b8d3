#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/engine_test_support.h"
#include "core/engine_lifecycle.h"
#include "platform/windows/process_entry.h"
#include "winapi/user/message_box_records.h"

namespace {

constexpr int kPreinitializationFailedExitCode = 2;
const char* const kPreinitializationFailed =
    "Failed to initialize the application. You can try the following: 1) Reboot your system, 2) Update your "
    "drivers, 3) Restart the application.\n\nSee generated log for details.";

// The dated log name of the minute that is offsetMinutes from now.
std::string DatedLogName(const char* programId, int offsetMinutes)
{
    const std::time_t when = std::time(nullptr) + offsetMinutes * 60;
    const std::tm* local = std::localtime(&when);
    char name[128];
    std::snprintf(name, sizeof(name), "%s-%.4d-%.2d-%.2d-%.2d-%.2d", programId, local->tm_year + 1900,
                  local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min);
    return name;
}

int g_frames = 0;

// Asks the main window to close after a few frames, as a user would.
void CloseAfterThreeFrames(HVI_EngineState& state, float)
{
    if (++g_frames == 3) {
        PostMessageA(state.window, WM_CLOSE, 0, 0);
    }
}

}  // namespace

class ProcessEntry : public testing::Test {
protected:
    void SetUp() override
    {
        HVU_ClearMessageBoxRecords();
        g_frames = 0;
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_res.Path());
        HVI_RegisterPlatformSubsystem();
        m_res.Write("prog.xml", "<p><array id=\"APPLICATION\"><node program_id=\"test-game\"/></array></p>");
    }
    void TearDown() override { std::filesystem::current_path(m_previous); }

    void InstallProgram(const char* libraryName)
    {
        std::filesystem::copy_file(std::filesystem::path(HALVO_MODULE_DIR) / libraryName, m_res.Path() / "prog.dll");
    }
    std::string Log(const std::string& name) const { return m_home.Read("data/test-game/logs/" + name); }

    TemporaryFolder m_res;
    TemporaryFolder m_home;
    TemporaryFolder m_emptyLibraryPath;
    ScopedVariable m_configHome{"XDG_CONFIG_HOME", (m_home.Path() / "config").string()};
    ScopedVariable m_dataHome{"XDG_DATA_HOME", (m_home.Path() / "data").string()};
    ScopedVariable m_homeFolder{"HOME", m_home.Path().string()};
    // Named-object claims live in the runtime folder: one of its own keeps the
    // instance check from seeing "test-game" runs of tests running beside it.
    ScopedVariable m_runtimeFolder{"XDG_RUNTIME_DIR", m_home.Path().string()};
    ScopedVariable m_libraryPath{"HALVO_LIBRARY_PATH", m_emptyLibraryPath.Path().string()};
    std::filesystem::path m_previous;
};

TEST_F(ProcessEntry, FailedStartupShowsCoreInitializationFailedAndEndsWithOne)
{
    InstallProgram("test-prog-good.dll");
    HVI_SubsystemHooks renderer = {};
    renderer.Startup = [](HVI_EngineState&) { return false; };
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_RENDERER, renderer);
    EXPECT_EQ(1, HVI_RunProcess("halvo"));
    ASSERT_EQ(1u, HVU_GetMessageBoxRecords().size());
    EXPECT_EQ("Core initialization failed.", HVU_GetMessageBoxRecords()[0].text);
}

TEST_F(ProcessEntry, FullRunEndsWhenTheWindowIsClosedWithAnOrderlyShutdown)
{
    m_res.Write("prog.xml",
                "<p><array id=\"APPLICATION\"><node program_id=\"test-game\" fps_limit=\"198\"/></array></p>");
    m_res.Write(
        "developer.xml",
        "<d><array id=\"DEVELOPER\"><node logging_verbose_level=\"1\" features=\"FROM_DEVELOPER\"/></array></d>");
    InstallProgram("test-prog-good.dll");
    HVI_SubsystemHooks input = {};
    input.UpdateFrame = CloseAfterThreeFrames;
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_INPUT, input);
    EXPECT_EQ(0, HVI_RunProcess("halvo --features FROM_COMMAND_LINE"));
    EXPECT_TRUE(HVU_GetMessageBoxRecords().empty());
    EXPECT_EQ(3, g_frames);  // the close request of the third frame ends the loop before a fourth
    EXPECT_TRUE(HV_HasFeature("FROM_COMMAND_LINE"));
    EXPECT_TRUE(HV_HasFeature("FROM_DEVELOPER"));
    const std::string log = Log("test-game.log");
    size_t at = 0;
    for (const char* expected :
         {"Pelkor HV (API 15.30.00 + core 2326, built ", "[SYSTEM] Preinitializing",
          "[SYSTEM] Program 'test program' bound through HV_GetProgramInterface",
          "[SYSTEM] Preinitialization complete.", "[SYSTEM] Window created: 320x200 windowed.",
          "[SYSTEM] Startup complete.", "[SYSTEM] HALVO Shutdown.", "[SYSTEM] HALVO log: 0 errors, 0 warnings, "}) {
        const size_t found = log.find(expected, at);
        ASSERT_NE(std::string::npos, found) << expected << "\n" << log;
        at = found;
    }
}

TEST_F(ProcessEntry, DeveloperModeDatesTheLogNameAndNumbersATakenOne)
{
    m_res.Write("prog.xml", "<p><array id=\"APPLICATION\"><node program_id=\"test game\"/></array></p>");
    m_res.Write("developer.xml", "<d><array id=\"DEVELOPER\"><node developer_mode=\"1\"/></array></d>");
    // The names of this minute and the next are taken, whichever minute the run falls into.
    const std::filesystem::path logs = m_home.Path() / "data" / "test-game" / "logs";
    std::filesystem::create_directories(logs);
    const std::string minutes[] = {DatedLogName("test-game", 0), DatedLogName("test-game", 1)};
    for (const std::string& name : minutes) {
        std::ofstream(logs / (name + ".log")) << "earlier run\n";
    }
    EXPECT_EQ(kPreinitializationFailedExitCode, HVI_RunProcess("halvo"));
    int numbered = 0;
    for (const std::string& name : minutes) {
        EXPECT_EQ("earlier run\n", Log(name + ".log"));
        const std::string log = Log(name + "-1.log");
        if (!log.empty()) {
            ++numbered;
            EXPECT_EQ(0u, log.rfind("Pelkor HV (API 15.30.00 + core 2326, built ", 0)) << log;
        }
    }
    EXPECT_EQ(1, numbered);
    EXPECT_FALSE(std::filesystem::exists(logs / "test-game.log"));
}

TEST_F(ProcessEntry, UnboundProgramShowsThePreinitializationTextEndsWithItsOwnCodeAndKeepsTheFixedLogName)
{
    m_res.Write("developer.xml", "<d><array id=\"DEVELOPER\"><node developer_mode=\"1\"/></array></d>");
    EXPECT_EQ(kPreinitializationFailedExitCode, HVI_RunProcess("halvo --features FIXED_LOGNAME"));
    const auto boxes = HVU_GetMessageBoxRecords();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(kPreinitializationFailed, boxes[0].text);
    EXPECT_NE(std::string::npos, Log("test-game.log").find("[SYSTEM] HALVO log: 1 errors, 0 warnings,"));
}
