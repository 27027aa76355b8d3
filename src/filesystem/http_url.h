#pragma once

#include "foundation/string.h"

// The parts of an "http://" URL that a request needs.
struct HttpUrl {
    String host;  // a name or dotted address, at most 255 characters
    int port = 80;
    String path;  // the request target: begins with '/', may hold a query, never a fragment
};

// Splits "http://host[:port][/path][?query][#fragment]". False for another
// scheme, user information, an empty or over-long host, a port outside
// 1..65535, or any byte that may not stand in a request line (controls,
// spaces, bytes above 127; they must be percent-encoded).
bool HVI_ParseHttpUrl(const char* url, HttpUrl& out);

// The URL that a redirect's Location leads to: an absolute "http://" URL, a
// scheme-relative "//host/path", an absolute path "/path", or a path relative
// to the folder of the base's path. False when the result is not a valid
// "http://" URL (for example "https://", which this client cannot fetch).
bool HVI_ResolveHttpLocation(const HttpUrl& base, const char* location, HttpUrl& out);

// The URL as text: "http://host[:port]/path" (the port only when not 80).
String HVI_FormatHttpUrl(const HttpUrl& url);
