#include "renderer/d3d11/texture_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "imaging/image_loader.h"
#include "renderer/d3d11/texture_data.h"
#include "winapi/d3d11/png_writer.h"

uint32_t RgbaImage::At(uint32_t x, uint32_t y) const
{
    uint32_t texel;
    std::memcpy(&texel, bytes.data() + (size_t(y) * width + x) * 4, 4);
    return texel;
}

void RgbaImage::Set(uint32_t x, uint32_t y, uint32_t texel)
{
    std::memcpy(bytes.data() + (size_t(y) * width + x) * 4, &texel, 4);
}

uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a) { return r | g << 8 | b << 16 | a << 24; }

RgbaImage Filled(uint32_t width, uint32_t height, uint32_t texel)
{
    RgbaImage image{width, height, std::vector<uint8_t>(size_t(width) * height * 4)};
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) image.Set(x, y, texel);
    }
    return image;
}

uint32_t PatternTexel(int x, int y)
{
    return uint32_t(x & 0xff) | uint32_t(y & 0xff) << 8 | uint32_t((x * 7 + y * 3) & 0xff) << 16 |
           uint32_t(255 - (x & 0xff)) << 24;
}

RgbaImage PatternImage(uint32_t width, uint32_t height, uint32_t firstRow)
{
    RgbaImage image = Filled(width, height, 0);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) image.Set(x, y, PatternTexel(int(x), int(firstRow + y)));
    }
    return image;
}

RgbaImage PixelsOf(const HV_Bitmap& bitmap)
{
    RgbaImage image{uint32_t(bitmap.pixelWidth), uint32_t(bitmap.pixelHeight), {}};
    image.bytes.assign(bitmap.pixels, bitmap.pixels + size_t(bitmap.pixelWidth) * bitmap.pixelHeight * 4);
    return image;
}

void FillWithPattern(HV_Bitmap& bitmap, const char* name, int32_t width, int32_t height)
{
    bitmap.name = name;
    EXPECT_TRUE(HVI_GetImageLoader()->AllocateImagePixels(&bitmap, width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t texel = PatternTexel(x, y);
            std::memcpy(bitmap.pixels + (size_t(y) * width + x) * 4, &texel, 4);
        }
    }
    bitmap.width = width;
    bitmap.height = height;
}

void TextureRendererTest::SetUp()
{
    RendererTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(Initialize());
}

void TextureRendererTest::TearDown()
{
    if (!IsSkipped() && expectedComplaints_.has_value()) {
        const std::vector<std::string> complaints = LayerComplaints();
        EXPECT_EQ(complaints.size(), *expectedComplaints_)
            << "the layer complained; the first: " << (complaints.empty() ? "" : complaints.front());
    }
    for (HV_Bitmap& bitmap : bitmaps_) {
        if (renderer_ != nullptr) renderer_->ReleaseTexture(bitmap.renderer);
        HVI_GetImageLoader()->FreeImagePixels(&bitmap);
    }
    RendererTest::TearDown();
}

HV_Bitmap& TextureRendererTest::MakeBitmap(const char* name, int32_t width, int32_t height, int32_t type, uint16_t mips)
{
    HV_Bitmap& bitmap = bitmaps_.emplace_back();
    FillWithPattern(bitmap, name, width, height);
    bitmap.type = type;
    bitmap.mips = mips;
    return bitmap;
}

HV_Bitmap& TextureRendererTest::MakeTarget(const char* name, int32_t width, int32_t height, int32_t format,
                                           int32_t type, uint16_t mips)
{
    HV_Bitmap& bitmap = bitmaps_.emplace_back();
    bitmap.name = name;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.format = format;
    bitmap.type = type;
    bitmap.mips = mips;
    return bitmap;
}

ID3D11Texture2D* TextureRendererTest::TextureOf(const HV_Bitmap& bitmap)
{
    if (bitmap.renderer.texture == nullptr) return nullptr;
    return static_cast<ID3D11Texture2D*>(bitmap.renderer.texture->texture);
}

ID3D11DeviceContext* TextureRendererTest::ContextOf(ID3D11Resource* resource)
{
    ID3D11Device* device = nullptr;
    resource->GetDevice(&device);
    ID3D11DeviceContext* context = nullptr;
    device->GetImmediateContext(&context);
    device->Release();
    return context;
}

RgbaImage TextureRendererTest::ReadSubresource(ID3D11Texture2D* texture, UINT subresource)
{
    RgbaImage image;
    D3D11_TEXTURE2D_DESC desc{};
    texture->GetDesc(&desc);
    const UINT mip = subresource % desc.MipLevels;
    image.width = std::max(desc.Width >> mip, 1u);
    image.height = std::max(desc.Height >> mip, 1u);
    image.bytes.resize(size_t(image.width) * image.height * 4);

    desc.Usage = D3D11_USAGE_STAGING;
    desc.BindFlags = 0;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    desc.MiscFlags = 0;
    ID3D11Device* device = nullptr;
    texture->GetDevice(&device);
    ID3D11Texture2D* staging = nullptr;
    EXPECT_EQ(device->CreateTexture2D(&desc, nullptr, &staging), S_OK);
    device->Release();
    if (staging == nullptr) return image;
    ID3D11DeviceContext* context = ContextOf(texture);
    context->CopyResource(staging, texture);
    D3D11_MAPPED_SUBRESOURCE mapped{};
    EXPECT_EQ(context->Map(staging, subresource, D3D11_MAP_READ, 0, &mapped), S_OK);
    if (mapped.pData != nullptr) {
        for (UINT row = 0; row < image.height; ++row) {
            std::memcpy(image.bytes.data() + size_t(row) * image.width * 4,
                        static_cast<const uint8_t*>(mapped.pData) + size_t(row) * mapped.RowPitch, image.width * 4);
        }
        context->Unmap(staging, subresource);
    }
    context->Release();
    staging->Release();
    if (desc.Format == DXGI_FORMAT_B8G8R8A8_UNORM || desc.Format == DXGI_FORMAT_B8G8R8X8_UNORM) {
        for (size_t at = 0; at < image.bytes.size(); at += 4) std::swap(image.bytes[at], image.bytes[at + 2]);
    }
    return image;
}

void TextureRendererTest::ExpectImage(const std::string& name, const RgbaImage& actual, const RgbaImage& expected,
                                      int tolerance)
{
    ASSERT_EQ(actual.width, expected.width) << name;
    ASSERT_EQ(actual.height, expected.height) << name;
    size_t first = actual.bytes.size();
    for (size_t at = 0; at < actual.bytes.size() && first == actual.bytes.size(); ++at) {
        if (std::abs(int(actual.bytes[at]) - int(expected.bytes[at])) > tolerance) first = at / 4 * 4;
    }
    if (first == actual.bytes.size()) return;
    const std::filesystem::path folder = std::filesystem::current_path() / "pixel-failures";
    std::filesystem::create_directories(folder);
    const std::string expectedPath = (folder / (name + "-expected.png")).string();
    const std::string actualPath = (folder / (name + "-actual.png")).string();
    WriteRgbaPng(expectedPath, expected.width, expected.height, expected.bytes);
    WriteRgbaPng(actualPath, actual.width, actual.height, actual.bytes);
    const uint32_t x = uint32_t(first / 4 % actual.width);
    const uint32_t y = uint32_t(first / 4 / actual.width);
    ADD_FAILURE() << name << ": pixel (" << x << ", " << y << ") is 0x" << std::hex << actual.At(x, y)
                  << ", expected 0x" << expected.At(x, y) << std::dec << "; see " << expectedPath << " and "
                  << actualPath;
}
