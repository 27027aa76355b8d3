#include <gtest/gtest.h>

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

}  // namespace

TEST(HttpResponseParser, BodyRunsForItsContentLength)
{
    const std::string bytes = "HTTP/1.0 200 OK\r\nContent-Length: 5\r\nServer: x\r\n\r\nhello";
    HttpResponse response;
    ASSERT_EQ(Parse(bytes, false, response), HttpParseState::Complete);
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.contentLength, 5);
    EXPECT_EQ(response.headerSize, 49);
    EXPECT_EQ(BodyOf(bytes, response), "hello");
}

TEST(HttpResponseParser, BytesAfterTheContentLengthAreNotBody)
{
    const std::string bytes = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhello";
    HttpResponse response;
    ASSERT_EQ(Parse(bytes, true, response), HttpParseState::Complete);
    EXPECT_EQ(BodyOf(bytes, response), "he");
}

TEST(HttpResponseParser, BodyShorterThanContentLengthWaitsThenFails)
{
    const std::string bytes = "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nhello";
    HttpResponse response;
    EXPECT_EQ(Parse(bytes, false, response), HttpParseState::NeedMore);
    ASSERT_EQ(Parse(bytes, true, response), HttpParseState::Malformed);
    EXPECT_STREQ(response.error, "the body is shorter than its Content-Length");
}

TEST(HttpResponseParser, WithoutContentLengthTheBodyRunsToClose)
{
    const std::string bytes = "HTTP/1.0 200 OK\r\n\r\nall of this";
    HttpResponse response;
    EXPECT_EQ(Parse(bytes, false, response), HttpParseState::NeedMore);
    ASSERT_EQ(Parse(bytes, true, response), HttpParseState::Complete);
    EXPECT_EQ(response.contentLength, -1);
    EXPECT_EQ(BodyOf(bytes, response), "all of this");
}

TEST(HttpResponseParser, IncompleteHeadNeedsMoreUntilClosed)
{
    HttpResponse response;
    EXPECT_EQ(Parse("", false, response), HttpParseState::NeedMore);
    EXPECT_EQ(Parse("HTTP/1.0 200 OK\r\nContent-Len", false, response), HttpParseState::NeedMore);
    EXPECT_EQ(Parse("HTTP/1.0 200 OK\r\n\r", false, response), HttpParseState::NeedMore);
    ASSERT_EQ(Parse("HTTP/1.0 200 OK\r\n", true, response), HttpParseState::Malformed);
    EXPECT_STREQ(response.error, "the connection closed before the end of the head");
    EXPECT_EQ(Parse("", true, response), HttpParseState::Malformed);
}

TEST(HttpResponseParser, HeaderNamesIgnoreCaseAndValuesLoseSurroundingSpace)
{
    const std::string bytes = "HTTP/1.0 302 Found\r\nLOCATION: \t/next?a=1 \r\ncontent-length:0\r\n\r\n";
    HttpResponse response;
    ASSERT_EQ(Parse(bytes, false, response), HttpParseState::Complete);
    EXPECT_EQ(response.status, 302);
    EXPECT_STREQ(response.location.GetText(), "/next?a=1");
    EXPECT_EQ(response.bodySize, 0);
}

TEST(HttpResponseParser, StatusWithoutReasonIsAccepted)
{
    HttpResponse response;
    ASSERT_EQ(Parse("HTTP/1.0 404\r\nContent-Length: 0\r\n\r\n", false, response), HttpParseState::Complete);
    EXPECT_EQ(response.status, 404);
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
        EXPECT_STREQ(response.error, "the Content-Length is invalid or too large") << length;
    }
    HttpResponse response;
    EXPECT_EQ(Parse("HTTP/1.0 200 OK\r\nContent-Length: 268435456\r\n\r\n", false, response), HttpParseState::NeedMore);
}

TEST(HttpResponseParser, TwoDifferentContentLengthsAreRefusedAndEqualOnesAccepted)
{
    HttpResponse response;
    EXPECT_EQ(Parse("HTTP/1.0 200 OK\r\nContent-Length: 1\r\nContent-Length: 3\r\n\r\nabc", true, response),
              HttpParseState::Malformed);
    ASSERT_EQ(Parse("HTTP/1.0 200 OK\r\nContent-Length: 3\r\nContent-Length: 3\r\n\r\nabc", true, response),
              HttpParseState::Complete);
    EXPECT_EQ(response.bodySize, 3);
}

TEST(HttpResponseParser, NoContentAndNotModifiedHaveNoBody)
{
    HttpResponse response;
    ASSERT_EQ(Parse("HTTP/1.0 204 No Content\r\nContent-Length: 10\r\n\r\n", false, response),
              HttpParseState::Complete);
    EXPECT_EQ(response.bodySize, 0);
    ASSERT_EQ(Parse("HTTP/1.0 304 Not Modified\r\n\r\n", false, response), HttpParseState::Complete);
    EXPECT_EQ(response.bodySize, 0);
}

TEST(HttpResponseParser, HeadLargerThanTheLimitIsRefused)
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
}

TEST(HttpResponseParser, FirstLocationWins)
{
    HttpResponse response;
    ASSERT_EQ(Parse("HTTP/1.0 301 Moved\r\nLocation: /a\r\nLocation: /b\r\n\r\n", true, response),
              HttpParseState::Complete);
    EXPECT_STREQ(response.location.GetText(), "/a");
}
