// Render targets through the renderer's own interface, on both back ends:
// 2D, cube and depth targets, the render-target set, late mips when a
// target is bound as a texture, read-back into bitmap pixels, every failure
// text, and leak sweeps.
#include <cstring>
#include <string>

#include "renderer/d3d11/texture_data.h"
#include "renderer/d3d11/renderer_test_support.h"

namespace {

class RenderTargetTest : public TextureRendererTest {
protected:
    RenderTargetTest() { expectedComplaints_ = 0; }

    // Clears the target's view (face 0, or the given one) through the layer.
    static void ClearTarget(const HV_Bitmap& target, const float (&color)[4], int face = 0)
    {
        ID3D11DeviceContext* context = ContextOf(target.renderer.texture->texture);
        context->ClearRenderTargetView(target.renderer.texture->targetViews[face], color);
        context->Release();
    }

    // What the output merger has bound now.
    struct Bound {
        ID3D11RenderTargetView* colors[4] = {};
        ID3D11DepthStencilView* depth = nullptr;
    };
    static Bound BoundTargets(ID3D11Resource* anyResource)
    {
        Bound bound;
        ID3D11DeviceContext* context = ContextOf(anyResource);
        context->OMGetRenderTargets(4, bound.colors, &bound.depth);
        context->Release();
        // The test compares pointers only; the context keeps them alive.
        for (ID3D11RenderTargetView* view : bound.colors) {
            if (view != nullptr) view->Release();
        }
        if (bound.depth != nullptr) bound.depth->Release();
        return bound;
    }
};

TEST_P(RenderTargetTest, SetWithADepthTargetBindsBothAndReadsBack)
{
    HV_Bitmap& color = MakeTarget("scene", 48, 32, HV_TEXTURE_FORMAT_B8G8R8A8);
    HV_Bitmap& depth = MakeTarget("scene-depth", 48, 32, HV_TEXTURE_FORMAT_D32F);
    ASSERT_TRUE(renderer_->CreateRenderTarget(&color));
    ASSERT_TRUE(renderer_->CreateRenderTarget(&depth));
    EXPECT_NE(color.flags & HV_BITMAP_RENDER_TARGET, 0u);
    EXPECT_TRUE(color.renderer.loaded);
    // One level on a device with non-power-of-two textures: the logical size.
    EXPECT_EQ(color.renderer.textureWidth, 48);
    EXPECT_EQ(color.renderer.textureHeight, 32);
    EXPECT_FLOAT_EQ(color.renderer.uv[2], 1.0f);
    const RendererTextureData& depthData = *depth.renderer.texture;
    EXPECT_NE(depthData.depthView, nullptr);
    EXPECT_EQ(depthData.shaderView, nullptr);
    EXPECT_EQ(depthData.targetViews[0], nullptr);

    HV_RenderTargetSet set;
    set.color[0] = &color;
    set.depth = &depth;
    ASSERT_TRUE(renderer_->SetRenderTargets(set));
    Bound bound = BoundTargets(color.renderer.texture->texture);
    EXPECT_EQ(bound.colors[0], color.renderer.texture->targetViews[0]);
    EXPECT_EQ(bound.colors[1], nullptr);
    EXPECT_EQ(bound.depth, depthData.depthView);

    ClearTarget(color, {1.0f, 0.2f, 0.6f, 0.4f});
    ID3D11DeviceContext* context = ContextOf(depthData.texture);
    context->ClearDepthStencilView(depthData.depthView, D3D11_CLEAR_DEPTH, 0.25f, 0);
    context->Release();
    ASSERT_TRUE(renderer_->ReadRenderTargetPixels(&color));
    ExpectImage(std::string("target-color-") + GetParam(), PixelsOf(color), Filled(48, 32, Rgba(255, 51, 153, 102)));
    ASSERT_TRUE(renderer_->ReadRenderTargetPixels(&depth));
    ExpectImage(std::string("target-depth-") + GetParam(), PixelsOf(depth), Filled(48, 32, Rgba(64, 0, 0, 255)));

    // Without a first colour target the back buffer alone is bound with its
    // own depth view, whatever other targets the set names.
    set.color[0] = nullptr;
    set.color[1] = &color;
    ASSERT_TRUE(renderer_->SetRenderTargets(set));
    bound = BoundTargets(color.renderer.texture->texture);
    EXPECT_NE(bound.colors[0], nullptr);
    EXPECT_NE(bound.colors[0], color.renderer.texture->targetViews[0]);
    EXPECT_EQ(bound.colors[1], nullptr);
    EXPECT_NE(bound.depth, nullptr);
    EXPECT_NE(bound.depth, depthData.depthView);
}

// Depth targets are never sampled and the device makes no mips of them.
TEST_P(RenderTargetTest, DepthTargetsHaveOneLevelWhateverTheirMipSetting)
{
    HV_Bitmap& depth = MakeTarget("shadow", 100, 100, HV_TEXTURE_FORMAT_D24S8, HV_TEXTURE_TYPE_2D, 0);
    ASSERT_TRUE(renderer_->CreateRenderTarget(&depth));
    D3D11_TEXTURE2D_DESC desc{};
    TextureOf(depth)->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 128u);
    EXPECT_EQ(desc.MipLevels, 1u);
    EXPECT_EQ(desc.MiscFlags, 0u);
    EXPECT_EQ(desc.BindFlags, UINT(D3D11_BIND_DEPTH_STENCIL));
    EXPECT_FALSE(depth.renderer.texture->generatesMips);
    EXPECT_FLOAT_EQ(depth.renderer.uv[2], 100.0f / 128);
}

