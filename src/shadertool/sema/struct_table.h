#pragma once

#include <string>
#include <unordered_map>

#include "foundation/array.h"
#include "foundation/string.h"
#include "shadertool/basic/token.h"
#include "shadertool/basic/type.h"
#include "shadertool/lexer/lexer.h"

namespace ShaderTool {

struct StructMember {
    String name;
    Type type;
    SourceLocation location;  // of the member's name; 0:0 for the stage structs
};

// One struct: its members in declaration order, each name once.
struct StructEntry {
    String name;
    Array<StructMember> members;
    // One of the structs of the stage variables (input, output, texture ...),
    // which each target writes in its own form and user code cannot declare.
    bool isStageStruct = false;

    const StructMember* FindMember(const char* memberName) const;
    // Appends the member unless one of that name exists; tells whether it did.
    bool AddMember(const char* memberName, const Type& type, SourceLocation location);
};

// The structs of one parse, the stage structs among them, hashed by name and
// kept in insertion order. Entries live on the heap, so pointers to them stay
// valid while the table grows. The tokenizer asks it which names are types.
class StructTable : public TypeNameTable {
public:
    StructTable() = default;
    ~StructTable() override;
    StructTable(const StructTable&) = delete;
    StructTable& operator=(const StructTable&) = delete;

    // The entry of the name, made empty when absent; tells whether it was made.
    StructEntry* Insert(const char* name, bool* added = nullptr);
    StructEntry* Find(const char* name);
    const StructEntry* Find(const char* name) const;
    void Clear();

    int GetCount() const { return m_entries.GetCount(); }
    StructEntry& GetEntry(int index) { return *m_entries[index]; }

    bool HoldsTypeName(const char* name) const override { return Find(name) != nullptr; }

private:
    Array<StructEntry*> m_entries;                  // owned, in insertion order
    std::unordered_map<std::string, int> m_byName;  // name to index in m_entries
};

}  // namespace ShaderTool
