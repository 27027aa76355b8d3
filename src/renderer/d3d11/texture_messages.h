#pragma once

// Texts of the Direct3D 11 back end's textures, render targets and shader
// programs.
constexpr const char* kPackerNullBitmap =
    "BitmapPacker::BeginPacking got null bitmap pointer. This should never happen.";
constexpr const char* kPackerNoPixels =
    "BitmapPacker::BeginPacking bitmap '%s' has no pixels. This should never happen.";
constexpr const char* kPackerSizeOutsidePixels =
    "BitmapPacker::BeginPacking bitmap '%s' of %d x %d does not fit its pixels of %d x %d.";
constexpr const char* kPackerNoMemory = "BitmapTexturePacker unable to get target pixel memory.\n";

constexpr const char* kTextureCreateFailed = "D3D11 renderer failed to create texture '%s'.";
constexpr const char* kTextureOutOfMemory = "Out of memory (total %zu MB)";
constexpr const char* kTextureDeviceRemoved = "D3D11 renderer: device removed for reason '%d'";
constexpr const char* kTextureShaderViewFailed =
    "D3D11 renderer failed to create shader resource view for texture '%s' (result 0x%x).";

constexpr const char* kTargetViewFailed = "D3D11 renderer failed to create render target view '%s'";
constexpr const char* kTargetShaderViewFailed =
    "D3D11 renderer failed to create render target shader resource view '%s'.";
constexpr const char* kTargetDepthViewFailed = "D3D11 renderer failed to create depth stencil view '%s'.";
constexpr const char* kTargetNegativeSize = "CreateRenderTarget: render target '%s' has a negative size of %d x %d.";
constexpr const char* kTargetCubeDepth =
    "CreateRenderTarget: render target '%s' is a cube with a depth format; depth targets are two-dimensional.";
constexpr const char* kTargetFaceOutOfRange =
    "SetRenderTargets: cube face %d of render target '%s' is outside 0..5; the targets stay as they were.";
constexpr const char* kTargetsRefused =
    "SetRenderTargets: the device refused the render-target set of '%s' (targets of different sizes); the targets "
    "stay as they were.";
constexpr const char* kReadBackOutsideTarget =
    "ReadRenderTargetPixels: bitmap '%s' of %d x %d does not fit its render target of %u x %u.";

constexpr const char* kProgramVertexShaderFailed = "D3D11 renderer failed to create vertex shader '%s'.";
constexpr const char* kProgramInputLayoutFailed = "D3D11 renderer failed to create an input layout.";
constexpr const char* kProgramPixelShaderFailed = "D3D11 renderer failed to create pixel shader '%s'.";
constexpr const char* kProgramVertexConstantsFailed = "D3D11 renderer failed to create a vertex constant buffer.";
constexpr const char* kProgramPixelConstantsFailed = "D3D11 renderer failed to create a pixel constant buffer.";
