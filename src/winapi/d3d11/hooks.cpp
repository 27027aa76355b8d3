// The state behind d3d11_test_hooks.h, one for the process, under one lock.
#include "winapi/d3d11/hooks.h"

#include <windows.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "winapi/d3d11/d3d11_test_hooks.h"

namespace halvo::d3d11::hooks {

namespace {

struct PlannedCall {
    UINT callsLeft;  // the failing call is the one that brings this to 0
    HRESULT result;
};

struct FeatureHook {
    HRESULT result;
    std::vector<uint8_t> data;
};

struct HookState {
    std::multimap<std::string, PlannedCall> plannedCalls;
    UINT creationsCounted = 0;
    UINT failCreationsFrom = 0;
    std::map<D3D_DRIVER_TYPE, D3D_FEATURE_LEVEL> driverTypes;
    bool knowsLevel11_1 = true;
    bool factory2 = true;
    bool device1 = true;
    std::map<DXGI_FORMAT, UINT> formatSupport;
    std::map<D3D11_FEATURE, FeatureHook> features;
    std::optional<std::vector<OutputHook>> outputs;
    HRESULT adapterResult = S_OK;
    std::map<UINT, HRESULT> enumOutputsFailures;
    std::optional<std::pair<HRESULT, DXGI_MODE_DESC>> closestMode;
    HRESULT fullscreenResult = S_OK;
    std::vector<std::string> messages;
};

constexpr size_t kKeptMessages = 4096;

std::mutex g_lock;
HookState g_state;                                           // guarded by g_lock
std::vector<std::pair<HWND, IDXGISwapChain*>> g_swapChains;  // alive, oldest first; guarded by g_lock

}  // namespace

bool PlannedFailure(const char* entryPoint, HRESULT* result)
{
    std::lock_guard<std::mutex> hold(g_lock);
    auto [first, last] = g_state.plannedCalls.equal_range(entryPoint);
    bool fails = false;
    for (auto entry = first; entry != last;) {
        if (--entry->second.callsLeft == 0) {
            fails = true;
            *result = entry->second.result;
            entry = g_state.plannedCalls.erase(entry);
        } else {
            ++entry;
        }
    }
    return fails;
}

bool CreationFails()
{
    std::lock_guard<std::mutex> hold(g_lock);
    ++g_state.creationsCounted;
    return g_state.failCreationsFrom != 0 && g_state.creationsCounted >= g_state.failCreationsFrom;
}

bool DriverTypeLevel(D3D_DRIVER_TYPE type, D3D_FEATURE_LEVEL* level)
{
    std::lock_guard<std::mutex> hold(g_lock);
    auto found = g_state.driverTypes.find(type);
    if (found == g_state.driverTypes.end()) return false;
    *level = found->second;
    return true;
}

bool RuntimeKnowsLevel11_1()
{
    std::lock_guard<std::mutex> hold(g_lock);
    return g_state.knowsLevel11_1;
}

bool Factory2Present()
{
    std::lock_guard<std::mutex> hold(g_lock);
    return g_state.factory2;
}

bool Device1Present()
{
    std::lock_guard<std::mutex> hold(g_lock);
    return g_state.device1;
}

bool FormatSupportAnswer(DXGI_FORMAT format, UINT* support)
{
    std::lock_guard<std::mutex> hold(g_lock);
    auto found = g_state.formatSupport.find(format);
    if (found == g_state.formatSupport.end()) return false;
    *support = found->second;
    return true;
}

bool FeatureAnswer(D3D11_FEATURE feature, HRESULT* result, std::vector<uint8_t>* data)
{
    std::lock_guard<std::mutex> hold(g_lock);
    auto found = g_state.features.find(feature);
    if (found == g_state.features.end()) return false;
    *result = found->second.result;
    *data = found->second.data;
    return true;
}

bool OutputsAnswer(std::vector<OutputHook>* outputs)
{
    std::lock_guard<std::mutex> hold(g_lock);
    if (!g_state.outputs) return false;
    *outputs = *g_state.outputs;
    return true;
}

HRESULT AdapterResult()
{
    std::lock_guard<std::mutex> hold(g_lock);
    return g_state.adapterResult;
}

bool EnumOutputsFailure(UINT index, HRESULT* result)
{
    std::lock_guard<std::mutex> hold(g_lock);
    auto found = g_state.enumOutputsFailures.find(index);
    if (found == g_state.enumOutputsFailures.end()) return false;
    *result = found->second;
    return true;
}

bool ClosestModeAnswer(HRESULT* result, DXGI_MODE_DESC* mode)
{
    std::lock_guard<std::mutex> hold(g_lock);
    if (!g_state.closestMode) return false;
    *result = g_state.closestMode->first;
    *mode = g_state.closestMode->second;
    return true;
}

HRESULT FullscreenResult()
{
    std::lock_guard<std::mutex> hold(g_lock);
    return g_state.fullscreenResult;
}

void NoteSwapChain(HWND window, IDXGISwapChain* swapChain)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_swapChains.emplace_back(window, swapChain);
}

