#pragma once

#include <gtest/gtest.h>

#include <string>

#include "data/dm_database.h"

// Equal databases hold the same arrays, attributes, nodes and pairs in the
// same order, with the same ids (a missing id differs from an empty one).
inline ::testing::AssertionResult PairsEqual(const DMPairList& a, const DMPairList& b, const std::string& where)
{
    if (a.GetCount() != b.GetCount())
        return ::testing::AssertionFailure() << where << ": " << a.GetCount() << " pairs vs " << b.GetCount();
    for (int i = 0; i < a.GetCount(); ++i) {
        const DMPair& x = a.GetPair(i);
        const DMPair& y = b.GetPair(i);
        if (!(x.key == y.key) || !(x.value == y.value))
            return ::testing::AssertionFailure()
                   << where << " pair " << i << ": '" << x.key.GetText() << "'='" << x.value.GetText() << "' vs '"
                   << y.key.GetText() << "'='" << y.value.GetText() << "'";
    }
    return ::testing::AssertionSuccess();
}

inline bool IdsEqual(const char* a, const char* b)
{
    return (a == nullptr && b == nullptr) || (a != nullptr && b != nullptr && std::string(a) == b);
}

inline ::testing::AssertionResult DatabasesEqual(const DMDatabase& a, const DMDatabase& b)
{
    if (a.GetArrayCount() != b.GetArrayCount())
        return ::testing::AssertionFailure() << a.GetArrayCount() << " arrays vs " << b.GetArrayCount();
    for (int i = 0; i < a.GetArrayCount(); ++i) {
        const DMArray& x = *a.GetArray(i);
        const DMArray& y = *b.GetArray(i);
        const std::string where = "array " + std::to_string(i);
        if (!IdsEqual(x.GetId(), y.GetId())) return ::testing::AssertionFailure() << where << ": ids differ";
        if (auto result = PairsEqual(x.GetPairs(), y.GetPairs(), where); !result) return result;
        if (x.GetNodeCount() != y.GetNodeCount())
            return ::testing::AssertionFailure()
                   << where << ": " << x.GetNodeCount() << " nodes vs " << y.GetNodeCount();
        for (int j = 0; j < x.GetNodeCount(); ++j) {
            const std::string nodeWhere = where + " node " + std::to_string(j);
            if (!IdsEqual(x.GetNode(j)->GetId(), y.GetNode(j)->GetId()))
                return ::testing::AssertionFailure() << nodeWhere << ": ids differ";
            if (auto result = PairsEqual(x.GetNode(j)->GetPairs(), y.GetNode(j)->GetPairs(), nodeWhere); !result)
                return result;
        }
    }
    return ::testing::AssertionSuccess();
}
