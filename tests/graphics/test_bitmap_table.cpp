// The bitmap table: finding, creating and loading bitmaps by name with their
// reference counts, from files and over HTTP.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <string>
#include <thread>

#include "core/engine_state.h"
#include "core/subsystem_hooks.h"
#include "filesystem/http_test_server.h"
#include "graphics/bitmap_queue.h"
#include "graphics/graphics_rig.h"
#include "graphics/graphics_startup.h"
#include "graphics/null_renderer.h"
#include "imaging/png_files.h"

namespace {

class BitmapTable : public GraphicsTest {
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        WriteFile("tile.png", WritePng(TestPixels3x2(), 3, 2));
    }
    static std::vector<uint8_t> Pixels(const HV_Bitmap* bitmap)
    {
        return {bitmap->pixels, bitmap->pixels + size_t(bitmap->pixelWidth) * bitmap->pixelHeight * 4};
    }
};

// A name with an extension is read as it stands, and is a different record
// from the name without, though the file is the same.
TEST_F(BitmapTable, LoadReadsThePngOfANameWithOrWithoutExtension)
{
    HV_Bitmap* bitmap = HV_Graphics_LoadBitmap("res://tile", HV_BITMAP_CACHE_LOAD);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_STREQ(bitmap->name.GetText(), "res://tile");
    EXPECT_EQ(bitmap->references, 1);
    EXPECT_EQ(bitmap->width, 3);
    EXPECT_EQ(bitmap->height, 2);
    EXPECT_EQ(Pixels(bitmap), TestPixels3x2());
    EXPECT_TRUE(Logged("..caching bitmap 'res://tile'"));
    HV_Bitmap* withExtension = HV_Graphics_LoadBitmap("res://tile.png", HV_BITMAP_CACHE_LOAD);
    ASSERT_NE(withExtension, nullptr);
    EXPECT_NE(withExtension, bitmap);
    EXPECT_EQ(Pixels(withExtension), TestPixels3x2());
    EXPECT_EQ(HVI_GetBitmapCount(), 2);
}

TEST_F(BitmapTable, EveryLoadAndGetCountsAReferenceOnTheOneRecord)
{
    HV_Bitmap* first = HV_Graphics_LoadBitmap("res://tile", HV_BITMAP_CACHE_LOAD);
    uint8_t* const pixels = first->pixels;
    EXPECT_EQ(HV_Graphics_LoadBitmap("res://tile", HV_BITMAP_CACHE_LOAD), first);
    EXPECT_EQ(HV_Graphics_GetBitmap("res://tile"), first);
    EXPECT_EQ(first->references, 3);
    EXPECT_EQ(first->pixels, pixels);  // read once
    EXPECT_EQ(CountLogged("..caching bitmap 'res://tile'"), 1);
    EXPECT_EQ(HVI_GetBitmapCount(), 1);
}

TEST_F(BitmapTable, ReleasingTheLastReferenceFreesThePixelsAndTheTexture)
{
    RendererImplementationNull renderer;
    HVI_SetRenderer(&renderer);
    HV_Bitmap* bitmap = HV_Graphics_GetBitmap("res://tile");
    HV_Graphics_GetBitmap("res://tile");
    ASSERT_TRUE(bitmap->renderer.loaded);
    HV_Graphics_ReleaseBitmap(bitmap);
    EXPECT_NE(bitmap->pixels, nullptr);
    HV_Graphics_ReleaseBitmap(bitmap);
    EXPECT_EQ(bitmap->references, 0);
    EXPECT_EQ(bitmap->pixels, nullptr);
    EXPECT_FALSE(bitmap->renderer.loaded);
    // A release too many is reported and changes nothing.
    HV_Graphics_ReleaseBitmap(bitmap);
    EXPECT_EQ(bitmap->references, 0);
    EXPECT_TRUE(Logged("HV_Graphics_ReleaseBitmap: bitmap 'res://tile' holds no reference."));
    // The record stays and is read again by the next load.
    EXPECT_EQ(HV_Graphics_GetBitmap("res://tile"), bitmap);
    EXPECT_EQ(Pixels(bitmap), TestPixels3x2());
}

// Lookup finds without counting and creates nothing; cache-nothing creates
// without reference or pixels.
TEST_F(BitmapTable, LookupAndCacheNothingCountNoReference)
{
    EXPECT_EQ(HV_Graphics_LoadBitmap("res://tile", HV_BITMAP_CACHE_LOOKUP), nullptr);
    EXPECT_EQ(HVI_GetBitmapCount(), 0);
    HV_Bitmap* bitmap = HV_Graphics_LoadBitmap("res://tile", HV_BITMAP_CACHE_NOTHING);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->references, 0);
    EXPECT_EQ(bitmap->pixels, nullptr);
    EXPECT_EQ(HV_Graphics_LoadBitmap("res://tile", HV_BITMAP_CACHE_NOTHING), bitmap);
    EXPECT_EQ(HV_Graphics_GetBitmap("res://tile"), bitmap);
    EXPECT_EQ(HV_Graphics_LoadBitmap("res://tile", HV_BITMAP_CACHE_LOOKUP), bitmap);
    EXPECT_EQ(bitmap->references, 1);
}

