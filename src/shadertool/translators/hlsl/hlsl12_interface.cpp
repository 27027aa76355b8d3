// The declarations an HLSL12 stage gets before its body: register spaces for
// buffers, images and ray-stage textures, the acceleration structure, and
// the root signature of the console feature levels.
#include "shadertool/translators/hlsl/hlsl12_translator.h"

namespace ShaderTool {
namespace {

String RegisterText(char registerClass, int number, int space)
{
    return String::Formatted("register(%c%i, space%i)", registerClass, number, space);
}

String ArrayName(const String& name, const Type& type)
{
    return type.arraySize != 0 ? String::Formatted("%s[]", name.GetText()) : name;
}

constexpr const char* kRootSignatureHead =
    "#define ROOT_SIGNATURE \\\n"
    "\t\"RootFlags(\" \\\n"
    "\t\t\"ALLOW_INPUT_ASSEMBLER_INPUT_LAYOUT |\" \\\n"
    "\t\t\"DENY_DOMAIN_SHADER_ROOT_ACCESS |\" \\\n"
    "\t\t\"DENY_GEOMETRY_SHADER_ROOT_ACCESS |\" \\\n"
    "\t\t\"DENY_HULL_SHADER_ROOT_ACCESS)";
constexpr const char* kStaticDataFlags = "flags = DATA_STATIC_WHILE_SET_AT_EXECUTE";
constexpr const char* kVolatileFlags = "flags = DESCRIPTORS_VOLATILE";
constexpr const char* kVolatileStaticDataFlags = "flags = DESCRIPTORS_VOLATILE | DATA_STATIC_WHILE_SET_AT_EXECUTE";
constexpr const char* kVisibility = "visibility = SHADER_VISIBILITY_";
// The most pixel textures a description may hold.
constexpr int kRootDescriptorCount = 8;

// Closes the open literal after a comma and opens the next one with the element.
void AppendRootElement(String& signature, const String& element)
{
    signature.AppendFormat(",\" \\\n\t\"%s", element.GetText());
}

}  // namespace

void HLSL12Translator::WriteInterface(const ShaderDescription& shaderDescription)
{
    if (HasConsoleRootSignature()) {
        BuildRootSignature(shaderDescription);
        String text = rootSignature;
        text.Append(header.GetText(), header.GetLength());
        header = text;
    }
    HLSL9Translator::WriteInterface(shaderDescription);
    if (!IsRayStage()) return;
    if (!header.IsEmpty()) header.Append("\n");
    header.AppendFormat("RaytracingAccelerationStructure _acceleration_structure : %s;\n",
                        RegisterText('t', 0, 0).GetText());
}

void HLSL12Translator::DeclareBuffers(const ShaderDescription& shaderDescription)
{
    if (shaderDescription.buffers.GetCount() == 0) return;
    if (!header.IsEmpty()) header.Append("\n");
    for (const BufferVariable& buffer : shaderDescription.buffers) {
        const String type = buffer.type.isIndexBuffer
                                ? String("ByteAddressBuffer")
                                : String::Formatted("Buffer<%s>", GetTypeName(buffer.type).GetText());
        header.AppendFormat("%s _buf_%s : %s;\n", type.GetText(), ArrayName(buffer.name, buffer.type).GetText(),
                            RegisterText('t', 0, buffer.slot + 1).GetText());
    }
}

void HLSL12Translator::DeclareImages(const ShaderDescription& shaderDescription)
{
    const Array<ImageVariable>& images = shaderDescription.images;
    if (images.GetCount() == 0) return;
    if (!header.IsEmpty()) header.Append("\n");
    for (int i = 0; i < images.GetCount(); ++i) {
        header.AppendFormat("RWTexture%s<float4> _img_%s : %s;\n",
                            images[i].type.imageShape == IMAGE_SHAPE_2D ? "2D" : "", images[i].name.GetText(),
                            RegisterText('u', i, 0).GetText());
    }
}

// Textures of the ray stages; a texture sampled with a comparison gets a
// comparison sampler, as in the pixel stage.
void HLSL12Translator::DeclareTextures(const ShaderDescription& shaderDescription)
{
    const Array<PixelTextureVariable>& textures = shaderDescription.pixelTextures;
    if (textures.GetCount() == 0) return;
    if (!header.IsEmpty()) header.Append("\n");
    for (const PixelTextureVariable& texture : textures) {
        const String name = ArrayName(texture.name, texture.type);
        header.AppendFormat("%s _smp_%s : %s;\n",
                            IsComparisonTexture(texture.name) ? "SamplerComparisonState" : "SamplerState",
                            name.GetText(), RegisterText('s', 0, texture.slot).GetText());
        header.AppendFormat("Texture%s _tex_%s : %s;\n", TextureObjectSuffix(texture.type.textureDimension),
                            name.GetText(), RegisterText('t', 0, texture.slot + 1).GetText());
    }
    comparisonTextures.Clear();
}

// A stage's constant buffer holds its own constants and the shared ones, so
// each CBV follows the buffer the stage declares, at the register it declares:
// b0 for the vertex stage, b1 for the pixel stage.
void HLSL12Translator::BuildRootSignature(const ShaderDescription& shaderDescription)
{
    const bool shared = shaderDescription.constants.variables.GetCount() > 0;
    rootSignature = kRootSignatureHead;
    if (shared || shaderDescription.vertexConstants.variables.GetCount() > 0) {
        AppendRootElement(rootSignature, String::Formatted("CBV(b0, %s, %sVERTEX)", kStaticDataFlags, kVisibility));
    }
    if (shared || shaderDescription.pixelConstants.variables.GetCount() > 0) {
        AppendRootElement(rootSignature, String::Formatted("CBV(b1, %s, %sPIXEL)", kStaticDataFlags, kVisibility));
    }
    AppendRootElement(rootSignature, String::Formatted("DescriptorTable(Sampler(s0, %s, numDescriptors = %i), %sPIXEL)",
                                                       kVolatileFlags, kRootDescriptorCount, kVisibility));
    AppendRootElement(rootSignature, String::Formatted("DescriptorTable(SRV(t0, %s, numDescriptors = %i), %sPIXEL)",
                                                       kVolatileStaticDataFlags, kRootDescriptorCount, kVisibility));
    rootSignature.Append("\"\n");
}

}  // namespace ShaderTool
