#include "shadertool/compilers/compiler.h"

namespace ShaderTool {

Compiler::~Compiler() = default;

bool Compiler::Initialize(uint32_t /*featureLevel*/) { return false; }

}  // namespace ShaderTool