TEST_F(BitmapTable, AMissingOrDamagedFileGivesARecordWithoutPixels)
{
    std::vector<uint8_t> truncated = WritePng(TestPixels3x2(), 3, 2);
    truncated.resize(truncated.size() / 2);
    WriteFile("half.png", truncated);
    HV_Bitmap* missing = HV_Graphics_GetBitmap("res://missing");
    HV_Bitmap* half = HV_Graphics_GetBitmap("res://half");
    ASSERT_NE(missing, nullptr);
    ASSERT_NE(half, nullptr);
    EXPECT_EQ(missing->pixels, nullptr);
    EXPECT_EQ(half->pixels, nullptr);
    EXPECT_EQ(half->references, 1);
    EXPECT_TRUE(Logged("[POPUP] Bitmap resource 'res://missing' not found."));
    EXPECT_TRUE(Logged("[POPUP] Bitmap resource 'res://half' not found."));
}

TEST_F(BitmapTable, ANullNameIsReported)
{
    EXPECT_EQ(HV_Graphics_LoadBitmap(nullptr, HV_BITMAP_CACHE_LOAD), nullptr);
    EXPECT_EQ(HV_Graphics_GetBitmap(nullptr), nullptr);
    EXPECT_EQ(CountLogged("[POPUP] HV_Graphics_LoadBitmap called with null parameter."), 2);
}

TEST_F(BitmapTable, ReferencesAreCappedAt4096)
{
    HV_Bitmap* bitmap = nullptr;
    for (int i = 0; i < 4097; ++i) bitmap = HV_Graphics_LoadBitmap("res://tile", HV_BITMAP_CACHE_LOAD);
    EXPECT_EQ(bitmap->references, 4096);
    EXPECT_EQ(CountLogged("[POPUP] Bitmap 'res://tile' reference count suspiciously high: capping at 4096."), 1);
    // The uncounted holders keep it: releases do not bring a capped bitmap down to its freeing.
    for (int i = 0; i < 4096; ++i) HV_Graphics_ReleaseBitmap(bitmap);
    EXPECT_EQ(bitmap->references, 4096);
    EXPECT_NE(bitmap->pixels, nullptr);
}

TEST_F(BitmapTable, TheTableHolds3072Bitmaps)
{
    HVI_SetLogThreshold(2);  // not 3072 caching lines
    for (int i = 0; i < 3072; ++i) {
        ASSERT_NE(HV_Graphics_LoadBitmap(("b" + std::to_string(i)).c_str(), HV_BITMAP_CACHE_NOTHING), nullptr);
    }
    EXPECT_EQ(HV_Graphics_LoadBitmap("one more", HV_BITMAP_CACHE_NOTHING), nullptr);
    EXPECT_TRUE(Logged("[POPUP]  ! Halvo out of free bitmaps."));
    EXPECT_EQ(HVI_GetBitmapCount(), 3072);
}

TEST_F(BitmapTable, TheRendererMakesATextureOnTheMainThreadInItsChannelOrder)
{
    class BgraRenderer : public RendererImplementationNull {
    public:
        int32_t GetTextureChannelOrder() override { return 1; }
    } renderer;
    HVI_SetRenderer(&renderer);
    HV_Bitmap* bitmap = HV_Graphics_GetBitmap("res://tile");
    EXPECT_TRUE(bitmap->renderer.loaded);
    EXPECT_EQ(bitmap->renderer.textureWidth, 3);
    EXPECT_EQ(bitmap->pixels[0], 0);  // blue of the red first pixel
    EXPECT_EQ(bitmap->pixels[2], 255);
}

// Counts the textures it makes and releases.
class CountingRenderer : public RendererImplementationNull {
public:
    bool CreateTexture(HV_Bitmap* bitmap) override
    {
        ++created;
        return RendererImplementationNull::CreateTexture(bitmap);
    }
    void ReleaseTexture(HV_BitmapRendererBlock& block) override
    {
        ++released;
        RendererImplementationNull::ReleaseTexture(block);
    }
    int created = 0;
    int released = 0;
};

TEST_F(BitmapTable, OtherThreadsLeaveTheTextureWorkToTheFrame)
{
    CountingRenderer renderer;
    HVI_SetRenderer(&renderer);
    HV_Bitmap* bitmap = nullptr;
    std::thread([&bitmap] { bitmap = HV_Graphics_GetBitmap("res://tile"); }).join();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_NE(bitmap->pixels, nullptr);
    EXPECT_FALSE(bitmap->renderer.loaded);
    EXPECT_EQ(renderer.created, 0);
    HVI_RunBitmapQueue();
    EXPECT_TRUE(bitmap->renderer.loaded);
    EXPECT_EQ(renderer.created, 1);
    HVI_RunBitmapQueue();  // done once
    EXPECT_EQ(renderer.created, 1);

    std::thread([bitmap] { HV_Graphics_ReleaseBitmap(bitmap); }).join();
    EXPECT_EQ(bitmap->pixels, nullptr);
    EXPECT_FALSE(bitmap->renderer.loaded);
    EXPECT_EQ(renderer.released, 0);
    HVI_RunBitmapQueue();
    EXPECT_EQ(renderer.released, 1);

    // An upload queued for a bitmap released since is dropped.
    std::thread([&bitmap] { bitmap = HV_Graphics_GetBitmap("res://tile"); }).join();
    HV_Graphics_ReleaseBitmap(bitmap);
    HVI_RunBitmapQueue();
    EXPECT_EQ(renderer.created, 1);
    EXPECT_FALSE(bitmap->renderer.loaded);
}

