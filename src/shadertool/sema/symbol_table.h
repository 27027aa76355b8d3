#pragma once

#include <string>
#include <unordered_map>

#include "foundation/array.h"
#include "shadertool/ast/node.h"

namespace ShaderTool {

// The variables a source can name: one flat list in declaration order and a
// stack of how many of them each open scope declared. A name is found in
// whatever scope declared it, so a name can never be declared twice while
// its first declaration is visible. Each name leads through a hash to its
// latest declaration, which links to the one it hides, so a lookup costs the
// same however many symbols are open.
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
    using Latest = std::unordered_map<std::string, int>;

    struct Symbol {
        VariableNode* variable;
        Latest::value_type* name;  // its entry in m_latest, which outlives every rehash
        int hidden;                // index of the symbol of the same name declared before, -1 for none
    };

    Array<Symbol> m_symbols;   // innermost scope last
    Array<int> m_scopeCounts;  // symbols declared per open scope, global first
    Latest m_latest;           // name to the index of its latest symbol
};

}  // namespace ShaderTool
