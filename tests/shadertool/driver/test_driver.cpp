// The translation driver over Shader XML files in a fresh "res://" folder:
// its progress and error lines, the work list, outputs and the up-to-date pass.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "shadertool/driver/driver.h"
#include "shadertool/support/shader_xml_test_support.h"

using namespace ShaderTool;

namespace {

const std::string kVertexMain = "void main()\n{\n\toutput.position = input.position;\n\toutput.uv = input.uv;\n}\n";
const std::string kPixelMain = "void main()\n{\n\toutput.color = sampleTexture(texture.albedo, input.uv);\n}\n";

// A sprite-like Shader XML of version 2.4 with the given info settings, extra arrays and sources.
std::string SpriteXml(const std::string& sources, const std::string& info = "", const std::string& arrays = "")
{
    return Document(
        InfoArray(4, info) +
        "<array id=\"vertex_input\"><node id=\"position\" semantic=\"POSITION\"/>"
        "<node id=\"color\" semantic=\"COLOR\"/><node id=\"uv\" semantic=\"TEXTURE_COORDINATE_0\"/></array>\n"
        "<array id=\"vertex_output\"><node id=\"position\" type=\"FLOAT4\" semantic=\"POSITION\"/>"
        "<node id=\"uv\" type=\"FLOAT2\" semantic=\"TEXTURE_COORDINATE\"/></array>\n"
        "<array id=\"pixel_textures\"><node id=\"albedo\" type=\"2D\"/></array>\n"
        "<array id=\"pixel_output\"><node id=\"color\"/></array>\n" +
        arrays + "<array id=\"sources\">\n" + sources + "</array>\n");
}

std::string Source(const char* stage, const std::string& text, const char* target = nullptr)
{
    std::string node = std::string("<node type=\"") + stage + "\"";
    if (target != nullptr) node += std::string(" target=\"") + target + "\"";
    return node + "><![CDATA[" + text + "]]></node>\n";
}

const std::string kSpriteSources = Source("vertex", kVertexMain) + Source("pixel", kPixelMain);

class DriverTest : public ShaderXmlFolderTest {
protected:
    void SetUp() override
    {
        ShaderXmlFolderTest::SetUp();
        ASSERT_TRUE(
            Initialize(TARGET_HLSL9 | TARGET_HLSL11 | TARGET_HLSL12 | TARGET_PSSL | TARGET_ESSL20 | TARGET_SPIRV,
                       FEATURE_LEVEL_HLSL11_DEFAULT, "", false));
        settings.inputRoot = "res://";
        settings.featureLevel = FEATURE_LEVEL_HLSL11_DEFAULT;
        settings.targetMask = TARGET_HLSL11;
    }
    bool Translate(const std::string& xml, const char* path = "res://sprite.xml")
    {
        WriteFile(std::string(path).substr(6), xml);
        return TranslateShaderXML(String(path), settings, true);
    }
    std::string MainLog() const { return GetGlobalState().mainLog.text.GetText(); }
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

    TranslationSettings settings;
};

TEST_F(DriverTest, SpriteTranslatesWithItsProgressLines)
{
    ASSERT_TRUE(Translate(SpriteXml(kSpriteSources))) << MainLog();
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "Translating vertex shader code of shader source 1...\n"
              "Translating for target 'HLSL11'...\n"
              "Translating pixel shader code of shader source 2...\n"
              "Translating for target 'HLSL11'...\n"
              "\nTranslation SUCCEEDED\n");
    // HLSL11 text becomes code only when compiling is asked for.
    EXPECT_EQ(GetGlobalState().stageMask, 0u);
}

TEST_F(DriverTest, HLSL9TextGoesIntoTheStageOutputsAndNeverCompiles)
{
    settings.targetMask = TARGET_HLSL9;
    settings.compile = 1;
    ASSERT_TRUE(Translate(SpriteXml(kSpriteSources))) << MainLog();
    EXPECT_EQ(GetGlobalState().stageMask, 3u);
    EXPECT_EQ(StageText(0).rfind("struct VertexInput\n", 0), 0u) << StageText(0);
    EXPECT_NE(StageText(1).find("tex2D(_tex_albedo, input.uv)"), std::string::npos) << StageText(1);
}

