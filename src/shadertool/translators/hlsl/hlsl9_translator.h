#pragma once

#include "shadertool/translators/translator.h"

namespace ShaderTool {

// HLSL for shader model 3, and the layer every HLSL-like translator builds
// on: stage inputs and outputs become the parameter and the local of a
// generated main, constants globals named "_const_" plus the name, textures
// samplers named "_tex_" plus the name.
class HLSL9Translator : public Translator {
public:
    explicit HLSL9Translator(Log* stepLog);

    void Reset() override;
    String GetFunctionName(const FunctionNode& call) override;
    void BeginShader(const ShaderDescription& shaderDescription) override;
    void TranslateFunctionCall(const FunctionNode& call) override;
    void TranslateFunctionDefinition(const FunctionNode& function) override;
    void TranslateOperator(const OperatorNode& node) override;
    void WriteInterface(const ShaderDescription& shaderDescription) override;
    void TranslateVariableReference(const VariableNode& variable) override;
    void TranslateVariableDeclaration(const GroupNode& group) override;
    void WriteMatrixConstant(const Node& node, int32_t matrixSize) override;

    virtual void DeclareBuffers(const ShaderDescription& shaderDescription);
    virtual bool TranslateBufferReference(const String& member);
    virtual void DeclareTextures(const ShaderDescription& shaderDescription);
    virtual void DeclareConstants(const Array<ConstantVariable>& constants);
    virtual void DeclareImages(const ShaderDescription& shaderDescription);
    virtual bool TranslateImageReference(const String& member);
    // True when it wrote the whole member access of "input".
    virtual bool TranslateBuiltInInput(const String& member);
    virtual void WriteEntryPoint(const FunctionNode& function);
    // True when it wrote the whole member access.
    virtual bool TranslateMemberAccess(const OperatorNode& node);
    virtual void DeclarePixelTextures(const ShaderDescription& shaderDescription);

    // A blend-indices vertex input read as the member's type; true when it wrote it.
    bool TranslateBlendIndices(const String& member, const Type& memberType);
    void WriteVertexInputStruct(const ShaderDescription& shaderDescription);
    void WriteVaryingStruct(const ShaderDescription& shaderDescription, const char* name, bool pixelInput,
                            bool leadingBreak);
    bool TranslateMatrixProduct(const OperatorNode& node);
    void TranslateSampleLod(const FunctionNode& call);

protected:
    // The words of the table, and HLSL's scalar types with their vector and
    // matrix forms.
    bool IsReservedWord(const char* word) const override;
    // Writes the text of a system-value input and notes the stage input member
    // that carries it in input; true.
    bool WriteSystemInput(const char* text, const char*& input, const char* inputMember);
    // A vector constructor of one argument of another size, or a matrix
    // constructor of one larger matrix, written as a cast.
    bool TranslateCastConstructor(const FunctionNode& call);
    // An int Shader XML constant array indexed: the conversion wraps the element.
    bool TranslateIntConstantElement(const OperatorNode& node);
    // == and != of two vectors or matrices give one bool over all components
    // in the language; HLSL compares component by component, so the
    // comparison goes through all() or any().
    bool TranslateWholeComparison(const OperatorNode& node);
    // The name of the member a "." node reaches; null when it is no member access.
    static const VariableNode* GetAccessedMember(const Node* node);

    // The facing of the primitive: face_direction's text, and the pixel input
    // member that carries the facing.
    struct FacingInput {
        const char* directionText;
        const char* member;
    };
    FacingInput facing = {"input._facing", "float _facing : VFACE"};
    const char* pixelInputExtra = nullptr;
    const char* instanceIdInput = nullptr;
    const char* vertexIdInput = nullptr;
    const char* targetSemantic = "COLOR";
    const char* positionSemantic = "POSITION";
    const Array<PixelTextureVariable>* pixelTextures = nullptr;
    bool reciprocalDeclared[8] = {};
};

}  // namespace ShaderTool
