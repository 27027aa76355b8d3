#include <gtest/gtest.h>

#include "filesystem/http_url.h"

TEST(HttpUrl, SplitsHostPortAndPath)
{
    HttpUrl url;
    ASSERT_TRUE(HVI_ParseHttpUrl("http://example.com:8080/a/b.png?x=1&y=2#top", url));
    EXPECT_STREQ(url.host.GetText(), "example.com");
    EXPECT_EQ(url.port, 8080);
    EXPECT_STREQ(url.path.GetText(), "/a/b.png?x=1&y=2");
}

TEST(HttpUrl, DefaultsToPort80AndRootPath)
{
    HttpUrl url;
    ASSERT_TRUE(HVI_ParseHttpUrl("http://127.0.0.1", url));
    EXPECT_STREQ(url.host.GetText(), "127.0.0.1");
    EXPECT_EQ(url.port, 80);
    EXPECT_STREQ(url.path.GetText(), "/");
    ASSERT_TRUE(HVI_ParseHttpUrl("http://h?q", url));
    EXPECT_STREQ(url.path.GetText(), "/?q");
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
