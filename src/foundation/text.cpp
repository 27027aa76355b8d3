#include "foundation/text.h"

#include <cstdlib>
#include <cstring>

bool HVI_EndsWith(const char* text, const char* suffix)
{
    if (text == nullptr || suffix == nullptr) return false;
    const size_t textLength = std::strlen(text);
    const size_t suffixLength = std::strlen(suffix);
    return suffixLength <= textLength && std::memcmp(text + textLength - suffixLength, suffix, suffixLength) == 0;
}

String HVI_GetDirectoryPart(const char* path)
{
    String directory;
    const char* lastSlash = path ? std::strrchr(path, '/') : nullptr;
    if (lastSlash != nullptr) directory.Assign(path, int(lastSlash - path));
    return directory;
}

String HVI_NormalizePath(const char* path)
{
    String result(path);
    int searchFrom = 0;
    for (;;) {
        const char* text = result.GetText();
        const char* up = std::strstr(text + searchFrom, "/../");
        if (up == nullptr) return result;
        // The segment before "/../" starts after the previous '/', or at the start.
        const char* segmentStart = up;
        while (segmentStart > text && segmentStart[-1] != '/') --segmentStart;
        const int segmentLength = int(up - segmentStart);
        if (segmentLength == 0 || (segmentLength == 2 && segmentStart[0] == '.' && segmentStart[1] == '.')) {
            // Nothing to climb out of: keep this "/../" and look further on.
            searchFrom = int(up - text) + 1;
            continue;
        }
        String next;
        next.Assign(text, int(segmentStart - text));
        next.Append(up + 4);
        result = next;
        searchFrom = segmentStart - text > 0 ? int(segmentStart - text) - 1 : 0;
    }
}

char* HVI_GetToken(const char* text, char separator, int index, char* buffer, int bufferSize)
{
    if (text == nullptr || buffer == nullptr || index < 0 || bufferSize <= 0) return nullptr;
    const char* field = text;
    for (int i = 0; i < index; ++i) {
        // A separator that ends the text makes every later field empty.
        if (field != text && *field == '\0') break;
        const char* next = std::strchr(field, separator);
        if (next == nullptr) return nullptr;
        field = next + 1;
    }
    const char* end = std::strchr(field, separator);
    const size_t length = end ? size_t(end - field) : std::strlen(field);
    if (length + 1 > size_t(bufferSize)) return nullptr;
    std::memcpy(buffer, field, length);
    buffer[length] = '\0';
    return buffer;
}

char* HVI_StrDup(const char* text)
{
    if (text == nullptr) text = "";
    const size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(std::malloc(size));
    if (copy != nullptr) std::memcpy(copy, text, size);
    return copy;
}

uint32_t HVI_HashName(const char* name)
{
    uint32_t hash = 0;
    if (name == nullptr) return hash;
    for (const unsigned char* byte = reinterpret_cast<const unsigned char*>(name); *byte != 0; ++byte)
        hash = hash * 37 + *byte;
    return hash;
}
