// The engine's view of the driver's state: the outputs it reads and the
// hooks through which the Shader XML reader reaches the bitmap table.
#include "shadertool/driver/engine_interface.h"

#include "shadertool/driver/driver.h"

namespace ShaderTool {

void SetBitmapGetter(BitmapGetter getter) { GetGlobalState().reader.SetBitmapGetter(getter); }

void SetBitmapReleaser(BitmapReleaser releaser) { GetGlobalState().reader.SetBitmapReleaser(releaser); }

bool ReadShaderSources() { return GetGlobalState().reader.ReadSources(); }

const ShaderDescription& GetDescription() { return GetGlobalState().reader.GetDescription(); }

const ByteBuffer& GetStageOutput(int32_t stage) { return GetGlobalState().stageOutputs[stage]; }

uint32_t GetStageMask() { return GetGlobalState().stageMask; }

int32_t GetStamp() { return GetGlobalState().stamp; }

const String& GetLogText() { return GetGlobalState().mainLog.text; }

}  // namespace ShaderTool
