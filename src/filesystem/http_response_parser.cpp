#include "filesystem/http_response_parser.h"

#include <cstring>

namespace {

// Why a response is refused; the client puts these into its log lines.
constexpr const char* kHeadTooLarge = "the head is larger than 16384 bytes";
constexpr const char* kHeadCutShort = "the connection closed before the end of the head";
constexpr const char* kBadStatusLine = "the status line is invalid";
constexpr const char* kBadHeaderLine = "a header line is invalid";
constexpr const char* kBadContentLength = "the Content-Length is invalid or too large";
constexpr const char* kTransferEncoding = "a transfer encoding is not supported by HTTP/1.0";
constexpr const char* kInformational = "an informational status is not expected";
constexpr const char* kBodyCutShort = "the body is shorter than its Content-Length";
constexpr const char* kBodyTooLarge = "the body is larger than this client accepts";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Header names are tokens: visible characters except separators.
bool IsTokenCharacter(char c)
{
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7f && std::strchr("()<>@,;:\\\"/[]?={}", c) == nullptr;
}

bool EqualsIgnoringCase(const char* text, int length, const char* lowerCaseWord)
{
    if (int(std::strlen(lowerCaseWord)) != length) return false;
    for (int i = 0; i < length; ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != lowerCaseWord[i]) return false;
    }
    return true;
}

// The offset just past the blank line that ends the head, or -1.
int32_t FindEndOfHead(const char* data, int32_t size)
{
    for (int32_t i = 0; i + 3 < size; ++i) {
        if (data[i] == '\r' && data[i + 1] == '\n' && data[i + 2] == '\r' && data[i + 3] == '\n') return i + 4;
    }
    return -1;
}

// "HTTP/<digit>.<digit> <three digits>[ <reason>]"
bool ParseStatusLine(const char* line, int length, int& status)
{
    if (length < 12 || std::strncmp(line, "HTTP/", 5) != 0 || !IsDigit(line[5]) || line[6] != '.' ||
        !IsDigit(line[7]) || line[8] != ' ' || !IsDigit(line[9]) || !IsDigit(line[10]) || !IsDigit(line[11]))
        return false;
    if (length > 12 && line[12] != ' ') return false;
    for (int i = 13; i < length; ++i) {
        if (line[i] != '\t' && (static_cast<unsigned char>(line[i]) < 0x20 || line[i] == 0x7f)) return false;
    }
    status = (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
    return status >= 100 && status <= 599;
}

bool ParseContentLength(const char* value, int length, int64_t& contentLength)
{
    if (length < 1) return false;
    int64_t parsed = 0;
    for (int i = 0; i < length; ++i) {
        if (!IsDigit(value[i])) return false;
        parsed = parsed * 10 + (value[i] - '0');
        if (parsed > kMaxHttpBodySize) return false;
    }
    if (contentLength >= 0 && contentLength != parsed)
        return false;  // two different lengths: which one is right cannot be known
    contentLength = parsed;
    return true;
}

// One "Name: value" line; the value loses its surrounding spaces and tabs.
const char* ParseHeaderLine(const char* line, int length, HttpResponse& out)
{
    int nameLength = 0;
    while (nameLength < length && IsTokenCharacter(line[nameLength])) ++nameLength;
    if (nameLength == 0 || nameLength == length || line[nameLength] != ':') return kBadHeaderLine;
    int begin = nameLength + 1;
    int end = length;
    while (begin < end && (line[begin] == ' ' || line[begin] == '\t')) ++begin;
    while (end > begin && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
    for (int i = begin; i < end; ++i) {
        if (line[i] != '\t' && (static_cast<unsigned char>(line[i]) < 0x20 || line[i] == 0x7f)) return kBadHeaderLine;
    }
    const char* value = line + begin;
    const int valueLength = end - begin;
    if (EqualsIgnoringCase(line, nameLength, "content-length")) {
        if (!ParseContentLength(value, valueLength, out.contentLength)) return kBadContentLength;
    } else if (EqualsIgnoringCase(line, nameLength, "transfer-encoding")) {
        if (!EqualsIgnoringCase(value, valueLength, "identity")) return kTransferEncoding;
    } else if (EqualsIgnoringCase(line, nameLength, "location") && out.location.IsEmpty()) {
        out.location.Assign(value, valueLength);
    }
    return nullptr;
}

HttpParseState Fail(HttpResponse& out, const char* error)
{
    out.error = error;
    return HttpParseState::Malformed;
}

// Status line and headers of the head data[0..headSize), which ends in "\r\n\r\n".
HttpParseState ParseHead(const char* data, int32_t headSize, HttpResponse& out)
{
    const int32_t linesEnd = headSize - 2;  // the blank line's "\r\n" stays out
    int32_t lineStart = 0;
    bool first = true;
    while (lineStart < linesEnd) {
        int32_t lineEnd = lineStart;
        while (lineEnd + 1 < linesEnd + 2 && !(data[lineEnd] == '\r' && data[lineEnd + 1] == '\n')) ++lineEnd;
        const char* line = data + lineStart;
        const int length = int(lineEnd - lineStart);
        // A bare CR or LF inside a line would let one header hide another.
        if (std::memchr(line, '\n', size_t(length)) != nullptr || std::memchr(line, '\r', size_t(length)) != nullptr)
            return Fail(out, first ? kBadStatusLine : kBadHeaderLine);
        if (first) {
            if (!ParseStatusLine(line, length, out.status)) return Fail(out, kBadStatusLine);
            first = false;
        } else if (const char* error = ParseHeaderLine(line, length, out)) {
            return Fail(out, error);
        }
        lineStart = lineEnd + 2;
    }
    if (out.status < 200) return Fail(out, kInformational);
    return HttpParseState::Complete;
}

}  // namespace

HttpParseState HVI_ParseHttpResponse(const uint8_t* data, int64_t size, bool closed, HttpResponse& out)
{
    out = HttpResponse();
    if (data == nullptr || size < 0) size = 0;
    const char* text = reinterpret_cast<const char*>(data);
    const int32_t searched = size < kMaxHttpHeadSize ? int32_t(size) : kMaxHttpHeadSize;
    const int32_t headSize = searched > 0 ? FindEndOfHead(text, searched) : -1;
    if (headSize < 0) {
        if (size >= kMaxHttpHeadSize) return Fail(out, kHeadTooLarge);
        return closed ? Fail(out, kHeadCutShort) : HttpParseState::NeedMore;
    }
    if (ParseHead(text, headSize, out) == HttpParseState::Malformed) return HttpParseState::Malformed;
    out.headerSize = headSize;
    const int64_t received = size - headSize;
    // These answers carry no body whatever their headers say.
    if (out.status == 204 || out.status == 304) {
        out.bodySize = 0;
        return HttpParseState::Complete;
    }
    if (out.contentLength >= 0) {
        if (received >= out.contentLength) {
            out.bodySize = out.contentLength;
            return HttpParseState::Complete;
        }
        return closed ? Fail(out, kBodyCutShort) : HttpParseState::NeedMore;
    }
    if (received > kMaxHttpBodySize) return Fail(out, kBodyTooLarge);
    if (!closed) return HttpParseState::NeedMore;
    out.bodySize = received;
    return HttpParseState::Complete;
}
