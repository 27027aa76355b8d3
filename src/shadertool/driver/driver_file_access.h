#pragma once

#include "shadertool/preprocessor/preprocessor_files.h"

namespace ShaderTool {

// Makes the preprocessor open included files and read source stamps through
// the engine's file system ("res://..." paths and the search paths).
void UseEngineFileAccess();

}  // namespace ShaderTool
