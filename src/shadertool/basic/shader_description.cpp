#include "shadertool/basic/shader_description.h"

namespace ShaderTool {

static void ClearConstantList(ConstantList& list)
{
    list.variables.Clear();
    list.first = -1;
    list.second = 0;
}

void ShaderDescription::Clear()
{
    buffers.Clear();
    ClearConstantList(constants);
    definitions.Clear();
    images.Clear();
    ClearConstantList(pixelConstants);
    pixelOutput.Clear();
    pixelTextures.Clear();
    rayPayloads.Clear();
    sources.Clear();
    tags.Clear();
    ClearConstantList(vertexConstants);
    vertexInput.Clear();
    vertexOutput.Clear();
    rayTracingGroup = -1;
    stageFlags = 0;
    stamp = 0;
}

}  // namespace ShaderTool
