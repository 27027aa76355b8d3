// D3DCompile of our HLSL compiler library, loaded at run time under its
// platform name; the SPIR-V inside each code blob is judged by spirv-val.
#include <d3dcompiler.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "support/temporary_folder.h"
#include "winapi/d3dcompiler/code_format.h"

namespace {

constexpr char kVertexShader[] =
    "cbuffer Constants\n{\n\tfloat4x4 _const_transform;\n};\n"
    "struct VertexInput\n{\n\tfloat4 position : POSITION;\n\tfloat2 uv : TEXCOORD0;\n};\n"
    "struct VertexOutput\n{\n\tfloat4 position : SV_POSITION;\n\tfloat2 uv : TEXCOORD0;\n};\n"
    "VertexOutput main(VertexInput input)\n{\n\tVertexOutput output;\n"
    "\toutput.position = mul(_const_transform, input.position);\n\toutput.uv = input.uv;\n"
    "\treturn output;\n}\n";

constexpr char kPixelShader[] =
    "SamplerState _smp_diffuse : register(s0);\nTexture2D _tex_diffuse : register(t0);\n"
    "struct PixelInput\n{\n\tfloat4 position : SV_POSITION;\n\tfloat2 uv : TEXCOORD0;\n};\n"
    "struct PixelOutput\n{\n\tfloat4 color : SV_TARGET0;\n};\n"
    "PixelOutput main(PixelInput input)\n{\n\tPixelOutput output;\n"
    "\toutput.color = _tex_diffuse.Sample(_smp_diffuse, input.uv) * TINT;\n\treturn output;\n}\n";

constexpr char kIncludingShader[] =
    "#include \"common.hlsli\"\nfloat4 main(float4 p : POSITION) : SV_POSITION\n{\n\treturn p * Scale();\n}\n";

class D3DCompileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryA("d3dcompiler_47.dll");
        ASSERT_NE(module_, nullptr);
        compile_ = reinterpret_cast<pD3DCompile>(reinterpret_cast<void*>(GetProcAddress(module_, "D3DCompile")));
        ASSERT_NE(compile_, nullptr);
    }
    void TearDown() override
    {
        ReleaseBlobs();
        if (module_ != nullptr) FreeLibrary(module_);
    }
    // Lets go of the blobs of the last compile, so that the next can fill them.
    void ReleaseBlobs()
    {
        if (code_ != nullptr) code_->Release();
        if (messages_ != nullptr) messages_->Release();
        code_ = nullptr;
        messages_ = nullptr;
    }

    HRESULT Compile(const std::string& text, const char* profile, UINT flags = 0,
                    const D3D_SHADER_MACRO* defines = nullptr, ID3DInclude* include = nullptr,
                    const char* name = nullptr)
    {
        return compile_(text.data(), text.size(), name, defines, include, "main", profile, flags, 0, &code_,
                        &messages_);
    }
    HRESULT CompileIncluding(ID3DInclude* include, const char* name = "shader.hlsl",
                             const std::string& text = kIncludingShader)
    {
        return Compile(text, "vs_4_0", 0, nullptr, include, name);
    }
    std::string MessageText() const
    {
        if (messages_ == nullptr) return {};
        return std::string(static_cast<const char*>(messages_->GetBufferPointer()));
    }
    halvo::d3dcompiler::CodeHeader Header() const
    {
        halvo::d3dcompiler::CodeHeader header{};
        std::memcpy(&header, code_->GetBufferPointer(), sizeof header);
        return header;
    }
    // Runs tool over the SPIR-V of the code blob; returns its exit code and output.
    int RunOnSpirv(const char* tool, std::string* output) const
    {
        const std::filesystem::path spirv = folder_ / "code.spv";
        const std::filesystem::path text = folder_ / "tool.txt";
        std::ofstream(spirv, std::ios::binary)
            .write(static_cast<const char*>(code_->GetBufferPointer()) + sizeof(halvo::d3dcompiler::CodeHeader),
                   static_cast<std::streamsize>(code_->GetBufferSize() - sizeof(halvo::d3dcompiler::CodeHeader)));
        const std::string command = std::string(tool) + " " + spirv.string() + " > " + text.string() + " 2>&1";
        const int status = std::system(command.c_str());
        *output = temporary_.Read("tool.txt");
        return status;
    }

    HMODULE module_ = nullptr;
    pD3DCompile compile_ = nullptr;
    ID3DBlob* code_ = nullptr;
    ID3DBlob* messages_ = nullptr;
    TemporaryFolder temporary_{"d3dcompile"};
    const std::filesystem::path folder_ = temporary_.Path();
};

