#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/program_binding.h"
#include "engine_test_support.h"

namespace {

// Copies a test program library into the folder as "prog.dll".
void InstallProgram(const TemporaryFolder& folder, const char* libraryName)
{
    std::filesystem::copy_file(std::filesystem::path(HALVO_MODULE_DIR) / libraryName, folder.Path() / "prog.dll");
}

}  // namespace

class ProgramBinding : public testing::Test {
protected:
    void SetUp() override { HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, m_res.Path().string().c_str()); }
    void TearDown() override { HVI_UnbindProgram(m_library); }

    TemporaryFolder m_res;
    TemporaryFolder m_empty;
    // Nothing named "prog.dll" may be found outside the resource folder.
    ScopedVariable m_libraryPath{"HALVO_LIBRARY_PATH", m_empty.Path().string()};
    HVI_ProgramLibrary m_library;
};

TEST_F(ProgramBinding, BindsTheLibraryFoundFirstThroughTheEntryPointItExports)
{
    const std::string newer = "Program 'test program' bound through HV_GetProgramInterface (interface 15.30.1).";
    const std::string older = "Program 'test program' bound through HV_GetInterface (interface 15.30.1).";
    const struct {
        const char* inResources;    // the library copied to "prog.dll" in the resource folder
        const char* onLibraryPath;  // and on the library path
        std::string line;
    } rows[] = {
        {"test-prog-good.dll", nullptr, newer},
        {"test-prog-older.dll", nullptr, older},
        {"test-prog-older.dll", "test-prog-good.dll", older},  // the resource folder comes first
        {nullptr, "test-prog-good.dll", newer},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        TemporaryFolder res;
        TemporaryFolder libraryPath;
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, res.Path().string().c_str());
        SetEnvironmentVariableA("HALVO_LIBRARY_PATH", libraryPath.Path().string().c_str());
        if (row.inResources) InstallProgram(res, row.inResources);
        if (row.onLibraryPath) InstallProgram(libraryPath, row.onLibraryPath);
        LogCapture log;
        HVI_ProgramLibrary library;
        ASSERT_EQ(HVI_BindResult::Bound, HVI_BindProgram(library));
        // The newer entry point fills the zeroed block it is given; the older one returns its own.
        EXPECT_EQ(library.program == &library.block, row.line == newer);
        EXPECT_STREQ("test program", library.program->programId);
        EXPECT_EQ(320, library.program->video.width);
        EXPECT_EQ(200, library.program->video.height);
        EXPECT_TRUE(log.ContainsAt(HV_LOG_SYSTEM, row.line)) << log.Text();
        HVI_UnbindProgram(library);
    }
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

TEST_F(ProgramBinding, BrokenLibraryInTheResourceFolderFailsWithItsPathAndIsNotReplacedByOneFoundByName)
{
    std::ofstream(m_res.Path() / "prog.dll") << "not a library";
    InstallProgram(m_empty, "test-prog-good.dll");
    EXPECT_EQ(HVI_BindResult::NoLibrary, HVI_BindProgram(m_library));
    EXPECT_EQ(nullptr, m_library.module);
    const std::string path = (m_res.Path() / "prog.dll").string();
    EXPECT_TRUE(WasLogged("[ERROR] HVI_BindProgram: cannot load the program library '" + path +
                          "' (error 193: " + path + " is not a valid Win32 application.)."));
}
