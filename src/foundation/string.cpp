#include "foundation/string.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

String::String(const char* text) { Assign(text); }

String::String(const String& other) { Assign(other.m_text, other.m_length); }

String::String(String&& other) noexcept { *this = static_cast<String&&>(other); }

String& String::operator=(const String& other)
{
    if (this != &other)
        Assign(other.m_text, other.m_length);
    return *this;
}

String& String::operator=(String&& other) noexcept
{
    if (this == &other)
        return *this;
    if (other.m_text != nullptr && other.m_text != other.m_inline) {
        ReleaseHeapBlock();
        m_text = other.m_text;
        m_capacity = other.m_capacity;
        m_length = other.m_length;
        other.m_text = nullptr;
        other.m_capacity = 0;
        other.m_length = 0;
    } else {
        Assign(other.m_text, other.m_length);
        other.Clear();
    }
    return *this;
}

String& String::operator=(const char* text)
{
    Assign(text);
    return *this;
}

String::~String() { ReleaseHeapBlock(); }

void String::ReleaseHeapBlock()
{
    if (m_text != nullptr && m_text != m_inline)
        std::free(m_text);
    m_text = nullptr;
    m_capacity = 0;
}

void String::SetConcatenation(const char* first, int firstLength, const char* second, int secondLength)
{
    const int64_t total = int64_t(firstLength) + secondLength;
    if (total > INT32_MAX - 1)
        std::abort();  // a 2 GiB text is a broken caller, not a recoverable state
    const int length = int(total);
    char* target;
    if (length <= kInlineMaxLength) {
        char staging[kInlineCapacity];
        std::memcpy(staging, first, size_t(firstLength));
        std::memcpy(staging + firstLength, second, size_t(secondLength));
        ReleaseHeapBlock();
        target = m_inline;
        std::memcpy(target, staging, size_t(length));
        m_capacity = kInlineCapacity;
    } else {
        // The old block may hold one of the inputs: fill the new block first.
        target = static_cast<char*>(std::malloc(size_t(length) + 1));
        if (target == nullptr)
            std::abort();
        std::memcpy(target, first, size_t(firstLength));
        std::memcpy(target + firstLength, second, size_t(secondLength));
        ReleaseHeapBlock();
        m_capacity = length + 1;
    }
    target[length] = '\0';
    m_text = target;
    m_length = length;
}

void String::Assign(const char* text) { Assign(text, text ? int(std::strlen(text)) : 0); }

void String::Assign(const char* text, int length)
{
    if (text == nullptr || length < 0)
        length = 0;
    SetConcatenation(text ? text : "", length, "", 0);
}

void String::Append(const char* text)
{
    if (text != nullptr)
        Append(text, int(std::strlen(text)));
}

void String::Append(const char* text, int length)
{
    if (text == nullptr || length <= 0)
        return;
    SetConcatenation(GetText(), m_length, text, length);
}

void String::AppendChar(char character)
{
    if (character != '\0')
        Append(&character, 1);
}

void String::AppendFormatV(const char* format, va_list arguments)
{
    char firstBuffer[4096];
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
        if (large == nullptr)
            std::abort();
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

void String::Format(const char* format, ...)
{
    String result;
    va_list arguments;
    va_start(arguments, format);
    result.AppendFormatV(format, arguments);
    va_end(arguments);
    *this = static_cast<String&&>(result);
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
    return std::strcmp(GetText(), other) == 0 && std::strlen(other) == size_t(m_length);
}
