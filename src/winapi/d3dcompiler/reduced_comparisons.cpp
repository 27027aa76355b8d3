#include "winapi/d3dcompiler/reduced_comparisons.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "winapi/d3dcompiler/source_text.h"

namespace halvo::d3dcompiler {
namespace {

constexpr char kOpenSelect[] = "(";
constexpr char kCloseSelect[] = ") ? true : false";
constexpr char kOpenGuard[] = "(0, ";
constexpr char kCloseGuard[] = ")";

enum class Argument { kComparison, kOtherExpression, kNotOneExpression };

// What the argument list that opens at `open` holds: one expression whose
// outermost operator is a single == or != (nothing of lower precedence),
// another single expression, or neither; `close` is set to the position of
// its closing parenthesis.
Argument ReadArgument(std::string_view text, const Brackets& brackets, size_t open, size_t& close)
{
    int comparisons = 0;
    bool looser = false;  // an operator that binds more loosely than ==
    for (size_t i = open + 1; i < text.size();) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c == '"') {
            i = AfterString(text, i);
            continue;
        }
        if (c == '(' || c == '[' || c == '{') {  // a nested group
            i = brackets.Closing(i);
            if (i == std::string_view::npos) return Argument::kNotOneExpression;
        } else if (c == ')' || c == ']' || c == '}') {
            close = i;
            if (c != ')' || i == open + 1) return Argument::kNotOneExpression;
            return comparisons == 1 && !looser ? Argument::kComparison : Argument::kOtherExpression;
        } else {
            if (c == ',' || c == ';') return Argument::kNotOneExpression;
            if ((c == '=' || c == '!') && next == '=') {
                ++comparisons;
                i += 2;
                continue;
            }
            if ((c == '<' || c == '>') && next == c) {
                const bool assigns = i + 2 < text.size() && text[i + 2] == '=';  // <<= and >>=
                looser = looser || assigns;
                i += assigns ? 3 : 2;
                continue;
            }
            if ((c == '<' || c == '>') && next == '=') {
                i += 2;
                continue;
            }
            // Assignments and everything that binds more loosely than ==.
            if (c == '=' || std::strchr("&|^?:", c) != nullptr) looser = true;
            if (std::strchr("+-*/%", c) != nullptr && next == '=') looser = true;
        }
        ++i;
    }
    return Argument::kNotOneExpression;
}

}  // namespace

std::string WrapReducedComparisons(std::string_view text)
{
    const Brackets brackets(text);
    std::vector<std::pair<size_t, const char*>> insertions;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const size_t skipped = PastDirectiveOrString(text, i);  // such as #line
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (!IsIdentifierCharacter(c)) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && IsIdentifierCharacter(text[end])) ++end;
        const std::string_view word = text.substr(i, end - i);
        const bool member = i > 0 && text[i - 1] == '.';
        if ((word == "all" || word == "any") && !member) {
            size_t open = end;
            while (open < text.size() && (text[open] == ' ' || text[open] == '\t')) ++open;
            size_t close = 0;
            const Argument argument = open < text.size() && text[open] == '('
                                          ? ReadArgument(text, brackets, open, close)
                                          : Argument::kNotOneExpression;
            if (argument == Argument::kComparison) {
                insertions.emplace_back(open + 1, kOpenSelect);
                insertions.emplace_back(close, kCloseSelect);
            } else if (argument == Argument::kOtherExpression) {
                insertions.emplace_back(open + 1, kOpenGuard);
                insertions.emplace_back(close, kCloseGuard);
            }
        }
        i = end;
    }
    std::stable_sort(insertions.begin(), insertions.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string out;
    out.reserve(text.size() + insertions.size() * sizeof kCloseSelect);
    size_t copied = 0;
    for (const auto& [at, insertion] : insertions) {
        out.append(text.substr(copied, at - copied)).append(insertion);
        copied = at;
    }
    out.append(text.substr(copied));
    return out;
}

}  // namespace halvo::d3dcompiler
