// Direct3D 11.1: the second device interface with its rasterizer and blend
// states that carry the 11.1 fields.
#pragma once

#include <d3d11.h>
#include <dxgi1_2.h>

typedef struct D3D11_RASTERIZER_DESC1 {
    D3D11_FILL_MODE FillMode;
    D3D11_CULL_MODE CullMode;
    BOOL FrontCounterClockwise;
    INT DepthBias;
    FLOAT DepthBiasClamp;
    FLOAT SlopeScaledDepthBias;
    BOOL DepthClipEnable;
    BOOL ScissorEnable;
    BOOL MultisampleEnable;
    BOOL AntialiasedLineEnable;
    UINT ForcedSampleCount;
} D3D11_RASTERIZER_DESC1;

typedef enum D3D11_LOGIC_OP {
    D3D11_LOGIC_OP_CLEAR = 0,
    D3D11_LOGIC_OP_SET = 1,
    D3D11_LOGIC_OP_COPY = 2,
    D3D11_LOGIC_OP_COPY_INVERTED = 3,
    D3D11_LOGIC_OP_NOOP = 4
} D3D11_LOGIC_OP;

typedef struct D3D11_RENDER_TARGET_BLEND_DESC1 {
    BOOL BlendEnable;
    BOOL LogicOpEnable;
    D3D11_BLEND SrcBlend;
    D3D11_BLEND DestBlend;
    D3D11_BLEND_OP BlendOp;
    D3D11_BLEND SrcBlendAlpha;
    D3D11_BLEND DestBlendAlpha;
    D3D11_BLEND_OP BlendOpAlpha;
    D3D11_LOGIC_OP LogicOp;
    UINT8 RenderTargetWriteMask;
} D3D11_RENDER_TARGET_BLEND_DESC1;

typedef struct D3D11_BLEND_DESC1 {
    BOOL AlphaToCoverageEnable;
    BOOL IndependentBlendEnable;
    D3D11_RENDER_TARGET_BLEND_DESC1 RenderTarget[8];
} D3D11_BLEND_DESC1;

DEFINE_GUID(IID_ID3D11RasterizerState1, 0x1217d7a6, 0x5039, 0x418c, 0xb0, 0x42, 0x9c, 0xbe, 0x25, 0x6a, 0xfd, 0x6e);
DEFINE_GUID(IID_ID3D11BlendState1, 0xcc86fabe, 0xda55, 0x401d, 0x85, 0xe7, 0xe3, 0xc9, 0xde, 0x28, 0x77, 0xe9);
DEFINE_GUID(IID_ID3D11Device1, 0xa04bfb29, 0x08ef, 0x43d6, 0xa4, 0x9c, 0xa9, 0xbd, 0xbd, 0xcb, 0xe6, 0x86);

struct ID3D11RasterizerState1 : public ID3D11RasterizerState {
    STDMETHOD_(void, GetDesc1)(D3D11_RASTERIZER_DESC1* pDesc) PURE;
};

struct ID3D11BlendState1 : public ID3D11BlendState {
    STDMETHOD_(void, GetDesc1)(D3D11_BLEND_DESC1* pDesc) PURE;
};

struct ID3D11Device1 : public ID3D11Device {
    STDMETHOD(CreateBlendState1)(const D3D11_BLEND_DESC1* pBlendStateDesc, ID3D11BlendState1** ppBlendState) PURE;
    STDMETHOD(CreateRasterizerState1)
    (const D3D11_RASTERIZER_DESC1* pRasterizerDesc, ID3D11RasterizerState1** ppRasterizerState) PURE;
};

DECLARE_UUIDOF(ID3D11RasterizerState1, IID_ID3D11RasterizerState1);
DECLARE_UUIDOF(ID3D11BlendState1, IID_ID3D11BlendState1);
DECLARE_UUIDOF(ID3D11Device1, IID_ID3D11Device1);
