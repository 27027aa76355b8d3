#pragma once

#include <d3d11_1.h>

#include <cstdint>
#include <string>
#include <vector>

// What the layer asks of the hooks that tests set (d3d11_test_hooks.h).
namespace halvo::d3d11::hooks {

// Whether the named call fails now, and its result.
bool PlannedFailure(const char* entryPoint, HRESULT* result);
// Counts one creation; whether it fails.
bool CreationFails();

// The highest level of a driver type that a test set (true), 0 when it removed it.
bool DriverTypeLevel(D3D_DRIVER_TYPE type, D3D_FEATURE_LEVEL* level);
bool RuntimeKnowsLevel11_1();
bool Factory2Present();
bool Device1Present();
bool FormatSupportAnswer(DXGI_FORMAT format, UINT* support);
bool FeatureAnswer(D3D11_FEATURE feature, HRESULT* result, std::vector<uint8_t>* data);

struct OutputHook {
    std::wstring name;
    RECT desktop{};
    bool attached = true;
    bool getDescFails = false;
    std::vector<DXGI_MODE_DESC> modes;
    UINT modesAddedAfterCount = 0;
};
bool OutputsAnswer(std::vector<OutputHook>* outputs);
HRESULT AdapterResult();
bool EnumOutputsFailure(UINT index, HRESULT* result);
bool ClosestModeAnswer(HRESULT* result, DXGI_MODE_DESC* mode);
HRESULT FullscreenResult();

// The swap chains alive, by window (not part of the planned answers, so a
// reset keeps them).
void NoteSwapChain(HWND window, IDXGISwapChain* swapChain);
void ForgetSwapChain(IDXGISwapChain* swapChain);
IDXGISwapChain* SwapChainOfWindow(HWND window);

// A line where the platform's debug layer would complain.
void LogMessage(const std::string& line);

}  // namespace halvo::d3d11::hooks
