#include "winapi/d3d11/frame_capture.h"

#include <png.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "winapi/d3d11/format_table.h"
#include "winapi/d3d11/frame_pixels.h"
#include "winapi/d3d11/hooks.h"

namespace halvo::d3d11 {

namespace {

constexpr const char kVariable[] = "HALVO_D3D11_OUTPUT";
constexpr const char kCapturePrefix[] = "capture:";

std::atomic<unsigned> capturingSwapChains{0};

// "<folder>" or "<folder>:<n>" with n a positive count.
void SplitCapture(const std::string& value, std::string* folder, unsigned* every)
{
    *folder = value;
    *every = 1;
    const size_t colon = value.rfind(':');
    if (colon == std::string::npos || colon + 1 == value.size()) return;
    const std::string count = value.substr(colon + 1);
    if (!std::all_of(count.begin(), count.end(), [](char c) { return c >= '0' && c <= '9'; })) return;
    const unsigned long parsed = std::strtoul(count.c_str(), nullptr, 10);
    if (parsed == 0 || parsed > 1000000) return;
    *folder = value.substr(0, colon);
    *every = unsigned(parsed);
}

}  // namespace

std::unique_ptr<FrameCapture> FrameCapture::FromEnvironment()
{
    const char* setting = std::getenv(kVariable);
    if (setting == nullptr || *setting == '\0') return nullptr;
    const std::string value = setting;
    const size_t prefix = sizeof kCapturePrefix - 1;
    if (value.compare(0, prefix, kCapturePrefix) != 0 || value.size() == prefix) {
        hooks::LogMessage(std::string("D3D11 WARNING: ") + kVariable + " names \"" + value +
                          "\", which is not an output here.");
        return nullptr;
    }
    std::string folder;
    unsigned every;
    SplitCapture(value.substr(prefix), &folder, &every);
    return std::make_unique<FrameCapture>(std::move(folder), every);
}

FrameCapture::FrameCapture(std::string folder, unsigned every)
    : folder_(std::move(folder)), every_(every), serial_(++capturingSwapChains)
{}

void FrameCapture::Present(Backend& backend, BackendResource& buffer, const ResourceShape& shape)
{
    const unsigned frame = ++presents_;
    if (stopped_ || (frame - 1) % every_ != 0) return;
    char name[64];
    std::snprintf(name, sizeof name, "swapchain-%u-frame-%06u.png", serial_, frame);
    const std::string path = (std::filesystem::path(folder_) / name).string();
    std::string failure;
    if (Write(backend, buffer, shape, path, &failure)) return;
    stopped_ = true;
    hooks::LogMessage("D3D11 WARNING: the frame capture cannot write \"" + path + "\" (" + failure +
                      "); this swap chain captures no more frames.");
}

bool FrameCapture::Write(Backend& backend, BackendResource& buffer, const ResourceShape& shape, const std::string& path,
                         std::string* failure)
{
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) {
        *failure = error.message();
        return false;
    }
    const FormatInfo* info = FindFormat(shape.format);
    ResourceShape staging = shape;
    staging.mipLevels = 1;
    staging.arraySize = 1;
    staging.usage = D3D11_USAGE_STAGING;
    staging.bindFlags = 0;
    staging.cpuAccessFlags = D3D11_CPU_ACCESS_READ;
    staging.miscFlags = 0;
    std::unique_ptr<BackendResource> copy = info == nullptr ? nullptr : backend.CreateResource(staging, nullptr);
    if (copy == nullptr) {
        *failure = "no staging copy of the buffer";
        return false;
    }
    copy->CopyRegion(0, 0, 0, buffer, 0, D3D11_BOX{0, 0, 0, shape.width, shape.height, 1});
    UINT rowPitch = 0;
    UINT depthPitch = 0;
    const auto* texels = static_cast<const uint8_t*>(copy->Map(0, D3D11_MAP_READ, &rowPitch, &depthPitch));
    if (texels == nullptr) {
        *failure = "the staging copy cannot be mapped";
        return false;
    }
    const std::vector<uint8_t> rgba = ToRgba(*info, texels, rowPitch, shape.width, shape.height);
    copy->Unmap(0);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = shape.width;
    image.height = shape.height;
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr)) {
        *failure = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace halvo::d3d11
