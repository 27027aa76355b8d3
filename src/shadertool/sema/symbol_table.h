#pragma once

#include "foundation/array.h"
#include "shadertool/ast/node.h"

namespace ShaderTool {

// The variables a source can name: one flat list in declaration order and a
// stack of how many of them each open scope declared. A name is found in
// whatever scope declared it, so a name can never be declared twice while
// its first declaration is visible.
class SymbolTable {
public:
    SymbolTable();

    // Back to the global scope alone, with no symbols.
    void Clear();

    void PushScope();
    // Forgets the symbols of the innermost scope; the global scope stays open.
    void PopScope();
    int GetScopeDepth() const { return m_scopeCounts.GetCount(); }

    // Appends the variable to the innermost scope. The node is not owned.
    void Declare(VariableNode* variable);

    // The declaring variable of the name; null when none is visible.
    VariableNode* Find(const char* name) const;

    int GetCount() const { return m_symbols.GetCount(); }

private:
    Array<VariableNode*> m_symbols;  // innermost scope last
    Array<int> m_scopeCounts;        // symbols declared per open scope, global first
};

}  // namespace ShaderTool
