// The run-time HLSL compiler binding over our compiler library, loaded by
// its platform name through the kernel layer.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "shadertool/basic/targets.h"
#include "shadertool/compilers/hlsl_compiler.h"
#include "support/temporary_folder.h"

using namespace ShaderTool;

namespace {

constexpr char kVertexText[] =
    "struct VertexInput\n{\n\tfloat4 position : POSITION;\n};\n"
    "struct VertexOutput\n{\n\tfloat4 position : SV_POSITION;\n};\n"
    "VertexOutput main(VertexInput input)\n{\n\tVertexOutput output;\n"
    "\toutput.position = input.position;\n\n\treturn output;\n}\n";

// glslang warns about an attribute it does not know and compiles the rest.
constexpr char kVertexTextWithWarning[] =
    "float4 main(float4 p : POSITION) : SV_POSITION\n{\n\t[sometimes] for (int i = 0; i < 2; i++) {}\n"
    "\treturn p;\n}\n";

class HLSLCompilerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* path = std::getenv("HALVO_LIBRARY_PATH");
        savedLibraryPath_ = path != nullptr ? path : HALVO_MODULE_DIR;
        SetEnvironmentVariableA("HALVO_LIBRARY_PATH", savedLibraryPath_.c_str());
    }
    void TearDown() override { SetEnvironmentVariableA("HALVO_LIBRARY_PATH", savedLibraryPath_.c_str()); }
    // Makes the temporary folder the only place where libraries are found.
    void SearchOnlyTheFolder() { SetEnvironmentVariableA("HALVO_LIBRARY_PATH", folder_.c_str()); }
    void CopyCompilerLibraryAs(const char* name)
    {
        std::filesystem::copy_file(std::filesystem::path(HALVO_MODULE_DIR) / "d3dcompiler_47.dll", folder_ / name);
    }
    std::string LogText() const { return log_.text.GetText(); }

    Log log_;
    TemporaryFolder temporary_{"hlsl-compiler"};
    const std::filesystem::path folder_ = temporary_.Path();
    std::string savedLibraryPath_;
};

// A compiler bound to the newest library of the module folder.
class BoundHLSLCompilerTest : public HLSLCompilerTest {
protected:
    void SetUp() override
    {
        HLSLCompilerTest::SetUp();
        ASSERT_TRUE(compiler_.Initialize(FEATURE_LEVEL_HLSL11_DEFAULT));
    }

    HLSLCompiler compiler_{&log_};
    CompiledCode out_;
};

TEST_F(BoundHLSLCompilerTest, BindsTheNewestLibrary) { EXPECT_NE(GetModuleHandleA("d3dcompiler_47.dll"), nullptr); }

TEST_F(HLSLCompilerTest, BindsVersion46When47IsAbsent)
{
    CopyCompilerLibraryAs("d3dcompiler_46.dll");
    SearchOnlyTheFolder();
    {
        HLSLCompiler compiler(&log_);
        ASSERT_TRUE(compiler.Initialize(FEATURE_LEVEL_HLSL11_DEFAULT));
        EXPECT_NE(GetModuleHandleA("d3dcompiler_46.dll"), nullptr);
        EXPECT_EQ(GetModuleHandleA("d3dcompiler_47.dll"), nullptr);
        CompiledCode out;
        EXPECT_TRUE(
            compiler.Compile(TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, STAGE_VERTEX, kVertexText, false, out));
    }
    // The destroyed compiler released its library.
    EXPECT_EQ(GetModuleHandleA("d3dcompiler_46.dll"), nullptr);
}

TEST_F(HLSLCompilerTest, SkipsALibraryWithoutTheEntryPoint)
{
    std::filesystem::copy_file("/usr/lib/x86_64-linux-gnu/libz.so.1", folder_ / "d3dcompiler_47.dll");
    CopyCompilerLibraryAs("d3dcompiler_43.dll");
    SearchOnlyTheFolder();
    HLSLCompiler compiler(&log_);
    ASSERT_TRUE(compiler.Initialize(FEATURE_LEVEL_HLSL11_DEFAULT));
    EXPECT_NE(GetModuleHandleA("d3dcompiler_43.dll"), nullptr);
    EXPECT_EQ(GetModuleHandleA("d3dcompiler_47.dll"), nullptr);
}

// Only version 42 of the library, which is too old; then calling the unbound
// compiler fails instead of calling nothing.
TEST_F(HLSLCompilerTest, FailsWithoutAnyLibraryAndCompileThenFails)
{
    CopyCompilerLibraryAs("d3dcompiler_42.dll");
    SearchOnlyTheFolder();
    HLSLCompiler compiler(&log_);
    ASSERT_FALSE(compiler.Initialize(FEATURE_LEVEL_HLSL11_DEFAULT));
    CompiledCode out;
    EXPECT_FALSE(compiler.Compile(TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, STAGE_VERTEX, kVertexText, false, out));
    EXPECT_EQ(LogText(), "Error: compilation failed.\n");
    EXPECT_EQ(out.code.GetSize(), 0);
}

TEST_F(BoundHLSLCompilerTest, CompiledCodeIsAppended)
{
    ASSERT_TRUE(compiler_.Compile(TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, STAGE_VERTEX, kVertexText, false, out_));
    const int first = out_.code.GetSize();
    ASSERT_GT(first, 24);
    EXPECT_EQ(std::memcmp(out_.code.GetData(), "HVSC", 4), 0);
    ASSERT_TRUE(compiler_.Compile(TARGET_HLSL11, FEATURE_LEVEL_HLSL11_LOW, STAGE_VERTEX, kVertexText, true, out_));
    EXPECT_GT(out_.code.GetSize(), first);
    EXPECT_EQ(std::memcmp(out_.code.GetData() + first, "HVSC", 4), 0);
    EXPECT_EQ(LogText(), "");
    EXPECT_EQ(log_.written, 0);
}