TEST_F(DriverTest, DocumentWithoutInfoIsSkipped)
{
    EXPECT_TRUE(Translate(Document("<array id=\"sources\"></array>\n")));
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "File is not a Shader XML file.\n\nTranslation SKIPPED\n");
}

TEST_F(DriverTest, TargetsThatDoNotMeetAreSkipped)
{
    EXPECT_TRUE(Translate(SpriteXml(kSpriteSources, "<node id=\"target\" value=\"GLSL\"/>\n")));
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "No translation targets match the targets specified in the Shader XML.\n\n"
              "Translation SKIPPED\n");
    EXPECT_EQ(GetGlobalState().stageMask, 0u);
}

TEST_F(DriverTest, MissingFileFailsTheRead)
{
    EXPECT_FALSE(TranslateShaderXML("res://missing.xml", settings, false));
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://missing.xml'...\n"
              "Failed to read the Shader XML:\nError: file does not exist.\n\nTranslation FAILED\n");
}

TEST_F(DriverTest, CapabilitiesOfTheTargetAreChecked)
{
    settings.targetMask = TARGET_ESSL20;
    std::string xml = SpriteXml(kSpriteSources);
    const std::string textures = "<node id=\"albedo\" type=\"2D\"/>";
    const std::string outputs = "<node id=\"color\"/>";
    xml.replace(xml.find(textures), textures.size(), textures + "<node id=\"volume\" type=\"3D\"/>");
    xml.replace(xml.find(outputs), outputs.size(), outputs + "<node id=\"glow\"/>");
    EXPECT_FALSE(Translate(xml));
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "Error: target 'ESSL20' does not support multiple pixel outputs.\n"
              "Error: target 'ESSL20' does not support 3D textures.\n"
              "\nTranslation FAILED\n");
}

TEST_F(DriverTest, TextureArraysAreCheckedPerTarget)
{
    const std::string xml =
        Document(InfoArray(4) +
                 "<array id=\"pixel_textures\"><node id=\"layers\" slot=\"0\" type=\"2D[]\"/></array>\n"
                 "<array id=\"sources\">" +
                 Source("vertex", kVertexMain) + "</array>\n");
    EXPECT_FALSE(Translate(xml));
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "Error: target 'HLSL11' does not support texture arrays.\n\nTranslation FAILED\n");
}

TEST_F(DriverTest, EveryTargetNeedsAVertexAndAPixelSource)
{
    EXPECT_FALSE(Translate(SpriteXml(Source("vertex", kVertexMain, "HLSL11") + Source("pixel", kPixelMain))));
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "Error: some targets do not have both vertex and pixel shader source specified.\n"
              "\nTranslation FAILED\n");
}

TEST_F(DriverTest, VertexSourcesSplitByTargetShareOnePixelSource)
{
    const std::string xml = SpriteXml(Source("vertex", kVertexMain, "HLSL9") + Source("vertex", kVertexMain, "HLSL11") +
                                      Source("pixel", kPixelMain, "HLSL9,HLSL11"));
    ASSERT_TRUE(Translate(xml)) << MainLog();
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "Translating vertex shader code of shader source 2...\n"
              "Translating for target 'HLSL11'...\n"
              "Translating pixel shader code of shader source 3...\n"
              "Translating for target 'HLSL11'...\n"
              "\nTranslation SUCCEEDED\n");
}

TEST_F(DriverTest, ParticularSourceTakesThePlaceOfTheGeneralOne)
{
    settings.targetMask = TARGET_HLSL9 | TARGET_HLSL11;
    const std::string particular =
        "void main()\n{\n\toutput.position = input.position * 2.0;\n\toutput.uv = input.uv;\n}\n";
    ASSERT_TRUE(Translate(SpriteXml(Source("vertex", kVertexMain) + Source("vertex", particular, "HLSL11") +
                                    Source("pixel", kPixelMain))))
        << MainLog();
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "Translating vertex shader code of shader source 1...\n"
              "Translating for target 'HLSL9'...\n"
              "Translating vertex shader code of shader source 2...\n"
              "Translating for target 'HLSL11'...\n"
              "Translating pixel shader code of shader source 3...\n"
              "Translating for target 'HLSL9'...\n"
              "Translating for target 'HLSL11'...\n"
              "\nTranslation SUCCEEDED\n");
}

