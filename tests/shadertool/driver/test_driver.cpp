// The translation driver over Shader XML files in a fresh "res://" folder:
// its progress and error lines, the work list, outputs and the up-to-date pass.
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <string>

#include "shadertool/support/driver_test_support.h"

using namespace ShaderTool;

namespace {

const std::string kHeading = "Translating Shader XML 'res://sprite.xml'...\n";
const std::string kSucceeded = "\nTranslation SUCCEEDED\n";
const std::string kFailed = "\nTranslation FAILED\n";

// The progress line of a stage's source and of a target.
std::string Stage(const char* stage, int source)
{
    return std::string("Translating ") + stage + " shader code of shader source " + std::to_string(source) + "...\n";
}
std::string For(const char* target) { return std::string("Translating for target '") + target + "'...\n"; }

const std::string kUpToDate = "Shader source is up to date, skipping translation...\n";

class DriverTest : public DriverFolderTest {
protected:
    void SetUp() override
    {
        DriverFolderTest::SetUp();
        ASSERT_TRUE(
            Initialize(TARGET_HLSL9 | TARGET_HLSL11 | TARGET_HLSL12 | TARGET_PSSL | TARGET_ESSL20 | TARGET_SPIRV,
                       FEATURE_LEVEL_HLSL11_DEFAULT, "", false));
        settings.featureLevel = FEATURE_LEVEL_HLSL11_DEFAULT;
        settings.targetMask = TARGET_HLSL11;
    }
    std::string StageText(int stage) const
    {
        const ByteBuffer& output = GetGlobalState().stageOutputs[stage];
        return output.GetSize() > 0 ? std::string(reinterpret_cast<const char*>(output.GetData())) : std::string();
    }
    void SetFileTime(const std::string& name, int64_t secondsSince1970) const
    {
        const auto time =
            std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(secondsSince1970)));
        std::filesystem::last_write_time(m_folder / name, time);
    }
};

// A Shader XML for targets, whether it translates, the whole log, and which
// stages have an output afterwards.
TEST_F(DriverTest, WorkListAndItsLog)
{
    const std::string threeDTextureAndTwoOutputs = Document(
        InfoArray(4) +
        "<array id=\"pixel_textures\"><node id=\"albedo\" type=\"2D\"/><node id=\"volume\" type=\"3D\"/></array>\n"
        "<array id=\"pixel_output\"><node id=\"color\"/><node id=\"glow\"/></array>\n<array id=\"sources\">" +
        kSpriteXmlSources + "</array>\n");
    const std::string particularVertex =
        "void main()\n{\n\toutput.position = input.position * 2.0;\n\toutput.uv = input.uv;\n}\n";
    const struct {
        const char* name;
        uint32_t targets;
        std::string xml;
        bool translated;
        std::string log;
        uint32_t stageMask;
    } rows[] = {
        // HLSL11 text becomes code only when compiling is asked for.
        {"sprite", TARGET_HLSL11, SpriteXml(), true,
         kHeading + Stage("vertex", 1) + For("HLSL11") + Stage("pixel", 2) + For("HLSL11") + kSucceeded, 0},
        {"document without info", TARGET_HLSL11, Document("<array id=\"sources\"></array>\n"), true,
         kHeading + "File is not a Shader XML file.\n\nTranslation SKIPPED\n", 0},
        {"targets that do not meet", TARGET_HLSL11,
         SpriteXml(kSpriteXmlSources, "<node id=\"target\" value=\"GLSL\"/>\n"), true,
         kHeading + "No translation targets match the targets specified in the Shader XML.\n\nTranslation SKIPPED\n",
         0},
        {"capabilities of the target", TARGET_ESSL20, threeDTextureAndTwoOutputs, false,
         kHeading + "Error: target 'ESSL20' does not support multiple pixel outputs.\n" +
             "Error: target 'ESSL20' does not support 3D textures.\n" + kFailed,
         0},
        {"texture arrays", TARGET_HLSL11,
         Document(InfoArray(4) +
                  "<array id=\"pixel_textures\"><node id=\"layers\" slot=\"0\" type=\"2D[]\"/></array>\n" +
                  "<array id=\"sources\">" + SourceNode("vertex", kSpriteXmlVertexMain) + "</array>\n"),
         false, kHeading + "Error: target 'HLSL11' does not support texture arrays.\n" + kFailed, 0},
        {"every target needs a vertex and a pixel source", TARGET_HLSL11,
         SpriteXml(SourceNode("vertex", kSpriteXmlVertexMain, "HLSL11") + SourceNode("pixel", kSpriteXmlPixelMain)),
         false, kHeading + "Error: some targets do not have both vertex and pixel shader source specified.\n" + kFailed,
         0},
        {"vertex sources split by target share one pixel source", TARGET_HLSL11,
         SpriteXml(SourceNode("vertex", kSpriteXmlVertexMain, "HLSL9") +
                   SourceNode("vertex", kSpriteXmlVertexMain, "HLSL11") +
                   SourceNode("pixel", kSpriteXmlPixelMain, "HLSL9,HLSL11")),
         true, kHeading + Stage("vertex", 2) + For("HLSL11") + Stage("pixel", 3) + For("HLSL11") + kSucceeded, 0},
        // HLSL9's text is its stage output.
        {"particular source takes the place of the general one", TARGET_HLSL9 | TARGET_HLSL11,
         SpriteXml(SourceNode("vertex", kSpriteXmlVertexMain) + SourceNode("vertex", particularVertex, "HLSL11") +
                   SourceNode("pixel", kSpriteXmlPixelMain)),
         true,
         kHeading + Stage("vertex", 1) + For("HLSL9") + Stage("vertex", 2) + For("HLSL11") + Stage("pixel", 3) +
             For("HLSL9") + For("HLSL11") + kSucceeded,
         3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Reset();
        settings.targetMask = row.targets;
        EXPECT_EQ(Translate(row.xml), row.translated);
        EXPECT_EQ(MainLog(), row.log);
        EXPECT_EQ(GetGlobalState().stageMask, row.stageMask);
    }
}

TEST_F(DriverTest, HLSL9TextGoesIntoTheStageOutputsAndNeverCompiles)
{
    settings.targetMask = TARGET_HLSL9;
    settings.compile = 1;
    ASSERT_TRUE(Translate(SpriteXml())) << MainLog();
    EXPECT_EQ(GetGlobalState().stageMask, 3u);
    EXPECT_EQ(StageText(0).rfind("struct VertexInput\n", 0), 0u) << StageText(0);
    EXPECT_NE(StageText(1).find("tex2D(_tex_albedo, input.uv)"), std::string::npos) << StageText(1);
}

TEST_F(DriverTest, MissingFileFailsTheRead)
{
    EXPECT_FALSE(TranslateShaderXML("res://missing.xml", settings, false));
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://missing.xml'...\n"
              "Failed to read the Shader XML:\nError: file does not exist.\n" +
                  kFailed);
}

