#include "foundation/string.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

String::String(const char* text) { Assign(text); }

String::String(const String& other) { Assign(other.m_text, other.m_length); }

String::String(String&& other) noexcept { TakeFrom(other); }

String& String::operator=(const String& other)
{
    if (this != &other) Assign(other.m_text, other.m_length);
    return *this;
}

String& String::operator=(String&& other) noexcept
{
    if (this != &other) {
        ReleaseHeapBlock();
        TakeFrom(other);
    }
    return *this;
}

String& String::operator=(const char* text)
{
    Assign(text);
    return *this;
}

String::~String() { ReleaseHeapBlock(); }

void String::TakeFrom(String& other)
{
    m_length = other.m_length;
    m_capacity = other.m_capacity;
    if (other.m_text == nullptr || !other.IsInline()) {
        // A heap block changes hands as it is.
        m_text = other.m_text;
        other.m_text = nullptr;
        other.m_capacity = 0;
    } else {
        std::memcpy(m_inline, other.m_inline, size_t(m_length) + 1);
        m_text = m_inline;
        other.m_inline[0] = '\0';
    }
    other.m_length = 0;
}

void String::ReleaseHeapBlock()
{
    if (m_text != nullptr && !IsInline()) std::free(m_text);
    m_text = nullptr;
    m_capacity = 0;
}

namespace {

char* AllocateBlock(int64_t bytes)
{
    // A text of 2 GiB is a broken caller, not a recoverable state.
    char* block = bytes <= INT32_MAX ? static_cast<char*>(std::malloc(size_t(bytes))) : nullptr;
    if (block == nullptr) std::abort();
    return block;
}

}  // namespace

void String::Assign(const char* text) { Assign(text, text ? int(std::strlen(text)) : 0); }

void String::Assign(const char* text, int length)
{
    if (text == nullptr || length < 0) length = 0;
    // The text may lie in this string's own block: copy it out before that block goes.
    if (length <= kInlineMaxLength) {
        char staging[kInlineCapacity];
        std::memcpy(staging, text ? text : "", size_t(length));
        ReleaseHeapBlock();
        std::memcpy(m_inline, staging, size_t(length));
        m_text = m_inline;
        m_capacity = kInlineCapacity;
    } else {
        char* block = AllocateBlock(int64_t(length) + 1);
        std::memcpy(block, text, size_t(length));
        ReleaseHeapBlock();
        m_text = block;
        m_capacity = length + 1;
    }
    m_text[length] = '\0';
    m_length = length;
}

void String::AppendGrowing(const char* text, int length)
{
    if (text == nullptr || length <= 0) return;
    if (m_text == nullptr) {
        m_inline[0] = '\0';
        m_text = m_inline;
        m_capacity = kInlineCapacity;
    }
    const int64_t total = int64_t(m_length) + length;
    if (total > Room()) {
        // At least double, so that a text built by appending is copied a
        // bounded number of times per byte. The appended text may lie in the
        // old block: fill the new block before the old one goes.
        const int64_t doubled = int64_t(m_capacity) * 2;
        const int64_t capacity = total + 1 > doubled ? total + 1 : (doubled > INT32_MAX ? INT32_MAX : doubled);
        char* block = AllocateBlock(capacity);
        std::memcpy(block, m_text, size_t(m_length));
        std::memcpy(block + m_length, text, size_t(length));
        ReleaseHeapBlock();
        m_text = block;
        m_capacity = int(capacity);
    } else {
        // Own text appended to itself ends where the copy begins: no overlap.
        std::memcpy(m_text + m_length, text, size_t(length));
    }
    m_length = int(total);
    m_text[m_length] = '\0';
}

namespace {

// Writes the format with its arguments into `out` as vsnprintf would, for
// the conversions text is mostly built with (%s, %i, %d, %c and %%, without
// flags, width or precision) and without vsnprintf's cost per call. -1 when
// the format holds any other conversion or the text does not fit in
// `capacity` bytes with its terminator.
int FormatPlain(char* out, size_t capacity, const char* format, va_list arguments)
{
    char* const last = out + capacity - 1;  // room for the terminator
    char* end = out;
    auto put = [&](const char* text, size_t count) {
        if (count > size_t(last - end)) return false;
        std::memcpy(end, text, count);
        end += count;
        return true;
    };
    for (const char* character = format; *character != '\0'; ++character) {
        if (*character != '%') {
            if (end == last) return -1;
            *end++ = *character;
            continue;
        }
        bool fits = true;
        switch (*++character) {
        case 's': {
            const char* text = va_arg(arguments, const char*);
            if (text == nullptr) text = "(null)";
            fits = put(text, std::strlen(text));
            break;
        }
        case 'i':
        case 'd': {
            char digits[16];
            const std::to_chars_result digitsEnd =
                std::to_chars(digits, digits + sizeof digits, va_arg(arguments, int));
            fits = put(digits, size_t(digitsEnd.ptr - digits));
            break;
        }
        case 'c': {
            const char byte = char(va_arg(arguments, int));
            fits = put(&byte, 1);
            break;
        }
        case '%': fits = put("%", 1); break;
        default: return -1;
        }
        if (!fits) return -1;
    }
    *end = '\0';
    return int(end - out);
}

}  // namespace

void String::AppendFormatV(const char* format, va_list arguments)
{
    char firstBuffer[4096];
    va_list plain;
    va_copy(plain, arguments);
    const int length = FormatPlain(firstBuffer, sizeof firstBuffer, format, plain);
    va_end(plain);
    // Formatted into a buffer of its own first: an argument may be this string's own text.
    if (length >= 0) {
        Append(firstBuffer, length);
        return;
    }
    va_list copy;
    va_copy(copy, arguments);
    const int needed = std::vsnprintf(firstBuffer, sizeof firstBuffer, format, arguments);
    if (needed < 0) {
        va_end(copy);
        return;
    }
    if (needed < int(sizeof firstBuffer)) {
        Append(firstBuffer, needed);
    } else {
        char* large = static_cast<char*>(std::malloc(size_t(needed) + 1));
        if (large == nullptr) std::abort();
        std::vsnprintf(large, size_t(needed) + 1, format, copy);
        Append(large, needed);
        std::free(large);
    }
    va_end(copy);
}

void String::AppendFormat(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    AppendFormatV(format, arguments);
    va_end(arguments);
}

String String::Formatted(const char* format, ...)
{
    String result;
    va_list arguments;
    va_start(arguments, format);
    result.AppendFormatV(format, arguments);
    va_end(arguments);
    return result;
}

void String::Clear() { Assign("", 0); }

bool String::operator==(const String& other) const
{
    return m_length == other.m_length && std::memcmp(GetText(), other.GetText(), size_t(m_length)) == 0;
}

bool String::operator==(const char* text) const
{
    const char* other = text ? text : "";
    // Lengths first: most texts compared with a name differ in length.
    return std::strlen(other) == size_t(m_length) && std::memcmp(GetText(), other, size_t(m_length)) == 0;
}
