// The state tables made once by Initialize (blend, rasterizer, sampler), the
// depth-stencil state rebuilt when its inputs change, and the calls that
// select them.
#include <algorithm>
#include <cstdint>

#include "core/logging.h"
#include "foundation/string.h"
#include "graphics/render_states.h"
#include "renderer/d3d11/com_reference.h"
#include "renderer/d3d11/device_messages.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"
#include "renderer/d3d11/state_messages.h"
#include "renderer/d3d11/state_tables.h"

namespace {

D3D11_BLEND_DESC BlendDescription(const BlendModeRow& row, UINT8 writeMask)
{
    D3D11_BLEND_DESC desc{};
    desc.AlphaToCoverageEnable = FALSE;
    desc.IndependentBlendEnable = FALSE;
    for (int target = 0; target < kBlendTargetEntries; ++target) {
        D3D11_RENDER_TARGET_BLEND_DESC& entry = desc.RenderTarget[target];
        entry.BlendEnable = row.opaque ? FALSE : TRUE;
        entry.SrcBlend = row.colourSource;
        entry.DestBlend = row.colourDestination;
        entry.BlendOp = row.colourOperation;
        entry.SrcBlendAlpha = row.opaque ? D3D11_BLEND_ONE : D3D11_BLEND_SRC_ALPHA;
        entry.DestBlendAlpha = row.opaque ? D3D11_BLEND_ZERO : D3D11_BLEND_ONE;
        entry.BlendOpAlpha = D3D11_BLEND_OP_ADD;
        entry.RenderTargetWriteMask = writeMask;
    }
    return desc;
}

D3D11_RASTERIZER_DESC RasterizerDescription(int cull, int scissor)
{
    D3D11_RASTERIZER_DESC desc{};
    desc.FillMode = D3D11_FILL_SOLID;
    desc.CullMode = kCullModeValues[cull];
    desc.FrontCounterClockwise = FALSE;
    desc.DepthClipEnable = TRUE;
    desc.ScissorEnable = scissor != 0 ? TRUE : FALSE;
    return desc;
}

}  // namespace

bool RendImpDirect3D11::CreateBlendStates()
{
    // Column by column: every mode without colour writes, then every mode with them.
    for (int column = 0; column < kBlendColumnCount; ++column) {
        for (int mode = 0; mode < HV_BLEND_MODE_COUNT; ++mode) {
            const BlendModeRow& row = kBlendModeRows[mode];
            if (row.failureText == nullptr) continue;
            const D3D11_BLEND_DESC desc = BlendDescription(row, kBlendWriteMasks[column]);
            const HRESULT result = m_device->CreateBlendState(&desc, &m_blendStates[mode][column]);
            if (FAILED(result)) {
                ReportError(kErrorCreateBlendState, result,
                            String::Formatted(row.failureText, mode, column != 0 ? "true" : "false").GetText());
                return false;
            }
        }
    }
    return true;
}

bool RendImpDirect3D11::CreateRasterizerState()
{
    for (int scissor = 0; scissor < kScissorColumnCount; ++scissor) {
        for (int cull = 0; cull < kCullModeCount; ++cull) {
            const D3D11_RASTERIZER_DESC desc = RasterizerDescription(cull, scissor);
            ID3D11RasterizerState*& state = m_rasterizerStates[cull][scissor];
            HRESULT result;
            if (m_device1 != nullptr) {
                const D3D11_RASTERIZER_DESC1 desc1{desc.FillMode,
                                                   desc.CullMode,
                                                   desc.FrontCounterClockwise,
                                                   desc.DepthBias,
                                                   desc.DepthBiasClamp,
                                                   desc.SlopeScaledDepthBias,
                                                   desc.DepthClipEnable,
                                                   desc.ScissorEnable,
                                                   desc.MultisampleEnable,
                                                   desc.AntialiasedLineEnable,
                                                   0};
                ID3D11RasterizerState1* state1 = nullptr;
                result = m_device1->CreateRasterizerState1(&desc1, &state1);
                if (SUCCEEDED(result)) {
                    // The table keeps the plain interface only.
                    result = state1->QueryInterface(__uuidof(ID3D11RasterizerState), reinterpret_cast<void**>(&state));
                    state1->Release();
                }
            } else {
                result = m_device->CreateRasterizerState(&desc, &state);
            }
            if (FAILED(result)) {
                ReportError(kErrorCreateRasterizerState, result,
                            String::Formatted(kRasterizerFailureText, int(desc.CullMode), scissor).GetText());
                return false;
            }
        }
    }
    return true;
}

