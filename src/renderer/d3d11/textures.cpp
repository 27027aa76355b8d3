// Textures from bitmaps (2D, padded by the bitmap packer, and cube maps), the
// format check, and texture release.
#include "core/engine_state.h"
#include "core/logging.h"
#include "imaging/image_loader.h"
#include "renderer/d3d11/bitmap_packer.h"
#include "renderer/d3d11/com_reference.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"
#include "renderer/d3d11/texture_data.h"
#include "renderer/d3d11/texture_messages.h"
#include "renderer/d3d11/texture_rules.h"

namespace {

// The bitmap gave nothing to upload, and the packer said why.
constexpr HRESULT kNothingToUpload = E_ABORT;

}  // namespace

ImageLoaderImp& RendImpDirect3D11::GetImageLoader() const
{
    if (m_engineState != nullptr && m_engineState->imageLoader != nullptr) return *m_engineState->imageLoader;
    return *HVI_GetImageLoader();
}

bool RendImpDirect3D11::CreateTexture(HV_Bitmap* bitmap)
{
    if (m_device == nullptr || bitmap == nullptr) return false;
    D3D11_TEXTURE2D_DESC desc{};
    desc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    desc.ArraySize = 1;
    desc.SampleDesc.Count = 1;
    desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
    if (bitmap->mips == 1) {
        desc.Usage = D3D11_USAGE_IMMUTABLE;
    } else {
        desc.Usage = D3D11_USAGE_DEFAULT;
        desc.BindFlags |= D3D11_BIND_RENDER_TARGET;
        desc.MiscFlags = D3D11_RESOURCE_MISC_GENERATE_MIPS;
    }

    ID3D11Texture2D* texture = nullptr;
    HRESULT result;
    if (bitmap->type == HV_TEXTURE_TYPE_2D) {
        result = CreateTexture2D(bitmap, desc, &texture);
    } else if (bitmap->type == HV_TEXTURE_TYPE_CUBE) {
        result = CreateTextureCube(bitmap, desc, &texture);
    } else {
        return false;
    }
    if (result == kNothingToUpload) return false;
    if (FAILED(result)) {
        HV_Popup(HV_LOG_ERROR, kTextureCreateFailed, bitmap->name.GetText());
        if (result == E_OUTOFMEMORY) HV_Log(HV_LOG_WARNING, kTextureOutOfMemory, size_t(0));
        if (result == DXGI_ERROR_DEVICE_REMOVED) {
            HV_Log(HV_LOG_ERROR, kTextureDeviceRemoved, int(m_device->GetDeviceRemovedReason()));
        }
        return false;
    }

    const D3D11_SHADER_RESOURCE_VIEW_DESC view =
        ShaderViewOfAllLevels(DXGI_FORMAT_R8G8B8A8_UNORM, bitmap->type == HV_TEXTURE_TYPE_CUBE);
    ID3D11ShaderResourceView* shaderView = nullptr;
    result = m_device->CreateShaderResourceView(texture, &view, &shaderView);
    if (FAILED(result)) {
        texture->Release();
        HV_Popup(HV_LOG_ERROR, kTextureShaderViewFailed, bitmap->name.GetText(), unsigned(result));
        return false;
    }
    if (desc.MipLevels > 1) m_context->GenerateMips(shaderView);

    auto* data = new RendererTextureData;
    data->texture = texture;
    data->shaderView = shaderView;
    data->mipsCurrent = true;
    data->generatesMips = desc.MipLevels > 1;
    AttachTextureData(bitmap, data);
    bitmap->flags &= ~HV_BITMAP_RENDER_TARGET;
    return true;
}

HRESULT RendImpDirect3D11::CreateTexture2D(HV_Bitmap* bitmap, D3D11_TEXTURE2D_DESC& desc, ID3D11Texture2D** texture)
{
    BitmapPacker packer(GetImageLoader());
    if (!packer.BeginPacking(bitmap, bitmap->mips == 1 && SupportsNonPowerOfTwoTextures())) return kNothingToUpload;
    desc.Width = UINT(packer.TargetWidth());
    desc.Height = UINT(packer.TargetHeight());
    desc.MipLevels = MipLevelCount(packer.TargetWidth(), packer.TargetHeight(), bitmap->mips);
    bitmap->renderer.textureWidth = packer.TargetWidth();
    bitmap->renderer.textureHeight = packer.TargetHeight();
    packer.GetUvRectangle(bitmap->renderer.uv);
    if (!packer.BitmapTexturePacker()) return kNothingToUpload;

    if (desc.MipLevels == 1) {
        const D3D11_SUBRESOURCE_DATA initial{packer.Pixels(), packer.RowPitch(), 0};
        return m_device->CreateTexture2D(&desc, &initial, texture);
    }
    // The other levels are made from level 0 on the device.
    const HRESULT result = m_device->CreateTexture2D(&desc, nullptr, texture);
    if (SUCCEEDED(result)) m_context->UpdateSubresource(*texture, 0, nullptr, packer.Pixels(), packer.RowPitch(), 0);
    return result;
}