TEST_F(DriverTest, FailedParseSkipsTheRestOfTheTargets)
{
    settings.targetMask = TARGET_HLSL9 | TARGET_HLSL11;
    EXPECT_FALSE(Translate(SpriteXml(Source("vertex", kVertexMain) + Source("pixel", "void main()\n{\n\toops\n}\n"))));
    const std::string log = MainLog();
    const std::string tail = "Translating pixel shader code of shader source 2...\nTranslating for target 'HLSL9'...\n";
    ASSERT_NE(log.find(tail), std::string::npos) << log;
    EXPECT_NE(log.find("Error: parsing the source failed, skipping rest of the targets...\n\nTranslation FAILED\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("Translating for target 'HLSL11'...", log.find(tail)), std::string::npos) << log;
}

TEST_F(DriverTest, EachSourceIsPreprocessedOnceForAllItsTargets)
{
    settings.targetMask = TARGET_HLSL9 | TARGET_HLSL11;
    settings.definitions.Add("_BAD");
    settings.definitions.Add("1");
    ASSERT_TRUE(Translate(SpriteXml(kSpriteSources))) << MainLog();
    const std::string line = "Error: invalid additional preprocessor definition '_BAD=1' specified.\n";
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "Translating vertex shader code of shader source 1...\n"
              "Translating for target 'HLSL9'...\n" +
                  line +
                  "Translating for target 'HLSL11'...\n"
                  "Translating pixel shader code of shader source 2...\n"
                  "Translating for target 'HLSL9'...\n" +
                  line +
                  "Translating for target 'HLSL11'...\n"
                  "\nTranslation SUCCEEDED\n");
}

TEST_F(DriverTest, SourceThatTestsTheTargetIsReadAgainForEachTarget)
{
    settings.targetMask = TARGET_HLSL9 | TARGET_HLSL11;
    ASSERT_TRUE(Initialize(TARGET_HLSL9 | TARGET_HLSL11, 0, "res://out", false));
    const std::string vertex =
        "void main()\n{\n#if _TARGET == _TARGET_HLSL11\n"
        "\toutput.position = input.position * 2.0;\n#else\n"
        "\toutput.position = input.position;\n#endif\n\toutput.uv = input.uv;\n}\n";
    ASSERT_TRUE(Translate(SpriteXml(Source("vertex", vertex) + Source("pixel", kPixelMain)))) << MainLog();
    // HLSL9's text is the stage output, HLSL11's the last one written to the file.
    EXPECT_NE(StageText(0).find("\toutput.position = input.position;\n"), std::string::npos) << StageText(0);
    std::ifstream file(m_folder / "out" / "sprite.vertex");
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\toutput.position = input.position * 2.0f;\n"), std::string::npos) << text;
}

TEST_F(DriverTest, TargetsWithoutACompilerReportItWhenCompilingIsAsked)
{
    settings.targetMask = TARGET_HLSL12 | TARGET_PSSL | TARGET_SPIRV;
    settings.featureLevel = FEATURE_LEVEL_HLSL12_DEFAULT | FEATURE_LEVEL_PSSL_GNM;
    settings.compile = 1;
    EXPECT_FALSE(Translate(SpriteXml(kSpriteSources)));
    std::string perStage;
    for (const char* target : {"HLSL12", "PSSL", "SPIRV"}) {
        perStage += std::string("Translating for target '") + target + "'...\nError: target '" + target +
                    "' does not have a compiler set up. If this occurred at runtime, most likely the target does not "
                    "support runtime compilation.\n";
    }
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "Translating vertex shader code of shader source 1...\n" +
                  perStage + "Translating pixel shader code of shader source 2...\n" + perStage +
                  "\nTranslation FAILED\n");
    // Their text is meant for a compiler: without one no stage output is written.
    EXPECT_EQ(GetGlobalState().stageMask, 0u);
    Reset();
    settings.compile = 0;
    EXPECT_TRUE(Translate(SpriteXml(kSpriteSources))) << MainLog();
}

