// What the back end attaches to a shader record for its program.
#pragma once

#include <d3d11.h>

#include <cstdint>

struct RendererShaderProgram {
    ID3D11VertexShader* vertexShader = nullptr;
    ID3D11PixelShader* pixelShader = nullptr;
    ID3D11Buffer* vertexConstants = nullptr;  // null without vertex constants
    ID3D11Buffer* pixelConstants = nullptr;   // null without pixel constants
    ID3D11InputLayout* inputLayout = nullptr;
    // Tells programs apart even when a new one takes the memory of one released.
    uint64_t serial = 0;
};