TEST_P(RenderTargetTest, CubeTargetsDrawToTheFaceTheSetNames)
{
    HV_Bitmap& cube = MakeTarget("probe", 32, 32, HV_TEXTURE_FORMAT_B8G8R8A8, HV_TEXTURE_TYPE_CUBE);
    ASSERT_TRUE(renderer_->CreateRenderTarget(&cube));
    D3D11_TEXTURE2D_DESC desc{};
    TextureOf(cube)->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 32u);
    EXPECT_EQ(desc.Height, 32u);
    EXPECT_EQ(desc.ArraySize, 6u);
    for (ID3D11RenderTargetView* view : cube.renderer.texture->targetViews) EXPECT_NE(view, nullptr);

    HV_RenderTargetSet set;
    set.color[0] = &cube;
    set.faces[0] = 3;
    ASSERT_TRUE(renderer_->SetRenderTargets(set));
    EXPECT_EQ(BoundTargets(TextureOf(cube)).colors[0], cube.renderer.texture->targetViews[3]);
    ClearTarget(cube, {0.0f, 1.0f, 0.0f, 1.0f}, 3);
    for (UINT face = 0; face < 6; ++face) {
        ExpectImage("cube-target-face" + std::to_string(face) + "-" + GetParam(),
                    ReadSubresource(TextureOf(cube), face),
                    Filled(32, 32, face == 3 ? Rgba(0, 255, 0, 255) : Rgba(0, 0, 0, 0)));
    }

    // A face outside the cube is refused and the targets stay bound.
    set.faces[0] = 6;
    EXPECT_FALSE(renderer_->SetRenderTargets(set));
    EXPECT_EQ(CountLogged("SetRenderTargets: cube face 6 of render target 'probe' is outside 0..5; the targets stay "
                          "as they were."),
              1);
    EXPECT_EQ(BoundTargets(TextureOf(cube)).colors[0], cube.renderer.texture->targetViews[3]);

    HV_Bitmap& depthCube = MakeTarget("probe-depth", 32, 32, HV_TEXTURE_FORMAT_D32F, HV_TEXTURE_TYPE_CUBE);
    EXPECT_FALSE(renderer_->CreateRenderTarget(&depthCube));
    EXPECT_EQ(CountLogged("CreateRenderTarget: render target 'probe-depth' is a cube with a depth format; depth "
                          "targets are two-dimensional."),
              1);
}

