// FormatMessageA over the system's message texts or a caller's format text.
// Inserts %1 to %99 take an argument each, as a string unless a printf
// format follows between '!' marks (!d!, !u!, !x!, !X!, !c!, !s! and their
// 'l', 'll' and 'I64' sized forms); %n is a line break, %0 ends the text
// without its line break, and %%, %. , %!, %space and %t stand for
// themselves or a tab.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "winapi/kernel/system_message_texts.h"

namespace {

const char* FindSystemText(DWORD code)
{
    for (const auto& row : halvo::kernel::kSystemMessageTexts) {
        if (row.code == code) return row.text;
    }
    // HRESULTs of the Win32 facility carry the system error code in their low word.
    if ((code & 0xFFFF0000u) == 0x80070000u) return FindSystemText(code & 0xFFFFu);
    return nullptr;
}

enum class InsertType { String, Int32, Int64, Character };

struct Insert {
    int index;
    std::string format;  // printf conversion, '%' included
    InsertType type;
};

InsertType TypeOfFormat(const std::string& format)
{
    const char conversion = format.back();
    if (conversion == 's') return InsertType::String;
    if (conversion == 'c') return InsertType::Character;
    if (format.find("ll") != std::string::npos || format.find("I64") != std::string::npos) return InsertType::Int64;
    return InsertType::Int32;
}

// The printf form of an insert's format: "I64" becomes "ll" and a lone 'l'
// (32 bits on the platform) is dropped.
std::string PrintfFormat(std::string format)
{
    if (size_t at = format.find("I64"); at != std::string::npos) format.replace(at, 3, "ll");
    if (format.find("ll") == std::string::npos) {
        if (size_t at = format.find('l'); at != std::string::npos) format.erase(at, 1);
    }
    return format;
}

// Reads the arguments that the inserts use: from an array of pointer-sized
// values, or in order from a va_list.
class InsertArguments {
public:
    InsertArguments(va_list* list, bool isArray, int count) : list_(list), isArray_(isArray), values_(count + 1) {}

    bool Available() const { return list_ != nullptr; }

    void ReadInOrder(const std::vector<InsertType>& types)
    {
        if (isArray_) {
            const auto* array = reinterpret_cast<const DWORD_PTR*>(list_);
            for (size_t index = 1; index < values_.size(); ++index) values_[index] = array[index - 1];
            return;
        }
        va_list copy;
        va_copy(copy, *list_);
        for (size_t index = 1; index < values_.size(); ++index) {
            switch (types[index]) {
            case InsertType::String: values_[index] = reinterpret_cast<DWORD_PTR>(va_arg(copy, const char*)); break;
            case InsertType::Int64: values_[index] = static_cast<DWORD_PTR>(va_arg(copy, long long)); break;
            case InsertType::Int32:
            case InsertType::Character: values_[index] = static_cast<DWORD_PTR>(va_arg(copy, unsigned int)); break;
            }
        }
        va_end(copy);
    }