TEST_F(DriverTest, FailedParseSkipsTheRestOfTheTargets)
{
    settings.targetMask = TARGET_HLSL9 | TARGET_HLSL11;
    EXPECT_FALSE(Translate(
        SpriteXml(SourceNode("vertex", kSpriteXmlVertexMain) + SourceNode("pixel", "void main()\n{\n\toops\n}\n"))));
    const std::string log = MainLog();
    const std::string tail = Stage("pixel", 2) + For("HLSL9");
    ASSERT_NE(log.find(tail), std::string::npos) << log;
    EXPECT_NE(log.find("Error: parsing the source failed, skipping rest of the targets...\n" + kFailed),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find(For("HLSL11"), log.find(tail)), std::string::npos) << log;
}

TEST_F(DriverTest, EachSourceIsPreprocessedOnceForAllItsTargets)
{
    settings.targetMask = TARGET_HLSL9 | TARGET_HLSL11;
    settings.definitions.Add("_BAD");
    settings.definitions.Add("1");
    ASSERT_TRUE(Translate(SpriteXml())) << MainLog();
    const std::string line = "Error: invalid additional preprocessor definition '_BAD=1' specified.\n";
    EXPECT_EQ(MainLog(), kHeading + Stage("vertex", 1) + For("HLSL9") + line + For("HLSL11") + Stage("pixel", 2) +
                             For("HLSL9") + line + For("HLSL11") + kSucceeded);
}

TEST_F(DriverTest, SourceThatTestsTheTargetIsReadAgainForEachTarget)
{
    settings.targetMask = TARGET_HLSL9 | TARGET_HLSL11;
    ASSERT_TRUE(Initialize(TARGET_HLSL9 | TARGET_HLSL11, 0, "res://out", false));
    const std::string vertex =
        "void main()\n{\n#if _TARGET == _TARGET_HLSL11\n"
        "\toutput.position = input.position * 2.0;\n#else\n"
        "\toutput.position = input.position;\n#endif\n\toutput.uv = input.uv;\n}\n";
    ASSERT_TRUE(Translate(SpriteXml(SourceNode("vertex", vertex) + SourceNode("pixel", kSpriteXmlPixelMain))))
        << MainLog();
    // HLSL9's text is the stage output, HLSL11's the last one written to the file.
    EXPECT_NE(StageText(0).find("\toutput.position = input.position;\n"), std::string::npos) << StageText(0);
    const std::string text = ReadFileText(m_folder / "out" / "sprite.vertex");
    EXPECT_NE(text.find("\toutput.position = input.position * 2.0f;\n"), std::string::npos) << text;
}

