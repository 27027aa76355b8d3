#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/engine_test_support.h"

namespace {

const char* const kPreinitializationFailed =
    "Failed to initialize the application. You can try the following: 1) Reboot your system, 2) Update your drivers, "
    "3) Restart the application.\n\nSee generated log for details.";
constexpr int kPreinitializationFailedExitCode = 2;

// The host run in a resource folder that names the program "test-game", with a
// home of its own that is also its runtime folder (so that hosts of other test
// runs do not count as another instance); standard error goes to errors.txt there.
class HostExecutable : public testing::Test {
protected:
    void SetUp() override
    {
        std::ofstream(m_res.Path() / "prog.xml")
            << "<p><array id=\"APPLICATION\"><node program_id=\"test-game\"/></array></p>";
    }

    int RunHost(const std::string& libraryPath, const std::string& arguments = "")
    {
        const std::string folder = m_home.Path().string();
        const std::string command = "cd '" + m_res.Path().string() + "' && HOME='" + folder + "' XDG_RUNTIME_DIR='" +
                                    folder + "' XDG_DATA_HOME='" + folder + "/data' HALVO_LIBRARY_PATH='" +
                                    libraryPath + "' '" + HALVO_HOST_PATH + "' " + arguments + " 2> '" + folder +
                                    "/errors.txt'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Errors() const { return m_home.Read("errors.txt"); }
    std::string Log(const std::string& programId = "test-game") const
    {
        return m_home.Read("data/" + programId + "/logs/" + programId + ".log");
    }

    TemporaryFolder m_res;
    TemporaryFolder m_home;
    TemporaryFolder m_nothing;  // a library path without libraries
};

}  // namespace

TEST_F(HostExecutable, CorruptProgramLibraryIsLoggedWithItsPathNoOtherProgramRunsAndTheTextGoesToStandardError)
{
    std::ofstream(m_res.Path() / "prog.dll") << "this is not a library";
    // The module folder holds the hello sample's prog.dll: it must not stand in for the broken one.
    EXPECT_EQ(kPreinitializationFailedExitCode, RunHost(HALVO_MODULE_DIR));
    const std::string path = (m_res.Path() / "prog.dll").string();
    const std::string log = Log();
    EXPECT_NE(std::string::npos, log.find("[ERROR] HVI_BindProgram: cannot load the program library '" + path +
                                          "' (error 193: " + path + " is not a valid Win32 application.)."))
        << log;
    EXPECT_EQ(std::string::npos, log.find("hello:")) << log;
    // Standard error carries the text shown, but not the log, which exists.
    const std::string errors = Errors();
    EXPECT_NE(std::string::npos, errors.find(kPreinitializationFailed)) << errors;
    EXPECT_EQ(std::string::npos, errors.find("No log file could be written")) << errors;
}

TEST_F(HostExecutable, UnwritableUserFolderFailsAndTellsWhyOnStandardError)
{
    // A file where the program's folder should be: no folder can be made below it, whoever runs the test.
    m_home.Write("data/test-game", "a file");
    EXPECT_EQ(kPreinitializationFailedExitCode, RunHost(HALVO_MODULE_DIR));
    const std::string errors = Errors();
    EXPECT_NE(std::string::npos, errors.find(kPreinitializationFailed)) << errors;
    const size_t notice = errors.find("No log file could be written; the log follows.");
    ASSERT_NE(std::string::npos, notice) << errors;
    EXPECT_NE(std::string::npos, errors.find("[ERROR] HVI_SetUpUserFolders: cannot create '" +
                                                 (m_home.Path() / "data" / "test-game").string(),
                                             notice))
        << errors;
}

TEST_F(HostExecutable, LogFileThatCannotBeCreatedIsExplainedOnStandardError)
{
    // A folder in the place of the log file.
    const std::filesystem::path logPath = m_home.Path() / "data" / "test-game" / "logs" / "test-game.log";
    std::filesystem::create_directories(logPath);
    EXPECT_EQ(kPreinitializationFailedExitCode, RunHost(m_nothing.Path().string()));
    const std::string errors = Errors();
    const size_t notice = errors.find("No log file could be written; the log follows.");
    ASSERT_NE(std::string::npos, notice) << errors;
    EXPECT_NE(std::string::npos,
              errors.find("[ERROR] HVI_OpenLogFile: cannot create the log file '" + logPath.string() + "': ", notice))
        << errors;
    EXPECT_NE(std::string::npos,
              errors.find("[ERROR] HVI_BindProgram: cannot load the program library 'prog.dll'", notice))
        << errors;
}

TEST_F(HostExecutable, RunsTheSampleToAnOrderlyShutdown)
{
    for (const char* file : {"prog.xml", "developer.xml", "hello.png"}) {
        std::filesystem::copy_file(std::filesystem::path(HALVO_SAMPLE_RES_DIR) / file, m_res.Path() / file,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    EXPECT_EQ(0, RunHost(HALVO_MODULE_DIR, "--features FIXED_LOGNAME"));
    const std::string log = Log("hello");
    size_t at = 0;
    for (const char* expected :
         {"[SYSTEM] Preinitializing (command line '", "--features FIXED_LOGNAME').",
          "[SYSTEM] hello: OnEvent checks the video parameters 1280x720", "[SYSTEM] Preinitialization complete.",
          "[SYSTEM] Startup complete.", "hello: Init", "hello: OnEvent got the character 'H' it posted",
          "hello: Update frame 1,", "hello: Draw called, the picture is loaded", "[SYSTEM] HALVO Shutdown.",
          "hello: Deinit after", "[SYSTEM] HALVO log: 0 errors, 0 warnings, "}) {
        const size_t found = log.find(expected, at);
        ASSERT_NE(std::string::npos, found) << expected << "\n" << log;
        at = found;
    }
    // The worker runs beside the frames, so its lines have no fixed place among theirs.
    EXPECT_NE(std::string::npos,
              log.find("[HelloWorker]> [SYSTEM] hello: the worker thread is running (round 1 of 5)"));
}
