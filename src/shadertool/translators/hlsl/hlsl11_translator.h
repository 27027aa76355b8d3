#pragma once

#include "shadertool/translators/hlsl/hlsl9_translator.h"

namespace ShaderTool {

// HLSL for shader models 4 and 5: system-value semantics, the constants in
// one constant buffer per stage, textures and samplers as separate objects
// and sampling as object methods.
class HLSL11Translator : public HLSL9Translator {
public:
    explicit HLSL11Translator(Log* stepLog);
    ~HLSL11Translator() override;

    void Reset() override;
    void WriteHeader() override;
    void TranslateFunctionCall(const FunctionNode& call) override;
    void TranslateOperator(const OperatorNode& node) override;
    void DeclareConstants(const Array<ConstantVariable>& constants) override;
    bool TranslateBuiltInInput(const String& member) override;
    bool TranslateMemberAccess(const OperatorNode& node) override;
    void DeclarePixelTextures(const ShaderDescription& shaderDescription) override;

    virtual const char* GetSampleFunctionName(uint32_t intrinsicId);

    void TranslateSampleCall(const FunctionNode& call);

protected:
    // "2D", "3D" or "Cube" after "Texture".
    static const char* TextureObjectSuffix(TextureDimension dimension);
    // Sampled with a comparison in the current stage.
    bool IsComparisonTexture(const String& name) const;

    // The system-value members of the stage inputs (the facing's are HLSL9's).
    const char* instanceIdMember = "uint _instance_id : SV_InstanceID";
    const char* vertexIdMember = "uint _vertex_id : SV_VertexID";
    const char* constantBufferKeyword = "cbuffer";
    Array<String> comparisonTextures;      // textures sampled with a comparison in the current stage
    Array<String> plainlySampledTextures;  // textures sampled without a comparison in the current stage
    bool bindConstantRegisters = false;
};

}  // namespace ShaderTool
