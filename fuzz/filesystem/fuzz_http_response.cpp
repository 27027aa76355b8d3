#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "filesystem/http_response_parser.h"

// Parses the input as bytes received so far and as a closed connection, and
// checks that a complete response never claims bytes beyond the input.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const bool closed : {false, true}) {
        HttpResponse response;
        const HttpParseState state = HVI_ParseHttpResponse(data, int64_t(size), closed, response);
        if (state == HttpParseState::Complete && (response.headerSize < 0 || response.bodySize < 0 ||
                                                  int64_t(response.headerSize) + response.bodySize > int64_t(size)))
            std::abort();
        if (state == HttpParseState::Complete && response.contentLength >= 0 && response.status != 204 &&
            response.status != 304 && response.bodySize != response.contentLength)
            std::abort();
    }
    return 0;
}
