#include "shadertool/translators/hlsl/hlsl12_translator.h"

#include "shadertool/basic/operator.h"
#include "shadertool/sema/builtin.h"
#include "shadertool/translators/hlsl/hlsl12_support_functions.h"

namespace ShaderTool {
namespace {

// The stage inputs that only the ray-tracing stages have, as HLSL12 reads them.
struct RayInput {
    const char* member;
    const char* text;
};

// One row per ray-tracing input member: member name, HLSL12 text.
constexpr RayInput kRayInputs[] = {
    {"dispatch_id", "DispatchRaysIndex()"},
    {"dispatch_size", "DispatchRaysDimensions()"},
    {"hit_attribute", "_hit_attributes.barycentrics"},
    {"instance_custom_id", "InstanceID()"},
    {"primitive_id", "PrimitiveIndex()"},
    {"ray_length", "RayTCurrent()"},
    {"world_ray_direction", "WorldRayDirection()"},
    {"world_ray_origin", "WorldRayOrigin()"},
};
static_assert(sizeof(kRayInputs) / sizeof(kRayInputs[0]) == 8);

// An array of textures or of buffers, as opposed to the elements of one buffer.
bool IsResourceArray(const Type* type)
{
    return type != nullptr && type->arraySize != 0 && (type->baseType == BaseType::TEXTURE || type->isBuffer != 0);
}

constexpr const char* kConsoleRootSignatureAttribute =
    "#if defined(__XBOX_ONE) || defined(__XBOX_SCARLETT)\n\n[RootSignature(ROOT_SIGNATURE)]\n\n#endif\n\n";

}  // namespace

HLSL12Translator::HLSL12Translator(Log* log) : HLSL11Translator(log)
{
    bindConstantRegisters = true;
    AddRename("floatBitsToUint", "asuint");
    AddRename("loadIndices", "_loadIndices");
    AddRename("unpackUnorm4ToFloat4", "_unpackUnorm4ToFloat4");
}

HLSL12Translator::~HLSL12Translator() = default;

void HLSL12Translator::Reset()
{
    HLSL11Translator::Reset();
    payloadSlots.Clear();
    usesLoadIndices = false;
    usesUnpackUnorm = false;
    payloadStructsWritten = false;
}

bool HLSL12Translator::IsRayStage() const
{
    return stage == STAGE_RCHIT || stage == STAGE_RGEN || stage == STAGE_RMISS;
}

bool HLSL12Translator::HasConsoleRootSignature() const
{
    return (featureLevel & (FEATURE_LEVEL_HLSL12_XBOX_ONE | FEATURE_LEVEL_HLSL12_XBOX_SX)) != 0;
}

void HLSL12Translator::WriteHeader()
{
    if (usesLoadIndices) header.AppendFormat("\n%s", kHLSL12LoadIndicesFunction);
    if (usesUnpackUnorm) header.AppendFormat("\n%s", kHLSL12UnpackUnormFunction);
}

void HLSL12Translator::TranslateFunctionCall(const FunctionNode& call)
{
    if (!call.isBuiltIn) {
        HLSL11Translator::TranslateFunctionCall(call);
        return;
    }
    const Array<Node*>* arguments = GetArguments(call);
    const int count = arguments != nullptr ? arguments->GetCount() : 0;
    switch (call.subKind) {
    case INTRINSIC_FLOAT_BITS_TO_UINT: Translator::TranslateFunctionCall(call); return;
    case INTRINSIC_LOAD_INDICES:
        usesLoadIndices = true;
        Translator::TranslateFunctionCall(call);
        return;
    case INTRINSIC_UNPACK_UNORM4_TO_FLOAT4:
        usesUnpackUnorm = true;
        Translator::TranslateFunctionCall(call);
        return;
    case INTRINSIC_OBJECT_SPACE_TO_WORLD:
        if (count < 1) break;
        body.Append("mul(ObjectToWorld3x4(), (");
        TranslateNode((*arguments)[0]);
        body.Append("))");
        return;
    case INTRINSIC_STORE_IMAGE:
        if (count < 3) break;
        TranslateNode((*arguments)[0]);
        body.Append("[");
        TranslateNode((*arguments)[1]);
        body.Append("] = ");
        TranslateNode((*arguments)[2]);
        return;
    case INTRINSIC_TRACE: TranslateTrace(call); return;
    default: break;
    }
    HLSL11Translator::TranslateFunctionCall(call);
}

// The low-level check of HLSL11 belongs to that target alone: the feature
// levels of one translation may hold HLSL11_LOW beside the HLSL12 ones.
void HLSL12Translator::TranslateOperator(const OperatorNode& node)
{
    if (node.operatorIndex == OP_SUBSCRIPT && IsResourceArray(GetNodeType(node.left)) &&
        (node.right == nullptr || node.right->kind != NodeKind::Constant)) {
        // An index that may differ between the threads of a wave must say so.
        TranslateNode(node.left);
        body.Append("[NonUniformResourceIndex(");
        TranslateNode(node.right);
        body.Append(")]");
        return;
    }
    HLSL9Translator::TranslateOperator(node);
}

bool HLSL12Translator::TranslateMemberAccess(const OperatorNode& node)
{
    const VariableNode* left = AsVariable(node.left);
    const VariableNode* member = AsVariable(node.right);
    if (left != nullptr && member != nullptr && left->name == "ray_payloads") {
        body.AppendFormat("_pay_%s", TranslatePayloadReference(*member).GetText());
        return true;
    }
    return HLSL11Translator::TranslateMemberAccess(node);
}

bool HLSL12Translator::TranslateBuiltInInput(const String& member)
{
    for (const RayInput& input : kRayInputs) {
        if (member == input.member) {
            body.Append(input.text);
            return true;
        }
    }
    return HLSL11Translator::TranslateBuiltInInput(member);
}

bool HLSL12Translator::TranslateBufferReference(const String& member)
{
    body.AppendFormat("_buf_%s", member.GetText());
    return true;
}

bool HLSL12Translator::TranslateImageReference(const String& member)
{
    body.AppendFormat("_img_%s", member.GetText());
    return true;
}

void HLSL12Translator::TranslateFunctionDefinition(const FunctionNode& function)
{
    if (!function.hasBody) {
        Translator::TranslateFunctionDefinition(function);
        return;
    }
    if (!payloadStructsWritten) WritePayloadStructs();
    ForgetDeclaredPayloads();
    if (function.name == "main") {
        WriteEntryPoint(function);
        return;
    }
    if (!IsRayStage()) {
        Translator::TranslateFunctionDefinition(function);
        return;
    }
    WriteFunctionHead(function);
    body.Append("\n");
    WriteRayFunctionBody(function.children.GetCount() > 1 ? AsGroup(function.children[1]) : nullptr);
}

void HLSL12Translator::WriteEntryPoint(const FunctionNode& function)
{
    if (HasConsoleRootSignature()) body.Append(kConsoleRootSignatureAttribute);
    if (!IsRayStage()) {
        HLSL9Translator::WriteEntryPoint(function);
        return;
    }
    const char* kind = stage == STAGE_RCHIT ? "closesthit" : stage == STAGE_RGEN ? "raygeneration" : "miss";
    body.AppendFormat("[shader(\"%s\")]\n", kind);
    WriteRayEntryHead();
    WriteRayFunctionBody(function.children.GetCount() > 1 ? AsGroup(function.children[1]) : nullptr);
}

}  // namespace ShaderTool
