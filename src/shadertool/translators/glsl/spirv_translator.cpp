#include "shadertool/translators/glsl/spirv_translator.h"

#include <cstdint>
#include <cstdlib>

#include "shadertool/sema/builtin.h"
#include "shadertool/translators/translator_messages.h"
#include "shadertool/basic/operator.h"

namespace ShaderTool {
namespace {

constexpr const char* kRayTracingExtension = "GL_NV_ray_tracing";
constexpr const char* k16BitStorageExtension = "GL_EXT_shader_16bit_storage";
constexpr const char* kNonUniformExtension = "GL_EXT_nonuniform_qualifier";

// The vertex input bit of the blend indices, which arrive as unsigned bytes.
constexpr uint32_t kBlendIndicesBit = 128;

// The stage inputs that the language holds in built-in variables: member, text.
constexpr SystemValue kSPIRVSystemValues[] = {
    {"dispatch_id", "gl_LaunchIDNV"},
    {"dispatch_size", "gl_LaunchSizeNV"},
    {"face_direction", "(gl_FrontFacing ? 1.0f : -1.0f)"},
    {"hit_attribute", "_hit_attribute"},
    {"instance_custom_id", "gl_InstanceCustomIndexNV"},
    // Vulkan names the instance index apart from the desktop languages' instance id.
    {"instance_id", "gl_InstanceIndex"},
    {"is_front_facing", "gl_FrontFacing"},
    {"primitive_id", "gl_PrimitiveID"},
    {"ray_length", "gl_RayTmaxNV"},
    {"vertex_id", "gl_VertexIndex"},
    {"world_ray_direction", "gl_WorldRayDirectionNV"},
    {"world_ray_origin", "gl_WorldRayOriginNV"},
};
static_assert(sizeof(kSPIRVSystemValues) / sizeof(kSPIRVSystemValues[0]) == 12);

const char* DimensionSuffix(TextureDimension dimension)
{
    switch (dimension) {
    case TEXTURE_3D: return "3D";
    case TEXTURE_CUBE: return "Cube";
    default: return "2D";
    }
}

// The texture member a sampling call's first argument names: texture.name,
// or an element of it, texture.name[i].
const VariableNode* SampledTexture(const Node* argument)
{
    const Node* node = argument;
    if (node != nullptr && node->kind == NodeKind::Operator &&
        static_cast<const OperatorNode*>(node)->operatorIndex == OP_SUBSCRIPT) {
        node = static_cast<const OperatorNode*>(node)->left;
    }
    if (node == nullptr || node->kind != NodeKind::Operator) return nullptr;
    const OperatorNode* access = static_cast<const OperatorNode*>(node);
    const VariableNode* left = AsVariable(access->left);
    if (access->operatorIndex != OP_MEMBER || left == nullptr || !(left->name == "texture")) return nullptr;
    return AsVariable(access->right);
}

// The slot an integer literal names; -1 for anything else.
int32_t LiteralSlot(const ConstantNode* literal)
{
    if (literal == nullptr || literal->text.GetLength() == 0) return -1;
    const char* text = literal->text.GetText();
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 0);
    if (end == text || value < 0 || value > INT32_MAX) return -1;
    if (*end == 'u' || *end == 'U') ++end;
    return *end == '\0' ? static_cast<int32_t>(value) : -1;
}

// The location of the vertex output at the index: its index in the list,
// except that a matrix before it takes a location per column.
int VaryingLocation(const Array<VertexOutputVariable>& outputs, int index)
{
    int location = 0;
    for (int i = 0; i < index; ++i) location += outputs[i].type.matrixSize > 0 ? outputs[i].type.matrixSize : 1;
    return location;
}

bool IsResourceArray(const Type* type)
{
    return type != nullptr && type->arraySize != 0 && (type->isBuffer != 0 || type->baseType == BaseType::TEXTURE);
}

}  // namespace

SPIRVTranslator::SPIRVTranslator(Log* log) : GLSL31Translator(log) { locatePixelOutputs = true; }

SPIRVTranslator::~SPIRVTranslator() = default;

void SPIRVTranslator::Reset()
{
    GLSL31Translator::Reset();
    payloadsDeclared = false;
    declaredStructs.Clear();
}

