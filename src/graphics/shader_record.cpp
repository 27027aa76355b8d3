#include "graphics/shader_record.h"

#include "graphics/bitmap_table.h"

namespace {

void SizeBlock(HV_ShaderConstantBlock& block, const ShaderTool::ConstantList& stage,
               const ShaderTool::ConstantList& shared)
{
    uint64_t size = 0;
    block.count = 0;
    for (const ShaderTool::ConstantList* list : {&stage, &shared}) {
        for (const ShaderTool::ConstantVariable& constant : list->variables) {
            size += constant.byteSize;
            ++block.count;
        }
    }
    // The reader bounds every constant; a block past 2 GiB is none at all.
    block.bytes.Free();
    if (size > static_cast<uint64_t>(INT32_MAX)) {
        block.byteSize = 0;
        block.count = 0;
        return;
    }
    block.byteSize = static_cast<uint32_t>(size);
    for (uint64_t i = 0; i < size; i += 4) block.bytes.WriteUInt32(0);
}

}  // namespace

void HVI_SetShaderDescription(HV_Shader& shader, const ShaderTool::ShaderDescription& description)
{
    // The record keeps its own reference on each texture's source bitmap; the
    // translator gives its own back when it is reset.
    for (const ShaderTool::PixelTextureVariable& texture : shader.description.pixelTextures) {
        HV_Graphics_ReleaseBitmap(static_cast<HV_Bitmap*>(texture.sourceBitmap));
    }
    shader.description = description;
    for (const ShaderTool::PixelTextureVariable& texture : shader.description.pixelTextures) {
        HVI_AddBitmapReference(static_cast<HV_Bitmap*>(texture.sourceBitmap));
    }
    shader.vertexFormat = 0;
    for (const ShaderTool::VertexInputVariable& input : description.vertexInput) shader.vertexFormat |= input.semantic;
    SizeBlock(shader.vertexConstants, description.vertexConstants, description.constants);
    SizeBlock(shader.pixelConstants, description.pixelConstants, description.constants);
}
