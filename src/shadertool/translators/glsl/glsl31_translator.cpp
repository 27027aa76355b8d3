#include "shadertool/translators/glsl/glsl31_translator.h"

#include "shadertool/sema/builtin.h"

namespace ShaderTool {
namespace {

// Ints get the vertex stage's precision too, so that an int constant of both
// stages (a shared one) links. Samplers default to lowp, which returns a
// sampled 8-bit channel rounded to half precision; sampler3D has no default.
constexpr const char* kESSL30PixelPrecision =
    "precision highp float;\nprecision highp int;\nprecision highp sampler2D;\nprecision highp "
    "sampler3D;\nprecision highp samplerCube;\n\n";

}  // namespace

GLSL31Translator::GLSL31Translator(Log* log) : GLSL21Translator(log)
{
    vertexInputKeyword = "in";
    vertexOutputKeyword = "out";
    pixelInputKeyword = "in";
}

String GLSL31Translator::GetFunctionName(const FunctionNode& call) { return Translator::GetFunctionName(call); }

void GLSL31Translator::TranslateFunctionCall(const FunctionNode& call)
{
    if (call.isBuiltIn &&
        (call.subKind == INTRINSIC_SAMPLE_TEXTURE_GRAD || call.subKind == INTRINSIC_SAMPLE_TEXTURE_LOD ||
         call.subKind == INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET)) {
        Translator::TranslateFunctionCall(call);
        return;
    }
    GLSL21Translator::TranslateFunctionCall(call);
}

bool GLSL31Translator::TranslateInputReference(const String& member, const Type& memberType)
{
    static constexpr SystemValue kVertexAndInstance[] = {
        {"vertex_id", "gl_VertexID"},
        {"instance_id", "gl_InstanceID"},
    };
    if (WriteSystemValue(member, kVertexAndInstance)) return true;
    return GLSL21Translator::TranslateInputReference(member, memberType);
}

bool GLSL31Translator::TranslateOutputReference(const String& member)
{
    if (stage == STAGE_PIXEL) {
        body.AppendFormat("_out_%s", member.GetText());
        return true;
    }
    return GLSL21Translator::TranslateOutputReference(member);
}

void GLSL31Translator::DeclarePixelOutputs(const ShaderDescription& shaderDescription)
{
    const Array<String>& outputs = shaderDescription.pixelOutput;
    if (outputs.GetCount() == 0) return;
    BeginDeclarationGroup();
    for (int i = 0; i < outputs.GetCount(); ++i) {
        if (locatePixelOutputs) {
            DeclareLine("layout(location = %i) out vec4 _out_%s", i, outputs[i].GetText());
        } else {
            DeclareLine("out vec4 _out_%s", outputs[i].GetText());
        }
    }
}

ESSL30Translator::ESSL30Translator(Log* log) : GLSL31Translator(log) { locatePixelOutputs = true; }

void ESSL30Translator::WriteHeader()
{
    WriteSupportFunctions();
    if (stage != STAGE_PIXEL) return;
    PrependToHeader(kESSL30PixelPrecision);
}

}  // namespace ShaderTool
