// What the tests run on every back end share: a fixture parameterised by the
// back end's name, which skips when that back end cannot start here and, on
// Vulkan, runs with the validation layer on and expects it to stay silent;
// and the few calls every draw needs (shaders and their layout, vertices,
// constants, a target with its viewport), made through the platform's
// interfaces only.
#pragma once

#include <cfloat>
#include <string>
#include <vector>

#include "winapi/d3d11/d3d11_test_support.h"

class BackendTest : public D3D11Test, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override;
    void TearDown() override;

    // Whether the back end draws pixels (the memory back end only records draws).
    bool Rasterises() const;
    // "<back end>-<name>", the name of a pixel comparison.
    std::string Named(const std::string& name) const;

    // Binds a program (made on first use) that passes POSITION (float3) through and colours every pixel with
    // the float4 of constant buffer b0, for triangle lists.
    void UseColourProgram();
    // Draws the vertices (x, y, z each) with it in one colour; without a colour, with no pixel shader.
    void DrawColoured(const std::vector<float>& vertices, const FLOAT colour[4],
                      D3D11_PRIMITIVE_TOPOLOGY topology = D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    // An immutable vertex buffer of the floats in input slot `slot`, triangle lists.
    void SetVertices(const std::vector<float>& floats, UINT stride, UINT slot = 0);
    // Immutable constant buffers (rounded up to 16 bytes) in slot 0 of a stage.
    void SetVertexConstants(const void* data, UINT size);
    void SetPixelConstants(const void* data, UINT size);
    // The target (and depth view) bound, with a viewport over the whole of it.
    void SetTarget(ID3D11RenderTargetView* target, UINT width, UINT height, ID3D11DepthStencilView* depth = nullptr);
    // A new target of the size bound as above; the binding keeps its view.
    Ref<ID3D11Texture2D> BoundTarget(UINT width, UINT height, DXGI_FORMAT format = DXGI_FORMAT_R8G8B8A8_UNORM);
    // Rasterizer and depth-stencil states of the fields named, bound; the binding keeps them.
    void SetRasterizer(D3D11_CULL_MODE cull, BOOL frontCounterClockwise = FALSE, BOOL scissor = FALSE);
    void SetDepthState(BOOL enabled, D3D11_DEPTH_WRITE_MASK writes, D3D11_COMPARISON_FUNC func);

    // What the draws since the last check left in the target's subresource:
    // on a back end that rasterises, each channel of each pixel within
    // `tolerance` of the expected (writing PNGs of both when not); on one
    // that does not, draws reached it and none was refused.
    void ExpectDrawn(const std::string& name, ID3D11Texture2D* target, const std::vector<uint32_t>& expected,
                     bool bgra = false, int tolerance = 0, UINT subresource = 0);

private:
    Ref<ID3D11Buffer> MakeConstantBuffer(const void* data, UINT size);

    Program colour_;
    unsigned validationAtStart_ = 0;
    size_t messagesChecked_ = 0;
    std::vector<Ref<ID3D11Buffer>> buffers_;  // kept while bound
};

// Six vertices (x, y, z) of two triangles covering the rectangle, clockwise
// on screen; left < right and bottom < top in normalised device coordinates.
std::vector<float> Rectangle(float left, float top, float right, float bottom, float z = 0.5f);

// The texels of a width x height image, row after row, texel (x, y) given by `texel`.
template <typename Texel>
std::vector<uint32_t> Image(UINT width, UINT height, Texel texel)
{
    std::vector<uint32_t> image;
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) image.push_back(texel(x, y));
    }
    return image;
}

// Texels that differ from each other in every channel, so that any shift,
// flip or filtering shows.
std::vector<uint32_t> Ramp(UINT count, uint8_t seed);

// The 8-bit value a normalised channel of `value` is stored as: clamped, and
// rounded to nearest.
uint8_t Unorm8(double value);

// Every back end, by name: the instantiation of each suite.
#define INSTANTIATE_ON_EVERY_BACKEND(suite)                     \
    INSTANTIATE_TEST_SUITE_P(                                   \
        Backends, suite, ::testing::Values("memory", "vulkan"), \
        [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); })
