// Reading the preprocessed HLSL text without parsing it: where strings,
// directives, bracketed groups and operands end. The text rewrites that
// steer glslang's front end (reduced_comparisons.h, folding_guards.h) use
// these.
#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>

namespace halvo::d3dcompiler {

bool IsIdentifierCharacter(char c);

// The position after the string literal that starts at `at`.
size_t AfterString(std::string_view text, size_t at);

// When a directive (a line starting with #) or a string literal starts at
// `at`, the position after it; else `at`.
size_t PastDirectiveOrString(std::string_view text, size_t at);

// The bracket pairs of a text, found in one pass so that every look-up is
// quick however deeply the text nests; brackets in strings and directives
// do not count.
class Brackets {
public:
    explicit Brackets(std::string_view text);

    // The position of the bracket that closes the '(', '[' or '{' at `open`,
    // or npos when none does.
    size_t Closing(size_t open) const;

private:
    std::unordered_map<size_t, size_t> closing_;
};

// The end of the unary expression (prefix operators, casts, a primary and
// its calls, subscripts and members) that starts at or after `at`, past
// spaces; npos when no operand starts there. `start` is set to its first
// character.
size_t EndOfOperand(std::string_view text, const Brackets& brackets, size_t at, size_t& start);

}  // namespace halvo::d3dcompiler
