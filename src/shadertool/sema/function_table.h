#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/array.h"
#include "foundation/string.h"
#include "shadertool/ast/node.h"
#include "shadertool/basic/type.h"

namespace ShaderTool {

// One function that calls can find: a user function or a built-in record.
struct FunctionEntry {
    String signature;
    FunctionNode* function = nullptr;  // not owned: the node list or the built-in arrays own it
    String fileName;                   // of the source text that registered a user function, for checks after the parse
    bool defined = false;
    bool referenced = false;
    int32_t nextInBucket = -1;  // index of the next entry of the same hash bucket
};

// The functions of one parse, keyed by signature, hashed, and kept in
// insertion order: built-ins in registration order, then user functions.
// Entries are also listed by function name (the signature up to its first
// ","), so the overloads of a name are found without a walk over all.
class FunctionTable {
public:
    FunctionTable() = default;
    ~FunctionTable();
    FunctionTable(const FunctionTable&) = delete;
    FunctionTable& operator=(const FunctionTable&) = delete;

    // Enters the function under the signature unless the signature is
    // present; returns the entry of the signature either way (the existing
    // one keeps its function and flags) and tells whether it was added.
    FunctionEntry* Insert(const char* signature, FunctionNode* function, bool* added = nullptr);

    // The entry of an exact signature; null when absent.
    FunctionEntry* Find(const char* signature);

    // Every entry whose signature begins with the name and ",", in insertion
    // order, appended to the list.
    void CollectFunctionsByName(const char* name, Array<FunctionEntry*>& entries);

    // Forgets every entry; the functions themselves are not freed.
    void Clear();

    // Forgets every entry after the first count; those kept lose their
    // defined and referenced flags, as when they were entered.
    void Truncate(int count);

    int GetCount() const { return m_entries.GetCount(); }
    FunctionEntry& GetEntry(int index) { return *m_entries[index]; }

private:
    void Rehash(int bucketCount);
    int GetBucket(const char* signature) const;

    Array<FunctionEntry*> m_entries;  // owned, in insertion order
    Array<int32_t> m_buckets;         // first entry index per bucket, -1 when empty; a power of two in size
    std::unordered_map<std::string, std::vector<int32_t>> m_byName;  // entry indices per name, ascending
};

// Whether a parameter takes an argument: the overload rule with conversion,
// plus array sizes: an array parameter takes only an array of its size (an
// unsized one any array), and a plain parameter no array at all.
bool ParameterAccepts(const Type& parameter, const Type& argument);

// The first function of the name (in the table's order) whose parameter count
// equals the argument count and whose every parameter accepts its argument
// (ParameterAccepts); null when none does.
FunctionEntry* FindFunctionForArguments(FunctionTable& table, const char* name, const Type* arguments,
                                        int argumentCount);

}  // namespace ShaderTool
