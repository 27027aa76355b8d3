// Device creation, the constant answers, and the entry points.
#include "graphics/renderer_entry_points.h"
#include "renderer/d3d11/renderer_test_support.h"

namespace {

using RendererDevice = RendererTest;

TEST_P(RendererDevice, EntryPointGivesTheSameObjectUntilUnloaded)
{
    EXPECT_EQ(HALVO_RendImp_GetInterface(), renderer_);
    HALVO_RendImp_Unload();
    renderer_ = HALVO_RendImp_GetInterface();
    EXPECT_NE(renderer_, nullptr);
    EXPECT_STREQ(renderer_->GetName(), "Direct3D11");
}

TEST_P(RendererDevice, InitializesAWarpDevice)
{
    ASSERT_TRUE(Initialize());
    EXPECT_TRUE(IsLogged("D3D11 renderer created a WARP device of feature level 11_1"));
    EXPECT_TRUE(IsLogged("D3D11 renderer created color render target view with dimensions 640 x 480"));
    renderer_->BeginFrame();
    renderer_->Present();
}

HALVO_RENDERER_BACKENDS(RendererDevice);

}  // namespace
