// The engine's own route for HLSL11 code: our Direct3D 11 layer on its
// Vulkan back end draws two triangles over a row of four-float pixels with
// compiled vertex and pixel code, each stage's constant bytes in a constant
// buffer at slot 0 as the renderer binds them, and reads the pixels back.
#pragma once

#include <d3d11.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/com_reference.h"
#include "support/row_texture.h"
#include "support/row_vertices.h"

class D3D11Row {
public:
    // Makes the device on the Vulkan back end; false, with the reason, when that back end does not start.
    bool Open(std::string* reason);

    // The vertex code's inputs are fed the vertices by semantic; texture i and a sampler of the nearest texel
    // and level, clamped, sit in the pixel stage's slot i, as the renderer binds them; pixel output i goes to
    // render target i of `outputs`, each `width` x 1 four floats, read back one after another.
    bool DrawRow(const std::vector<uint8_t>& vertexCode, const std::vector<uint8_t>& pixelCode,
                 const std::vector<uint8_t>& vertexConstants, const std::vector<uint8_t>& pixelConstants,
                 const std::vector<RowTexture>& textures, const RowVertices& vertices, int width, int outputs,
                 std::vector<float>* pixels, std::string* reason);

private:
    Ref<ID3D11Buffer> ConstantBuffer(const std::vector<uint8_t>& bytes);
    Ref<ID3D11ShaderResourceView> TextureView(const RowTexture& texture);
    Ref<ID3D11SamplerState> NearestSampler();

    Ref<ID3D11Device> m_device;
    Ref<ID3D11DeviceContext> m_context;
};
