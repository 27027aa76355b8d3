// The declarations an HLSL stage gets before its body: the stage structs,
// the constants and the textures.
#include <algorithm>

#include "shadertool/translators/hlsl/hlsl9_translator.h"
#include "shadertool/translators/hlsl/hlsl_tables.h"

namespace ShaderTool {
namespace {

const char* VertexInputSemanticWord(uint32_t bit)
{
    for (const HLSLVertexInputSemantic& row : kHLSLVertexInputSemantics) {
        if (row.bit == bit) return row.word;
    }
    return "";
}

// The constants a vertex or pixel stage reads: its own, then the shared
// ones, which its body reaches as constants.name like its own.
Array<ConstantVariable> StageConstants(const ConstantList& stageList, const ConstantList& shared)
{
    Array<ConstantVariable> constants = stageList.variables;
    for (const ConstantVariable& constant : shared.variables) constants.Add(constant);
    return constants;
}

}  // namespace

void HLSL9Translator::WriteInterface(const ShaderDescription& shaderDescription)
{
    if (!header.IsEmpty()) header.Append("\n");
    switch (stage) {
    case STAGE_VERTEX:
        WriteVertexInputStruct(shaderDescription);
        DeclareConstants(StageConstants(shaderDescription.vertexConstants, shaderDescription.constants));
        WriteVaryingStruct(shaderDescription, "VertexOutput", false, true);
        break;
    case STAGE_PIXEL: {
        WriteVaryingStruct(shaderDescription, "PixelInput", true, false);
        DeclareConstants(StageConstants(shaderDescription.pixelConstants, shaderDescription.constants));
        DeclarePixelTextures(shaderDescription);
        const Array<String>& outputs = shaderDescription.pixelOutput;
        if (outputs.GetCount() > 0) header.Append("\n");
        header.Append("struct PixelOutput\n{\n");
        for (int i = 0; i < outputs.GetCount(); ++i) {
            header.AppendFormat("\tfloat4 %s : %s%i;\n", GetIdentifier(outputs[i]).GetText(), targetSemantic, i);
        }
        header.Append("};\n");
        break;
    }
    default:
        DeclareConstants(shaderDescription.constants.variables);
        DeclareBuffers(shaderDescription);
        DeclareImages(shaderDescription);
        DeclareTextures(shaderDescription);
        break;
    }
}

void HLSL9Translator::WriteVertexInputStruct(const ShaderDescription& shaderDescription)
{
    header.Append("struct VertexInput\n{\n");
    for (const VertexInputVariable& input : shaderDescription.vertexInput) {
        const String type =
            input.semantic == kHLSLBlendIndicesBit ? String(kHLSLBlendIndicesType) : GetTypeName(input.type);
        header.AppendFormat("\t%s %s : %s;\n", type.GetText(), GetIdentifier(input.name).GetText(),
                            VertexInputSemanticWord(input.semantic));
    }
    if (instanceIdInput != nullptr) header.AppendFormat("\t%s;\n", instanceIdInput);
    if (vertexIdInput != nullptr) header.AppendFormat("\t%s;\n", vertexIdInput);
    header.Append("};\n");
}

void HLSL9Translator::WriteVaryingStruct(const ShaderDescription& shaderDescription, const char* name, bool pixelInput,
                                         bool leadingBreak)
{
    if (leadingBreak && shaderDescription.vertexOutput.GetCount() > 0) header.Append("\n");
    header.AppendFormat("struct %s\n{\n", name);
    for (const VertexOutputVariable& output : shaderDescription.vertexOutput) {
        String semantic;
        if (output.semantic == VERTEX_OUTPUT_COLOR) {
            semantic = String::Formatted("COLOR%i", static_cast<int>(output.semanticIndex));
        } else if (output.semantic == VERTEX_OUTPUT_POSITION) {
            semantic = positionSemantic;
        } else {
            semantic = String::Formatted("TEXCOORD%i", static_cast<int>(output.semanticIndex));
        }
        header.AppendFormat("\t%s %s : %s;\n", GetTypeName(output.type).GetText(), GetIdentifier(output.name).GetText(),
                            semantic.GetText());
    }
    if (pixelInput && pixelInputExtra != nullptr) header.AppendFormat("\t%s;\n", pixelInputExtra);
    header.Append("};\n");
}

void HLSL9Translator::DeclareConstants(const Array<ConstantVariable>& constants)
{
    if (constants.GetCount() == 0) return;
    header.Append("\n");
    // Each constant sits in the registers of its slot in the engine's block,
    // in declaration order, whichever constants the body reads.
    int32_t slotRegister = 0;
    for (const ConstantVariable& constant : constants) {
        // Shader model 3 keeps int4 constants in float registers.
        Type type = GetSlotType(constant.type);
        if (type.baseType == BaseType::INT && type.vectorSize == 4) type.baseType = BaseType::FLOAT;
        const String typeName = GetTypeName(type);
        if (type.arraySize != 0) {
            header.AppendFormat("%s _const_%s[%i] : register(c%i);\n", typeName.GetText(), constant.name.GetText(),
                                type.arraySize, slotRegister);
        } else {
            header.AppendFormat("%s _const_%s : register(c%i);\n", typeName.GetText(), constant.name.GetText(),
                                slotRegister);
        }
        // A slot holds one 16-byte register per element, four per matrix element.
        slotRegister += (type.matrixSize > 0 ? 4 : 1) * std::max(type.arraySize, 1);
    }
}

void HLSL9Translator::DeclarePixelTextures(const ShaderDescription& shaderDescription)
{
    const Array<PixelTextureVariable>& textures = shaderDescription.pixelTextures;
    if (textures.GetCount() > 0) header.Append("\n");
    for (int i = 0; i < textures.GetCount(); ++i) {
        header.AppendFormat("sampler _tex_%s : register(s%i);\n", textures[i].name.GetText(), i);
    }
}

void HLSL9Translator::DeclareBuffers(const ShaderDescription& /*shaderDescription*/) {}

void HLSL9Translator::DeclareTextures(const ShaderDescription& /*shaderDescription*/) {}

void HLSL9Translator::DeclareImages(const ShaderDescription& /*shaderDescription*/) {}

}  // namespace ShaderTool