TEST_F(BoundHLSLCompilerTest, EveryHLSL11FeatureLevelCompiles)
{
    for (uint32_t level : {FEATURE_LEVEL_HLSL11_DEFAULT, FEATURE_LEVEL_HLSL11_LOW, FEATURE_LEVEL_HLSL11_XBOX}) {
        EXPECT_TRUE(compiler_.Compile(TARGET_HLSL11, level, STAGE_VERTEX, kVertexText, false, out_)) << LogText();
    }
}

TEST_F(BoundHLSLCompilerTest, WarningsAreLoggedWithoutTheErrorFlag)
{
    ASSERT_TRUE(compiler_.Compile(TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, STAGE_VERTEX, kVertexTextWithWarning,
                                  false, out_));
    EXPECT_GT(out_.code.GetSize(), 0);
    const std::string text = LogText();
    const std::string heading = "- Compilation output (HLSL11_DEFAULT):\n";
    EXPECT_EQ(text.compare(0, heading.size(), heading), 0) << text;
    EXPECT_NE(text.find("warning"), std::string::npos) << text;
    // The block ends in exactly one empty line.
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 2), "\n\n");
    EXPECT_NE(text[text.size() - 3], '\n');
    EXPECT_EQ(log_.written, 1);
    EXPECT_EQ(log_.error, 0);
}

TEST_F(BoundHLSLCompilerTest, ErrorsAreLoggedAndLeaveTheCodeAsItWas)
{
    out_.code.WriteUInt32(7);
    EXPECT_FALSE(compiler_.Compile(TARGET_HLSL11, FEATURE_LEVEL_HLSL11_LOW, STAGE_PIXEL,
                                   "float4 main() : SV_TARGET0\n{\n\treturn missing;\n}\n", false, out_));
    EXPECT_EQ(out_.code.GetSize(), 4);
    const std::string text = LogText();
    const std::string heading = "Error: compilation failed.\n- Compilation output (HLSL11_LOW):\n";
    EXPECT_EQ(text.compare(0, heading.size(), heading), 0) << text;
    EXPECT_NE(text.find("missing"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 2), "\n\n");
    EXPECT_EQ(log_.error, 1);
}

// Other targets and the ray-tracing stages have no profile of the library.
TEST_F(BoundHLSLCompilerTest, OtherTargetsAndRayTracingStagesGetAnEmptyProfileAndFail)
{
    const struct {
        uint32_t target;
        uint32_t level;
        uint32_t stage;
        const char* log;
    } rows[] = {
        {TARGET_HLSL12, FEATURE_LEVEL_NONE, STAGE_VERTEX,
         "Error: compilation failed.\n- Compilation output:\nerror: unknown or empty profile ''.\n\n"},
        {TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, STAGE_RGEN,
         "Error: compilation failed.\n- Compilation output (HLSL11_DEFAULT):\nerror: unknown or empty profile ''.\n\n"},
    };
    for (const auto& row : rows) {
        log_.Clear();
        EXPECT_FALSE(compiler_.Compile(row.target, row.level, row.stage, kVertexText, false, out_));
        EXPECT_EQ(LogText(), row.log);
    }
}

// The profile's suffix follows the feature level; the flags follow debug except for the console.
TEST(HLSLCompilerProfile, SuffixAndFlagsFollowTheFeatureLevel)
{
    const std::pair<uint32_t, const char*> cases[] = {
        {FEATURE_LEVEL_NONE, "vs_3_0"},
        {FEATURE_LEVEL_HLSL11_DEFAULT, "vs_4_0"},
        {FEATURE_LEVEL_HLSL11_LOW, "vs_4_0_level_9_1"},
        {FEATURE_LEVEL_HLSL11_XBOX, "vs_5_0"},
        {FEATURE_LEVEL_HLSL12_DEFAULT, "vs_"},
        {3, "vs_"},
    };
    for (const auto& [level, expected] : cases) {
        String profile = "vs_";
        HLSLCompiler::GetProfileSuffix(profile, level);
        EXPECT_STREQ(profile.GetText(), expected) << level;
    }
    EXPECT_EQ(HLSLCompiler::GetCompileFlags(FEATURE_LEVEL_HLSL11_XBOX, true), 0x8000u);
    EXPECT_EQ(HLSLCompiler::GetCompileFlags(FEATURE_LEVEL_HLSL11_XBOX, false), 0x8000u);
    EXPECT_EQ(HLSLCompiler::GetCompileFlags(FEATURE_LEVEL_HLSL11_DEFAULT, true), 5u);
    EXPECT_EQ(HLSLCompiler::GetCompileFlags(FEATURE_LEVEL_HLSL11_DEFAULT, false), 0x8000u);
    EXPECT_EQ(HLSLCompiler::GetCompileFlags(FEATURE_LEVEL_HLSL11_LOW, true), 5u);
}

TEST(ShaderCompilerBase, InitializeOfTheBaseFails)
{
    struct NoCompiler : Compiler {
        bool Compile(uint32_t, uint32_t, uint32_t, const String&, bool, CompiledCode&) override { return false; }
    } compiler;
    EXPECT_FALSE(compiler.Initialize(FEATURE_LEVEL_HLSL11_DEFAULT));
}

}  // namespace
