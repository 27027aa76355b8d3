#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "preprocessor_test_support.h"
#include "shadertool/lexer/lexer.h"
#include "shadertool/preprocessor/preprocessor_files.h"
#include "support/temporary_folder.h"

using namespace ShaderTool;
namespace fs = std::filesystem;

namespace {

class PreprocessorInclude : public PreprocessorFixture {
protected:
    void SetUp() override
    {
        PreprocessorFixture::SetUp();
        dir = m_folder.string();
        path = dir + "/main.hvsl";
    }
    void Write(const std::string& name, const std::string& text)
    {
        const fs::path file = m_folder / name;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    void SetStamp(const std::string& name, int64_t seconds)
    {
        const auto time = std::chrono::sys_seconds(std::chrono::seconds(seconds));
        fs::last_write_time(m_folder / name, std::chrono::file_clock::from_sys(time));
    }
    std::string Marker(const std::string& file, int line) const
    {
        return "@f \"" + file + "\" " + std::to_string(line) + "\n";
    }

    std::string dir;

private:
    TemporaryFolder m_temporary{"halvo-include"};
    const fs::path m_folder = m_temporary.Path();
};

TEST_F(PreprocessorInclude, IncludedTextIsSplicedBetweenFileMarkers)
{
    Write("inc.h", "x\ny\n");
    EXPECT_TRUE(Run("a\n#include \"inc.h\"\nb\n"));
    EXPECT_EQ(Output(), "a\n" + Marker(dir + "/inc.h", 1) + "x\ny\n\n" + Marker(path, 3) + "b\n");
    EXPECT_EQ(LogText(), "");
}

TEST_F(PreprocessorInclude, TokenizerOfThePreprocessedTextLocatesEveryLineInItsFile)
{
    Write("inc.h", "float a;\n  Texture2D b;\n");
    EXPECT_TRUE(Run("int x;\n#include \"inc.h\"\n#if 1\n\tin y;\n#endif\n"));
    ShaderSource preprocessed;
    preprocessed.path = path.c_str();
    preprocessed.text = context.output;
    preprocessed.firstLine = 1;
    Log tokenizerLog;
    Tokenizer tokenizer;
    tokenizer.SetLog(&tokenizerLog);
    tokenizer.Reset();
    tokenizer.SetSource(preprocessed, false);
    for (int i = 0; i < 100; ++i) {
        Token token;
        token.Clear();
        tokenizer.GetNextToken(token);
        if (token.kind == TOKEN_END) break;
    }
    EXPECT_EQ(std::string(tokenizerLog.text.GetText()),
              ErrorLine(2, 3, "'Texture2D' is a reserved word.", dir + "/inc.h") +
                  ErrorLine(4, 5, "'in' is a reserved word."));
}

TEST_F(PreprocessorInclude, DirectivesOfIncludedFilesRunAndItsMacrosExpandEverywhere)
{
    Write("inc.h", "// shared values\n#define SIZE 4\n");
    EXPECT_TRUE(Run("#include \"inc.h\"\n#if SIZE == 4\nfloat v[SIZE];\n#endif\n"));
    EXPECT_EQ(Output(), Marker(dir + "/inc.h", 1) + "  \n\n\n" + Marker(path, 2) + "\nfloat v[4];\n\n");
}

TEST_F(PreprocessorInclude, ErrorsCarryTheIncludedPathAndItsLines)
{
    Write("inc.h", "ok\n#define _Z 1\n");
    EXPECT_FALSE(Run("#include \"inc.h\"\n#define _Y\n"));
    EXPECT_EQ(LogText(), ErrorLine(2, 9, "identifiers must not start with an underscore.", dir + "/inc.h") +
                             ErrorLine(2, 9, "identifiers must not start with an underscore."));
}

// The directive reads the line after it before it runs; that line must not
// be the marker that returns to the including file.
TEST_F(PreprocessorInclude, ErrorOnTheLastLineOfAFileWithoutNewlineNamesThatFile)
{
    Write("inc.h", "ok\n#define _Z 1");
    EXPECT_FALSE(Run("#include \"inc.h\"\nx\n"));
    EXPECT_EQ(LogText(), ErrorLine(2, 9, "identifiers must not start with an underscore.", dir + "/inc.h"));
    EXPECT_EQ(Output(), Marker(dir + "/inc.h", 1) + "ok\n\n\n" + Marker(path, 2) + "x\n");
}

TEST_F(PreprocessorInclude, MissingFileOrFolderIsReportedAndKeepsTheNumbering)
{
    EXPECT_FALSE(Run("#include \"none.h\"\n#define _Y\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 2, "include file was not found.") +
                             ErrorLine(2, 9, "identifiers must not start with an underscore."));
    EXPECT_EQ(Output(), Marker(dir + "/none.h", 1) + "\n" + Marker(path, 2) + "\n");
    // Nor is a folder an include file.
    Write("sub/a.h", "A\n");
    EXPECT_FALSE(Run("#include \"sub\"\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 2, "include file was not found."));
}

TEST_F(PreprocessorInclude, PathsResolveAgainstTheIncludingFile)
{
    Write("sub/a.h", "#include \"b.h\"\n#include \"../c.h\"\n");
    Write("sub/b.h", "B\n");
    Write("c.h", "C\n");
    EXPECT_TRUE(Run("#include \"sub/a.h\"\n"));
    const std::string a = dir + "/sub/a.h";
    EXPECT_EQ(Output(), Marker(a, 1) + Marker(dir + "/sub/b.h", 1) + "B\n\n" + Marker(a, 2) + Marker(dir + "/c.h", 1) +
                            "C\n\n" + Marker(a, 3) + "\n" + Marker(path, 2));
    EXPECT_EQ(LogText(), "");
}

TEST_F(PreprocessorInclude, MacroNamingAFileIsIncluded)
{
    Write("inc.h", "I\n");
    EXPECT_TRUE(Run("#define NAME \"inc.h\"\n#include NAME\n"));
    EXPECT_EQ(Output(), "\n" + Marker(dir + "/inc.h", 1) + "I\n\n" + Marker(path, 3));
}

// A file that includes itself, directly or through another, is stopped; one
// included twice in a row is no recursion.
TEST_F(PreprocessorInclude, RecursionIsStopped)
{
    Write("inc.h", "I\n");
    EXPECT_TRUE(Run("#include \"inc.h\"\n#include \"inc.h\"\n"));
    EXPECT_EQ(LogText(), "");
    Write("a.h", "A\n#include \"a.h\"\n");
    EXPECT_FALSE(Run("#include \"a.h\"\n"));
    EXPECT_EQ(LogText(), ErrorLine(2, 2, "include file includes itself.", dir + "/a.h"));
    Write("main.hvsl", "");
    EXPECT_FALSE(Run("#include \"main.hvsl\"\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 2, "include file includes itself."));
    Write("a.h", "#include \"b.h\"\n");
    Write("b.h", "#include \"a.h\"\n");
    EXPECT_FALSE(Run("#include \"a.h\"\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 2, "include file includes itself.", dir + "/b.h"));
}

TEST_F(PreprocessorInclude, RunawayIncludesAreStopped)
{
    // Every level names the same file through one more "./", so no path repeats.
    Write("a.h", "#include \"./a.h\"\n");
    EXPECT_FALSE(Run("#include \"a.h\"\n"));
    std::string deepest = dir + "/";
    for (int i = 0; i < 63; ++i) deepest += "./";
    deepest += "a.h";
    EXPECT_EQ(LogText(), ErrorLine(1, 2, "too many include files (maximum is 64).", deepest));
}

TEST_F(PreprocessorInclude, OverlongPathIsNotLookedFor)
{
    path = dir + "/" + std::string(1020, 'd') + "/main.hvsl";
    EXPECT_FALSE(Run("#include \"a.h\"\nx\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 2, "include file was not found."));
    // Refused before any lookup: no file markers are inserted.
    EXPECT_EQ(Output(), "\nx\n");
}

TEST_F(PreprocessorInclude, StampIsTheNewestFileWhenUpToDateIsWanted)
{
    Write("main.hvsl", "#include \"inc.h\"\n");
    Write("inc.h", "I\n");
    SetStamp("main.hvsl", 1700000000);
    SetStamp("inc.h", 1700000500);
    description.stamp = 1600000000;
    context.upToDate = 1;
    EXPECT_TRUE(Run("#include \"inc.h\"\n"));
    EXPECT_EQ(context.stamp, 1700000500);
    SetStamp("inc.h", 1600000001);
    EXPECT_TRUE(Run("#include \"inc.h\"\n"));
    EXPECT_EQ(context.stamp, 1700000000);
    description.stamp = 1800000000;
    EXPECT_TRUE(Run("#include \"inc.h\"\n"));
    EXPECT_EQ(context.stamp, 1800000000);
    context.upToDate = 0;
    EXPECT_TRUE(Run("#include \"inc.h\"\n"));
    EXPECT_EQ(context.stamp, 0);
}

// A file table over one text, as the engine installs one over its file system.
struct MemoryFiles {
    static std::string text;
    static int64_t shortBy;
    static void* Open(const char* path, int64_t* size)
    {
        if (std::string(path) != "mem/inc.h") return nullptr;
        *size = int64_t(text.size());
        return &text;
    }
    static int64_t Read(void* buffer, int64_t count, void* file)
    {
        const int64_t available = int64_t(static_cast<std::string*>(file)->size()) - shortBy;
        const int64_t n = count < available ? count : available;
        std::memcpy(buffer, static_cast<std::string*>(file)->data(), size_t(n));
        return n;
    }
    static void Close(void*) {}
    static bool Stamp(const char*, int32_t*) { return false; }
};
std::string MemoryFiles::text;
int64_t MemoryFiles::shortBy = 0;

const IncludeFileAccess kMemoryFiles = {MemoryFiles::Open, MemoryFiles::Read, MemoryFiles::Close, MemoryFiles::Stamp};

TEST_F(PreprocessorInclude, FilesAreReachedThroughTheInstalledTable)
{
    path = "mem/main.hvsl";
    MemoryFiles::text = "M\n";
    MemoryFiles::shortBy = 0;
    SetIncludeFileAccess(&kMemoryFiles);
    EXPECT_TRUE(Run("#include \"inc.h\"\n"));
    EXPECT_EQ(Output(), Marker("mem/inc.h", 1) + "M\n\n" + Marker(path, 2));
    // A short read is reported.
    MemoryFiles::shortBy = 1;
    EXPECT_FALSE(Run("#include \"inc.h\"\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 2, "include file could not be read."));
    EXPECT_EQ(Output(), Marker("mem/inc.h", 1) + "\n" + Marker(path, 2));
}

}  // namespace