// A set the device refuses (a depth target of another size) is reported and
// changes nothing: clears still reach the target bound before, never the
// refused one, also once its bitmap has let go of its views.
TEST_P(RenderTargetTest, ASetTheDeviceRefusesLeavesTheTargetsAsTheyWere)
{
    HV_Bitmap& kept = MakeTarget("kept", 8, 8, HV_TEXTURE_FORMAT_B8G8R8A8);
    HV_Bitmap& refused = MakeTarget("refused", 8, 8, HV_TEXTURE_FORMAT_B8G8R8A8);
    HV_Bitmap& depth = MakeTarget("refused-depth", 16, 16, HV_TEXTURE_FORMAT_D32F);
    for (HV_Bitmap* bitmap : {&kept, &refused, &depth}) ASSERT_TRUE(renderer_->CreateRenderTarget(bitmap));
    ClearTarget(refused, {0.0f, 0.0f, 1.0f, 1.0f});
    HV_RenderTargetSet set;
    set.color[0] = &kept;
    ASSERT_TRUE(renderer_->SetRenderTargets(set));
    set.color[0] = &refused;
    set.depth = &depth;
    expectedComplaints_ = 1;  // the layer names the size mismatch, as the platform's debug layer does
    EXPECT_FALSE(renderer_->SetRenderTargets(set));
    EXPECT_EQ(CountLogged("SetRenderTargets: the device refused the render-target set of 'refused' (targets of "
                          "different sizes); the targets stay as they were."),
              1);
    EXPECT_EQ(BoundTargets(TextureOf(kept)).colors[0], kept.renderer.texture->targetViews[0]);

    renderer_->Clear(1.0f, 0.0f, 0.0f, 1.0f);
    ASSERT_TRUE(renderer_->ReadRenderTargetPixels(&kept));
    ExpectImage(std::string("refused-set-red-") + GetParam(), PixelsOf(kept), Filled(8, 8, Rgba(255, 0, 0, 255)));
    ASSERT_TRUE(renderer_->ReadRenderTargetPixels(&refused));
    ExpectImage(std::string("refused-set-untouched-") + GetParam(), PixelsOf(refused),
                Filled(8, 8, Rgba(0, 0, 255, 255)));
    renderer_->ReleaseTexture(refused.renderer);
    renderer_->Clear(0.0f, 1.0f, 0.0f, 1.0f);
    ASSERT_TRUE(renderer_->ReadRenderTargetPixels(&kept));
    ExpectImage(std::string("refused-set-green-") + GetParam(), PixelsOf(kept), Filled(8, 8, Rgba(0, 255, 0, 255)));
}

// A negative logical side is refused before it could be rounded up to a
// power of two.
TEST_P(RenderTargetTest, NegativeSizesAreRefused)
{
    HV_Bitmap& wide = MakeTarget("backwards", -5, 8, HV_TEXTURE_FORMAT_B8G8R8A8, HV_TEXTURE_TYPE_2D, 0);
    HV_Bitmap& cube = MakeTarget("inside-out", 8, -48, HV_TEXTURE_FORMAT_B8G8R8A8, HV_TEXTURE_TYPE_CUBE);
    EXPECT_FALSE(renderer_->CreateRenderTarget(&wide));
    EXPECT_FALSE(renderer_->CreateRenderTarget(&cube));
    EXPECT_EQ(CountLogged("CreateRenderTarget: render target 'backwards' has a negative size of -5 x 8."), 1);
    EXPECT_EQ(CountLogged("CreateRenderTarget: render target 'inside-out' has a negative size of 8 x -48."), 1);
    EXPECT_EQ(wide.renderer.texture, nullptr);
    EXPECT_EQ(cube.renderer.texture, nullptr);
}

