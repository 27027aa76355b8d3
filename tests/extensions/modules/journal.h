#pragma once

#include <string>

// What a test module was asked, in order, as "Call(arguments);" entries. The
// journal lives in the library, so it outlives the module object, and the
// test reads it through the export TestModule_Journal. Each copy of a
// library under another path is loaded on its own and keeps its own journal;
// the entry point starts a new journal for each new module.
// Internal to each library: the libraries must not share one journal.
namespace {

std::string& Journal()
{
    static std::string journal;
    return journal;
}

[[maybe_unused]] void Note(const std::string& entry) { Journal() += entry + ";"; }

[[maybe_unused]] std::string Text(const char* text) { return text ? "'" + std::string(text) + "'" : "null"; }

}  // namespace

#define TEST_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

TEST_MODULE_EXPORT const char* TestModule_Journal() { return Journal().c_str(); }
