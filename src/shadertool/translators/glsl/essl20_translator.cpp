#include "shadertool/translators/glsl/essl20_translator.h"

#include "shadertool/sema/builtin.h"
#include "shadertool/translators/glsl/glsl_translator_messages.h"
#include "shadertool/translators/translator_messages.h"

namespace ShaderTool {
namespace {

// Built-ins beyond those GLSL21 refuses that the ES 2 language lacks.
constexpr uint32_t kESSL20Unsupported[] = {
    INTRINSIC_SAMPLE_TEXTURE_GRAD,
    INTRINSIC_SAMPLE_TEXTURE_LOD,
    INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET,
};

// Ints get the vertex stage's precision too where the stage has it, so that
// an int constant of both stages (a shared one) links. Samplers default to
// lowp, which returns a sampled 8-bit channel rounded to half precision.
constexpr const char* kPixelPrecision =
    "#if defined(GL_FRAGMENT_PRECISION_HIGH)\n\nprecision highp float;\nprecision highp int;\nprecision highp "
    "sampler2D;\nprecision highp samplerCube;\n\n#else\n\nprecision mediump float;\n\n#endif\n\n";

}  // namespace

ESSL20Translator::ESSL20Translator(Log* log) : GLSL21Translator(log) { AddRename("transpose", "_transpose"); }

void ESSL20Translator::BeginShader(const ShaderDescription& shaderDescription)
{
    GLSL21Translator::BeginShader(shaderDescription);
    if (stage != STAGE_PIXEL) return;
    // Without the fragment data array every output would write gl_FragColor.
    const Array<String>& outputs = shaderDescription.pixelOutput;
    for (int i = 1; i < outputs.GetCount(); ++i) {
        ReportError(kGLSLSecondPixelOutput, outputs[i].GetText(), GetTargetName(target));
    }
}

void ESSL20Translator::WriteHeader()
{
    WriteSupportFunctions();
    if (stage != STAGE_PIXEL) return;
    PrependToHeader(kPixelPrecision);
}

void ESSL20Translator::TranslateFunctionCall(const FunctionNode& call)
{
    if (call.isBuiltIn) {
        for (uint32_t unsupported : kESSL20Unsupported) {
            if (call.subKind == unsupported) {
                ReportError(kTranslatorFunctionNotSupported, call.name.GetText());
                Translator::TranslateFunctionCall(call);
                return;
            }
        }
        // The language has no transpose: a support function of the size
        // stands in, under the name the constructor gave it.
        if (call.subKind == INTRINSIC_TRANSPOSE && call.type.matrixSize > 0) {
            AddSupportFunction(TransposingFunction("_transpose", call.type.matrixSize, call.type.matrixSize));
        }
    }
    GLSL21Translator::TranslateFunctionCall(call);
}

void ESSL20Translator::TranslateConstant(const ConstantNode& constant)
{
    const String& text = constant.text;
    const int length = text.GetLength();
    const char last = length > 0 ? text.GetText()[length - 1] : '\0';
    if (constant.type.baseType == BaseType::FLOAT && (last == 'f' || last == 'F')) {
        body.Append(text.GetText(), length - 1);
        return;
    }
    Translator::TranslateConstant(constant);
}

void ESSL20Translator::TranslateInitializerList(const OperatorNode& node)
{
    if (!inFunctionBody) {
        ReportError("%s", kGLSLGlobalArrayNotSupported);
        return;
    }
    const VariableNode* array = AsVariable(node.left);
    const GroupNode* elements = AsGroup(node.right);
    if (array == nullptr || elements == nullptr) return;
    for (int i = 0; i < elements->children.GetCount(); ++i) {
        body.Append(";\n");
        WriteIndentation();
        body.AppendFormat("%s[%i] = ", GetIdentifier(array->name).GetText(), i);
        TranslateNode(elements->children[i]);
    }
}

bool ESSL20Translator::TranslateInputReference(const String& member, const Type& memberType)
{
    // Literals without suffix letters.
    static constexpr SystemValue kFaceDirection[] = {
        {"face_direction", "(gl_FrontFacing ? 1.0 : -1.0)"},
    };
    if (WriteSystemValue(member, kFaceDirection)) return true;
    // The language has no instance id, and no extension that adds one.
    if (member == "instance_id") return RefuseInput(member);
    return GLSL21Translator::TranslateInputReference(member, memberType);
}

}  // namespace ShaderTool
