#include "filesystem/http_url.h"

#include <cstring>

namespace {

constexpr int kMaxHostLength = 255;
constexpr char kHttpPrefix[] = "http://";
constexpr int kHttpPrefixLength = sizeof(kHttpPrefix) - 1;

bool IsHostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Bytes that may stand in a request line unencoded.
bool IsRequestTargetByte(char c)
{
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7f;
}

bool ParsePort(const char* text, int length, int& port)
{
    if (length < 1 || length > 5) return false;
    int value = 0;
    for (int i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    if (value < 1 || value > 65535) return false;
    port = value;
    return true;
}

// The request target: the path with its query, without the fragment; "/" when empty.
bool ParseTarget(const char* text, String& path)
{
    path.Clear();
    if (*text != '\0' && *text != '/' && *text != '?' && *text != '#') return false;
    if (*text != '/') path.AppendChar('/');
    for (; *text != '\0' && *text != '#'; ++text) {
        if (!IsRequestTargetByte(*text)) return false;
        path.AppendChar(*text);
    }
    for (; *text != '\0'; ++text) {
        if (!IsRequestTargetByte(*text)) return false;
    }
    return true;
}

}  // namespace

bool HVI_ParseHttpUrl(const char* url, HttpUrl& out)
{
    if (url == nullptr || std::strncmp(url, kHttpPrefix, kHttpPrefixLength) != 0) return false;
    const char* host = url + kHttpPrefixLength;
    int hostLength = 0;
    while (IsHostCharacter(host[hostLength])) ++hostLength;
    if (hostLength == 0 || hostLength > kMaxHostLength) return false;
    const char* cursor = host + hostLength;
    int port = 80;
    if (*cursor == ':') {
        const char* portText = cursor + 1;
        int portLength = 0;
        while (portText[portLength] >= '0' && portText[portLength] <= '9') ++portLength;
        if (!ParsePort(portText, portLength, port)) return false;
        cursor = portText + portLength;
    }
    String path;
    if (!ParseTarget(cursor, path)) return false;
    out.host.Assign(host, hostLength);
    out.port = port;
    out.path = path;
    return true;
}

bool HVI_ResolveHttpLocation(const HttpUrl& base, const char* location, HttpUrl& out)
{
    if (location == nullptr || *location == '\0') return false;
    if (std::strncmp(location, kHttpPrefix, kHttpPrefixLength) == 0) return HVI_ParseHttpUrl(location, out);
    if (location[0] == '/' && location[1] == '/')
        return HVI_ParseHttpUrl(String::Formatted("http:%s", location).GetText(), out);
    // Another scheme ("https://", "ftp:") is not a relative path.
    for (const char* cursor = location; *cursor != '\0' && *cursor != '/' && *cursor != '?'; ++cursor) {
        if (*cursor == ':') return false;
    }
    String target;
    if (location[0] != '/') {
        const char* path = base.path.GetText();
        const char* lastSlash = std::strrchr(path, '/');
        const char* query = std::strchr(path, '?');
        // The folder of the path is found before any query.
        if (query != nullptr) {
            lastSlash = nullptr;
            for (const char* cursor = path; cursor < query; ++cursor) {
                if (*cursor == '/') lastSlash = cursor;
            }
        }
        target.Assign(path, lastSlash ? int(lastSlash - path) + 1 : 0);
    }
    target.Append(location);
    String path;
    if (!ParseTarget(target.GetText(), path)) return false;
    out.host = base.host;
    out.port = base.port;
    out.path = path;
    return true;
}

String HVI_FormatHttpUrl(const HttpUrl& url)
{
    if (url.port == 80) return String::Formatted("http://%s%s", url.host.GetText(), url.path.GetText());
    return String::Formatted("http://%s:%d%s", url.host.GetText(), url.port, url.path.GetText());
}