// Mips of a target are made when it is bound as a texture after it was drawn
// to, once.
TEST_P(RenderTargetTest, MipsAreRegeneratedOnceAfterDrawing)
{
    HV_Bitmap& target = MakeTarget("mirror", 64, 64, HV_TEXTURE_FORMAT_B8G8R8A8, HV_TEXTURE_TYPE_2D, 0);
    ASSERT_TRUE(renderer_->CreateRenderTarget(&target));
    RendererTextureData& data = *target.renderer.texture;
    D3D11_TEXTURE2D_DESC desc{};
    TextureOf(target)->GetDesc(&desc);
    EXPECT_EQ(desc.MipLevels, 3u);
    EXPECT_EQ(desc.MiscFlags, UINT(D3D11_RESOURCE_MISC_GENERATE_MIPS));
    EXPECT_TRUE(data.generatesMips);
    EXPECT_FALSE(data.mipsCurrent);

    HV_RenderTargetSet set;
    set.color[0] = &target;
    ASSERT_TRUE(renderer_->SetRenderTargets(set));
    ClearTarget(target, {1.0f, 0.0f, 0.0f, 1.0f});
    ASSERT_TRUE(renderer_->SetRenderTargets(HV_RenderTargetSet{}));
    EXPECT_FALSE(data.mipsCurrent);
    RendererTextureData* units[kRendererTextureUnits] = {&data};
    renderer_->BindTextures(units);
    EXPECT_TRUE(data.mipsCurrent);
    const std::string name = std::string("target-mips-") + GetParam();
    ExpectImage(name + "-red", ReadSubresource(TextureOf(target), 1), Filled(32, 32, Rgba(255, 0, 0, 255)));

    ID3D11DeviceContext* context = ContextOf(data.texture);
    ID3D11ShaderResourceView* bound[kRendererTextureUnits] = {};
    context->PSGetShaderResources(0, kRendererTextureUnits, bound);
    EXPECT_EQ(bound[0], data.shaderView);
    for (ID3D11ShaderResourceView* view : bound) {
        if (view != nullptr) view->Release();
    }
    EXPECT_EQ(bound[1], nullptr);

    // Level 0 changes behind the renderer's back: binding again without
    // drawing keeps the old mips.
    const std::vector<uint32_t> blue(64 * 64, Rgba(255, 0, 0, 255));  // B, G, R, A in the target's memory
    context->UpdateSubresource(data.texture, 0, nullptr, blue.data(), 64 * 4, 0);
    renderer_->BindTextures(units);
    ExpectImage(name + "-kept", ReadSubresource(TextureOf(target), 1), Filled(32, 32, Rgba(255, 0, 0, 255)));

    // Drawn to again: the next binding makes them anew. (The target is still
    // bound as a texture, which the layer points out, as the platform does.)
    ASSERT_TRUE(renderer_->SetRenderTargets(set));
    expectedComplaints_ = 1;
    ASSERT_TRUE(renderer_->SetRenderTargets(HV_RenderTargetSet{}));
    renderer_->BindTextures(units);
    ExpectImage(name + "-blue", ReadSubresource(TextureOf(target), 1), Filled(32, 32, Rgba(0, 0, 255, 255)));
    context->Release();
}

