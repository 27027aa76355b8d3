#pragma once

#include <span>

#include "shadertool/translators/translator.h"

namespace ShaderTool {

// A stage input member that the language holds in a built-in variable, and
// the text that reads it.
struct SystemValue {
    const char* member;
    const char* text;
};

// GLSL for the old desktop language: the stage interface as attribute,
// varying and uniform declarations with fixed name prefixes, the stage
// structs' system members as gl_ variables, and rewrites for what the old
// language lacks (integer modulo, saturate, vector all and any). The base of
// every GLSL-family translator.
class GLSL21Translator : public Translator {
public:
    explicit GLSL21Translator(Log* stepLog);
    ~GLSL21Translator() override;

    void Reset() override;
    String GetFunctionName(const FunctionNode& call) override;
    String GetTypeName(const Type& type) override;
    void WriteHeader() override;
    void BeginShader(const ShaderDescription& shaderDescription) override;
    void TranslateInitializerList(const OperatorNode& node) override;
    void TranslateFunctionCall(const FunctionNode& call) override;
    void TranslateOperator(const OperatorNode& node) override;
    void WriteInterface(const ShaderDescription& shaderDescription) override;
    void WriteMatrixConstant(const Node& node, int32_t matrixSize) override;

    virtual void DeclareBuffers(const ShaderDescription& shaderDescription);
    // The reference operations return true when they wrote the whole member
    // access, false when the base form (left operand, ".", member) is to be written.
    virtual bool TranslateBufferReference(const String& member);
    virtual void DeclareTextures(const ShaderDescription& shaderDescription);
    virtual void DeclareConstants(const ConstantList& constants);
    virtual bool TranslateConstantReference(const String& member);
    virtual void DeclareImages(const ShaderDescription& shaderDescription);
    virtual bool TranslateImageReference(const String& member);
    virtual bool TranslateInputReference(const String& member, const Type& memberType);
    virtual bool TranslateMemberAccess(const OperatorNode& node);
    virtual bool TranslateOutputReference(const String& member);
    virtual void DeclarePixelInputs(const ShaderDescription& shaderDescription);
    virtual void DeclarePixelOutputs(const ShaderDescription& shaderDescription);
    virtual void DeclarePixelTextures(const ShaderDescription& shaderDescription);
    virtual bool TranslateTextureReference(const String& member);
    virtual void DeclareVertexInputs(const ShaderDescription& shaderDescription);
    virtual void DeclareVertexOutputs(const ShaderDescription& shaderDescription);

protected:
    // Level, gradient and offset sampling in every stage, and the instance id,
    // of the old desktop language.
    static constexpr const char* kGpuShader4Extension = "GL_EXT_gpu_shader4";
    // Whether the target passes int vertex outputs to the pixel stage
    // (without interpolation); bool outputs no target of this family passes.
    virtual bool CanPassIntegerOutputs() const { return false; }
    // The interpolation qualifier of a vertex output or pixel input, with its blank.
    static const char* InterpolationQualifier(const Type& type);
    // An extension line for the header; each name once.
    void AddExtension(const char* name);
    // One header declaration: the formatted text and ";\n".
    void DeclareLine(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // A group of declarations starts with a line break when the header has text.
    void BeginDeclarationGroup();
    // The constants a stage reads: its own, then the shared ones, with the
    // integers kept after the stage's list.
    static ConstantList StageConstants(const ConstantList& stageList, const ConstantList& shared);
    // The type a vertex input is declared with.
    virtual String GetVertexInputTypeName(const VertexInputVariable& input);
    // A member of the stage input that is no system value: vertex inputs
    // converted from their declared type, the pixel stage's varyings and
    // position; false in every other stage.
    bool TranslateStageInput(const String& member, const Type& memberType);
    // A member passed from the vertex to the pixel stage: the position as the
    // stage's own variable for it, any other member as its varying.
    void WriteVarying(const String& member, const char* positionVariable);
    // Writes the text of the row that names the member; false when none does.
    bool WriteSystemValue(const String& member, std::span<const SystemValue> values);
    // A refused system value of the stage input: reports it; true.
    bool RefuseInput(const String& member);
    // The float type of the same vector size, as an old vertex attribute holds a value.
    String GetFloatTypeName(const Type& type);
    // A float literal as the target writes it ("0.0f" for the desktop languages).
    void WriteFloatLiteral(const char* text);
    // saturate as a clamp to 0 and 1.
    void TranslateSaturate(const FunctionNode& call);
    // all and any of a numeric vector, through the boolean vector.
    void TranslateVectorTest(const FunctionNode& call);
    // The int modulo operators, through a support function that truncates
    // the quotient toward zero as the HLSL targets do: the remainder takes
    // the dividend's sign (-7 % 3 is -1). True when the operands are ints.
    bool TranslateRemainder(const OperatorNode& node);
    // The family keeps every matrix as the transpose of the HLSL one, so that
    // constructors (which fill columns here and rows there) and subscripts
    // (columns here, rows there) read the same numbers. The row-vector
    // product v * M is then M * v, and * between two matrices, which works
    // per component, matrixCompMult. True when the product is one of those.
    bool TranslateMatrixProduct(const OperatorNode& node);
    // An operand in brackets when it is a two-operand or conditional operation.
    void TranslateGrouped(const Node* node);
    // The text of a support function that returns the transpose of the
    // upper-left size x size corner of its parameter.
    static String TransposingFunction(const char* name, int32_t size, int32_t parameterSize);
    // A function the body calls, written after the interface; each text once.
    void AddSupportFunction(const String& text);
    // Appends the support functions to the header.
    void WriteSupportFunctions();

    // Storage words of the stage interface: the old language's here.
    const char* vertexInputKeyword = "attribute";
    const char* vertexOutputKeyword = "varying";
    const char* pixelInputKeyword = "varying";
    String positionName;
    Array<const char*> extensions;   // in the order they were first asked for
    Array<String> supportFunctions;  // in the order they were first asked for
};

}  // namespace ShaderTool
