#pragma once

// The engine interface's two HTTP requests over the engine's HTTP/1.0
// client, which speaks GET: the answer's body in a blob, or written to a file.

#include <halvo/core.h>

// The status of the last answer (0 when none came); on a 2xx answer the body
// is handed back in a blob the caller frees. The client keeps no response
// headers, so *responseHeaders is always null. Methods other than GET and
// request bodies are refused.
int32_t HV_HttpRequest(const char* method, const char* url, const char* headers, const HV_Blob* body,
                       HV_Blob** responseHeaders, HV_Blob** responseBody);
// As above, with the body written to the file at path (replaced only when
// complete).
int32_t HV_HttpRequestToFile(const char* method, const char* url, const char* headers, const HV_Blob* body,
                             const char* path);
