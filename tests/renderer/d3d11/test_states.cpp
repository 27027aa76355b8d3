// The state tables as the context sees them: what the cull mode, scissor and
// sampler calls bind, and the misuse that changes nothing. What each blend
// mode does is judged by its pixels in test_drawing.cpp.
#include <string>
#include <tuple>

#include "graphics/render_states.h"
#include "renderer/d3d11/buffers.h"
#include "graphics/renderer_entry_points.h"
#include "renderer/d3d11/renderer_test_support.h"

namespace {

class RendererStates : public StateTest {
protected:
    D3D11_BLEND_DESC BoundBlend()
    {
        Ref<ID3D11BlendState> state;
        FLOAT factor[4];
        UINT mask = 0;
        context_->OMGetBlendState(state.Put(), factor, &mask);
        D3D11_BLEND_DESC desc{};
        EXPECT_TRUE(state) << "no blend state is bound";
        if (state) state->GetDesc(&desc);
        EXPECT_EQ(mask, 0xffffffffu);
        return desc;
    }

    D3D11_RASTERIZER_DESC BoundRasterizer()
    {
        Ref<ID3D11RasterizerState> state;
        context_->RSGetState(state.Put());
        D3D11_RASTERIZER_DESC desc{};
        EXPECT_TRUE(state) << "no rasterizer state is bound";
        if (state) state->GetDesc(&desc);
        return desc;
    }

    // The one scissor rectangle bound, as left, top, right, bottom.
    std::tuple<LONG, LONG, LONG, LONG> BoundScissor()
    {
        UINT count = 1;
        D3D11_RECT rectangle{};
        context_->RSGetScissorRects(&count, &rectangle);
        EXPECT_EQ(count, 1u);
        return {rectangle.left, rectangle.top, rectangle.right, rectangle.bottom};
    }

