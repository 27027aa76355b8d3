#include "shadertool/driver/capabilities.h"

#include "shadertool/basic/targets.h"
#include "shadertool/driver/driver_messages.h"

namespace ShaderTool {

bool CheckCapabilities(const ShaderDescription& description, uint32_t targetBit, Log& log)
{
    const TargetInfo* info = FindTargetInfo(targetBit);
    const TargetCapabilities& can = info->capabilities;
    auto refuse = [&](const char* format) { log.WriteError(String::Formatted(format, info->name).GetText()); };
    bool result = true;
    if (!can.buffers && description.buffers.GetCount() > 0) {
        refuse(kDriverNoBuffers);
        result = false;
    }
    if (!can.multiplePixelOutputs && description.pixelOutput.GetCount() >= 2) {
        refuse(kDriverNoMultipleOutputs);
        result = false;
    }
    if (!can.rayTracing && description.rayTracingGroup != -1) {
        refuse(kDriverNoRayTracing);
        result = false;
    }
    for (const PixelTextureVariable& texture : description.pixelTextures) {
        if (!can.textures3D && texture.type.textureDimension == TEXTURE_3D) {
            refuse(kDriverNo3DTextures);
            return false;
        }
        if (!can.textureArrays && texture.type.arraySize != 0) {
            refuse(kDriverNoTextureArrays);
            return false;
        }
    }
    return result;
}

}  // namespace ShaderTool
