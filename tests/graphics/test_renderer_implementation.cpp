// The defaults of the renderer back-end interface: display-mode queries over
// a back end's mode list, buffer uploads through its locks, and the fixed
// answers.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "graphics/null_renderer.h"

namespace {

// Lists the modes it is given, as an output would, and hands out one block
// of memory for every buffer lock.
class ListingRenderer : public RendererImplementationNull {
public:
    void EnumerateDisplayModes(int32_t displayIndex) override
    {
        ++enumerations;
        lastDisplay = displayIndex;
        for (const HV_DisplayMode& mode : modes) AddDisplayMode(mode.width, mode.height);
    }
    void* LockVertexBuffer(RendererVertexBuffer*) override { return lockGivesMemory ? memory : nullptr; }
    void UnlockVertexBuffer(RendererVertexBuffer*) override { ++unlocks; }
    void* LockIndexBuffer(RendererIndexBuffer*) override { return lockGivesMemory ? memory : nullptr; }
    void UnlockIndexBuffer(RendererIndexBuffer*) override { ++unlocks; }

    std::vector<HV_DisplayMode> modes;
    int enumerations = 0;
    int lastDisplay = -1;
    bool lockGivesMemory = true;
    uint8_t memory[8] = {};
    int unlocks = 0;
};

// The list is made again by every query, not added to.
TEST(RendererDisplayModes, TextIsSortedWithEachSizeOnceAndSupportedMeansThatExactSizeIsListed)
{
    ListingRenderer renderer;
    EXPECT_STREQ(renderer.GetDisplayModesText(0), "");
    renderer.modes = {{1920, 1080}, {800, 600}, {1280, 1024}, {1280, 720}, {800, 600}, {1920, 1080}};
    EXPECT_STREQ(renderer.GetDisplayModesText(2), "800x600, 1280x720, 1280x1024, 1920x1080");
    EXPECT_EQ(renderer.lastDisplay, 2);
    EXPECT_STREQ(renderer.GetDisplayModesText(0), "800x600, 1280x720, 1280x1024, 1920x1080");
    EXPECT_EQ(renderer.enumerations, 3);
    EXPECT_TRUE(renderer.IsDisplayModeSupported(1, 800, 600));
    EXPECT_FALSE(renderer.IsDisplayModeSupported(1, 600, 800));
    EXPECT_FALSE(renderer.IsDisplayModeSupported(1, 1280, 721));
    renderer.modes.clear();
    EXPECT_FALSE(renderer.IsDisplayModeSupported(1, 800, 600));
}

// A failed lock copies nothing and unlocks nothing.
TEST(RendererUploads, CopyTheBytesBetweenLockAndUnlock)
{
    ListingRenderer renderer;
    const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_TRUE(renderer.UploadVertexBuffer(nullptr, bytes, 8));
    EXPECT_EQ(std::memcmp(renderer.memory, bytes, 8), 0);
    const uint8_t indices[4] = {9, 9, 9, 9};
    EXPECT_TRUE(renderer.UploadIndexBuffer(nullptr, indices, 4));
    EXPECT_EQ(renderer.memory[3], 9);
    EXPECT_EQ(renderer.memory[4], 5);
    EXPECT_EQ(renderer.unlocks, 2);
    renderer.lockGivesMemory = false;
    EXPECT_FALSE(renderer.UploadVertexBuffer(nullptr, indices, 4));
    EXPECT_FALSE(renderer.UploadIndexBuffer(nullptr, bytes, 8));
    EXPECT_EQ(renderer.unlocks, 2);
}

TEST(NullRenderer, MarksATextureLoadedWithTheLogicalPartAsUvRectangle)
{
    RendererImplementationNull renderer;
    HV_Bitmap bitmap;
    EXPECT_FALSE(renderer.CreateTexture(&bitmap));  // no pixels sized
    bitmap.pixelWidth = 8;
    bitmap.pixelHeight = 4;
    bitmap.width = 6;
    bitmap.height = 1;
    ASSERT_TRUE(renderer.CreateTexture(&bitmap));
    EXPECT_TRUE(bitmap.renderer.loaded);
    EXPECT_EQ(bitmap.renderer.uv[2], 0.75f);
    EXPECT_EQ(bitmap.renderer.uv[3], 0.25f);
    renderer.ReleaseTexture(bitmap.renderer);
    EXPECT_FALSE(bitmap.renderer.loaded);
}

}  // namespace
