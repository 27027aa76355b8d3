// Render targets, the render-target set, texture binding with late mip
// generation, and read-back of a target's pixels.
#include "core/logging.h"
#include "imaging/image_loader.h"
#include "renderer/d3d11/read_back_texels.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"
#include "renderer/d3d11/texture_data.h"
#include "renderer/d3d11/texture_messages.h"
#include "renderer/d3d11/texture_rules.h"

namespace {

constexpr int kColorTargets = 4;

// Whether the output merger holds exactly these views.
bool AreBound(ID3D11DeviceContext* context, ID3D11RenderTargetView* const views[kColorTargets],
              ID3D11DepthStencilView* depthView)
{
    ID3D11RenderTargetView* bound[kColorTargets] = {};
    ID3D11DepthStencilView* boundDepth = nullptr;
    context->OMGetRenderTargets(kColorTargets, bound, &boundDepth);
    bool same = boundDepth == depthView;
    if (boundDepth != nullptr) boundDepth->Release();
    for (int i = 0; i < kColorTargets; ++i) {
        same = same && bound[i] == views[i];
        if (bound[i] != nullptr) bound[i]->Release();
    }
    return same;
}

}  // namespace

bool RendImpDirect3D11::CreateRenderTarget(HV_Bitmap* bitmap)
{
    if (m_device == nullptr || bitmap == nullptr) return false;
    // Checked before the sides are rounded up to powers of two as unsigned values.
    if (bitmap->width < 0 || bitmap->height < 0) {
        HV_Log(HV_LOG_ERROR, kTargetNegativeSize, bitmap->name.GetText(), bitmap->width, bitmap->height);
        return false;
    }
    const bool depth = IsDepthTextureFormat(bitmap->format);
    UINT width = UINT(bitmap->width);
    UINT height = UINT(bitmap->height);
    D3D11_TEXTURE2D_DESC desc{};
    desc.ArraySize = 1;
    if (bitmap->type == HV_TEXTURE_TYPE_2D) {
        if (bitmap->mips != 1 || !SupportsNonPowerOfTwoTextures()) {
            width = NextPowerOfTwo(width);
            height = NextPowerOfTwo(height);
        }
    } else if (bitmap->type == HV_TEXTURE_TYPE_CUBE) {
        if (depth) {
            HV_Log(HV_LOG_WARNING, kTargetCubeDepth, bitmap->name.GetText());
            return false;
        }
        desc.ArraySize = kCubeFaces;
        desc.MiscFlags = D3D11_RESOURCE_MISC_TEXTURECUBE;
    } else {
        return false;
    }
    desc.Width = width;
    desc.Height = height;
    // A depth target is never sampled, so it has one level (and the device
    // cannot make mips of a depth format).
    desc.MipLevels = depth ? 1 : MipLevelCount(int32_t(width), int32_t(height), bitmap->mips);
    desc.Format = ToDXGIFormat(bitmap->format);
    desc.SampleDesc.Count = 1;
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = depth ? D3D11_BIND_DEPTH_STENCIL : D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE;
    if (desc.MipLevels > 1) desc.MiscFlags |= D3D11_RESOURCE_MISC_GENERATE_MIPS;

    ID3D11Texture2D* texture = nullptr;
    if (FAILED(m_device->CreateTexture2D(&desc, nullptr, &texture))) return false;
    auto* data = new RendererTextureData;
    data->texture = texture;
    auto fail = [&](const char* text) {
        HV_Popup(HV_LOG_ERROR, text, bitmap->name.GetText());
        ReleaseTextureData(data);
        delete data;
        return false;
    };

    if (depth) {
        D3D11_DEPTH_STENCIL_VIEW_DESC view{};
        view.Format = desc.Format;
        view.ViewDimension = D3D11_DSV_DIMENSION_TEXTURE2D;
        if (FAILED(m_device->CreateDepthStencilView(texture, &view, &data->depthView))) {
            return fail(kTargetDepthViewFailed);
        }
    } else {
        for (UINT slice = 0; slice < desc.ArraySize; ++slice) {
            D3D11_RENDER_TARGET_VIEW_DESC view{};
            view.Format = desc.Format;
            if (bitmap->type == HV_TEXTURE_TYPE_2D) {
                view.ViewDimension = D3D11_RTV_DIMENSION_TEXTURE2D;
            } else {
                view.ViewDimension = D3D11_RTV_DIMENSION_TEXTURE2DARRAY;
                view.Texture2DArray.FirstArraySlice = slice;
                view.Texture2DArray.ArraySize = 1;
            }
            if (FAILED(m_device->CreateRenderTargetView(texture, &view, &data->targetViews[slice]))) {
                return fail(kTargetViewFailed);
            }
        }
        const D3D11_SHADER_RESOURCE_VIEW_DESC view =
            ShaderViewOfAllLevels(desc.Format, bitmap->type == HV_TEXTURE_TYPE_CUBE);
        if (FAILED(m_device->CreateShaderResourceView(texture, &view, &data->shaderView))) {
            return fail(kTargetShaderViewFailed);
        }
        data->mipsCurrent = desc.MipLevels == 1;
        data->generatesMips = desc.MipLevels > 1;
    }

    AttachTextureData(bitmap, data);
    bitmap->flags |= HV_BITMAP_RENDER_TARGET;
    bitmap->renderer.textureWidth = int32_t(width);
    bitmap->renderer.textureHeight = int32_t(height);
    bitmap->renderer.uv[0] = 0.0f;
    bitmap->renderer.uv[1] = 0.0f;
    bitmap->renderer.uv[2] = float(bitmap->width) / float(width);
    bitmap->renderer.uv[3] = float(bitmap->height) / float(height);
    return true;
}

