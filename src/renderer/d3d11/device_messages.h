#pragma once

// Message texts of the device, the swap chain and presentation.

#include <cstdint>

// Renderer error codes (category in the high 16 bits; texts in core's error table).
constexpr uint32_t kErrorCreateDevice = 0x10000;
constexpr uint32_t kErrorCreateSwapChain = 0x10003;
constexpr uint32_t kErrorGetSwapChainBuffer = 0x10005;
constexpr uint32_t kErrorCreateBackBufferView = 0x10006;
constexpr uint32_t kErrorCreateDepthBuffer = 0x10007;
constexpr uint32_t kErrorCreateDepthView = 0x10008;
constexpr uint32_t kErrorCreateRasterizerState = 0x1000a;
constexpr uint32_t kErrorCreateSamplerState = 0x1000b;
constexpr uint32_t kErrorCreateDepthStencilState = 0x1000c;
constexpr uint32_t kErrorCreateBlendState = 0x1000d;
constexpr uint32_t kErrorEnumerateAdapters = 0x30000;
constexpr uint32_t kErrorEnumerateOutputs = 0x30001;
constexpr uint32_t kErrorGetDisplayModes = 0x30002;
constexpr uint32_t kErrorGetFactory = 0x30003;

// Extra texts of the factory failures.
constexpr const char* kFactoryCreateText = "Create";
constexpr const char* kFactoryFromAdapterText = "Get from adapter";
// Extra text of a swap-chain failure: "!=" with IDXGIFactory2, "==" without.
constexpr const char* kSwapChainFactoryText = "dxgi_factory2 %s nullptr";
constexpr const char* kFactory2Present = "!=";
constexpr const char* kFactory2Absent = "==";

// Device creation: driver type name and feature-level name.
constexpr const char* kDeviceCreatedText = "D3D11 renderer created a %s device of feature level %s";
constexpr const char* kHardwareDriverName = "hardware";
constexpr const char* kWarpDriverName = "WARP";

constexpr const char* kBackBufferViewCreatedText =
    "D3D11 renderer created color render target view with dimensions %i x %i";

constexpr const char* kPresentFailedText = "D3D11 renderer failed to present a frame.";
constexpr const char* kPresentDeviceRemovedText = "D3D11 renderer: the device has been removed: 0x%x.";
constexpr const char* kPresentDeviceResetText = "D3D11 renderer: the device has been reset.";

// The device-removed reason appended to an error report.
constexpr const char* kRemovedReasonOpening = "\n\nDevice was removed due to '";
constexpr const char* kRemovedReasonUnknown = "unknown reason";
constexpr const char* kRemovedReasonClosing = "' (0x%08X).";
// An error report without extra text.
constexpr const char* kDirectErrorFormat = "%s error: %s (0x%08X, platform error %i)%s.";

// Misuse: a display index that names no output.
constexpr const char* kNoSuchDisplayText = "%s: there is no display %i.";
// Misuse: Initialize without the engine state or its program block.
constexpr const char* kNoEngineStateText = "Initialize: no engine state with a program block.";
