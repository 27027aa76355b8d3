// Creation of buffers, textures, views and state objects: the platform's
// rules and error codes, validation-only calls, and the caching of states.
#include "winapi/d3d11/d3d11_test_support.h"

#include <cstring>
#include <tuple>
#include <vector>

namespace {

using Buffers = D3D11Test;

TEST_F(Buffers, DescriptionsBreakingThePlatformsRulesAreRefused)
{
    constexpr D3D11_USAGE kDefault = D3D11_USAGE_DEFAULT;
    constexpr UINT kVertices = D3D11_BIND_VERTEX_BUFFER;
    constexpr UINT kConstants = D3D11_BIND_CONSTANT_BUFFER;
    const std::pair<const char*, D3D11_BUFFER_DESC> cases[] = {
        {"zero bytes", {0, kDefault, kVertices, 0, 0, 0}},
        {"above 2048 MB", {0x80000010u, kDefault, kVertices, 0, 0, 0}},
        {"constant buffer not a multiple of 16", {20, D3D11_USAGE_DYNAMIC, kConstants, D3D11_CPU_ACCESS_WRITE, 0, 0}},
        {"constant buffer above 64 KiB", {65552, kDefault, kConstants, 0, 0, 0}},
        {"immutable without data", {16, D3D11_USAGE_IMMUTABLE, kVertices, 0, 0, 0}},
        {"default with CPU access", {16, kDefault, kVertices, D3D11_CPU_ACCESS_WRITE, 0, 0}},
        {"dynamic that reads",
         {16, D3D11_USAGE_DYNAMIC, kVertices, D3D11_CPU_ACCESS_READ | D3D11_CPU_ACCESS_WRITE, 0, 0}},
        {"staging that binds", {16, D3D11_USAGE_STAGING, kVertices, D3D11_CPU_ACCESS_READ, 0, 0}},
        {"depth-stencil buffer", {16, kDefault, D3D11_BIND_DEPTH_STENCIL, 0, 0, 0}},
        {"texture flag", {16, kDefault, kVertices, 0, D3D11_RESOURCE_MISC_TEXTURECUBE, 0}},
        {"structured without stride",
         {16, kDefault, D3D11_BIND_SHADER_RESOURCE, 0, D3D11_RESOURCE_MISC_BUFFER_STRUCTURED, 0}},
    };
    for (const auto& [what, desc] : cases) {
        Ref<ID3D11Buffer> buffer;
        EXPECT_EQ(device_->CreateBuffer(&desc, nullptr, buffer.Put()), E_INVALIDARG) << what;
        EXPECT_FALSE(buffer) << what;
    }
    Ref<ID3D11Buffer> buffer;
    EXPECT_EQ(device_->CreateBuffer(nullptr, nullptr, buffer.Put()), E_INVALIDARG);
    EXPECT_FALSE(NewMessages().empty()) << "each refusal is logged";
}

TEST_F(Buffers, ANullOutputOnlyValidates)
{
    const D3D11_BUFFER_DESC good{80, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0};
    const D3D11_BUFFER_DESC bad{0, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0};
    EXPECT_EQ(device_->CreateBuffer(&good, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(device_->CreateBuffer(&bad, nullptr, nullptr), E_INVALIDARG);
}

TEST_F(Buffers, InitialDataAndDescriptionReadBack)
{
    const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    const D3D11_BUFFER_DESC desc{12, D3D11_USAGE_IMMUTABLE, D3D11_BIND_INDEX_BUFFER, 0, 0, 2};
    const D3D11_SUBRESOURCE_DATA initial{indices, 0, 0};
    Ref<ID3D11Buffer> buffer;
    ASSERT_EQ(device_->CreateBuffer(&desc, &initial, buffer.Put()), S_OK);
    D3D11_BUFFER_DESC read{};
    buffer->GetDesc(&read);
    EXPECT_EQ(read.ByteWidth, 12u);
    EXPECT_EQ(read.StructureByteStride, 2u);
    D3D11_RESOURCE_DIMENSION dimension;
    buffer->GetType(&dimension);
    EXPECT_EQ(dimension, D3D11_RESOURCE_DIMENSION_BUFFER);

    Ref<ID3D11Buffer> staging = MakeBuffer(12, D3D11_USAGE_STAGING, 0, D3D11_CPU_ACCESS_READ);
    context_->CopyResource(staging.get(), buffer.get());
    D3D11_MAPPED_SUBRESOURCE mapped;
    ASSERT_EQ(context_->Map(staging.get(), 0, D3D11_MAP_READ, 0, &mapped), S_OK);
    EXPECT_EQ(std::memcmp(mapped.pData, indices, sizeof indices), 0);
    context_->Unmap(staging.get(), 0);
}

using Textures = D3D11Test;

TEST_F(Textures, DescriptionsBreakingThePlatformsRulesAreRefused)
{
    constexpr DXGI_FORMAT kRgba = DXGI_FORMAT_R8G8B8A8_UNORM;
    constexpr UINT kSampled = D3D11_BIND_SHADER_RESOURCE;
    constexpr UINT kCube = D3D11_RESOURCE_MISC_TEXTURECUBE;
    D3D11_TEXTURE2D_DESC multisampled = TextureDesc(64, 64, kRgba, kSampled);
    multisampled.SampleDesc.Count = 4;
    const std::pair<const char*, D3D11_TEXTURE2D_DESC> cases[] = {
        {"zero width", TextureDesc(0, 64, kRgba, kSampled)},
        {"wider than 16384", TextureDesc(16385, 64, kRgba, kSampled)},
        {"more mips than the chain", TextureDesc(64, 64, kRgba, kSampled, 8)},
        {"no array slice", TextureDesc(64, 64, kRgba, kSampled, 1, 0)},
        {"unknown format", TextureDesc(64, 64, DXGI_FORMAT_UNKNOWN, kSampled)},
        {"multisampled", multisampled},
        {"vertex buffer bind", TextureDesc(64, 64, kRgba, kSampled | D3D11_BIND_VERTEX_BUFFER)},
        {"depth bind on a colour format", TextureDesc(64, 64, kRgba, D3D11_BIND_DEPTH_STENCIL)},
        {"depth format read by shaders",
         TextureDesc(64, 64, DXGI_FORMAT_D24_UNORM_S8_UINT, D3D11_BIND_DEPTH_STENCIL | kSampled)},
        {"render target of a format that cannot render",
         TextureDesc(64, 64, DXGI_FORMAT_R32G32B32_FLOAT, D3D11_BIND_RENDER_TARGET)},
        {"mips generated without a render target",
         TextureDesc(64, 64, kRgba, kSampled, 0, 1, D3D11_RESOURCE_MISC_GENERATE_MIPS)},
        {"cube with four faces", TextureDesc(64, 64, kRgba, kSampled, 1, 4, kCube)},
        {"non-square cube", TextureDesc(64, 32, kRgba, kSampled, 1, 6, kCube)},
        {"dynamic with mips",
         TextureDesc(64, 64, kRgba, kSampled, 2, 1, 0, D3D11_USAGE_DYNAMIC, D3D11_CPU_ACCESS_WRITE)},
        {"immutable without data", TextureDesc(64, 64, kRgba, kSampled, 1, 1, 0, D3D11_USAGE_IMMUTABLE)},
        {"block-compressed of a size off the grid", TextureDesc(30, 64, DXGI_FORMAT_BC1_UNORM, kSampled)},
        {"4 GB, above the largest resource of 2048 MB",
         TextureDesc(16384, 16384, DXGI_FORMAT_R32G32B32A32_FLOAT, kSampled)},
    };
    for (const auto& [what, desc] : cases) {
        Ref<ID3D11Texture2D> texture;
        EXPECT_EQ(device_->CreateTexture2D(&desc, nullptr, texture.Put()), E_INVALIDARG) << what;
        EXPECT_FALSE(texture) << what;
    }
}

TEST_F(Textures, LimitsFollowTheFeatureLevel)
{
    HalvoD3D11_SetDriverType(D3D_DRIVER_TYPE_WARP, D3D_FEATURE_LEVEL_9_1);
    context_.Reset();
    device_.Reset();
    ASSERT_EQ(MakeDevice(), S_OK);
    ASSERT_EQ(level_, D3D_FEATURE_LEVEL_9_1);
    D3D11_TEXTURE2D_DESC desc = TextureDesc(2048, 16, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE);
    EXPECT_EQ(device_->CreateTexture2D(&desc, nullptr, nullptr), S_FALSE);
    desc.Width = 2049;
    EXPECT_EQ(device_->CreateTexture2D(&desc, nullptr, nullptr), E_INVALIDARG);
    desc.Width = 16;
    desc.ArraySize = 2;
    EXPECT_EQ(device_->CreateTexture2D(&desc, nullptr, nullptr), E_INVALIDARG) << "no arrays at 9_1";
}

TEST_F(Textures, AMipCountOfZeroMakesTheWholeChain)
{
    D3D11_TEXTURE2D_DESC desc =
        TextureDesc(256, 64, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE | D3D11_BIND_RENDER_TARGET);
    desc.MipLevels = 0;
    desc.MiscFlags = D3D11_RESOURCE_MISC_GENERATE_MIPS;
    Ref<ID3D11Texture2D> texture;
    ASSERT_EQ(device_->CreateTexture2D(&desc, nullptr, texture.Put()), S_OK);
    D3D11_TEXTURE2D_DESC read;
    texture->GetDesc(&read);
    EXPECT_EQ(read.MipLevels, 9u) << "256 x 64 down to 1 x 1";
}

using Views = D3D11Test;

TEST_F(Views, ViewsNeedTheirBindFlagAFittingFormatAndRange)
{
    Ref<ID3D11Texture2D> sampled = MakeTexture(16, 16, DXGI_FORMAT_R8G8B8A8_TYPELESS, D3D11_BIND_SHADER_RESOURCE, 3);
    Ref<ID3D11RenderTargetView> target;
    EXPECT_EQ(device_->CreateRenderTargetView(sampled.get(), nullptr, target.Put()), E_INVALIDARG) << "no bind flag";
    Ref<ID3D11ShaderResourceView> view;
    EXPECT_EQ(device_->CreateShaderResourceView(sampled.get(), nullptr, view.Put()), E_INVALIDARG)
        << "a typeless resource needs a typed view format";
    D3D11_SHADER_RESOURCE_VIEW_DESC desc{};
    desc.Format = DXGI_FORMAT_R8G8B8A8_UNORM_SRGB;
    desc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
    desc.Texture2D = {1, UINT(-1)};
    ASSERT_EQ(device_->CreateShaderResourceView(sampled.get(), &desc, view.Put()), S_OK);
    D3D11_SHADER_RESOURCE_VIEW_DESC read{};
    view->GetDesc(&read);
    EXPECT_EQ(read.Texture2D.MipLevels, 2u) << "all levels from the first";
    desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    EXPECT_EQ(device_->CreateShaderResourceView(sampled.get(), &desc, nullptr), E_INVALIDARG) << "another cast group";
    desc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    desc.Texture2D = {3, 1};
    EXPECT_EQ(device_->CreateShaderResourceView(sampled.get(), &desc, nullptr), E_INVALIDARG) << "past the last mip";
    desc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURECUBE;
    desc.TextureCube = {0, 1};
    EXPECT_EQ(device_->CreateShaderResourceView(sampled.get(), &desc, nullptr), E_INVALIDARG) << "not a cube";
    EXPECT_EQ(device_->CreateShaderResourceView(nullptr, nullptr, nullptr), E_INVALIDARG);

    // A cube's faces are targets by array slice (drawn on every back end), up to the sixth; its default view
    // is a cube.
    Ref<ID3D11Texture2D> cube =
        MakeTexture(16, 16, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE, 1, 6,
                    D3D11_RESOURCE_MISC_TEXTURECUBE);
    D3D11_RENDER_TARGET_VIEW_DESC past{};
    past.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    past.ViewDimension = D3D11_RTV_DIMENSION_TEXTURE2DARRAY;
    past.Texture2DArray = {0, 6, 1};
    EXPECT_EQ(device_->CreateRenderTargetView(cube.get(), &past, nullptr), E_INVALIDARG) << "past the last face";
    ShaderView(cube.get())->GetDesc(&read);
    EXPECT_EQ(read.ViewDimension, D3D11_SRV_DIMENSION_TEXTURECUBE);

    // Depth views need a depth format and known flags.
    Ref<ID3D11Texture2D> depth = MakeTexture(8, 8, DXGI_FORMAT_D24_UNORM_S8_UINT, D3D11_BIND_DEPTH_STENCIL);
    D3D11_DEPTH_STENCIL_VIEW_DESC depthDesc{};
    depthDesc.Format = DXGI_FORMAT_D24_UNORM_S8_UINT;
    depthDesc.ViewDimension = D3D11_DSV_DIMENSION_TEXTURE2D;
    EXPECT_EQ(device_->CreateDepthStencilView(depth.get(), &depthDesc, nullptr), S_FALSE);
    depthDesc.Flags = 0x10;
    EXPECT_EQ(device_->CreateDepthStencilView(depth.get(), &depthDesc, nullptr), E_INVALIDARG);
    EXPECT_EQ(device_->CreateDepthStencilView(cube.get(), nullptr, nullptr), E_INVALIDARG) << "a colour format";
}

TEST_F(Views, AViewKeepsItsResourceAndHandsItBack)
{
    Ref<ID3D11Texture2D> texture = MakeTexture(8, 8, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET);
    Ref<ID3D11RenderTargetView> view = TargetView(texture.get());
    ID3D11Texture2D* raw = texture.get();
    EXPECT_EQ(References(raw), 1u) << "the view's hold does not show in the count";
    EXPECT_EQ(texture.ReleaseAndCount(), 0u);
    Ref<ID3D11Resource> resource;
    view->GetResource(resource.Put());
    EXPECT_EQ(static_cast<void*>(resource.get()), static_cast<void*>(static_cast<ID3D11Resource*>(raw)));
    EXPECT_EQ(References(resource.get()), 1u);
    D3D11_RENDER_TARGET_VIEW_DESC desc;
    view->GetDesc(&desc);
    EXPECT_EQ(desc.Format, DXGI_FORMAT_R8G8B8A8_UNORM);
    EXPECT_EQ(desc.ViewDimension, D3D11_RTV_DIMENSION_TEXTURE2D);
}

using States = D3D11Test;

TEST_F(States, EqualDescriptionsHandOutTheSameObject)
{
    D3D11_SAMPLER_DESC sampler{};
    sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_LINEAR;
    sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_WRAP;
    sampler.ComparisonFunc = D3D11_COMPARISON_NEVER;
    sampler.MaxLOD = D3D11_FLOAT32_MAX;
    Ref<ID3D11SamplerState> first;
    Ref<ID3D11SamplerState> second;
    ASSERT_EQ(device_->CreateSamplerState(&sampler, first.Put()), S_OK);
    ASSERT_EQ(device_->CreateSamplerState(&sampler, second.Put()), S_OK);
    EXPECT_EQ(first.get(), second.get());
    EXPECT_EQ(References(first.get()), 2u);
    sampler.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
    Ref<ID3D11SamplerState> third;
    ASSERT_EQ(device_->CreateSamplerState(&sampler, third.Put()), S_OK);
    EXPECT_NE(third.get(), first.get());
    const D3D11_BLEND_DESC writing = BlendDescription(kBlendModes[0], true);
    const D3D11_BLEND_DESC notWriting = BlendDescription(kBlendModes[0], false);
    Ref<ID3D11BlendState> withWrites;
    Ref<ID3D11BlendState> withoutWrites;
    ASSERT_EQ(device_->CreateBlendState(&writing, withWrites.Put()), S_OK);
    ASSERT_EQ(device_->CreateBlendState(&notWriting, withoutWrites.Put()), S_OK);
    EXPECT_NE(withWrites.get(), withoutWrites.get()) << "the write mask tells them apart";
}

// Fields the platform ignores do not tell states apart, and GetDesc gives
// the description as kept: without independent blending every target blends
// as target 0; without stencil, the stencil fields are the defaults (masks
// 0xff, KEEP, KEEP, KEEP, ALWAYS); a sampler that is not anisotropic has
// MaxAnisotropy 1 and, addressing no border, the border colour (1, 1, 1, 1);
// a multisampling rasterizer does not antialias lines.
TEST_F(States, FieldsThePlatformIgnoresDoNotMakeASecondObject)
{
    D3D11_BLEND_DESC blend = BlendDescription(kBlendModes[0], true);
    Ref<ID3D11BlendState> firstBlend;
    Ref<ID3D11BlendState> secondBlend;
    ASSERT_EQ(device_->CreateBlendState(&blend, firstBlend.Put()), S_OK);
    blend.RenderTarget[3].SrcBlend = D3D11_BLEND_BLEND_FACTOR;
    blend.RenderTarget[7].RenderTargetWriteMask = 0;
    ASSERT_EQ(device_->CreateBlendState(&blend, secondBlend.Put()), S_OK);
    EXPECT_EQ(firstBlend.get(), secondBlend.get());
    D3D11_BLEND_DESC kept{};
    firstBlend->GetDesc(&kept);
    for (const D3D11_RENDER_TARGET_BLEND_DESC& target : kept.RenderTarget) {
        EXPECT_EQ(std::memcmp(&target, &kept.RenderTarget[0], sizeof target), 0);
    }
    blend.IndependentBlendEnable = TRUE;
    Ref<ID3D11BlendState> independent;
    ASSERT_EQ(device_->CreateBlendState(&blend, independent.Put()), S_OK);
    EXPECT_NE(independent.get(), firstBlend.get());
    independent->GetDesc(&kept);
    EXPECT_EQ(kept.RenderTarget[3].SrcBlend, D3D11_BLEND_BLEND_FACTOR);

    D3D11_DEPTH_STENCIL_DESC depth{};
    depth.DepthEnable = TRUE;
    depth.DepthWriteMask = D3D11_DEPTH_WRITE_MASK_ALL;
    depth.DepthFunc = D3D11_COMPARISON_LESS;
    Ref<ID3D11DepthStencilState> firstDepth;
    Ref<ID3D11DepthStencilState> secondDepth;
    ASSERT_EQ(device_->CreateDepthStencilState(&depth, firstDepth.Put()), S_OK);
    depth.StencilReadMask = 0x0f;
    depth.BackFace = {D3D11_STENCIL_OP_INCR, D3D11_STENCIL_OP_ZERO, D3D11_STENCIL_OP_DECR, D3D11_COMPARISON_EQUAL};
    ASSERT_EQ(device_->CreateDepthStencilState(&depth, secondDepth.Put()), S_OK);
    EXPECT_EQ(firstDepth.get(), secondDepth.get());
    D3D11_DEPTH_STENCIL_DESC keptDepth{};
    firstDepth->GetDesc(&keptDepth);
    EXPECT_EQ(std::tie(keptDepth.StencilReadMask, keptDepth.StencilWriteMask), std::make_tuple(0xff, 0xff));
    for (const D3D11_DEPTH_STENCILOP_DESC& face : {keptDepth.FrontFace, keptDepth.BackFace}) {
        EXPECT_EQ(std::tie(face.StencilFailOp, face.StencilDepthFailOp, face.StencilPassOp, face.StencilFunc),
                  std::make_tuple(D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP,
                                  D3D11_COMPARISON_ALWAYS));
    }
    EXPECT_EQ(std::tie(keptDepth.DepthEnable, keptDepth.DepthFunc), std::make_tuple(TRUE, D3D11_COMPARISON_LESS));
    depth.StencilEnable = TRUE;
    depth.FrontFace = depth.BackFace;
    Ref<ID3D11DepthStencilState> stencilled;
    ASSERT_EQ(device_->CreateDepthStencilState(&depth, stencilled.Put()), S_OK);
    EXPECT_NE(stencilled.get(), firstDepth.get());

    D3D11_SAMPLER_DESC sampler{};
    sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_POINT;
    sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
    Ref<ID3D11SamplerState> firstSampler;
    Ref<ID3D11SamplerState> secondSampler;
    ASSERT_EQ(device_->CreateSamplerState(&sampler, firstSampler.Put()), S_OK);
    sampler.MaxAnisotropy = 16;
    sampler.BorderColor[2] = 0.5f;
    ASSERT_EQ(device_->CreateSamplerState(&sampler, secondSampler.Put()), S_OK);
    EXPECT_EQ(firstSampler.get(), secondSampler.get());
    D3D11_SAMPLER_DESC keptSampler{};
    firstSampler->GetDesc(&keptSampler);
    EXPECT_EQ(keptSampler.MaxAnisotropy, 1u);
    EXPECT_EQ(std::vector<FLOAT>(keptSampler.BorderColor, keptSampler.BorderColor + 4), std::vector<FLOAT>(4, 1.0f));
    sampler.AddressV = D3D11_TEXTURE_ADDRESS_BORDER;
    Ref<ID3D11SamplerState> bordered;
    ASSERT_EQ(device_->CreateSamplerState(&sampler, bordered.Put()), S_OK);
    bordered->GetDesc(&keptSampler);
    EXPECT_EQ(keptSampler.BorderColor[2], 0.5f) << "a border address uses the colour";
    sampler.Filter = D3D11_FILTER_COMPARISON_ANISOTROPIC;
    sampler.ComparisonFunc = D3D11_COMPARISON_LESS;
    Ref<ID3D11SamplerState> anisotropic;
    ASSERT_EQ(device_->CreateSamplerState(&sampler, anisotropic.Put()), S_OK);
    anisotropic->GetDesc(&keptSampler);
    EXPECT_EQ(keptSampler.MaxAnisotropy, 16u) << "an anisotropic filter uses the clamp";

    D3D11_RASTERIZER_DESC rasterizer{D3D11_FILL_SOLID, D3D11_CULL_BACK, FALSE, 0, 0.0f, 0.0f, TRUE, FALSE, TRUE, TRUE};
    Ref<ID3D11RasterizerState> firstRasterizer;
    Ref<ID3D11RasterizerState> secondRasterizer;
    ASSERT_EQ(device_->CreateRasterizerState(&rasterizer, firstRasterizer.Put()), S_OK);
    rasterizer.AntialiasedLineEnable = FALSE;
    ASSERT_EQ(device_->CreateRasterizerState(&rasterizer, secondRasterizer.Put()), S_OK);
    EXPECT_EQ(firstRasterizer.get(), secondRasterizer.get());
    rasterizer.MultisampleEnable = FALSE;
    rasterizer.AntialiasedLineEnable = TRUE;
    Ref<ID3D11RasterizerState> aliased;
    ASSERT_EQ(device_->CreateRasterizerState(&rasterizer, aliased.Put()), S_OK);
    EXPECT_NE(aliased.get(), firstRasterizer.get()) << "without multisampling lines are antialiased";
}

TEST_F(States, AReleasedStateIsMadeAfreshAndABoundOneIsFoundAgain)
{
    D3D11_RASTERIZER_DESC desc{D3D11_FILL_SOLID, D3D11_CULL_BACK, FALSE, 0, 0.0f, 0.0f, TRUE, FALSE, FALSE, FALSE};
    Ref<ID3D11RasterizerState> state;
    ASSERT_EQ(device_->CreateRasterizerState(&desc, state.Put()), S_OK);
    context_->RSSetState(state.get());
    ID3D11RasterizerState* bound = state.get();
    EXPECT_EQ(state.ReleaseAndCount(), 0u);
    Ref<ID3D11RasterizerState> again;
    ASSERT_EQ(device_->CreateRasterizerState(&desc, again.Put()), S_OK);
    EXPECT_EQ(again.get(), bound) << "the context's binding kept it alive";
    EXPECT_EQ(References(again.get()), 1u);
}

TEST_F(States, OutOfRangeDescriptionsAreRefused)
{
    D3D11_BLEND_DESC blend = BlendDescription(kBlendModes[0], true);
    blend.RenderTarget[0].SrcBlendAlpha = D3D11_BLEND_SRC_COLOR;
    EXPECT_EQ(device_->CreateBlendState(&blend, nullptr), E_INVALIDARG) << "alpha blended by a colour factor";
    blend.RenderTarget[0].SrcBlendAlpha = D3D11_BLEND_SRC_ALPHA;
    EXPECT_EQ(device_->CreateBlendState(&blend, nullptr), S_FALSE);
    D3D11_SAMPLER_DESC sampler{};
    sampler.Filter = D3D11_FILTER(0x3);
    sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
    EXPECT_EQ(device_->CreateSamplerState(&sampler, nullptr), E_INVALIDARG);
    sampler.Filter = D3D11_FILTER_ANISOTROPIC;
    sampler.MaxAnisotropy = 17;
    EXPECT_EQ(device_->CreateSamplerState(&sampler, nullptr), E_INVALIDARG);
    D3D11_DEPTH_STENCIL_DESC depth{};
    depth.DepthEnable = TRUE;
    depth.DepthWriteMask = D3D11_DEPTH_WRITE_MASK_ALL;
    depth.DepthFunc = D3D11_COMPARISON_FUNC(9);
    EXPECT_EQ(device_->CreateDepthStencilState(&depth, nullptr), E_INVALIDARG);
    depth.DepthFunc = D3D11_COMPARISON_LESS;
    EXPECT_EQ(device_->CreateDepthStencilState(&depth, nullptr), S_FALSE)
        << "stencil fields left 0 are not looked at while the stencil is off";
    D3D11_RASTERIZER_DESC rasterizer{D3D11_FILL_MODE(1), D3D11_CULL_BACK, FALSE, 0, 0, 0, TRUE, FALSE, FALSE, FALSE};
    EXPECT_EQ(device_->CreateRasterizerState(&rasterizer, nullptr), E_INVALIDARG);
    Ref<ID3D11Device1> device1;
    ASSERT_EQ(device_->QueryInterface(IID_PPV_ARGS(device1.Put())), S_OK);
    D3D11_RASTERIZER_DESC1 forced{D3D11_FILL_SOLID, D3D11_CULL_NONE, FALSE, 0, 0, 0, TRUE, FALSE, FALSE, FALSE, 3};
    EXPECT_EQ(device1->CreateRasterizerState1(&forced, nullptr), E_INVALIDARG) << "a forced sample count";
}

}  // namespace