TEST_F(BitmapTable, TheRendererRoleRunsTheQueueInTheFrame)
{
    CountingRenderer renderer;
    HVI_SetRenderer(&renderer);
    HVI_RegisterGraphicsSubsystem();
    std::thread([] { HV_Graphics_GetBitmap("res://tile"); }).join();
    HVI_GetSubsystemHooks(HVI_SUBSYSTEM_RENDERER).RunResourceQueues(HVI_GetEngineState());
    EXPECT_EQ(renderer.created, 1);
    HVI_ResetSubsystems();
}

// An HTTP answer with the PNG that the server sends once the gate opens (or
// after five seconds, so that a table that waits for the fetch fails the test
// instead of hanging it), whatever the path.
class GatedPngServer {
public:
    GatedPngServer()
        : m_png(WritePng(TestPixels3x2(), 3, 2)), m_server([this](const std::string&) {
              m_gate.wait_for(std::chrono::seconds(5));
              return "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(m_png.size()) + "\r\n\r\n" +
                     std::string(m_png.begin(), m_png.end());
          })
    {}
    ~GatedPngServer() { Open(); }
    std::string Url(const char* path = "/slow.png") const { return m_server.Url(path); }
    void Open()
    {
        if (!m_opened.exchange(true)) m_open.set_value();
    }
    // Waits until the fetch reached the server.
    bool WaitForRequests(size_t count)
    {
        for (int i = 0; i < 5000 && m_server.Requests().size() < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return m_server.Requests().size() >= count;
    }
    std::vector<std::string> Requests() { return m_server.Requests(); }

private:
    std::vector<uint8_t> m_png;
    std::promise<void> m_open;
    std::shared_future<void> m_gate = m_open.get_future().share();
    std::atomic<bool> m_opened{false};
    HttpTestServer m_server;
};

TEST_F(BitmapTable, HttpNamesAreFetchedAsTheyStand)
{
    GatedPngServer server;
    server.Open();
    const std::string url = server.Url("/user/7/picture?width=50&height=50");
    HV_Bitmap* bitmap = HV_Graphics_LoadBitmap(url.c_str(), HV_BITMAP_CACHE_LOAD);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(Pixels(bitmap), TestPixels3x2());
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /user/7/picture?width=50&height=50 HTTP/1.0\r\n", 0), 0u);
}

TEST_F(BitmapTable, ASlowFetchHoldsNoOtherBitmapUp)
{
    GatedPngServer server;
    std::atomic<bool> fetched{false};
    std::thread fetcher([&] {
        HV_Graphics_LoadBitmap(server.Url().c_str(), HV_BITMAP_CACHE_LOAD);
        fetched = true;
    });
    ASSERT_TRUE(server.WaitForRequests(1));
    HV_Bitmap* tile = HV_Graphics_LoadBitmap("res://tile", HV_BITMAP_CACHE_LOAD);
    HV_Bitmap* lookedUp = HV_Graphics_LoadBitmap(server.Url().c_str(), HV_BITMAP_CACHE_LOOKUP);
    const bool whileFetching = !fetched;
    server.Open();
    fetcher.join();
    EXPECT_TRUE(whileFetching);
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(Pixels(tile), TestPixels3x2());
    ASSERT_NE(lookedUp, nullptr);
    EXPECT_EQ(Pixels(lookedUp), TestPixels3x2());
    EXPECT_FALSE(lookedUp->loading);
}

TEST_F(BitmapTable, ThreadsLoadingOneBitmapTogetherReadItOnceAndEachHoldsAReference)
{
    GatedPngServer server;
    HV_Bitmap* loaded[2] = {};
    std::thread first([&] { loaded[0] = HV_Graphics_LoadBitmap(server.Url().c_str(), HV_BITMAP_CACHE_LOAD); });
    ASSERT_TRUE(server.WaitForRequests(1));
    std::thread second([&] { loaded[1] = HV_Graphics_LoadBitmap(server.Url().c_str(), HV_BITMAP_CACHE_LOAD); });
    // Time for the second load to find the first one reading; it must wait for it, not fetch again.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    server.Open();
    first.join();
    second.join();
    EXPECT_EQ(server.Requests().size(), 1u);
    ASSERT_NE(loaded[0], nullptr);
    EXPECT_EQ(loaded[0], loaded[1]);
    EXPECT_EQ(Pixels(loaded[1]), TestPixels3x2());
    EXPECT_EQ(loaded[0]->references, 2);
}

}  // namespace
