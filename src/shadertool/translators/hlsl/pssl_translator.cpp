#include "shadertool/translators/hlsl/pssl_translator.h"

#include "shadertool/sema/builtin.h"
#include "shadertool/translators/translator_messages.h"

namespace ShaderTool {
namespace {

constexpr uint32_t kColorInputBit = 2;

}  // namespace

PSSLTranslator::PSSLTranslator(Log* log) : HLSL11Translator(log)
{
    constantBufferKeyword = "ConstantBuffer";
    targetSemantic = "S_TARGET_OUTPUT";
    positionSemantic = "S_POSITION";
    facing = {"input._facing", "float _facing : S_FRONT_FACE"};
    instanceIdMember = "uint _instance_id : S_INSTANCE_ID";
    vertexIdMember = "uint _vertex_id : S_VERTEX_ID";
}

PSSLTranslator::~PSSLTranslator() = default;

void PSSLTranslator::Reset()
{
    HLSL11Translator::Reset();
    colorInputName.Clear();
}

void PSSLTranslator::BeginShader(const ShaderDescription& shaderDescription)
{
    HLSL11Translator::BeginShader(shaderDescription);
    if (stage != STAGE_VERTEX) return;
    for (const VertexInputVariable& input : shaderDescription.vertexInput) {
        if (input.semantic == kColorInputBit) {
            colorInputName = input.name;
            return;
        }
    }
}

const char* PSSLTranslator::GetSampleFunctionName(uint32_t intrinsicId)
{
    switch (intrinsicId) {
    case INTRINSIC_SAMPLE_TEXTURE: return "Sample";
    case INTRINSIC_SAMPLE_TEXTURE_GRAD: return "SampleGradient";
    case INTRINSIC_SAMPLE_TEXTURE_LOD:
    case INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET: return "SampleLOD";
    default: return "";
    }
}

void PSSLTranslator::TranslateFunctionCall(const FunctionNode& call)
{
    if (call.isBuiltIn && (call.subKind == INTRINSIC_ALL || call.subKind == INTRINSIC_ANY)) {
        const Array<Node*>* arguments = GetArguments(call);
        const Node* argument = arguments != nullptr && arguments->GetCount() == 1 ? (*arguments)[0] : nullptr;
        const Type* type = GetNodeType(argument);
        if (type != nullptr) {
            // The platform's all and any take boolean vectors only.
            body.AppendFormat("%s((bool%i)(", call.name.GetText(), type->vectorSize);
            TranslateNode(argument);
            body.Append("))");
            return;
        }
    }
    if (call.isBuiltIn && call.subKind == INTRINSIC_SAMPLE_TEXTURE_COMPARE_LOD_ZERO) {
        ReportError(kTranslatorFunctionNotSupported, call.name.GetText());
        return;
    }
    HLSL11Translator::TranslateFunctionCall(call);
}

// No feature level of this target is a low level: HLSL9's form, without HLSL11's check.
void PSSLTranslator::TranslateOperator(const OperatorNode& node) { HLSL9Translator::TranslateOperator(node); }

bool PSSLTranslator::TranslateBuiltInInput(const String& member)
{
    if (stage == STAGE_VERTEX && !colorInputName.IsEmpty() && member == colorInputName) {
        body.AppendFormat("input.%s\n\n#if defined(__PROSPERO__)\n\n", GetIdentifier(member).GetText());
        WriteIndentation();
        body.Append(".bgra\n\n#endif\n\n");
        WriteIndentation();
        return true;
    }
    return HLSL11Translator::TranslateBuiltInInput(member);
}

}  // namespace ShaderTool
