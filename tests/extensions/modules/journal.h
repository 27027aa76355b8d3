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

// An argument as the journal writes it: a text quoted (or null), a number in decimal.
[[maybe_unused]] std::string Argument(const char* text) { return Text(text); }
template <class Number>
std::string Argument(Number number)
{
    return std::to_string(number);
}

// Notes "Name(first,second,...)", or "Name" for a call without arguments.
template <class... Arguments>
void NoteCall(const std::string& name, Arguments... arguments)
{
    std::string list;
    ((list += (list.empty() ? "" : ",") + Argument(arguments)), ...);
    Note(sizeof...(arguments) == 0 ? name : name + "(" + list + ")");
}

// Notes the call and gives the fixed answer.
template <class Answer, class... Arguments>
Answer NoteAndAnswer(Answer answer, const std::string& name, Arguments... arguments)
{
    NoteCall(name, arguments...);
    return answer;
}

}  // namespace

#define TEST_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

TEST_MODULE_EXPORT const char* TestModule_Journal() { return Journal().c_str(); }