TEST_F(D3DCompileTest, VertexShaderGivesHeaderAndValidSpirvWhateverTheFlags)
{
    ASSERT_EQ(Compile(kVertexShader, "vs_4_0"), S_OK) << MessageText();
    EXPECT_EQ(messages_, nullptr);
    ASSERT_GT(code_->GetBufferSize(), sizeof(halvo::d3dcompiler::CodeHeader));
    const auto header = Header();
    EXPECT_EQ(std::memcmp(header.magic, "HVSC", 4), 0);
    EXPECT_EQ(header.headerSize, 24u);
    EXPECT_EQ(header.programType, 1u);
    EXPECT_EQ(header.shaderModel, 0x40u);
    EXPECT_EQ(header.minimumFeatureLevel, 0xa000u);
    EXPECT_EQ(code_->GetBufferSize(), 24u + header.wordCount * 4u);
    uint32_t magic = 0;
    std::memcpy(&magic, static_cast<const char*>(code_->GetBufferPointer()) + 24, 4);
    EXPECT_EQ(magic, 0x07230203u);
    std::string output;
    EXPECT_EQ(RunOnSpirv("spirv-val", &output), 0) << output;
    ReleaseBlobs();
    // A level-9 profile names its feature level.
    ASSERT_EQ(Compile(kVertexShader, "vs_4_0_level_9_1"), S_OK) << MessageText();
    EXPECT_EQ(Header().minimumFeatureLevel, 0x9100u);
    EXPECT_EQ(Header().shaderModel, 0x40u);
    ReleaseBlobs();
    // Debug and optimisation flags still give valid code.
    for (UINT flags : {D3DCOMPILE_DEBUG | D3DCOMPILE_SKIP_OPTIMIZATION, D3DCOMPILE_OPTIMIZATION_LEVEL3}) {
        ASSERT_EQ(Compile(kVertexShader, "vs_5_0", flags), S_OK) << MessageText();
        EXPECT_EQ(RunOnSpirv("spirv-val", &output), 0) << output;
        ReleaseBlobs();
    }
}

TEST_F(D3DCompileTest, SemanticsAndRegistersStayInTheCode)
{
    const D3D_SHADER_MACRO defines[] = {{"TINT", "float4(1.0, 0.5, 0.5, 1.0)"}, {nullptr, nullptr}};
    ASSERT_EQ(Compile(kPixelShader, "ps_5_0", 0, defines), S_OK) << MessageText();
    const auto header = Header();
    EXPECT_EQ(header.programType, 0u);
    EXPECT_EQ(header.shaderModel, 0x50u);
    EXPECT_EQ(header.minimumFeatureLevel, 0xb000u);
    std::string output;
    ASSERT_EQ(RunOnSpirv("spirv-dis", &output), 0) << output;
    EXPECT_NE(output.find("UserSemantic \"SV_TARGET0\""), std::string::npos) << output;
    EXPECT_NE(output.find("UserSemantic \"TEXCOORD0\""), std::string::npos) << output;
    EXPECT_NE(output.find("Binding 0"), std::string::npos) << output;   // t0
    EXPECT_NE(output.find("Binding 16"), std::string::npos) << output;  // s0
}

TEST_F(D3DCompileTest, UnknownEmptyOrNullProfilesAndAMissingCodeOutAreInvalidArguments)
{
    const struct {
        const char* profile;
        const char* messages;
    } refused[] = {
        {"", "error: unknown or empty profile ''.\n"},
        {"vs_9_9", "error: unknown or empty profile 'vs_9_9'.\n"},
        {nullptr, "error: unknown or empty profile ''.\n"},
    };
    for (const auto& row : refused) {
        SCOPED_TRACE(row.profile ? row.profile : "null");
        EXPECT_EQ(Compile(kVertexShader, row.profile), E_INVALIDARG);
        EXPECT_EQ(code_, nullptr);
        EXPECT_EQ(MessageText(), row.messages);
        ReleaseBlobs();
    }
    const std::string text = kVertexShader;
    EXPECT_EQ(compile_(text.data(), text.size(), nullptr, nullptr, nullptr, "main", "vs_4_0", 0, 0, nullptr, nullptr),
              E_INVALIDARG);
}