TEST_F(DriverTest, OutputFilesAreNamedAfterTheShaderXml)
{
    settings.targetMask = TARGET_HLSL9;
    ASSERT_TRUE(Initialize(TARGET_HLSL9, 0, "res://out", false));
    ASSERT_TRUE(Translate(SpriteXml(kSpriteSources), "res://shaders/sprite.xml")) << MainLog();
    const std::filesystem::path file = m_folder / "out" / "shaders" / "sprite.vertex";
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), StageText(0).size());
    Reset();
    ASSERT_TRUE(Translate(SpriteXml(kSpriteSources), "res://shaders.old/sprite")) << MainLog();
    EXPECT_TRUE(std::filesystem::exists(m_folder / "out" / "shaders.old" / "sprite.pixel"));
    Reset();
    settings.inputRoot = "res://shaders/";
    ASSERT_TRUE(Translate(SpriteXml(kSpriteSources), "res://shaders/sprite.xml")) << MainLog();
    EXPECT_TRUE(std::filesystem::exists(m_folder / "out" / "sprite.vertex"));
    DataManager::UnloadDatabase("res://shaders/sprite.xml");
    DataManager::UnloadDatabase("res://shaders.old/sprite");
}

TEST_F(DriverTest, SchemeOfTheShaderXmlPathIsNotPartOfTheOutputName)
{
    settings.targetMask = TARGET_HLSL9;
    settings.inputRoot = "";
    ASSERT_TRUE(Initialize(TARGET_HLSL9, 0, "res://out", false));
    ASSERT_TRUE(Translate(SpriteXml(kSpriteSources), "res://shaders/sprite.xml")) << MainLog();
    EXPECT_TRUE(std::filesystem::exists(m_folder / "out" / "shaders" / "sprite.vertex"));
    EXPECT_TRUE(std::filesystem::exists(m_folder / "out" / "shaders" / "sprite.pixel"));
    EXPECT_FALSE(std::filesystem::exists(m_folder / "out" / "res:"));
    DataManager::UnloadDatabase("res://shaders/sprite.xml");
}

TEST_F(DriverTest, OutputFolderWithoutRootCannotBeOpened)
{
    ASSERT_TRUE(Initialize(TARGET_HLSL11, 0, "save://shaders/", false));
    EXPECT_FALSE(Translate(SpriteXml(kSpriteSources)));
    EXPECT_NE(MainLog().find("Error: could not open output file 'save://shaders/sprite.vertex'.\n"), std::string::npos)
        << MainLog();
}

TEST_F(DriverTest, OutputFileInTheWayOfAFolderCannotBeWritten)
{
    ASSERT_TRUE(Initialize(TARGET_HLSL11, 0, "res://out", false));
    std::filesystem::create_directories(m_folder / "out" / "sprite.vertex" / "taken");
    EXPECT_FALSE(Translate(SpriteXml(kSpriteSources)));
    EXPECT_NE(MainLog().find("Error: could not write to output file 'res://out/sprite.vertex'.\n"), std::string::npos)
        << MainLog();
}

TEST_F(DriverTest, UpToDateSourcesAreNotTranslated)
{
    ASSERT_TRUE(Initialize(TARGET_HLSL11, 0, "", true));
    settings.stampLimit = INT32_MAX;
    settings.compile = 1;
    ASSERT_TRUE(Translate(SpriteXml(kSpriteSources))) << MainLog();
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "Translating vertex shader code of shader source 1...\n"
              "Translating for target 'HLSL11'...\n"
              "Shader source is up to date, skipping translation...\n"
              "Translating pixel shader code of shader source 2...\n"
              "Translating for target 'HLSL11'...\n"
              "Shader source is up to date, skipping translation...\n"
              "\nTranslation SUCCEEDED\n");
    EXPECT_GT(GetGlobalState().stamp, 0);
    EXPECT_EQ(GetGlobalState().stageMask, 0u);
    ASSERT_TRUE(Initialize(TARGET_HLSL11, 0, "", false));
}

