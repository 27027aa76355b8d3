#include "shadertool/sema/symbol_table.h"

namespace ShaderTool {

SymbolTable::SymbolTable() { Clear(); }

void SymbolTable::Clear()
{
    m_symbols.Clear();
    m_latest.clear();
    m_scopeCounts.Clear();
    m_scopeCounts.Add(0);
}

void SymbolTable::PushScope() { m_scopeCounts.Add(0); }

void SymbolTable::PopScope()
{
    if (m_scopeCounts.GetCount() <= 1) {
        return;
    }
    const int last = m_scopeCounts.GetCount() - 1;
    for (int count = m_scopeCounts[last]; count > 0 && m_symbols.GetCount() > 0; --count) {
        const Symbol& symbol = m_symbols[m_symbols.GetCount() - 1];
        if (symbol.hidden >= 0) {
            symbol.name->second = symbol.hidden;
        } else {
            m_latest.erase(m_latest.find(symbol.name->first));
        }
        m_symbols.DeleteAt(m_symbols.GetCount() - 1);
    }
    m_scopeCounts.DeleteAt(last);
}

void SymbolTable::Declare(VariableNode* variable)
{
    if (variable == nullptr) {
        return;
    }
    const auto [latest, added] = m_latest.try_emplace(variable->name.GetText(), m_symbols.GetCount());
    m_symbols.Add({variable, &*latest, added ? -1 : latest->second});
    latest->second = m_symbols.GetCount() - 1;
    ++m_scopeCounts[m_scopeCounts.GetCount() - 1];
}

VariableNode* SymbolTable::Find(const char* name) const
{
    if (name == nullptr) {
        return nullptr;
    }
    const auto latest = m_latest.find(name);
    return latest != m_latest.end() ? m_symbols[latest->second].variable : nullptr;
}

}  // namespace ShaderTool
