#include <gtest/gtest.h>

#include <string>

#include "filesystem/http_client.h"
#include "http_test_server.h"
#include "support/log_capture.h"

namespace {

std::string BodyText(const HttpGetResult& result)
{
    return std::string(reinterpret_cast<const char*>(result.body.GetData()), size_t(result.body.GetSize()));
}

class HttpClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        HVI_SetHttpTimeouts(2000, 2000);
        HVI_SetHttpUserAgent("Halvo", "15.30.00", "Windows");
    }
    void TearDown() override { HVI_SetHttpTimeouts(10000, 30000); }

    LogCapture m_log;
};

}  // namespace

TEST_F(HttpClient, GetsTheBodyAndSendsAnHttp10Request)
{
    HttpTestServer server([](const std::string&) { return "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello"; });
    HVI_SetHttpUserAgent("Demo", "1.2", "Windows NT");
    HttpGetResult result;
    ASSERT_TRUE(HVI_HttpGet(server.Url("/hello.txt?a=1").c_str(), result));
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(BodyText(result), "hello");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], "GET /hello.txt?a=1 HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) +
                               "\r\nUser-Agent: Mozilla/5.0 (Demo/1.2; Windows NT)\r\n\r\n");
}

TEST_F(HttpClient, BodyWithoutLengthRunsUntilTheServerCloses)
{
    const std::string big(100000, 'z');
    HttpTestServer server([&](const std::string&) { return "HTTP/1.0 200 OK\r\n\r\n" + big; });
    HttpGetResult result;
    ASSERT_TRUE(HVI_HttpGet(server.Url("/").c_str(), result));
    EXPECT_EQ(BodyText(result), big);
}

TEST_F(HttpClient, FollowsRedirects)
{
    HttpTestServer server([](const std::string& request) -> std::string {
        const std::string line = RequestLine(request);
        if (line == "GET /old HTTP/1.0")
            return "HTTP/1.0 301 Moved Permanently\r\nLocation: /middle\r\nContent-Length: 0\r\n\r\n";
        if (line == "GET /middle HTTP/1.0") return "HTTP/1.0 307 Temporary Redirect\r\nLocation: new?v=2\r\n\r\n";
        if (line == "GET /new?v=2 HTTP/1.0") return "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nnew";
        return "HTTP/1.0 404 Not Found\r\n\r\n";
    });
    HttpGetResult result;
    ASSERT_TRUE(HVI_HttpGet(server.Url("/old").c_str(), result));
    EXPECT_EQ(BodyText(result), "new");
    EXPECT_EQ(std::string(result.url.GetText()), server.Url("/new?v=2"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(RequestLine(requests[1]), "GET /middle HTTP/1.0");
}

TEST_F(HttpClient, AnswersThatGiveNoBodyAreFailuresWithTheirLine)
{
    const struct {
        std::string answer;
        const char* line;  // "%s" stands for the URL asked for
        size_t requests;
    } cases[] = {
        {"HTTP/1.0 302 Found\r\nLocation: /again\r\nContent-Length: 0\r\n\r\n",
         "HVI_HttpGet: too many redirects from '%s'.", size_t(kMaxHttpRedirects + 1)},
        {"HTTP/1.0 303 See Other\r\nLocation: https://x/y\r\nContent-Length: 0\r\n\r\n",
         "HVI_HttpGet: the redirect from '%s' to 'https://x/y' cannot be followed.", 1},
        {"HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found", "HVI_HttpGet: '%s' answered with status 404.",
         1},
        {"HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nhello",
         "HVI_HttpGet: the response from '%s' is invalid: the body is shorter than its Content-Length.", 1},
        {HttpTestServer::kNoAnswer, "HVI_HttpGet: no answer from '%s' within 200 ms.", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        HVI_SetHttpTimeouts(2000, c.answer == HttpTestServer::kNoAnswer ? 200 : 2000);
        HttpTestServer server([&](const std::string&) { return c.answer; });
        const std::string url = server.Url("/a.png");
        HttpGetResult result;
        EXPECT_FALSE(HVI_HttpGet(url.c_str(), result));
        EXPECT_EQ(result.body.GetSize(), 0);
        std::string line = c.line;
        line.replace(line.find("%s"), 2, url);
        EXPECT_TRUE(m_log.Contains(line)) << m_log.Text();
        EXPECT_EQ(server.Requests().size(), c.requests);
    }
}

TEST_F(HttpClient, RefusedConnectionIsAFailure)
{
    // A port that was just free: nothing listens there.
    int port = 0;
    {
        HttpTestServer probe([](const std::string&) { return std::string(); });
        port = probe.Port();
    }
    HttpGetResult result;
    EXPECT_FALSE(HVI_HttpGet(("http://127.0.0.1:" + std::to_string(port) + "/").c_str(), result));
    EXPECT_TRUE(m_log.Contains("HVI_HttpGet: unable to connect to 127.0.0.1:" + std::to_string(port) + "."));
}

TEST_F(HttpClient, InvalidUrlIsRefusedWithoutConnecting)
{
    HttpGetResult result;
    EXPECT_FALSE(HVI_HttpGet("http://host/a\r\nInjected: 1", result));
    EXPECT_TRUE(m_log.Contains("HVI_HttpGet: 'http://host/a\r\nInjected: 1' is not a valid http:// URL."));
}

TEST_F(HttpClient, ConnectionThatIsNeverAcceptedTimesOut)
{
    // A listener with a backlog of one that never accepts: once its queue is
    // full, the system drops further connection requests unanswered.
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = HttpTestServer::LoopbackAddress(0);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(listen(listener, 0), 0);
    int length = sizeof(address);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    SOCKET fillers[3];
    for (SOCKET& filler : fillers) {
        filler = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        ioctlsocket(filler, FIONBIO, &nonBlocking);
        connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    }
    Sleep(50);

    HVI_SetHttpTimeouts(300, 2000);
    const int port = ntohs(address.sin_port);
    HttpGetResult result;
    EXPECT_FALSE(HVI_HttpGet(("http://127.0.0.1:" + std::to_string(port) + "/").c_str(), result));
    EXPECT_TRUE(
        m_log.Contains("HVI_HttpGet: connecting to 127.0.0.1:" + std::to_string(port) + " timed out after 300 ms."));
    for (SOCKET filler : fillers) closesocket(filler);
    closesocket(listener);
    WSACleanup();
}
