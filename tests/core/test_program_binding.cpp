#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/program_binding.h"
#include "engine_test_support.h"

namespace {

// Copies a test program library into the resource folder as "prog.dll".
void InstallProgram(const TemporaryFolder& res, const char* libraryName)
{
    std::filesystem::copy_file(std::filesystem::path(HALVO_MODULE_DIR) / libraryName, res.Path() / "prog.dll");
}

}  // namespace

class ProgramBinding : public testing::Test {
protected:
    void SetUp() override
    {
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, m_res.Path().string().c_str());
        // Nothing named "prog.dll" may be found outside the resource folder.
        char saved[4096] = {};
        if (GetEnvironmentVariableA("HALVO_LIBRARY_PATH", saved, sizeof(saved)) > 0) {
            m_savedLibraryPath = saved;
        }
        SetEnvironmentVariableA("HALVO_LIBRARY_PATH", m_empty.Path().string().c_str());
    }
    void TearDown() override
    {
        HVI_UnbindProgram(m_library);
        SetEnvironmentVariableA("HALVO_LIBRARY_PATH",
                                m_savedLibraryPath.empty() ? nullptr : m_savedLibraryPath.c_str());
    }

    TemporaryFolder m_res;
    TemporaryFolder m_empty;
    std::string m_savedLibraryPath;
    HVI_ProgramLibrary m_library;
};

TEST_F(ProgramBinding, BindsThroughGetProgramInterfaceWithAZeroedBlock)
{
    InstallProgram(m_res, "test-prog-good.dll");
    ASSERT_EQ(HVI_BindResult::Bound, HVI_BindProgram(m_library));
    ASSERT_EQ(&m_library.block, m_library.program);
    EXPECT_STREQ("test program", m_library.program->programId);
    EXPECT_EQ(320, m_library.program->video.width);
    EXPECT_TRUE(WasLogged("[SYSTEM] Program 'test program' bound through HV_GetProgramInterface (interface 15.30.1)."));
}

TEST_F(ProgramBinding, BindsThroughTheOlderEntryPoint)
{
    InstallProgram(m_res, "test-prog-older.dll");
    ASSERT_EQ(HVI_BindResult::Bound, HVI_BindProgram(m_library));
    EXPECT_NE(&m_library.block, m_library.program);
    EXPECT_EQ(200, m_library.program->video.height);
    EXPECT_TRUE(WasLogged("[SYSTEM] Program 'test program' bound through HV_GetInterface (interface 15.30.1)."));
}

TEST_F(ProgramBinding, MissingLibraryFails)
{
    EXPECT_EQ(HVI_BindResult::NoLibrary, HVI_BindProgram(m_library));
    EXPECT_EQ(nullptr, m_library.module);
    EXPECT_EQ(nullptr, m_library.program);
    EXPECT_TRUE(
        WasLogged("[ERROR] HVI_BindProgram: cannot load the program library 'prog.dll' (error 126: The specified "
                  "module could not be found.)."));
}

struct RefusedProgram {
    const char* library;
    HVI_BindResult result;
    const char* message;
};

// Each library loads but is refused; nothing of it may stay bound.
constexpr RefusedProgram kRefusedPrograms[] = {
    {"test-prog-no-entry.dll", HVI_BindResult::NoEntryPoint,
     "[ERROR] HVI_BindProgram: the program library exports neither HV_GetProgramInterface nor HV_GetInterface."},
    {"test-prog-entry-fails.dll", HVI_BindResult::EntryFailed,
     "[ERROR] HVI_BindProgram: HV_GetProgramInterface did not return a program interface."},
    {"test-prog-old-version.dll", HVI_BindResult::WrongVersion,
     "[ERROR] HVI_BindProgram: the program was built for engine interface 15.29, this engine needs 15.30."},
    {"test-prog-other-major.dll", HVI_BindResult::WrongVersion,
     "[ERROR] HVI_BindProgram: the program was built for engine interface 14.30, this engine needs 15.30."},
};

class RefusedProgramBinding : public ProgramBinding, public testing::WithParamInterface<RefusedProgram> {};

TEST_P(RefusedProgramBinding, FailsAndKeepsNothingBound)
{
    InstallProgram(m_res, GetParam().library);
    EXPECT_EQ(GetParam().result, HVI_BindProgram(m_library));
    EXPECT_EQ(nullptr, m_library.module);
    EXPECT_EQ(nullptr, m_library.program);
    EXPECT_TRUE(WasLogged(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(Libraries, RefusedProgramBinding, testing::ValuesIn(kRefusedPrograms));

TEST_F(ProgramBinding, LibraryInTheResourceFolderIsTakenBeforeOneOnTheLibraryPath)
{
    InstallProgram(m_res, "test-prog-older.dll");
    std::filesystem::copy_file(std::filesystem::path(HALVO_MODULE_DIR) / "test-prog-good.dll",
                               m_empty.Path() / "prog.dll");
    ASSERT_EQ(HVI_BindResult::Bound, HVI_BindProgram(m_library));
    EXPECT_TRUE(WasLogged("[SYSTEM] Program 'test program' bound through HV_GetInterface (interface 15.30.1)."));
}

TEST_F(ProgramBinding, ProgDllOnTheLibraryPathIsTakenWithoutOneInTheResourceFolder)
{
    std::filesystem::copy_file(std::filesystem::path(HALVO_MODULE_DIR) / "test-prog-good.dll",
                               m_empty.Path() / "prog.dll");
    ASSERT_EQ(HVI_BindResult::Bound, HVI_BindProgram(m_library));
    EXPECT_TRUE(WasLogged("[SYSTEM] Program 'test program' bound through HV_GetProgramInterface (interface 15.30.1)."));
}

TEST_F(ProgramBinding, BrokenLibraryInTheResourceFolderFailsWithItsPathAndIsNotReplacedByOneFoundByName)
{
    std::ofstream(m_res.Path() / "prog.dll") << "not a library";
    std::filesystem::copy_file(std::filesystem::path(HALVO_MODULE_DIR) / "test-prog-good.dll",
                               m_empty.Path() / "prog.dll");
    EXPECT_EQ(HVI_BindResult::NoLibrary, HVI_BindProgram(m_library));
    EXPECT_EQ(nullptr, m_library.module);
    const std::string path = (m_res.Path() / "prog.dll").string();
    EXPECT_TRUE(WasLogged("[ERROR] HVI_BindProgram: cannot load the program library '" + path +
                          "' (error 193: " + path + " is not a valid Win32 application.)."));
}
