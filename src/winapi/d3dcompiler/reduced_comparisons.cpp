#include "winapi/d3dcompiler/reduced_comparisons.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace halvo::d3dcompiler {
namespace {

constexpr char kOpenSelect[] = "(";
constexpr char kCloseSelect[] = ") ? true : false";

bool IsIdentifierCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

// The position after the string literal that starts at `at`.
size_t AfterString(std::string_view text, size_t at)
{
    for (size_t i = at + 1; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == '"' || text[i] == '\n') {
            return i + 1;
        }
    }
    return text.size();
}

// Whether the argument list that opens at `open` holds one expression whose
// outermost operator is a single == or != (nothing of lower precedence);
// `close` is then the position of its closing parenthesis.
bool IsOneComparison(std::string_view text, size_t open, size_t& close)
{
    int depth = 0;
    int comparisons = 0;
    for (size_t i = open + 1; i < text.size();) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c == '"') {
            i = AfterString(text, i);
            continue;
        }
        if (c == '(' || c == '[' || c == '{') {
            ++depth;
        } else if (c == ')' || c == ']' || c == '}') {
            if (depth == 0) {
                close = i;
                return c == ')' && comparisons == 1;
            }
            --depth;
        } else if (depth == 0) {
            if ((c == '=' || c == '!') && next == '=') {
                ++comparisons;
                i += 2;
                continue;
            }
            if ((c == '<' || c == '>') && next == c) {
                if (i + 2 < text.size() && text[i + 2] == '=') return false;  // <<= and >>= assign
                i += 2;
                continue;
            }
            if ((c == '<' || c == '>') && next == '=') {
                i += 2;
                continue;
            }
            // Assignments and everything that binds more loosely than ==.
            if (c == '=' || std::strchr("&|^?:,;", c) != nullptr) return false;
            if (std::strchr("+-*/%", c) != nullptr && next == '=') return false;
        }
        ++i;
    }
    return false;
}

}  // namespace

std::string WrapReducedComparisons(std::string_view text)
{
    std::vector<std::pair<size_t, const char*>> insertions;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '#' && (i == 0 || text[i - 1] == '\n')) {  // directives such as #line
            const size_t end = text.find('\n', i);
            i = end == std::string_view::npos ? text.size() : end;
            continue;
        }
        if (c == '"') {
            i = AfterString(text, i);
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
            if (open < text.size() && text[open] == '(' && IsOneComparison(text, open, close)) {
                insertions.emplace_back(open + 1, kOpenSelect);
                insertions.emplace_back(close, kCloseSelect);
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