TEST_F(DriverTest, SourceThatWritesATargetMacroIsReadAgainForEachTarget)
{
    settings.targetMask = TARGET_GLSL21 | TARGET_HLSL9;
    ASSERT_TRUE(Initialize(TARGET_GLSL21 | TARGET_HLSL9, 0, "", false));
    const std::string vertex =
        "void main()\n{\n\toutput.position = input.position * "
        "float(_TEXTURE_COORDINATE_AXIS_V_POINTS_UP);\n\toutput.uv = input.uv;\n}\n";
    ASSERT_TRUE(Translate(SpriteXml(SourceNode("vertex", vertex) + SourceNode("pixel", kSpriteXmlPixelMain))))
        << MainLog();
    // Neither target compiles: the stage output holds GLSL21's text, then HLSL9's.
    const ByteBuffer& output = GetGlobalState().stageOutputs[STAGE_VERTEX];
    const char* glsl = reinterpret_cast<const char*>(output.GetData());
    ASSERT_LT(std::strlen(glsl) + 1, size_t(output.GetSize()));
    const std::string hlsl = glsl + std::strlen(glsl) + 1;
    // The v axis points up on the GL family only.
    EXPECT_NE(std::string(glsl).find("float(1)"), std::string::npos) << glsl;
    EXPECT_NE(hlsl.find("float(0)"), std::string::npos) << hlsl;
    EXPECT_EQ(hlsl.find("float(1)"), std::string::npos) << hlsl;
}

TEST_F(DriverTest, TargetsWithoutACompilerReportItWhenCompilingIsAsked)
{
    settings.targetMask = TARGET_HLSL12 | TARGET_PSSL | TARGET_SPIRV;
    settings.featureLevel = FEATURE_LEVEL_HLSL12_DEFAULT | FEATURE_LEVEL_PSSL_GNM;
    settings.compile = 1;
    EXPECT_FALSE(Translate(SpriteXml()));
    std::string perStage;
    for (const char* target : {"HLSL12", "PSSL", "SPIRV"}) {
        perStage += For(target) + "Error: target '" + target +
                    "' does not have a compiler set up. If this occurred at runtime, most likely the target does not "
                    "support runtime compilation.\n";
    }
    EXPECT_EQ(MainLog(), kHeading + Stage("vertex", 1) + perStage + Stage("pixel", 2) + perStage + kFailed);
    // Their text is meant for a compiler: without one no stage output is written.
    EXPECT_EQ(GetGlobalState().stageMask, 0u);
    Reset();
    settings.compile = 0;
    EXPECT_TRUE(Translate(SpriteXml())) << MainLog();
}

// Output files are named after the Shader XML below the input root; the
// scheme of its path is no part of the name.
TEST_F(DriverTest, OutputFilesAreNamedAfterTheShaderXml)
{
    settings.targetMask = TARGET_HLSL9;
    ASSERT_TRUE(Initialize(TARGET_HLSL9, 0, "res://out", false));
    ASSERT_TRUE(Translate(SpriteXml(), "res://shaders/sprite.xml")) << MainLog();
    const std::filesystem::path file = m_folder / "out" / "shaders" / "sprite.vertex";
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), StageText(0).size());
    Reset();
    ASSERT_TRUE(Translate(SpriteXml(), "res://shaders.old/sprite")) << MainLog();
    EXPECT_TRUE(std::filesystem::exists(m_folder / "out" / "shaders.old" / "sprite.pixel"));
    Reset();
    settings.inputRoot = "res://shaders/";
    ASSERT_TRUE(Translate(SpriteXml(), "res://shaders/sprite.xml")) << MainLog();
    EXPECT_TRUE(std::filesystem::exists(m_folder / "out" / "sprite.vertex"));
    std::filesystem::remove_all(m_folder / "out");
    Reset();
    settings.inputRoot = "";
    ASSERT_TRUE(Translate(SpriteXml(), "res://shaders/sprite.xml")) << MainLog();
    EXPECT_TRUE(std::filesystem::exists(m_folder / "out" / "shaders" / "sprite.vertex"));
    EXPECT_TRUE(std::filesystem::exists(m_folder / "out" / "shaders" / "sprite.pixel"));
    EXPECT_FALSE(std::filesystem::exists(m_folder / "out" / "res:"));
    DataManager::UnloadDatabase("res://shaders/sprite.xml");
    DataManager::UnloadDatabase("res://shaders.old/sprite");
}