TEST_F(DriverTest, OneChangedSourceTranslatesThemAll)
{
    ASSERT_TRUE(Initialize(TARGET_HLSL11, 0, "", true));
    settings.stampLimit = 5000;
    settings.compile = 1;
    WriteFile("vertex.hvsl", kVertexMain);
    WriteFile("pixel.hvsl", kPixelMain);
    const std::string xml = SpriteXml(
        "<node type=\"vertex\" file=\"vertex.hvsl\"/>\n"
        "<node type=\"pixel\" file=\"pixel.hvsl\"/>\n");
    WriteFile("sprite.xml", xml);
    SetFileTime("sprite.xml", 1000);
    SetFileTime("vertex.hvsl", 1000);
    ASSERT_TRUE(TranslateShaderXML("res://sprite.xml", settings, true)) << MainLog();
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "Translating vertex shader code of shader source 1...\n"
              "Translating for target 'HLSL11'...\n"
              "Shader source is up to date, skipping translation...\n"
              "Translating pixel shader code of shader source 2...\n"
              "Translating for target 'HLSL11'...\n"
              "Changes or target dependent code was detected, translating up-to-date shader sources...\n"
              "Translating vertex shader code of shader source 1...\n"
              "Translating for target 'HLSL11'...\n"
              "\nTranslation SUCCEEDED\n");
    EXPECT_EQ(GetGlobalState().stageMask, 3u);
    ASSERT_TRUE(Initialize(TARGET_HLSL11, 0, "", false));
}

TEST_F(DriverTest, PreprocessorFlagStopsBeforeAnyTree)
{
    settings.targetMask = TARGET_HLSL9;
    settings.preprocessorFlag = 1;
    ASSERT_TRUE(Translate(SpriteXml(kSpriteSources))) << MainLog();
    EXPECT_EQ(GetGlobalState().stageMask, 0u);
    EXPECT_NE(MainLog().find("\nTranslation SUCCEEDED\n"), std::string::npos);
}

TEST_F(DriverTest, PreprocessOnlyGivesThePreprocessedText)
{
    settings.targetMask = TARGET_HLSL9;
    settings.preprocessOnly = 1;
    ASSERT_TRUE(
        Translate(SpriteXml(Source("vertex", "#define SCALE 2.0\n" + kVertexMain) + Source("pixel", kPixelMain))))
        << MainLog();
    EXPECT_EQ(StageText(0).find("struct VertexInput"), std::string::npos);
    EXPECT_NE(StageText(0).find("output.position = input.position;"), std::string::npos) << StageText(0);
}

TEST_F(DriverTest, CompiledStagesHoldOneBlockPerFeatureLevel)
{
    settings.compile = 1;
    settings.featureLevel = FEATURE_LEVEL_HLSL11_DEFAULT | FEATURE_LEVEL_HLSL11_LOW | FEATURE_LEVEL_PSSL_GNM;
    ASSERT_TRUE(Translate(SpriteXml(kSpriteSources))) << MainLog();
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
    const std::string xml = SpriteXml(kSpriteSources);
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
    EXPECT_FALSE(ReadShaderXML("inline", Document(InfoArray(1)).c_str(), false, true));
    EXPECT_EQ(MainLog(), "Failed to read the Shader XML:\nError: file is of invalid version.\n");
    EXPECT_EQ(GetGlobalState().mainLog.error, 1);
}

TEST_F(DriverTest, TextThatIsNoXmlFailsTheRead)
{
    EXPECT_FALSE(ReadShaderXML("inline", "not xml <<<", false, true));
    EXPECT_EQ(MainLog(), "Failed to read the Shader XML:\nError: text is not an XML database.\n");
}

TEST_F(DriverTest, ResetEmptiesTheState)
{
    settings.targetMask = TARGET_HLSL9;
    ASSERT_TRUE(Translate(SpriteXml(kSpriteSources)));
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
    WriteFile("sprite.xml", SpriteXml(kSpriteSources));
    ASSERT_TRUE(ReadShaderXML("res://sprite.xml", nullptr, false, true));
    ASSERT_EQ(GetDescription().sources.GetCount(), 2);
    EXPECT_STREQ(GetDescription().sources[0].text.GetText(), "");
    ASSERT_TRUE(ReadShaderSources());
    EXPECT_EQ(std::string(GetDescription().sources[0].text.GetText()), kVertexMain);
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
    EXPECT_NE(MainLog().find("Translating Shader XML 'res://sprite.xml'..."), std::string::npos);
    Reset();
    EXPECT_EQ(GetStageMask(), 0u);
    EXPECT_EQ(GetStageOutput(STAGE_VERTEX).GetSize(), 0);
    EXPECT_TRUE(GetLogText().IsEmpty());
}

}  // namespace
