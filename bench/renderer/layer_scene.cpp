#include "layer_scene.h"

#include <cstring>

#include "graphics/null_renderer.h"
#include "graphics/shader_translation.h"
#include "graphics/sprite_shader.h"
#include "shadertool/basic/targets.h"

namespace {

template <typename T>
void Release(T*& object)
{
    if (object != nullptr) object->Release();
    object = nullptr;
}

// Asks the translator for the code the renderer's sprite program runs.
class Hlsl11Target : public RendererImplementationNull {
public:
    uint32_t GetShaderTarget() override { return ShaderTool::TARGET_HLSL11; }
    uint32_t GetShaderFeatureLevel() override { return ShaderTool::FEATURE_LEVEL_HLSL11_DEFAULT; }
};

bool TranslateSprite(HV_Shader& shader)
{
    static Hlsl11Target target;
    RendererImplementation* running = HVI_GetRenderer();
    HVI_SetRenderer(&target);
    shader.name = kSpriteShaderName;
    const bool translated = HVI_InitShaders() && HVI_LoadShaderText(shader, kSpriteShaderXml) == HVI_SHADER_TRANSLATED;
    HVI_SetRenderer(running);
    return translated;
}

}  // namespace

std::string LayerScene::Make()
{
    PrepareEngine();
    HV_Shader sprite;
    if (!TranslateSprite(sprite)) return "the sprite program could not be translated";
    m_window = MakeBenchWindow();
    if (m_window == nullptr) return "no window could be made";
    for (D3D_DRIVER_TYPE type : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
        if (SUCCEEDED(D3D11CreateDevice(nullptr, type, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION, &m_device, nullptr,
                                        &m_context))) {
            break;
        }
    }
    if (m_device == nullptr) return "no device could be made";
    DXGI_SWAP_CHAIN_DESC chain{};
    chain.BufferDesc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    chain.BufferDesc.RefreshRate = {60, 1};
    chain.SampleDesc = {1, 0};
    chain.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    chain.BufferCount = 2;
    chain.OutputWindow = m_window;
    chain.Windowed = TRUE;
    chain.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
    IDXGIDevice* dxgiDevice = nullptr;
    IDXGIAdapter* adapter = nullptr;
    IDXGIFactory* factory = nullptr;
    m_device->QueryInterface(IID_PPV_ARGS(&dxgiDevice));
    dxgiDevice->GetAdapter(&adapter);
    adapter->GetParent(IID_PPV_ARGS(&factory));
    const HRESULT chained = factory->CreateSwapChain(m_device, &chain, &m_swapChain);
    Release(factory);
    Release(adapter);
    Release(dxgiDevice);
    if (FAILED(chained)) return "no swap chain could be made";
    ID3D11Texture2D* backBuffer = nullptr;
    m_swapChain->GetBuffer(0, IID_PPV_ARGS(&backBuffer));
    m_device->CreateRenderTargetView(backBuffer, nullptr, &m_target);
    Release(backBuffer);
    const D3D11_TEXTURE2D_DESC depthDesc{
        kBackBufferWidth,    kBackBufferHeight,        1, 1, DXGI_FORMAT_D32_FLOAT, {1, 0},
        D3D11_USAGE_DEFAULT, D3D11_BIND_DEPTH_STENCIL, 0, 0};
    m_device->CreateTexture2D(&depthDesc, nullptr, &m_depth);
    if (m_depth != nullptr) m_device->CreateDepthStencilView(m_depth, nullptr, &m_depthView);
    // The states the renderer starts with: no depth test or write, no culling.
    D3D11_DEPTH_STENCIL_DESC depthStateDesc{};
    depthStateDesc.DepthWriteMask = D3D11_DEPTH_WRITE_MASK_ZERO;
    depthStateDesc.DepthFunc = D3D11_COMPARISON_LESS;
    m_device->CreateDepthStencilState(&depthStateDesc, &m_depthState);
    D3D11_RASTERIZER_DESC rasterizerDesc{};
    rasterizerDesc.FillMode = D3D11_FILL_SOLID;
    rasterizerDesc.CullMode = D3D11_CULL_NONE;
    rasterizerDesc.DepthClipEnable = TRUE;
    m_device->CreateRasterizerState(&rasterizerDesc, &m_rasterizerState);
    const D3D11_VIEWPORT viewport{0, 0, float(kBackBufferWidth), float(kBackBufferHeight), 0, 1};
    m_context->RSSetViewports(1, &viewport);

    const D3D11_BUFFER_DESC vertexDesc{
        4 * sizeof(QuadVertex), D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE, 0,
        sizeof(QuadVertex)};
    const D3D11_BUFFER_DESC indexDesc{sizeof kSpriteQuadIndices, D3D11_USAGE_DEFAULT, D3D11_BIND_INDEX_BUFFER, 0, 0, 2};
    const D3D11_SUBRESOURCE_DATA indexData{kSpriteQuadIndices, 0, 0};
    m_device->CreateBuffer(&vertexDesc, nullptr, &m_vertices);
    m_device->CreateBuffer(&indexDesc, &indexData, &m_indices);

    const ByteBuffer& vertexCode = sprite.stageOutputs[ShaderTool::STAGE_VERTEX];
    const ByteBuffer& pixelCode = sprite.stageOutputs[ShaderTool::STAGE_PIXEL];
    m_device->CreateVertexShader(vertexCode.GetData(), vertexCode.GetSize(), nullptr, &m_vertexShader);
    m_device->CreatePixelShader(pixelCode.GetData(), pixelCode.GetSize(), nullptr, &m_pixelShader);
    const D3D11_INPUT_ELEMENT_DESC elements[] = {
        {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"COLOR", 0, DXGI_FORMAT_B8G8R8A8_UNORM, 0, 12, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, 16, D3D11_INPUT_PER_VERTEX_DATA, 0},
    };
    m_device->CreateInputLayout(elements, 3, vertexCode.GetData(), vertexCode.GetSize(), &m_layout);

    const std::vector<uint8_t> texels = MakeTexels();
    const D3D11_TEXTURE2D_DESC textureDesc{kTextureSide,
                                           kTextureSide,
                                           1,
                                           1,
                                           DXGI_FORMAT_R8G8B8A8_UNORM,
                                           {1, 0},
                                           D3D11_USAGE_IMMUTABLE,
                                           D3D11_BIND_SHADER_RESOURCE,
                                           0,
                                           0};
    const D3D11_SUBRESOURCE_DATA textureData{texels.data(), kTextureSide * 4, 0};
    m_device->CreateTexture2D(&textureDesc, &textureData, &m_texture);
    if (m_texture != nullptr) m_device->CreateShaderResourceView(m_texture, nullptr, &m_textureView);
    D3D11_SAMPLER_DESC samplerDesc{};
    samplerDesc.Filter = D3D11_FILTER_MIN_MAG_MIP_POINT;
    samplerDesc.AddressU = samplerDesc.AddressV = samplerDesc.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
    samplerDesc.MaxLOD = D3D11_FLOAT32_MAX;
    m_device->CreateSamplerState(&samplerDesc, &m_sampler);
    m_quads = MakeQuads();
    const bool complete = m_target && m_depthView && m_depthState && m_rasterizerState && m_vertices && m_indices &&
                          m_vertexShader && m_pixelShader && m_layout && m_textureView && m_sampler;
    return complete ? "" : "the scene's objects could not all be made";
}

