#include "quad_frame.h"

#include <cstring>

#include "core/engine_interface.h"
#include "core/engine_locks.h"
#include "core/threading.h"
#include "graphics/graphics_table.h"
#include "winapi/d3d11/d3d11_test_hooks.h"

namespace {

constexpr float kQuadWidth = 2.0f / kColumns;
constexpr float kQuadHeight = 2.0f / kRows;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

std::vector<QuadVertex> MakeQuads()
{
    std::vector<QuadVertex> vertices;
    for (int i = 0; i < kQuadCount; ++i) {
        const float left = -1.0f + float(i % kColumns) * kQuadWidth;
        const float top = 1.0f - float(i / kColumns) * kQuadHeight;
        const float right = left + kQuadWidth * 0.9f;
        const float bottom = top - kQuadHeight * 0.9f;
        vertices.push_back({left, top, 0.0f, kWhite, 0.0f, 0.0f});
        vertices.push_back({right, top, 0.0f, kWhite, 1.0f, 0.0f});
        vertices.push_back({left, bottom, 0.0f, kWhite, 0.0f, 1.0f});
        vertices.push_back({right, bottom, 0.0f, kWhite, 1.0f, 1.0f});
    }
    return vertices;
}

std::vector<uint8_t> MakeTexels()
{
    std::vector<uint8_t> texels(size_t(kTextureSide) * kTextureSide * 4);
    for (size_t i = 0; i < texels.size(); ++i) texels[i] = uint8_t(i * 7 + (i >> 8));
    return texels;
}

HWND MakeBenchWindow()
{
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.lpszClassName = "RendererBench";
        return RegisterClassExA(&windowClass) != 0;
    }();
    if (!registered) return nullptr;
    RECT frame{0, 0, LONG(kBackBufferWidth), LONG(kBackBufferHeight)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    return CreateWindowExA(0, "RendererBench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, frame.right - frame.left,
                           frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
}

bool BackendStarts(const char* backend)
{
    SetEnvironmentVariableA("HALVO_D3D11_BACKEND", backend);
    ID3D11Device* device = nullptr;
    for (D3D_DRIVER_TYPE type : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
        if (SUCCEEDED(D3D11CreateDevice(nullptr, type, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION, &device, nullptr,
                                        nullptr))) {
            break;
        }
    }
    // A back end that cannot start leaves the device on the memory one.
    const bool started = device != nullptr && std::strcmp(HalvoD3D11_BackendName(device), backend) == 0;
    if (device != nullptr) device->Release();
    return started;
}

void PrepareEngine()
{
    static const bool prepared = [] {
        if (GetEnvironmentVariableA("HALVO_LIBRARY_PATH", nullptr, 0) == 0) {
            SetEnvironmentVariableA("HALVO_LIBRARY_PATH", HALVO_MODULE_DIR);
        }
        HVI_RegisterMainThread();
        HVI_CreateEngineLocks();
        HVI_BuildEngineInterface();
        HVI_GetEngineInterface()->graphics = HVI_GetGraphicsTable();
        return true;
    }();
    (void)prepared;
}
