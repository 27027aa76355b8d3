// A failing pixel comparison leaves both images beside the test's output:
// PNG files whose pixels, read again, are the ones compared.
#include <gtest/gtest-spi.h>

#include <filesystem>

#include "support/png_reader.h"
#include "winapi/d3d11/d3d11_test_support.h"

namespace {

using PixelComparison = D3D11Test;

TEST_F(PixelComparison, AMismatchWritesBothImagesAndNamesThem)
{
    const FLOAT red[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    Ref<ID3D11Texture2D> texture = MakeTexture(3, 2, DXGI_FORMAT_B8G8R8A8_UNORM, D3D11_BIND_RENDER_TARGET);
    context_->ClearRenderTargetView(TargetView(texture.get()).get(), red);
    const Pixels actual = ReadBack(texture.get());
    std::vector<uint32_t> expected(6, Rgba(0, 0, 255, 255));
    expected[4] = Rgba(0, 255, 0, 255);
    const std::filesystem::path folder = std::filesystem::current_path() / "pixel-failures";
    std::filesystem::remove(folder / "SelfCheck-expected.png");
    std::filesystem::remove(folder / "SelfCheck-actual.png");
    EXPECT_NONFATAL_FAILURE(ExpectPixels("SelfCheck", actual, expected, true), "pixel (1, 1)");

    uint32_t width = 0;
    uint32_t height = 0;
    const std::vector<uint8_t> written = ReadRgbaPng(folder / "SelfCheck-actual.png", &width, &height);
    EXPECT_EQ(width, 3u);
    EXPECT_EQ(height, 2u);
    ASSERT_EQ(written.size(), 24u);
    EXPECT_EQ(written[0], 255) << "stored B, G, R, A; written R, G, B, A";
    EXPECT_EQ(written[2], 0);
    const std::vector<uint8_t> wanted = ReadRgbaPng(folder / "SelfCheck-expected.png", &width, &height);
    ASSERT_EQ(wanted.size(), 24u);
    EXPECT_EQ(wanted[4 * 4 + 1], 255) << "the green pixel the comparison wanted";
    std::filesystem::remove(folder / "SelfCheck-expected.png");
    std::filesystem::remove(folder / "SelfCheck-actual.png");
}

}  // namespace
