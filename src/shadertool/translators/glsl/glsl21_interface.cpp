// The declarations a GLSL stage gets before its body, and the references
// through which its body reaches the stage structs and the resources.
#include "shadertool/translators/glsl/glsl21_translator.h"
#include "shadertool/basic/operator.h"
#include "shadertool/translators/translator_messages.h"

namespace ShaderTool {
namespace {

// Members of the stage input that no stage of the old languages can read.
constexpr const char* kGLSL21RefusedInputs[] = {
    "dispatch_id",
    "dispatch_size",
    "hit_attribute",
    "instance_custom_id",
    "primitive_id",
    "ray_length",
    // Left to the newer languages, although the extension that gives the
    // instance id would give it too.
    "vertex_id",
    "world_ray_direction",
    "world_ray_origin",
};

const char* SamplerSuffix(TextureDimension dimension)
{
    switch (dimension) {
    case TEXTURE_3D: return "3D";
    case TEXTURE_CUBE: return "Cube";
    default: return "2D";
    }
}

}  // namespace

ConstantList GLSL21Translator::StageConstants(const ConstantList& stageList, const ConstantList& shared)
{
    ConstantList constants = stageList;
    for (const ConstantVariable& constant : shared.variables) constants.variables.Add(constant);
    return constants;
}

const char* GLSL21Translator::InterpolationQualifier(const Type& type)
{
    return type.baseType == BaseType::INT || type.baseType == BaseType::UINT ? "flat " : "";
}

void GLSL21Translator::WriteInterface(const ShaderDescription& shaderDescription)
{
    switch (stage) {
    case STAGE_VERTEX:
        DeclareVertexInputs(shaderDescription);
        DeclareConstants(StageConstants(shaderDescription.vertexConstants, shaderDescription.constants));
        DeclareVertexOutputs(shaderDescription);
        break;
    case STAGE_PIXEL:
        DeclarePixelInputs(shaderDescription);
        DeclareConstants(StageConstants(shaderDescription.pixelConstants, shaderDescription.constants));
        DeclarePixelTextures(shaderDescription);
        DeclarePixelOutputs(shaderDescription);
        break;
    default:
        DeclareConstants(shaderDescription.constants);
        DeclareBuffers(shaderDescription);
        DeclareImages(shaderDescription);
        DeclareTextures(shaderDescription);
        break;
    }
}

void GLSL21Translator::DeclareVertexInputs(const ShaderDescription& shaderDescription)
{
    for (const VertexInputVariable& input : shaderDescription.vertexInput) {
        DeclareLine("%s %s _in_%s", vertexInputKeyword, GetVertexInputTypeName(input).GetText(), input.name.GetText());
    }
}

void GLSL21Translator::DeclareVertexOutputs(const ShaderDescription& shaderDescription)
{
    bool first = true;
    for (const VertexOutputVariable& output : shaderDescription.vertexOutput) {
        if (output.name == positionName) continue;
        if (first) BeginDeclarationGroup();
        first = false;
        DeclareLine("%s%s %s _vary_%s", InterpolationQualifier(output.type), vertexOutputKeyword,
                    GetTypeName(output.type).GetText(), output.name.GetText());
    }
}

void GLSL21Translator::DeclarePixelInputs(const ShaderDescription& shaderDescription)
{
    for (const VertexOutputVariable& output : shaderDescription.vertexOutput) {
        if (output.name == positionName) continue;
        DeclareLine("%s%s %s _vary_%s", InterpolationQualifier(output.type), pixelInputKeyword,
                    GetTypeName(output.type).GetText(), output.name.GetText());
    }
}

void GLSL21Translator::DeclarePixelOutputs(const ShaderDescription& /*shaderDescription*/) {}

void GLSL21Translator::DeclareConstants(const ConstantList& constants)
{
    if (constants.variables.GetCount() == 0) return;
    BeginDeclarationGroup();
    for (const ConstantVariable& constant : constants.variables) {
        // Every matrix is uploaded from its 64-byte slot as a mat4 and read
        // through a support function (WriteMatrixConstant).
        const String typeName = GetTypeName(GetSlotType(constant.type));
        if (constant.type.arraySize != 0) {
            DeclareLine("uniform %s _const_%s[%i]", typeName.GetText(), constant.name.GetText(),
                        constant.type.arraySize);
        } else {
            DeclareLine("uniform %s _const_%s", typeName.GetText(), constant.name.GetText());
        }
    }
}

void GLSL21Translator::DeclarePixelTextures(const ShaderDescription& shaderDescription)
{
    if (shaderDescription.pixelTextures.GetCount() == 0) return;
    BeginDeclarationGroup();
    for (const PixelTextureVariable& texture : shaderDescription.pixelTextures) {
        DeclareLine("uniform sampler%s _tex_%s", SamplerSuffix(texture.type.textureDimension), texture.name.GetText());
    }
}

void GLSL21Translator::DeclareBuffers(const ShaderDescription& /*shaderDescription*/) {}

void GLSL21Translator::DeclareTextures(const ShaderDescription& /*shaderDescription*/) {}

void GLSL21Translator::DeclareImages(const ShaderDescription& /*shaderDescription*/) {}

bool GLSL21Translator::TranslateMemberAccess(const OperatorNode& node)
{
    const VariableNode* left = AsVariable(node.left);
    const VariableNode* member = AsVariable(node.right);
    if (left == nullptr || member == nullptr) return false;
    const String& name = member->name;
    if (left->name == "input") return TranslateInputReference(name, node.type);
    if (left->name == "output") return TranslateOutputReference(name);
    if (left->name == "buffers") return TranslateBufferReference(name);
    if (left->name == "constants") return TranslateConstantReference(name);
    if (left->name == "images") return TranslateImageReference(name);
    if (left->name == "texture") return TranslateTextureReference(name);
    return false;
}

bool GLSL21Translator::RefuseInput(const String& member)
{
    ReportError(kTranslatorInputNotSupported, member.GetText());
    return true;
}

bool GLSL21Translator::WriteSystemValue(const String& member, std::span<const SystemValue> values)
{
    for (const SystemValue& value : values) {
        if (member == value.member) {
            body.Append(value.text);
            return true;
        }
    }
    return false;
}

bool GLSL21Translator::TranslateInputReference(const String& member, const Type& memberType)
{
    static constexpr SystemValue kSystemValues[] = {
        {"face_direction", "(gl_FrontFacing ? 1.0f : -1.0f)"},
        {"instance_id", "gl_InstanceID"},
        {"is_front_facing", "gl_FrontFacing"},
    };
    if (member == "instance_id") AddExtension(kGpuShader4Extension);
    if (WriteSystemValue(member, kSystemValues)) return true;
    for (const char* refused : kGLSL21RefusedInputs) {
        if (member == refused) return RefuseInput(member);
    }
    return TranslateStageInput(member, memberType);
}

String GLSL21Translator::GetVertexInputTypeName(const VertexInputVariable& input)
{
    // Old vertex attributes are floating point.
    return GetFloatTypeName(input.type);
}

void GLSL21Translator::WriteVarying(const String& member, const char* positionVariable)
{
    if (member == positionName) {
        body.Append(positionVariable);
    } else {
        body.AppendFormat("_vary_%s", member.GetText());
    }
}

bool GLSL21Translator::TranslateStageInput(const String& member, const Type& memberType)
{
    if (stage == STAGE_VERTEX) {
        const String wanted = GetTypeName(memberType);
        const int count = description != nullptr ? description->vertexInput.GetCount() : 0;
        for (int i = 0; i < count; ++i) {
            const VertexInputVariable& input = description->vertexInput[i];
            // Declared with the type its data arrives in: convert to the member's type.
            if (input.name == member && !(GetVertexInputTypeName(input) == wanted)) {
                body.AppendFormat("%s(_in_%s)", wanted.GetText(), member.GetText());
                return true;
            }
        }
        body.AppendFormat("_in_%s", member.GetText());
        return true;
    }
    if (stage == STAGE_PIXEL) {
        WriteVarying(member, "gl_FragCoord");
        return true;
    }
    return false;
}

bool GLSL21Translator::TranslateOutputReference(const String& member)
{
    if (stage == STAGE_VERTEX) {
        WriteVarying(member, "gl_Position");
        return true;
    }
    if (stage == STAGE_PIXEL) {
        // A single output is the fragment colour; several each write their own
        // element of the fragment data, as gl_FragColor would be the same
        // variable for all of them.
        const int count = description != nullptr ? description->pixelOutput.GetCount() : 0;
        for (int i = 0; count > 1 && i < count; ++i) {
            if (description->pixelOutput[i] == member) {
                body.AppendFormat("gl_FragData[%i]", i);
                return true;
            }
        }
        body.Append("gl_FragColor");
        return true;
    }
    return false;
}

bool GLSL21Translator::TranslateBufferReference(const String& /*member*/) { return false; }

bool GLSL21Translator::TranslateConstantReference(const String& member)
{
    body.AppendFormat("_const_%s", member.GetText());
    return true;
}

bool GLSL21Translator::TranslateImageReference(const String& /*member*/) { return false; }

bool GLSL21Translator::TranslateTextureReference(const String& member)
{
    body.AppendFormat("_tex_%s", member.GetText());
    return true;
}

}  // namespace ShaderTool
