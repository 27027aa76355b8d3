// Draws through the renderer: what a draw binds and refuses, the lazy depth
// state, the constant upload, and on the Vulkan back end (the memory back end
// records draws without rasterising) the pixels of quads drawn with each
// blend mode, cull mode, scissor, depth function and colour-write setting,
// against values computed here from the blend and depth rules.
#include <cmath>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "graphics/render_states.h"
#include "renderer/d3d11/buffers.h"
#include "renderer/d3d11/renderer_test_support.h"

namespace {

constexpr uint32_t kWidth = 640;  // the fixture's back buffer
constexpr uint32_t kHeight = 480;

// A quad over pixels [left, right) x [top, bottom) at depth z with one
// colour, its triangles clockwise on screen (front-facing) or not.
struct Quad {
    uint32_t left, top, right, bottom;
    float z;
    uint32_t rgba;
    bool clockwise = true;
};

// Vertex format 3: position, then the colour as the front end packs it (B, G, R, A).
struct ColourVertex {
    float x, y, z;
    uint8_t colour[4];
};
static_assert(sizeof(ColourVertex) == 16);

class RendererDrawing : public StateTest {
protected:
    void SetUp() override
    {
        StateTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(MakeColourProgram());
        renderer_->BeginFrame();
    }

    void TearDown() override
    {
        ReleaseBuffers();
        StateTest::TearDown();
    }

    // Fills the buffers with the quads and draws them as triangles.
    void Draw(const std::vector<Quad>& quads)
    {
        ReleaseBuffers();
        vertices_ = renderer_->CreateVertexBuffer(3, int32_t(quads.size() * 4), kBufferUsageDynamic);
        indices_ = renderer_->CreateIndexBuffer(int32_t(quads.size() * 6), kBufferUsageCopy);
        auto* vertex = static_cast<ColourVertex*>(renderer_->LockVertexBuffer(vertices_));
        auto* index = static_cast<uint16_t*>(renderer_->LockIndexBuffer(indices_));
        ASSERT_NE(vertex, nullptr);
        ASSERT_NE(index, nullptr);
        for (size_t q = 0; q < quads.size(); ++q) {
            const Quad& quad = quads[q];
            const float x0 = -1.0f + 2.0f * float(quad.left) / kWidth, x1 = -1.0f + 2.0f * float(quad.right) / kWidth;
            const float y0 = 1.0f - 2.0f * float(quad.top) / kHeight, y1 = 1.0f - 2.0f * float(quad.bottom) / kHeight;
            const uint8_t bgra[4] = {uint8_t(quad.rgba >> 16), uint8_t(quad.rgba >> 8), uint8_t(quad.rgba),
                                     uint8_t(quad.rgba >> 24)};
            const float corners[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};  // clockwise on screen
            for (int c = 0; c < 4; ++c) {
                ColourVertex& v = vertex[q * 4 + c];
                v = {corners[c][0], corners[c][1], quad.z, {}};
                std::memcpy(v.colour, bgra, 4);
            }
            const uint16_t base = uint16_t(q * 4);
            const uint16_t clockwise[6] = {0, 1, 3, 1, 2, 3};
            const uint16_t counter[6] = {0, 3, 1, 1, 3, 2};
            for (int i = 0; i < 6; ++i) index[q * 6 + i] = uint16_t(base + (quad.clockwise ? clockwise : counter)[i]);
        }
        renderer_->UnlockVertexBuffer(vertices_);
        renderer_->UnlockIndexBuffer(indices_);
        renderer_->DrawTriangles(vertices_, int32_t(quads.size() * 4), indices_, int32_t(quads.size() * 2));
    }

    void ReleaseBuffers()
    {
        if (vertices_ != nullptr) renderer_->ReleaseVertexBuffer(vertices_);
        if (indices_ != nullptr) renderer_->ReleaseIndexBuffer(indices_);
        vertices_ = nullptr;
        indices_ = nullptr;
    }

    // Clears to the colour (bytes as floats over 255).
    void ClearTo(uint32_t rgba)
    {
        renderer_->Clear(float(rgba & 0xff) / 255.0f, float(rgba >> 8 & 0xff) / 255.0f,
                         float(rgba >> 16 & 0xff) / 255.0f, float(rgba >> 24) / 255.0f);
    }

    // The back buffer as expected: the background, then each rectangle painted over.
    static RgbaImage Expected(uint32_t background, const std::vector<Quad>& painted)
    {
        RgbaImage image = Filled(kWidth, kHeight, background);
        for (const Quad& quad : painted) {
            for (uint32_t y = quad.top; y < quad.bottom; ++y) {
                for (uint32_t x = quad.left; x < quad.right; ++x) image.Set(x, y, quad.rgba);
            }
        }
        return image;
    }

