// A failing pixel comparison leaves both images beside the test's output:
// PNG files whose pixels, inflated again with zlib, are the ones compared.
#include <gtest/gtest-spi.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "winapi/d3d11/d3d11_test_support.h"

namespace {

uint32_t BigEndian(const std::vector<uint8_t>& bytes, size_t at)
{
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

// The RGBA pixels of a PNG written without filters, or nothing.
std::vector<uint8_t> ReadPng(const std::filesystem::path& path, uint32_t* width, uint32_t* height)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<uint8_t> packed;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const uint32_t length = BigEndian(bytes, at);
        const std::string type(bytes.begin() + at + 4, bytes.begin() + at + 8);
        if (type == "IHDR") {
            *width = BigEndian(bytes, at + 8);
            *height = BigEndian(bytes, at + 12);
        }
        if (type == "IDAT") packed.insert(packed.end(), bytes.begin() + at + 8, bytes.begin() + at + 8 + length);
        at += 12 + length;
    }
    std::vector<uint8_t> rows(size_t(*width * 4 + 1) * *height);
    uLongf size = uLongf(rows.size());
    if (uncompress(rows.data(), &size, packed.data(), uLong(packed.size())) != Z_OK) return {};
    std::vector<uint8_t> pixels;
    for (uint32_t y = 0; y < *height; ++y) {
        EXPECT_EQ(rows[y * (*width * 4 + 1)], 0) << "no filter";
        pixels.insert(pixels.end(), rows.begin() + y * (*width * 4 + 1) + 1, rows.begin() + (y + 1) * (*width * 4 + 1));
    }
    return pixels;
}

using PixelComparison = D3D11Test;

TEST_F(PixelComparison, AMismatchWritesBothImagesAndNamesThem)
{
    const FLOAT red[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    Ref<ID3D11Texture2D> texture = MakeTexture(3, 2, DXGI_FORMAT_B8G8R8A8_UNORM, D3D11_BIND_RENDER_TARGET);
    Ref<ID3D11RenderTargetView> view;
    ASSERT_EQ(device_->CreateRenderTargetView(texture.get(), nullptr, view.Put()), S_OK);
    context_->ClearRenderTargetView(view.get(), red);
    const Pixels actual = ReadBack(texture.get());
    std::vector<uint32_t> expected(6, Rgba(0, 0, 255, 255));
    expected[4] = Rgba(0, 255, 0, 255);
    const std::filesystem::path folder = std::filesystem::current_path() / "pixel-failures";
    std::filesystem::remove(folder / "SelfCheck-expected.png");
    std::filesystem::remove(folder / "SelfCheck-actual.png");
    EXPECT_NONFATAL_FAILURE(ExpectPixels("SelfCheck", actual, expected, true), "pixel (1, 1)");

    uint32_t width = 0;
    uint32_t height = 0;
    const std::vector<uint8_t> written = ReadPng(folder / "SelfCheck-actual.png", &width, &height);
    EXPECT_EQ(width, 3u);
    EXPECT_EQ(height, 2u);
    ASSERT_EQ(written.size(), 24u);
    EXPECT_EQ(written[0], 255) << "stored B, G, R, A; written R, G, B, A";
    EXPECT_EQ(written[2], 0);
    const std::vector<uint8_t> wanted = ReadPng(folder / "SelfCheck-expected.png", &width, &height);
    ASSERT_EQ(wanted.size(), 24u);
    EXPECT_EQ(wanted[4 * 4 + 1], 255) << "the green pixel the comparison wanted";
    std::filesystem::remove(folder / "SelfCheck-expected.png");
    std::filesystem::remove(folder / "SelfCheck-actual.png");
}

}  // namespace
