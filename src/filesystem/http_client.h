#pragma once

#include "foundation/byte_buffer.h"
#include "foundation/string.h"

// The engine's HTTP/1.0 client: GET over Winsock, following redirects.

struct HttpGetResult {
    int status = 0;   // the last status received, 0 when none
    ByteBuffer body;  // the body of a successful answer
    String url;       // the URL that gave the last answer, after redirects
};

// The most redirects (301, 302, 303, 307) that one request follows.
constexpr int kMaxHttpRedirects = 5;

// Fetches the URL. True only for a complete answer with a 2xx status; every
// failure (bad URL, no connection, timeout, invalid or cut-short response,
// too many redirects, another status) is logged and gives false.
bool HVI_HttpGet(const char* url, HttpGetResult& out);

// How long connecting, and each wait for bytes, may take (defaults 10 s and
// 30 s); values below 1 ms are raised to 1 ms.
void HVI_SetHttpTimeouts(int connectMilliseconds, int receiveMilliseconds);

// The three texts of "User-Agent: Mozilla/5.0 (%s/%s; %s)": product, its
// version and the platform (defaults "Halvo", "15.30.00", "Windows").
void HVI_SetHttpUserAgent(const char* product, const char* version, const char* platform);
