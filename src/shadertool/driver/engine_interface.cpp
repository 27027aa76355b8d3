// The engine's read-only view of the driver's state.
#include "shadertool/driver/engine_interface.h"

#include "shadertool/driver/driver.h"

namespace ShaderTool {

bool ReadShaderSources() { return GetGlobalState().reader.ReadSources(); }

const ShaderDescription& GetDescription() { return GetGlobalState().reader.GetDescription(); }

const ByteBuffer& GetStageOutput(int32_t stage) { return GetGlobalState().stageOutputs[stage]; }

uint32_t GetStageMask() { return GetGlobalState().stageMask; }

int32_t GetStamp() { return GetGlobalState().stamp; }

const String& GetLogText() { return GetGlobalState().mainLog.text; }

}  // namespace ShaderTool
