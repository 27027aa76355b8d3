#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "file_system_fixture.h"
#include "filesystem/file_operations.h"
#include "filesystem/http_cache_name.h"
#include "filesystem/http_client.h"
#include "http_test_server.h"

namespace {

class HttpSystem : public FileSystemTest {
protected:
    void SetUp() override
    {
        FileSystemTest::SetUp();
        m_cache = UseRoot(HV_PATH_SCHEME_CACHE, "cache");
        HVI_SetHttpTimeouts(2000, 2000);
    }
    void TearDown() override
    {
        HVI_SetHttpTimeouts(10000, 30000);
        FileSystemTest::TearDown();
    }

    // The name below the test's folder of the file that caches the URL.
    static std::string CachedFile(const std::string& url)
    {
        return std::string("cache/") + HVI_GetHttpCacheFileName(url.c_str()).GetText();
    }

    std::filesystem::path m_cache;
};

std::string ReadAll(HV_File* file)
{
    std::string text(size_t(file->size), '\0');
    text.resize(size_t(HV_FileSystem_ReadFile(text.data(), file->size, file)));
    return text;
}

}  // namespace

TEST_F(HttpSystem, OpenFetchesIntoTheCacheAndReadsFromThere)
{
    HttpTestServer server([](const std::string&) { return "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\nPNG!"; });
    const std::string url = server.Url("/pics/face.png?w=64");
    HV_File* file = HV_FileSystem_OpenFile(url.c_str(), "r");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->size, 4);
    EXPECT_EQ(ReadAll(file), "PNG!");
    HV_FileSystem_CloseFile(file);
    EXPECT_EQ(m_temporary.Read(CachedFile(url)), "PNG!");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_cache), std::filesystem::directory_iterator()), 1);
}

TEST_F(HttpSystem, FailedFetchOpensNothingAndKeepsTheCachedCopy)
{
    std::atomic<bool> cut{false};
    HttpTestServer server([&](const std::string&) -> std::string {
        return cut ? "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nbroken" : "HTTP/1.0 200 OK\r\n\r\ngood copy";
    });
    const std::string url = server.Url("/a.png");
    HV_File* file = HV_FileSystem_OpenFile(url.c_str(), "r");
    ASSERT_NE(file, nullptr);
    HV_FileSystem_CloseFile(file);
    cut = true;
    EXPECT_EQ(HV_FileSystem_OpenFile(url.c_str(), "r"), nullptr);
    EXPECT_EQ(m_temporary.Read(CachedFile(url)), "good copy");
    EXPECT_FALSE(std::filesystem::exists(m_folder / (CachedFile(url) + ".tmp")));
}

TEST_F(HttpSystem, FindPathTellsWhetherTheUrlAnswersAndNotFoundLeavesNoCacheFile)
{
    HttpTestServer server([](const std::string& request) -> std::string {
        if (RequestLine(request) == "GET /yes HTTP/1.0") return "HTTP/1.0 200 OK\r\nContent-Length: 1\r\n\r\ny";
        return "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n";
    });
    EXPECT_FALSE(HV_FileSystem_FindPath(server.Url("/no").c_str()));
    EXPECT_EQ(HV_FileSystem_OpenFile(server.Url("/no").c_str(), "r"), nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(m_cache));
    EXPECT_TRUE(HV_FileSystem_FindPath(server.Url("/yes").c_str()));
}

TEST_F(HttpSystem, UrlsCanOnlyBeReadAndWithoutCacheFolderNothingIsFetched)
{
    HttpTestServer server([](const std::string&) { return "HTTP/1.0 200 OK\r\n\r\nx"; });
    const std::string url = server.Url("/a.png");
    EXPECT_EQ(HV_FileSystem_OpenFile(url.c_str(), "w"), nullptr);
    EXPECT_EQ(HV_FileSystem_OpenFile(url.c_str(), "a"), nullptr);
    EXPECT_TRUE(m_log.Contains("HttpSystem OpenFile: '" + url + "' can only be read."));
    HVI_SetSchemeRoot(HV_PATH_SCHEME_CACHE, nullptr);
    EXPECT_EQ(HV_FileSystem_OpenFile(url.c_str(), "r"), nullptr);
    EXPECT_TRUE(server.Requests().empty());
}
