#pragma once

#include <cstdint>

// Renderer error categories (code >> 16) and their names.
struct ErrorCategoryRow {
    uint32_t category;
    const char* name;
};
constexpr ErrorCategoryRow kErrorCategories[] = {
    {0, "No category"},
    {1, "D3D11 Renderer"},
    {3, "D3D11/12 DXGI"},
};
static_assert(sizeof(kErrorCategories) / sizeof(kErrorCategories[0]) == 3, "three known categories");

// Renderer error codes and their descriptions.
struct ErrorDescriptionRow {
    uint32_t code;
    const char* description;
};
constexpr ErrorDescriptionRow kErrorDescriptions[] = {
    {0x10000, "failed to create the D3D device"},
    {0x10003, "failed to create the SDR swap chain"},
    {0x10005, "failed to get the swap chain color buffer"},
    {0x10006, "failed to create the swap chain color render target view"},
    {0x10007, "failed to create the swap chain depth stencil buffer"},
    {0x10008, "failed to create the swap chain depth stencil render target view"},
    {0x1000a, "failed to create a rasterizer state"},
    {0x1000b, "failed to create a sampler state"},
    {0x1000c, "failed to create a depth stencil state"},
    {0x1000d, "failed to create a blend state"},
    {0x30000, "failed to enumerate adapters"},
    {0x30001, "failed to enumerate adapter outputs"},
    {0x30002, "failed to get output display modes"},
    {0x30003, "failed to get a DXGI factory"},
};
static_assert(sizeof(kErrorDescriptions) / sizeof(kErrorDescriptions[0]) == 14, "fourteen renderer error codes");

constexpr const char* kUnknownErrorCategory = "Unknown category";
constexpr const char* kUnknownErrorDescription = "unknown error";
constexpr const char* kPlatformErrorReportFormat = "%s error: %s (0x%08X)\n\nWindows error 0x%08X: %s%s";
constexpr const char* kErrorReportFormat = "%s error: %s (0x%08X)%s";
constexpr int kPlatformErrorExtraLimit = 4094;
