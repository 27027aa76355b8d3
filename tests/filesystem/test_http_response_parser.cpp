#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "filesystem/http_response_parser.h"

namespace {

HttpParseState Parse(const std::string& bytes, bool closed, HttpResponse& response)
{
    return HVI_ParseHttpResponse(reinterpret_cast<const uint8_t*>(bytes.data()), int64_t(bytes.size()), closed,
                                 response);
}

std::string BodyOf(const std::string& bytes, const HttpResponse& response)
{
    return bytes.substr(size_t(response.headerSize), size_t(response.bodySize));
}

struct ResponseCase {
    const char* bytes;
    bool closed;  // the server has closed the connection
    HttpParseState state;
    int status;                 // when Complete
    const char* bodyOrError;    // the body when Complete, the reason when Malformed
    const char* location = "";  // when Complete
};

constexpr HttpParseState kNeedMore = HttpParseState::NeedMore;
constexpr HttpParseState kComplete = HttpParseState::Complete;
constexpr HttpParseState kMalformed = HttpParseState::Malformed;
constexpr const char* kHeadCutShort = "the connection closed before the end of the head";
constexpr const char* kBadLength = "the Content-Length is invalid or too large";

constexpr ResponseCase kResponseCases[] = {
    // The body runs for its Content-Length, and bytes after it are not body.
    {"HTTP/1.0 200 OK\r\nContent-Length: 5\r\nServer: x\r\n\r\nhello", false, kComplete, 200, "hello"},
    {"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhello", true, kComplete, 200, "he"},
    // A shorter body waits for more, then fails once the connection closes.
    {"HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nhello", false, kNeedMore, 0, ""},
    {"HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nhello", true, kMalformed, 0,
     "the body is shorter than its Content-Length"},
    // Without a Content-Length the body runs until the connection closes.
    {"HTTP/1.0 200 OK\r\n\r\nall of this", false, kNeedMore, 0, ""},
    {"HTTP/1.0 200 OK\r\n\r\nall of this", true, kComplete, 200, "all of this"},
    // An incomplete head needs more until the connection closes.
    {"", false, kNeedMore, 0, ""},
    {"HTTP/1.0 200 OK\r\nContent-Len", false, kNeedMore, 0, ""},
    {"HTTP/1.0 200 OK\r\n\r", false, kNeedMore, 0, ""},
    {"HTTP/1.0 200 OK\r\n", true, kMalformed, 0, kHeadCutShort},
    {"", true, kMalformed, 0, kHeadCutShort},
    // Header names ignore case, values lose their surrounding space, the first Location wins.
    {"HTTP/1.0 302 Found\r\nLOCATION: \t/next?a=1 \r\ncontent-length:0\r\n\r\n", false, kComplete, 302, "",
     "/next?a=1"},
    {"HTTP/1.0 301 Moved\r\nLocation: /a\r\nLocation: /b\r\n\r\n", true, kComplete, 301, "", "/a"},
    {"HTTP/1.0 404\r\nContent-Length: 0\r\n\r\n", false, kComplete, 404, ""},  // no reason phrase
    // Two Content-Lengths must agree; the largest body is 256 MB.
    {"HTTP/1.0 200 OK\r\nContent-Length: 1\r\nContent-Length: 3\r\n\r\nabc", true, kMalformed, 0, kBadLength},
    {"HTTP/1.0 200 OK\r\nContent-Length: 3\r\nContent-Length: 3\r\n\r\nabc", true, kComplete, 200, "abc"},
    {"HTTP/1.0 200 OK\r\nContent-Length: 268435456\r\n\r\n", false, kNeedMore, 0, ""},
    // No Content and Not Modified have no body.
    {"HTTP/1.0 204 No Content\r\nContent-Length: 10\r\n\r\n", false, kComplete, 204, ""},
    {"HTTP/1.0 304 Not Modified\r\n\r\n", false, kComplete, 304, ""},
};

}  // namespace

TEST(HttpResponseParser, ResponsesAreCompleteNeedMoreOrAreMalformedWithTheirReason)
{
    for (const ResponseCase& c : kResponseCases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.bytes)) + (c.closed ? ", closed" : ", open"));
        HttpResponse response;
        EXPECT_EQ(Parse(c.bytes, c.closed, response), c.state);
        if (c.state == kComplete) {
            EXPECT_EQ(response.status, c.status);
            EXPECT_EQ(BodyOf(c.bytes, response), c.bodyOrError);
            EXPECT_STREQ(response.location.GetText(), c.location);
        } else if (c.state == kMalformed) {
            EXPECT_STREQ(response.error, c.bodyOrError);
        }
    }
}

