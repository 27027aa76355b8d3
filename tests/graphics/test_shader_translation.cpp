// Shader records built end to end from Shader XML files: read, translated
// for the renderer's target, compiled through our HLSL compiler library.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "core/configuration.h"
#include "data/data_manager.h"
#include "graphics/graphics_rig.h"
#include "graphics/shader_translation.h"
#include "graphics/sprite_shader.h"

namespace {

class ShaderTranslationTest : public GraphicsTest {
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        std::filesystem::create_directories(m_folder / "user");
        std::filesystem::copy(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaderxml", m_folder / "res",
                              std::filesystem::copy_options::recursive);
        HVI_SetSchemeRoot(HV_PATH_SCHEME_USER, (m_folder / "user").string().c_str());
        HVI_SetRenderer(&m_renderer);
    }
    void UseDeveloperSettings(const char* attributes)
    {
        const std::string xml =
            std::string("<database><array id=\"DEVELOPER\"><node ") + attributes + "/></array></database>";
        HVI_GetConfiguration().Use(nullptr, std::unique_ptr<DMDatabase>(DataManager::LoadFromMemory(xml.c_str())));
    }

    HLSL11Renderer m_renderer;
};

bool StartsWithCode(const ByteBuffer& output)
{
    return output.GetSize() > 24 && std::memcmp(output.GetData(), "HVSC", 4) == 0;
}

TEST_F(ShaderTranslationTest, LoadedShaderHoldsVertexAndPixelCodeAndIsThenUpToDate)
{
    UseDeveloperSettings("developer_mode=\"1\"");
    ASSERT_TRUE(HVI_InitShaders());
    HV_Shader shader;
    shader.name = "res://sprite_v22.xml";
    ASSERT_EQ(HVI_LoadShader(shader, false), HVI_SHADER_TRANSLATED);
    EXPECT_TRUE(StartsWithCode(shader.stageOutputs[ShaderTool::STAGE_VERTEX]));
    EXPECT_TRUE(StartsWithCode(shader.stageOutputs[ShaderTool::STAGE_PIXEL]));
    EXPECT_EQ(shader.stageMask, 3u);
    EXPECT_GT(shader.stamp, 0);
    EXPECT_EQ(shader.vertexFormat, 7u);
    EXPECT_EQ(shader.vertexConstants.byteSize, 64u);
    EXPECT_EQ(shader.vertexConstants.count, 1u);
    EXPECT_EQ(shader.pixelConstants.byteSize, 16u);
    EXPECT_EQ(shader.description.sources.GetCount(), 2);

    const int vertexSize = shader.stageOutputs[ShaderTool::STAGE_VERTEX].GetSize();
    EXPECT_EQ(HVI_LoadShader(shader, false), HVI_SHADER_UP_TO_DATE);
    EXPECT_EQ(shader.stageOutputs[ShaderTool::STAGE_VERTEX].GetSize(), vertexSize);
    // The translator's state is empty again after every request.
    EXPECT_EQ(ShaderTool::GetStageMask(), 0u);
}

TEST_F(ShaderTranslationTest, ShaderTextWithItsSourcesInsideIsTranslatedAndCompiledAsAFileWouldBe)
{
    ASSERT_TRUE(HVI_InitShaders());
    HV_Shader shader;
    shader.name = kSpriteShaderName;  // the front end's own, which no file holds
    ASSERT_EQ(HVI_LoadShaderText(shader, kSpriteShaderXml), HVI_SHADER_TRANSLATED)
        << (m_log.Entries().empty() ? "" : m_log.Entries().back().text);
    EXPECT_TRUE(StartsWithCode(shader.stageOutputs[ShaderTool::STAGE_VERTEX]));
    EXPECT_TRUE(StartsWithCode(shader.stageOutputs[ShaderTool::STAGE_PIXEL]));
    EXPECT_EQ(shader.vertexFormat, 7u);  // position, colour, first texture coordinate
    EXPECT_EQ(shader.vertexConstants.byteSize, 0u);
    EXPECT_EQ(shader.description.pixelTextures.GetCount(), 1);
    EXPECT_EQ(ShaderTool::GetStageMask(), 0u);
    // No file is looked for under the name.
    for (const LogCapture::Line& line : m_log.Entries()) EXPECT_LT(line.level, HV_LOG_WARNING) << line.text;
}

// The texts of the last target translated land under the Shader XML's own
// name, found through a search path or named with its scheme.
TEST_F(ShaderTranslationTest, DebugShadersWritesTheTextsToTheUserFolder)
{
    ASSERT_TRUE(HVI_AddSearchPath("res://"));
    for (const char* name : {"sprite_v22.xml", "res://sprite_v22.xml"}) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(m_folder / "user" / "shaders");
        UseDeveloperSettings("developer_mode=\"true\" debug_shaders=\"1\"");
        ASSERT_TRUE(HVI_InitShaders());
        EXPECT_TRUE(std::filesystem::is_directory(m_folder / "user" / "shaders"));
        HV_Shader shader;
        shader.name = name;
        ASSERT_EQ(HVI_LoadShader(shader, true), HVI_SHADER_TRANSLATED);
        std::ifstream vertex(m_folder / "user" / "shaders" / "sprite_v22.vertex");
        const std::string text((std::istreambuf_iterator<char>(vertex)), std::istreambuf_iterator<char>());
        EXPECT_EQ(text.rfind("#pragma warning(disable : 3078)\n\nstruct VertexInput\n", 0), 0u) << text;
        EXPECT_TRUE(std::filesystem::exists(m_folder / "user" / "shaders" / "sprite_v22.pixel"));
        EXPECT_FALSE(std::filesystem::exists(m_folder / "user" / "shaders" / "res:"));
        UseDeveloperSettings("developer_mode=\"0\"");
        ASSERT_TRUE(HVI_InitShaders());
    }
}

