#include "winapi/d3dcompiler/source_text.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace halvo::d3dcompiler {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

size_t SkipSpaces(std::string_view text, size_t at)
{
    while (at < text.size() && IsSpace(text[at])) ++at;
    return at;
}

// The end of the number or identifier that starts at `at`; a number's
// exponent may carry a sign.
size_t EndOfWord(std::string_view text, size_t at)
{
    const bool number = std::isdigit(static_cast<unsigned char>(text[at])) != 0 || text[at] == '.';
    size_t end = at;
    while (end < text.size() && (IsIdentifierCharacter(text[end]) || (number && text[end] == '.'))) {
        const char c = text[end];
        ++end;
        if (number && (c == 'e' || c == 'E') && end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
    }
    return end;
}

bool StartsPrimary(char c) { return IsIdentifierCharacter(c) || c == '(' || c == '.'; }

}  // namespace

bool IsIdentifierCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

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

size_t PastDirectiveOrString(std::string_view text, size_t at)
{
    if (text[at] == '"') return AfterString(text, at);
    if (text[at] != '#' || (at > 0 && text[at - 1] != '\n')) return at;
    const size_t end = text.find('\n', at);
    return end == std::string_view::npos ? text.size() : end;
}

Brackets::Brackets(std::string_view text)
{
    std::vector<size_t> open;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const size_t skipped = PastDirectiveOrString(text, i);  // such as #line
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (c == '(' || c == '[' || c == '{') open.push_back(i);
        if ((c == ')' || c == ']' || c == '}') && !open.empty()) {
            closing_[open.back()] = i;
            open.pop_back();
        }
        ++i;
    }
}

size_t Brackets::Closing(size_t open) const
{
    const auto found = closing_.find(open);
    return found == closing_.end() ? std::string_view::npos : found->second;
}

size_t EndOfOperand(std::string_view text, const Brackets& brackets, size_t at, size_t& start)
{
    size_t i = SkipSpaces(text, at);
    start = i;
    for (;;) {  // prefix operators and casts, then the primary
        while (i < text.size() && std::strchr("-+!~", text[i]) != nullptr) i = SkipSpaces(text, i + 1);
        if (i >= text.size() || !StartsPrimary(text[i])) return std::string_view::npos;
        if (text[i] != '(') {
            i = EndOfWord(text, i);
            break;
        }
        const size_t close = brackets.Closing(i);
        if (close == std::string_view::npos) return close;
        i = close + 1;
        // A parenthesised type followed by an operand is a cast.
        const size_t next = SkipSpaces(text, i);
        if (next >= text.size() || !StartsPrimary(text[next])) break;
        i = next;
    }
    for (;;) {  // calls, subscripts, members, increments
        const size_t next = SkipSpaces(text, i);
        if (next >= text.size()) return i;
        const char c = text[next];
        if (c == '(' || c == '[') {
            const size_t close = brackets.Closing(next);
            if (close == std::string_view::npos) return close;
            i = close + 1;
        } else if (c == '.' && next + 1 < text.size() && IsIdentifierCharacter(text[next + 1])) {
            i = EndOfWord(text, next + 1);
        } else if ((c == '+' || c == '-') && next + 1 < text.size() && text[next + 1] == c) {
            i = next + 2;
        } else {
            return i;
        }
    }
}

}  // namespace halvo::d3dcompiler
