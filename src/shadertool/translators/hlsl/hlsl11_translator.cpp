#include "shadertool/translators/hlsl/hlsl11_translator.h"

#include "shadertool/basic/operator.h"
#include "shadertool/sema/builtin.h"
#include "shadertool/translators/translator_messages.h"

namespace ShaderTool {
namespace {

constexpr const char* kWarningPragma = "#pragma warning(disable : 3078)\n\n";

}  // namespace

const char* HLSL11Translator::TextureObjectSuffix(TextureDimension dimension)
{
    switch (dimension) {
    case TEXTURE_3D: return "3D";
    case TEXTURE_CUBE: return "Cube";
    default: return "2D";
    }
}

bool HLSL11Translator::IsComparisonTexture(const String& name) const
{
    for (const String& compared : comparisonTextures) {
        if (compared == name) return true;
    }
    return false;
}

HLSL11Translator::HLSL11Translator(Log* log) : HLSL9Translator(log)
{
    targetSemantic = "SV_TARGET";
    positionSemantic = "SV_POSITION";
    bitwiseAllowed = true;
    // The facing is a boolean here: face_direction gives the sign that every other target gives.
    facing = {"(input._facing ? 1.0f : -1.0f)", "bool _facing : SV_IsFrontFace"};
}

HLSL11Translator::~HLSL11Translator() = default;

// The comparison list belongs to one stage: a failed stage must not pass it on.
void HLSL11Translator::Reset()
{
    HLSL9Translator::Reset();
    comparisonTextures.Clear();
    plainlySampledTextures.Clear();
}

void HLSL11Translator::WriteHeader()
{
    if (target != TARGET_HLSL11 && target != TARGET_HLSL12) return;
    PrependToHeader(kWarningPragma);
}

const char* HLSL11Translator::GetSampleFunctionName(uint32_t intrinsicId)
{
    switch (intrinsicId) {
    case INTRINSIC_SAMPLE_TEXTURE: return "Sample";
    case INTRINSIC_SAMPLE_TEXTURE_COMPARE_LOD_ZERO: return "SampleCmpLevelZero";
    case INTRINSIC_SAMPLE_TEXTURE_GRAD: return "SampleGrad";
    case INTRINSIC_SAMPLE_TEXTURE_LOD:
    case INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET: return "SampleLevel";
    default: return "";
    }
}

void HLSL11Translator::TranslateFunctionCall(const FunctionNode& call)
{
    if (call.isBuiltIn) {
        switch (call.subKind) {
        case INTRINSIC_SAMPLE_TEXTURE:
        case INTRINSIC_SAMPLE_TEXTURE_COMPARE_LOD_ZERO:
        case INTRINSIC_SAMPLE_TEXTURE_GRAD:
        case INTRINSIC_SAMPLE_TEXTURE_LOD:
        case INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET: TranslateSampleCall(call); return;
        default: break;
        }
        // The zero-level comparison sample was written above.
        if (RefuseUnsupportedBuiltIn(call)) return;
        if (TranslateCastConstructor(call)) return;
    }
    Translator::TranslateFunctionCall(call);
}

void HLSL11Translator::TranslateSampleCall(const FunctionNode& call)
{
    const Array<Node*>* arguments = GetArguments(call);
    if (arguments == nullptr || arguments->GetCount() == 0) {
        Translator::TranslateFunctionCall(call);
        return;
    }
    const Node* texture = (*arguments)[0];
    body.Append("_tex_");
    TranslateNode(texture);
    body.AppendFormat(".%s(_smp_", GetSampleFunctionName(call.subKind));
    TranslateNode(texture);
    for (int i = 1; i < arguments->GetCount(); ++i) {
        body.Append(", ");
        TranslateNode((*arguments)[i]);
    }
    body.Append(")");
    // An element of a texture array is sampled through the array's sampler.
    const OperatorNode* element =
        texture->kind == NodeKind::Operator ? static_cast<const OperatorNode*>(texture) : nullptr;
    if (element != nullptr && element->operatorIndex == OP_SUBSCRIPT) texture = element->left;
    const VariableNode* member = GetAccessedMember(texture);
    if (member == nullptr) return;
    // Each texture has one sampler: a comparison sampler cannot serve a plain
    // sampling method, nor a plain sampler a comparison.
    const bool comparison = call.subKind == INTRINSIC_SAMPLE_TEXTURE_COMPARE_LOD_ZERO;
    Array<String>& same = comparison ? comparisonTextures : plainlySampledTextures;
    const Array<String>& other = comparison ? plainlySampledTextures : comparisonTextures;
    const auto holds = [member](const Array<String>& names) {
        for (const String& name : names) {
            if (name == member->name) return true;
        }
        return false;
    };
    if (holds(same)) return;
    if (holds(other)) ReportError(kTranslatorSampledBothWays, member->name.GetText());
    same.Add(member->name);
}

bool HLSL11Translator::TranslateMemberAccess(const OperatorNode& node)
{
    const VariableNode* left = AsVariable(node.left);
    const VariableNode* member = AsVariable(node.right);
    if (left != nullptr && member != nullptr && left->name == "texture") {
        body.Append(member->name.GetText(), member->name.GetLength());
        return true;
    }
    return HLSL9Translator::TranslateMemberAccess(node);
}

bool HLSL11Translator::TranslateBuiltInInput(const String& member)
{
    if (member == "instance_id") return WriteSystemInput("input._instance_id", instanceIdInput, instanceIdMember);
    if (member == "vertex_id") return WriteSystemInput("input._vertex_id", vertexIdInput, vertexIdMember);
    return HLSL9Translator::TranslateBuiltInInput(member);
}

void HLSL11Translator::TranslateOperator(const OperatorNode& node)
{
    HLSL9Translator::TranslateOperator(node);
    if ((featureLevel & FEATURE_LEVEL_HLSL11_LOW) != 0 && IsBitwiseOperator(node.operatorIndex)) {
        ReportError(kTranslatorBitwiseNotSupportedInLevel, GetFeatureLevelName(FEATURE_LEVEL_HLSL11_LOW));
    }
}

void HLSL11Translator::DeclareConstants(const Array<ConstantVariable>& constants)
{
    if (constants.GetCount() == 0) return;
    String registerSuffix;
    if (bindConstantRegisters) registerSuffix = String::Formatted(" : register(b%i)", stage == STAGE_PIXEL ? 1 : 0);
    if (!header.IsEmpty()) header.Append("\n");
    header.AppendFormat("%s Constants%s\n{\n", constantBufferKeyword, registerSuffix.GetText());
    // Every member fills whole 16-byte rows, so the buffer's own packing puts
    // each at the offset of its slot in the engine's block.
    for (const ConstantVariable& constant : constants) {
        const String typeName = GetTypeName(GetSlotType(constant.type));
        if (constant.type.arraySize != 0) {
            header.AppendFormat("\t%s _const_%s[%i];\n", typeName.GetText(), constant.name.GetText(),
                                constant.type.arraySize);
        } else {
            header.AppendFormat("\t%s _const_%s;\n", typeName.GetText(), constant.name.GetText());
        }
    }
    header.Append("};\n");
}

void HLSL11Translator::DeclarePixelTextures(const ShaderDescription& shaderDescription)
{
    const Array<PixelTextureVariable>& textures = shaderDescription.pixelTextures;
    if (textures.GetCount() > 0) header.Append("\n");
    for (int i = 0; i < textures.GetCount(); ++i) {
        const PixelTextureVariable& texture = textures[i];
        header.AppendFormat("%s _smp_%s : register(s%i);\n",
                            IsComparisonTexture(texture.name) ? "SamplerComparisonState" : "SamplerState",
                            texture.name.GetText(), i);
        header.AppendFormat("Texture%s _tex_%s : register(t%i);\n", TextureObjectSuffix(texture.type.textureDimension),
                            texture.name.GetText(), i);
    }
    comparisonTextures.Clear();
}

}  // namespace ShaderTool
