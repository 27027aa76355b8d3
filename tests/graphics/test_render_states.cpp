// The blend mode and render-state cache: values read back, values handed to
// the renderer, and values refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/graphics_rig.h"
#include "graphics/null_renderer.h"

namespace {

// Writes down every state call it gets.
class RecordingRenderer : public RendererImplementationNull {
public:
    void SetBlendMode(int32_t mode) override { calls.push_back("blend " + std::to_string(mode)); }
    void SetDepthTest(bool on) override { calls.push_back(std::string("depth test ") + (on ? "on" : "off")); }
    void SetDepthFunction(int32_t code) override { calls.push_back("depth function " + std::to_string(code)); }
    void SetDepthWrite(bool on) override { calls.push_back(std::string("depth write ") + (on ? "on" : "off")); }
    void SetColorWrite(bool on) override { calls.push_back(std::string("color write ") + (on ? "on" : "off")); }
    void SetCullMode(int32_t mode) override { calls.push_back("cull " + std::to_string(mode)); }
    std::vector<std::string> calls;
};

using RenderStates = GraphicsTest;

// Without a renderer the values are still kept.
TEST_F(RenderStates, StartAsARendererStartsAndAreKeptWithoutOne)
{
    EXPECT_EQ(HV_Graphics_GetBlendMode(), 0);
    EXPECT_EQ(HV_Graphics_GetRenderStatei(HV_RENDER_STATE_DEPTH_TEST), 0);
    EXPECT_EQ(HV_Graphics_GetRenderStatei(HV_RENDER_STATE_DEPTH_FUNCTION), 1);
    EXPECT_EQ(HV_Graphics_GetRenderStatei(HV_RENDER_STATE_DEPTH_WRITE), 0);
    EXPECT_EQ(HV_Graphics_GetRenderStatei(HV_RENDER_STATE_COLOR_WRITE), 1);
    EXPECT_EQ(HV_Graphics_GetRenderStatei(14), 0);
    HV_Graphics_SetBlendMode(3);
    HV_Graphics_SetRenderStatei(14, 1);
    EXPECT_EQ(HV_Graphics_GetBlendMode(), 3);
    EXPECT_EQ(HV_Graphics_GetRenderStatei(14), 1);
}

TEST_F(RenderStates, SetValuesAreReadBackAndHandedToTheRenderer)
{
    RecordingRenderer renderer;
    HVI_SetRenderer(&renderer);
    HV_Graphics_SetBlendMode(8);
    HV_Graphics_SetRenderStatei(10, 1);
    HV_Graphics_SetRenderStatei(11, 7);
    HV_Graphics_SetRenderStatei(12, 1);
    HV_Graphics_SetRenderStatei(13, 0);
    HV_Graphics_SetRenderStatei(14, 2);
    EXPECT_EQ(HV_Graphics_GetBlendMode(), 8);
    EXPECT_EQ(HV_Graphics_GetRenderStatei(11), 7);
    EXPECT_EQ(HV_Graphics_GetRenderStatei(14), 2);
    const std::vector<std::string> expected = {"blend 8",        "depth test on",   "depth function 7",
                                               "depth write on", "color write off", "cull 2"};
    EXPECT_EQ(renderer.calls, expected);
}

TEST_F(RenderStates, OutOfRangeModesIdsAndValuesChangeNothing)
{
    RecordingRenderer renderer;
    HVI_SetRenderer(&renderer);
    HV_Graphics_SetRenderStatei(14, 1);
    HV_Graphics_SetBlendMode(9);
    HV_Graphics_SetBlendMode(-1);
    HV_Graphics_SetRenderStatei(14, 3);
    HV_Graphics_SetRenderStatei(11, 8);
    HV_Graphics_SetRenderStatei(10, -1);
    HV_Graphics_SetRenderStatei(9, 0);
    HV_Graphics_SetRenderStatei(15, 0);
    EXPECT_EQ(HV_Graphics_GetRenderStatei(15), 0);
    EXPECT_EQ(HV_Graphics_GetBlendMode(), 0);
    EXPECT_EQ(HV_Graphics_GetRenderStatei(14), 1);
    EXPECT_EQ(HV_Graphics_GetRenderStatei(11), 1);
    EXPECT_EQ(renderer.calls, std::vector<std::string>{"cull 1"});
    EXPECT_TRUE(Logged("HV_Graphics_SetBlendMode: blend mode 9 is not 0..8."));
    EXPECT_TRUE(Logged("HV_Graphics_SetBlendMode: blend mode -1 is not 0..8."));
    EXPECT_TRUE(Logged("HV_Graphics_SetRenderStatei: value 3 is out of range for render state 14."));
    EXPECT_TRUE(Logged("HV_Graphics_SetRenderStatei: value 8 is out of range for render state 11."));
    EXPECT_TRUE(Logged("HV_Graphics_SetRenderStatei: value -1 is out of range for render state 10."));
    EXPECT_TRUE(Logged("HV_Graphics_SetRenderStatei: render state 9 is unknown."));
    EXPECT_TRUE(Logged("HV_Graphics_GetRenderStatei: render state 15 is unknown."));
}

}  // namespace