void SPIRVTranslator::BeginShader(const ShaderDescription& shaderDescription)
{
    if (IsRayStage()) {
        AddExtension(kRayTracingExtension);
        return;
    }
    GLSL31Translator::BeginShader(shaderDescription);
}

String SPIRVTranslator::LayoutText(int set, int binding, const char* qualifier)
{
    String text = String::Formatted("layout(set = %i, binding = %i", set, binding);
    if (qualifier != nullptr) text.AppendFormat(", %s", qualifier);
    text.Append(")");
    return text;
}

void SPIRVTranslator::WriteInterface(const ShaderDescription& shaderDescription)
{
    GLSL31Translator::WriteInterface(shaderDescription);
    if (!IsRayStage()) return;
    BeginDeclarationGroup();
    header.AppendFormat("%s uniform accelerationStructureNV _acceleration_structure;\n", LayoutText(0, 1).GetText());
    // Triangle hits carry two barycentric weights.
    if (stage == STAGE_RCHIT) header.Append("hitAttributeNV vec2 _hit_attribute;\n");
}

String SPIRVTranslator::GetVertexInputTypeName(const VertexInputVariable& input)
{
    return input.semantic == kBlendIndicesBit ? String("uvec4") : GetTypeName(input.type);
}

void SPIRVTranslator::DeclareVertexInputs(const ShaderDescription& shaderDescription)
{
    const Array<VertexInputVariable>& inputs = shaderDescription.vertexInput;
    for (int i = 0; i < inputs.GetCount(); ++i) {
        DeclareLine("layout(location = %i) in %s _in_%s", i, GetVertexInputTypeName(inputs[i]).GetText(),
                    inputs[i].name.GetText());
    }
}

void SPIRVTranslator::DeclareVertexOutputs(const ShaderDescription& shaderDescription)
{
    const Array<VertexOutputVariable>& outputs = shaderDescription.vertexOutput;
    bool first = true;
    for (int i = 0; i < outputs.GetCount(); ++i) {
        if (outputs[i].name == positionName) continue;
        if (first) BeginDeclarationGroup();
        first = false;
        DeclareLine("layout(location = %i) %sout %s _vary_%s", VaryingLocation(outputs, i),
                    InterpolationQualifier(outputs[i].type), GetTypeName(outputs[i].type).GetText(),
                    outputs[i].name.GetText());
    }
}

void SPIRVTranslator::DeclarePixelInputs(const ShaderDescription& shaderDescription)
{
    const Array<VertexOutputVariable>& outputs = shaderDescription.vertexOutput;
    for (int i = 0; i < outputs.GetCount(); ++i) {
        if (outputs[i].name == positionName) continue;
        DeclareLine("layout(location = %i) %sin %s _vary_%s", VaryingLocation(outputs, i),
                    InterpolationQualifier(outputs[i].type), GetTypeName(outputs[i].type).GetText(),
                    outputs[i].name.GetText());
    }
}

void SPIRVTranslator::DeclareConstants(const ConstantList& constants)
{
    if (constants.variables.GetCount() == 0) return;
    BeginDeclarationGroup();
    const bool pushConstants = constants.first != -1;
    const String head = pushConstants ? String("layout(push_constant)") : LayoutText(stage == STAGE_PIXEL ? 1 : 0, 0);
    header.AppendFormat("%s uniform Uniforms\n{\n", head.GetText());
    // Every member fills whole 16-byte rows, so the block's own layout puts
    // each at the offset of its slot in the engine's block. A matrix is a
    // row-major mat4: the slot's float4x4 in its column-major packing arrives
    // transposed, as this family keeps matrices.
    for (int i = 0; i < constants.variables.GetCount(); ++i) {
        const ConstantVariable& constant = constants.variables[i];
        const bool matrix = constant.type.matrixSize > 0;
        const bool offsetFirst = pushConstants && i == 0 && constants.first != 0;
        String offset;
        if (matrix || offsetFirst) {
            offset = "layout(";
            if (matrix) offset.Append(offsetFirst ? "row_major, " : "row_major");
            if (offsetFirst) offset.AppendFormat("offset = %i", constants.first);
            offset.Append(") ");
        }
        const String typeName = GetTypeName(GetSlotType(constant.type));
        if (constant.type.arraySize != 0) {
            DeclareLine("\t%s%s _const_%s[%i]", offset.GetText(), typeName.GetText(), constant.name.GetText(),
                        constant.type.arraySize);
        } else {
            DeclareLine("\t%s%s _const_%s", offset.GetText(), typeName.GetText(), constant.name.GetText());
        }
    }
    header.Append("};\n");
}

