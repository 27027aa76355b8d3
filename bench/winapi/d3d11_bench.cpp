// One frame as the renderer draws the simplest scene: a textured, indexed
// quad at 1280 x 720 with its constants updated through a discard map each
// frame, then Present. Reported as frames, and the calls they make, per
// second on each back end ("memory", "vulkan"); a back end that cannot start
// here (no Vulkan device) is skipped with a message.
#include <benchmark/benchmark.h>
#include <d3d11_1.h>
#include <d3dcompiler.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "winapi/d3d11/d3d11_test_hooks.h"

namespace {

constexpr char kVertexSource[] =
    "cbuffer Constants : register(b0) { float4x4 transform; };\n"
    "struct VertexInput { float3 position : POSITION; float2 uv : TEXCOORD0; };\n"
    "struct VertexOutput { float4 position : SV_POSITION; float2 uv : TEXCOORD0; };\n"
    "VertexOutput main(VertexInput input) {\n"
    "  VertexOutput output;\n"
    "  output.position = mul(transform, float4(input.position, 1.0));\n"
    "  output.uv = input.uv;\n"
    "  return output;\n"
    "}\n";

constexpr char kPixelSource[] =
    "Texture2D image : register(t0);\nSamplerState imageSampler : register(s0);\n"
    "float4 main(float4 position : SV_POSITION, float2 uv : TEXCOORD0) : SV_TARGET0 {\n"
    "  return image.Sample(imageSampler, uv);\n"
    "}\n";

// The calls one frame makes, counted by hand from Frame below; the clear and
// the present are the two that touch every pixel.
constexpr int kCallsPerFrame = 15;
constexpr int kPixelCalls = 2;

template <typename T>
void Release(T*& object)
{
    if (object != nullptr) object->Release();
    object = nullptr;
}

std::vector<unsigned char> Compile(HMODULE compiler, const char* source, const char* profile)
{
    auto compile = reinterpret_cast<pD3DCompile>(reinterpret_cast<void (*)()>(GetProcAddress(compiler, "D3DCompile")));
    ID3DBlob* code = nullptr;
    std::vector<unsigned char> bytes;
    if (compile != nullptr && SUCCEEDED(compile(source, std::strlen(source), "bench", nullptr, nullptr, "main", profile,
                                                0, 0, &code, nullptr))) {
        const auto* start = static_cast<const unsigned char*>(code->GetBufferPointer());
        bytes.assign(start, start + code->GetBufferSize());
        code->Release();
    }
    return bytes;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Scene {
    ID3D11Device* device = nullptr;
    ID3D11DeviceContext* context = nullptr;
    IDXGISwapChain* swapChain = nullptr;
    ID3D11RenderTargetView* target = nullptr;
    ID3D11Buffer* vertices = nullptr;
    ID3D11Buffer* indices = nullptr;
    ID3D11Buffer* constants = nullptr;
    ID3D11VertexShader* vertexShader = nullptr;
    ID3D11PixelShader* pixelShader = nullptr;
    ID3D11InputLayout* layout = nullptr;
    ID3D11Texture2D* texture = nullptr;
    ID3D11ShaderResourceView* textureView = nullptr;
    ID3D11SamplerState* sampler = nullptr;
    HMODULE compiler = nullptr;
    HWND window = nullptr;

    // Empty when made, else why not.
    std::string Make(const char* backend)
    {
        if (GetEnvironmentVariableA("HALVO_LIBRARY_PATH", nullptr, 0) == 0) {
            SetEnvironmentVariableA("HALVO_LIBRARY_PATH", HALVO_MODULE_DIR);
        }
        compiler = LoadLibraryA("d3dcompiler_47.dll");
        if (compiler == nullptr) return "the HLSL compiler library could not be loaded";
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.lpszClassName = "D3D11Bench";
        RegisterClassExA(&windowClass);
        RECT frame{0, 0, 1280, 720};
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
        window = CreateWindowExA(0, "D3D11Bench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, frame.right - frame.left,
                                 frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
        DXGI_SWAP_CHAIN_DESC chain{};
        chain.BufferDesc = {1280,
                            720,
                            {60, 1},
                            DXGI_FORMAT_B8G8R8A8_UNORM,
                            DXGI_MODE_SCANLINE_ORDER_UNSPECIFIED,
                            DXGI_MODE_SCALING_UNSPECIFIED};
        chain.SampleDesc = {1, 0};
        chain.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
        chain.BufferCount = 2;
        chain.OutputWindow = window;
        chain.Windowed = TRUE;
        chain.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
        SetEnvironmentVariableA("HALVO_D3D11_BACKEND", backend);
        bool made = false;
        for (D3D_DRIVER_TYPE type : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
            if (SUCCEEDED(D3D11CreateDevice(nullptr, type, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION, &device, nullptr,
                                            &context))) {
                made = true;
                break;
            }
        }
        SetEnvironmentVariableA("HALVO_D3D11_BACKEND", nullptr);
        if (!made) return "no device could be made";
        // A back end that cannot start leaves the device on the memory one.
        if (std::strcmp(HalvoD3D11_BackendName(device), backend) != 0) {
            return std::string("skipped: the ") + backend + " back end cannot start here (no Vulkan device)";
        }
        IDXGIDevice* dxgiDevice = nullptr;
        IDXGIAdapter* adapter = nullptr;
        IDXGIFactory* factory = nullptr;
        device->QueryInterface(IID_PPV_ARGS(&dxgiDevice));
        dxgiDevice->GetAdapter(&adapter);
        adapter->GetParent(IID_PPV_ARGS(&factory));
        const HRESULT chained = factory->CreateSwapChain(device, &chain, &swapChain);
        Release(factory);
        Release(adapter);
        Release(dxgiDevice);
        if (FAILED(chained)) return "no swap chain could be made";
        ID3D11Texture2D* backBuffer = nullptr;
        swapChain->GetBuffer(0, IID_PPV_ARGS(&backBuffer));
        device->CreateRenderTargetView(backBuffer, nullptr, &target);
        Release(backBuffer);
        // Without a viewport a draw rasterises nothing; the renderer sets one at start-up.
        const D3D11_VIEWPORT viewport{0, 0, 1280, 720, 0, 1};
        context->RSSetViewports(1, &viewport);

        const float quad[] = {-1, -1, 0, 0, 1, -1, 1, 0, 0, 0, 1, -1, 0, 1, 1, 1, 1, 0, 1, 0};
        const uint16_t quadIndices[] = {0, 1, 2, 2, 1, 3};
        const D3D11_BUFFER_DESC vertexDesc{sizeof quad, D3D11_USAGE_IMMUTABLE, D3D11_BIND_VERTEX_BUFFER, 0, 0, 0};
        const D3D11_BUFFER_DESC indexDesc{sizeof quadIndices, D3D11_USAGE_IMMUTABLE, D3D11_BIND_INDEX_BUFFER, 0, 0, 0};
        const D3D11_BUFFER_DESC constantDesc{
            80, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0};
        const D3D11_SUBRESOURCE_DATA vertexData{quad, 0, 0};
        const D3D11_SUBRESOURCE_DATA indexData{quadIndices, 0, 0};
        device->CreateBuffer(&vertexDesc, &vertexData, &vertices);
        device->CreateBuffer(&indexDesc, &indexData, &indices);
        device->CreateBuffer(&constantDesc, nullptr, &constants);

        const std::vector<unsigned char> vertexCode = Compile(compiler, kVertexSource, "vs_4_0");
        const std::vector<unsigned char> pixelCode = Compile(compiler, kPixelSource, "ps_4_0");
        device->CreateVertexShader(vertexCode.data(), vertexCode.size(), nullptr, &vertexShader);
        device->CreatePixelShader(pixelCode.data(), pixelCode.size(), nullptr, &pixelShader);
        const D3D11_INPUT_ELEMENT_DESC elements[] = {
            {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
            {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, 12, D3D11_INPUT_PER_VERTEX_DATA, 0}};
        device->CreateInputLayout(elements, 2, vertexCode.data(), vertexCode.size(), &layout);

        std::vector<uint32_t> texels(256 * 256, 0xff8040c0u);
        const D3D11_TEXTURE2D_DESC textureDesc{
            256, 256, 1, 1, DXGI_FORMAT_R8G8B8A8_UNORM, {1, 0}, D3D11_USAGE_IMMUTABLE, D3D11_BIND_SHADER_RESOURCE,
            0,   0};
        const D3D11_SUBRESOURCE_DATA textureData{texels.data(), 256 * 4, 0};
        device->CreateTexture2D(&textureDesc, &textureData, &texture);
        device->CreateShaderResourceView(texture, nullptr, &textureView);
        D3D11_SAMPLER_DESC samplerDesc{};
        samplerDesc.Filter = D3D11_FILTER_MIN_MAG_MIP_POINT;
        samplerDesc.AddressU = samplerDesc.AddressV = samplerDesc.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
        samplerDesc.MaxLOD = D3D11_FLOAT32_MAX;
        device->CreateSamplerState(&samplerDesc, &sampler);
        const bool complete = target && vertices && indices && constants && vertexShader && pixelShader && layout &&
                              textureView && sampler;
        return complete ? "" : "the scene's objects could not all be made";
    }

    // One frame; kCallsPerFrame counts its calls. Without pixels, the clear and
    // the present are left out.
    void Frame(float time, bool pixels)
    {
        const FLOAT clear[4] = {0.1f, 0.2f, 0.3f, 1.0f};
        context->OMSetRenderTargets(1, &target, nullptr);
        if (pixels) context->ClearRenderTargetView(target, clear);
        D3D11_MAPPED_SUBRESOURCE mapped;
        if (SUCCEEDED(context->Map(constants, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) {
            float transform[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
            transform[3] = time;
            std::memcpy(mapped.pData, transform, sizeof transform);
            context->Unmap(constants, 0);
        }
        const UINT stride = 20;
        const UINT offset = 0;
        context->IASetInputLayout(layout);
        context->IASetVertexBuffers(0, 1, &vertices, &stride, &offset);
        context->IASetIndexBuffer(indices, DXGI_FORMAT_R16_UINT, 0);
        context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
        context->VSSetShader(vertexShader, nullptr, 0);
        context->VSSetConstantBuffers(0, 1, &constants);
        context->PSSetShader(pixelShader, nullptr, 0);
        context->PSSetShaderResources(0, 1, &textureView);
        context->PSSetSamplers(0, 1, &sampler);
        context->DrawIndexed(6, 0, 0);
        if (pixels) swapChain->Present(0, 0);
    }

    ~Scene()
    {
        if (context != nullptr) context->ClearState();
        Release(sampler);
        Release(textureView);
        Release(texture);
        Release(layout);
        Release(pixelShader);
        Release(vertexShader);
        Release(constants);
        Release(indices);
        Release(vertices);
        Release(target);
        Release(swapChain);
        Release(context);
        Release(device);
        if (window != nullptr) DestroyWindow(window);
        if (compiler != nullptr) FreeLibrary(compiler);
    }
};

void RunFrames(benchmark::State& state, const char* backend, bool pixels)
{
    Scene scene;
    const std::string failure = scene.Make(backend);
    if (!failure.empty()) {
        state.SkipWithError(failure.c_str());
        return;
    }
    float time = 0.0f;
    for (auto _ : state) {
        scene.Frame(time, pixels);
        time += 0.001f;
    }
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    const int calls = pixels ? kCallsPerFrame : kCallsPerFrame - kPixelCalls;
    state.counters["calls/s"] = benchmark::Counter(double(state.iterations()) * calls, benchmark::Counter::kIsRate);
}

// Rates are of wall-clock time: a GPU back end does much of a frame's work
// outside the calling thread.
// The whole frame: clear, constants, one textured indexed draw, present.
void TexturedIndexedFrame(benchmark::State& state, const char* backend) { RunFrames(state, backend, true); }
BENCHMARK_CAPTURE(TexturedIndexedFrame, memory, "memory")->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(TexturedIndexedFrame, vulkan, "vulkan")->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same frame without the clear and the present: what the checks and
// bindings of the object layer cost per call.
void TexturedIndexedFrameCallsOnly(benchmark::State& state, const char* backend) { RunFrames(state, backend, false); }
BENCHMARK_CAPTURE(TexturedIndexedFrameCallsOnly, memory, "memory")->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(TexturedIndexedFrameCallsOnly, vulkan, "vulkan")->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