// Read-back gives the value a shader samples in eight bits: an X target has
// alpha 255; texels of 2 and 8 bytes are read at their own size.
TEST_P(RenderTargetTest, ReadBackGivesEachFormatsValuesInEightBits)
{
    const struct {
        const char* name;
        int32_t format;
        float colour[4];
        uint32_t texel;
    } rows[] = {
        {"x-target", HV_TEXTURE_FORMAT_B8G8R8X8, {1.0f, 0.2f, 0.6f, 0.0f}, Rgba(255, 51, 153, 255)},
        {"half-target", HV_TEXTURE_FORMAT_R16F, {0.2f, 0.0f, 0.0f, 0.0f}, Rgba(51, 0, 0, 255)},  // 0.19995 -> 51
        {"wide-target", HV_TEXTURE_FORMAT_RGBA16F, {0.25f, 1.0f, 0.0f, 0.75f}, Rgba(64, 255, 0, 191)},
    };
    for (const auto& row : rows) {
        HV_Bitmap& target = MakeTarget(row.name, 16, 8, row.format);
        ASSERT_TRUE(renderer_->CreateRenderTarget(&target));
        ClearTarget(target, row.colour);
        ASSERT_TRUE(renderer_->ReadRenderTargetPixels(&target));
        EXPECT_EQ(target.pixelWidth, 16);
        EXPECT_EQ(target.pixelHeight, 8);
        ExpectImage(std::string(row.name) + "-" + GetParam(), PixelsOf(target), Filled(16, 8, row.texel));
    }
}

TEST_P(RenderTargetTest, ReadBackKeepsThePixelsWhenItCannotRead)
{
    HV_Bitmap& target = MakeTarget("shot", 8, 4, HV_TEXTURE_FORMAT_B8G8R8A8);
    ASSERT_TRUE(renderer_->CreateRenderTarget(&target));
    ASSERT_TRUE(renderer_->ReadRenderTargetPixels(&target));
    const uint8_t* pixels = target.pixels;
    HalvoD3D11_FailCall("ID3D11DeviceContext::Map", 1, E_OUTOFMEMORY);
    EXPECT_FALSE(renderer_->ReadRenderTargetPixels(&target));
    EXPECT_EQ(target.pixels, pixels);

    // A bitmap larger than its target would read past the mapped rows.
    target.pixelWidth = 9;
    EXPECT_FALSE(renderer_->ReadRenderTargetPixels(&target));
    EXPECT_EQ(CountLogged("ReadRenderTargetPixels: bitmap 'shot' of 9 x 4 does not fit its render target of 8 x 4."),
              1);
    target.pixelWidth = 8;

    EXPECT_EQ(SweepCreationFailures([&] { return renderer_->ReadRenderTargetPixels(&target); }), 1);
}

TEST_P(RenderTargetTest, FailedCreationsAreReportedAndLeaveNothingAlive)
{
    HV_Bitmap& color = MakeTarget("scene", 64, 64, HV_TEXTURE_FORMAT_B8G8R8A8, HV_TEXTURE_TYPE_2D, 0);
    EXPECT_EQ(SweepCreationFailures([&] { return renderer_->CreateRenderTarget(&color); }), 3);
    EXPECT_EQ(CountLogged("[POPUP] D3D11 renderer failed to create render target view 'scene'"), 1);
    EXPECT_EQ(CountLogged("[POPUP] D3D11 renderer failed to create render target shader resource view 'scene'."), 1);

    HV_Bitmap& cube = MakeTarget("probe", 32, 32, HV_TEXTURE_FORMAT_B8G8R8A8, HV_TEXTURE_TYPE_CUBE);
    EXPECT_EQ(SweepCreationFailures([&] { return renderer_->CreateRenderTarget(&cube); }), 8);  // texture, 6 + 1 views

    HV_Bitmap& depth = MakeTarget("scene-depth", 64, 64, HV_TEXTURE_FORMAT_D16);
    EXPECT_EQ(SweepCreationFailures([&] { return renderer_->CreateRenderTarget(&depth); }), 2);
    EXPECT_EQ(CountLogged("[POPUP] D3D11 renderer failed to create depth stencil view 'scene-depth'."), 1);

    HV_Bitmap& volume = MakeTarget("volume", 16, 16, HV_TEXTURE_FORMAT_B8G8R8A8, HV_TEXTURE_TYPE_VOLUME);
    EXPECT_FALSE(renderer_->CreateRenderTarget(&volume));
}

HALVO_RENDERER_BACKENDS(RenderTargetTest);

}  // namespace
