#pragma once

#include <cstdint>

#include "foundation/byte_buffer.h"
#include "foundation/string.h"
#include "shadertool/basic/shader_description.h"
#include "shadertool/basic/targets.h"

// The renderer's program object of a shader; its back end defines it.
struct RendererShaderProgram;

// A block of constant values one stage of a shader reads.
struct HV_ShaderConstantBlock {
    ByteBuffer bytes;  // byteSize zero bytes until the values are set
    uint32_t byteSize = 0;
    uint32_t count = 0;  // constants in the block
};

// Bits of HV_Shader::flags.
constexpr uint32_t HV_SHADER_CONSTANTS_UPLOADED = 1;  // set by the renderer after uploading the constants

// One shader of the shader table: its Shader XML description and what the
// translator produced for each stage. Guarded by GET_SHADER while in the
// table; the translation fields are written under "ShaderTranslator".
struct HV_Shader {
    String name;                // the Shader XML path
    uint32_t vertexFormat = 0;  // HV_VertexFormat bits of its vertex inputs
    HV_ShaderConstantBlock vertexConstants;
    HV_ShaderConstantBlock pixelConstants;
    uint32_t flags = 0;
    RendererShaderProgram* program = nullptr;
    ShaderTool::ShaderDescription description;
    ByteBuffer stageOutputs[ShaderTool::STAGE_COUNT];  // code or text per stage
    uint32_t stageMask = 0;                            // stages whose output is set
    int32_t stamp = 0;                                 // newest source stamp of the code held
};

// Copies a description into the record: the description itself, the vertex
// format and the constant blocks of the vertex and pixel stages (the shared
// constants count in both). The record takes a reference on each texture's
// source bitmap and gives back those of the description it replaces.
void HVI_SetShaderDescription(HV_Shader& shader, const ShaderTool::ShaderDescription& description);
