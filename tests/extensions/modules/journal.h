#pragma once

#include <string>

// What a test module was asked, in order, as "Call(arguments);" entries. The
// journal lives in the library, so it outlives the module object, and the
// test reads it through the export TestModule_Journal. The platform loads a
// library once however often it is copied, so each new module starts a new
// journal.
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
