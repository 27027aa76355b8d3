#pragma once

#include "foundation/string.h"
#include "shadertool/ast/node.h"

namespace ShaderTool {

// A readable text of a syntax tree, one node per line, children indented by
// two spaces. Statement parts are introduced by a label line ("condition:",
// "then:", "body:"...). Types read as their long text with "[N]" for arrays,
// " const" for the const qualifier and " constant" for values known at
// translation time; the undefined type reads "?". Locations are not shown.
String DumpTree(const Node* root);

}  // namespace ShaderTool
