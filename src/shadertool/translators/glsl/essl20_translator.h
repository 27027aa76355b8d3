#pragma once

#include "shadertool/translators/glsl/glsl21_translator.h"

namespace ShaderTool {

// OpenGL ES 2 shading language: the GLSL21 forms with precision lines in the
// pixel stage, literals without suffix letters, and arrays filled element by
// element, as the language has no array constructors; a pixel stage has one
// output, the fragment colour.
class ESSL20Translator : public GLSL21Translator {
public:
    explicit ESSL20Translator(Log* stepLog);

    void BeginShader(const ShaderDescription& shaderDescription) override;
    void WriteHeader() override;
    void TranslateInitializerList(const OperatorNode& node) override;
    void TranslateFunctionCall(const FunctionNode& call) override;
    void TranslateConstant(const ConstantNode& constant) override;
    bool TranslateInputReference(const String& member, const Type& memberType) override;
};

}  // namespace ShaderTool
