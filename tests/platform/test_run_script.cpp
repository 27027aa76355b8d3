#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temporary_folder.h"

namespace {

// Runs scripts/run with its arguments on the build folder; returns the exit
// code and keeps standard output and error together in output.
int RunScript(const std::filesystem::path& build, const std::string& arguments, std::string& output)
{
    TemporaryFolder capture;
    const std::filesystem::path file = capture.Path() / "output.txt";
    const std::string command = "BUILD_DIR='" + build.string() + "' '" HALVO_SOURCE_DIR "/scripts/run' " + arguments +
                                " > '" + file.string() + "' 2>&1 < /dev/null";
    const int status = std::system(command.c_str());
    output = capture.Read("output.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(RunScript, UnknownSampleListsTheSamplesAndFails)
{
    TemporaryFolder build;
    std::string output;
    EXPECT_NE(0, RunScript(build.Path(), "nosuch", output));
    EXPECT_NE(std::string::npos, output.find("there is no sample 'nosuch'")) << output;
    EXPECT_NE(std::string::npos, output.find("  hello\n")) << output;
    EXPECT_NE(std::string::npos, output.find("  sound\n")) << output;
}

// A build in which the sound sample's program target makes no file, while the
// module folder holds the hello program under the same name "prog.dll".
TEST(RunScript, SampleWhoseProgramWasNotBuiltFailsInsteadOfRunningAnotherProgram)
{
    TemporaryFolder build;
    std::filesystem::create_directories(build.Path() / "bin");
    std::filesystem::create_directories(build.Path() / "modules" / "sound");
    std::filesystem::create_symlink(HALVO_HOST_PATH, build.Path() / "bin" / "halvo");
    std::filesystem::copy_file(std::filesystem::path(HALVO_MODULE_DIR) / "prog.dll",
                               build.Path() / "modules" / "prog.dll");
    std::ofstream(build.Path() / "build.ninja") << "rule nothing\n"
                                                   "  command = true\n"
                                                   "build modules/sound/prog.dll: nothing\n"
                                                   "build sample_sound_program: phony modules/sound/prog.dll\n"
                                                   "build halvo: phony bin/halvo\n";
    std::string output;
    EXPECT_NE(0, RunScript(build.Path(), "sound --features NO_SOUND", output));
    EXPECT_NE(std::string::npos, output.find("the build made no program library for the sample 'sound' "
                                             "(modules/sound/prog.dll)"))
        << output;
    EXPECT_EQ(std::string::npos, output.find("hello:")) << output;
}