// The bitmap holds the six faces from top to bottom.
HRESULT RendImpDirect3D11::CreateTextureCube(HV_Bitmap* bitmap, D3D11_TEXTURE2D_DESC& desc, ID3D11Texture2D** texture)
{
    int32_t width = 0;
    int32_t height = 0;
    if (!BitmapPacker::ImageSize(bitmap, width, height)) return kNothingToUpload;
    const int32_t faceHeight = height / kCubeFaces;
    desc.Width = UINT(width);
    desc.Height = UINT(faceHeight);
    desc.ArraySize = kCubeFaces;
    desc.MiscFlags |= D3D11_RESOURCE_MISC_TEXTURECUBE;
    desc.MipLevels = MipLevelCount(width, faceHeight, bitmap->mips);

    const UINT pitch = UINT(bitmap->pixelWidth) * 4;
    D3D11_SUBRESOURCE_DATA faces[kCubeFaces];
    for (int face = 0; face < kCubeFaces; ++face) {
        faces[face] = {bitmap->pixels + size_t(face) * size_t(faceHeight) * pitch, pitch, 0};
    }
    if (desc.MipLevels == 1) return m_device->CreateTexture2D(&desc, faces, texture);
    const HRESULT result = m_device->CreateTexture2D(&desc, nullptr, texture);
    if (SUCCEEDED(result)) {
        for (int face = 0; face < kCubeFaces; ++face) {
            m_context->UpdateSubresource(*texture, D3D11CalcSubresource(0, UINT(face), desc.MipLevels), nullptr,
                                         faces[face].pSysMem, pitch, 0);
        }
    }
    return result;
}

void RendImpDirect3D11::AttachTextureData(HV_Bitmap* bitmap, RendererTextureData* data)
{
    ReleaseTexture(bitmap->renderer);  // a texture the bitmap had before is replaced
    bitmap->renderer.texture = data;
    bitmap->renderer.loaded = true;
}

void RendImpDirect3D11::ReleaseTexture(HV_BitmapRendererBlock& block)
{
    if (block.texture == nullptr) return;
    ReleaseTextureData(block.texture);
    delete block.texture;
    block.texture = nullptr;
    block.loaded = false;
}

void RendImpDirect3D11::ReleaseTextureData(RendererTextureData* data)
{
    ReleaseReference(data->depthView);
    for (ID3D11RenderTargetView*& view : data->targetViews) ReleaseReference(view);
    ReleaseReference(data->shaderView);
    ReleaseReference(data->texture);
}

bool RendImpDirect3D11::IsTextureFormatSupported(const HV_TextureDescription& description)
{
    if (m_device == nullptr) return false;
    const bool depth = IsDepthTextureFormat(description.format);
    // Only what CreateRenderTarget makes: 2D targets, and cubes of colour.
    if (description.type != HV_TEXTURE_TYPE_2D && (description.type != HV_TEXTURE_TYPE_CUBE || depth)) return false;
    UINT support = 0;
    if (m_device->CheckFormatSupport(ToDXGIFormat(description.format), &support) != S_OK) return false;
    auto has = [support](UINT bits) { return (support & bits) == bits; };
    if (description.mips != 1 && !has(D3D11_FORMAT_SUPPORT_MIP)) return false;
    if (depth && !has(D3D11_FORMAT_SUPPORT_DEPTH_STENCIL)) return false;
    if (!depth && description.renderTarget != 0 && !has(D3D11_FORMAT_SUPPORT_RENDER_TARGET)) return false;
    if (!depth && !has(D3D11_FORMAT_SUPPORT_SHADER_SAMPLE)) return false;
    return has(description.type == HV_TEXTURE_TYPE_2D ? D3D11_FORMAT_SUPPORT_TEXTURE2D
                                                      : D3D11_FORMAT_SUPPORT_TEXTURECUBE);
}
