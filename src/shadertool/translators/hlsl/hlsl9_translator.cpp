#include "shadertool/translators/hlsl/hlsl9_translator.h"

#include <cstring>

#include "shadertool/basic/operator.h"
#include "shadertool/sema/builtin.h"
#include "shadertool/translators/hlsl/hlsl_reserved_words.h"
#include "shadertool/translators/hlsl/hlsl_tables.h"
#include "shadertool/translators/translator_messages.h"

namespace ShaderTool {
namespace {

bool IsVectorConstructor(uint32_t id)
{
    switch (id) {
    case INTRINSIC_FLOAT2:
    case INTRINSIC_FLOAT3:
    case INTRINSIC_FLOAT4:
    case INTRINSIC_INT2:
    case INTRINSIC_INT3:
    case INTRINSIC_INT4:
    case INTRINSIC_UINT2:
    case INTRINSIC_UINT3:
    case INTRINSIC_UINT4: return true;
    default: return false;
    }
}

bool IsDimension(char c) { return c >= '1' && c <= '4'; }

// A scalar type of HLSL alone, or followed by a vector size (float3) or by
// the rows and columns of a matrix (half2x4).
bool IsNumericTypeName(const char* word)
{
    for (const char* scalar : kHLSLNumericTypes) {
        // Most names differ at once; this check spares them the length and the comparison.
        if (word[0] != scalar[0]) continue;
        const size_t length = std::strlen(scalar);
        if (std::strncmp(word, scalar, length) != 0) continue;
        const char* rest = word + length;
        if (rest[0] == '\0') return true;
        if (!IsDimension(rest[0])) continue;
        if (rest[1] == '\0') return true;
        if (rest[1] == 'x' && IsDimension(rest[2]) && rest[3] == '\0') return true;
    }
    return false;
}

bool IsSamplingFunction(uint32_t id)
{
    return id == INTRINSIC_SAMPLE_TEXTURE || id == INTRINSIC_SAMPLE_TEXTURE_GRAD ||
           id == INTRINSIC_SAMPLE_TEXTURE_LOD || id == INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET;
}

const char* DimensionSuffix(TextureDimension dimension)
{
    switch (dimension) {
    case TEXTURE_2D: return "2D";
    case TEXTURE_3D: return "3D";
    case TEXTURE_CUBE: return "CUBE";
    default: return "";
    }
}

}  // namespace

HLSL9Translator::HLSL9Translator(Log* log) : Translator(log)
{
    reservedWords = kHLSLReservedWords;
    AddRename("sampleTexture", "tex");
    AddRename("sampleTextureGrad", "tex");
    AddRename("sampleTextureLod", "tex");
    AddRename("sampleTextureLodOffset", "tex");
}

bool HLSL9Translator::IsReservedWord(const char* word) const
{
    return Translator::IsReservedWord(word) || IsNumericTypeName(word);
}

void HLSL9Translator::Reset()
{
    Translator::Reset();
    pixelInputExtra = nullptr;
    instanceIdInput = nullptr;
    vertexIdInput = nullptr;
    pixelTextures = nullptr;
    for (bool& declared : reciprocalDeclared) declared = false;
}

void HLSL9Translator::BeginShader(const ShaderDescription& shaderDescription)
{
    if (stage == STAGE_PIXEL) pixelTextures = &shaderDescription.pixelTextures;
}

String HLSL9Translator::GetFunctionName(const FunctionNode& call)
{
    String name = Translator::GetFunctionName(call);
    if (!IsSamplingFunction(call.subKind)) return name;
    const Array<Node*>* arguments = GetArguments(call);
    const Type* texture = arguments != nullptr && arguments->GetCount() > 0 ? GetNodeType((*arguments)[0]) : nullptr;
    if (texture != nullptr) name.Append(DimensionSuffix(texture->textureDimension));
    if (call.subKind == INTRINSIC_SAMPLE_TEXTURE_GRAD) name.Append("grad");
    if (call.subKind == INTRINSIC_SAMPLE_TEXTURE_LOD || call.subKind == INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET) {
        name.Append("lod");
    }
    return name;
}

bool HLSL9Translator::TranslateCastConstructor(const FunctionNode& call)
{
    const bool vector = IsVectorConstructor(call.subKind);
    // A matrix of a larger one is its upper-left corner, which HLSL writes as a cast.
    const bool matrix = call.subKind == INTRINSIC_FLOAT2X2 || call.subKind == INTRINSIC_FLOAT3X3;
    if (!vector && !matrix) return false;
    const Array<Node*>* arguments = GetArguments(call);
    if (arguments == nullptr || arguments->GetCount() != 1) return false;
    const Type* argument = GetNodeType((*arguments)[0]);
    if (argument == nullptr) return false;
    if (vector && argument->vectorSize == call.type.vectorSize) return false;
    if (matrix && (argument->matrixSize == 0 || argument->matrixSize == call.type.matrixSize)) return false;
    body.AppendFormat("(%s)(", GetTypeName(call.type).GetText());
    TranslateNode((*arguments)[0]);
    body.Append(")");
    return true;
}

void HLSL9Translator::TranslateFunctionCall(const FunctionNode& call)
{
    if (call.isBuiltIn) {
        if (RefuseUnsupportedBuiltIn(call)) return;
        if (call.subKind == INTRINSIC_SAMPLE_TEXTURE_LOD || call.subKind == INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET) {
            TranslateSampleLod(call);
            return;
        }
        if (TranslateCastConstructor(call)) return;
    }
    Translator::TranslateFunctionCall(call);
}

const VariableNode* HLSL9Translator::GetAccessedMember(const Node* node)
{
    if (node == nullptr || node->kind != NodeKind::Operator) return nullptr;
    const OperatorNode* access = static_cast<const OperatorNode*>(node);
    return access->operatorIndex == OP_MEMBER ? AsVariable(access->right) : nullptr;
}

void HLSL9Translator::TranslateSampleLod(const FunctionNode& call)
{
    const Array<Node*>* arguments = GetArguments(call);
    const bool withOffset = call.subKind == INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET;
    if (arguments == nullptr || arguments->GetCount() < (withOffset ? 4 : 3)) {
        Translator::TranslateFunctionCall(call);
        return;
    }
    const Node* texture = (*arguments)[0];
    const Node* coordinates = (*arguments)[1];
    String reciprocal = "_const_reciprocal_texture_dimensions_";
    if (withOffset) {
        const VariableNode* member = GetAccessedMember(texture);
        const int count = pixelTextures != nullptr ? pixelTextures->GetCount() : 0;
        for (int i = 0; member != nullptr && i < count && i < 8; ++i) {
            const PixelTextureVariable& candidate = (*pixelTextures)[i];
            if (!(candidate.name == member->name)) continue;
            reciprocal.AppendFormat("%i", i);
            if (!reciprocalDeclared[i]) {
                const bool twoDimensional = candidate.type.textureDimension == TEXTURE_2D;
                header.AppendFormat("%s %s;\n", twoDimensional ? "float2" : "float3", reciprocal.GetText());
                reciprocalDeclared[i] = true;
            }
            break;
        }
    }
    body.AppendFormat("%s(", GetFunctionName(call).GetText());
    TranslateNode(texture);
    body.Append(", float4(");
    TranslateNode(coordinates);
    if (withOffset) {
        body.AppendFormat(" + %s * ", reciprocal.GetText());
        TranslateNode((*arguments)[3]);
    }
    const Type* coordinateType = GetNodeType(coordinates);
    body.AppendFormat(", %s", coordinateType != nullptr && coordinateType->vectorSize == 2 ? "0.0f, " : "");
    TranslateNode((*arguments)[2]);
    body.Append("))");
}

void HLSL9Translator::TranslateFunctionDefinition(const FunctionNode& function)
{
    if (function.hasBody && function.name == "main") {
        WriteEntryPoint(function);
        return;
    }
    Translator::TranslateFunctionDefinition(function);
}

void HLSL9Translator::WriteEntryPoint(const FunctionNode& function)
{
    const bool vertex = stage == STAGE_VERTEX;
    const char* inputName = vertex ? "VertexInput" : "PixelInput";
    const char* outputName = vertex ? "VertexOutput" : "PixelOutput";
    body.AppendFormat("%s main(%s input)\n", outputName, inputName);
    WriteIndentation();
    body.Append("{\n");
    ++indent;
    WriteIndentation();
    body.AppendFormat("%s output;\n", outputName);
    const GroupNode* block = function.children.GetCount() > 1 ? AsGroup(function.children[1]) : nullptr;
    inFunctionBody = true;
    if (block != nullptr) TranslateBlock(*block, false);
    inFunctionBody = false;
    if (block != nullptr && block->children.GetCount() > 0) body.Append("\n");
    WriteIndentation();
    body.Append("return output;\n");
    --indent;
    WriteIndentation();
    body.Append("}");
}

void HLSL9Translator::TranslateOperator(const OperatorNode& node)
{
    if ((node.operatorIndex == OP_ASSIGN_MULTIPLY || node.operatorIndex == OP_MULTIPLY) &&
        TranslateMatrixProduct(node)) {
        return;
    }
    if (node.operatorIndex == OP_MEMBER && TranslateMemberAccess(node)) return;
    if (node.operatorIndex == OP_SUBSCRIPT && TranslateIntConstantElement(node)) return;
    if ((node.operatorIndex == OP_EQUAL || node.operatorIndex == OP_NOT_EQUAL) && TranslateWholeComparison(node)) {
        return;
    }
    Translator::TranslateOperator(node);
}

bool HLSL9Translator::TranslateWholeComparison(const OperatorNode& node)
{
    const Type* left = GetNodeType(node.left);
    if (!IsVector(left) && !IsMatrix(left)) return false;
    body.Append(node.operatorIndex == OP_EQUAL ? "all(" : "any(");
    Translator::TranslateOperator(node);
    body.Append(")");
    return true;
}

bool HLSL9Translator::TranslateIntConstantElement(const OperatorNode& node)
{
    const VariableNode* array = AsVariable(node.left);
    if (array == nullptr || !array->isShaderConstant || array->type.baseType != BaseType::INT ||
        array->type.arraySize == 0) {
        return false;
    }
    body.AppendFormat("int%i(_const_%s[", array->type.vectorSize, array->name.GetText());
    TranslateNode(node.right);
    body.Append("])");
    return true;
}

bool HLSL9Translator::TranslateMatrixProduct(const OperatorNode& node)
{
    const Type* left = GetNodeType(node.left);
    const Type* right = GetNodeType(node.right);
    if (!((IsMatrix(left) && IsVector(right)) || (IsVector(left) && IsMatrix(right)))) return false;
    if (node.operatorIndex == OP_ASSIGN_MULTIPLY) {
        TranslateNode(node.left);
        body.Append(" = ");
    }
    body.Append("mul(");
    TranslateNode(node.left);
    body.Append(", ");
    TranslateNode(node.right);
    body.Append(")");
    return true;
}

void HLSL9Translator::WriteMatrixConstant(const Node& node, int32_t matrixSize)
{
    if (matrixSize == 4) {
        TranslateNodeAsDeclared(node);
        return;
    }
    // A cast to the smaller matrix keeps the upper-left corner.
    body.AppendFormat("((float%ix%i)", matrixSize, matrixSize);
    TranslateNodeAsDeclared(node);
    body.Append(")");
}

bool HLSL9Translator::TranslateMemberAccess(const OperatorNode& node)
{
    const VariableNode* left = AsVariable(node.left);
    const VariableNode* member = AsVariable(node.right);
    if (left == nullptr || member == nullptr) return false;
    if (left->name == "input") {
        return TranslateBuiltInInput(member->name) || TranslateBlendIndices(member->name, node.type);
    }
    if (left->name == "buffers") return TranslateBufferReference(member->name);
    if (left->name == "constants") {
        body.AppendFormat("_const_%s", member->name.GetText());
        return true;
    }
    if (left->name == "images") return TranslateImageReference(member->name);
    if (left->name == "texture") {
        body.AppendFormat("_tex_%s", member->name.GetText());
        return true;
    }
    return false;
}

bool HLSL9Translator::WriteSystemInput(const char* text, const char*& input, const char* inputMember)
{
    body.Append(text);
    input = inputMember;
    return true;
}

bool HLSL9Translator::TranslateBuiltInInput(const String& member)
{
    if (member == "face_direction") return WriteSystemInput(facing.directionText, pixelInputExtra, facing.member);
    if (member == "is_front_facing") return WriteSystemInput("(input._facing > 0.0f)", pixelInputExtra, facing.member);
    for (const char* rayInput : kHLSLRayTracingInputs) {
        if (member == rayInput) {
            ReportError(kTranslatorInputNotSupported, member.GetText());
            return true;
        }
    }
    return false;
}

bool HLSL9Translator::TranslateBlendIndices(const String& member, const Type& memberType)
{
    if (stage != STAGE_VERTEX || description == nullptr) return false;
    for (const VertexInputVariable& input : description->vertexInput) {
        if (input.name != member || input.semantic != kHLSLBlendIndicesBit) continue;
        // Declared uint4 for the input layout's unsigned bytes; the body reads
        // them as its own type, so that index differences keep their sign.
        const String typeName = GetTypeName(memberType);
        if (typeName == kHLSLBlendIndicesType) return false;
        body.AppendFormat("%s(input.%s)", typeName.GetText(), GetIdentifier(member).GetText());
        return true;
    }
    return false;
}

bool HLSL9Translator::TranslateBufferReference(const String& /*member*/) { return false; }

bool HLSL9Translator::TranslateImageReference(const String& /*member*/) { return false; }

void HLSL9Translator::TranslateVariableReference(const VariableNode& variable)
{
    if (variable.isShaderConstant && variable.type.baseType == BaseType::INT) {
        body.AppendFormat("int%i(_const_%s)", variable.type.vectorSize, variable.name.GetText());
        return;
    }
    Translator::TranslateVariableReference(variable);
}

void HLSL9Translator::TranslateVariableDeclaration(const GroupNode& group)
{
    if (!inFunctionBody) body.Append("static ");
    Translator::TranslateVariableDeclaration(group);
}

}  // namespace ShaderTool
