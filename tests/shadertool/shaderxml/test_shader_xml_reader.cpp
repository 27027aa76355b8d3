// The Shader XML reader over real files in a fresh "res://" folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/data_manager.h"
#include "shadertool/shaderxml/shader_xml_reader.h"
#include "shadertool/support/shader_xml_test_support.h"

using namespace ShaderTool;

namespace {

const std::string kVertexSource = "<node type=\"vertex\"><![CDATA[void main() {}]]></node>\n";
const std::string kPixelSource = "<node type=\"pixel\"><![CDATA[void main() {}]]></node>\n";
const std::string kSources = "<array id=\"sources\">\n" + kVertexSource + kPixelSource + "</array>\n";

int g_bitmap;  // stands for a bitmap record
void* FindTestBitmap(const char* name) { return std::string(name) == "stone.png" ? &g_bitmap : nullptr; }
// References taken and given back through the reader's bitmap hooks.
int g_referencesTaken = 0;
int g_referencesGivenBack = 0;
void* TakeTestBitmap(const char* name)
{
    void* bitmap = FindTestBitmap(name);
    if (bitmap != nullptr) ++g_referencesTaken;
    return bitmap;
}
void GiveBackTestBitmap(void* bitmap)
{
    EXPECT_EQ(bitmap, &g_bitmap);
    ++g_referencesGivenBack;
}

class ShaderXmlReaderTest : public ShaderXmlFolderTest {
protected:
    bool Read(const std::string& arrays, bool declarationsOnly = false)
    {
        WriteFile("shader.xml", Document(arrays));
        DataManager::UnloadDatabase("res://shader.xml");
        m_reader.SetDocument(DataManager::GetDatabase("res://shader.xml"), "res://shader.xml", "res://");
        return m_reader.Read(declarationsOnly);
    }
    std::string LogText() const { return m_log.text.GetText(); }
    const ShaderDescription& Description() const { return m_reader.GetDescription(); }

