#pragma once

#include "shadertool/translators/glsl/glsl21_translator.h"

namespace ShaderTool {

// GLSL for the newer desktop language: in and out declarations, one output
// variable per pixel output, native integer arithmetic and the overloaded
// texture functions. The base of the ESSL30 and SPIRV translators.
class GLSL31Translator : public GLSL21Translator {
public:
    explicit GLSL31Translator(Log* stepLog);

    String GetFunctionName(const FunctionNode& call) override;
    void TranslateFunctionCall(const FunctionNode& call) override;
    bool TranslateInputReference(const String& member, const Type& memberType) override;
    bool TranslateOutputReference(const String& member) override;
    void DeclarePixelOutputs(const ShaderDescription& shaderDescription) override;

protected:
    bool CanPassIntegerOutputs() const override { return true; }

    // Pixel outputs declared with explicit locations, as ESSL30 and SPIRV need.
    bool locatePixelOutputs = false;
};

// OpenGL ES 3 shading language: the GLSL31 forms with precision lines in the
// pixel stage and explicit locations for the pixel outputs.
class ESSL30Translator : public GLSL31Translator {
public:
    explicit ESSL30Translator(Log* stepLog);

    void WriteHeader() override;
};

}  // namespace ShaderTool