TEST_F(D3DCompileTest, SyntaxErrorsAndSourceOnWhichTheFrontEndCrashesFailTheCompileOnly)
{
    EXPECT_EQ(Compile("float4 main() : SV_POSITION\n{\n\treturn oops;\n}\n", "vs_4_0"), E_FAIL);
    EXPECT_EQ(code_, nullptr);
    const std::string messages = MessageText();
    EXPECT_NE(messages.find(":3:"), std::string::npos) << messages;
    EXPECT_NE(messages.find("oops"), std::string::npos) << messages;
    ReleaseBlobs();
    // The system's glslang dereferences null on this source; the compile runs
    // in a process of its own, so only the compile fails, and the next works.
    EXPECT_EQ(Compile("in", "vs_4_0"), E_FAIL);
    EXPECT_EQ(code_, nullptr);
    EXPECT_NE(MessageText().find("error: the HLSL front end stopped on this source (signal 11)."), std::string::npos)
        << MessageText();
    ReleaseBlobs();
    EXPECT_EQ(Compile(kVertexShader, "vs_4_0"), S_OK) << MessageText();
}

TEST_F(D3DCompileTest, WarningsComeBackWithTheCodeOrAreErrorsWhenAsked)
{
    const std::string text =
        "float4 main(float4 p : POSITION) : SV_POSITION\n{\n\t[sometimes] for (int i = 0; i < 2; i++) {}\n"
        "\treturn p;\n}\n";
    ASSERT_EQ(Compile(text, "vs_4_0"), S_OK);
    EXPECT_NE(code_, nullptr);
    EXPECT_NE(MessageText().find("warning"), std::string::npos) << MessageText();
    ReleaseBlobs();
    EXPECT_EQ(Compile(text, "vs_4_0", D3DCOMPILE_WARNINGS_ARE_ERRORS), E_FAIL);
    EXPECT_EQ(code_, nullptr);
}

// Constructs whose platform meaning the front end cannot express are refused
// with their place, never compiled to other numbers.
TEST_F(D3DCompileTest, ConstructsWithoutThePlatformsMeaningAreRefusedWithTheirPlace)
{
    const std::string head =
        "cbuffer Constants { float2x2 a; float2x2 b; float2 v; };\nfloat4 main() : SV_TARGET0\n{\n";
    const struct {
        const char* body;
        const char* message;
    } refused[] = {
        {"\tbool e = a == b;\n\treturn e ? 1 : 0;\n",
         "shader.hlsl:4: error: '==' between two matrices is supported only as all(a == b): it compares per "
         "component.\n"},
        {"\tbool e = any(a == b);\n\treturn e ? 1 : 0;\n",
         "shader.hlsl:4: error: '==' between two matrices is supported only as all(a == b): it compares per "
         "component.\n"},
        {"\tbool e = float2x2(1, 2, 3, 4) != float2x2(1, 2, 3, 5);\n\treturn e ? 1 : 0;\n",
         "shader.hlsl:4: error: '!=' between two matrices is supported only as any(a != b): it compares per "
         "component.\n"},
        {"\n\treturn all(b != a) ? 1 : 0;\n",
         "shader.hlsl:5: error: '!=' between two matrices is supported only as any(a != b): it compares per "
         "component.\n"},
        {"\n\treturn float4(v * a, 0, 0);\n",
         "shader.hlsl:5: error: '*' between a matrix and a vector is not supported: write mul() for their "
         "product.\n"},
        {"\n\n\treturn float4(float2(1, 2) * float2x2(1, 2, 3, 4), 0, 0);\n",
         "shader.hlsl:6: error: '*' between a matrix and a vector is not supported: write mul() for their "
         "product.\n"},
        {"\treturn max(a, b)[0].xyxy;\n",
         "shader.hlsl:4: error: functions of each component (abs, max, lerp, fmod, % and the like) of a matrix are not "
         "supported: apply them to its rows.\n"},
        {"\treturn abs(float2x2(-1, 2, 3, 4))[0].xyxy;\n",
         "shader.hlsl:4: error: functions of each component (abs, max, lerp, fmod, % and the like) of a matrix are not "
         "supported: apply them to its rows.\n"},
        {"\treturn all(a) ? 1 : 0;\n",
         "shader.hlsl:4: error: all() of a matrix is not supported: reduce its rows, as all(m[0]) && all(m[1]).\n"},
        {"\treturn any(float2x2(0, 0, 0, 1)) ? 1 : 0;\n",
         "shader.hlsl:4: error: any() of a matrix is not supported: reduce its rows, as any(m[0]) || any(m[1]).\n"},
    };
    for (const auto& row : refused) {
        SCOPED_TRACE(row.body);
        EXPECT_EQ(Compile(head + row.body + "}\n", "ps_4_0", 0, nullptr, nullptr, "shader.hlsl"), E_FAIL);
        EXPECT_EQ(code_, nullptr);
        EXPECT_EQ(MessageText(), row.message);
        ReleaseBlobs();
    }
    // The forms the messages name compile to valid code, as do all() and any() of scalars.
    EXPECT_EQ(Compile(head + "\treturn all(a == b) && any(a != b) && all(v.x == 1) && any(v.y) ? 1 : 0;\n}\n", "ps_4_0",
                      D3DCOMPILE_SKIP_OPTIMIZATION),
              S_OK)
        << MessageText();
    std::string output;
    EXPECT_EQ(RunOnSpirv("spirv-val", &output), 0) << output;
}