void SPIRVTranslator::WriteMatrixConstant(const Node& node, int32_t matrixSize)
{
    if (matrixSize == 4) {
        TranslateNodeAsDeclared(node);
        return;
    }
    // A smaller matrix is the upper-left corner of its slot.
    body.AppendFormat("mat%i(", matrixSize);
    TranslateNodeAsDeclared(node);
    body.Append(")");
}

void SPIRVTranslator::DeclareBuffers(const ShaderDescription& shaderDescription)
{
    const Array<BufferVariable>& buffers = shaderDescription.buffers;
    if (buffers.GetCount() == 0) return;
    BeginDeclarationGroup();
    for (int i = 0; i < buffers.GetCount(); ++i) {
        const BufferVariable& buffer = buffers[i];
        String elementType = "uint16_t";
        if (buffer.type.isIndexBuffer != 0) {
            AddExtension(k16BitStorageExtension);
        } else {
            elementType = GetTypeName(buffer.type);
        }
        String name = buffer.name;
        if (buffer.type.arraySize != 0) {
            name.Append("[]");
            AddExtension(kNonUniformExtension);
        }
        if (i > 0) header.Append("\n");
        DeclareLine("%s buffer Buffer%i\n{\n\t%s data[];\n} _buf_%s", LayoutText(1, buffer.slot).GetText(), i,
                    elementType.GetText(), name.GetText());
    }
}

void SPIRVTranslator::DeclareImages(const ShaderDescription& shaderDescription)
{
    const Array<ImageVariable>& images = shaderDescription.images;
    if (images.GetCount() == 0) return;
    BeginDeclarationGroup();
    for (int i = 0; i < images.GetCount(); ++i) {
        DeclareLine("%s uniform image2D _img_%s", LayoutText(0, i + 2, "rgba8").GetText(), images[i].name.GetText());
    }
}

void SPIRVTranslator::DeclareTextures(const ShaderDescription& shaderDescription)
{
    const Array<PixelTextureVariable>& textures = shaderDescription.pixelTextures;
    if (textures.GetCount() == 0) return;
    BeginDeclarationGroup();
    for (const PixelTextureVariable& texture : textures) {
        const bool array = texture.type.arraySize != 0;
        if (array) AddExtension(kNonUniformExtension);
        DeclareLine("%s uniform sampler%s _tex_%s%s", LayoutText(2, texture.slot).GetText(),
                    DimensionSuffix(texture.type.textureDimension), texture.name.GetText(), array ? "[]" : "");
    }
}

void SPIRVTranslator::DeclarePixelTextures(const ShaderDescription& shaderDescription)
{
    const Array<PixelTextureVariable>& textures = shaderDescription.pixelTextures;
    if (textures.GetCount() == 0) return;
    BeginDeclarationGroup();
    for (int i = 0; i < textures.GetCount(); ++i) {
        const PixelTextureVariable& texture = textures[i];
        const bool array = texture.type.arraySize != 0;
        if (array) AddExtension(kNonUniformExtension);
        DeclareLine("%s uniform sampler _smp_%s", LayoutText(2, i).GetText(), texture.name.GetText());
        DeclareLine("%s uniform texture%s _tex_%s%s", LayoutText(3, i).GetText(),
                    DimensionSuffix(texture.type.textureDimension), texture.name.GetText(), array ? "[]" : "");
    }
}

void SPIRVTranslator::DeclarePayloads()
{
    payloadsDeclared = true;
    const Array<RayPayloadVariable>& payloads = description->rayPayloads;
    for (const RayPayloadVariable& payload : payloads) {
        // A ray generation shader starts rays and receives none.
        const bool incoming = payload.isInput != 0 && stage != STAGE_RGEN;
        body.AppendFormat("layout(location = %i) %s %s _pay_%s;\n", payload.slot,
                          incoming ? "rayPayloadInNV" : "rayPayloadNV", GetTypeName(payload.type).GetText(),
                          payload.name.GetText());
    }
    if (payloads.GetCount() > 0) body.Append("\n");
}

