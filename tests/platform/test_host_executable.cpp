#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/engine_test_support.h"

namespace {

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Runs the host in the resource folder with its own home and library path;
// returns the exit code and keeps stderr in errors.txt of the home folder.
int RunHost(const TemporaryFolder& res, const TemporaryFolder& home, const std::string& libraryPath,
            const std::string& arguments)
{
    const std::string command = "cd '" + res.Path().string() + "' && HOME='" + home.Path().string() + "' XDG_DATA_HOME='" +
                                home.Path().string() + "/data' HALVO_LIBRARY_PATH='" + libraryPath + "' '" HALVO_HOST_PATH "' " +
                                arguments + " 2> '" + home.Path().string() + "/errors.txt'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(HostExecutable, WithoutProgramLibraryShowsTheFatalTextAndEndsWithZero)
{
    TemporaryFolder res;
    TemporaryFolder home;
    TemporaryFolder nothing;
    EXPECT_EQ(0, RunHost(res, home, nothing.Path().string(), ""));
    const std::string errors = ReadFile(home.Path() / "errors.txt");
    EXPECT_NE(std::string::npos, errors.find("Failed to initialize the application. You can try the following: 1) Reboot "
                                             "your system, 2) Update your drivers, 3) Restart the application.\n\nSee "
                                             "generated log for details."))
        << errors;
}

TEST(HostExecutable, RunsTheSampleToAnOrderlyShutdown)
{
    TemporaryFolder res;
    TemporaryFolder home;
    for (const char* file : {"prog.xml", "developer.xml"}) {
        std::filesystem::copy_file(std::filesystem::path(HALVO_SAMPLE_RES_DIR) / file, res.Path() / file);
    }
    EXPECT_EQ(0, RunHost(res, home, HALVO_MODULE_DIR, "--features FIXED_LOGNAME"));
    const std::string log = ReadFile(home.Path() / "data" / "hello" / "logs" / "hello.log");
    size_t at = 0;
    for (const char* expected :
         {"[SYSTEM] Preinitializing (command line '", "--features FIXED_LOGNAME').",
          "[SYSTEM] hello: OnEvent checks the video parameters 1280x720", "[SYSTEM] Preinitialization complete.",
          "[SYSTEM] Startup complete.", "hello: Init", "hello: OnEvent got the character 'H' it posted",
          "hello: Update frame 1,",
          "[SYSTEM] HALVO Shutdown.", "hello: Deinit after", "[SYSTEM] HALVO log: 0 errors, 0 warnings, "}) {
        const size_t found = log.find(expected, at);
        ASSERT_NE(std::string::npos, found) << expected << "\n" << log;
        at = found;
    }
    // The worker runs beside the frames, so its lines have no fixed place among theirs.
    EXPECT_NE(std::string::npos, log.find("[HelloWorker]> [SYSTEM] hello: the worker thread is running (round 1 of 5)"));
}