    Log m_log;
    ShaderXMLReader m_reader{&m_log};
};

TEST(ShaderXmlTargetList, NamesGroupsAndExceptionsAndMalformedLists)
{
    EXPECT_EQ(ParseTargetList(""), 511u);
    EXPECT_EQ(ParseTargetList(nullptr), 511u);
    EXPECT_EQ(ParseTargetList("ALL"), 511u);
    EXPECT_EQ(ParseTargetList("~HLSL"), 399u);
    EXPECT_EQ(ParseTargetList("HLSL11,GLSL21"), 36u);
    EXPECT_EQ(ParseTargetList("ESSL,SPIRV"), 259u);
    EXPECT_EQ(ParseTargetList("HLSL11, GLSL21"), 0u);
    EXPECT_EQ(ParseTargetList("HLSL11,"), 0u);
    EXPECT_EQ(ParseTargetList(",HLSL11"), 0u);
    EXPECT_EQ(ParseTargetList("~HLSL,GLSL"), 0u);
    EXPECT_EQ(ParseTargetList("HLSL,~GLSL"), 0u);
    EXPECT_EQ(ParseTargetList("~"), 0u);
    EXPECT_EQ(ParseTargetList("hlsl11"), 0u);
    EXPECT_EQ(ParseTargetList("HLSL11HLSL11HLSL"), 0u);
}

TEST_F(ShaderXmlReaderTest, DocumentWithoutInfoReadsAsVersionZero)
{
    EXPECT_TRUE(Read("<array id=\"vertex_input\"><node id=\"_bad\"/></array>\n"));
    EXPECT_EQ(Description().version, 0u);
    EXPECT_EQ(LogText(), "");
    EXPECT_EQ(Description().vertexInput.GetCount(), 0);
}

TEST_F(ShaderXmlReaderTest, InfoSettingsAreKeptAndTheFeatureLevelChoosesTargetsWhenNoTargetIsGiven)
{
    ASSERT_TRUE(Read(InfoArray(4,
                               "<node id=\"tags\" value=\"ui sprites\"/>\n<node id=\"target\" value=\"HLSL\"/>\n"
                               "<node id=\"feature_level\" value=\"3\"/>\n") +
                     kSources));
    EXPECT_EQ(Description().version, 0x20004u);
    EXPECT_STREQ(Description().tags.GetText(), "ui sprites");
    EXPECT_EQ(Description().targetMask, 112u);
    EXPECT_EQ(Description().rayTracingGroup, -1);
    m_reader.Reset();
    ASSERT_TRUE(Read(InfoArray(4, "<node id=\"feature_level\" value=\"2\"/>\n") + kSources));
    EXPECT_EQ(Description().targetMask, 506u);
    m_reader.Reset();
    ASSERT_TRUE(Read(InfoArray(4, "<node id=\"feature_level\" value=\"3\"/>\n") + kSources));
    EXPECT_EQ(Description().targetMask, 320u);
    m_reader.Reset();
    ASSERT_TRUE(Read(InfoArray(4) + kSources));
    EXPECT_EQ(Description().targetMask, 511u);
}

TEST_F(ShaderXmlReaderTest, InvalidTargetIsReportedAndTheGroupStillRead)
{
    EXPECT_FALSE(Read(InfoArray(4,
                                "<node id=\"target\" value=\"HLSL11,\"/>\n"
                                "<node id=\"ray_tracing_group\" value=\"3\"/>\n") +
                      kSources));
    EXPECT_EQ(LogText(), "Error: info array has invalid target(s).\n");
    EXPECT_EQ(Description().rayTracingGroup, 3);
}

TEST_F(ShaderXmlReaderTest, OlderVersionsReadConstantsAsDefinitionsAndTwoPointFourAsSharedConstants)
{
    ASSERT_TRUE(Read(InfoArray(3) + "<array id=\"constants\"><node id=\"COUNT\" value=\"4\"/></array>\n" + kSources));
    ASSERT_EQ(Description().definitions.GetCount(), 1);
    EXPECT_STREQ(Description().definitions[0].name.GetText(), "COUNT");
    EXPECT_EQ(Description().constants.variables.GetCount(), 0);
    m_reader.Reset();
    ASSERT_TRUE(Read(InfoArray(4) +
                     "<array id=\"definitions\"><node id=\"COUNT\" value=\"4\"/></array>\n"
                     "<array id=\"constants\"><node id=\"tint\" type=\"FLOAT4\"/></array>\n" +
                     kSources));
    EXPECT_EQ(Description().definitions.GetCount(), 1);
    ASSERT_EQ(Description().constants.variables.GetCount(), 1);
    EXPECT_STREQ(Description().constants.variables[0].name.GetText(), "tint");
}

TEST_F(ShaderXmlReaderTest, DefinitionValuesAreClassifiedAndLaterOnesOverride)
{
    ASSERT_TRUE(Read(InfoArray(4) +
                     "<array id=\"definitions\">\n<node id=\"A\" value=\"true\"/>\n"
                     "<node id=\"B\" value=\"1.5\"/>\n<node id=\"C\" value=\"7\"/>\n"
                     "<node id=\"D\" value=\"float2(1.0, 2.0)\"/>\n<node id=\"C\" value=\"9\"/>\n"
                     "</array>\n" +
                     kSources));
    const auto& definitions = Description().definitions;
    ASSERT_EQ(definitions.GetCount(), 4);
    EXPECT_EQ(definitions[0].valueKind, 0u);
    EXPECT_EQ(definitions[1].valueKind, 1u);
    EXPECT_EQ(definitions[2].valueKind, 3u);
    EXPECT_STREQ(definitions[2].value.GetText(), "9");
    EXPECT_EQ(definitions[3].valueKind, 4u);
}

TEST_F(ShaderXmlReaderTest, DefinitionFilesTakeThePlaceOfTheInclude)
{
    WriteFile("defs.xml", Document("<array id=\"definitions\"><node id=\"B\" value=\"2\"/>"
                                   "<node id=\"A\" value=\"3\"/></array>\n"));
    ASSERT_TRUE(Read(InfoArray(4) +
                     "<array id=\"definitions\">\n<node id=\"A\" value=\"1\"/>\n"
                     "<node file=\"defs.xml\"/>\n<node id=\"C\" value=\"4\"/>\n</array>\n" +
                     kSources))
        << LogText();
    const auto& definitions = Description().definitions;
    ASSERT_EQ(definitions.GetCount(), 3);
    EXPECT_STREQ(definitions[0].name.GetText(), "A");
    EXPECT_STREQ(definitions[0].value.GetText(), "3");
    EXPECT_STREQ(definitions[1].name.GetText(), "B");
    EXPECT_STREQ(definitions[2].name.GetText(), "C");
}

TEST_F(ShaderXmlReaderTest, VertexInputsGetTheirSemanticsAndTypes)
{
    ASSERT_TRUE(Read(InfoArray(4) +
                     "<array id=\"vertex_input\">\n<node id=\"position\" semantic=\"POSITION\"/>\n"
                     "<node id=\"color\" semantic=\"COLOR\"/>\n"
                     "<node id=\"uv\" semantic=\"TEXTURE_COORDINATE_0\"/>\n"
                     "<node id=\"n\" semantic=\"NORMAL\"/>\n<node id=\"i\" semantic=\"4_BONE_INDICES\"/>\n"
                     "<node id=\"w\" semantic=\"4_BONE_WEIGHTS\"/>\n"
                     "</array>\n" +
                     kSources));
    const auto& inputs = Description().vertexInput;
    ASSERT_EQ(inputs.GetCount(), 6);
    EXPECT_EQ(inputs[0].semantic, 1u);
    EXPECT_EQ(inputs[0].type.vectorSize, 4);
    EXPECT_EQ(inputs[0].type.qualifiers, QUALIFIER_CONST);
    EXPECT_EQ(inputs[2].semantic, 4u);
    EXPECT_EQ(inputs[2].type.vectorSize, 2);
    EXPECT_EQ(inputs[2].type.baseType, BaseType::FLOAT);
    EXPECT_EQ(inputs[4].type.baseType, BaseType::INT);  // bone indices are integers
}

TEST_F(ShaderXmlReaderTest, ConstantCountNamesAnIntegerDefinition)
{
    ASSERT_TRUE(Read(InfoArray(4) +
                     "<array id=\"definitions\"><node id=\"LIGHTS\" value=\"4\"/></array>\n"
                     "<array id=\"vertex_constants\">\n"
                     "<node id=\"lights\" type=\"FLOAT4\" count=\"LIGHTS\"/>\n"
                     "<node id=\"bones\" type=\"FLOAT4X4\" count=\"3\" semantic=\"WORLD_TRANSFORM\"/>\n"
                     "<node id=\"offset\" type=\"INT4\"/>\n</array>\n" +
                     kSources))
        << LogText();
    const auto& constants = Description().vertexConstants.variables;
    ASSERT_EQ(constants.GetCount(), 3);
    EXPECT_EQ(constants[0].type.arraySize, 4);
    EXPECT_EQ(constants[0].byteSize, 64u);
    EXPECT_EQ(constants[0].semantic, 1u);
    EXPECT_EQ(constants[0].type.qualifiers, QUALIFIER_CONST);
    EXPECT_EQ(constants[1].byteSize, 192u);
    EXPECT_EQ(constants[1].semantic, 2u);
    EXPECT_EQ(constants[2].type.arraySize, 0);
    EXPECT_EQ(constants[2].byteSize, 16u);
    EXPECT_EQ(Description().vertexConstants.first, -1);
    EXPECT_EQ(Description().vertexConstants.second, 0);
}

TEST_F(ShaderXmlReaderTest, VertexOutputsCountTheirSemantics)
{
    ASSERT_TRUE(Read(InfoArray(4) +
                     "<array id=\"vertex_output\">\n"
                     "<node id=\"position\" type=\"FLOAT4\" semantic=\"POSITION\"/>\n"
                     "<node id=\"uv\" type=\"FLOAT2\" semantic=\"TEXTURE_COORDINATE\"/>\n"
                     "<node id=\"color\" type=\"FLOAT4\" semantic=\"COLOR\"/>\n"
                     "<node id=\"normal\" type=\"FLOAT3\"/>\n</array>\n" +
                     kSources));
    const auto& outputs = Description().vertexOutput;
    ASSERT_EQ(outputs.GetCount(), 4);
    EXPECT_EQ(outputs[0].semantic, 1u);
    EXPECT_EQ(outputs[1].semantic, 2u);
    EXPECT_EQ(outputs[1].semanticIndex, 0u);
    EXPECT_EQ(outputs[2].semantic, 0u);
    EXPECT_EQ(outputs[3].semantic, 2u);
    EXPECT_EQ(outputs[3].semanticIndex, 1u);
    EXPECT_EQ(outputs[3].type.qualifiers, 0u);
}

TEST_F(ShaderXmlReaderTest, PixelTexturesKeepEveryAttribute)
{
    m_reader.SetBitmapGetter(FindTestBitmap);
    ASSERT_TRUE(Read(InfoArray(4) +
                     "<array id=\"pixel_textures\">\n"
                     "<node id=\"diffuse\" slot=\"2\" type=\"2D\" address_u=\"CLAMP\" address_v=\"WRAP\" "
                     "address_w=\"MIRROR\" filter_mag=\"POINT\" filter_min=\"LINEAR\" "
                     "filter_mip=\"ANISOTROPIC\" source=\"stone.png\"/>\n"
                     "<node id=\"sky\" type=\"CUBE\"/>\n<node id=\"volume\" type=\"3D\"/>\n"
                     "</array>\n" +
                     kSources))
        << LogText();
    const auto& textures = Description().pixelTextures;
    ASSERT_EQ(textures.GetCount(), 3);
    EXPECT_EQ(textures[0].slot, 2);
    EXPECT_EQ(textures[0].addressU, 1u);
    EXPECT_EQ(textures[0].addressV, 2u);
    EXPECT_EQ(textures[0].addressW, 3u);
    EXPECT_EQ(textures[0].filterMag, 1u);
    EXPECT_EQ(textures[0].filterMin, 2u);
    EXPECT_EQ(textures[0].filterMip, 3u);
    EXPECT_EQ(textures[0].sourceBitmap, &g_bitmap);
    EXPECT_EQ(textures[0].type.textureDimension, TEXTURE_2D);
    EXPECT_EQ(textures[1].slot, -1);
    EXPECT_EQ(textures[1].addressU, 0u);
    EXPECT_EQ(textures[1].type.textureDimension, TEXTURE_CUBE);
    EXPECT_EQ(textures[2].type.textureDimension, TEXTURE_3D);
}

TEST_F(ShaderXmlReaderTest, EveryBitmapReferenceOfATextureSourceIsGivenBack)
{
    g_referencesTaken = 0;
    g_referencesGivenBack = 0;
    m_reader.SetBitmapGetter(TakeTestBitmap);
    m_reader.SetBitmapReleaser(GiveBackTestBitmap);
    const std::string diffuse = "<node id=\"diffuse\" type=\"2D\" source=\"stone.png\"/>\n";
    // Kept by the description until Reset.
    ASSERT_TRUE(Read(InfoArray(4) + "<array id=\"pixel_textures\">\n" + diffuse + "</array>\n" + kSources))
        << LogText();
    EXPECT_EQ(1, g_referencesTaken);
    EXPECT_EQ(0, g_referencesGivenBack);
    m_reader.Reset();
    EXPECT_EQ(1, g_referencesGivenBack);
    EXPECT_EQ(0, Description().pixelTextures.GetCount());
    m_reader.Reset();
    EXPECT_EQ(1, g_referencesGivenBack);  // once only
    // A second texture of the same name is dropped at once, the first kept.
    EXPECT_FALSE(Read(InfoArray(4) + "<array id=\"pixel_textures\">\n" + diffuse + diffuse + "</array>\n" + kSources));
    EXPECT_EQ(3, g_referencesTaken);
    EXPECT_EQ(2, g_referencesGivenBack);
    m_reader.Reset();
    // A texture with a fault drops every texture after it; none keeps its bitmap.
    EXPECT_FALSE(Read(InfoArray(4) + "<array id=\"pixel_textures\">\n" +
                      "<node id=\"bad\" slot=\"-2\" type=\"2D\" source=\"stone.png\"/>\n" + diffuse + "</array>\n" +
                      kSources));
    EXPECT_EQ(0, Description().pixelTextures.GetCount());
    EXPECT_EQ(g_referencesTaken, g_referencesGivenBack);
    m_reader.Reset();
    EXPECT_EQ(g_referencesTaken, g_referencesGivenBack);
}

TEST_F(ShaderXmlReaderTest, BufferAndImageTypes)
{
    ASSERT_TRUE(Read(InfoArray(4) +
                     "<array id=\"buffers\">\n<node id=\"weights\" slot=\"0\" type=\"FLOAT4[]\"/>\n"
                     "<node id=\"indices\" slot=\"1\" type=\"INDEX\"/>\n"
                     "<node id=\"ids\" slot=\"2\" type=\"UINT2\"/>\n</array>\n"
                     "<array id=\"images\"><node id=\"target\" type=\"2D\"/></array>\n" +
                     kSources))
        << LogText();
    const auto& buffers = Description().buffers;
    ASSERT_EQ(buffers.GetCount(), 3);
    EXPECT_EQ(buffers[0].type.arraySize, -1);
    EXPECT_EQ(buffers[0].type.isBuffer, 1);
    EXPECT_EQ(buffers[1].type.baseType, BaseType::UINT);
    EXPECT_EQ(buffers[1].type.vectorSize, 3);
    EXPECT_EQ(buffers[1].type.isIndexBuffer, 1);
    EXPECT_EQ(buffers[2].type.vectorSize, 2);
    EXPECT_EQ(buffers[2].slot, 2);
    EXPECT_EQ(Description().images[0].type.baseType, BaseType::IMAGE);
}

const std::string kHitSource = "<array id=\"sources\"><node type=\"rchit\"><![CDATA[void main() {}]]></node></array>\n";
const std::string kGroup = "<node id=\"ray_tracing_group\" value=\"1\"/>\n";

TEST_F(ShaderXmlReaderTest, RayPayloadTypes)
{
    ASSERT_TRUE(Read(InfoArray(4, kGroup) +
                     "<array id=\"ray_payloads\">\n"
                     "<node id=\"hit\" slot=\"0\" type=\"HitInfo\" input=\"true\"/>\n"
                     "<node id=\"count\" slot=\"1\" type=\"UINT\"/>\n"
                     "<node id=\"color\" slot=\"2\" type=\"FLOAT4\" input=\"no\"/>\n"
                     "</array>\n" +
                     kHitSource))
        << LogText();
    const auto& payloads = Description().rayPayloads;
    ASSERT_EQ(payloads.GetCount(), 3);
    EXPECT_EQ(payloads[0].type.baseType, BaseType::STRUCT);
    EXPECT_STREQ(payloads[0].type.name.GetText(), "HitInfo");
    EXPECT_EQ(payloads[0].isInput, 1);
    EXPECT_EQ(payloads[1].type.baseType, BaseType::UINT);
    EXPECT_EQ(payloads[2].isInput, 0);
    EXPECT_EQ(Description().rayTracingGroup, 1);
}

TEST_F(ShaderXmlReaderTest, DeclarationsOnlyNeedNoSourcesArrayAndReadNoText)
{
    EXPECT_TRUE(Read(InfoArray(4), true));
    m_reader.Reset();
    ASSERT_TRUE(Read(InfoArray(4) + kSources, true));
    ASSERT_EQ(Description().sources.GetCount(), 2);
    EXPECT_STREQ(Description().sources[0].text.GetText(), "");
    EXPECT_EQ(Description().stageFlags, 3u);
    ASSERT_TRUE(m_reader.ReadSources());
    ASSERT_EQ(Description().sources.GetCount(), 2);
    EXPECT_STREQ(Description().sources[1].text.GetText(), "void main() {}");
}

TEST_F(ShaderXmlReaderTest, ParticularTargetsMayFollowAllTargets)
{
    ASSERT_TRUE(Read(InfoArray(4) + "<array id=\"sources\">\n" + kVertexSource +
                     "<node type=\"vertex\" target=\"HLSL11\"><![CDATA[x]]></node>\n" + kPixelSource + "</array>\n"))
        << LogText();
    EXPECT_EQ(Description().sources.GetCount(), 3);
    EXPECT_EQ(Description().sources[1].targetMask, 32u);
}

TEST_F(ShaderXmlReaderTest, CDataSourcesKnowTheirFirstLinePastCommentedArrays)
{
    WriteFile("shaders/pixel.hvs", "void main()\n{\n}\n");
    // Lines 1-2 the document, 3-6 the info array, 7 the sources array.
    ASSERT_TRUE(Read(InfoArray(4) + "<array id=\"sources\">\n<node type=\"vertex\"><![CDATA[\n\n"
                                    "void main() {}\n]]></node>\n"
                                    "<node type=\"pixel\" file=\"shaders/pixel.hvs\"/>\n"
                                    "<!-- <node type=\"pixel\"><![CDATA[ ]]></node> -->\n"
                                    "<node type=\"pixel\" target=\"HLSL11\">\n<![CDATA[void main() {}]]></node>\n"
                                    "</array>\n"))
        << LogText();
    const auto& sources = Description().sources;
    ASSERT_EQ(sources.GetCount(), 3);
    EXPECT_EQ(sources[0].firstLine, 10);
    EXPECT_STREQ(sources[0].text.GetText(), "void main() {}\n");
    EXPECT_STREQ(sources[0].path.GetText(), "res://shader.xml");
    EXPECT_EQ(sources[1].firstLine, 1);
    EXPECT_STREQ(sources[1].path.GetText(), "res://shaders/pixel.hvs");
    EXPECT_STREQ(sources[1].text.GetText(), "void main()\n{\n}\n");
    EXPECT_EQ(sources[2].firstLine, 15);
    EXPECT_EQ(sources[2].stage, 1u);
    m_reader.Reset();
    ASSERT_TRUE(Read("<!-- <array id=\"sources\">\n<node><![CDATA[ ]]></node>\n</array> -->\n" + InfoArray(4) +
                     "<array id = \"sources\">\n" + kVertexSource + kPixelSource + "</array>\n"))
        << LogText();
    // Lines 3-5 hold the comment, 6-9 the info array, 10 the sources array.
    EXPECT_EQ(Description().sources[0].firstLine, 11);
    EXPECT_EQ(Description().sources[1].firstLine, 12);
}

TEST_F(ShaderXmlReaderTest, ADocumentGivenAsTextCountsItsSourceLinesInThatText)
{
    const std::string text = Document(InfoArray(4) +
                                      "<array id=\"sources\">\n<node type=\"vertex\"><![CDATA[\n\n"
                                      "void main() {}\n]]></node>\n</array>\n");
    std::unique_ptr<DMDatabase> database(DataManager::LoadFromMemory(text.c_str()));
    ASSERT_NE(database, nullptr);
    // No file of that name exists: the lines come from the text alone.
    m_reader.SetDocument(database.get(), "res://nowhere.xml", "", text.c_str());
    ASSERT_TRUE(m_reader.Read(false)) << LogText();
    ASSERT_EQ(Description().sources.GetCount(), 1);
    EXPECT_EQ(Description().sources[0].firstLine, 10);
    m_reader.SetDocument(nullptr, "", "");
}

}  // namespace