TEST_F(ShaderTranslationTest, IncludedFileIsFoundThroughTheEngineFileSystem)
{
    UseDeveloperSettings("developer_mode=\"0\"");
    ASSERT_TRUE(HVI_InitShaders());
    // Only the engine's file system knows where "res://" is: the C library
    // would look for a folder named "res:".
    std::filesystem::create_directories(m_folder / "res" / "included");
    std::ofstream(m_folder / "res" / "included" / "common.hvsl") << "float4 Scale(float4 value)\n{\n"
                                                                    "\treturn value * 0.5;\n}\n";
    std::ofstream(m_folder / "res" / "included" / "shader.xml")
        << "<database><array id=\"info\"><node id=\"version\" value=\"2\"/><node id=\"revision\" value=\"4\"/>"
           "</array><array id=\"vertex_input\"><node id=\"position\" semantic=\"POSITION\"/></array>"
           "<array id=\"vertex_output\"><node id=\"position\" type=\"FLOAT4\" semantic=\"POSITION\"/></array>"
           "<array id=\"pixel_output\"><node id=\"color\"/></array><array id=\"sources\">"
           "<node type=\"vertex\"><![CDATA[\n#include \"common.hvsl\"\n"
           "void main()\n{\n\toutput.position = Scale(input.position);\n}\n]]></node>"
           "<node type=\"pixel\"><![CDATA[\nvoid main()\n{\n\toutput.color = float4(1.0);\n}\n]]></node>"
           "</array></database>";
    HV_Shader shader;
    shader.name = "res://included/shader.xml";
    EXPECT_EQ(HVI_LoadShader(shader, false), HVI_SHADER_TRANSLATED)
        << (m_log.Entries().empty() ? "" : m_log.Entries().back().text);
    EXPECT_TRUE(StartsWithCode(shader.stageOutputs[ShaderTool::STAGE_VERTEX]));
}

// Each way a shader fails: it is not made, and the reason is the last line
// logged, an error (a popup for a text handed in).
TEST_F(ShaderTranslationTest, FailuresLogTheirReasonLast)
{
    UseDeveloperSettings("developer_mode=\"0\"");
    std::ofstream(m_folder / "res" / "broken.xml")
        << "<database><array id=\"info\"><node id=\"version\" value=\"2\"/><node id=\"revision\" value=\"4\"/>"
           "</array><array id=\"sources\"><node type=\"vertex\" file=\"missing.hvsl\"/></array></database>";
    const auto load = [](const char* name) {
        HV_Shader shader;
        shader.name = name;
        return HVI_InitShaders() && HVI_LoadShader(shader, false) == HVI_SHADER_FAILED && shader.stageMask == 0;
    };
    const auto create = [](const char* name, const char* text) {
        HV_Shader shader;
        return !HVI_CreateShaderFromSource(shader, name, text);
    };
    const struct {
        std::function<bool()> fails;
        bool popup;
        const char* text;
    } rows[] = {
        {[&] { return load("res://missing.xml"); }, false,
         "Failed to translate shader 'res://missing.xml':\nFailed to read the Shader XML:\nError: file does not "
         "exist.\n"},
        {[&] { return load("res://broken.xml"); }, false,
         "Failed to translate shader 'res://broken.xml':\nFailed to read Shader XML sources:\nError: failed to open or "
         "read shader source file 'res://missing.hvsl'.\n"},
        {[&] {
             return create("broken",
                           "<database><array id=\"info\"><node id=\"version\" value=\"1\"/></array></database>");
         },
         true,
         "Failed to translate shader 'broken':\nFailed to read the Shader XML:\nError: file is of invalid version.\n"},
        {[&] { return create("garbage", "not xml <<<"); }, true,
         "Failed to translate shader 'garbage':\nFailed to read the Shader XML:\nError: text is not an XML "
         "database.\n"},
        {[] {
             HVI_SetRenderer(nullptr);
             return !HVI_InitShaders();
         },
         false, "Failed to initialize the shader translator."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_TRUE(row.fails());
        ASSERT_FALSE(m_log.Entries().empty());
        const LogCapture::Line last = m_log.Entries().back();
        EXPECT_EQ(last.text, row.text);
        EXPECT_EQ(last.popup, row.popup);
        EXPECT_EQ(last.level, HV_LOG_ERROR);
    }
}

TEST_F(ShaderTranslationTest, ShaderFromTextKeepsItsDeclarations)
{
    std::ifstream file(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaderxml" / "sprite_v22.xml");
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    HV_Shader shader;
    ASSERT_TRUE(HVI_CreateShaderFromSource(shader, "sprite", text.c_str()));
    EXPECT_STREQ(shader.name.GetText(), "sprite");
    EXPECT_EQ(shader.vertexFormat, 7u);
    EXPECT_EQ(shader.description.pixelTextures.GetCount(), 1);
}

}  // namespace
