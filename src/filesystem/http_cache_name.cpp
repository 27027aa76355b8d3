#include "filesystem/http_cache_name.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int kMaxTailLength = 64;

uint64_t HashFnv1a64(const char* text)
{
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char* cursor = reinterpret_cast<const unsigned char*>(text); *cursor != 0; ++cursor) {
        hash ^= *cursor;
        hash *= 1099511628211ull;
    }
    return hash;
}

bool IsKeptCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == '_';
}

}  // namespace

String HVI_GetHttpCacheFileName(const char* url)
{
    if (url == nullptr) url = "";
    const char* end = url + std::strcspn(url, "?#");
    const char* tail = end;
    while (tail > url && tail[-1] != '/') --tail;
    if (tail - url <= 7)  // nothing after "http://host" but the host itself
        tail = end;
    String name = String::Formatted("http-%016llx-", static_cast<unsigned long long>(HashFnv1a64(url)));
    if (tail == end) name.Append("index");
    for (const char* cursor = tail; cursor < end && cursor - tail < kMaxTailLength; ++cursor)
        name.AppendChar(IsKeptCharacter(*cursor) ? *cursor : '_');
    return name;
}