bool SPIRVTranslator::PayloadTypesDeclared() const
{
    for (const RayPayloadVariable& payload : description->rayPayloads) {
        if (payload.type.baseType != BaseType::STRUCT) continue;
        bool declared = false;
        for (const String& name : declaredStructs) declared = declared || name == payload.type.name;
        if (!declared) return false;
    }
    return true;
}

// Only main sees the payloads, so a struct payload whose struct comes after
// an earlier function waits for a later definition, at the latest main.
void SPIRVTranslator::TranslateFunctionDefinition(const FunctionNode& function)
{
    if (function.hasBody && !payloadsDeclared && IsRayStage() && description != nullptr &&
        (PayloadTypesDeclared() || function.name == "main")) {
        DeclarePayloads();
    }
    GLSL31Translator::TranslateFunctionDefinition(function);
}

void SPIRVTranslator::TranslateStructDeclaration(const GroupNode& group)
{
    declaredStructs.Add(group.type.name);
    GLSL31Translator::TranslateStructDeclaration(group);
}

bool SPIRVTranslator::TranslateInputReference(const String& member, const Type& memberType)
{
    if (WriteSystemValue(member, kSPIRVSystemValues)) return true;
    if (IsRayStage()) {
        body.AppendFormat("_in_%s", member.GetText());
        return true;
    }
    return TranslateStageInput(member, memberType);
}

bool SPIRVTranslator::TranslateBufferReference(const String& member)
{
    body.AppendFormat("_buf_%s", member.GetText());
    return true;
}

bool SPIRVTranslator::TranslateImageReference(const String& member)
{
    body.AppendFormat("_img_%s", member.GetText());
    return true;
}

bool SPIRVTranslator::TranslateMemberAccess(const OperatorNode& node)
{
    const VariableNode* left = AsVariable(node.left);
    const VariableNode* member = AsVariable(node.right);
    if (left != nullptr && member != nullptr && left->name == "ray_payloads") {
        body.AppendFormat("_pay_%s", member->name.GetText());
        return true;
    }
    if (!GLSL31Translator::TranslateMemberAccess(node)) return false;
    if (node.type.isBuffer != 0 && node.type.arraySize == 0) body.Append(".data");
    return true;
}

void SPIRVTranslator::TranslateResourceSubscript(const OperatorNode& node, const Type& arrayType)
{
    TranslateNode(node.left);
    body.Append("[");
    const bool constant = node.right != nullptr && node.right->kind == NodeKind::Constant;
    if (!constant) {
        AddExtension(kNonUniformExtension);
        body.Append("nonuniformEXT(");
    }
    TranslateNode(node.right);
    if (!constant) body.Append(")");
    body.Append("]");
    if (arrayType.isBuffer != 0) body.Append(".data");
}

void SPIRVTranslator::TranslateOperator(const OperatorNode& node)
{
    if (node.operatorIndex == OP_SUBSCRIPT) {
        const Type* arrayType = GetNodeType(node.left);
        if (IsResourceArray(arrayType)) {
            TranslateResourceSubscript(node, *arrayType);
            return;
        }
    }
    GLSL31Translator::TranslateOperator(node);
}

void SPIRVTranslator::WriteSampledTexture(const Node* texture)
{
    const VariableNode* member = SampledTexture(texture);
    const Type* textureType = GetNodeType(texture);
    // Only the pixel stage keeps samplers apart from textures; the ray
    // stages declare combined samplers and sample them as they are.
    if (stage == STAGE_PIXEL && member != nullptr && textureType != nullptr) {
        body.AppendFormat("sampler%s(", DimensionSuffix(textureType->textureDimension));
        TranslateNode(texture);
        body.AppendFormat(", _smp_%s)", member->name.GetText());
    } else {
        TranslateNode(texture);
    }
}

