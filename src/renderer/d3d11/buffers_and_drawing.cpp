// Vertex and index buffers, the viewport, clears, the constant upload before
// each draw, and the draws.
#include "renderer/d3d11/buffers.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"

void RendImpDirect3D11::SetViewport(int32_t x, int32_t y, int32_t width, int32_t height, float minDepth, float maxDepth)
{
    if (m_context == nullptr) return;
    const D3D11_VIEWPORT viewport = {float(x), float(y), float(width), float(height), minDepth, maxDepth};
    m_context->RSSetViewports(1, &viewport);
}

void RendImpDirect3D11::Clear(float, float, float, float) {}

void RendImpDirect3D11::ClearDepth(float) {}

bool RendImpDirect3D11::PrepareDraw(RendererVertexBuffer*, RendererIndexBuffer*) { return false; }

void RendImpDirect3D11::UpdateConstantBuffer(const void*, uint32_t, ID3D11Buffer*) {}

void RendImpDirect3D11::DrawTriangles(RendererVertexBuffer*, int32_t, RendererIndexBuffer*, int32_t) {}

void RendImpDirect3D11::DrawLines(RendererVertexBuffer*, RendererIndexBuffer*, int32_t) {}

void RendImpDirect3D11::DrawTrianglesInstanced(RendererVertexBuffer*, int32_t, RendererIndexBuffer*, int32_t, int32_t)
{}

RendererVertexBuffer* RendImpDirect3D11::CreateVertexBuffer(uint32_t, int32_t, uint32_t) { return nullptr; }

void RendImpDirect3D11::ReleaseVertexBuffer(RendererVertexBuffer*) {}

void* RendImpDirect3D11::LockVertexBuffer(RendererVertexBuffer*) { return nullptr; }

void RendImpDirect3D11::UnlockVertexBuffer(RendererVertexBuffer*) {}

RendererIndexBuffer* RendImpDirect3D11::CreateIndexBuffer(int32_t, uint32_t) { return nullptr; }

void RendImpDirect3D11::ReleaseIndexBuffer(RendererIndexBuffer*) {}

void* RendImpDirect3D11::LockIndexBuffer(RendererIndexBuffer*) { return nullptr; }

void RendImpDirect3D11::UnlockIndexBuffer(RendererIndexBuffer*) {}
