// Ray payloads, traces and the bodies of the ray-tracing stages of HLSL12.
#include <cstdlib>

#include "shadertool/ast/node_children.h"
#include "shadertool/basic/operator.h"
#include "shadertool/sema/builtin.h"
#include "shadertool/translators/hlsl/hlsl12_translator.h"
#include "shadertool/translators/translator_messages.h"

namespace ShaderTool {
namespace {

constexpr int kTraceArgumentCount = 9;
constexpr int kTracePayloadArgument = 8;

// The value of an integer literal ("1", "1u", "0x1"); false for any other text.
bool ParseIntegerLiteral(const String& text, unsigned long long& value)
{
    const char* start = text.GetText();
    const bool hexadecimal = start[0] == '0' && (start[1] == 'x' || start[1] == 'X');
    if (start[0] < '0' || start[0] > '9') return false;
    char* end = nullptr;
    value = std::strtoull(start, &end, hexadecimal ? 16 : 10);
    if (*end == 'u' || *end == 'U') ++end;
    return end != start && *end == '\0';
}

const ConstantNode* AsConstantNode(const Node* node)
{
    return node != nullptr && node->kind == NodeKind::Constant ? static_cast<const ConstantNode*>(node) : nullptr;
}

}  // namespace

void HLSL12Translator::BeginShader(const ShaderDescription& shaderDescription)
{
    HLSL11Translator::BeginShader(shaderDescription);
    payloadSlots.Clear();
    if (!IsRayStage()) return;
    // Slots index the table: they must run from 0 to count - 1, each once.
    const Array<RayPayloadVariable>& payloads = shaderDescription.rayPayloads;
    const int count = payloads.GetCount();
    for (int i = 0; i < count; ++i) payloadSlots.Add(PayloadSlot());
    for (const RayPayloadVariable& payload : payloads) {
        if (payload.slot < 0 || payload.slot >= count || payloadSlots[payload.slot].payload != nullptr) {
            ReportError(kTranslatorPayloadSlotInvalid, payload.name.GetText(), payload.slot, count, count - 1);
            continue;
        }
        payloadSlots[payload.slot].payload = &payload;
    }
    // A buffer and a texture of the same slot would share register t0 of one space.
    for (const PixelTextureVariable& texture : shaderDescription.pixelTextures) {
        for (const BufferVariable& buffer : shaderDescription.buffers) {
            if (buffer.slot != texture.slot) continue;
            ReportError(kTranslatorTextureBufferSlotShared, texture.name.GetText(), buffer.name.GetText(), buffer.slot,
                        buffer.slot + 1);
        }
    }
}

HLSL12Translator::PayloadSlot* HLSL12Translator::FindPayload(const String& name)
{
    for (PayloadSlot& entry : payloadSlots) {
        if (entry.payload != nullptr && entry.payload->name == name) return &entry;
    }
    return nullptr;
}

HLSL12Translator::PayloadSlot* HLSL12Translator::FindTracedPayload(const FunctionNode& call, bool report)
{
    const Array<Node*>* arguments = GetArguments(call);
    if (arguments == nullptr || arguments->GetCount() != kTraceArgumentCount) return nullptr;
    // The checks let only a literal through; its value must be a slot of the table.
    const ConstantNode* literal = AsConstantNode((*arguments)[kTracePayloadArgument]);
    unsigned long long slot = 0;
    if (literal == nullptr || !ParseIntegerLiteral(literal->text, slot) ||
        slot >= static_cast<unsigned long long>(payloadSlots.GetCount()) || payloadSlots[slot].payload == nullptr) {
        if (report) ReportError(kTranslatorTraceSlotUnknown, literal != nullptr ? literal->text.GetText() : "?");
        return nullptr;
    }
    return &payloadSlots[static_cast<int>(slot)];
}

void HLSL12Translator::DeclarePayload(PayloadSlot& entry)
{
    const RayPayloadVariable& payload = *entry.payload;
    const String type = payload.type.baseType == BaseType::STRUCT
                            ? GetTypeName(payload.type)
                            : String::Formatted("_Pay_%s", payload.name.GetText());
    body.AppendFormat("%s _pay_%s", type.GetText(), payload.name.GetText());
    entry.declared = true;
}

String HLSL12Translator::TranslatePayloadReference(const VariableNode& member)
{
    const PayloadSlot* entry = FindPayload(member.name);
    if (entry == nullptr || entry->payload->type.baseType == BaseType::STRUCT) return member.name;
    // A payload that is no struct lives in the only member of its wrapper.
    return String::Formatted("%s.%s", member.name.GetText(), GetIdentifier(member.name).GetText());
}

void HLSL12Translator::WritePayloadStructs()
{
    for (const PayloadSlot& entry : payloadSlots) {
        if (entry.payload == nullptr || entry.payload->type.baseType == BaseType::STRUCT) continue;
        const char* name = entry.payload->name.GetText();
        body.AppendFormat("struct _Pay_%s\n{\n\t%s %s;\n};\n\n", name, GetTypeName(entry.payload->type).GetText(),
                          GetIdentifier(entry.payload->name).GetText());
    }
    payloadStructsWritten = true;
}

void HLSL12Translator::ForgetDeclaredPayloads()
{
    for (PayloadSlot& entry : payloadSlots) entry.declared = false;
}

void HLSL12Translator::CollectNeeds(const Node* node, FunctionNeeds& needs)
{
    if (node == nullptr || node->kind == NodeKind::Function) return;
    if (node->kind == NodeKind::Call) {
        const FunctionNode& call = *AsFunction(node);
        if (call.isBuiltIn && call.subKind == INTRINSIC_TRACE) {
            needs.traces = true;
            if (const PayloadSlot* entry = FindTracedPayload(call, false))
                needs.payloads[entry - payloadSlots.begin()] = true;
        }
    } else if (node->kind == NodeKind::Operator) {
        const OperatorNode& operation = *static_cast<const OperatorNode*>(node);
        const VariableNode* left = AsVariable(operation.left);
        const VariableNode* member = AsVariable(operation.right);
        if (operation.operatorIndex == OP_MEMBER && left != nullptr && member != nullptr &&
            left->name == "ray_payloads") {
            if (const PayloadSlot* entry = FindPayload(member->name))
                needs.payloads[entry - payloadSlots.begin()] = true;
            return;
        }
    }
    ForEachChild(node, [&](const Node* child) { CollectNeeds(child, needs); });
}

void HLSL12Translator::DeclareFunctionLocals(const GroupNode* block)
{
    FunctionNeeds needs;
    for (int i = 0; i < payloadSlots.GetCount(); ++i) needs.payloads.Add(false);
    CollectNeeds(block, needs);
    bool declared = false;
    for (int slot = 0; slot < payloadSlots.GetCount(); ++slot) {
        PayloadSlot& entry = payloadSlots[slot];
        if (!needs.payloads[slot] || entry.payload == nullptr || entry.declared) continue;
        WriteIndentation();
        DeclarePayload(entry);
        body.Append(";\n");
        declared = true;
    }
    if (needs.traces) {
        WriteIndentation();
        body.Append("RayDesc _ray_description;\n");
        declared = true;
    }
    if (declared && block != nullptr && block->children.GetCount() > 0) body.Append("\n");
}

void HLSL12Translator::WriteRayFunctionBody(const GroupNode* block)
{
    WriteIndentation();
    body.Append("{\n");
    ++indent;
    DeclareFunctionLocals(block);
    inFunctionBody = true;
    if (block != nullptr) TranslateBlock(*block, false);
    inFunctionBody = false;
    --indent;
    WriteIndentation();
    body.Append("}");
}

void HLSL12Translator::WriteRayEntryHead()
{
    body.Append("void main(");
    bool hasPayload = false;
    if (stage == STAGE_RCHIT || stage == STAGE_RMISS) {
        for (PayloadSlot& entry : payloadSlots) {
            if (entry.payload == nullptr || !entry.payload->isInput) continue;
            body.Append("inout ");
            DeclarePayload(entry);
            hasPayload = true;
            break;
        }
        if (!hasPayload) ReportError(kTranslatorNoInputPayload, GetStageName(stage));
    }
    if (stage == STAGE_RCHIT) {
        body.AppendFormat("%sBuiltInTriangleIntersectionAttributes _hit_attributes", hasPayload ? ", " : "");
    }
    body.Append(")\n");
}

// A trace is four assignments to the ray description and the TraceRay call.
bool HLSL12Translator::WritesSeveralStatements(const Node* node)
{
    const FunctionNode* call = node != nullptr && node->kind == NodeKind::Call ? AsFunction(node) : nullptr;
    return call != nullptr && call->isBuiltIn && call->subKind == INTRINSIC_TRACE;
}

void HLSL12Translator::TranslateTrace(const FunctionNode& call)
{
    const Array<Node*>* arguments = GetArguments(call);
    if (arguments == nullptr || arguments->GetCount() != kTraceArgumentCount) {
        Translator::TranslateFunctionCall(call);
        return;
    }
    const PayloadSlot* entry = FindTracedPayload(call, true);
    const char* const fields[] = {"Origin", "TMin", "Direction", "TMax"};
    for (int i = 0; i < 4; ++i) {
        body.AppendFormat("_ray_description.%s = ", fields[i]);
        TranslateNode((*arguments)[4 + i]);
        body.Append(";\n");
        WriteIndentation();
    }
    body.Append("TraceRay(_acceleration_structure");
    for (int i = 0; i < 3; ++i) {
        body.Append(", ");
        TranslateNode((*arguments)[i]);
    }
    body.Append(", 0, ");
    TranslateNode((*arguments)[3]);
    body.AppendFormat(", _ray_description, _pay_%s)", entry != nullptr ? entry->payload->name.GetText() : "");
}

}  // namespace ShaderTool