void SPIRVTranslator::TranslateSampleCall(const FunctionNode& call)
{
    const Array<Node*>* arguments = GetArguments(call);
    body.AppendFormat("%s(", GetFunctionName(call).GetText());
    if (arguments == nullptr || arguments->GetCount() == 0) {
        body.Append(")");
        return;
    }
    WriteSampledTexture((*arguments)[0]);
    for (int i = 1; i < arguments->GetCount(); ++i) {
        body.Append(", ");
        TranslateNode((*arguments)[i]);
    }
    body.Append(")");
}

// Three consecutive 16-bit indices; the index counts elements, not bytes.
void SPIRVTranslator::TranslateLoadIndices(const FunctionNode& call)
{
    const Array<Node*>* arguments = GetArguments(call);
    if (arguments == nullptr || arguments->GetCount() < 2) {
        Translator::TranslateFunctionCall(call);
        return;
    }
    const Node* buffer = (*arguments)[0];
    const Node* index = (*arguments)[1];
    body.Append("uvec3(");
    TranslateNode(buffer);
    body.Append("[");
    TranslateNode(index);
    body.Append("]");
    for (int k = 1; k <= 2; ++k) {
        body.Append(", ");
        TranslateNode(buffer);
        body.Append("[(");
        TranslateNode(index);
        body.AppendFormat(") + %i]", k);
    }
    body.Append(")");
}

void SPIRVTranslator::TranslateTrace(const FunctionNode& call)
{
    const Array<Node*>* arguments = GetArguments(call);
    if (arguments == nullptr || arguments->GetCount() != 9) {
        Translator::TranslateFunctionCall(call);
        return;
    }
    // The payload argument is the location of a payload declared in this
    // stage, which the language wants as an int constant.
    const ConstantNode* literal = AsConstant((*arguments)[8]);
    const int32_t slot = LiteralSlot(literal);
    bool known = false;
    if (description != nullptr) {
        for (const RayPayloadVariable& payload : description->rayPayloads) known = known || payload.slot == slot;
    }
    if (slot < 0 || !known)
        ReportError(kTranslatorTraceSlotUnknown, literal != nullptr ? literal->text.GetText() : "?");
    body.Append("traceNV(_acceleration_structure");
    for (int i = 0; i < 3; ++i) {
        body.Append(", ");
        TranslateNode((*arguments)[i]);
    }
    body.Append(", 0, ");
    for (int i = 3; i < 8; ++i) {
        TranslateNode((*arguments)[i]);
        body.Append(", ");
    }
    body.AppendFormat("%i)", slot);
}

void SPIRVTranslator::TranslateFunctionCall(const FunctionNode& call)
{
    if (!call.isBuiltIn) {
        Translator::TranslateFunctionCall(call);
        return;
    }
    const Array<Node*>* arguments = GetArguments(call);
    switch (call.subKind) {
    case INTRINSIC_FLOAT_BITS_TO_UINT:
    case INTRINSIC_UNPACK_UNORM4_TO_FLOAT4: Translator::TranslateFunctionCall(call); return;
    case INTRINSIC_LOAD_INDICES: TranslateLoadIndices(call); return;
    case INTRINSIC_OBJECT_SPACE_TO_WORLD:
        body.Append("(gl_ObjectToWorldNV * (");
        if (arguments != nullptr && arguments->GetCount() > 0) TranslateNode((*arguments)[0]);
        body.Append("))");
        return;
    case INTRINSIC_SAMPLE_TEXTURE:
    case INTRINSIC_SAMPLE_TEXTURE_GRAD:
    case INTRINSIC_SAMPLE_TEXTURE_LOD:
    case INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET: TranslateSampleCall(call); return;
    case INTRINSIC_STORE_IMAGE:
        if (arguments == nullptr || arguments->GetCount() != 3) break;
        body.Append("imageStore(");
        TranslateNode((*arguments)[0]);
        body.Append(", ivec2(");
        TranslateNode((*arguments)[1]);
        body.Append("), ");
        TranslateNode((*arguments)[2]);
        body.Append(")");
        return;
    case INTRINSIC_TRACE: TranslateTrace(call); return;
    default: break;
    }
    GLSL31Translator::TranslateFunctionCall(call);
}

}  // namespace ShaderTool