bool RendImpDirect3D11::SetRenderTargets(const HV_RenderTargetSet& set)
{
    if (m_context == nullptr) return true;  // nothing to bind to
    for (int i = 0; i < kColorTargets; ++i) {
        const HV_Bitmap* bitmap = set.color[i];
        if (bitmap != nullptr && bitmap->type != HV_TEXTURE_TYPE_2D &&
            (set.faces[i] < 0 || set.faces[i] >= kCubeFaces)) {
            HV_Log(HV_LOG_ERROR, kTargetFaceOutOfRange, set.faces[i], bitmap->name.GetText());
            return false;
        }
    }
    ID3D11RenderTargetView* views[kColorTargets] = {};
    ID3D11DepthStencilView* depthView = nullptr;
    if (set.color[0] == nullptr) {
        // The set stands for the back buffer alone, with its own depth view.
        views[0] = m_backBufferView;
        depthView = m_depthView;
    } else {
        for (int i = 0; i < kColorTargets; ++i) {
            const HV_Bitmap* bitmap = set.color[i];
            RendererTextureData* data = bitmap != nullptr ? bitmap->renderer.texture : nullptr;
            if (data != nullptr) views[i] = data->targetViews[bitmap->type == HV_TEXTURE_TYPE_2D ? 0 : set.faces[i]];
        }
        if (set.depth != nullptr && set.depth->renderer.texture != nullptr) {
            depthView = set.depth->renderer.texture->depthView;
        }
    }
    m_context->OMSetRenderTargets(kColorTargets, views, depthView);
    // The device refuses a set whose targets differ in size and keeps what was
    // bound; the current views must stay those, which the context holds
    // references to, and not name views their bitmaps may release.
    if (!AreBound(m_context, views, depthView)) {
        HV_Log(HV_LOG_ERROR, kTargetsRefused, set.color[0] != nullptr ? set.color[0]->name.GetText() : "");
        return false;
    }
    for (int i = 0; i < kColorTargets; ++i) m_currentColorViews[i] = views[i];
    m_currentDepthView = depthView;
    // Drawing into a mip-mapped target makes its mips stale.
    for (int i = 0; set.color[0] != nullptr && i < kColorTargets; ++i) {
        RendererTextureData* data = set.color[i] != nullptr ? set.color[i]->renderer.texture : nullptr;
        if (data != nullptr && data->generatesMips) data->mipsCurrent = false;
    }
    return true;
}

void RendImpDirect3D11::BindTextures(RendererTextureData* const units[kRendererTextureUnits])
{
    if (m_context == nullptr) return;
    ID3D11ShaderResourceView* views[kRendererTextureUnits] = {};
    for (int unit = 0; unit < kRendererTextureUnits; ++unit) {
        RendererTextureData* data = units[unit];
        if (data == nullptr) continue;
        if (!data->mipsCurrent && data->shaderView != nullptr) {
            m_context->GenerateMips(data->shaderView);
            data->mipsCurrent = true;
        }
        views[unit] = data->shaderView;
    }
    m_context->PSSetShaderResources(0, kRendererTextureUnits, views);
}

bool RendImpDirect3D11::ReadRenderTargetPixels(HV_Bitmap* bitmap)
{
    if (m_device == nullptr || bitmap == nullptr || bitmap->renderer.texture == nullptr) return false;
    auto* target = static_cast<ID3D11Texture2D*>(bitmap->renderer.texture->texture);
    D3D11_TEXTURE2D_DESC desc{};
    target->GetDesc(&desc);
    // The pixel size, or the logical size for a target that has no pixels yet.
    const bool hasPixelSize = bitmap->pixelWidth > 0 && bitmap->pixelHeight > 0;
    const int32_t width = hasPixelSize ? bitmap->pixelWidth : bitmap->width;
    const int32_t height = hasPixelSize ? bitmap->pixelHeight : bitmap->height;
    if (width <= 0 || height <= 0 || UINT(width) > desc.Width || UINT(height) > desc.Height) {
        HV_Log(HV_LOG_ERROR, kReadBackOutsideTarget, bitmap->name.GetText(), width, height, desc.Width, desc.Height);
        return false;
    }
    desc.Usage = D3D11_USAGE_STAGING;
    desc.BindFlags = 0;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    desc.MiscFlags = 0;
    ID3D11Texture2D* staging = nullptr;
    if (FAILED(m_device->CreateTexture2D(&desc, nullptr, &staging))) return false;
    m_context->CopyResource(staging, target);
    D3D11_MAPPED_SUBRESOURCE mapped{};
    bool read = false;
    if (SUCCEEDED(m_context->Map(staging, 0, D3D11_MAP_READ, 0, &mapped))) {
        // The loader frees the old pixels only once it has the new ones.
        read = GetImageLoader().AllocateImagePixels(bitmap, width, height);
        for (int32_t row = 0; read && row < height; ++row) {
            ConvertTexelRow(desc.Format, static_cast<const uint8_t*>(mapped.pData) + size_t(row) * mapped.RowPitch,
                            bitmap->pixels + size_t(row) * size_t(width) * 4, width);
        }
        m_context->Unmap(staging, 0);
    }
    staging->Release();
    return read;
}