bool RendImpDirect3D11::CreateSamplerStates()
{
    D3D11_SAMPLER_DESC desc{};
    desc.MipLODBias = 0.0f;
    desc.ComparisonFunc = D3D11_COMPARISON_NEVER;
    desc.MinLOD = 0.0f;
    desc.MaxLOD = D3D11_FLOAT32_MAX;
    // Groups 1..8 first, the anisotropic group 0 last.
    for (int step = 1; step <= kSamplerGroupCount; ++step) {
        const int group = step % kSamplerGroupCount;
        if (group != 0) {
            desc.Filter = kGroupFilters[group - 1];
            desc.MaxAnisotropy = 0;
        } else {
            desc.Filter = D3D11_FILTER_ANISOTROPIC;
            desc.MaxAnisotropy = m_featureLevel == D3D_FEATURE_LEVEL_9_1 ? kAnisotropyAtLevel9_1 : kAnisotropy;
        }
        for (int u = 1; u <= kAddressCodeCount; ++u) {
            for (int v = 1; v <= kAddressCodeCount; ++v) {
                for (int w = 1; w <= kAddressCodeCount; ++w) {
                    desc.AddressU = kAddressModes[u - 1];
                    desc.AddressV = kAddressModes[v - 1];
                    desc.AddressW = kAddressModes[w - 1];
                    const HRESULT result =
                        m_device->CreateSamplerState(&desc, &m_samplerStates[group][SamplerEntry(u, v, w)]);
                    if (FAILED(result)) {
                        ReportError(kErrorCreateSamplerState, result,
                                    String::Formatted(kSamplerFailureText, int(desc.Filter), int(desc.AddressU),
                                                      int(desc.AddressV), int(desc.AddressW), desc.MaxAnisotropy)
                                        .GetText());
                        return false;
                    }
                }
            }
        }
    }
    return true;
}

ID3D11SamplerState* RendImpDirect3D11::SelectSamplerState(const uint32_t filter[3], const uint32_t address[3]) const
{
    return m_samplerStates[SamplerGroup(int32_t(filter[0]), int32_t(filter[1]), int32_t(filter[2]))]
                          [SamplerEntry(int32_t(address[0]), int32_t(address[1]), int32_t(address[2]))];
}

bool RendImpDirect3D11::ApplyDepthState()
{
    m_depthStateStale = false;
    D3D11_DEPTH_STENCIL_DESC desc{};
    desc.DepthEnable = m_depthTest ? TRUE : FALSE;
    desc.DepthWriteMask = m_depthWrite ? D3D11_DEPTH_WRITE_MASK_ALL : D3D11_DEPTH_WRITE_MASK_ZERO;
    desc.DepthFunc = DepthFunction(m_depthFunction);
    desc.StencilEnable = FALSE;
    ID3D11DepthStencilState* state = nullptr;
    const HRESULT result = m_device->CreateDepthStencilState(&desc, &state);
    if (FAILED(result)) {
        ReportError(kErrorCreateDepthStencilState, result,
                    String::Formatted(kDepthStateFailureText, int(desc.DepthFunc)).GetText());
        return false;
    }
    ReleaseReference(m_depthStencilState);
    m_depthStencilState = state;
    m_context->OMSetDepthStencilState(state, 0);
    return true;
}

void RendImpDirect3D11::ResetTextureUnits()
{
    for (int unit = 0; unit < kRendererTextureUnits; ++unit) {
        for (int i = 0; i < 3; ++i) {
            m_unitFilters[unit][i] = 1;
            m_unitAddresses[unit][i] = 1;
        }
    }
}

void RendImpDirect3D11::ReleaseStateObjects()
{
    for (auto& column : m_blendStates) {
        for (ID3D11BlendState*& state : column) ReleaseReference(state);
    }
    ReleaseReference(m_depthStencilState);
    for (auto& group : m_samplerStates) {
        for (ID3D11SamplerState*& state : group) ReleaseReference(state);
    }
    for (auto& column : m_rasterizerStates) {
        for (ID3D11RasterizerState*& state : column) ReleaseReference(state);
    }
}

bool RendImpDirect3D11::HasContext(const char* operation) const
{
    if (m_context != nullptr) return true;
    HV_Log(HV_LOG_ERROR, kNoDeviceText, operation);
    return false;
}

int32_t RendImpDirect3D11::CurrentCullMode(const char* operation) const
{
    const int32_t mode = HV_Graphics_GetRenderStatei(HV_RENDER_STATE_CULL_MODE);
    if (mode >= 0 && mode < kCullModeCount) return mode;
    HV_Log(HV_LOG_ERROR, kCullModeRangeText, operation, mode);
    return -1;
}

