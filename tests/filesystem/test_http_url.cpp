#include <gtest/gtest.h>

#include "filesystem/http_url.h"

namespace {

struct UrlCase {
    const char* text;
    const char* host;
    int port;
    const char* path;
};

constexpr UrlCase kUrlCases[] = {
    {"http://example.com:8080/a/b.png?x=1&y=2#top", "example.com", 8080, "/a/b.png?x=1&y=2"},  // fragment dropped
    {"http://127.0.0.1", "127.0.0.1", 80, "/"},                                                // default port and path
    {"http://h?q", "h", 80, "/?q"},                                                            // query without a path
};

}  // namespace

TEST(HttpUrl, SplitsHostPortAndPath)
{
    for (const UrlCase& c : kUrlCases) {
        HttpUrl url;
        ASSERT_TRUE(HVI_ParseHttpUrl(c.text, url)) << c.text;
        EXPECT_STREQ(url.host.GetText(), c.host) << c.text;
        EXPECT_EQ(url.port, c.port) << c.text;
        EXPECT_STREQ(url.path.GetText(), c.path) << c.text;
    }
}

TEST(HttpUrl, RefusesWhatCannotBeRequested)
{
    HttpUrl url;
    for (const char* text :
         {"https://example.com/", "ftp://x/", "http://", "http:///path", "http://user@host/", "http://host:0/",
          "http://host:65536/", "http://host:/", "http://host:80x/", "http://host/a b", "http://host/a\r\nX: y",
          "http://host/\xc3\xa9", "http://ho st/", "example.com/a"}) {
        EXPECT_FALSE(HVI_ParseHttpUrl(text, url)) << text;
    }
    EXPECT_FALSE(HVI_ParseHttpUrl(nullptr, url));
    EXPECT_FALSE(HVI_ParseHttpUrl(("http://" + std::string(256, 'a') + "/").c_str(), url));
    EXPECT_TRUE(HVI_ParseHttpUrl(("http://" + std::string(255, 'a') + "/").c_str(), url));
}

TEST(HttpUrl, LocationsResolveAgainstTheRequest)
{
    HttpUrl base;
    ASSERT_TRUE(HVI_ParseHttpUrl("http://a.com:81/pics/x/1.png?s=a/b", base));
    HttpUrl next;
    ASSERT_TRUE(HVI_ResolveHttpLocation(base, "http://b.com/2.png", next));
    EXPECT_STREQ(HVI_FormatHttpUrl(next).GetText(), "http://b.com/2.png");
    ASSERT_TRUE(HVI_ResolveHttpLocation(base, "//c.com:90/3.png", next));
    EXPECT_STREQ(HVI_FormatHttpUrl(next).GetText(), "http://c.com:90/3.png");
    ASSERT_TRUE(HVI_ResolveHttpLocation(base, "/root.png", next));
    EXPECT_STREQ(HVI_FormatHttpUrl(next).GetText(), "http://a.com:81/root.png");
    ASSERT_TRUE(HVI_ResolveHttpLocation(base, "2.png?v=3", next));
    EXPECT_STREQ(HVI_FormatHttpUrl(next).GetText(), "http://a.com:81/pics/x/2.png?v=3");
}

TEST(HttpUrl, LocationsThatCannotBeFollowedAreRefused)
{
    HttpUrl base;
    ASSERT_TRUE(HVI_ParseHttpUrl("http://a.com/x", base));
    HttpUrl next;
    for (const char* location : {"https://a.com/secure", "", "mailto:x@y", "/a b", "javascript:alert(1)"})
        EXPECT_FALSE(HVI_ResolveHttpLocation(base, location, next)) << location;
    EXPECT_FALSE(HVI_ResolveHttpLocation(base, nullptr, next));
}