    DWORD_PTR Value(int index) const { return values_[index]; }

private:
    va_list* list_;
    bool isArray_;
    std::vector<DWORD_PTR> values_;  // 1-based
};

void AppendInsert(std::string& out, const Insert& insert, DWORD_PTR value)
{
    const std::string format = PrintfFormat(insert.format);
    char buffer[64];
    switch (insert.type) {
    case InsertType::String: {
        const char* text = reinterpret_cast<const char*>(value);
        if (format == "%s") {
            out += text != nullptr ? text : "(null)";
            return;
        }
        const int length = std::snprintf(nullptr, 0, format.c_str(), text);
        std::string formatted(static_cast<size_t>(length > 0 ? length : 0), '\0');
        std::snprintf(formatted.data(), formatted.size() + 1, format.c_str(), text);
        out += formatted;
        return;
    }
    case InsertType::Int64: std::snprintf(buffer, sizeof buffer, format.c_str(), static_cast<long long>(value)); break;
    case InsertType::Int32:
    case InsertType::Character:
        std::snprintf(buffer, sizeof buffer, format.c_str(), static_cast<unsigned int>(value));
        break;
    }
    out += buffer;
}

// Whether spec (the text between the '!' marks) is one printf conversion of
// one argument: flags, width, precision, a size and one of "diouxXcs".
// Anything else ('*' widths, '%n', several conversions) is refused, since the
// text may come from outside.
bool IsSafeFormat(const std::string& spec)
{
    size_t at = 0;
    while (at < spec.size() && std::strchr("-+ #0", spec[at]) != nullptr) ++at;
    while (at < spec.size() && spec[at] >= '0' && spec[at] <= '9') ++at;
    if (at < spec.size() && spec[at] == '.') {
        ++at;
        while (at < spec.size() && spec[at] >= '0' && spec[at] <= '9') ++at;
    }
    for (const char* size : {"I64", "ll", "l", "h"}) {
        if (spec.compare(at, std::strlen(size), size) == 0) {
            at += std::strlen(size);
            break;
        }
    }
    return at + 1 == spec.size() && std::strchr("diouxXcs", spec[at]) != nullptr;
}

// Parses the insert at text[at] == '%' followed by a digit; returns false for a malformed one.
bool ParseInsert(const char* text, size_t& at, Insert& insert)
{
    size_t position = at + 1;
    int index = text[position++] - '0';
    if (text[position] >= '0' && text[position] <= '9') index = index * 10 + (text[position++] - '0');
    insert.index = index;
    insert.format = "%s";
    if (text[position] == '!') {
        const char* end = std::strchr(text + position + 1, '!');
        if (end == nullptr) return false;
        const std::string spec(text + position + 1, end);
        if (!IsSafeFormat(spec)) return false;
        insert.format = "%" + spec;
        position = static_cast<size_t>(end - text) + 1;
    }
    insert.type = TypeOfFormat(insert.format);
    at = position;
    return true;
}

// Expands escapes and inserts; false (with the error set) when an insert has
// no argument or is malformed.
bool ExpandText(const char* text, bool ignoreInserts, va_list* arguments, bool argumentArray, bool dropLineBreaks,
                std::string& out)
{
    if (ignoreInserts) {
        out = text;
    } else {
        // First pass: the type of each insert index, for reading a va_list in order.
        std::vector<InsertType> types(100, InsertType::String);
        int highest = 0;
        for (size_t at = 0; text[at] != '\0';) {
            if (text[at] == '%' && text[at + 1] >= '1' && text[at + 1] <= '9') {
                Insert insert;
                if (!ParseInsert(text, at, insert)) {
                    SetLastError(ERROR_INVALID_PARAMETER);
                    return false;
                }
                types[insert.index] = insert.type;
                if (insert.index > highest) highest = insert.index;
            } else {
                at += text[at] == '%' && text[at + 1] != '\0' ? 2 : 1;
            }
        }
        InsertArguments values(arguments, argumentArray, highest);
        if (highest > 0) {
            if (!values.Available()) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return false;
            }
            values.ReadInOrder(types);
        }
        for (size_t at = 0; text[at] != '\0';) {
            if (text[at] != '%') {
                out += text[at++];
                continue;
            }
            const char next = text[at + 1];
            if (next >= '1' && next <= '9') {
                Insert insert;
                ParseInsert(text, at, insert);
                AppendInsert(out, insert, values.Value(insert.index));
                continue;
            }
            at += next == '\0' ? 1 : 2;
            switch (next) {
            case '0': return true;
            case 'n': out += "\r\n"; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case '\0': out += '%'; break;
            default: out += next; break;
            }
        }
    }
    if (dropLineBreaks) {
        std::string joined;
        for (size_t at = 0; at < out.size(); ++at) {
            if (out[at] == '\r' && at + 1 < out.size() && out[at + 1] == '\n') {
                joined += ' ';
                ++at;
            } else {
                joined += out[at];
            }
        }
        out = joined;
    }
    return true;
}

}  // namespace

DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD, LPSTR lpBuffer, DWORD nSize,
                            va_list* Arguments)
{
    const char* text = nullptr;
    if (dwFlags & FORMAT_MESSAGE_FROM_STRING) {
        text = static_cast<const char*>(lpSource);
        if (text == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    } else if (dwFlags & FORMAT_MESSAGE_FROM_SYSTEM) {
        text = FindSystemText(dwMessageId);
        if (text == nullptr) {
            SetLastError(ERROR_MR_MID_NOT_FOUND);
            return 0;
        }
    } else {
        // Message tables of modules are not kept.
        SetLastError(dwFlags & FORMAT_MESSAGE_FROM_HMODULE ? ERROR_MR_MID_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (lpBuffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string out;
    if (!ExpandText(text, (dwFlags & FORMAT_MESSAGE_IGNORE_INSERTS) != 0, Arguments,
                    (dwFlags & FORMAT_MESSAGE_ARGUMENT_ARRAY) != 0, (dwFlags & FORMAT_MESSAGE_MAX_WIDTH_MASK) != 0,
                    out)) {
        return 0;
    }
    const size_t needed = out.size() + 1;
    if (dwFlags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        const size_t size = needed > nSize ? needed : nSize;
        auto* block = static_cast<char*>(LocalAlloc(LMEM_FIXED, size));
        if (block == nullptr) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        std::memcpy(block, out.c_str(), needed);
        *reinterpret_cast<LPSTR*>(lpBuffer) = block;
    } else {
        if (needed > nSize) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        std::memcpy(lpBuffer, out.c_str(), needed);
    }
    return static_cast<DWORD>(out.size());
}
