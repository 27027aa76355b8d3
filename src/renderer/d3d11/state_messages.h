#pragma once

// Message texts of the state objects, buffers and draws.

// Extra texts of state-object failures (blend states: state_tables.h).
constexpr const char* kRasterizerFailureText = "CullMode = %i\nScissorEnable = %i";
constexpr const char* kSamplerFailureText = "Filter = %i\nAddressU/V/W = %i/%i/%i\nMaxAnisotropy = %u";
constexpr const char* kDepthStateFailureText = "DepthFunc = %i";

// Popups at ERROR.
constexpr const char* kConstantBufferLockFailedText = "D3D11 Failed to lock constant buffer.";
constexpr const char* kVertexBufferCreateFailedText = "D3D11 renderer failed to create a vertex buffer.";
constexpr const char* kIndexBufferCreateFailedText = "D3D11 renderer failed to create an index buffer.";
constexpr const char* kVertexBufferLockFailedText = "D3D11 renderer failed to lock a vertex buffer.";
constexpr const char* kIndexBufferLockFailedText = "D3D11 renderer failed to lock an index buffer.";

// Misuse, logged at ERROR with the operation's name; nothing changes.
constexpr const char* kNoDeviceText = "%s: the renderer has no device.";
constexpr const char* kBlendModeRangeText = "%s: blend mode %i is not 0..8.";
constexpr const char* kCullModeRangeText = "%s: cull mode %i is not 0..2.";
constexpr const char* kTextureUnitRangeText = "%s: texture unit %i is not 0..7.";
constexpr const char* kFilterCodeRangeText = "%s: filter codes %i, %i, %i are not all 1..3.";
constexpr const char* kAddressCodeRangeText = "%s: address codes %i, %i, %i are not all 1..3.";
constexpr const char* kNoProgramText = "%s: no shader program is bound.";
constexpr const char* kNoDeviceBufferText = "%s: the %s buffer has no device buffer.";
constexpr const char* kBufferLockedText = "%s: the %s buffer is locked.";
constexpr const char* kBufferNotLockedText = "%s: the %s buffer is not locked.";
constexpr const char* kCountRangeText = "%s: %s count %lld is outside 0..%lld.";
