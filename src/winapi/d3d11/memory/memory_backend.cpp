#include "winapi/d3d11/memory/memory_backend.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "winapi/d3d11/display_outputs.h"
#include "winapi/d3d11/format_table.h"
#include "winapi/d3d11/frame_pixels.h"
#include "winapi/d3d11/memory/texel_codec.h"
#include "winapi/user/native_window.h"

namespace halvo::d3d11::memory {

namespace {

// The sizes of the virtual output's display modes, each at 60 Hz.
constexpr UINT kModeSizes[][2] = {{640, 480},   {800, 600},  {1024, 768}, {1280, 720},
                                  {1280, 1024}, {1600, 900}, {1920, 1080}};

class MemoryResource final : public BackendResource {
public:
    explicit MemoryResource(const ResourceShape& shape) : shape_(shape), format_(FindFormat(shape.format)) {}

    bool Allocate(const D3D11_SUBRESOURCE_DATA* initial)
    {
        try {
            subresources_.resize(shape_.SubresourceCount());
            for (UINT index = 0; index < shape_.SubresourceCount(); ++index) {
                Subresource& subresource = subresources_[index];
                const UINT mip = shape_.MipOf(index);
                if (format_ == nullptr) {
                    subresource.rowPitch = shape_.width;
                    subresource.rows = 1;
                } else {
                    subresource.rowPitch = UINT(RowBytes(*format_, shape_.WidthAt(mip)));
                    subresource.rows = BlockRows(*format_, shape_.HeightAt(mip));
                }
                subresource.bytes.assign(size_t(subresource.rowPitch) * subresource.rows, 0);
                if (initial != nullptr && initial[index].pSysMem != nullptr) {
                    const UINT sourcePitch = format_ == nullptr ? shape_.width : initial[index].SysMemPitch;
                    CopyRows(subresource.bytes.data(), subresource.rowPitch,
                             static_cast<const uint8_t*>(initial[index].pSysMem), sourcePitch, subresource.rowPitch,
                             subresource.rows);
                }
            }
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    void* Map(UINT subresource, D3D11_MAP /*type*/, UINT* rowPitch, UINT* depthPitch) override
    {
        Subresource& target = subresources_[subresource];
        *rowPitch = target.rowPitch;
        *depthPitch = UINT(target.bytes.size());
        return target.bytes.data();
    }

    void Unmap(UINT /*subresource*/) override {}

    void Write(UINT subresource, const D3D11_BOX& box, const void* data, UINT rowPitch) override
    {
        Subresource& target = subresources_[subresource];
        const BlockRegion region = RegionInBlocks(format_, box);
        CopyRows(target.bytes.data() + region.firstRow * size_t(target.rowPitch) + region.rowOffset, target.rowPitch,
                 static_cast<const uint8_t*>(data), rowPitch, region.rowBytes, region.rowCount);
    }

    void CopyRegion(UINT subresource, UINT x, UINT y, BackendResource& source, UINT sourceSubresource,
                    const D3D11_BOX& box) override
    {
        MemoryResource& from = static_cast<MemoryResource&>(source);
        const Subresource& input = from.subresources_[sourceSubresource];
        Subresource& output = subresources_[subresource];
        const BlockRegion region = RegionInBlocks(from.format_, box);
        D3D11_BOX destination{x, y, 0, x + 1, y + 1, 1};
        const BlockRegion at = RegionInBlocks(format_, destination);
        const uint8_t* first = input.bytes.data() + region.firstRow * size_t(input.rowPitch) + region.rowOffset;
        uint8_t* target = output.bytes.data() + at.firstRow * size_t(output.rowPitch) + at.rowOffset;
        if (&input == &output) {
            // An overlapping copy inside one subresource reads the rows before it writes them.
            std::vector<uint8_t> rows(size_t(region.rowBytes) * region.rowCount);
            CopyRows(rows.data(), region.rowBytes, first, input.rowPitch, region.rowBytes, region.rowCount);
            CopyRows(target, output.rowPitch, rows.data(), region.rowBytes, region.rowBytes, region.rowCount);
            return;
        }
        CopyRows(target, output.rowPitch, first, input.rowPitch, region.rowBytes, region.rowCount);
    }

    void ClearColor(const ViewRange& view, const FLOAT rgba[4]) override
    {
        Texel texel;
        for (int c = 0; c < 4; ++c) texel.values[c] = rgba[c];
        FillView(view, texel, 0xf);
    }

    void ClearDepthStencil(const ViewRange& view, UINT clearFlags, FLOAT depth, UINT8 stencil) override
    {
        Texel texel;
        texel.values[0] = depth;
        texel.values[1] = stencil;
        FillView(view, texel,
                 ((clearFlags & D3D11_CLEAR_DEPTH) ? 1u : 0u) | ((clearFlags & D3D11_CLEAR_STENCIL) ? 2u : 0u));
    }

    void GenerateMips(const ViewRange& view) override
    {
        const FormatInfo& info = *FindFormat(view.format);
        for (UINT slice = view.firstSlice; slice < view.firstSlice + view.sliceCount; ++slice) {
            for (UINT mip = view.firstMip + 1; mip < view.firstMip + view.mipCount; ++mip) {
                const Subresource& above = subresources_[slice * shape_.mipLevels + mip - 1];
                Subresource& level = subresources_[slice * shape_.mipLevels + mip];
                const UINT aboveWidth = shape_.WidthAt(mip - 1);
                const UINT aboveHeight = shape_.HeightAt(mip - 1);
                for (UINT y = 0; y < shape_.HeightAt(mip); ++y) {
                    for (UINT x = 0; x < shape_.WidthAt(mip); ++x) {
                        // The 2 x 2 texels above, clamped at an edge of one texel.
                        const UINT xs[2] = {std::min(2 * x, aboveWidth - 1), std::min(2 * x + 1, aboveWidth - 1)};
                        const UINT ys[2] = {std::min(2 * y, aboveHeight - 1), std::min(2 * y + 1, aboveHeight - 1)};
                        Texel sum;
                        for (double& value : sum.values) value = 0.0;
                        for (UINT sy : ys) {
                            for (UINT sx : xs) {
                                const Texel texel = DecodeTexel(info, above.bytes.data() + sy * size_t(above.rowPitch) +
                                                                          sx * size_t(info.bytesPerBlock));
                                for (int c = 0; c < 4; ++c) sum.values[c] += texel.values[c] / 4.0;
                            }
                        }
                        EncodeTexel(info, sum, 0xf,
                                    level.bytes.data() + y * size_t(level.rowPitch) + x * size_t(info.bytesPerBlock));
                    }
                }
            }
        }
    }

    const std::vector<uint8_t>& Bytes(UINT subresource) const { return subresources_[subresource].bytes; }

private:
    struct Subresource {
        std::vector<uint8_t> bytes;
        UINT rowPitch = 0;
        UINT rows = 0;
    };

    static void CopyRows(uint8_t* target, size_t targetPitch, const uint8_t* source, size_t sourcePitch,
                         size_t rowBytes, UINT rows)
    {
        for (UINT row = 0; row < rows; ++row) {
            std::memcpy(target + row * targetPitch, source + row * sourcePitch, rowBytes);
        }
    }

    // Writes the texel's components into every texel of the view: the texel is
    // encoded once, then its written bits are laid over each texel.
    void FillView(const ViewRange& view, const Texel& texel, uint32_t componentMask)
    {
        const FormatInfo& info = *FindFormat(view.format);
        uint8_t pattern[16] = {};
        uint8_t written[16] = {};
        EncodeTexel(info, texel, componentMask, pattern);
        WrittenBits(info, componentMask, written);
        const size_t size = info.bytesPerBlock;
        const bool whole = std::all_of(written, written + size, [](uint8_t bits) { return bits == 0xff; });
        for (UINT slice = view.firstSlice; slice < view.firstSlice + view.sliceCount; ++slice) {
            for (UINT mip = view.firstMip; mip < view.firstMip + view.mipCount; ++mip) {
                std::vector<uint8_t>& bytes = subresources_[slice * shape_.mipLevels + mip].bytes;
                if (whole && !bytes.empty()) {
                    // Doubling copies fill the level from its first texel.
                    std::memcpy(bytes.data(), pattern, size);
                    for (size_t done = size; done < bytes.size(); done *= 2) {
                        std::memcpy(bytes.data() + done, bytes.data(), std::min(done, bytes.size() - done));
                    }
                    continue;
                }
                for (size_t at = 0; at + size <= bytes.size(); at += size) {
                    for (size_t byte = 0; byte < size; ++byte) {
                        bytes[at + byte] =
                            uint8_t((bytes[at + byte] & ~written[byte]) | (pattern[byte] & written[byte]));
                    }
                }
            }
        }
    }

    ResourceShape shape_;
    const FormatInfo* format_;  // null for a buffer
    std::vector<Subresource> subresources_;
};

class MemoryShader final : public BackendShader {};

class MemoryBackend final : public Backend {
public:
    const char* Name() const override { return "memory"; }

    AdapterInfo Describe() const override
    {
        AdapterInfo adapter;
        adapter.description = L"Halvo memory adapter";
        adapter.software = true;
        adapter.sharedSystemMemory = SIZE_T{1} << 30;
        adapter.highestFeatureLevel = D3D_FEATURE_LEVEL_11_1;
        // With a display, its screens; without one, a virtual screen of the usual size.
        adapter.outputs = DisplayOutputs();
        if (!adapter.outputs.empty()) return adapter;
        OutputInfo output;
        output.name = L"\\\\.\\DISPLAY1";
        output.desktop = {0, 0, 1920, 1080};
        for (const auto& size : kModeSizes) output.modes.push_back({size[0], size[1], {60, 1}});
        adapter.outputs.push_back(output);
        return adapter;
    }

    std::unique_ptr<BackendResource> CreateResource(const ResourceShape& shape,
                                                    const D3D11_SUBRESOURCE_DATA* initial) override
    {
        auto resource = std::make_unique<MemoryResource>(shape);
        if (!resource->Allocate(initial)) return nullptr;
        return resource;
    }

    std::unique_ptr<BackendShader> CreateShader(ShaderStage, const uint32_t*, size_t) override
    {
        return std::make_unique<MemoryShader>();
    }

    void Draw(const DrawState&, const DrawCall&) override {}

    void Flush() override {}

    // The presented frame is kept as a copy of the buffer; a real window
    // (with a display) also shows it, stretched over its client area.
    HRESULT Present(BackendResource& buffer, const ResourceShape& shape, HWND window, UINT) override
    {
        try {
            lastFrame_ = static_cast<MemoryResource&>(buffer).Bytes(0);
            const FormatInfo* info = FindFormat(shape.format);
            if (info != nullptr && HVU_GetNativeWindow(window) != nullptr) {
                const std::vector<uint8_t> rgba =
                    ToRgba(*info, lastFrame_.data(), RowBytes(*info, shape.width), shape.width, shape.height);
                HVU_ShowPixels(window, rgba.data(), int(shape.width), int(shape.height), int(shape.width * 4));
            }
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

private:
    std::vector<uint8_t> lastFrame_;
};

}  // namespace

std::shared_ptr<Backend> CreateMemoryBackend() { return std::make_shared<MemoryBackend>(); }

}  // namespace halvo::d3d11::memory
