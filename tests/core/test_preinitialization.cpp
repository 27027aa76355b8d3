#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/engine_interface.h"
#include "core/engine_lifecycle.h"
#include "engine_test_support.h"

namespace {

std::vector<std::string> g_hooks;

// Pre-initialisation hooks that note their role and what they saw of the block.
template <int Role>
bool NotePreinitialize(HVI_EngineState& state)
{
    static const char* const names[] = {"renderer", "input", "sound", "extensions", "platform"};
    g_hooks.push_back(std::string(names[Role]) + (state.program && state.program->hv == state.engine ? " bound" : ""));
    return true;
}

template <int Role>
void RegisterNote()
{
    HVI_SubsystemHooks hooks = {};
    hooks.Preinitialize = NotePreinitialize<Role>;
    HVI_RegisterSubsystem(static_cast<HVI_SubsystemRole>(Role), hooks);
}

}  // namespace

// Runs the real pre-initialisation in a resource folder of its own, with the
// test program library as "prog.dll" and user folders below a home of its own.
class Preinitialization : public testing::Test {
protected:
    void SetUp() override
    {
        g_hooks.clear();
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_res.Path());
        std::filesystem::copy_file(std::filesystem::path(HALVO_MODULE_DIR) / "test-prog-good.dll",
                                   m_res.Path() / "prog.dll");
        WriteResource("prog.xml", R"(<p><array id="APPLICATION"><node program_id="test-game"/></array></p>)");
    }
    void TearDown() override
    {
        HVI_Shutdown();
        HVI_CreateEngineLocks();
        std::filesystem::current_path(m_previous);
    }

    void WriteResource(const char* name, const std::string& text) { std::ofstream(m_res.Path() / name) << text; }
    std::filesystem::path Logs() const { return m_home.Path() / "data" / "test-game" / "logs"; }

    TemporaryFolder m_res;
    TemporaryFolder m_home;
    TemporaryFolder m_emptyLibraryPath;
    ScopedVariable m_configHome{"XDG_CONFIG_HOME", (m_home.Path() / "config").string()};
    ScopedVariable m_dataHome{"XDG_DATA_HOME", (m_home.Path() / "data").string()};
    ScopedVariable m_homeFolder{"HOME", m_home.Path().string()};
    ScopedVariable m_libraryPath{"HALVO_LIBRARY_PATH", m_emptyLibraryPath.Path().string()};
    std::filesystem::path m_previous;
};

TEST_F(Preinitialization, MergesTheParametersOfBothFilesIntoTheProgramBlock)
{
    WriteResource("prog.xml", R"(<p><array id="APPLICATION"><node program_id="test-game" name="Test Game" version="2.1"
        developer="Tests" locale="fi_FI" fps_limit="60" reference_resolution="1280x720"/></array></p>)");
    WriteResource("developer.xml", R"(<d><array id="DEVELOPER"><node developer_mode="1" console="1"
        force_windowed="0" force_resolution="1024x768" logging_verbose_level="0"/></array></d>)");
    ASSERT_TRUE(HVI_Preinitialize("halvo --features NO_SOUND,DISABLE_VSYNC"));
    const HVI_EngineState& state = HVI_GetEngineState();
    ASSERT_NE(nullptr, state.program);
    const HV_ProgramInterface& block = *state.program;
    EXPECT_EQ(HVI_GetEngineInterface(), block.hv);
    EXPECT_STREQ("test-game", block.programId);
    EXPECT_STREQ("Test Game", block.title);
    EXPECT_STREQ("2.1", block.version);
    EXPECT_STREQ("Tests", block.developer);
    EXPECT_STREQ("fi_FI", block.video.locale);
    EXPECT_EQ(16, block.video.frameTimeMs);  // (int)(1000 / 62)
    EXPECT_EQ(1024, block.video.width);
    EXPECT_EQ(768, block.video.height);
    EXPECT_EQ(0, block.video.windowed);
    EXPECT_EQ(1280, block.video.referenceWidth);
    EXPECT_EQ(720, block.video.referenceHeight);
    EXPECT_EQ(1, block.video.noSound);
    EXPECT_EQ(1, block.video.developerMode);
    EXPECT_EQ(1, block.video.consoleVisible);
    EXPECT_STREQ("halvo --features NO_SOUND,DISABLE_VSYNC", block.video.commandLine);
    EXPECT_EQ(0, state.presentInterval);
    EXPECT_EQ(0, HVI_GetLogThreshold());
    EXPECT_TRUE(HV_IsDeveloperMode());
    EXPECT_TRUE(HV_HasFeature("DEVELOPER_MODE"));
    EXPECT_TRUE(HV_HasFeature("NO_SOUND"));
}

