#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "filesystem/http_url.h"

namespace {

// A request line must never receive a control byte, a space or a byte above 127.
void CheckRequestable(const HttpUrl& url)
{
    const char* path = url.path.GetText();
    if (path[0] != '/') std::abort();
    for (const char* cursor = path; *cursor != '\0'; ++cursor) {
        const unsigned char byte = static_cast<unsigned char>(*cursor);
        if (byte <= 0x20 || byte >= 0x7f || byte == '#') std::abort();
    }
    if (url.port < 1 || url.port > 65535 || url.host.IsEmpty() || url.host.GetLength() > 255) std::abort();
}

}  // namespace

// The input (up to its first zero byte) is a redirect's Location header,
// resolved against a fixed request, and also a URL parsed on its own.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string location = text.substr(0, text.find('\0'));
    HttpUrl base;
    if (!HVI_ParseHttpUrl("http://example.com:8080/folder/page?x=1", base)) std::abort();
    HttpUrl next;
    if (HVI_ResolveHttpLocation(base, location.c_str(), next)) CheckRequestable(next);
    HttpUrl parsed;
    if (HVI_ParseHttpUrl(location.c_str(), parsed)) {
        CheckRequestable(parsed);
        HttpUrl again;
        if (!HVI_ParseHttpUrl(HVI_FormatHttpUrl(parsed).GetText(), again) || !(again.host == parsed.host) ||
            again.port != parsed.port || !(again.path == parsed.path))
            std::abort();
    }
    return 0;
}
