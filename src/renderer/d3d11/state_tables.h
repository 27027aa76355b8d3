// The engine's render-state vocabulary as Direct3D 11 values: the blend
// modes, cull modes, sampler filters and address modes, and depth functions,
// with the index rules of the state-object tables built from them.
#pragma once

#include <d3d11.h>

#include <cstdint>

#include "graphics/render_states.h"

// One blend mode: its render-target entry, the same in both columns but
// for the write mask. Blending adds alpha as source alpha + destination,
// except in the opaque mode, which does not blend and writes source alpha.
struct BlendModeRow {
    D3D11_BLEND colourSource;
    D3D11_BLEND colourDestination;
    D3D11_BLEND_OP colourOperation;
    bool opaque;
    const char* failureText;  // "%i" the mode, "%s" the column ("false" or "true"); null: no state objects
};

// Failure descriptions of blend-state creation.
constexpr char kBlendTextColorWrite[] = "Blend = %i\nColor write = %s";
constexpr char kBlendTextColor[] = "Blend = %i\nColor = %s";

// One row per blend mode, in mode order: colour source, destination and operation, opaque, failure text.
constexpr BlendModeRow kBlendModeRows[] = {
    {D3D11_BLEND_ZERO, D3D11_BLEND_ZERO, D3D11_BLEND_OP_ADD, false, nullptr},  // 0 binds nothing
    {D3D11_BLEND_SRC_ALPHA, D3D11_BLEND_INV_SRC_ALPHA, D3D11_BLEND_OP_ADD, false, kBlendTextColorWrite},  // 1
    {D3D11_BLEND_SRC_ALPHA, D3D11_BLEND_ONE, D3D11_BLEND_OP_ADD, false, kBlendTextColorWrite},            // 2
    {D3D11_BLEND_ONE, D3D11_BLEND_ZERO, D3D11_BLEND_OP_ADD, true, kBlendTextColor},                       // 3
    {D3D11_BLEND_SRC_ALPHA, D3D11_BLEND_ONE, D3D11_BLEND_OP_REV_SUBTRACT, false, kBlendTextColor},        // 4
    {D3D11_BLEND_DEST_COLOR, D3D11_BLEND_ZERO, D3D11_BLEND_OP_ADD, false, kBlendTextColor},               // 5
    {D3D11_BLEND_DEST_COLOR, D3D11_BLEND_SRC_COLOR, D3D11_BLEND_OP_ADD, false, kBlendTextColor},          // 6
    {D3D11_BLEND_DEST_COLOR, D3D11_BLEND_ONE, D3D11_BLEND_OP_ADD, false, kBlendTextColor},                // 7
    {D3D11_BLEND_ONE, D3D11_BLEND_INV_SRC_ALPHA, D3D11_BLEND_OP_ADD, false, kBlendTextColor},             // 8
};
static_assert(sizeof(kBlendModeRows) / sizeof(kBlendModeRows[0]) == HV_BLEND_MODE_COUNT, "blend modes 0..8");

// The write mask of each blend-table column: [0] colour writes off, [1] on.
constexpr UINT8 kBlendWriteMasks[] = {
    0,
    D3D11_COLOR_WRITE_ENABLE_ALL,
};
constexpr int kBlendColumnCount = 2;
static_assert(sizeof(kBlendWriteMasks) == kBlendColumnCount);
// Render-target entries filled alike; the rest stay zero.
constexpr int kBlendTargetEntries = 4;

// Cull modes by engine code (render state 14): 0 none, 1 front, 2 back.
constexpr D3D11_CULL_MODE kCullModeValues[] = {
    D3D11_CULL_NONE,
    D3D11_CULL_FRONT,
    D3D11_CULL_BACK,
};
constexpr int32_t kCullModeCount = 3;
static_assert(sizeof(kCullModeValues) / sizeof(kCullModeValues[0]) == kCullModeCount);
// Rasterizer-table columns: [0] without the scissor test, [1] with it.
constexpr int kScissorColumnCount = 2;

// Filter and address codes run 1..3.
constexpr int32_t kFilterPoint = 1;
constexpr int32_t kFilterLinear = 2;
constexpr int32_t kFilterAnisotropic = 3;
constexpr int32_t kFilterCodeCount = 3;
constexpr int32_t kAddressCodeCount = 3;

