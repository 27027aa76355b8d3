#include <gtest/gtest.h>

#include <string>

#include "filesystem/http_cache_name.h"

namespace {

std::string NameOf(const char* url) { return HVI_GetHttpCacheFileName(url).GetText(); }

// "http-" + 16 hex digits + "-"
constexpr size_t kPrefixLength = 22;

}  // namespace

TEST(HttpCacheName, KeepsTheLastPathSegmentAfterAHashOfTheWholeUrl)
{
    // FNV-1a 64 of "http://a", worked out from the offset basis 14695981039346656037 and the prime 1099511628211.
    EXPECT_EQ(NameOf("http://a"), "http-" + std::string("47935331f4e19ffe") + "-index");
    const std::string name = NameOf("http://host/pics/face.png?size=2");
    EXPECT_EQ(name.substr(0, 5), "http-");
    EXPECT_EQ(name.substr(kPrefixLength), "face.png");
    EXPECT_NE(NameOf("http://h/p.png?id=1"), NameOf("http://h/p.png?id=2"));  // the query counts
}

TEST(HttpCacheName, NeverHoldsASeparatorOrAParentFolderAndCutsLongSegments)
{
    for (const char* url :
         {"http://h/..", "http://h/a/..%2f..%2fetc", "http://h/%2e%2e/x\\..\\y", "http://h/a:b|c*d", "http://h/"}) {
        const std::string name = NameOf(url);
        EXPECT_EQ(name.find('/'), std::string::npos) << url;
        EXPECT_EQ(name.find('\\'), std::string::npos) << url;
        EXPECT_EQ(name.find(':'), std::string::npos) << url;
        EXPECT_NE(name, "..");
        EXPECT_EQ(name.substr(0, 5), "http-") << url;
    }
    EXPECT_EQ(NameOf("http://h/a:b|c*d").substr(kPrefixLength), "a_b_c_d");
    const std::string longSegment = "http://h/" + std::string(300, 'x') + ".png";  // long segments are cut
    EXPECT_EQ(NameOf(longSegment.c_str()).size(), kPrefixLength + 64);
}
