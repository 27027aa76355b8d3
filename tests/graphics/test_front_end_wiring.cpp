// The bitmap table as other subsystems reach it: the pictures of the
// simulated social service, and the "source" bitmaps of Shader XML pixel
// textures.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/engine_state.h"
#include "core/subsystem_hooks.h"
#include "extensions/simulated/picture_loading.h"
#include "graphics/graphics_rig.h"
#include "graphics/graphics_startup.h"
#include "graphics/shader_translation.h"
#include "imaging/png_files.h"
#include "shadertool/driver/engine_interface.h"

namespace {

class FrontEndWiring : public GraphicsTest {
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        WriteFile("tile.png", WritePng(TestPixels3x2(), 3, 2));
    }
    void TearDown() override
    {
        HVI_StopGraphicsFrontEnd();
        GraphicsTest::TearDown();
    }
};

TEST_F(FrontEndWiring, PicturesLoadThroughTheBitmapTableOnceTheFrontEndStarted)
{
    EXPECT_EQ(HVI_LoadPicture("res://tile", HV_BITMAP_CACHE_LOAD), nullptr);
    EXPECT_EQ(HVI_GetBitmapCount(), 0);
    HVI_StartGraphicsFrontEnd();
    HV_Bitmap* picture = HVI_LoadPicture("res://tile", HV_BITMAP_CACHE_LOAD);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width, 3);
    EXPECT_EQ(picture->references, 1);
    HVI_StopGraphicsFrontEnd();
    EXPECT_EQ(HVI_LoadPicture("res://tile", HV_BITMAP_CACHE_LOAD), nullptr);
    EXPECT_EQ(picture->references, 1);
}

TEST_F(FrontEndWiring, TheRendererRoleStartsTheFrontEndWithTheNullRendererAndStopsIt)
{
    HVI_RegisterGraphicsSubsystem();
    const HVI_SubsystemHooks& hooks = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_RENDERER);
    HVI_EngineState& state = HVI_GetEngineState();
    ASSERT_TRUE(hooks.Startup(state));
    ASSERT_NE(HVI_GetRenderer(), nullptr);
    EXPECT_STREQ(HVI_GetRenderer()->GetName(), "Null");
    EXPECT_NE(HVI_LoadPicture("res://tile", HV_BITMAP_CACHE_LOAD), nullptr);
    hooks.Shutdown(state);
    EXPECT_EQ(HVI_GetRenderer(), nullptr);
    EXPECT_EQ(HVI_LoadPicture("res://tile.png", HV_BITMAP_CACHE_LOAD), nullptr);
}

std::string SpriteWithSource(const std::string& source)
{
    std::ifstream file(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaderxml" / "sprite_v22.xml");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string node = "<node id=\"albedo\"";
    const size_t at = text.find(node);
    text.insert(at + node.size(), " source=\"" + source + "\"");
    return text;
}

TEST_F(FrontEndWiring, ShaderRecordsHoldOneReferenceEachOnTheirSourceBitmapAndTheTranslatorNone)
{
    const std::string xml = SpriteWithSource("res://tile");
    HV_Shader first;
    ASSERT_TRUE(HVI_CreateShaderFromSource(first, "sprite", xml.c_str()));
    HV_Bitmap* tile = HV_Graphics_LoadBitmap("res://tile", HV_BITMAP_CACHE_LOOKUP);
    ASSERT_NE(tile, nullptr);
    ASSERT_EQ(first.description.pixelTextures.GetCount(), 1);
    EXPECT_EQ(first.description.pixelTextures[0].sourceBitmap, tile);
    EXPECT_EQ(tile->width, 3);
    EXPECT_EQ(tile->references, 1);
    // Read again into the same record: the reference of the description it replaces is given back.
    ASSERT_TRUE(HVI_CreateShaderFromSource(first, "sprite", xml.c_str()));
    EXPECT_EQ(tile->references, 1);
    HV_Shader second;
    ASSERT_TRUE(HVI_CreateShaderFromSource(second, "sprite", xml.c_str()));
    EXPECT_EQ(tile->references, 2);
    // A description that fails keeps no reference anywhere.
    std::string broken = xml;
    broken.replace(broken.find("slot=\"0\"", broken.find("<node id=\"albedo\"")), 8, "slot=\"-3\"");
    HV_Shader third;
    EXPECT_FALSE(HVI_CreateShaderFromSource(third, "sprite", broken.c_str()));
    EXPECT_EQ(tile->references, 2);
}

// The translator's engine interface is the one door to its bitmap hooks: a
// pixel texture's "source" is found through the getter set there, and its
// reference given back through the releaser when the translator is reset.
std::vector<std::string> g_askedBitmaps;
std::vector<void*> g_releasedBitmaps;
int g_sourceBitmap;

TEST_F(FrontEndWiring, BitmapHooksSetThroughTheTranslatorsEngineInterfaceFindAndGiveBackSources)
{
    ShaderTool::SetBitmapGetter([](const char* name) -> void* {
        g_askedBitmaps.push_back(name);
        return &g_sourceBitmap;
    });
    ShaderTool::SetBitmapReleaser([](void* bitmap) { g_releasedBitmaps.push_back(bitmap); });
    const std::string xml = SpriteWithSource("res://tile");
    ASSERT_TRUE(ShaderTool::ReadShaderXML("sprite", xml.c_str(), false, true));
    EXPECT_EQ(g_askedBitmaps, std::vector<std::string>{"res://tile"});
    ASSERT_EQ(ShaderTool::GetDescription().pixelTextures.GetCount(), 1);
    EXPECT_EQ(ShaderTool::GetDescription().pixelTextures[0].sourceBitmap, &g_sourceBitmap);
    EXPECT_TRUE(g_releasedBitmaps.empty());
    ShaderTool::Reset();
    EXPECT_EQ(g_releasedBitmaps, std::vector<void*>{&g_sourceBitmap});
}

}  // namespace