void LayerScene::Frame()
{
    const FLOAT clear[4] = {0.1f, 0.2f, 0.3f, 1.0f};
    m_context->OMSetRenderTargets(1, &m_target, m_depthView);
    m_context->OMSetDepthStencilState(m_depthState, 0);
    m_context->RSSetState(m_rasterizerState);
    m_context->ClearRenderTargetView(m_target, clear);
    m_context->VSSetShader(m_vertexShader, nullptr, 0);
    m_context->PSSetShader(m_pixelShader, nullptr, 0);
    m_context->IASetInputLayout(m_layout);
    m_context->PSSetShaderResources(0, 1, &m_textureView);
    m_context->PSSetSamplers(0, 1, &m_sampler);
    const UINT stride = sizeof(QuadVertex);
    const UINT offset = 0;
    for (int i = 0; i < kQuadCount; ++i) {
        D3D11_MAPPED_SUBRESOURCE mapped;
        if (SUCCEEDED(m_context->Map(m_vertices, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) {
            std::memcpy(mapped.pData, &m_quads[size_t(i) * 4], 4 * sizeof(QuadVertex));
            m_context->Unmap(m_vertices, 0);
        }
        m_context->IASetVertexBuffers(0, 1, &m_vertices, &stride, &offset);
        m_context->IASetIndexBuffer(m_indices, DXGI_FORMAT_R16_UINT, 0);
        m_context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
        m_context->DrawIndexed(6, 0, 0);
    }
    m_swapChain->Present(0, 0);
}

LayerScene::~LayerScene()
{
    if (m_context != nullptr) m_context->ClearState();
    Release(m_sampler);
    Release(m_textureView);
    Release(m_texture);
    Release(m_layout);
    Release(m_pixelShader);
    Release(m_vertexShader);
    Release(m_indices);
    Release(m_vertices);
    Release(m_rasterizerState);
    Release(m_depthState);
    Release(m_depthView);
    Release(m_depth);
    Release(m_target);
    Release(m_swapChain);
    Release(m_context);
    Release(m_device);
    if (m_window != nullptr) DestroyWindow(m_window);
}
