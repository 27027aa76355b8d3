#include "shadertool/translators/glsl/glsl21_translator.h"

#include <cstdarg>

#include "shadertool/sema/builtin.h"
#include "shadertool/translators/glsl/glsl_reserved_words.h"
#include "shadertool/translators/glsl/glsl_translator_messages.h"
#include "shadertool/basic/operator.h"
#include "shadertool/translators/translator_messages.h"

namespace ShaderTool {
namespace {

// An operand written as a two-operand or conditional operation, which keeps
// its grouping only in brackets once it changes sides.
bool IsInfixOperation(const Node* node)
{
    return node != nullptr && node->kind == NodeKind::Operator &&
           GetOperatorForm(static_cast<const OperatorNode*>(node)->operatorIndex) == FORM_INFIX;
}

const char* DimensionSuffix(TextureDimension dimension)
{
    switch (dimension) {
    case TEXTURE_3D: return "3D";
    case TEXTURE_CUBE: return "Cube";
    default: return "2D";
    }
}

}  // namespace

GLSL21Translator::GLSL21Translator(Log* log) : Translator(log)
{
    reservedWords = kGLSLReservedWords;
    AddRename("atan2", "atan");
    AddRename("frac", "fract");
    AddRename("lerp", "mix");
    AddRename("rsqrt", "inversesqrt");
    AddRename("sampleTexture", "texture");
    AddRename("sampleTextureGrad", "texture");
    AddRename("sampleTextureLod", "texture");
    AddRename("sampleTextureLodOffset", "texture");
}

GLSL21Translator::~GLSL21Translator() = default;

void GLSL21Translator::Reset()
{
    Translator::Reset();
    extensions.Clear();
    supportFunctions.Clear();
    positionName.Clear();
}

void GLSL21Translator::AddExtension(const char* name)
{
    for (const char* extension : extensions) {
        if (String(extension) == name) return;
    }
    extensions.Add(name);
}

void GLSL21Translator::DeclareLine(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    header.AppendFormatV(format, arguments);
    va_end(arguments);
    header.Append(";\n");
}

void GLSL21Translator::BeginDeclarationGroup()
{
    if (!header.IsEmpty()) header.Append("\n");
}

void GLSL21Translator::BeginShader(const ShaderDescription& shaderDescription)
{
    if (stage != STAGE_VERTEX && stage != STAGE_PIXEL) return;
    for (const VertexOutputVariable& output : shaderDescription.vertexOutput) {
        if (output.semantic == VERTEX_OUTPUT_POSITION && positionName.IsEmpty()) positionName = output.name;
    }
    // Values that must not be interpolated need a qualifier the old
    // languages lack, and no language of this family passes a bool.
    for (const VertexOutputVariable& output : shaderDescription.vertexOutput) {
        const BaseType base = output.type.baseType;
        const bool integer = base == BaseType::INT || base == BaseType::UINT;
        if (base == BaseType::BOOL || (integer && !CanPassIntegerOutputs())) {
            ReportError(kGLSLVertexOutputNotPassed, output.name.GetText(), GetTypeText(output.type, false).GetText(),
                        GetTargetName(target));
        }
    }
}

void GLSL21Translator::WriteHeader()
{
    WriteSupportFunctions();
    if (extensions.GetCount() == 0) return;
    String text;
    for (const char* extension : extensions) text.AppendFormat("#extension %s : require\n", extension);
    text.Append("\n");
    text.Append(header.GetText(), header.GetLength());
    header = text;
}

String GLSL21Translator::GetTypeName(const Type& type)
{
    String name;
    switch (type.baseType) {
    case BaseType::FLOAT: name = type.vectorSize >= 2 ? "vec" : type.matrixSize >= 1 ? "mat" : "float"; break;
    case BaseType::INT: name = type.vectorSize >= 2 ? "ivec" : "int"; break;
    case BaseType::UINT:
        if (target != TARGET_SPIRV) ReportError("%s", kGLSLUnsignedNotSupported);
        name = type.vectorSize >= 2 ? "uvec" : "uint";
        break;
    case BaseType::BOOL:
        // The language's boolean vectors are bvec, never "bool2".
        name = type.vectorSize >= 2 ? "bvec" : "bool";
        break;
    default: return Translator::GetTypeName(type);
    }
    // Sizes run from 2 to 4: one digit.
    if (type.vectorSize >= 2) {
        name.AppendChar(char('0' + type.vectorSize));
    } else if (type.matrixSize > 0) {
        name.AppendChar(char('0' + type.matrixSize));
    }
    return name;
}

String GLSL21Translator::GetFloatTypeName(const Type& type)
{
    Type floatType = type;
    floatType.baseType = BaseType::FLOAT;
    return GetTypeName(floatType);
}

String GLSL21Translator::GetFunctionName(const FunctionNode& call)
{
    String name = Translator::GetFunctionName(call);
    const uint32_t id = call.subKind;
    if (id != INTRINSIC_SAMPLE_TEXTURE && id != INTRINSIC_SAMPLE_TEXTURE_GRAD && id != INTRINSIC_SAMPLE_TEXTURE_LOD &&
        id != INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET) {
        return name;
    }
    const Array<Node*>* arguments = GetArguments(call);
    const Type* texture = arguments != nullptr && arguments->GetCount() > 0 ? GetNodeType((*arguments)[0]) : nullptr;
    if (texture != nullptr) name.Append(DimensionSuffix(texture->textureDimension));
    if (id == INTRINSIC_SAMPLE_TEXTURE_GRAD) name.Append("Grad");
    if (id == INTRINSIC_SAMPLE_TEXTURE_LOD) name.Append("Lod");
    if (id == INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET) name.Append("LodOffset");
    return name;
}

void GLSL21Translator::WriteFloatLiteral(const char* text)
{
    ConstantNode literal;
    literal.type = Type::MakeVector(BaseType::FLOAT, 1);
    literal.text = text;
    TranslateConstant(literal);
}

void GLSL21Translator::TranslateSaturate(const FunctionNode& call)
{
    const Array<Node*>* arguments = GetArguments(call);
    body.Append("clamp(");
    if (arguments != nullptr && arguments->GetCount() > 0) TranslateNode((*arguments)[0]);
    body.Append(", ");
    WriteFloatLiteral("0.0f");
    body.Append(", ");
    WriteFloatLiteral("1.0f");
    body.Append(")");
}

void GLSL21Translator::TranslateVectorTest(const FunctionNode& call)
{
    const Array<Node*>* arguments = GetArguments(call);
    const Node* argument = arguments != nullptr && arguments->GetCount() > 0 ? (*arguments)[0] : nullptr;
    const Type* type = GetNodeType(argument);
    body.AppendFormat("%s(bvec%i(", GetFunctionName(call).GetText(), type != nullptr ? type->vectorSize : 0);
    TranslateNode(argument);
    body.Append("))");
}

void GLSL21Translator::TranslateFunctionCall(const FunctionNode& call)
{
    if (!call.isBuiltIn) {
        Translator::TranslateFunctionCall(call);
        return;
    }
    if (RefuseUnsupportedBuiltIn(call)) return;
    switch (call.subKind) {
    case INTRINSIC_ALL:
    case INTRINSIC_ANY: TranslateVectorTest(call); return;
    case INTRINSIC_SATURATE: TranslateSaturate(call); return;
    case INTRINSIC_SAMPLE_TEXTURE_GRAD:
    case INTRINSIC_SAMPLE_TEXTURE_LOD:
    case INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET: AddExtension(kGpuShader4Extension); break;
    default: break;
    }
    Translator::TranslateFunctionCall(call);
}

bool GLSL21Translator::TranslateRemainder(const OperatorNode& node)
{
    const Type* left = GetNodeType(node.left);
    const Type* right = GetNodeType(node.right);
    if (left == nullptr || right == nullptr || left->baseType != BaseType::INT) return false;
    const String leftType = GetTypeName(*left);
    AddSupportFunction(String::Formatted("%s _remainder(%s a, %s b)\n{\n\treturn a - b * (a / b);\n}\n",
                                         leftType.GetText(), leftType.GetText(), GetTypeName(*right).GetText()));
    if (node.operatorIndex == OP_ASSIGN_MODULO) {
        TranslateNode(node.left);
        body.Append(" = ");
    }
    body.Append("_remainder(");
    TranslateNode(node.left);
    body.Append(", ");
    TranslateNode(node.right);
    body.Append(")");
    return true;
}

bool GLSL21Translator::TranslateMatrixProduct(const OperatorNode& node)
{
    const Type* left = GetNodeType(node.left);
    const Type* right = GetNodeType(node.right);
    const bool rowVectorProduct = IsVector(left) && IsMatrix(right);
    if (!rowVectorProduct && !(IsMatrix(left) && IsMatrix(right))) return false;
    if (node.operatorIndex == OP_ASSIGN_MULTIPLY) {
        TranslateNode(node.left);
        body.Append(" = ");
    }
    if (!rowVectorProduct) {
        body.Append("matrixCompMult(");
        TranslateNode(node.left);
        body.Append(", ");
        TranslateNode(node.right);
        body.Append(")");
        return true;
    }
    // The operands change sides: each keeps its own grouping (the matrix
    // of v *= a + b, or the vector of u * s * M).
    TranslateGrouped(node.right);
    body.Append(" * ");
    TranslateGrouped(node.left);
    return true;
}

void GLSL21Translator::TranslateGrouped(const Node* node)
{
    // A product of two matrices and an int remainder are written as calls.
    bool call = false;
    if (IsInfixOperation(node)) {
        const OperatorNode& operation = *static_cast<const OperatorNode*>(node);
        const Type* left = GetNodeType(operation.left);
        call = (operation.operatorIndex == OP_MULTIPLY && IsMatrix(left) && IsMatrix(GetNodeType(operation.right))) ||
               (operation.operatorIndex == OP_MODULO && left != nullptr && left->baseType == BaseType::INT);
    }
    const bool grouped = IsInfixOperation(node) && !call;
    if (grouped) body.Append("(");
    TranslateNode(node);
    if (grouped) body.Append(")");
}

String GLSL21Translator::TransposingFunction(const char* name, int32_t size, int32_t parameterSize)
{
    String text = String::Formatted("mat%i %s(mat%i m)\n{\n\treturn mat%i(", size, name, parameterSize, size);
    for (int32_t column = 0; column < size; ++column) {
        for (int32_t row = 0; row < size; ++row) {
            // Sizes run from 2 to 4: every index is one digit.
            if (column + row > 0) text.Append(", ");
            text.Append("m[");
            text.AppendChar(char('0' + row));
            text.Append("][");
            text.AppendChar(char('0' + column));
            text.AppendChar(']');
        }
    }
    text.Append(");\n}\n");
    return text;
}

// A matrix constant is uploaded from its slot as a mat4 the default way: the
// slot's float4x4 in its column-major packing arrives as the HLSL matrix
// itself, whose rows become the columns of the matrix as this family keeps it.
void GLSL21Translator::WriteMatrixConstant(const Node& node, int32_t matrixSize)
{
    const String name = String::Formatted("_matrix_rows%i", matrixSize);
    AddSupportFunction(TransposingFunction(name.GetText(), matrixSize, 4));
    body.AppendFormat("%s(", name.GetText());
    TranslateNodeAsDeclared(node);
    body.Append(")");
}

void GLSL21Translator::AddSupportFunction(const String& text)
{
    for (const String& function : supportFunctions) {
        if (function == text) return;
    }
    supportFunctions.Add(text);
}

void GLSL21Translator::WriteSupportFunctions()
{
    for (const String& function : supportFunctions) {
        BeginDeclarationGroup();
        header.Append(function.GetText(), function.GetLength());
    }
}

void GLSL21Translator::TranslateOperator(const OperatorNode& node)
{
    if ((node.operatorIndex == OP_MODULO || node.operatorIndex == OP_ASSIGN_MODULO) && TranslateRemainder(node)) return;
    if ((node.operatorIndex == OP_MULTIPLY || node.operatorIndex == OP_ASSIGN_MULTIPLY) &&
        TranslateMatrixProduct(node)) {
        return;
    }
    if (node.operatorIndex == OP_MEMBER && TranslateMemberAccess(node)) return;
    Translator::TranslateOperator(node);
}

void GLSL21Translator::TranslateInitializerList(const OperatorNode& node)
{
    Type arrayType = GetNodeType(node.left) != nullptr ? *GetNodeType(node.left) : node.type;
    body.AppendFormat(" = %s[]\n", GetTypeName(arrayType).GetText());
    WriteElementList(node, '(', ')');
}

}  // namespace ShaderTool