// HLSL's remainders are truncated: the code holds SPIR-V's truncated
// remainders, never the floored ones (some drivers compute both alike, so
// the code itself is judged here).
TEST_F(D3DCompileTest, RemaindersAreTruncatedInTheCode)
{
    const std::string text =
        "cbuffer Constants { int4 i; float4 f; };\nfloat4 main() : SV_TARGET0\n{\n\tint m = i.x; m %= i.y;\n"
        "\treturn float4(i.x % i.y, m, f.x % f.y, fmod(f.z, f.w));\n}\n";
    for (UINT flags : {UINT(D3DCOMPILE_SKIP_OPTIMIZATION), UINT(0)}) {
        ASSERT_EQ(Compile(text, "ps_4_0", flags), S_OK) << MessageText();
        std::string output;
        ASSERT_EQ(RunOnSpirv("spirv-dis", &output), 0) << output;
        EXPECT_NE(output.find("OpSRem"), std::string::npos) << output;
        EXPECT_NE(output.find("OpFRem"), std::string::npos) << output;
        EXPECT_EQ(output.find("OpSMod"), std::string::npos) << output;
        EXPECT_EQ(output.find("OpFMod"), std::string::npos) << output;
        ReleaseBlobs();
    }
}

// Constant matrices are packed by columns unless the caller asks for rows; as
// glslang's matrices are HLSL's transposed, SPIR-V says the opposite.
TEST_F(D3DCompileTest, ConstantMatricesArePackedByColumnsUnlessRowsAreAskedFor)
{
    const std::string text = "cbuffer Constants { float4x4 m; };\nfloat4 main() : SV_TARGET0 { return m[1]; }\n";
    const struct {
        UINT flags;
        const char* decoration;
    } rows[] = {{0, "RowMajor"},
                {D3DCOMPILE_PACK_MATRIX_COLUMN_MAJOR, "RowMajor"},
                {D3DCOMPILE_PACK_MATRIX_ROW_MAJOR, "ColMajor"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.flags);
        ASSERT_EQ(Compile(text, "ps_4_0", row.flags), S_OK) << MessageText();
        std::string output;
        ASSERT_EQ(RunOnSpirv("spirv-dis", &output), 0) << output;
        EXPECT_NE(output.find(std::string(" 0 ") + row.decoration), std::string::npos) << output;
        ReleaseBlobs();
    }
}

// Serves include files from memory and notes what it was asked.
class MemoryInclude : public ID3DInclude {
public:
    std::map<std::string, std::string> files;
    std::vector<std::string> parents;  // name of the parent of each open, "" for the source
    int openCount = 0;
    int closeCount = 0;