TEST(HttpResponseParser, HeadsThatCannotBeReadAreRefusedWithTheirReason)
{
    const struct {
        const char* error;
        bool closed;
        std::vector<const char*> heads;
    } groups[] = {
        {"the status line is invalid",
         true,
         {"HTTP/1.0 20 OK\r\n\r\n", "HTTP/1.0 2000 OK\r\n\r\n", "HTTP/1.0 099 X\r\n\r\n", "HTTP/1.0 600 X\r\n\r\n",
          "HTTP/1.0  200 OK\r\n\r\n", "ICY 200 OK\r\n\r\n", "HTTP/x.0 200 OK\r\n\r\n", "\r\n\r\n",
          "HTTP/1.0 200 O\nK\r\n\r\n"}},
        {"a header line is invalid",
         true,
         {"HTTP/1.0 200 OK\r\nNoColon\r\n\r\n", "HTTP/1.0 200 OK\r\n: empty name\r\n\r\n",
          "HTTP/1.0 200 OK\r\nBad Name: x\r\n\r\n", "HTTP/1.0 200 OK\r\n folded: x\r\n\r\n",
          "HTTP/1.0 200 OK\r\nA: b\nContent-Length: 1\r\n\r\n"}},
        {"a transfer encoding is not supported by HTTP/1.0",
         true,
         {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n"}},
        {"an informational status is not expected", false, {"HTTP/1.1 100 Continue\r\n\r\n"}},
    };
    for (const auto& group : groups) {
        for (const char* head : group.heads) {
            HttpResponse response;
            EXPECT_EQ(Parse(head, group.closed, response), HttpParseState::Malformed) << head;
            EXPECT_STREQ(response.error, group.error) << head;
        }
    }
}

TEST(HttpResponseParser, ContentLengthMustBeOneDecimalNumberWithinTheLimit)
{
    for (const char* length : {"-1", "1x", "", "0x10", "268435457", "99999999999999999999999", "1 2"}) {
        const std::string head = std::string("HTTP/1.0 200 OK\r\nContent-Length: ") + length + "\r\n\r\n";
        HttpResponse response;
        EXPECT_EQ(Parse(head, true, response), HttpParseState::Malformed) << length;
        EXPECT_STREQ(response.error, kBadLength) << length;
    }
}

TEST(HttpResponseParser, HeadAndBodyLargerThanTheirLimitsAreRefused)
{
    std::string bytes = "HTTP/1.0 200 OK\r\nX-Pad: " + std::string(kMaxHttpHeadSize, 'a');
    HttpResponse response;
    ASSERT_EQ(Parse(bytes, false, response), HttpParseState::Malformed);
    EXPECT_STREQ(response.error, "the head is larger than 16384 bytes");
    // A head that ends exactly at the limit is fine.
    std::string fits = "HTTP/1.0 200 OK\r\nX-Pad: ";
    fits += std::string(size_t(kMaxHttpHeadSize) - fits.size() - 4, 'a') + "\r\n\r\n";
    ASSERT_EQ(fits.size(), size_t(kMaxHttpHeadSize));
    EXPECT_EQ(Parse(fits, true, response), HttpParseState::Complete);
    // A body without a length may reach the limit but not pass it. calloc leaves the pages
    // past the head untouched, so the 256 MB cost no memory.
    const std::string head = "HTTP/1.0 200 OK\r\n\r\n";
    const int64_t size = int64_t(head.size()) + kMaxHttpBodySize + 1;
    std::unique_ptr<uint8_t, decltype(&std::free)> big(static_cast<uint8_t*>(std::calloc(size_t(size), 1)), &std::free);
    ASSERT_NE(big, nullptr);
    std::memcpy(big.get(), head.data(), head.size());
    EXPECT_EQ(HVI_ParseHttpResponse(big.get(), size - 1, false, response), HttpParseState::NeedMore);
    ASSERT_EQ(HVI_ParseHttpResponse(big.get(), size, false, response), HttpParseState::Malformed);
    EXPECT_STREQ(response.error, "the body is larger than this client accepts");
}
