#include "shadertool/sema/struct_table.h"

#include <cstring>

namespace ShaderTool {

const StructMember* StructEntry::FindMember(const char* memberName) const
{
    if (memberName == nullptr) {
        return nullptr;
    }
    for (const StructMember& member : members) {
        if (std::strcmp(member.name.GetText(), memberName) == 0) {
            return &member;
        }
    }
    return nullptr;
}

bool StructEntry::AddMember(const char* memberName, const Type& type, SourceLocation location)
{
    if (FindMember(memberName) != nullptr) {
        return false;
    }
    StructMember member;
    member.name.Assign(memberName);
    member.type = type;
    member.location = location;
    members.Add(member);
    return true;
}

StructTable::~StructTable() { Clear(); }

StructEntry* StructTable::Insert(const char* name, bool* added)
{
    if (added != nullptr) {
        *added = false;
    }
    if (name == nullptr) {
        return nullptr;
    }
    if (StructEntry* existing = Find(name)) {
        return existing;
    }
    StructEntry* entry = new StructEntry;
    entry->name.Assign(name);
    m_byName.emplace(name, m_entries.GetCount());
    m_entries.Add(entry);
    if (added != nullptr) {
        *added = true;
    }
    return entry;
}

StructEntry* StructTable::Find(const char* name)
{
    if (name == nullptr) {
        return nullptr;
    }
    const auto found = m_byName.find(name);
    return found != m_byName.end() ? m_entries[found->second] : nullptr;
}

const StructEntry* StructTable::Find(const char* name) const { return const_cast<StructTable*>(this)->Find(name); }

void StructTable::Clear()
{
    for (StructEntry* entry : m_entries) {
        delete entry;
    }
    m_entries.Clear();
    m_byName.clear();
}

}  // namespace ShaderTool
