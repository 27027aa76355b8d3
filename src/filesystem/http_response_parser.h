#pragma once

#include <cstdint>

#include "foundation/string.h"

// Reads an HTTP/1.0 or HTTP/1.1 response from the bytes received so far: the
// status line, the header lines and the body, which runs for Content-Length
// bytes or, without that header, until the server closes the connection.

enum class HttpParseState {
    NeedMore,   // the response is not complete yet; receive more
    Complete,   // status, headers and the whole body are there
    Malformed,  // the bytes cannot be a valid response (see the error text)
};

struct HttpResponse {
    int status = 0;
    int64_t contentLength = -1;  // -1 when the response did not announce one
    String location;             // the Location header, empty when absent
    int32_t headerSize = 0;      // bytes of the status line, headers and blank line
    int64_t bodySize = 0;        // bytes of the body; set when Complete
    const char* error = "";      // why the response is Malformed
};

// The largest head and body this client accepts.
constexpr int32_t kMaxHttpHeadSize = 16 * 1024;
constexpr int64_t kMaxHttpBodySize = 256ll * 1024 * 1024;

// Parses data[0..size). closed tells that the server has closed the
// connection, so no more bytes will come. A body shorter than its
// Content-Length is Malformed once the connection is closed; bytes after the
// announced length are not part of the body.
HttpParseState HVI_ParseHttpResponse(const uint8_t* data, int64_t size, bool closed, HttpResponse& out);