void ForgetSwapChain(IDXGISwapChain* swapChain)
{
    std::lock_guard<std::mutex> hold(g_lock);
    std::erase_if(g_swapChains, [swapChain](const auto& entry) { return entry.second == swapChain; });
}

IDXGISwapChain* SwapChainOfWindow(HWND window)
{
    std::lock_guard<std::mutex> hold(g_lock);
    for (auto entry = g_swapChains.rbegin(); entry != g_swapChains.rend(); ++entry) {
        if (entry->first == window) return entry->second;
    }
    return nullptr;
}

void LogMessage(const std::string& line)
{
    OutputDebugStringA((line + "\n").c_str());
    std::lock_guard<std::mutex> hold(g_lock);
    // A program that repeats a mistake every frame must not grow the list without end.
    if (g_state.messages.size() < kKeptMessages) g_state.messages.push_back(line);
}

}  // namespace halvo::d3d11::hooks

using namespace halvo::d3d11::hooks;

extern "C" {

void HalvoD3D11_ResetHooks(void)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_state = HookState{};
}

void HalvoD3D11_FailCall(const char* entryPoint, UINT n, HRESULT result)
{
    if (entryPoint == nullptr || n == 0) return;
    std::lock_guard<std::mutex> hold(g_lock);
    g_state.plannedCalls.emplace(entryPoint, PlannedCall{n, result});
}

void HalvoD3D11_FailCreationsFrom(UINT n)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_state.failCreationsFrom = n == 0 ? 0 : g_state.creationsCounted + n;
}

UINT HalvoD3D11_CreationCount(void)
{
    std::lock_guard<std::mutex> hold(g_lock);
    return g_state.creationsCounted;
}

void HalvoD3D11_SetDriverType(D3D_DRIVER_TYPE type, D3D_FEATURE_LEVEL highestLevel)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_state.driverTypes[type] = highestLevel;
}

void HalvoD3D11_SetRuntimeKnowsLevel11_1(BOOL known)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_state.knowsLevel11_1 = known != FALSE;
}

void HalvoD3D11_SetInterfacesPresent(BOOL factory2, BOOL device1)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_state.factory2 = factory2 != FALSE;
    g_state.device1 = device1 != FALSE;
}

void HalvoD3D11_SetFormatSupport(DXGI_FORMAT format, UINT support)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_state.formatSupport[format] = support;
}

void HalvoD3D11_SetFeatureAnswer(D3D11_FEATURE feature, HRESULT result, const void* data, UINT size)
{
    std::lock_guard<std::mutex> hold(g_lock);
    FeatureHook& hook = g_state.features[feature];
    hook.result = result;
    const auto* bytes = static_cast<const uint8_t*>(data);
    hook.data.assign(bytes, bytes == nullptr ? bytes : bytes + size);
}

void HalvoD3D11_SetOutputs(const HALVO_D3D11_OUTPUT* outputs, UINT count)
{
    std::vector<OutputHook> copies;
    for (UINT index = 0; outputs != nullptr && index < count; ++index) {
        const HALVO_D3D11_OUTPUT& output = outputs[index];
        OutputHook copy;
        copy.name = output.name == nullptr ? L"" : output.name;
        copy.desktop = output.desktop;
        copy.attached = output.attached != FALSE;
        copy.getDescFails = output.getDescFails != FALSE;
        if (output.modes != nullptr) copy.modes.assign(output.modes, output.modes + output.modeCount);
        copy.modesAddedAfterCount = output.modesAddedAfterCount;
        copies.push_back(copy);
    }
    std::lock_guard<std::mutex> hold(g_lock);
    g_state.outputs = copies;
}

void HalvoD3D11_SetAdapterResult(HRESULT result)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_state.adapterResult = result;
}

void HalvoD3D11_FailEnumOutputsAt(UINT k, HRESULT result)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_state.enumOutputsFailures[k] = result;
}

void HalvoD3D11_SetClosestMode(HRESULT result, const DXGI_MODE_DESC* mode)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_state.closestMode = std::make_pair(result, mode != nullptr ? *mode : DXGI_MODE_DESC{});
}

void HalvoD3D11_SetFullscreenResult(HRESULT result)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_state.fullscreenResult = result;
}

UINT HalvoD3D11_MessageCount(void)
{
    std::lock_guard<std::mutex> hold(g_lock);
    return UINT(g_state.messages.size());
}

const char* HalvoD3D11_Message(UINT index)
{
    std::lock_guard<std::mutex> hold(g_lock);
    return index < g_state.messages.size() ? g_state.messages[index].c_str() : nullptr;
}

}  // extern "C"
