#pragma once

#include "shadertool/translators/hlsl/hlsl11_translator.h"

namespace ShaderTool {

// PSSL: HLSL11's forms with the platform's semantic words, its constant
// buffer keyword and sampling method names, boolean casts inside all and
// any, and the vertex colour input read with its channels swapped under
// "__PROSPERO__".
class PSSLTranslator : public HLSL11Translator {
public:
    explicit PSSLTranslator(Log* stepLog);
    ~PSSLTranslator() override;

    void Reset() override;
    void BeginShader(const ShaderDescription& shaderDescription) override;
    void TranslateFunctionCall(const FunctionNode& call) override;
    void TranslateOperator(const OperatorNode& node) override;
    bool TranslateBuiltInInput(const String& member) override;
    const char* GetSampleFunctionName(uint32_t intrinsicId) override;

private:
    String colorInputName;  // the first COLOR vertex input, in the vertex stage
};

}  // namespace ShaderTool