TEST_F(DriverTest, OutputThatCannotBeOpenedOrWrittenFailsTheTranslation)
{
    // A folder without a root cannot be opened.
    ASSERT_TRUE(Initialize(TARGET_HLSL11, 0, "save://shaders/", false));
    EXPECT_FALSE(Translate(SpriteXml()));
    EXPECT_NE(MainLog().find("Error: could not open output file 'save://shaders/sprite.vertex'.\n"), std::string::npos)
        << MainLog();
    // A folder in the way of the output file cannot be written.
    Reset();
    ASSERT_TRUE(Initialize(TARGET_HLSL11, 0, "res://out", false));
    std::filesystem::create_directories(m_folder / "out" / "sprite.vertex" / "taken");
    EXPECT_FALSE(Translate(SpriteXml()));
    EXPECT_NE(MainLog().find("Error: could not write to output file 'res://out/sprite.vertex'.\n"), std::string::npos)
        << MainLog();
}

TEST_F(DriverTest, UpToDateSourcesAreNotTranslated)
{
    ASSERT_TRUE(Initialize(TARGET_HLSL11, 0, "", true));
    settings.stampLimit = INT32_MAX;
    settings.compile = 1;
    ASSERT_TRUE(Translate(SpriteXml())) << MainLog();
    EXPECT_EQ(MainLog(), kHeading + Stage("vertex", 1) + For("HLSL11") + kUpToDate + Stage("pixel", 2) + For("HLSL11") +
                             kUpToDate + kSucceeded);
    EXPECT_GT(GetGlobalState().stamp, 0);
    EXPECT_EQ(GetGlobalState().stageMask, 0u);
    ASSERT_TRUE(Initialize(TARGET_HLSL11, 0, "", false));
}

TEST_F(DriverTest, OneChangedSourceTranslatesThemAll)
{
    ASSERT_TRUE(Initialize(TARGET_HLSL11, 0, "", true));
    settings.stampLimit = 5000;
    settings.compile = 1;
    WriteFile("vertex.hvsl", kSpriteXmlVertexMain);
    WriteFile("pixel.hvsl", kSpriteXmlPixelMain);
    WriteFile("sprite.xml",
              SpriteXml("<node type=\"vertex\" file=\"vertex.hvsl\"/>\n<node type=\"pixel\" file=\"pixel.hvsl\"/>\n"));
    SetFileTime("sprite.xml", 1000);
    SetFileTime("vertex.hvsl", 1000);
    ASSERT_TRUE(TranslateShaderXML("res://sprite.xml", settings, true)) << MainLog();
    EXPECT_EQ(MainLog(),
              kHeading + Stage("vertex", 1) + For("HLSL11") + kUpToDate + Stage("pixel", 2) + For("HLSL11") +
                  "Changes or target dependent code was detected, translating up-to-date shader sources...\n" +
                  Stage("vertex", 1) + For("HLSL11") + kSucceeded);
    EXPECT_EQ(GetGlobalState().stageMask, 3u);
    ASSERT_TRUE(Initialize(TARGET_HLSL11, 0, "", false));
}

// The preprocessor flag stops before any tree; preprocessing only gives the
// preprocessed text as the stage output.
TEST_F(DriverTest, PreprocessingFlagsStopBeforeTheTranslation)
{
    settings.targetMask = TARGET_HLSL9;
    settings.preprocessorFlag = 1;
    ASSERT_TRUE(Translate(SpriteXml())) << MainLog();
    EXPECT_EQ(GetGlobalState().stageMask, 0u);
    EXPECT_NE(MainLog().find(kSucceeded), std::string::npos);
    Reset();
    settings.preprocessorFlag = 0;
    settings.preprocessOnly = 1;
    ASSERT_TRUE(Translate(SpriteXml(SourceNode("vertex", "#define SCALE 2.0\n" + kSpriteXmlVertexMain) +
                                    SourceNode("pixel", kSpriteXmlPixelMain))))
        << MainLog();
    EXPECT_EQ(StageText(0).find("struct VertexInput"), std::string::npos);
    EXPECT_NE(StageText(0).find("output.position = input.position;"), std::string::npos) << StageText(0);
}

