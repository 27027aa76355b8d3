#pragma once

#include <d3d11_1.h>

#include <string>
#include <vector>

#include "quad_frame.h"

// The same frame made directly on our Direct3D 11 layer: the calls the
// renderer would make, written by hand, with the sprite program's own code.
class LayerScene {
public:
    // Empty when made, else why not.
    std::string Make();
    void Frame();
    ~LayerScene();

private:
    HWND m_window = nullptr;
    ID3D11Device* m_device = nullptr;
    ID3D11DeviceContext* m_context = nullptr;
    IDXGISwapChain* m_swapChain = nullptr;
    ID3D11RenderTargetView* m_target = nullptr;
    ID3D11Texture2D* m_depth = nullptr;
    ID3D11DepthStencilView* m_depthView = nullptr;
    ID3D11DepthStencilState* m_depthState = nullptr;
    ID3D11RasterizerState* m_rasterizerState = nullptr;
    ID3D11Buffer* m_vertices = nullptr;
    ID3D11Buffer* m_indices = nullptr;
    ID3D11VertexShader* m_vertexShader = nullptr;
    ID3D11PixelShader* m_pixelShader = nullptr;
    ID3D11InputLayout* m_layout = nullptr;
    ID3D11Texture2D* m_texture = nullptr;
    ID3D11ShaderResourceView* m_textureView = nullptr;
    ID3D11SamplerState* m_sampler = nullptr;
    std::vector<QuadVertex> m_quads;
};
