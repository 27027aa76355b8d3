#include "shadertool/sema/symbol_table.h"

#include <cstring>

namespace ShaderTool {

SymbolTable::SymbolTable() {
    Clear();
}

void SymbolTable::Clear() {
    m_symbols.Clear();
    m_scopeCounts.Clear();
    m_scopeCounts.Add(0);
}

void SymbolTable::PushScope() {
    m_scopeCounts.Add(0);
}

void SymbolTable::PopScope() {
    if (m_scopeCounts.GetCount() <= 1) {
        return;
    }
    const int last = m_scopeCounts.GetCount() - 1;
    for (int count = m_scopeCounts[last]; count > 0 && m_symbols.GetCount() > 0; --count) {
        m_symbols.DeleteAt(m_symbols.GetCount() - 1);
    }
    m_scopeCounts.DeleteAt(last);
}

void SymbolTable::Declare(VariableNode* variable) {
    if (variable == nullptr) {
        return;
    }
    m_symbols.Add(variable);
    ++m_scopeCounts[m_scopeCounts.GetCount() - 1];
}

VariableNode* SymbolTable::Find(const char* name) const {
    if (name == nullptr) {
        return nullptr;
    }
    for (int index = m_symbols.GetCount() - 1; index >= 0; --index) {
        if (std::strcmp(m_symbols[index]->name.GetText(), name) == 0) {
            return m_symbols[index];
        }
    }
    return nullptr;
}

}  // namespace ShaderTool