// Filters of sampler groups 1..8, in group order: minification, magnification and mip each point or linear.
constexpr D3D11_FILTER kGroupFilters[] = {
    D3D11_FILTER_MIN_MAG_MIP_POINT,                // point, point, point
    D3D11_FILTER_MIN_MAG_POINT_MIP_LINEAR,         // point, point, linear
    D3D11_FILTER_MIN_POINT_MAG_LINEAR_MIP_POINT,   // point, linear, point
    D3D11_FILTER_MIN_POINT_MAG_MIP_LINEAR,         // point, linear, linear
    D3D11_FILTER_MIN_LINEAR_MAG_MIP_POINT,         // linear, point, point
    D3D11_FILTER_MIN_LINEAR_MAG_POINT_MIP_LINEAR,  // linear, point, linear
    D3D11_FILTER_MIN_MAG_LINEAR_MIP_POINT,         // linear, linear, point
    D3D11_FILTER_MIN_MAG_MIP_LINEAR,               // linear, linear, linear
};

// Address modes by engine code 1..3.
constexpr D3D11_TEXTURE_ADDRESS_MODE kAddressModes[] = {
    D3D11_TEXTURE_ADDRESS_CLAMP,   // 1
    D3D11_TEXTURE_ADDRESS_WRAP,    // 2
    D3D11_TEXTURE_ADDRESS_MIRROR,  // 3
};
static_assert(sizeof(kAddressModes) / sizeof(kAddressModes[0]) == kAddressCodeCount);

// Group 0 is anisotropic, groups 1..8 the point/linear triples; a group
// holds one sampler per address triple.
constexpr int kSamplerGroupCount = 9;
constexpr int kSamplerEntryCount = 27;
static_assert(sizeof(kGroupFilters) / sizeof(kGroupFilters[0]) == kSamplerGroupCount - 1);
constexpr UINT kAnisotropyAtLevel9_1 = 2;
constexpr UINT kAnisotropy = 8;

constexpr bool IsFilterCode(int32_t code) { return code >= 1 && code <= kFilterCodeCount; }
constexpr bool IsAddressCode(int32_t code) { return code >= 1 && code <= kAddressCodeCount; }

// The group of a filter triple (codes 1..3): 0 when any member is
// anisotropic, else 1 + 4 x (min - 1) + 2 x (mag - 1) + (mip - 1).
constexpr int SamplerGroup(int32_t minification, int32_t magnification, int32_t mip)
{
    if (minification == kFilterAnisotropic || magnification == kFilterAnisotropic || mip == kFilterAnisotropic) {
        return 0;
    }
    return 1 + 4 * (minification - 1) + 2 * (magnification - 1) + (mip - 1);
}

// The entry of an address triple (codes 1..3) within a group.
constexpr int SamplerEntry(int32_t u, int32_t v, int32_t w) { return 9 * (u - 1) + 3 * (v - 1) + (w - 1); }

static_assert(SamplerGroup(1, 1, 1) == 1 && SamplerGroup(2, 2, 2) == kSamplerGroupCount - 1);
static_assert(SamplerGroup(3, 1, 1) == 0 && SamplerGroup(1, 2, 3) == 0);
static_assert(SamplerEntry(1, 1, 1) == 0 && SamplerEntry(3, 3, 3) == kSamplerEntryCount - 1);

// Depth functions by engine code 0..7 (render state 11).
constexpr D3D11_COMPARISON_FUNC kDepthFunctions[] = {
    D3D11_COMPARISON_NEVER,          // 0
    D3D11_COMPARISON_LESS,           // 1
    D3D11_COMPARISON_EQUAL,          // 2
    D3D11_COMPARISON_LESS_EQUAL,     // 3
    D3D11_COMPARISON_GREATER,        // 4
    D3D11_COMPARISON_NOT_EQUAL,      // 5
    D3D11_COMPARISON_GREATER_EQUAL,  // 6
    D3D11_COMPARISON_ALWAYS,         // 7
};
constexpr int32_t kDepthFunctionCount = 8;
static_assert(sizeof(kDepthFunctions) / sizeof(kDepthFunctions[0]) == kDepthFunctionCount);

// Any other code compares less.
constexpr D3D11_COMPARISON_FUNC DepthFunction(int32_t code)
{
    return code >= 0 && code < kDepthFunctionCount ? kDepthFunctions[code] : D3D11_COMPARISON_LESS;
}
static_assert(DepthFunction(0) == D3D11_COMPARISON_NEVER && DepthFunction(7) == D3D11_COMPARISON_ALWAYS);
static_assert(DepthFunction(8) == D3D11_COMPARISON_LESS && DepthFunction(-1) == D3D11_COMPARISON_LESS);