bool RendImpDirect3D11::SetScissorRectangle(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (!HasContext("SetScissorRectangle")) return false;
    const int32_t cull = CurrentCullMode("SetScissorRectangle");
    if (cull < 0) return false;
    m_scissorOn = true;
    m_context->RSSetState(m_rasterizerStates[cull][1]);
    // The far edges in 64 bits: the sums may pass the 32-bit range.
    auto farEdge = [](int32_t start, int32_t size) {
        return LONG(std::clamp<int64_t>(int64_t(start) + size, INT32_MIN, INT32_MAX));
    };
    const D3D11_RECT rectangle{std::max(x, 0), std::max(y, 0), farEdge(x, width), farEdge(y, height)};
    m_context->RSSetScissorRects(1, &rectangle);
    return true;
}

void RendImpDirect3D11::DisableScissor()
{
    if (!HasContext("DisableScissor")) return;
    const int32_t cull = CurrentCullMode("DisableScissor");
    if (cull < 0) return;
    m_context->RSSetState(m_rasterizerStates[cull][0]);
    m_scissorOn = false;
}

void RendImpDirect3D11::SetBlendMode(int32_t mode)
{
    if (mode < 0 || mode >= HV_BLEND_MODE_COUNT) {
        HV_Log(HV_LOG_ERROR, kBlendModeRangeText, "SetBlendMode", mode);
        return;
    }
    // Mode 0 has no states, and before Initialize no mode has.
    ID3D11BlendState* state = m_blendStates[mode][m_colorWrite ? 1 : 0];
    if (state != nullptr) m_context->OMSetBlendState(state, nullptr, 0xffffffffu);
}

void RendImpDirect3D11::SetTextureFilter(int32_t unit, int32_t minification, int32_t magnification, int32_t mip)
{
    if (!IsTextureUnit("SetTextureFilter", unit)) return;
    if (!IsFilterCode(minification) || !IsFilterCode(magnification) || !IsFilterCode(mip)) {
        HV_Log(HV_LOG_ERROR, kFilterCodeRangeText, "SetTextureFilter", minification, magnification, mip);
        return;
    }
    if (!HasContext("SetTextureFilter")) return;
    const uint32_t filter[3] = {uint32_t(minification), uint32_t(magnification), uint32_t(mip)};
    BindSampler(unit, filter, m_unitAddresses[unit]);
    std::copy(filter, filter + 3, m_unitFilters[unit]);
}

void RendImpDirect3D11::SetTextureAddressMode(int32_t unit, int32_t u, int32_t v, int32_t w)
{
    if (!IsTextureUnit("SetTextureAddressMode", unit)) return;
    if (!IsAddressCode(u) || !IsAddressCode(v) || !IsAddressCode(w)) {
        HV_Log(HV_LOG_ERROR, kAddressCodeRangeText, "SetTextureAddressMode", u, v, w);
        return;
    }
    if (!HasContext("SetTextureAddressMode")) return;
    const uint32_t address[3] = {uint32_t(u), uint32_t(v), uint32_t(w)};
    BindSampler(unit, m_unitFilters[unit], address);
    std::copy(address, address + 3, m_unitAddresses[unit]);
}

bool RendImpDirect3D11::IsTextureUnit(const char* operation, int32_t unit) const
{
    if (unit >= 0 && unit < kRendererTextureUnits) return true;
    HV_Log(HV_LOG_ERROR, kTextureUnitRangeText, operation, unit);
    return false;
}

void RendImpDirect3D11::BindSampler(int32_t unit, const uint32_t filter[3], const uint32_t address[3])
{
    ID3D11SamplerState* state = SelectSamplerState(filter, address);
    m_context->PSSetSamplers(UINT(unit), 1, &state);
}

void RendImpDirect3D11::SetDepthTest(bool on)
{
    if (on == m_depthTest) return;
    m_depthTest = on;
    m_depthStateStale = true;
}

void RendImpDirect3D11::SetDepthFunction(int32_t code)
{
    m_depthFunction = code;
    m_depthStateStale = true;
}

void RendImpDirect3D11::SetDepthWrite(bool on)
{
    if (on == m_depthWrite) return;
    m_depthWrite = on;
    m_depthStateStale = true;
}

void RendImpDirect3D11::SetColorWrite(bool on)
{
    m_colorWrite = on;
    SetBlendMode(HV_Graphics_GetBlendMode());
}

void RendImpDirect3D11::SetCullMode(int32_t mode)
{
    if (mode < 0 || mode >= kCullModeCount) {
        HV_Log(HV_LOG_ERROR, kCullModeRangeText, "SetCullMode", mode);
        return;
    }
    ID3D11RasterizerState* state = m_rasterizerStates[mode][m_scissorOn ? 1 : 0];
    if (state != nullptr) m_context->RSSetState(state);
}