TEST_F(Preinitialization, ProgramChecksItsVideoParametersOnceAndTheEngineKeepsItsChange)
{
    ASSERT_TRUE(HVI_Preinitialize("halvo"));
    HMODULE program = HVI_GetRunState().library.module;
    auto checks = reinterpret_cast<int (*)(void)>(
        reinterpret_cast<void*>(GetProcAddress(program, "TestProgram_GetVideoCheckCount")));
    ASSERT_NE(nullptr, checks);
    EXPECT_EQ(1, checks());
    EXPECT_EQ(1, HVI_GetEngineState().video.multiPointer);
    EXPECT_EQ(320, HVI_GetEngineState().video.width);  // the program's own size when nothing forces another
    EXPECT_EQ(1, HVI_GetEngineState().presentInterval);
    EXPECT_EQ(2, HVI_GetLogThreshold());
}

TEST_F(Preinitialization, SubsystemsArePreinitializedAfterBindingInTheEnginesOrderThenItCompletes)
{
    RegisterNote<HVI_SUBSYSTEM_EXTENSIONS>();
    RegisterNote<HVI_SUBSYSTEM_SOUND>();
    RegisterNote<HVI_SUBSYSTEM_INPUT>();
    RegisterNote<HVI_SUBSYSTEM_RENDERER>();
    RegisterNote<HVI_SUBSYSTEM_PLATFORM>();
    ASSERT_TRUE(HVI_Preinitialize("halvo"));
    EXPECT_EQ((std::vector<std::string>{"platform bound", "renderer bound", "input bound", "sound bound",
                                        "extensions bound"}),
              g_hooks);
    EXPECT_EQ("[SYSTEM] Preinitialization complete.", LogCapture::AllWritten().back());
}

TEST_F(Preinitialization, FailingSubsystemFailsItWithoutTheCompleteLine)
{
    HVI_SubsystemHooks renderer = {};
    renderer.Preinitialize = [](HVI_EngineState&) { return false; };
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_RENDERER, renderer);
    EXPECT_FALSE(HVI_Preinitialize("halvo"));
    EXPECT_FALSE(WasLogged("[SYSTEM] Preinitialization complete."));
}

TEST_F(Preinitialization, LoggingSwitchedOffWritesNoLogFile)
{
    WriteResource("developer.xml", R"(<d><array id="DEVELOPER"><node logging="0"/></array></d>)");
    ASSERT_TRUE(HVI_Preinitialize("halvo"));
    EXPECT_TRUE(HVI_GetLogFilePath().IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(Logs() / "test-game.log"));
    EXPECT_TRUE(WasLogged("[SYSTEM] Preinitialization complete."));
}

TEST_F(Preinitialization, LogsInWorkingDirPutsTheLogIntoTheResourceFolder)
{
    ASSERT_TRUE(HVI_Preinitialize("halvo --features LOGS_IN_WORKING_DIR"));
    EXPECT_TRUE(std::filesystem::exists(m_res.Path() / "test-game.log"));
    EXPECT_FALSE(std::filesystem::exists(Logs() / "test-game.log"));
}