TEST_F(DriverTest, CompiledStagesHoldOneBlockPerFeatureLevel)
{
    settings.compile = 1;
    settings.featureLevel = FEATURE_LEVEL_HLSL11_DEFAULT | FEATURE_LEVEL_HLSL11_LOW | FEATURE_LEVEL_PSSL_GNM;
    ASSERT_TRUE(Translate(SpriteXml())) << MainLog();
    const ByteBuffer& code = GetGlobalState().stageOutputs[STAGE_PIXEL];
    ASSERT_GT(code.GetSize(), 48);
    uint32_t words = 0;
    std::memcpy(&words, code.GetData() + 20, 4);
    const int second = 24 + static_cast<int>(words) * 4;
    ASSERT_LT(second + 24, code.GetSize());
    EXPECT_EQ(std::memcmp(code.GetData() + second, "HVSC", 4), 0);
    uint32_t level = 0;
    std::memcpy(&level, code.GetData() + second + 16, 4);
    EXPECT_EQ(level, 0x9100u);  // the second block is the level 9.1 one
}

TEST_F(DriverTest, ReadFromTextKeepsTheDeclarations)
{
    const std::string xml = SpriteXml();
    ASSERT_TRUE(ReadShaderXML("inline sprite", xml.c_str(), false, true));
    const ShaderDescription& description = GetGlobalState().reader.GetDescription();
    EXPECT_EQ(description.version, 0x20004u);
    ASSERT_EQ(description.sources.GetCount(), 2);
    EXPECT_STREQ(description.sources[0].text.GetText(), "");
    EXPECT_EQ(description.vertexInput.GetCount(), 3);
    EXPECT_EQ(MainLog(), "");
}

TEST_F(DriverTest, ReadFailureIsFlushedUnderItsHeading)
{
    const std::pair<std::string, const char*> rows[] = {
        {Document(InfoArray(1)), "Error: file is of invalid version.\n"},
        {"not xml <<<", "Error: text is not an XML database.\n"},
    };
    for (const auto& [text, error] : rows) {
        Reset();
        EXPECT_FALSE(ReadShaderXML("inline", text.c_str(), false, true));
        EXPECT_EQ(MainLog(), std::string("Failed to read the Shader XML:\n") + error);
        EXPECT_EQ(GetGlobalState().mainLog.error, 1);
    }
}

TEST_F(DriverTest, ResetEmptiesTheState)
{
    settings.targetMask = TARGET_HLSL9;
    ASSERT_TRUE(Translate(SpriteXml()));
    Reset();
    const GlobalState& state = GetGlobalState();
    EXPECT_EQ(state.stageMask, 0u);
    EXPECT_EQ(state.stageOutputs[0].GetSize(), 0);
    EXPECT_STREQ(state.mainLog.text.GetText(), "");
    EXPECT_EQ(state.reader.GetDescription().sources.GetCount(), 0);
    EXPECT_EQ(state.workList.GetCount(), 0);
    EXPECT_STREQ(state.outputBaseName.GetText(), "");
}

// What the engine sees of a read and a translation through its interface,
// and that Reset empties it for the next shader.
TEST_F(DriverTest, EngineInterfaceShowsTheDescriptionOutputsStampAndLog)
{
    WriteFile("sprite.xml", SpriteXml());
    ASSERT_TRUE(ReadShaderXML("res://sprite.xml", nullptr, false, true));
    ASSERT_EQ(GetDescription().sources.GetCount(), 2);
    EXPECT_STREQ(GetDescription().sources[0].text.GetText(), "");
    ASSERT_TRUE(ReadShaderSources());
    EXPECT_EQ(std::string(GetDescription().sources[0].text.GetText()), kSpriteXmlVertexMain);
    settings.descriptionLoaded = 1;
    settings.compile = 1;  // HLSL11 outputs are the compiled code
    ASSERT_TRUE(TranslateShaderXML("res://sprite.xml", settings, false)) << MainLog();
    EXPECT_EQ(GetStageMask(), 3u);
    for (int stage : {STAGE_VERTEX, STAGE_PIXEL}) {
        EXPECT_GT(GetStageOutput(stage).GetSize(), 0);
        EXPECT_EQ(&GetStageOutput(stage), &GetGlobalState().stageOutputs[stage]);
    }
    EXPECT_EQ(GetStamp(), GetGlobalState().stamp);
    EXPECT_EQ(std::string(GetLogText().GetText()), MainLog());
    EXPECT_NE(MainLog().find(kHeading), std::string::npos);
    Reset();
    EXPECT_EQ(GetStageMask(), 0u);
    EXPECT_EQ(GetStageOutput(STAGE_VERTEX).GetSize(), 0);
    EXPECT_TRUE(GetLogText().IsEmpty());
}

}  // namespace
