#pragma once

#include "foundation/array.h"
#include "shadertool/translators/hlsl/hlsl11_translator.h"

namespace ShaderTool {

// HLSL for Direct3D 12: explicit register spaces, buffers and read-write
// images, the closest-hit, ray-generation and miss stages with their
// payloads and traces, two support functions written when used, and a root
// signature for the console feature levels.
class HLSL12Translator : public HLSL11Translator {
public:
    explicit HLSL12Translator(Log* stepLog);
    ~HLSL12Translator() override;

    void Reset() override;
    void WriteHeader() override;
    void BeginShader(const ShaderDescription& shaderDescription) override;
    void TranslateFunctionCall(const FunctionNode& call) override;
    void TranslateFunctionDefinition(const FunctionNode& function) override;
    void TranslateOperator(const OperatorNode& node) override;
    void WriteInterface(const ShaderDescription& shaderDescription) override;
    void DeclareBuffers(const ShaderDescription& shaderDescription) override;
    bool TranslateBufferReference(const String& member) override;
    void DeclareTextures(const ShaderDescription& shaderDescription) override;
    void DeclareImages(const ShaderDescription& shaderDescription) override;
    bool TranslateImageReference(const String& member) override;
    bool TranslateBuiltInInput(const String& member) override;
    void WriteEntryPoint(const FunctionNode& function) override;
    bool TranslateMemberAccess(const OperatorNode& node) override;
    bool WritesSeveralStatements(const Node* node) override;

    void BuildRootSignature(const ShaderDescription& shaderDescription);
    void WriteRayEntryHead();
    void TranslateTrace(const FunctionNode& call);

private:
    // One ray payload of the description, at the index of its slot.
    struct PayloadSlot {
        const RayPayloadVariable* payload = nullptr;
        bool declared = false;  // the current function already has it
    };

    // What a function body needs declared before its first statement.
    struct FunctionNeeds {
        Array<bool> payloads;  // by slot
        bool traces = false;
    };

    bool IsRayStage() const;
    bool HasConsoleRootSignature() const;
    // Writes "%s _pay_%s" for the payload and marks it declared.
    void DeclarePayload(PayloadSlot& entry);
    // The payload's variable, and ".name" of its wrapper for a payload that is no struct.
    String TranslatePayloadReference(const VariableNode& member);
    PayloadSlot* FindPayload(const String& name);
    // The table entry a trace's payload-slot argument names; null, with the
    // error reported, when the argument is no literal slot of the table.
    PayloadSlot* FindTracedPayload(const FunctionNode& call, bool report);
    void CollectNeeds(const Node* node, FunctionNeeds& needs);
    // The payloads and the ray description a ray-stage function uses, declared
    // at the top of its body so that every later statement sees them.
    void DeclareFunctionLocals(const GroupNode* block);
    // Body of a ray-stage function: braces, the locals, the statements.
    void WriteRayFunctionBody(const GroupNode* block);
    void WritePayloadStructs();
    void ForgetDeclaredPayloads();

    Array<PayloadSlot> payloadSlots;
    String rootSignature;
    bool usesLoadIndices = false;
    bool usesUnpackUnorm = false;
    bool payloadStructsWritten = false;
};

}  // namespace ShaderTool
