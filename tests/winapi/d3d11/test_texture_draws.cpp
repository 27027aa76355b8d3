// Textures as the renderer samples them, drawn: cube maps by direction, each
// face of a cube as a render target, mip chains made by GenerateMips and
// read at a chosen level, B8G8R8X8 textures and targets (whose alpha reads
// 1), and shader slots that nothing is bound to. Expectations come from the
// platform's rules (cube face selection, box-filtered mips), worked out here.
#include <algorithm>
#include <array>
#include <cstring>

#include "winapi/d3d11/backend_test_support.h"

namespace {

constexpr char kTexturedVertexSource[] =
    "struct VertexInput { float3 position : POSITION; float2 uv : TEXCOORD0; };\n"
    "struct VertexOutput { float4 position : SV_POSITION; float2 uv : TEXCOORD0; };\n"
    "VertexOutput main(VertexInput input) {\n"
    "  VertexOutput output;\n"
    "  output.position = float4(input.position, 1.0);\n"
    "  output.uv = input.uv;\n"
    "  return output;\n"
    "}\n";

// Samples slot 0 at the level of the constant, or by the sampler's own rules when it is negative.
constexpr char kTexturedPixelSource[] =
    "Texture2D image : register(t0);\nSamplerState imageSampler : register(s0);\n"
    "cbuffer Level : register(b0) { float4 level; };\n"
    "struct PixelInput { float4 position : SV_POSITION; float2 uv : TEXCOORD0; };\n"
    "float4 main(PixelInput input) : SV_TARGET0 {\n"
    "  if (level.x < 0.0) return image.Sample(imageSampler, input.uv);\n"
    "  return image.SampleLevel(imageSampler, input.uv, level.x);\n"
    "}\n";

constexpr char kDirectionVertexSource[] =
    "struct VertexInput { float3 position : POSITION; float3 direction : TEXCOORD0; };\n"
    "struct VertexOutput { float4 position : SV_POSITION; float3 direction : TEXCOORD0; };\n"
    "VertexOutput main(VertexInput input) {\n"
    "  VertexOutput output;\n"
    "  output.position = float4(input.position, 1.0);\n"
    "  output.direction = input.direction;\n"
    "  return output;\n"
    "}\n";

constexpr char kCubePixelSource[] =
    "TextureCube sky : register(t0);\nSamplerState skySampler : register(s0);\n"
    "cbuffer Level : register(b0) { float4 level; };\n"
    "struct PixelInput { float4 position : SV_POSITION; float3 direction : TEXCOORD0; };\n"
    "float4 main(PixelInput input) : SV_TARGET0 {\n"
    "  if (level.x < 0.0) return sky.Sample(skySampler, input.direction);\n"
    "  return sky.SampleLevel(skySampler, input.direction, level.x);\n"
    "}\n";

// Faces in the platform's order: +X, -X, +Y, -Y, +Z, -Z.
constexpr UINT kFaces = 6;

// The direction that meets a face at face coordinates (u, v) in 0..1, by the
// platform's rule for choosing the face and its coordinates from the major axis.
void FaceDirection(UINT face, float u, float v, float out[3])
{
    const float s = 2 * u - 1;
    const float t = 2 * v - 1;
    const float directions[kFaces][3] = {{1, -t, -s}, {-1, -t, s}, {s, 1, t}, {s, -1, -t}, {s, -t, 1}, {-s, -t, -1}};
    std::memcpy(out, directions[face], sizeof directions[face]);
}

class TextureDraws : public BackendTest {
protected:
    void SetUp() override
    {
        BackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        UseTextured(kTexturedVertexSource, kTexturedPixelSource);
        cube_ = MakeProgram(kDirectionVertexSource, kCubePixelSource,
                            {Element("POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0),
                             Element("TEXCOORD", 0, DXGI_FORMAT_R32G32B32_FLOAT, 12)});
        ASSERT_TRUE(textured_.layout && cube_.layout);
        point_ = MakeSampler(D3D11_FILTER_MIN_MAG_MIP_POINT);
    }

    void TearDown() override
    {
        textured_ = {};
        cube_ = {};
        point_.Reset();
        BackendTest::TearDown();
    }

    // Makes the program Sampled() draws with: positions in slot 0, texture coordinates in `uvSlot`.
    void UseTextured(const char* vertexSource, const char* pixelSource, UINT uvSlot = 0)
    {
        textured_ = MakeProgram(vertexSource, pixelSource,
                                {Element("POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0),
                                 Element("TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, uvSlot == 0 ? 12 : 0, uvSlot)});
        ASSERT_TRUE(textured_.layout);
    }

    // Draws the view over a new width x height RGBA target with the sampler
    // (point by default), at `level` (< 0: as the sampler chooses), texture
    // coordinates running from uvLow to uvHigh; returns the target.
    Ref<ID3D11Texture2D> Sampled(ID3D11ShaderResourceView* view, UINT width, UINT height, float level = 0.0f,
                                 ID3D11SamplerState* sampler = nullptr, float uvLow = 0.0f, float uvHigh = 1.0f)
    {
        const float corners[4][2] = {{uvLow, uvLow}, {uvHigh, uvLow}, {uvLow, uvHigh}, {uvHigh, uvHigh}};
        const std::vector<float> positions = Rectangle(-1, 1, 1, -1);
        const int order[6] = {0, 1, 2, 1, 3, 2};  // the corners of Rectangle's two triangles
        std::vector<float> vertices;
        for (int corner = 0; corner < 6; ++corner) {
            vertices.insert(vertices.end(), positions.begin() + corner * 3, positions.begin() + corner * 3 + 3);
            vertices.insert(vertices.end(), corners[order[corner]], corners[order[corner]] + 2);
        }
        return Drawn(textured_, vertices, 5, view, sampler, width, height, level);
    }

    // Draws pixel (column, row) of a columns x rows RGBA target with the cube
    // sampled in the direction given for it; returns the target.
    Ref<ID3D11Texture2D> SampledByDirection(ID3D11ShaderResourceView* view, UINT columns, UINT rows,
                                            const std::vector<std::array<float, 3>>& directions, float level = -1.0f)
    {
        std::vector<float> vertices;
        for (UINT row = 0; row < rows; ++row) {
            for (UINT column = 0; column < columns; ++column) {
                const std::vector<float> pixel =
                    Rectangle(-1 + 2.0f * column / columns, 1 - 2.0f * row / rows, -1 + 2.0f * (column + 1) / columns,
                              1 - 2.0f * (row + 1) / rows);
                for (int corner = 0; corner < 6; ++corner) {
                    vertices.insert(vertices.end(), pixel.begin() + corner * 3, pixel.begin() + corner * 3 + 3);
                    const std::array<float, 3>& direction = directions[row * columns + column];
                    vertices.insert(vertices.end(), direction.begin(), direction.end());
                }
            }
        }
        return Drawn(cube_, vertices, 6, view, nullptr, columns, rows, level);
    }

    // Draws the vertices (`floats` each) with the program, the view in slot 0
    // and the sampler (point by default), over a new RGBA target; returns the target.
    Ref<ID3D11Texture2D> Drawn(const Program& program, const std::vector<float>& vertices, UINT floats,
                               ID3D11ShaderResourceView* view, ID3D11SamplerState* sampler, UINT width, UINT height,
                               float level)
    {
        UseProgram(program);
        SetVertices(vertices, floats * 4);
        const float constants[4] = {level, 0, 0, 0};
        SetPixelConstants(constants, 16);
        ID3D11ShaderResourceView* views[] = {view};
        ID3D11SamplerState* samplers[] = {sampler != nullptr ? sampler : point_.get()};
        context_->PSSetShaderResources(0, 1, views);
        context_->PSSetSamplers(0, 1, samplers);
        Ref<ID3D11Texture2D> target = BoundTarget(width, height);
        context_->Draw(UINT(vertices.size() / floats), 0);
        ID3D11ShaderResourceView* none[] = {nullptr};
        context_->PSSetShaderResources(0, 1, none);
        SetTarget(nullptr, width, height);
        return target;
    }

    // Fills the whole of a target view with one colour by drawing.
    void DrawColour(ID3D11RenderTargetView* view, UINT width, UINT height, const FLOAT colour[4])
    {
        SetTarget(view, width, height);
        DrawColoured(Rectangle(-1, 1, 1, -1), colour);
        SetTarget(nullptr, width, height);
    }

    static std::vector<std::array<float, 3>> FaceCentres()
    {
        std::vector<std::array<float, 3>> directions(kFaces);
        for (UINT face = 0; face < kFaces; ++face) FaceDirection(face, 0.5f, 0.5f, directions[face].data());
        return directions;
    }

    Program textured_;
    Program cube_;
    Ref<ID3D11SamplerState> point_;
};

// ---- Cube maps

TEST_P(TextureDraws, ACubeIsSampledOnTheFaceAndTexelItsDirectionMeets)
{
    // Six 2 x 2 faces, every texel different.
    auto texel = [](UINT face, UINT u, UINT v) {
        return Rgba(uint8_t(face * 40 + u * 10 + 5), uint8_t(v * 100 + 50), uint8_t(255 - face * 30), 255);
    };
    std::vector<uint32_t> faces(kFaces * 4);
    for (UINT face = 0; face < kFaces; ++face) {
        for (UINT v = 0; v < 2; ++v) {
            for (UINT u = 0; u < 2; ++u) faces[face * 4 + v * 2 + u] = texel(face, u, v);
        }
    }
    Ref<ID3D11Texture2D> cube = MakeImmutableCube(2, faces);
    ASSERT_TRUE(cube);
    D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc{};
    viewDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURECUBE;
    viewDesc.TextureCube = {0, 1};
    Ref<ID3D11ShaderResourceView> view = ShaderView(cube.get(), &viewDesc);

    // Column: the face; row: the texel (u + 2v), met at its centre.
    std::vector<std::array<float, 3>> directions(kFaces * 4);
    std::vector<uint32_t> expected(kFaces * 4);
    for (UINT face = 0; face < kFaces; ++face) {
        for (UINT quarter = 0; quarter < 4; ++quarter) {
            const UINT u = quarter % 2;
            const UINT v = quarter / 2;
            FaceDirection(face, (u + 0.5f) / 2, (v + 0.5f) / 2, directions[quarter * kFaces + face].data());
            expected[quarter * kFaces + face] = texel(face, u, v);
        }
    }
    ExpectDrawn("CubeByDirection", SampledByDirection(view.get(), kFaces, 4, directions).get(), expected);
}

TEST_P(TextureDraws, EachFaceOfACubeIsARenderTargetOfItsOwn)
{
    // As the renderer makes a cube render target: one array-slice view per face, a cube view of all levels;
    // with 32 x 32 faces the mipped one has 2 levels.
    for (UINT levels : {1u, 2u}) {
        SCOPED_TRACE(std::to_string(levels) + " levels");
        const UINT size = levels == 1 ? 4 : 32;
        Ref<ID3D11Texture2D> cube = MakeTexture(
            size, size, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE, levels, 6,
            D3D11_RESOURCE_MISC_TEXTURECUBE | (levels > 1 ? UINT(D3D11_RESOURCE_MISC_GENERATE_MIPS) : 0u));
        ASSERT_TRUE(cube);
        std::vector<uint32_t> expected(kFaces);
        for (UINT face = 0; face < kFaces; ++face) {
            D3D11_RENDER_TARGET_VIEW_DESC faceDesc{};
            faceDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
            faceDesc.ViewDimension = D3D11_RTV_DIMENSION_TEXTURE2DARRAY;
            faceDesc.Texture2DArray = {0, face, 1};
            Ref<ID3D11RenderTargetView> faceView;
            ASSERT_EQ(device_->CreateRenderTargetView(cube.get(), &faceDesc, faceView.Put()), S_OK);
            // Channel values that are whole multiples of 1/255 stay exact through any filter.
            const uint8_t red = uint8_t(face * 51);
            const uint8_t green = uint8_t(255 - face * 34);
            const FLOAT colour[4] = {red / 255.0f, green / 255.0f, (face % 2) * 1.0f, 1.0f};
            DrawColour(faceView.get(), size, size, colour);
            expected[face] = Rgba(red, green, uint8_t((face % 2) * 255), 255);
        }
        D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc{};
        viewDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
        viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURECUBE;
        viewDesc.TextureCube = {0, levels};
        Ref<ID3D11ShaderResourceView> view = ShaderView(cube.get(), &viewDesc);
        if (levels > 1) context_->GenerateMips(view.get());
        const float level = float(levels - 1);
        ExpectDrawn("CubeFaceTargets" + std::to_string(levels),
                    SampledByDirection(view.get(), kFaces, 1, FaceCentres(), level).get(), expected);
    }
}

// ---- Mip chains

TEST_P(TextureDraws, GeneratedMipsAreSampledAtTheLevelAsked)
{
    const UINT levels = 4;
    std::vector<std::vector<uint32_t>> chain = {Ramp(64, 9)};
    Ref<ID3D11Texture2D> texture = MakeGeneratedMips(8, levels, chain[0]);
    Ref<ID3D11ShaderResourceView> view = ShaderView(texture.get());
    for (UINT level = 1; level < levels; ++level) chain.push_back(BoxFiltered(chain.back(), 16 >> level, 16 >> level));

    // Point-sampled at each level, over a target of that level's size: the level itself, within 1 per channel.
    for (UINT level = 0; level < levels; ++level) {
        const UINT size = 8 >> level;
        ExpectDrawn("MipLevel" + std::to_string(level), Sampled(view.get(), size, size, float(level)).get(),
                    chain[level], false, level == 0 ? 0 : 1);
    }
    // A sampler whose smallest LOD is 2 reads level 2 even where the draw would take level 0.
    Ref<ID3D11SamplerState> clamped = MakeSampler(D3D11_FILTER_MIN_MAG_MIP_POINT, D3D11_TEXTURE_ADDRESS_CLAMP, 2.0f);
    ExpectDrawn("MipLodClamp", Sampled(view.get(), 8, 8, -1.0f, clamped.get()).get(),
                Image(8, 8, [&](UINT x, UINT y) { return chain[2][(y / 4) * 2 + x / 4]; }), false, 1);
}

// ---- Filtering and addressing

TEST_P(TextureDraws, LinearFilteringWeighsTheFourNearestTexels)
{
    // 2 x 2 texels over 4 x 4 pixels: pixel centres fall at texel coordinates -0.25, 0.25, 0.75 and 1.25 on each
    // axis, so the weights of the second texel of an axis are 0 (clamped), 1/4, 3/4 and 1 (clamped).
    const uint32_t texels[4] = {Rgba(0, 100, 200, 255), Rgba(200, 0, 100, 55), Rgba(40, 240, 10, 130),
                                Rgba(120, 60, 250, 0)};
    Ref<ID3D11Texture2D> texture =
        MakeTexture(2, 2, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE, 1, 1, 0, texels, 8);
    const double weights[4] = {0.0, 0.25, 0.75, 1.0};
    std::vector<uint32_t> expected;
    for (double v : weights) {
        for (double u : weights) {
            uint8_t channels[4];
            for (int c = 0; c < 4; ++c) {
                auto channel = [&](int texel) { return double((texels[texel] >> (8 * c)) & 0xff); };
                const double top = channel(0) * (1 - u) + channel(1) * u;
                const double bottom = channel(2) * (1 - u) + channel(3) * u;
                channels[c] = Unorm8((top * (1 - v) + bottom * v) / 255.0);
            }
            expected.push_back(Rgba(channels[0], channels[1], channels[2], channels[3]));
        }
    }
    Ref<ID3D11ShaderResourceView> view = ShaderView(texture.get());
    Ref<ID3D11SamplerState> linear = MakeSampler(D3D11_FILTER_MIN_MAG_MIP_LINEAR);
    ExpectDrawn("Linear", Sampled(view.get(), 4, 4, 0.0f, linear.get()).get(), expected, false, 1);

    // The renderer's anisotropic samplers (at most 8) filter an evenly magnified texture the same way.
    Ref<ID3D11SamplerState> anisotropic =
        MakeSampler(D3D11_FILTER_ANISOTROPIC, D3D11_TEXTURE_ADDRESS_CLAMP, 0.0f, D3D11_FLOAT32_MAX, 8);
    ExpectDrawn("Anisotropic", Sampled(view.get(), 4, 4, -1.0f, anisotropic.get()).get(), expected, false, 1);
}

TEST_P(TextureDraws, AddressModesClampWrapAndMirrorOutsideTheTexture)
{
    // Texture coordinates from -1 to 2 over 12 pixels of a 4-texel texture: pixel x meets texel x - 4.
    const std::vector<uint32_t> texels = Ramp(4, 60);
    Ref<ID3D11Texture2D> texture =
        MakeTexture(4, 1, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE, 1, 1, 0, texels.data(), 16);
    Ref<ID3D11ShaderResourceView> view = ShaderView(texture.get());
    struct Case {
        const char* name;
        D3D11_TEXTURE_ADDRESS_MODE mode;
        int (*texel)(int);  // the texel that index i (-4..7) reads
    };
    const Case cases[] = {
        {"Clamp", D3D11_TEXTURE_ADDRESS_CLAMP, [](int i) { return std::clamp(i, 0, 3); }},
        {"Wrap", D3D11_TEXTURE_ADDRESS_WRAP, [](int i) { return (i + 8) % 4; }},
        {"Mirror", D3D11_TEXTURE_ADDRESS_MIRROR,
         [](int i) {
             const int period = (i + 8) % 8;  // 0..3 forwards, 4..7 backwards
             return period < 4 ? period : 7 - period;
         }},
    };
    for (const Case& address : cases) {
        SCOPED_TRACE(address.name);
        Ref<ID3D11SamplerState> sampler = MakeSampler(D3D11_FILTER_MIN_MAG_MIP_POINT, address.mode);
        std::vector<uint32_t> expected;
        for (int x = 0; x < 12; ++x) expected.push_back(texels[address.texel(x - 4)]);
        // One row: every pixel's v is inside the texture.
        ExpectDrawn(std::string("Address") + address.name,
                    Sampled(view.get(), 12, 1, 0.0f, sampler.get(), -1.0f, 2.0f).get(), expected);
    }
}

// ---- B8G8R8X8

TEST_P(TextureDraws, B8G8R8X8TexturesAndTargetsReadAlphaAsOne)
{
    // A texture whose X bytes are 0: sampled, its alpha is 1.
    const uint8_t texels[4][4] = {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 7}, {200, 150, 100, 0}};
    Ref<ID3D11Texture2D> texture =
        MakeTexture(4, 1, DXGI_FORMAT_B8G8R8X8_UNORM, D3D11_BIND_SHADER_RESOURCE, 1, 1, 0, texels, 16);
    ExpectDrawn("BgrxTexture", Sampled(ShaderView(texture.get()).get(), 4, 1).get(),
                {Rgba(30, 20, 10, 255), Rgba(60, 50, 40, 255), Rgba(90, 80, 70, 255), Rgba(100, 150, 200, 255)});

    // A target drawn with an alpha of 0.25 samples with alpha 1.
    Ref<ID3D11Texture2D> target =
        MakeTexture(4, 1, DXGI_FORMAT_B8G8R8X8_UNORM, D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE);
    const FLOAT colour[4] = {0.2f, 0.4f, 0.6f, 0.25f};
    DrawColour(TargetView(target.get()).get(), 4, 1, colour);
    ExpectDrawn("BgrxTarget", Sampled(ShaderView(target.get()).get(), 4, 1).get(),
                std::vector<uint32_t>(4, Rgba(51, 102, 153, 255)));

    // Blending reads the destination's alpha as 1 (whatever its X bytes hold): all of the source, none of
    // the destination.
    const uint8_t grey[4][4] = {{102, 102, 102, 0}, {102, 102, 102, 0}, {102, 102, 102, 0}, {102, 102, 102, 0}};
    Ref<ID3D11Texture2D> blended = MakeTexture(
        4, 1, DXGI_FORMAT_B8G8R8X8_UNORM, D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE, 1, 1, 0, grey, 16);
    const D3D11_BLEND_DESC blendDesc =
        BlendDescription({D3D11_BLEND_DEST_ALPHA, D3D11_BLEND_INV_DEST_ALPHA, D3D11_BLEND_OP_ADD, true}, true);
    Ref<ID3D11BlendState> blend;
    ASSERT_EQ(device_->CreateBlendState(&blendDesc, blend.Put()), S_OK);
    context_->OMSetBlendState(blend.get(), nullptr, 0xffffffff);
    DrawColour(TargetView(blended.get()).get(), 4, 1, colour);
    context_->OMSetBlendState(nullptr, nullptr, 0xffffffff);
    ExpectDrawn("BgrxDestinationAlpha", Sampled(ShaderView(blended.get()).get(), 4, 1).get(),
                std::vector<uint32_t>(4, Rgba(51, 102, 153, 255)));
}

// ---- Views of every kind, bound or not

constexpr char kEveryKindPixelSource[] =
    "Texture2D flat : register(t0);\nTexture2DArray layers : register(t1);\nTextureCube sky : register(t2);\n"
    "Texture3D volume : register(t3);\nTextureCubeArray skies : register(t4);\n"
    "SamplerState pointSampler : register(s0);\n"
    "struct PixelInput { float4 position : SV_POSITION; float2 uv : TEXCOORD0; };\n"
    "float4 main(PixelInput input) : SV_TARGET0 {\n"
    "  return flat.Sample(pointSampler, input.uv) + layers.Sample(pointSampler, float3(input.uv, 0.0))\n"
    "       + sky.Sample(pointSampler, float3(1.0, input.uv)) + volume.Sample(pointSampler, float3(input.uv, 0.5))\n"
    "       + skies.Sample(pointSampler, float4(1.0, input.uv, 0.0)) + float4(0.25, 0.6, 0.75, 1.0);\n"
    "}\n";

TEST_P(TextureDraws, ViewsAreReadAsTheKindTheShaderDeclaresAndEmptySlotsReadZeros)
{
    constexpr char kArrayPixelSource[] =
        "Texture2DArray layers : register(t0);\nSamplerState pointSampler : register(s0);\n"
        "struct PixelInput { float4 position : SV_POSITION; float2 uv : TEXCOORD0; };\n"
        "float4 main(PixelInput input) : SV_TARGET0 { return layers.Sample(pointSampler, float3(input.uv, 0.0)); }\n";
    UseTextured(kTexturedVertexSource, kArrayPixelSource);
    const std::vector<uint32_t> texels = Ramp(8, 77);
    Ref<ID3D11Texture2D> texture =
        MakeTexture(4, 2, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE, 1, 1, 0, texels.data(), 16);
    D3D11_SHADER_RESOURCE_VIEW_DESC viewDesc{};
    viewDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    viewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2DARRAY;
    viewDesc.Texture2DArray = {0, 1, 0, 1};
    ExpectDrawn("OneSliceArray", Sampled(ShaderView(texture.get(), &viewDesc).get(), 4, 2).get(), texels);

    UseTextured(kTexturedVertexSource, kEveryKindPixelSource);
    // Sampled() binds slot 0 only: an empty 2D view there reads zeros as well.
    ExpectDrawn("EveryKindUnbound", Sampled(nullptr, 4, 2).get(), std::vector<uint32_t>(8, Rgba(64, 153, 191, 255)));
}

// Vertex outputs in another order than the pixel inputs.
constexpr char kReorderedVertexSource[] =
    "struct VertexInput { float3 position : POSITION; float2 uv : TEXCOORD0; };\n"
    "struct VertexOutput { float4 colour : COLOR0; float2 uv : TEXCOORD0; float4 position : SV_POSITION; };\n"
    "VertexOutput main(VertexInput input) {\n"
    "  VertexOutput output;\n"
    "  output.colour = float4(0.25, 0.5, 0.75, 1.0);\n"
    "  output.position = float4(input.position, 1.0);\n"
    "  output.uv = input.uv;\n"
    "  return output;\n"
    "}\n";

TEST_P(TextureDraws, StagesLinkBySemanticAndAnElementWithoutABufferReadsZeros)
{
    // Texel (x, y) differs from every other, so any shift, flip or filtering shows.
    const std::vector<uint32_t> texels = Ramp(8 * 4, 5);
    Ref<ID3D11Texture2D> image =
        MakeTexture(8, 4, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE, 1, 1, 0, texels.data(), 32);
    Ref<ID3D11ShaderResourceView> view = ShaderView(image.get());
    UseTextured(kReorderedVertexSource, kTexturedPixelSource);
    ExpectDrawn("LinkedQuad", Sampled(view.get(), 8, 4).get(), texels);
    // The coordinates in slot 1, which has no buffer: every pixel reads texel (0, 0).
    UseTextured(kTexturedVertexSource, kTexturedPixelSource, 1);
    ExpectDrawn("UnboundSlotQuad", Sampled(view.get(), 8, 4).get(), std::vector<uint32_t>(32, texels[0]));
}

INSTANTIATE_ON_EVERY_BACKEND(TextureDraws);

}  // namespace