    D3D11_SAMPLER_DESC BoundSampler(UINT unit)
    {
        Ref<ID3D11SamplerState> state;
        context_->PSGetSamplers(unit, 1, state.Put());
        D3D11_SAMPLER_DESC desc{};
        EXPECT_TRUE(state) << "no sampler is bound to unit " << unit;
        if (state) state->GetDesc(&desc);
        return desc;
    }
};

TEST_P(RendererStates, BlendModeZeroAndColourWritesKeepTheModeBound)
{
    HV_Graphics_SetBlendMode(5);
    HV_Graphics_SetBlendMode(0);  // binds nothing: mode 5 stays
    EXPECT_EQ(BoundBlend().RenderTarget[0].SrcBlend, D3D11_BLEND_DEST_COLOR);

    HV_Graphics_SetBlendMode(8);
    HV_Graphics_SetRenderStatei(HV_RENDER_STATE_COLOR_WRITE, 0);
    D3D11_BLEND_DESC desc = BoundBlend();
    EXPECT_EQ(desc.RenderTarget[0].SrcBlend, D3D11_BLEND_ONE);
    EXPECT_EQ(desc.RenderTarget[0].DestBlend, D3D11_BLEND_INV_SRC_ALPHA);
    EXPECT_EQ(desc.RenderTarget[0].RenderTargetWriteMask, 0);
    HV_Graphics_SetRenderStatei(HV_RENDER_STATE_COLOR_WRITE, 1);
    EXPECT_EQ(BoundBlend().RenderTarget[0].RenderTargetWriteMask, D3D11_COLOR_WRITE_ENABLE_ALL);
}

TEST_P(RendererStates, CullModesAndTheScissorKeepEachOther)
{
    const D3D11_CULL_MODE kCulls[3] = {D3D11_CULL_NONE, D3D11_CULL_FRONT, D3D11_CULL_BACK};
    for (int cull = 0; cull < 3; ++cull) {
        HV_Graphics_SetRenderStatei(HV_RENDER_STATE_CULL_MODE, cull);
        const D3D11_RASTERIZER_DESC desc = BoundRasterizer();
        EXPECT_EQ(std::tie(desc.CullMode, desc.ScissorEnable, desc.FillMode, desc.FrontCounterClockwise,
                           desc.DepthClipEnable, desc.MultisampleEnable, desc.AntialiasedLineEnable),
                  std::make_tuple(kCulls[cull], FALSE, D3D11_FILL_SOLID, FALSE, TRUE, FALSE, FALSE));
    }

    // The scissor takes the front end's cull mode (back, set last); x = -10 with width 50 covers 0..40.
    EXPECT_TRUE(renderer_->SetScissorRectangle(-10, 5, 50, 20));
    D3D11_RASTERIZER_DESC desc = BoundRasterizer();
    EXPECT_EQ(desc.CullMode, D3D11_CULL_BACK);
    EXPECT_TRUE(desc.ScissorEnable);
    EXPECT_EQ(BoundScissor(), std::make_tuple(0, 5, 40, 25));

    HV_Graphics_SetRenderStatei(HV_RENDER_STATE_CULL_MODE, 1);
    desc = BoundRasterizer();
    EXPECT_EQ(desc.CullMode, D3D11_CULL_FRONT);
    EXPECT_TRUE(desc.ScissorEnable) << "a cull change keeps the scissor test";

    renderer_->DisableScissor();
    desc = BoundRasterizer();
    EXPECT_EQ(desc.CullMode, D3D11_CULL_FRONT) << "disabling the scissor keeps the cull mode";
    EXPECT_FALSE(desc.ScissorEnable);
}

TEST_P(RendererStates, ScissorEdgesStayInTheThirtyTwoBitRange)
{
    EXPECT_TRUE(renderer_->SetScissorRectangle(2147483000, -5, 2000, -10));
    EXPECT_EQ(BoundScissor(), std::make_tuple(2147483000, 0, 2147483647, -15));
}

TEST_P(RendererStates, SamplersFollowTheFilterAndAddressTriplesOfTheirUnit)
{
    // After Initialize every unit is point-filtered and clamped; the first call binds that with its change.
    renderer_->SetTextureAddressMode(2, 2, 3, 1);
    D3D11_SAMPLER_DESC desc = BoundSampler(2);
    EXPECT_EQ(std::tie(desc.Filter, desc.AddressU, desc.AddressV, desc.AddressW, desc.ComparisonFunc),
              std::make_tuple(D3D11_FILTER_MIN_MAG_MIP_POINT, D3D11_TEXTURE_ADDRESS_WRAP, D3D11_TEXTURE_ADDRESS_MIRROR,
                              D3D11_TEXTURE_ADDRESS_CLAMP, D3D11_COMPARISON_NEVER));
    EXPECT_EQ(std::tie(desc.MinLOD, desc.MaxLOD, desc.MipLODBias), std::make_tuple(0.0f, D3D11_FLOAT32_MAX, 0.0f));

    renderer_->SetTextureFilter(2, 2, 1, 2);
    desc = BoundSampler(2);
    EXPECT_EQ(std::tie(desc.Filter, desc.AddressU, desc.AddressV),
              std::make_tuple(D3D11_FILTER_MIN_LINEAR_MAG_POINT_MIP_LINEAR, D3D11_TEXTURE_ADDRESS_WRAP,
                              D3D11_TEXTURE_ADDRESS_MIRROR))
        << "the unit keeps its address triple";

    // Any anisotropic member selects the anisotropic group, whatever the other two are.
    for (int member = 0; member < 3; ++member) {
        const int codes[3] = {member == 0 ? 3 : 2, member == 1 ? 3 : 1, member == 2 ? 3 : 2};
        renderer_->SetTextureFilter(7, codes[0], codes[1], codes[2]);
        desc = BoundSampler(7);
        EXPECT_EQ(std::tie(desc.Filter, desc.MaxAnisotropy, desc.AddressU),
                  std::make_tuple(D3D11_FILTER_ANISOTROPIC, 8u, D3D11_TEXTURE_ADDRESS_CLAMP));
    }
    // Other units are untouched.
    Ref<ID3D11SamplerState> other;
    context_->PSGetSamplers(3, 1, other.Put());
    EXPECT_FALSE(other);
}

TEST_P(RendererStates, EveryPointAndLinearTripleHasItsFilter)
{
    const D3D11_FILTER kFilters[8] = {D3D11_FILTER_MIN_MAG_MIP_POINT,
                                      D3D11_FILTER_MIN_MAG_POINT_MIP_LINEAR,
                                      D3D11_FILTER_MIN_POINT_MAG_LINEAR_MIP_POINT,
                                      D3D11_FILTER_MIN_POINT_MAG_MIP_LINEAR,
                                      D3D11_FILTER_MIN_LINEAR_MAG_MIP_POINT,
                                      D3D11_FILTER_MIN_LINEAR_MAG_POINT_MIP_LINEAR,
                                      D3D11_FILTER_MIN_MAG_LINEAR_MIP_POINT,
                                      D3D11_FILTER_MIN_MAG_MIP_LINEAR};
    for (int i = 0; i < 8; ++i) {
        renderer_->SetTextureFilter(0, 1 + i / 4, 1 + i / 2 % 2, 1 + i % 2);
        EXPECT_EQ(BoundSampler(0).Filter, kFilters[i]) << "triple " << i;
    }
}

TEST_P(RendererStates, OutOfRangeArgumentsAreLoggedAndChangeNothing)
{
    HV_Graphics_SetBlendMode(2);
    renderer_->SetBlendMode(9);
    renderer_->SetBlendMode(-1);
    EXPECT_TRUE(IsLogged("SetBlendMode: blend mode 9 is not 0..8."));
    EXPECT_TRUE(IsLogged("SetBlendMode: blend mode -1 is not 0..8."));
    EXPECT_EQ(BoundBlend().RenderTarget[0].DestBlend, D3D11_BLEND_ONE);

    renderer_->SetCullMode(2);
    renderer_->SetCullMode(3);
    EXPECT_TRUE(IsLogged("SetCullMode: cull mode 3 is not 0..2."));
    EXPECT_EQ(BoundRasterizer().CullMode, D3D11_CULL_BACK);

    renderer_->SetTextureFilter(1, 2, 2, 2);
    renderer_->SetTextureFilter(8, 1, 1, 1);
    renderer_->SetTextureAddressMode(-1, 1, 1, 1);
    renderer_->SetTextureFilter(1, 0, 1, 1);
    renderer_->SetTextureAddressMode(1, 1, 4, 1);
    EXPECT_TRUE(IsLogged("SetTextureFilter: texture unit 8 is not 0..7."));
    EXPECT_TRUE(IsLogged("SetTextureAddressMode: texture unit -1 is not 0..7."));
    EXPECT_TRUE(IsLogged("SetTextureFilter: filter codes 0, 1, 1 are not all 1..3."));
    EXPECT_TRUE(IsLogged("SetTextureAddressMode: address codes 1, 4, 1 are not all 1..3."));
    const D3D11_SAMPLER_DESC desc = BoundSampler(1);
    EXPECT_EQ(desc.Filter, D3D11_FILTER_MIN_MAG_MIP_LINEAR);
    EXPECT_EQ(desc.AddressV, D3D11_TEXTURE_ADDRESS_CLAMP);
    // The unit's triples are unchanged too: a later valid call combines with them.
    renderer_->SetTextureAddressMode(1, 2, 2, 2);
    EXPECT_EQ(BoundSampler(1).Filter, D3D11_FILTER_MIN_MAG_MIP_LINEAR);
}

TEST_P(RendererStates, ALevel9_1DeviceFiltersAnisotropicallyAtTwo)
{
    ShutDown();
    HalvoD3D11_SetDriverType(D3D_DRIVER_TYPE_WARP, D3D_FEATURE_LEVEL_9_1);
    ASSERT_TRUE(Restart());
    renderer_->SetTextureFilter(0, 3, 3, 3);
    EXPECT_EQ(BoundSampler(0).MaxAnisotropy, 2u);
}

TEST_P(RendererStates, WithoutDirect3D11_1TheRasterizerStatesAreTheSame)
{
    ShutDown();
    HalvoD3D11_SetInterfacesPresent(TRUE, FALSE);
    ASSERT_TRUE(Restart());
    HV_Graphics_SetRenderStatei(HV_RENDER_STATE_CULL_MODE, 2);
    EXPECT_TRUE(renderer_->SetScissorRectangle(0, 0, 4, 4));
    const D3D11_RASTERIZER_DESC desc = BoundRasterizer();
    EXPECT_EQ(desc.CullMode, D3D11_CULL_BACK);
    EXPECT_TRUE(desc.ScissorEnable);
}

TEST_P(RendererStates, CallsWithoutADeviceAreLoggedAndMakeNoCall)
{
    ShutDown();
    renderer_->SetViewport(0, 0, 4, 4, 0.0f, 1.0f);
    renderer_->Clear(1.0f, 1.0f, 1.0f, 1.0f);
    renderer_->ClearDepth(1.0f);
    EXPECT_FALSE(renderer_->SetScissorRectangle(0, 0, 4, 4));
    renderer_->DisableScissor();
    renderer_->SetTextureAddressMode(0, 1, 1, 1);
    renderer_->SetBlendMode(1);
    renderer_->SetCullMode(1);
    for (const char* operation :
         {"SetViewport", "Clear", "ClearDepth", "SetScissorRectangle", "DisableScissor", "SetTextureAddressMode"}) {
        EXPECT_TRUE(IsLogged(std::string(operation) + ": the renderer has no device.")) << operation;
    }
    RendererVertexBuffer* vertices = renderer_->CreateVertexBuffer(7, 4, kBufferUsageDynamic);
    RendererIndexBuffer* indices = renderer_->CreateIndexBuffer(6, kBufferUsageDynamic);
    EXPECT_EQ(vertices->block->buffer, nullptr);
    EXPECT_EQ(renderer_->LockVertexBuffer(vertices), nullptr);
    EXPECT_TRUE(IsLogged("LockVertexBuffer: the renderer has no device."));
    renderer_->DrawTriangles(vertices, 4, indices, 2);
    EXPECT_TRUE(IsLogged("DrawTriangles: the renderer has no device."));
    renderer_->ReleaseVertexBuffer(vertices);
    renderer_->ReleaseIndexBuffer(indices);

    // A new renderer that was never initialised: its units have no triples yet.
    ReloadRenderer();
    HVI_SetRenderer(renderer_);
    renderer_->SetTextureFilter(0, 1, 1, 1);
    EXPECT_TRUE(IsLogged("SetTextureFilter: the renderer has no device."));
}

TEST_P(RendererStates, EveryStateCreationThatFailsFailsInitializeAndLeavesNothingAlive)
{
    if (OnVulkan()) GTEST_SKIP() << "the object layer's counts are the same on both back ends; memory is quicker";
    ShutDown();
    EXPECT_GT(SweepCreationFailures([this] { return Initialize(); }, 1000), 0);
    // Each table's failures name the state asked for, in the order of creation.
    for (int column = 0; column < 2; ++column) {
        for (int mode = 1; mode <= 8; ++mode) {
            const std::string extra = "Blend = " + std::to_string(mode) +
                                      (mode <= 2 ? "\nColor write = " : "\nColor = ") +
                                      (column == 1 ? "true" : "false");
            EXPECT_TRUE(IsReported("failed to create a blend state", extra)) << extra;
        }
    }
    for (int scissor = 0; scissor < 2; ++scissor) {
        for (int cull = 1; cull <= 3; ++cull) {
            const std::string extra =
                "CullMode = " + std::to_string(cull) + "\nScissorEnable = " + std::to_string(scissor);
            EXPECT_TRUE(IsReported("failed to create a rasterizer state", extra)) << extra;
        }
    }
    // Point filtering (0) and anisotropic (0x55 = 85), clamp (3), wrap (1), mirror (2).
    EXPECT_TRUE(IsReported("failed to create a sampler state", "Filter = 0\nAddressU/V/W = 3/3/3\nMaxAnisotropy = 0"));
    EXPECT_TRUE(IsReported("failed to create a sampler state", "Filter = 21\nAddressU/V/W = 2/1/3\nMaxAnisotropy = 0"));
    EXPECT_TRUE(IsReported("failed to create a sampler state", "Filter = 85\nAddressU/V/W = 2/2/2\nMaxAnisotropy = 8"));
    EXPECT_TRUE(IsReported("failed to create a depth stencil state", "DepthFunc = 2"));
}

HALVO_RENDERER_BACKENDS(RendererStates);

}  // namespace
