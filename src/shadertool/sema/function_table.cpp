#include "shadertool/sema/function_table.h"

#include <cstring>

#include "foundation/text.h"
#include "shadertool/parser/declared_type.h"

namespace ShaderTool {

namespace {

constexpr int kInitialBucketCount = 512;

// The name part of a signature; false when it has no ",".
bool GetSignatureName(const char* signature, std::string& name)
{
    const char* comma = std::strchr(signature, ',');
    if (comma == nullptr) {
        return false;
    }
    name.assign(signature, static_cast<size_t>(comma - signature));
    return true;
}

bool ParametersAccept(const FunctionNode& function, const Type* arguments, int argumentCount)
{
    const GroupNode* parameters = function.children.GetCount() > 0 ? AsGroup(function.children[0]) : nullptr;
    const int parameterCount = parameters != nullptr ? parameters->children.GetCount() : 0;
    if (parameterCount != argumentCount) {
        return false;
    }
    for (int index = 0; index < parameterCount; ++index) {
        const Type* parameterType = GetNodeType(parameters->children[index]);
        if (parameterType == nullptr || !ParameterAccepts(*parameterType, arguments[index])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool ParameterAccepts(const Type& parameter, const Type& argument)
{
    if (!TypesMatch(parameter, argument, true, true)) {
        return false;
    }
    if (parameter.arraySize == UNSIZED_ARRAY) {
        return argument.arraySize > 0;
    }
    return parameter.arraySize == argument.arraySize;
}

FunctionTable::~FunctionTable() { Clear(); }

int FunctionTable::GetBucket(const char* signature) const
{
    return static_cast<int>(HVI_HashName(signature) & static_cast<uint32_t>(m_buckets.GetCount() - 1));
}

void FunctionTable::Rehash(int bucketCount)
{
    m_buckets.Clear();
    for (int index = 0; index < bucketCount; ++index) {
        m_buckets.Add(-1);
    }
    for (int index = 0; index < m_entries.GetCount(); ++index) {
        FunctionEntry* entry = m_entries[index];
        const int bucket = GetBucket(entry->signature.GetText());
        entry->nextInBucket = m_buckets[bucket];
        m_buckets[bucket] = index;
    }
}

FunctionEntry* FunctionTable::Find(const char* signature)
{
    if (signature == nullptr || m_buckets.GetCount() == 0) {
        return nullptr;
    }
    for (int index = m_buckets[GetBucket(signature)]; index >= 0; index = m_entries[index]->nextInBucket) {
        if (std::strcmp(m_entries[index]->signature.GetText(), signature) == 0) {
            return m_entries[index];
        }
    }
    return nullptr;
}

FunctionEntry* FunctionTable::Insert(const char* signature, FunctionNode* function, bool* added)
{
    if (added != nullptr) {
        *added = false;
    }
    if (signature == nullptr) {
        return nullptr;
    }
    if (FunctionEntry* existing = Find(signature)) {
        return existing;
    }
    // Keep chains short: twice as many buckets as entries.
    if (m_buckets.GetCount() == 0 || m_entries.GetCount() >= m_buckets.GetCount() / 2) {
        Rehash(m_buckets.GetCount() == 0 ? kInitialBucketCount : m_buckets.GetCount() * 2);
    }
    FunctionEntry* entry = new FunctionEntry;
    entry->signature.Assign(signature);
    entry->function = function;
    const int bucket = GetBucket(signature);
    entry->nextInBucket = m_buckets[bucket];
    m_buckets[bucket] = m_entries.GetCount();
    std::string name;
    if (GetSignatureName(signature, name)) {
        m_byName[name].push_back(m_entries.GetCount());
    }
    m_entries.Add(entry);
    if (added != nullptr) {
        *added = true;
    }
    return entry;
}

void FunctionTable::CollectFunctionsByName(const char* name, Array<FunctionEntry*>& entries)
{
    if (name == nullptr) {
        return;
    }
    if (std::strchr(name, ',') != nullptr) {
        // Such a name spans a signature's "," and is not listed: walk.
        const size_t nameLength = std::strlen(name);
        for (FunctionEntry* entry : m_entries) {
            const char* signature = entry->signature.GetText();
            if (std::strncmp(signature, name, nameLength) == 0 && signature[nameLength] == ',') {
                entries.Add(entry);
            }
        }
        return;
    }
    const auto listed = m_byName.find(name);
    if (listed == m_byName.end()) {
        return;
    }
    for (int32_t index : listed->second) {
        entries.Add(m_entries[index]);
    }
}

void FunctionTable::Clear()
{
    for (FunctionEntry* entry : m_entries) {
        delete entry;
    }
    m_entries.Clear();
    m_byName.clear();
    for (int32_t& head : m_buckets) {
        head = -1;
    }
}

void FunctionTable::Truncate(int count)
{
    // Each entry heads its bucket's chain and its name's list until a later
    // one joins them, so removing from the last entry back restores both.
    std::string name;
    for (int index = m_entries.GetCount() - 1; index >= count && index >= 0; --index) {
        FunctionEntry* entry = m_entries[index];
        m_buckets[GetBucket(entry->signature.GetText())] = entry->nextInBucket;
        if (GetSignatureName(entry->signature.GetText(), name)) {
            const auto listed = m_byName.find(name);
            listed->second.pop_back();
            if (listed->second.empty()) {
                m_byName.erase(listed);
            }
        }
        delete entry;
        m_entries.DeleteAt(index);
    }
    for (FunctionEntry* entry : m_entries) {
        entry->defined = false;
        entry->referenced = false;
    }
}

FunctionEntry* FindFunctionForArguments(FunctionTable& table, const char* name, const Type* arguments,
                                        int argumentCount)
{
    if (argumentCount < 0 || (argumentCount > 0 && arguments == nullptr)) {
        return nullptr;
    }
    Array<FunctionEntry*> candidates;
    table.CollectFunctionsByName(name, candidates);
    for (FunctionEntry* candidate : candidates) {
        if (candidate->function != nullptr && ParametersAccept(*candidate->function, arguments, argumentCount)) {
            return candidate;
        }
    }
    return nullptr;
}

}  // namespace ShaderTool