    HRESULT STDMETHODCALLTYPE Open(D3D_INCLUDE_TYPE, LPCSTR pFileName, LPCVOID pParentData, LPCVOID* ppData,
                                   UINT* pBytes) override
    {
        const auto file = files.find(pFileName);
        if (file == files.end()) return E_FAIL;
        std::string parent;
        for (const auto& [name, text] : files) {
            if (text.data() == pParentData) parent = name;
        }
        parents.push_back(parent);
        ++openCount;
        *ppData = file->second.data();
        *pBytes = static_cast<UINT>(file->second.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Close(LPCVOID) override
    {
        ++closeCount;
        return S_OK;
    }
};

TEST_F(D3DCompileTest, IncludesAreOpenedThroughTheCallersHandlerOrBesideTheIncludingFileAndAMissingOneFailsWithItsName)
{
    MemoryInclude include;
    include.files["common.hlsli"] = "#include \"inner.hlsli\"\nfloat Scale() { return Half() * 2.0; }\n";
    include.files["inner.hlsli"] = "float Half() { return 0.5; }\n";
    ASSERT_EQ(CompileIncluding(&include), S_OK) << MessageText();
    EXPECT_EQ(include.openCount, 2);
    EXPECT_EQ(include.closeCount, 2);
    ASSERT_EQ(include.parents.size(), 2u);
    EXPECT_EQ(include.parents[0], "");
    EXPECT_EQ(include.parents[1], "common.hlsli");
    ReleaseBlobs();
    MemoryInclude empty;
    EXPECT_EQ(CompileIncluding(&empty), E_FAIL);
    EXPECT_NE(MessageText().find("cannot open include file 'common.hlsli'."), std::string::npos) << MessageText();
    ReleaseBlobs();
    std::filesystem::create_directories(folder_ / "lib");
    std::ofstream(folder_ / "lib" / "common.hlsli") << "#include \"inner.hlsli\"\nfloat Scale() { return Half(); }\n";
    std::ofstream(folder_ / "lib" / "inner.hlsli") << "float Half() { return 0.5; }\n";
    const std::string text =
        "#include \"lib/common.hlsli\"\nfloat4 main(float4 p : POSITION) : SV_POSITION\n{\n\treturn p * Scale();\n}\n";
    const std::string name = (folder_ / "shader.hlsl").string();
    EXPECT_EQ(CompileIncluding(D3D_COMPILE_STANDARD_FILE_INCLUDE, name.c_str(), text), S_OK) << MessageText();
}

TEST_F(D3DCompileTest, IncludesStopAtTheDepthLimitAndAtTheLimitOfOneCompileAndAreClosedEveryTime)
{
    MemoryInclude include;
    include.files["common.hlsli"] = "#include \"common.hlsli\"\nfloat Scale() { return 0.5; }\n";
    EXPECT_EQ(CompileIncluding(&include), E_FAIL);
    EXPECT_NE(MessageText().find("include file 'common.hlsli' is nested more than 32 levels deep."), std::string::npos)
        << MessageText();
    EXPECT_EQ(include.openCount, 32);
    EXPECT_EQ(include.closeCount, 32);
    ReleaseBlobs();
    // Each level includes the next one twice: without a limit, 2^24 opens.
    MemoryInclude doubling;
    for (int level = 0; level < 24; ++level) {
        const std::string next = "level" + std::to_string(level + 1) + ".hlsli";
        doubling.files["level" + std::to_string(level) + ".hlsli"] =
            "#include \"" + next + "\"\n#include \"" + next + "\"\n";
    }
    doubling.files["level24.hlsli"] = "\n";
    doubling.files["common.hlsli"] = "#include \"level0.hlsli\"\nfloat Scale() { return 0.5; }\n";
    EXPECT_EQ(CompileIncluding(&doubling), E_FAIL);
    EXPECT_NE(MessageText().find("is not opened: one compile opens at most 4096 includes."), std::string::npos)
        << MessageText().substr(0, 2000);
    EXPECT_LE(doubling.openCount, 4096);
    EXPECT_EQ(doubling.openCount, doubling.closeCount);
}

TEST_F(D3DCompileTest, BlobsCountReferencesAndNewOnesAreZeroed)
{
    ASSERT_EQ(Compile(kVertexShader, "vs_4_0"), S_OK);
    EXPECT_EQ(code_->AddRef(), 2u);
    ID3DBlob* same = nullptr;
    ASSERT_EQ(code_->QueryInterface(IID_ID3DBlob, reinterpret_cast<void**>(&same)), S_OK);
    EXPECT_EQ(same, code_);
    EXPECT_EQ(same->Release(), 2u);
    EXPECT_EQ(code_->Release(), 1u);
    void* other = nullptr;
    const GUID unknownInterface = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(code_->QueryInterface(unknownInterface, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    ReleaseBlobs();
    // A blob of the library's own is zeroed.
    auto create = reinterpret_cast<HRESULT(WINAPI*)(SIZE_T, ID3DBlob**)>(
        reinterpret_cast<void*>(GetProcAddress(module_, "D3DCreateBlob")));
    ASSERT_NE(create, nullptr);
    ASSERT_EQ(create(16, &code_), S_OK);
    ASSERT_EQ(code_->GetBufferSize(), 16u);
    const auto* bytes = static_cast<const unsigned char*>(code_->GetBufferPointer());
    for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], 0);
}

}  // namespace
