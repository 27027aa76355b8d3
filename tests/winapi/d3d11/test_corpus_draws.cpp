// The Shader XML corpus drawn: every file whose vertex and pixel stages take
// a plain vertex buffer is translated for HLSL11 by the engine's translator,
// compiled by our compiler library, given an input layout by the renderer's
// rule for its vertex format, and drawn with chosen inputs. The expected
// pixels are each shader's formula worked out here, in its own order of
// operations, from those inputs.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "winapi/d3d11/backend_test_support.h"
#include "winapi/d3d11/corpus_shaders.h"

namespace {

// The renderer's vertex elements, in the order of their bits in the vertex format mask.
struct VertexElement {
    UINT bit;
    const char* semantic;
    UINT index;
    DXGI_FORMAT format;
    UINT bytes;
};
constexpr VertexElement kVertexElements[] = {
    {1, "POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 12},          // position
    {2, "COLOR", 0, DXGI_FORMAT_B8G8R8A8_UNORM, 4},               // packed colour, B, G, R, A
    {4, "TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 8},              // first texture coordinate
    {16, "TEXCOORD", 1, DXGI_FORMAT_R32G32_FLOAT, 8},             // second texture coordinate
    {8, "NORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 12},            // normal
    {32, "TANGENT", 0, DXGI_FORMAT_R32G32B32_FLOAT, 12},          // tangent
    {64, "BINORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 12},         // binormal
    {128, "BLENDINDICES", 0, DXGI_FORMAT_R8G8B8A8_UINT, 4},       // blend indices
    {256, "BLENDWEIGHT", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 16},  // blend weights
};

// Vertices written field by field, in the layout's order.
struct VertexBytes {
    void Floats(std::initializer_list<float> values)
    {
        for (float value : values) {
            const auto* start = reinterpret_cast<const uint8_t*>(&value);
            bytes.insert(bytes.end(), start, start + sizeof value);
        }
    }
    void Bytes(std::initializer_list<uint8_t> values) { bytes.insert(bytes.end(), values); }

    std::vector<uint8_t> bytes;
};

// A 4 x 4 matrix as the constant buffer holds it: out[c] = dot(v, row c) for mul(v, M) under the
// default column-major packing.
struct Matrix {
    float rows[4][4];
};
constexpr Matrix kIdentity = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
// Model coordinates 0..1 (y down) onto the whole target.
constexpr Matrix kModelToTarget = {{{2, 0, 0, -1}, {0, -2, 0, 1}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

float Channel(uint32_t rgba, int c) { return float((rgba >> (8 * c)) & 0xff) / 255.0f; }

// The stored pixel of a shader's result. The inputs are chosen so that no channel lies within a
// thousandth of a rounding edge, where the device's last bit would decide.
uint32_t Stored(const float rgba[4])
{
    for (int c = 0; c < 4; ++c) {
        const double scaled = std::clamp(double(rgba[c]), 0.0, 1.0) * 255.0;
        EXPECT_GT(std::abs(scaled - std::floor(scaled) - 0.5), 1e-3) << "channel " << c << " of the expectation";
    }
    return Rgba(Unorm8(rgba[0]), Unorm8(rgba[1]), Unorm8(rgba[2]), Unorm8(rgba[3]));
}

// The stored pixel of each texel, channel c of the shader's result being `channel(texel, c)`.
template <typename Channel>
std::vector<uint32_t> PerTexel(const std::vector<uint32_t>& texels, Channel channel)
{
    std::vector<uint32_t> stored;
    for (uint32_t texel : texels) {
        const float out[4] = {channel(texel, 0), channel(texel, 1), channel(texel, 2), channel(texel, 3)};
        stored.push_back(Stored(out));
    }
    return stored;
}

class CorpusDraws : public BackendTest {
protected:
    // Translates and compiles a corpus file and binds it with the renderer's layout for the mask.
    void UseCorpusShader(const std::string& file, UINT mask)
    {
        const TranslatedShader shader = TranslateCorpusShader(file);
        ASSERT_TRUE(shader.translated) << shader.log;
        std::vector<D3D11_INPUT_ELEMENT_DESC> elements;
        UINT offset = 0;
        for (const VertexElement& element : kVertexElements) {
            if ((mask & element.bit) == 0) continue;
            elements.push_back(Element(element.semantic, element.index, element.format, offset));
            offset += element.bytes;
        }
        stride_ = offset;
        program_ = MakeProgram(shader.vertex, shader.pixel, elements);
        ASSERT_TRUE(program_.layout) << shader.vertex << shader.pixel;
        UseProgram(program_);
    }

    void SetVertexBytes(const VertexBytes& vertices)
    {
        vertexBuffer_ = MakeBuffer(UINT(vertices.bytes.size()), D3D11_USAGE_IMMUTABLE, D3D11_BIND_VERTEX_BUFFER, 0,
                                   vertices.bytes.data());
        ID3D11Buffer* buffers[] = {vertexBuffer_.get()};
        const UINT offset = 0;
        context_->IASetVertexBuffers(0, 1, buffers, &stride_, &offset);
    }

    // A view of a width x height texture of the texels, rows without gaps.
    Ref<ID3D11ShaderResourceView> ImageView(UINT width, UINT height, const void* texels)
    {
        return ShaderView(MakeTexture(width, height, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE, 1, 1, 0,
                                      texels, width * 4)
                              .get());
    }

    void BindTextures(std::initializer_list<ID3D11ShaderResourceView*> views)
    {
        std::vector<ID3D11ShaderResourceView*> list(views);
        context_->PSSetShaderResources(0, UINT(list.size()), list.data());
        std::vector<ID3D11SamplerState*> samplers(list.size(), point_.get());
        context_->PSSetSamplers(0, UINT(samplers.size()), samplers.data());
    }

    // A cube of 1 x 1 faces, each face one texel.
    Ref<ID3D11ShaderResourceView> FacesCube(const uint32_t faces[6])
    {
        Ref<ID3D11Texture2D> cube = MakeImmutableCube(1, std::vector<uint32_t>(faces, faces + 6));
        return ShaderView(cube.get());
    }

    // Four corners in model coordinates as two triangles, each vertex written by `write` (x, y, u, v).
    template <typename Write>
    VertexBytes Quad(Write write)
    {
        VertexBytes vertices;
        const float corners[6][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 0}, {1, 1}, {0, 1}};
        for (const auto& corner : corners) write(vertices, corner[0], corner[1]);
        return vertices;
    }

    void SetUp() override
    {
        BackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        UINT support = 0;
        ASSERT_EQ(device_->CheckFormatSupport(DXGI_FORMAT_B8G8R8A8_UNORM, &support), S_OK);
        ASSERT_NE(support & D3D11_FORMAT_SUPPORT_IA_VERTEX_BUFFER, 0u) << "packed colours are read as B, G, R, A";
        point_ = MakeSampler(D3D11_FILTER_MIN_MAG_MIP_POINT);
    }

    void TearDown() override
    {
        program_ = {};
        vertexBuffer_.Reset();
        point_.Reset();
        BackendTest::TearDown();
    }

    Program program_;
    UINT stride_ = 0;
    Ref<ID3D11Buffer> vertexBuffer_;
    Ref<ID3D11SamplerState> point_;
};

// sprite_v22: the texture times the vertex colour, the tint and BRIGHTNESS (1.25).
TEST_P(CorpusDraws, SpriteTintsItsTexture)
{
    UseCorpusShader("sprite_v22.xml", 1 | 2 | 4);
    const uint8_t colour[4] = {230, 180, 255, 200};  // R, G, B, A
    SetVertexBytes(Quad([&](VertexBytes& v, float x, float y) {
        v.Floats({x, y, 0.5f});
        v.Bytes({colour[2], colour[1], colour[0], colour[3]});
        v.Floats({x, y});
    }));
    SetVertexConstants(&kModelToTarget, sizeof kModelToTarget);
    const float tint[4] = {0.77f, 0.93f, 0.61f, 1.1f};
    SetPixelConstants(tint, sizeof tint);
    const std::vector<uint32_t> texels = Ramp(32, 3);
    BindTextures({ImageView(8, 4, texels.data()).get()});
    Ref<ID3D11Texture2D> target = BoundTarget(8, 4);
    context_->Draw(6, 0);
    ExpectDrawn("CorpusSprite", target.get(), PerTexel(texels, [&](uint32_t texel, int c) {
                    return Channel(texel, c) * (colour[c] / 255.0f) * tint[c] * 1.25f;
                }));
}

// skinned_v23 (its HLSL11 source): bones chosen by index and masked by an integer constant, a
// light from the normal, a rim from the shade.
TEST_P(CorpusDraws, SkinnedBlendsOnlyTheBonesItsMaskKeeps)
{
    UseCorpusShader("skinned_v23.xml", 1 | 2 | 4 | 8 | 128 | 256);
    const uint8_t colour[4] = {230, 180, 255, 128};
    // Bone 2 is the identity; bone 1 would throw the quad off the target, but the mask leaves it out;
    // bones 0 and 3 have no weight.
    SetVertexBytes(Quad([&](VertexBytes& v, float x, float y) {
        v.Floats({x, y, 0.5f});
        v.Bytes({colour[2], colour[1], colour[0], colour[3]});
        v.Floats({x, y});
        v.Floats({0.0f, 0.0f, 0.75f});
        v.Bytes({2, 1, 0, 3});
        v.Floats({1.0f, 1.0f, 0.0f, 0.0f});
    }));
    struct {
        Matrix worldViewProjection;
        Matrix bones[4];
        int32_t boneMask[4];
    } vertexConstants{kModelToTarget, {}, {1, 0, 1, 1}};
    const Matrix away = {{{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    vertexConstants.bones[0] = away;
    vertexConstants.bones[1] = away;
    vertexConstants.bones[2] = kIdentity;
    vertexConstants.bones[3] = away;
    SetVertexConstants(&vertexConstants, sizeof vertexConstants);
    const float lightDirection[4] = {0.0f, 0.0f, 0.25f, 0.0f};
    SetPixelConstants(lightDirection, sizeof lightDirection);
    const std::vector<uint32_t> texels = Ramp(32, 11);
    BindTextures({ImageView(8, 4, texels.data()).get()});
    Ref<ID3D11Texture2D> target = BoundTarget(8, 4);
    context_->Draw(6, 0);

    const float shade = 0.75f;  // saturate(normal.z)
    const float rim = 1.0f - shade;
    const float light = std::clamp(shade - lightDirection[2], 0.0f, 1.0f);
    ExpectDrawn("CorpusSkinned", target.get(), PerTexel(texels, [&](uint32_t texel, int c) {
                    return Channel(texel, c) * (colour[c] / 255.0f) * light + rim * 0.1f;
                }));
}

// lit_v24: normal mapping, two lights, an environment reflection, a 3D noise flicker and fog, into two
// targets. The noise slot stays empty (this layer makes no 3D textures), so the flicker is 0 and the
// colour is the reflection's fifth; the fog starts beyond the camera's reach.
TEST_P(CorpusDraws, LitReflectsItsEnvironmentIntoTwoTargets)
{
    UseCorpusShader("lit_v24.xml", 1 | 2 | 4 | 8 | 32 | 64);
    SetVertexBytes(Quad([&](VertexBytes& v, float x, float y) {
        v.Floats({x, y, 0.5f});
        v.Bytes({255, 255, 255, 255});
        v.Floats({x, y});
        v.Floats({0.0f, 0.0f, -1.0f});  // normal, towards the camera
        v.Floats({1.0f, 0.0f, 0.0f});   // tangent
        v.Floats({0.0f, 1.0f, 0.0f});   // binormal
    }));
    const float fogColour[4] = {0.9f, 0.1f, 0.5f, 1.0f};
    const float fogRange[4] = {1000.0f, 2000.0f, 0.0f, 0.0f};
    struct {
        Matrix worldViewProjection, world, worldView, view, viewProjection;
        float fogColour[4];
        float fogRange[4];
    } vertexConstants{kModelToTarget, kIdentity, kIdentity, kIdentity, kIdentity, {}, {}};
    std::memcpy(vertexConstants.fogColour, fogColour, 16);
    std::memcpy(vertexConstants.fogRange, fogRange, 16);
    SetVertexConstants(&vertexConstants, sizeof vertexConstants);
    struct {
        float lightDirection[4];
        float lightColours[2][4];
        float cameraPosition[4];
        float fogColour[4];
        float fogRange[4];
    } pixelConstants{{0.0f, 0.0f, 1.0f, 0.0f},
                     {{0.5f, 0.5f, 0.5f, 1.0f}, {0.25f, 0.0f, 0.0f, 1.0f}},
                     {0.5f, 0.5f, -100.0f, 1.0f},
                     {},
                     {}};
    std::memcpy(pixelConstants.fogColour, fogColour, 16);
    std::memcpy(pixelConstants.fogRange, fogRange, 16);
    SetPixelConstants(&pixelConstants, sizeof pixelConstants);

    const std::vector<uint32_t> texels = Ramp(32, 21);
    const uint32_t flat = Rgba(128, 128, 255, 255);  // a normal map that keeps the normal (almost)
    // The reflection leaves the surface towards -Z, whose face alone has this colour.
    const uint32_t towardsCamera = Rgba(200, 100, 60, 255);
    const uint32_t faces[6] = {0u, 0u, 0u, 0u, Rgba(255, 255, 255, 255), towardsCamera};
    BindTextures({ImageView(8, 4, texels.data()).get(), ImageView(1, 1, &flat).get(), FacesCube(faces).get()});
    Ref<ID3D11Texture2D> colourTarget = MakeTexture(8, 4, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET);
    Ref<ID3D11Texture2D> emissionTarget = MakeTexture(8, 4, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET);
    Ref<ID3D11RenderTargetView> views[2] = {TargetView(colourTarget.get()), TargetView(emissionTarget.get())};
    ID3D11RenderTargetView* targets[2] = {views[0].get(), views[1].get()};
    context_->OMSetRenderTargets(2, targets, nullptr);
    const D3D11_VIEWPORT viewport{0, 0, 8, 4, 0, 1};
    context_->RSSetViewports(1, &viewport);
    context_->Draw(6, 0);

    const std::vector<uint32_t> colours = PerTexel(texels, [&](uint32_t texel, int c) {
        return c < 3 ? Channel(towardsCamera, c) * 0.2f : Channel(texel, 3) * 1.0f;
    });
    const float emission[4] = {Channel(towardsCamera, 0) * 0.05f, Channel(towardsCamera, 1) * 0.05f,
                               Channel(towardsCamera, 2) * 0.05f, 1.0f};
    ExpectDrawn("CorpusLitColour", colourTarget.get(), colours);
    ExpectDrawn("CorpusLitEmission", emissionTarget.get(), std::vector<uint32_t>(32, Stored(emission)));
}

// quad_v23 (its HLSL11 source): corners from the vertex id, an offset per instance, level and
// gradient sampling, a cube, and a shade that depends on the face's facing.
TEST_P(CorpusDraws, QuadTakesItsCornersFromTheVertexIdAndItsOffsetFromTheInstance)
{
    UseCorpusShader("quad_v23.xml", 1);
    // A strip of the four corners in vertex-id order: top left, top right, bottom left, bottom right.
    VertexBytes vertices;
    for (float y : {1.0f, -1.0f}) {
        for (float x : {-1.0f, 1.0f}) vertices.Floats({x, y, 0.5f});
    }
    SetVertexBytes(vertices);
    context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP);
    // Instance 0 lands off the target; instance 1 covers it.
    struct {
        Matrix transform;
        float offsets[4][4];
    } vertexConstants{kIdentity, {{10, 0, 0, 0}, {0, 0, 0, 0}, {10, 0, 0, 0}, {10, 0, 0, 0}}};
    SetVertexConstants(&vertexConstants, sizeof vertexConstants);
    const std::vector<uint32_t> texels = Ramp(32, 40);
    // (u, v, 1) always meets +Z. Odd channels keep the back face's expectation off every rounding edge.
    const uint32_t positiveZ = Rgba(41, 81, 121, 201);
    const uint32_t faces[6] = {0u, 0u, 0u, 0u, positiveZ, 0u};
    BindTextures({ImageView(8, 4, texels.data()).get(), FacesCube(faces).get()});

    for (BOOL backFacing : {FALSE, TRUE}) {
        SCOPED_TRACE(backFacing ? "back facing" : "front facing");
        // Clockwise on screen; counted as counter-clockwise fronts, the same triangles face away.
        SetRasterizer(D3D11_CULL_NONE, backFacing);
        Ref<ID3D11Texture2D> target = BoundTarget(8, 4);
        context_->DrawInstanced(4, 2, 0, 0);

        const std::vector<uint32_t> expected = Image(8, 4, [&](UINT x, UINT y) {
            // The shade is 1 at vertex 0 (top left) and 0.75 at the others, interpolated over the first
            // triangle (top left, top right, bottom left).
            const float u = (x + 0.5f) / 8;
            const float v = (y + 0.5f) / 4;
            const float shade = u + v < 1.0f ? 0.75f + 0.25f * (1.0f - u - v) : 0.75f;
            const uint32_t texel = texels[y * 8 + x];
            float out[4];
            for (int c = 0; c < 4; ++c) {
                float value = Channel(texel, c) + Channel(texel, c) * 0.5f + Channel(positiveZ, c) * 0.25f;
                value *= backFacing ? 0.5f : shade;
                out[c] = c < 3 ? value * 0.5f : value;  // one pass of the do loop halves the colour
            }
            // The interpolated shade may round either way.
            return backFacing ? Stored(out) : Rgba(Unorm8(out[0]), Unorm8(out[1]), Unorm8(out[2]), Unorm8(out[3]));
        });
        ExpectDrawn(std::string("CorpusQuad") + (backFacing ? "Back" : "Front"), target.get(), expected, false,
                    backFacing ? 0 : 1);
    }
}

INSTANTIATE_ON_EVERY_BACKEND(CorpusDraws);

}  // namespace
