#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The engine's text value. Text of up to 14 characters lives in the inline
// buffer; longer text lives in a heap block. Assigned and copied text gets a
// block of exactly length + 1 bytes; appending grows the block with room to
// spare (at least doubling it), so that text built piece by piece costs time
// linear in its length. The pointer stays null until text is first assigned.
class String {
public:
    String() = default;
    String(const char* text);  // NOLINT: implicit, as text literals are passed everywhere
    String(const String& other);
    String(String&& other) noexcept;
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    String& operator=(const char* text);
    ~String();

    // A null text gives the empty string.
    void Assign(const char* text);
    void Assign(const char* text, int length);
    void Append(const char* text) { Append(text, text != nullptr ? int(std::strlen(text)) : 0); }
    // Text that fits the block is copied in place; text is mostly built by short appends.
    void Append(const char* text, int length)
    {
        if (text != nullptr && length > 0 && m_text != nullptr && length <= Room() - m_length) {
            std::memcpy(m_text + m_length, text, size_t(length));
            m_length += length;
            m_text[m_length] = '\0';
        } else {
            AppendGrowing(text, length);
        }
    }
    // A zero character is ignored.
    void AppendChar(char character)
    {
        if (character == '\0') return;
        if (m_text != nullptr && m_length < Room()) {
            m_text[m_length++] = character;
            m_text[m_length] = '\0';
        } else {
            Append(&character, 1);
        }
    }
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
    static String Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
    void AppendFormatV(const char* format, __builtin_va_list arguments);
    void Clear();

    // Never null: the empty text while nothing was assigned.
    const char* GetText() const { return m_text ? m_text : ""; }
    int GetLength() const { return m_length; }
    // Bytes of the block holding the text: 16 inline, at least length + 1 on the heap.
    int GetCapacity() const { return m_capacity; }
    bool IsEmpty() const { return m_length == 0; }
    char operator[](int index) const { return GetText()[index]; }

    bool operator==(const String& other) const;
    bool operator==(const char* text) const;

private:
    static constexpr int kInlineCapacity = 16;
    static constexpr int kInlineMaxLength = 14;

    bool IsInline() const { return m_text == m_inline; }
    // The longest text the present block holds.
    int Room() const { return IsInline() ? kInlineMaxLength : m_capacity - 1; }
    // Takes the other string's text and leaves it empty; the other is not this.
    void TakeFrom(String& other);
    void ReleaseHeapBlock();
    // Append for text that does not fit the present block (or a string without one).
    void AppendGrowing(const char* text, int length);

    char* m_text = nullptr;
    char m_inline[kInlineCapacity] = {};
    int32_t m_capacity = 0;
    int32_t m_length = 0;
};
