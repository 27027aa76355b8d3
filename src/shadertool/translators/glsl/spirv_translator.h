#pragma once

#include "shadertool/translators/glsl/glsl31_translator.h"

namespace ShaderTool {

// Vulkan-flavoured GLSL for the SPIR-V compiler: explicit locations and
// descriptor sets, a uniform or push-constant block for the constants,
// storage buffers, separate samplers and textures in the pixel stage,
// images, and the ray-tracing stages with their payloads and the
// acceleration structure.
class SPIRVTranslator : public GLSL31Translator {
public:
    explicit SPIRVTranslator(Log* stepLog);
    ~SPIRVTranslator() override;

    void Reset() override;
    void BeginShader(const ShaderDescription& shaderDescription) override;
    void TranslateFunctionCall(const FunctionNode& call) override;
    void TranslateFunctionDefinition(const FunctionNode& function) override;
    void TranslateOperator(const OperatorNode& node) override;
    void TranslateStructDeclaration(const GroupNode& group) override;
    void WriteInterface(const ShaderDescription& shaderDescription) override;
    void DeclareBuffers(const ShaderDescription& shaderDescription) override;
    bool TranslateBufferReference(const String& member) override;
    void DeclareTextures(const ShaderDescription& shaderDescription) override;
    void DeclareConstants(const ConstantList& constants) override;
    void DeclareImages(const ShaderDescription& shaderDescription) override;
    bool TranslateImageReference(const String& member) override;
    bool TranslateInputReference(const String& member, const Type& memberType) override;
    bool TranslateMemberAccess(const OperatorNode& node) override;
    void DeclarePixelInputs(const ShaderDescription& shaderDescription) override;
    void DeclarePixelTextures(const ShaderDescription& shaderDescription) override;
    void DeclareVertexInputs(const ShaderDescription& shaderDescription) override;
    void DeclareVertexOutputs(const ShaderDescription& shaderDescription) override;
    void WriteMatrixConstant(const Node& node, int32_t matrixSize) override;

private:
    bool IsRayStage() const { return stage == STAGE_RCHIT || stage == STAGE_RGEN || stage == STAGE_RMISS; }
    // "layout(set = %i, binding = %i" with an optional qualifier, then ")".
    static String LayoutText(int set, int binding, const char* qualifier = nullptr);
    void DeclarePayloads();
    // Whether every struct that a payload has as its type is declared by now.
    bool PayloadTypesDeclared() const;
    void TranslateSampleCall(const FunctionNode& call);
    // The sampled texture, as a combined sampler in the pixel stage.
    void WriteSampledTexture(const Node* texture);
    void TranslateLoadIndices(const FunctionNode& call);
    void TranslateTrace(const FunctionNode& call);
    // The subscript of an array of buffers or textures: the index may differ
    // between invocations, so the language asks for it to be marked.
    void TranslateResourceSubscript(const OperatorNode& node, const Type& arrayType);
    String GetVertexInputTypeName(const VertexInputVariable& input) override;

    bool payloadsDeclared = false;
    Array<String> declaredStructs;  // in the body so far
};

}  // namespace ShaderTool
