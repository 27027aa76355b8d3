// The output-merger and rasterizer states the renderer uses, drawn: its eight
// blend modes, the three cull modes with clockwise (and counter-clockwise)
// front faces, scissor rectangles and every depth comparison. Expectations
// come from each state's rule, worked out here per pixel.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "winapi/d3d11/backend_test_support.h"

namespace {

using DrawStates = BackendTest;

// ---- Blend modes

double Factor(D3D11_BLEND factor, double source, double sourceAlpha, double destination)
{
    switch (factor) {
    case D3D11_BLEND_ZERO: return 0.0;
    case D3D11_BLEND_ONE: return 1.0;
    case D3D11_BLEND_SRC_COLOR: return source;
    case D3D11_BLEND_SRC_ALPHA: return sourceAlpha;
    case D3D11_BLEND_INV_SRC_ALPHA: return 1.0 - sourceAlpha;
    case D3D11_BLEND_DEST_COLOR: return destination;
    default: ADD_FAILURE() << "no rule for blend factor " << factor; return 0.0;
    }
}

// What a pixel of `destination` becomes when `source` (R, G, B, A bytes) is drawn over it in the mode.
uint32_t Blended(const BlendMode& mode, uint32_t source, uint32_t destination)
{
    auto channel = [](uint32_t rgba, int c) { return double((rgba >> (8 * c)) & 0xff) / 255.0; };
    const double sourceAlpha = channel(source, 3);
    uint8_t out[4];
    for (int c = 0; c < 3; ++c) {
        const double s = channel(source, c);
        const double d = channel(destination, c);
        const double front = s * Factor(mode.source, s, sourceAlpha, d);
        const double back = d * Factor(mode.destination, s, sourceAlpha, d);
        out[c] = Unorm8(!mode.enabled                                   ? s
                        : mode.operation == D3D11_BLEND_OP_REV_SUBTRACT ? back - front
                                                                        : front + back);
    }
    out[3] = Unorm8(mode.enabled ? sourceAlpha * sourceAlpha + channel(destination, 3) : sourceAlpha);
    return Rgba(out[0], out[1], out[2], out[3]);
}

TEST_P(DrawStates, EachBlendModeCombinesSourceAndDestinationByItsRule)
{
    // Destinations from black to white through colours whose channels all differ.
    const std::vector<uint32_t> destinations = {
        Rgba(0, 0, 0, 0),      Rgba(255, 255, 255, 255), Rgba(40, 120, 200, 64), Rgba(200, 100, 50, 250),
        Rgba(17, 34, 68, 136), Rgba(255, 0, 128, 30),    Rgba(90, 180, 45, 200), Rgba(128, 128, 128, 128)};
    const uint32_t source = Rgba(153, 51, 204, 128);
    const FLOAT sourceColour[4] = {153 / 255.0f, 51 / 255.0f, 204 / 255.0f, 128 / 255.0f};
    for (size_t index = 0; index < std::size(kBlendModes); ++index) {
        const BlendMode& mode = kBlendModes[index];
        for (bool colourWrites : {true, false}) {
            const std::string name = "BlendMode" + std::to_string(index + 1) + (colourWrites ? "" : "NoWrites");
            SCOPED_TRACE(name);
            Ref<ID3D11Texture2D> target = MakeTexture(8, 1, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET, 1, 1,
                                                      0, destinations.data(), 32);
            const D3D11_BLEND_DESC desc = BlendDescription(mode, colourWrites);
            Ref<ID3D11BlendState> blend;
            ASSERT_EQ(device_->CreateBlendState(&desc, blend.Put()), S_OK);
            context_->OMSetBlendState(blend.get(), nullptr, 0xffffffff);
            SetTarget(TargetView(target.get()).get(), 8, 1);
            DrawColoured(Rectangle(-1, 1, 1, -1), sourceColour);
            std::vector<uint32_t> expected = destinations;
            for (uint32_t& pixel : expected) {
                if (colourWrites) pixel = Blended(mode, source, pixel);
            }
            // The device may round each product to the target's precision before it adds them.
            ExpectDrawn(name, target.get(), expected, false, 1);
        }
    }
}

// ---- Cull modes and scissor rectangles

// The same triangles wound the other way round: the first and last corner of each swap places.
std::vector<float> Reversed(std::vector<float> vertices)
{
    for (auto triangle = vertices.begin(); triangle != vertices.end(); triangle += 9) {
        std::swap_ranges(triangle, triangle + 3, triangle + 6);
    }
    return vertices;
}

TEST_P(DrawStates, CullModesDropTheFacesTheyNameWithClockwiseFrontFaces)
{
    // The left half is wound clockwise on screen, the right half counter-clockwise.
    std::vector<float> vertices = Rectangle(-1, 1, 0, -1);
    const std::vector<float> right = Reversed(Rectangle(0, 1, 1, -1));
    vertices.insert(vertices.end(), right.begin(), right.end());
    const FLOAT white[4] = {1, 1, 1, 1};
    for (D3D11_CULL_MODE cull : {D3D11_CULL_NONE, D3D11_CULL_FRONT, D3D11_CULL_BACK}) {
        for (BOOL frontCounterClockwise : {FALSE, TRUE}) {
            const std::string name =
                "Cull" + std::to_string(int(cull)) + (frontCounterClockwise ? "CounterClockwise" : "Clockwise");
            SCOPED_TRACE(name);
            SetRasterizer(cull, frontCounterClockwise);
            Ref<ID3D11Texture2D> target = BoundTarget(8, 4);
            DrawColoured(vertices, white);
            ExpectDrawn(name, target.get(), Image(8, 4, [&](UINT x, UINT) {
                            const bool front = (x < 4) != bool(frontCounterClockwise);
                            return cull == D3D11_CULL_NONE || (cull == D3D11_CULL_BACK) == front ? 0xffffffffu : 0u;
                        }));
        }
    }
}

TEST_P(DrawStates, AScissorRectangleKeepsDrawingInsideIt)
{
    struct Case {
        const char* name;
        BOOL enabled;
        D3D11_RECT rect;
        std::function<bool(UINT, UINT)> inside;
    };
    const Case cases[] = {
        {"Inner", TRUE, {2, 1, 6, 3}, [](UINT x, UINT y) { return x >= 2 && x < 6 && y >= 1 && y < 3; }},
        {"Negative", TRUE, {-10, -5, 3, 2}, [](UINT x, UINT y) { return x < 3 && y < 2; }},
        {"PastTheTarget", TRUE, {5, 2, 100, 100}, [](UINT x, UINT y) { return x >= 5 && y >= 2; }},
        {"Empty", TRUE, {4, 1, 4, 3}, [](UINT, UINT) { return false; }},
        {"Disabled", FALSE, {2, 1, 6, 3}, [](UINT, UINT) { return true; }},
    };
    const FLOAT green[4] = {0, 1, 0, 1};
    for (const Case& scissor : cases) {
        SCOPED_TRACE(scissor.name);
        SetRasterizer(D3D11_CULL_BACK, FALSE, scissor.enabled);
        context_->RSSetScissorRects(1, &scissor.rect);
        Ref<ID3D11Texture2D> target = BoundTarget(8, 4);
        DrawColoured(Rectangle(-1, 1, 1, -1), green);
        ExpectDrawn(std::string("Scissor") + scissor.name, target.get(),
                    Image(8, 4, [&](UINT x, UINT y) { return scissor.inside(x, y) ? Rgba(0, 255, 0, 255) : 0u; }));
    }
}

// ---- Depth

bool Passes(D3D11_COMPARISON_FUNC func, float incoming, float stored)
{
    switch (func) {
    case D3D11_COMPARISON_NEVER: return false;
    case D3D11_COMPARISON_LESS: return incoming < stored;
    case D3D11_COMPARISON_EQUAL: return incoming == stored;
    case D3D11_COMPARISON_LESS_EQUAL: return incoming <= stored;
    case D3D11_COMPARISON_GREATER: return incoming > stored;
    case D3D11_COMPARISON_NOT_EQUAL: return incoming != stored;
    case D3D11_COMPARISON_GREATER_EQUAL: return incoming >= stored;
    case D3D11_COMPARISON_ALWAYS: return true;
    }
    return false;
}

// How a depth is stored: a 32-bit float, or 24 bits of fixed point below an 8-bit stencil of 0.
uint32_t StoredDepth(DXGI_FORMAT format, float depth)
{
    if (format == DXGI_FORMAT_D32_FLOAT) {
        uint32_t bits;
        std::memcpy(&bits, &depth, 4);
        return bits;
    }
    return uint32_t(std::floor(double(depth) * 16777215.0 + 0.5));
}

TEST_P(DrawStates, EveryDepthComparisonPassesWhereItsRuleHoldsAndWritesOnlyWhatPasses)
{
    struct Case {
        std::string name;
        BOOL enabled;
        D3D11_DEPTH_WRITE_MASK writes;
        D3D11_COMPARISON_FUNC func;
    };
    std::vector<Case> cases;
    const char* names[] = {"Never", "Less", "Equal", "LessEqual", "Greater", "NotEqual", "GreaterEqual", "Always"};
    for (int func = D3D11_COMPARISON_NEVER; func <= D3D11_COMPARISON_ALWAYS; ++func) {
        cases.push_back({names[func - 1], TRUE, D3D11_DEPTH_WRITE_MASK_ALL, D3D11_COMPARISON_FUNC(func)});
    }
    cases.push_back({"LessWithoutWrites", TRUE, D3D11_DEPTH_WRITE_MASK_ZERO, D3D11_COMPARISON_LESS});
    cases.push_back({"Disabled", FALSE, D3D11_DEPTH_WRITE_MASK_ALL, D3D11_COMPARISON_LESS});  // no test, no writes

    // Columns 0-1 at depth 0.25, 2-3 at 0.5, 4-5 at 0.75, over a depth buffer cleared to 0.5.
    const float depths[3] = {0.25f, 0.5f, 0.75f};
    std::vector<float> vertices;
    for (int column = 0; column < 3; ++column) {
        const std::vector<float> part =
            Rectangle(-1 + column * 2 / 3.0f, 1, -1 + (column + 1) * 2 / 3.0f, -1, depths[column]);
        vertices.insert(vertices.end(), part.begin(), part.end());
    }
    const FLOAT white[4] = {1, 1, 1, 1};
    for (DXGI_FORMAT format : {DXGI_FORMAT_D32_FLOAT, DXGI_FORMAT_D24_UNORM_S8_UINT}) {
        for (const Case& test : cases) {
            const std::string name = "Depth" + test.name + (format == DXGI_FORMAT_D32_FLOAT ? "D32" : "D24S8");
            SCOPED_TRACE(name);
            SetDepthState(test.enabled, test.writes, test.func);
            Ref<ID3D11Texture2D> target = MakeTexture(6, 2, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET);
            Ref<ID3D11Texture2D> depth = MakeTexture(6, 2, format, D3D11_BIND_DEPTH_STENCIL);
            Ref<ID3D11DepthStencilView> depthView = DepthView(depth.get());
            context_->ClearDepthStencilView(depthView.get(), D3D11_CLEAR_DEPTH | D3D11_CLEAR_STENCIL, 0.5f, 0);
            SetTarget(TargetView(target.get()).get(), 6, 2, depthView.get());
            DrawColoured(vertices, white);
            auto passes = [&](UINT x) { return !test.enabled || Passes(test.func, depths[x / 2], 0.5f); };
            ExpectDrawn(name, target.get(), Image(6, 2, [&](UINT x, UINT) { return passes(x) ? 0xffffffffu : 0u; }));
            SetTarget(nullptr, 6, 2);
            ExpectDrawn(name + "Stored", depth.get(), Image(6, 2, [&](UINT x, UINT) {
                            const bool writes = test.enabled && passes(x) && test.writes == D3D11_DEPTH_WRITE_MASK_ALL;
                            return StoredDepth(format, writes ? depths[x / 2] : 0.5f);
                        }));
        }
    }
}

TEST_P(DrawStates, WithoutAPixelShaderOnlyDepthIsWritten)
{
    // A depth-only pass: the colour target keeps its clear colour, the depth buffer takes the depth.
    SetDepthState(TRUE, D3D11_DEPTH_WRITE_MASK_ALL, D3D11_COMPARISON_LESS);
    Ref<ID3D11Texture2D> target = MakeTexture(4, 2, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET);
    Ref<ID3D11RenderTargetView> view = TargetView(target.get());
    const FLOAT blue[4] = {0, 0, 1, 1};
    context_->ClearRenderTargetView(view.get(), blue);
    Ref<ID3D11Texture2D> depth = MakeTexture(4, 2, DXGI_FORMAT_D32_FLOAT, D3D11_BIND_DEPTH_STENCIL);
    Ref<ID3D11DepthStencilView> depthView = DepthView(depth.get());
    context_->ClearDepthStencilView(depthView.get(), D3D11_CLEAR_DEPTH, 1.0f, 0);
    SetTarget(view.get(), 4, 2, depthView.get());
    DrawColoured(Rectangle(-1, 1, 1, -1, 0.25f), nullptr);
    ExpectDrawn("DepthOnlyColour", target.get(), std::vector<uint32_t>(8, Rgba(0, 0, 255, 255)));
    SetTarget(nullptr, 4, 2);
    ExpectDrawn("DepthOnlyDepth", depth.get(), std::vector<uint32_t>(8, StoredDepth(DXGI_FORMAT_D32_FLOAT, 0.25f)));
}

// ---- Viewports, buffers rewritten between draws, lines, float targets

TEST_P(DrawStates, AViewportPlacesTheDrawInsideItsRectangle)
{
    // A viewport of 4 x 2 pixels at (3, 1): the whole of clip space lands there, y still downwards.
    Ref<ID3D11Texture2D> target = BoundTarget(8, 4);
    const D3D11_VIEWPORT viewport{3, 1, 4, 2, 0, 1};
    context_->RSSetViewports(1, &viewport);
    const FLOAT white[4] = {1, 1, 1, 1};
    const FLOAT red[4] = {1, 0, 0, 1};
    DrawColoured(Rectangle(-1, 1, 1, -1), white);
    DrawColoured(Rectangle(-1, 1, 0, 0), red);  // the viewport's top-left quarter
    ExpectDrawn("Viewport", target.get(), Image(8, 4, [](UINT x, UINT y) {
                    if (y < 1 || y > 2 || x < 3 || x > 6) return 0u;
                    return y == 1 && x < 5 ? Rgba(255, 0, 0, 255) : 0xffffffffu;
                }));
}

TEST_P(DrawStates, EachDrawKeepsTheDataItWasGivenThroughDiscardMaps)
{
    // One dynamic vertex buffer and one dynamic constant buffer rewritten with WRITE_DISCARD between two draws,
    // as the renderer's batches do: the first draw keeps its left half in red, the second its right half in green.
    Ref<ID3D11Buffer> vertices =
        MakeBuffer(18 * sizeof(float), D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE);
    Ref<ID3D11Buffer> constants =
        MakeBuffer(16, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE);
    Ref<ID3D11Texture2D> target = BoundTarget(8, 2);
    const UINT stride = 12;
    const UINT offset = 0;
    ID3D11Buffer* vertexBuffers[] = {vertices.get()};
    ID3D11Buffer* constantBuffers[] = {constants.get()};
    UseColourProgram();
    context_->IASetVertexBuffers(0, 1, vertexBuffers, &stride, &offset);
    context_->PSSetConstantBuffers(0, 1, constantBuffers);
    auto write = [&](ID3D11Buffer* buffer, const void* data, size_t size) {
        D3D11_MAPPED_SUBRESOURCE mapped;
        ASSERT_EQ(context_->Map(buffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped), S_OK);
        std::memcpy(mapped.pData, data, size);
        context_->Unmap(buffer, 0);
    };
    const FLOAT red[4] = {1, 0, 0, 1};
    const FLOAT green[4] = {0, 1, 0, 1};
    write(vertices.get(), Rectangle(-1, 1, 0, -1).data(), 18 * sizeof(float));
    write(constants.get(), red, 16);
    context_->Draw(6, 0);
    write(vertices.get(), Rectangle(0, 1, 1, -1).data(), 18 * sizeof(float));
    write(constants.get(), green, 16);
    context_->Draw(6, 0);
    ExpectDrawn("DiscardBetweenDraws", target.get(),
                Image(8, 2, [](UINT x, UINT) { return x < 4 ? Rgba(255, 0, 0, 255) : Rgba(0, 255, 0, 255); }));
}

TEST_P(DrawStates, VertexNumbersCountFromTheDrawsFirstVertexWhicheverVersionOfTheBufferItReads)
{
    // Three draws of one dynamic vertex buffer rewritten with WRITE_DISCARD between them, each placing its two
    // columns; a vertex numbered 6 or more would be thrown off the target, so only numbers 0 to 5 draw anything.
    const Program program = MakeProgram(
        "struct VertexInput { float3 position : POSITION; uint id : SV_VertexID; };\n"
        "struct VertexOutput { float4 position : SV_POSITION; };\n"
        "VertexOutput main(VertexInput input) {\n"
        "  VertexOutput output;\n"
        "  float4 position = float4(input.position, 1.0);\n"
        "  if (input.id >= 6) position.x = 3.0;\n"
        "  output.position = position;\n"
        "  return output;\n"
        "}\n",
        "float4 main(float4 position : SV_POSITION) : SV_TARGET0 { return float4(0.0, 1.0, 0.0, 1.0); }\n",
        {Element("POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0)});
    Ref<ID3D11Buffer> vertices =
        MakeBuffer(18 * sizeof(float), D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE);
    Ref<ID3D11Texture2D> target = BoundTarget(6, 2);
    UseProgram(program);
    const UINT stride = 12;
    const UINT offset = 0;
    ID3D11Buffer* vertexBuffers[] = {vertices.get()};
    context_->IASetVertexBuffers(0, 1, vertexBuffers, &stride, &offset);
    for (int column = 0; column < 6; column += 2) {
        const float left = -1.0f + float(column) / 3.0f;
        const std::vector<float> corners = Rectangle(left, 1, left + 2.0f / 3.0f, -1);
        D3D11_MAPPED_SUBRESOURCE mapped;
        ASSERT_EQ(context_->Map(vertices.get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped), S_OK);
        std::memcpy(mapped.pData, corners.data(), corners.size() * sizeof(float));
        context_->Unmap(vertices.get(), 0);
        context_->Draw(6, 0);
    }
    ExpectDrawn("VertexNumbers", target.get(), Image(6, 2, [](UINT, UINT) { return Rgba(0, 255, 0, 255); }));
}

TEST_P(DrawStates, LinesLightThePixelsTheyCross)
{
    // A horizontal line through the centres of row 1 and a vertical one through column 2, both running past
    // the target's edges so that no end decides a pixel.
    const std::vector<float> lines = {-1.25f,  0.25f, 0.5f, 1.25f,   0.25f, 0.5f,
                                      -0.375f, 1.5f,  0.5f, -0.375f, -1.5f, 0.5f};
    Ref<ID3D11Texture2D> target = BoundTarget(8, 4);
    const FLOAT red[4] = {1, 0, 0, 1};
    DrawColoured(lines, red, D3D11_PRIMITIVE_TOPOLOGY_LINELIST);
    ExpectDrawn("Lines", target.get(),
                Image(8, 4, [](UINT x, UINT y) { return y == 1 || x == 2 ? Rgba(255, 0, 0, 255) : 0u; }));
}

TEST_P(DrawStates, FloatTargetsHoldTheValuesDrawn)
{
    // The renderer's floating-point target formats, read back texel by texel as stored.
    const FLOAT colour[4] = {0.3f, 0.6f, 0.9f, 0.5f};
    uint32_t red;
    std::memcpy(&red, &colour[0], 4);
    // 0.3, 0.6, 0.9 and 0.5 rounded to the nearest 16-bit float.
    const uint32_t halves[4] = {0x34CD, 0x38CD, 0x3B33, 0x3800};
    struct Case {
        DXGI_FORMAT format;
        UINT channelBytes;
        std::vector<uint32_t> channels;
        uint32_t tolerance;  // in units of the last place
    };
    // A device may round a 16-bit float toward zero where the platform rounds to nearest: one unit apart.
    const Case cases[] = {
        {DXGI_FORMAT_R32_FLOAT, 4, {red}, 0},
        {DXGI_FORMAT_R16_FLOAT, 2, {halves[0]}, 1},
        {DXGI_FORMAT_R16G16B16A16_FLOAT, 2, {halves[0], halves[1], halves[2], halves[3]}, 1},
    };
    for (const Case& target : cases) {
        SCOPED_TRACE(int(target.format));
        Ref<ID3D11Texture2D> texture = BoundTarget(3, 2, target.format);
        DrawColoured(Rectangle(-1, 1, 1, -1), colour);
        SetTarget(nullptr, 3, 2);
        if (!Rasterises()) {
            EXPECT_GT(HalvoD3D11_DrawCount(device_.get()), 0u);
            continue;
        }
        const UINT texelBytes = target.channelBytes * UINT(target.channels.size());
        const std::vector<uint8_t> stored = ReadBytes(texture.get(), texelBytes);
        ASSERT_EQ(stored.size(), 6u * texelBytes);
        for (size_t at = 0; at < stored.size(); at += target.channelBytes) {
            uint32_t value = 0;
            std::memcpy(&value, &stored[at], target.channelBytes);
            const uint32_t wanted = target.channels[(at % texelBytes) / target.channelBytes];
            EXPECT_LE(value > wanted ? value - wanted : wanted - value, target.tolerance)
                << "byte " << at << ": 0x" << std::hex << value << ", expected 0x" << wanted;
        }
    }
}

INSTANTIATE_ON_EVERY_BACKEND(DrawStates);

}  // namespace