    UINT64 Draws() const { return HalvoD3D11_DrawCount(device_.get()); }

    D3D11_DEPTH_STENCIL_DESC BoundDepth()
    {
        Ref<ID3D11DepthStencilState> state;
        UINT reference = 1;
        context_->OMGetDepthStencilState(state.Put(), &reference);
        D3D11_DEPTH_STENCIL_DESC desc{};
        EXPECT_TRUE(state);
        if (state) state->GetDesc(&desc);
        EXPECT_EQ(reference, 0u);
        return desc;
    }

    RendererVertexBuffer* vertices_ = nullptr;
    RendererIndexBuffer* indices_ = nullptr;
};

const Quad kLeftHalf{0, 0, kWidth / 2, kHeight, 0.5f, 0};

Quad Coloured(Quad quad, uint32_t rgba)
{
    quad.rgba = rgba;
    return quad;
}

TEST_P(RendererDrawing, ADrawBindsItsBuffersProgramAndConstants)
{
    const UINT64 before = Draws();
    Draw({Coloured(kLeftHalf, Rgba(1, 2, 3, 4))});
    EXPECT_EQ(Draws(), before + 1);
    EXPECT_NE(shader_.flags & HV_SHADER_CONSTANTS_UPLOADED, 0u);

    Ref<ID3D11Buffer> bound;
    UINT stride = 0;
    UINT offset = 1;
    context_->IAGetVertexBuffers(0, 1, bound.Put(), &stride, &offset);
    EXPECT_EQ(bound.get(), vertices_->block->buffer);
    EXPECT_EQ(stride, 16u);
    EXPECT_EQ(offset, 0u);
    DXGI_FORMAT format = DXGI_FORMAT_UNKNOWN;
    context_->IAGetIndexBuffer(bound.Put(), &format, &offset);
    EXPECT_EQ(bound.get(), indices_->block->buffer);
    EXPECT_EQ(format, DXGI_FORMAT_R16_UINT);
    D3D11_PRIMITIVE_TOPOLOGY topology{};
    context_->IAGetPrimitiveTopology(&topology);
    EXPECT_EQ(topology, D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);

    // The pixel constants went into the program's constant buffer at slot 0.
    const float tint[4] = {1.0f, 0.0f, 1.0f, 1.0f};
    std::memcpy(const_cast<uint8_t*>(shader_.pixelConstants.bytes.GetData()), tint, sizeof tint);
    renderer_->DrawLines(vertices_, indices_, 3);
    context_->IAGetPrimitiveTopology(&topology);
    EXPECT_EQ(topology, D3D11_PRIMITIVE_TOPOLOGY_LINELIST);
    context_->PSGetConstantBuffers(0, 1, bound.Put());
    ASSERT_TRUE(bound);
    const std::vector<uint8_t> constants = ReadBuffer(bound.get(), sizeof tint);
    EXPECT_EQ(std::memcmp(constants.data(), tint, sizeof tint), 0);

    renderer_->DrawTrianglesInstanced(vertices_, 4, indices_, 2, 3);
    EXPECT_EQ(Draws(), before + 3);
}

TEST_P(RendererDrawing, DrawsThatCannotBeMadeAreRefusedWithAReason)
{
    Draw({kLeftHalf});
    const UINT64 before = Draws();
    renderer_->DrawTriangles(vertices_, 4, indices_, 3);
    EXPECT_TRUE(IsLogged("DrawTriangles: index count 9 is outside 0..6."));
    renderer_->DrawTrianglesInstanced(vertices_, 4, indices_, 2, -1);
    EXPECT_TRUE(IsLogged("DrawTrianglesInstanced: instance count -1 is outside 0..2147483647."));
    renderer_->LockVertexBuffer(vertices_);
    renderer_->DrawLines(vertices_, indices_, 1);
    EXPECT_TRUE(IsLogged("DrawLines: the vertex buffer is locked."));
    renderer_->UnlockVertexBuffer(vertices_);
    renderer_->DrawLines(vertices_, nullptr, 1);
    EXPECT_TRUE(IsLogged("DrawLines: the index buffer has no device buffer."));

    renderer_->BindShaderProgram(nullptr);
    renderer_->DrawTriangles(vertices_, 4, indices_, 2);
    EXPECT_TRUE(IsLogged("DrawTriangles: no shader program is bound."));
    EXPECT_EQ(Draws(), before);
}

TEST_P(RendererDrawing, TheDepthStateIsRebuiltAtTheNextDrawOnlyWhenAnInputChanged)
{
    D3D11_DEPTH_STENCIL_DESC desc = BoundDepth();
    EXPECT_EQ(std::tie(desc.DepthEnable, desc.DepthWriteMask, desc.DepthFunc, desc.StencilEnable),
              std::make_tuple(FALSE, D3D11_DEPTH_WRITE_MASK_ZERO, D3D11_COMPARISON_LESS, FALSE));

    Draw({kLeftHalf});
    HV_Graphics_SetRenderStatei(HV_RENDER_STATE_DEPTH_TEST, 1);
    HV_Graphics_SetRenderStatei(HV_RENDER_STATE_DEPTH_WRITE, 1);
    EXPECT_FALSE(BoundDepth().DepthEnable) << "nothing is rebuilt before the draw";
    UINT creations = HalvoD3D11_CreationCount();
    renderer_->DrawTriangles(vertices_, 4, indices_, 2);
    EXPECT_EQ(HalvoD3D11_CreationCount(), creations + 1);
    desc = BoundDepth();
    EXPECT_TRUE(desc.DepthEnable);
    EXPECT_EQ(desc.DepthWriteMask, D3D11_DEPTH_WRITE_MASK_ALL);

    // The same values again: no rebuild. The depth function: always one, at the next draw.
    creations = HalvoD3D11_CreationCount();
    renderer_->SetDepthTest(true);
    renderer_->SetDepthWrite(true);
    renderer_->DrawTriangles(vertices_, 4, indices_, 2);
    EXPECT_EQ(HalvoD3D11_CreationCount(), creations);
    renderer_->SetDepthFunction(1);
    renderer_->DrawTriangles(vertices_, 4, indices_, 2);
    renderer_->DrawTriangles(vertices_, 4, indices_, 2);
    EXPECT_EQ(HalvoD3D11_CreationCount(), creations + 1);

    // Engine codes 0..7 are the comparisons from never to always; others compare less.
    const D3D11_COMPARISON_FUNC kFunctions[8] = {D3D11_COMPARISON_NEVER,         D3D11_COMPARISON_LESS,
                                                 D3D11_COMPARISON_EQUAL,         D3D11_COMPARISON_LESS_EQUAL,
                                                 D3D11_COMPARISON_GREATER,       D3D11_COMPARISON_NOT_EQUAL,
                                                 D3D11_COMPARISON_GREATER_EQUAL, D3D11_COMPARISON_ALWAYS};
    for (int code = 0; code < 8; ++code) {
        renderer_->SetDepthFunction(code);
        renderer_->DrawTriangles(vertices_, 4, indices_, 2);
        EXPECT_EQ(BoundDepth().DepthFunc, kFunctions[code]) << "code " << code;
    }
    renderer_->SetDepthFunction(8);
    renderer_->DrawTriangles(vertices_, 4, indices_, 2);
    EXPECT_EQ(BoundDepth().DepthFunc, D3D11_COMPARISON_LESS);
}

TEST_P(RendererDrawing, AFailedDepthRebuildKeepsThePreviousStateAndIsNotRetried)
{
    Draw({kLeftHalf});
    renderer_->SetDepthFunction(4);
    HalvoD3D11_FailCreationsFrom(1);
    renderer_->DrawTriangles(vertices_, 4, indices_, 2);
    HalvoD3D11_FailCreationsFrom(0);
    EXPECT_TRUE(IsReported("failed to create a depth stencil state", "DepthFunc = 5"))
        << "the failure names the comparison it asked for";
    EXPECT_EQ(BoundDepth().DepthFunc, D3D11_COMPARISON_LESS);
    const UINT creations = HalvoD3D11_CreationCount();
    renderer_->DrawTriangles(vertices_, 4, indices_, 2);
    EXPECT_EQ(HalvoD3D11_CreationCount(), creations);
}

TEST_P(RendererDrawing, AConstantBufferThatCannotBeMappedIsReportedAndTheDrawGoesOn)
{
    Draw({kLeftHalf});
    const UINT64 before = Draws();
    HalvoD3D11_FailCall("ID3D11DeviceContext::Map", 1, E_OUTOFMEMORY);
    renderer_->DrawTriangles(vertices_, 4, indices_, 2);
    EXPECT_TRUE(IsLogged("[POPUP] D3D11 Failed to lock constant buffer."));
    EXPECT_EQ(Draws(), before + 1);
}

TEST_P(RendererDrawing, TheViewportAndClearsReachTheBoundTargets)
{
    renderer_->SetViewport(10, 20, 300, 200, 0.25f, 0.75f);
    UINT count = 1;
    D3D11_VIEWPORT viewport{};
    context_->RSGetViewports(&count, &viewport);
    EXPECT_EQ(std::tie(viewport.TopLeftX, viewport.TopLeftY, viewport.Width, viewport.Height, viewport.MinDepth,
                       viewport.MaxDepth),
              std::make_tuple(10.0f, 20.0f, 300.0f, 200.0f, 0.25f, 0.75f));

    ClearTo(Rgba(51, 102, 153, 204));
    ExpectImage(std::string(GetParam()) + "-Clear", ReadBoundTarget(), Expected(Rgba(51, 102, 153, 204), {}));
}

// The rest compares rasterised pixels.
class RendererPixels : public RendererDrawing {
protected:
    void SetUp() override
    {
        RendererDrawing::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        if (!OnVulkan()) GTEST_SKIP() << "the memory back end does not rasterise";
    }
};

// Source and destination values whose blends are whole numbers of 255ths:
// colours are multiples of 85 (thirds) or 0 and 255, the source alpha 153 (3/5).
constexpr uint32_t kDestination = 0xffff00ff;  // R 255, G 0, B 255, A 255
constexpr uint32_t kSource = 0x99ffaa55;       // R 85, G 170, B 255, A 153

// One channel of a blend, from the design's factors: s x sf (op) d x df, clamped to 0..1.
double Blend(int mode, double s, double sa, double d)
{
    switch (mode) {
    case 1: return s * sa + d * (1 - sa);
    case 2: return s * sa + d;
    case 3: return s;
    case 4: return d - s * sa;
    case 5: return s * d;
    case 6: return s * d + d * s;
    case 7: return s * d + d;
    case 8: return s + d * (1 - sa);
    default: return 0;
    }
}

uint32_t ExpectedBlend(int mode)
{
    const double sa = double(kSource >> 24) / 255;
    uint32_t result = 0;
    for (int channel = 0; channel < 3; ++channel) {
        const double s = double(kSource >> (8 * channel) & 0xff) / 255;
        const double d = double(kDestination >> (8 * channel) & 0xff) / 255;
        const double value = std::fmin(std::fmax(Blend(mode, s, sa, d), 0.0), 1.0) * 255;
        EXPECT_NEAR(value, std::round(value), 1e-9) << "the chosen values blend to whole numbers";
        result |= uint32_t(std::lround(value)) << (8 * channel);
    }
    // Alpha: source alpha x source alpha + destination alpha (255) clamps to 255, except the opaque mode's.
    return result | (mode == 3 ? kSource & 0xff000000u : 0xff000000u);
}

TEST_P(RendererPixels, EachBlendModeBlendsAQuadOverTheClearColour)
{
    for (int mode = 1; mode <= 8; ++mode) {
        ClearTo(kDestination);
        HV_Graphics_SetBlendMode(mode);
        Draw({Coloured(kLeftHalf, kSource)});
        ExpectImage(std::string("Blend") + std::to_string(mode), ReadBoundTarget(),
                    Expected(kDestination, {Coloured(kLeftHalf, ExpectedBlend(mode))}));
    }
}

TEST_P(RendererPixels, ColourWritesOffKeepTheTargetAndOnDrawAgain)
{
    ClearTo(kDestination);
    HV_Graphics_SetBlendMode(3);
    HV_Graphics_SetRenderStatei(HV_RENDER_STATE_COLOR_WRITE, 0);
    Draw({Coloured(kLeftHalf, kSource)});
    ExpectImage("ColourWriteOff", ReadBoundTarget(), Expected(kDestination, {}));
    HV_Graphics_SetRenderStatei(HV_RENDER_STATE_COLOR_WRITE, 1);
    renderer_->DrawTriangles(vertices_, 4, indices_, 2);
    ExpectImage("ColourWriteOn", ReadBoundTarget(), Expected(kDestination, {Coloured(kLeftHalf, kSource)}));
}

TEST_P(RendererPixels, TheScissorClipsAndDisablingItDrawsEverywhere)
{
    const Quad whole{0, 0, kWidth, kHeight, 0.5f, Rgba(0, 255, 0, 255)};
    HV_Graphics_SetBlendMode(3);
    ClearTo(0xff000000u);
    EXPECT_TRUE(renderer_->SetScissorRectangle(-10, 50, 110, 100));
    Draw({whole});
    ExpectImage("Scissor", ReadBoundTarget(), Expected(0xff000000u, {Quad{0, 50, 100, 150, 0, whole.rgba}}));
    renderer_->DisableScissor();
    renderer_->DrawTriangles(vertices_, 4, indices_, 2);
    ExpectImage("ScissorOff", ReadBoundTarget(), Expected(0xff000000u, {whole}));
}

// Opaque quads drawn over black with a depth of 0.5 cleared: each cull mode
// drops its faces; each depth function compares a quad nearer than the
// cleared depth (left) and one level with it (right); depth writes decide
// what a later quad covers.
TEST_P(RendererPixels, CullModesDepthFunctionsAndDepthWritesDecideWhatIsDrawn)
{
    const Quad front{0, 0, kWidth / 2, kHeight, 0.5f, Rgba(255, 0, 0, 255), true};
    const Quad back{kWidth / 2, 0, kWidth, kHeight, 0.5f, Rgba(0, 0, 255, 255), false};
    const Quad nearer{0, 0, kWidth / 2, kHeight, 0.25f, Rgba(255, 0, 0, 255)};
    const Quad level{kWidth / 2, 0, kWidth, kHeight, 0.5f, Rgba(0, 0, 255, 255)};
    const Quad second{0, 0, kWidth, kHeight, 0.375f, Rgba(0, 255, 0, 255)};
    const struct {
        const char* name;
        int cull;
        int depthFunction;  // -1: no depth test
        bool depthWrite;
        std::vector<Quad> drawn, painted;
    } rows[] = {
        {"CullNone", 0, -1, false, {front, back}, {front, back}},
        {"CullFront", 1, -1, false, {front, back}, {back}},
        {"CullBack", 2, -1, false, {front, back}, {front}},
        {"DepthNever", 0, 0, false, {nearer, level}, {}},
        {"DepthLess", 0, 1, false, {nearer, level}, {nearer}},
        {"DepthEqual", 0, 2, false, {nearer, level}, {level}},
        {"DepthLessEqual", 0, 3, false, {nearer, level}, {nearer, level}},
        {"DepthGreater", 0, 4, false, {nearer, level}, {}},
        {"DepthNotEqual", 0, 5, false, {nearer, level}, {nearer}},
        {"DepthGreaterEqual", 0, 6, false, {nearer, level}, {level}},
        {"DepthAlways", 0, 7, false, {nearer, level}, {nearer, level}},
        {"DepthWrite", 0, 1, true, {nearer, second}, {second, nearer}},
        {"NoDepthWrite", 0, 1, false, {nearer, second}, {second}},
    };
    HV_Graphics_SetBlendMode(3);
    for (const auto& row : rows) {
        HV_Graphics_SetRenderStatei(HV_RENDER_STATE_CULL_MODE, row.cull);
        HV_Graphics_SetRenderStatei(HV_RENDER_STATE_DEPTH_TEST, row.depthFunction >= 0 ? 1 : 0);
        HV_Graphics_SetRenderStatei(HV_RENDER_STATE_DEPTH_FUNCTION, row.depthFunction >= 0 ? row.depthFunction : 1);
        HV_Graphics_SetRenderStatei(HV_RENDER_STATE_DEPTH_WRITE, row.depthWrite ? 1 : 0);
        ClearTo(0xff000000u);
        renderer_->ClearDepth(0.5f);
        Draw(row.drawn);
        ExpectImage(row.name, ReadBoundTarget(), Expected(0xff000000u, row.painted));
    }
}

TEST_P(RendererPixels, VertexColoursLookTheSameWithAndWithoutBgraVertexSupport)
{
    const Quad quad = Coloured(kLeftHalf, Rgba(30, 20, 10, 40));  // packed B, G, R, A as 10, 20, 30, 40
    HV_Graphics_SetBlendMode(3);
    ClearTo(0xff000000u);
    Draw({quad});
    ExpectImage("BgraVertices", ReadBoundTarget(), Expected(0xff000000u, {quad}));

    ReleaseBuffers();
    renderer_->ReleaseShaderProgram(&shader_);
    RestartWithoutBgraVertexColours();
    ASSERT_TRUE(MakeColourProgram());
    renderer_->BeginFrame();
    HV_Graphics_SetBlendMode(3);
    ClearTo(0xff000000u);
    Draw({quad});
    ExpectImage("SwappedVertices", ReadBoundTarget(), Expected(0xff000000u, {quad}));
}

HALVO_RENDERER_BACKENDS(RendererDrawing);
HALVO_RENDERER_BACKENDS(RendererPixels);

}  // namespace
