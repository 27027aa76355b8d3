#include "winapi/d3d11/resource_rules.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "winapi/d3d11/device.h"
#include "winapi/d3d11/format_table.h"
#include "winapi/d3d11/hooks.h"
#include "winapi/d3d11/shader_code.h"
#include "winapi/d3d11/messages.h"

namespace halvo::d3d11 {

namespace {

constexpr UINT kKnownCpuAccess = D3D11_CPU_ACCESS_READ | D3D11_CPU_ACCESS_WRITE;
constexpr UINT kBufferBinds = D3D11_BIND_VERTEX_BUFFER | D3D11_BIND_INDEX_BUFFER | D3D11_BIND_CONSTANT_BUFFER |
                              D3D11_BIND_SHADER_RESOURCE | D3D11_BIND_STREAM_OUTPUT | D3D11_BIND_RENDER_TARGET |
                              D3D11_BIND_UNORDERED_ACCESS;
constexpr UINT kTextureBinds =
    D3D11_BIND_SHADER_RESOURCE | D3D11_BIND_RENDER_TARGET | D3D11_BIND_DEPTH_STENCIL | D3D11_BIND_UNORDERED_ACCESS;
constexpr UINT kBufferMisc = D3D11_RESOURCE_MISC_SHARED | D3D11_RESOURCE_MISC_DRAWINDIRECT_ARGS |
                             D3D11_RESOURCE_MISC_BUFFER_ALLOW_RAW_VIEWS | D3D11_RESOURCE_MISC_BUFFER_STRUCTURED;
constexpr UINT kTextureMisc = D3D11_RESOURCE_MISC_GENERATE_MIPS | D3D11_RESOURCE_MISC_SHARED |
                              D3D11_RESOURCE_MISC_TEXTURECUBE | D3D11_RESOURCE_MISC_RESOURCE_CLAMP |
                              D3D11_RESOURCE_MISC_GDI_COMPATIBLE;
constexpr UINT kAllMips = 0xffffffff;
// The largest resource the platform makes, in bytes (2048 MB).
constexpr uint64_t kLargestResource = uint64_t{2048} << 20;

// The bind flags through which the pipeline writes a resource.
constexpr UINT kPipelineWrites =
    D3D11_BIND_RENDER_TARGET | D3D11_BIND_DEPTH_STENCIL | D3D11_BIND_UNORDERED_ACCESS | D3D11_BIND_STREAM_OUTPUT;

// Immutable and dynamic resources: the pipeline only reads them.
bool OnlyReadByPipeline(const char* entryPoint, const char* resource, UINT bindFlags)
{
    if (!(bindFlags & kPipelineWrites)) return true;
    ReportError(entryPoint, "%s cannot be written by the pipeline.", resource);
    return false;
}

// A shape of the dimension with the usage members that buffer and texture
// descriptions share.
template <typename Desc>
ResourceShape UsageShape(D3D11_RESOURCE_DIMENSION dimension, const Desc& desc)
{
    ResourceShape shape;
    shape.dimension = dimension;
    shape.usage = desc.Usage;
    shape.bindFlags = desc.BindFlags;
    shape.cpuAccessFlags = desc.CPUAccessFlags;
    shape.miscFlags = desc.MiscFlags;
    return shape;
}

// Bind and misc flags within those that the kind of resource can have.
bool FlagsAllowed(const char* entryPoint, const char* resource, UINT bindFlags, UINT allowedBinds, UINT miscFlags,
                  UINT allowedMisc)
{
    if (bindFlags & ~allowedBinds) {
        ReportError(entryPoint, "BindFlags 0x%x name flags %s cannot have.", bindFlags, resource);
        return false;
    }
    if (miscFlags & ~allowedMisc) {
        ReportError(entryPoint, "MiscFlags 0x%x name flags %s cannot have.", miscFlags, resource);
        return false;
    }
    return true;
}

// The rules on usage and CPU access that buffers and textures share.
bool CheckUsage(const char* entryPoint, D3D11_USAGE usage, UINT bindFlags, UINT cpuAccess, bool hasInitialData)
{
    if (cpuAccess & ~kKnownCpuAccess) {
        ReportError(entryPoint, "CPUAccessFlags 0x%x names unknown flags.", cpuAccess);
        return false;
    }
    switch (usage) {
    case D3D11_USAGE_DEFAULT:
        if (cpuAccess != 0) {
            ReportError(entryPoint, "a default resource cannot have CPU access.");
            return false;
        }
        return true;
    case D3D11_USAGE_IMMUTABLE:
        if (cpuAccess != 0) {
            ReportError(entryPoint, "an immutable resource cannot have CPU access.");
            return false;
        }
        if (!hasInitialData) {
            ReportError(entryPoint, "an immutable resource needs its initial data.");
            return false;
        }
        return OnlyReadByPipeline(entryPoint, "an immutable resource", bindFlags);
    case D3D11_USAGE_DYNAMIC:
        if (cpuAccess != D3D11_CPU_ACCESS_WRITE) {
            ReportError(entryPoint, "a dynamic resource needs exactly D3D11_CPU_ACCESS_WRITE.");
            return false;
        }
        return OnlyReadByPipeline(entryPoint, "a dynamic resource", bindFlags);
    case D3D11_USAGE_STAGING:
        if (bindFlags != 0) {
            ReportError(entryPoint, "a staging resource cannot be bound to the pipeline.");
            return false;
        }
        if (cpuAccess == 0) {
            ReportError(entryPoint, "a staging resource needs CPU access.");
            return false;
        }
        return true;
    }
    ReportError(entryPoint, "usage %d is not a D3D11_USAGE.", int(usage));
    return false;
}

UINT FullMipCount(UINT width, UINT height)
{
    UINT levels = 1;
    while (width > 1 || height > 1) {
        width = std::max(width / 2, 1u);
        height = std::max(height / 2, 1u);
        ++levels;
    }
    return levels;
}

UINT MaxArraySize(D3D_FEATURE_LEVEL level)
{
    if (level < D3D_FEATURE_LEVEL_10_0) return 1;
    if (level < D3D_FEATURE_LEVEL_11_0) return 512;
    return D3D11_REQ_TEXTURE2D_ARRAY_AXIS_DIMENSION;
}

// A mip range of a view: the first level, and the count (kAllMips for the rest).
bool ResolveMips(const char* entryPoint, UINT levels, UINT first, UINT count, ViewRange* range)
{
    if (first >= levels) {
        ReportError(entryPoint, "the first mip level %u is past the resource's %u levels.", first, levels);
        return false;
    }
    if (count == kAllMips) count = levels - first;
    if (count == 0 || count > levels - first) {
        ReportError(entryPoint, "%u mip levels from level %u do not fit the resource's %u.", count, first, levels);
        return false;
    }
    range->firstMip = first;
    range->mipCount = count;
    return true;
}

bool ResolveSlices(const char* entryPoint, UINT arraySize, UINT first, UINT count, ViewRange* range)
{
    if (count == kAllMips && first < arraySize) count = arraySize - first;
    if (first >= arraySize || count == 0 || count > arraySize - first) {
        ReportError(entryPoint, "array slices %u..%u do not fit the resource's %u.", first, first + count, arraySize);
        return false;
    }
    range->firstSlice = first;
    range->sliceCount = count;
    return true;
}

// A view's format: UNKNOWN takes the resource's; it must be a typed member of the resource's group.
bool ResolveViewFormat(const char* entryPoint, const ResourceShape& shape, DXGI_FORMAT asked, DXGI_FORMAT* format)
{
    *format = asked == DXGI_FORMAT_UNKNOWN ? shape.format : asked;
    const FormatInfo* info = FindFormat(*format);
    if (info == nullptr || info->formatClass == kTypelessGroup) {
        ReportError(entryPoint, "the view needs a typed format (format %d).", int(*format));
        return false;
    }
    if (!FormatsAreCastCompatible(shape.format, *format)) {
        ReportError(entryPoint, "format %d cannot view a resource of format %d.", int(*format), int(shape.format));
        return false;
    }
    return true;
}

bool RequireTexture(const char* entryPoint, ResourceCore* resource)
{
    if (resource == nullptr) {
        ReportError(entryPoint, "the resource is null.");
        return false;
    }
    if (resource->shape().dimension != D3D11_RESOURCE_DIMENSION_TEXTURE2D) {
        ReportError(entryPoint, "this layer makes such views of 2D textures only.");
        return false;
    }
    return true;
}

}  // namespace

UINT SupportOf(DXGI_FORMAT format)
{
    UINT support;
    if (hooks::FormatSupportAnswer(format, &support)) return support;
    return FormatSupport(format);
}

UINT MaxTextureSize(D3D_FEATURE_LEVEL level)
{
    if (level < D3D_FEATURE_LEVEL_9_3) return 2048;
    if (level < D3D_FEATURE_LEVEL_10_0) return 4096;
    if (level < D3D_FEATURE_LEVEL_11_0) return 8192;
    return D3D11_REQ_TEXTURE2D_U_OR_V_DIMENSION;
}

bool CheckBufferDesc(const char* entryPoint, const D3D11_BUFFER_DESC* desc, const D3D11_SUBRESOURCE_DATA* initial,
                     D3D_FEATURE_LEVEL level)
{
    if (!DescriptionGiven(entryPoint, desc)) return false;
    if (desc->ByteWidth == 0 || desc->ByteWidth > kLargestResource) {
        ReportError(entryPoint, "ByteWidth %u is 0 or above %llu.", desc->ByteWidth,
                    static_cast<unsigned long long>(kLargestResource));
        return false;
    }
    if (!FlagsAllowed(entryPoint, "a buffer", desc->BindFlags, kBufferBinds, desc->MiscFlags, kBufferMisc))
        return false;
    if (desc->BindFlags & D3D11_BIND_CONSTANT_BUFFER) {
        if (desc->ByteWidth % 16 != 0 || desc->ByteWidth > D3D11_REQ_CONSTANT_BUFFER_ELEMENT_COUNT * 16) {
            ReportError(entryPoint, "a constant buffer's ByteWidth %u must be a multiple of 16 up to %u.",
                        desc->ByteWidth, D3D11_REQ_CONSTANT_BUFFER_ELEMENT_COUNT * 16);
            return false;
        }
        if (desc->BindFlags != D3D11_BIND_CONSTANT_BUFFER && level < D3D_FEATURE_LEVEL_11_1) {
            ReportError(entryPoint, "a constant buffer cannot have other bind flags below feature level 11_1.");
            return false;
        }
    }
    if (desc->MiscFlags & D3D11_RESOURCE_MISC_BUFFER_STRUCTURED) {
        if (desc->StructureByteStride == 0 || desc->StructureByteStride % 4 != 0 ||
            desc->ByteWidth % desc->StructureByteStride != 0) {
            ReportError(
                entryPoint,
                "a structured buffer needs a StructureByteStride that is a multiple of 4 and divides ByteWidth.");
            return false;
        }
    }
    if (initial != nullptr && initial->pSysMem == nullptr) {
        ReportError(entryPoint, "the initial data has no memory.");
        return false;
    }
    return CheckUsage(entryPoint, desc->Usage, desc->BindFlags, desc->CPUAccessFlags, initial != nullptr);
}

ResourceShape BufferShape(const D3D11_BUFFER_DESC& desc)
{
    ResourceShape shape = UsageShape(D3D11_RESOURCE_DIMENSION_BUFFER, desc);
    shape.width = desc.ByteWidth;
    return shape;
}

bool CheckTexture2DDesc(const char* entryPoint, Device* device, const D3D11_TEXTURE2D_DESC* desc,
                        const D3D11_SUBRESOURCE_DATA* initial, D3D11_TEXTURE2D_DESC* resolved)
{
    if (!DescriptionGiven(entryPoint, desc)) return false;
    const D3D_FEATURE_LEVEL level = device->GetFeatureLevel();
    const UINT maxSize = MaxTextureSize(level);
    if (desc->Width == 0 || desc->Height == 0 || desc->Width > maxSize || desc->Height > maxSize) {
        ReportError(entryPoint, "a %u x %u texture is outside 1..%u at this feature level.", desc->Width, desc->Height,
                    maxSize);
        return false;
    }
    const bool cube = (desc->MiscFlags & D3D11_RESOURCE_MISC_TEXTURECUBE) != 0;
    const UINT maxArray = cube ? std::max(MaxArraySize(level), 6u) : MaxArraySize(level);
    if (desc->ArraySize == 0 || desc->ArraySize > maxArray) {
        ReportError(entryPoint, "ArraySize %u is outside 1..%u at this feature level.", desc->ArraySize, maxArray);
        return false;
    }
    const FormatInfo* info = FindFormat(desc->Format);
    const UINT support = SupportOf(desc->Format);
    if (info == nullptr || !(support & D3D11_FORMAT_SUPPORT_TEXTURE2D)) {
        ReportError(entryPoint, "format %d cannot make a 2D texture.", int(desc->Format));
        return false;
    }
    if (info->blockSize > 1 && (desc->Width % info->blockSize != 0 || desc->Height % info->blockSize != 0)) {
        ReportError(entryPoint, "a block-compressed texture's size must be a multiple of %u.", UINT(info->blockSize));
        return false;
    }
    if (desc->SampleDesc.Count != 1 || desc->SampleDesc.Quality != 0) {
        ReportError(entryPoint, "multisampling (%u samples, quality %u) is not supported by this layer.",
                    desc->SampleDesc.Count, desc->SampleDesc.Quality);
        return false;
    }
    const UINT fullChain = FullMipCount(desc->Width, desc->Height);
    if (desc->MipLevels > fullChain) {
        ReportError(entryPoint, "MipLevels %u is more than the %u a %u x %u texture has.", desc->MipLevels, fullChain,
                    desc->Width, desc->Height);
        return false;
    }
    if (!FlagsAllowed(entryPoint, "a texture", desc->BindFlags, kTextureBinds, desc->MiscFlags, kTextureMisc))
        return false;
    const bool typeless = info->formatClass == kTypelessGroup;
    if ((desc->BindFlags & D3D11_BIND_RENDER_TARGET) && !typeless && !(support & D3D11_FORMAT_SUPPORT_RENDER_TARGET)) {
        ReportError(entryPoint, "format %d cannot be bound as a render target.", int(desc->Format));
        return false;
    }
    if (desc->BindFlags & D3D11_BIND_DEPTH_STENCIL) {
        if ((!typeless && !(support & D3D11_FORMAT_SUPPORT_DEPTH_STENCIL)) ||
            (desc->BindFlags & D3D11_BIND_RENDER_TARGET)) {
            ReportError(entryPoint, "format %d with BindFlags 0x%x cannot be a depth-stencil target.",
                        int(desc->Format), desc->BindFlags);
            return false;
        }
    }
    if ((desc->BindFlags & D3D11_BIND_SHADER_RESOURCE) && !typeless &&
        !(support & (D3D11_FORMAT_SUPPORT_SHADER_LOAD | D3D11_FORMAT_SUPPORT_SHADER_SAMPLE))) {
        ReportError(entryPoint,
                    "format %d cannot be read by shaders; a depth texture read by shaders needs a typeless format.",
                    int(desc->Format));
        return false;
    }
    if (!CheckUsage(entryPoint, desc->Usage, desc->BindFlags, desc->CPUAccessFlags, initial != nullptr)) return false;
    if (desc->Usage == D3D11_USAGE_DYNAMIC && (desc->MipLevels != 1 || desc->ArraySize != 1)) {
        ReportError(entryPoint, "a dynamic texture has one mip level and one array slice.");
        return false;
    }
    if (desc->MiscFlags & D3D11_RESOURCE_MISC_GENERATE_MIPS) {
        const UINT binds = D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE;
        if ((desc->BindFlags & binds) != binds || desc->Usage != D3D11_USAGE_DEFAULT ||
            (!typeless && !(support & D3D11_FORMAT_SUPPORT_MIP_AUTOGEN))) {
            ReportError(entryPoint,
                        "D3D11_RESOURCE_MISC_GENERATE_MIPS needs a default render target and shader resource of a "
                        "format that generates mips.");
            return false;
        }
    }
    if (cube) {
        if (desc->ArraySize % 6 != 0 || desc->Width != desc->Height) {
            ReportError(entryPoint, "a cube texture is square with an ArraySize that is a multiple of 6.");
            return false;
        }
        if (desc->ArraySize > 6 && level < D3D_FEATURE_LEVEL_10_1) {
            ReportError(entryPoint, "cube arrays need feature level 10_1.");
            return false;
        }
    }
    *resolved = *desc;
    if (resolved->MipLevels == 0) resolved->MipLevels = fullChain;
    uint64_t bytes = 0;
    for (UINT mip = 0; mip < resolved->MipLevels; ++mip) {
        bytes += RowBytes(*info, std::max(resolved->Width >> mip, 1u)) *
                 BlockRows(*info, std::max(resolved->Height >> mip, 1u));
    }
    bytes *= resolved->ArraySize;
    if (bytes > kLargestResource) {
        ReportError(entryPoint, "the texture's %llu bytes are more than the largest resource of %llu.",
                    static_cast<unsigned long long>(bytes), static_cast<unsigned long long>(kLargestResource));
        return false;
    }
    if (initial != nullptr) {
        for (UINT index = 0; index < resolved->MipLevels * resolved->ArraySize; ++index) {
            const UINT mip = index % resolved->MipLevels;
            const uint64_t rowBytes = RowBytes(*info, std::max(resolved->Width >> mip, 1u));
            if (initial[index].pSysMem == nullptr || initial[index].SysMemPitch < rowBytes) {
                ReportError(entryPoint, "the initial data of subresource %u has no memory or a row pitch below %llu.",
                            index, static_cast<unsigned long long>(rowBytes));
                return false;
            }
        }
    }
    return true;
}

ResourceShape TextureShape(const D3D11_TEXTURE2D_DESC& desc)
{
    ResourceShape shape = UsageShape(D3D11_RESOURCE_DIMENSION_TEXTURE2D, desc);
    shape.format = desc.Format;
    shape.width = desc.Width;
    shape.height = desc.Height;
    shape.mipLevels = desc.MipLevels;
    shape.arraySize = desc.ArraySize;
    return shape;
}

bool CheckShaderResourceViewDesc(const char* entryPoint, Device* device, ResourceCore* resource,
                                 const D3D11_SHADER_RESOURCE_VIEW_DESC* desc, D3D11_SHADER_RESOURCE_VIEW_DESC* resolved,
                                 ViewRange* range)
{
    if (!RequireTexture(entryPoint, resource)) return false;
    const ResourceShape& shape = resource->shape();
    if (!(shape.bindFlags & D3D11_BIND_SHADER_RESOURCE)) {
        ReportError(entryPoint, "the resource was not made with D3D11_BIND_SHADER_RESOURCE.");
        return false;
    }
    const bool cubeResource = (shape.miscFlags & D3D11_RESOURCE_MISC_TEXTURECUBE) != 0;
    D3D11_SHADER_RESOURCE_VIEW_DESC view{};
    if (desc != nullptr) {
        view = *desc;
    } else if (cubeResource) {
        view.ViewDimension =
            shape.arraySize == 6 ? D3D11_SRV_DIMENSION_TEXTURECUBE : D3D11_SRV_DIMENSION_TEXTURECUBEARRAY;
        view.TextureCubeArray = {0, kAllMips, 0, shape.arraySize / 6};
    } else if (shape.arraySize > 1) {
        view.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2DARRAY;
        view.Texture2DArray = {0, kAllMips, 0, shape.arraySize};
    } else {
        view.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
        view.Texture2D = {0, kAllMips};
    }
    if (!ResolveViewFormat(entryPoint, shape, view.Format, &view.Format)) return false;
    if (!(SupportOf(view.Format) & (D3D11_FORMAT_SUPPORT_SHADER_LOAD | D3D11_FORMAT_SUPPORT_SHADER_SAMPLE))) {
        ReportError(entryPoint, "format %d cannot be read by shaders.", int(view.Format));
        return false;
    }
    range->format = view.Format;
    bool fits = false;
    switch (view.ViewDimension) {
    case D3D11_SRV_DIMENSION_TEXTURE2D:
        fits =
            ResolveMips(entryPoint, shape.mipLevels, view.Texture2D.MostDetailedMip, view.Texture2D.MipLevels, range) &&
            ResolveSlices(entryPoint, shape.arraySize, 0, 1, range);
        if (fits) view.Texture2D.MipLevels = range->mipCount;
        break;
    case D3D11_SRV_DIMENSION_TEXTURE2DARRAY:
        fits = ResolveMips(entryPoint, shape.mipLevels, view.Texture2DArray.MostDetailedMip,
                           view.Texture2DArray.MipLevels, range) &&
               ResolveSlices(entryPoint, shape.arraySize, view.Texture2DArray.FirstArraySlice,
                             view.Texture2DArray.ArraySize, range);
        if (fits) {
            view.Texture2DArray.MipLevels = range->mipCount;
            view.Texture2DArray.ArraySize = range->sliceCount;
        }
        break;
    case D3D11_SRV_DIMENSION_TEXTURECUBE:
    case D3D11_SRV_DIMENSION_TEXTURECUBEARRAY: {
        const bool array = view.ViewDimension == D3D11_SRV_DIMENSION_TEXTURECUBEARRAY;
        if (!cubeResource) {
            ReportError(entryPoint, "a cube view needs a resource made with D3D11_RESOURCE_MISC_TEXTURECUBE.");
            return false;
        }
        if (array && device->GetFeatureLevel() < D3D_FEATURE_LEVEL_10_1) {
            ReportError(entryPoint, "cube array views need feature level 10_1.");
            return false;
        }
        const UINT firstFace = array ? view.TextureCubeArray.First2DArrayFace : 0;
        const UINT cubes = array ? view.TextureCubeArray.NumCubes : 1;
        fits = cubes != 0 && cubes <= shape.arraySize / 6 &&
               ResolveMips(entryPoint, shape.mipLevels, view.TextureCube.MostDetailedMip, view.TextureCube.MipLevels,
                           range) &&
               ResolveSlices(entryPoint, shape.arraySize, firstFace, cubes * 6, range);
        if (fits) view.TextureCube.MipLevels = range->mipCount;
        range->cube = true;
        break;
    }
    default: ReportError(entryPoint, kViewDimensionMismatch, int(view.ViewDimension)); return false;
    }
    if (!fits) return false;
    *resolved = view;
    return true;
}

namespace {

// What render-target and depth-stencil views share: one mip level of one or
// more array slices, a bind flag and a format support bit.
template <typename Desc, typename Dimension>
bool CheckOutputViewDesc(const char* entryPoint, ResourceCore* resource, const Desc* desc, Desc* resolved,
                         ViewRange* range, UINT bindFlag, const char* bindName, UINT support, const char* role,
                         Dimension single, Dimension array)
{
    if (!RequireTexture(entryPoint, resource)) return false;
    const ResourceShape& shape = resource->shape();
    if (!(shape.bindFlags & bindFlag)) {
        ReportError(entryPoint, "the resource was not made with %s.", bindName);
        return false;
    }
    Desc view{};
    if (desc != nullptr) {
        view = *desc;
    } else if (shape.arraySize > 1) {
        view.ViewDimension = array;
        view.Texture2DArray = {0, 0, shape.arraySize};
    } else {
        view.ViewDimension = single;
    }
    if (!ResolveViewFormat(entryPoint, shape, view.Format, &view.Format)) return false;
    if (!(SupportOf(view.Format) & support)) {
        ReportError(entryPoint, "format %d cannot be %s.", int(view.Format), role);
        return false;
    }
    range->format = view.Format;
    bool fits = false;
    if (view.ViewDimension == single) {
        fits = ResolveMips(entryPoint, shape.mipLevels, view.Texture2D.MipSlice, 1, range) &&
               ResolveSlices(entryPoint, shape.arraySize, 0, 1, range);
    } else if (view.ViewDimension == array) {
        fits = ResolveMips(entryPoint, shape.mipLevels, view.Texture2DArray.MipSlice, 1, range) &&
               ResolveSlices(entryPoint, shape.arraySize, view.Texture2DArray.FirstArraySlice,
                             view.Texture2DArray.ArraySize, range);
        if (fits) view.Texture2DArray.ArraySize = range->sliceCount;
    } else {
        ReportError(entryPoint, kViewDimensionMismatch, int(view.ViewDimension));
        return false;
    }
    if (!fits) return false;
    *resolved = view;
    return true;
}

}  // namespace

bool CheckRenderTargetViewDesc(const char* entryPoint, Device* /*device*/, ResourceCore* resource,
                               const D3D11_RENDER_TARGET_VIEW_DESC* desc, D3D11_RENDER_TARGET_VIEW_DESC* resolved,
                               ViewRange* range)
{
    return CheckOutputViewDesc(entryPoint, resource, desc, resolved, range, D3D11_BIND_RENDER_TARGET,
                               "D3D11_BIND_RENDER_TARGET", D3D11_FORMAT_SUPPORT_RENDER_TARGET, "a render target",
                               D3D11_RTV_DIMENSION_TEXTURE2D, D3D11_RTV_DIMENSION_TEXTURE2DARRAY);
}

bool CheckDepthStencilViewDesc(const char* entryPoint, ResourceCore* resource,
                               const D3D11_DEPTH_STENCIL_VIEW_DESC* desc, D3D11_DEPTH_STENCIL_VIEW_DESC* resolved,
                               ViewRange* range)
{
    if (desc != nullptr && (desc->Flags & ~UINT(D3D11_DSV_READ_ONLY_DEPTH | D3D11_DSV_READ_ONLY_STENCIL))) {
        ReportError(entryPoint, "Flags 0x%x name unknown flags.", desc->Flags);
        return false;
    }
    return CheckOutputViewDesc(entryPoint, resource, desc, resolved, range, D3D11_BIND_DEPTH_STENCIL,
                               "D3D11_BIND_DEPTH_STENCIL", D3D11_FORMAT_SUPPORT_DEPTH_STENCIL, "a depth-stencil target",
                               D3D11_DSV_DIMENSION_TEXTURE2D, D3D11_DSV_DIMENSION_TEXTURE2DARRAY);
}

namespace {

// The component type a vertex format gives a shader input.
bool FormatFeeds(DXGI_FORMAT format, SignatureElement::Type type, UINT* components)
{
    const FormatInfo* info = FindFormat(format);
    if (info == nullptr || info->channelCount == 0) return false;
    *components = info->channelCount;
    switch (info->channels[0].kind) {
    case ChannelKind::kUint: return type == SignatureElement::Type::kUint;
    case ChannelKind::kSint: return type == SignatureElement::Type::kSint;
    case ChannelKind::kTypeless:
    case ChannelKind::kOpaquePad:
    case ChannelKind::kZeroPad: return false;
    default: return type == SignatureElement::Type::kFloat;
    }
}

}  // namespace

bool CheckInputLayout(const char* entryPoint, const D3D11_INPUT_ELEMENT_DESC* elements, UINT count,
                      const std::vector<SignatureElement>& inputs, std::vector<UINT>* offsets)
{
    if (count > D3D11_IA_VERTEX_INPUT_STRUCTURE_ELEMENT_COUNT || (count > 0 && elements == nullptr)) {
        ReportError(entryPoint, "%u elements are more than %u, or the elements are null.", count,
                    D3D11_IA_VERTEX_INPUT_STRUCTURE_ELEMENT_COUNT);
        return false;
    }
    UINT slotEnd[D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT] = {};
    offsets->assign(count, 0);
    for (UINT index = 0; index < count; ++index) {
        const D3D11_INPUT_ELEMENT_DESC& element = elements[index];
        if (element.SemanticName == nullptr || element.SemanticName[0] == '\0') {
            ReportError(entryPoint, "element %u has no semantic name.", index);
            return false;
        }
        if (element.InputSlot >= D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT) {
            ReportError(entryPoint, "element %u uses input slot %u.", index, element.InputSlot);
            return false;
        }
        if (element.InputSlotClass != D3D11_INPUT_PER_VERTEX_DATA &&
            element.InputSlotClass != D3D11_INPUT_PER_INSTANCE_DATA) {
            ReportError(entryPoint, "element %u has an unknown InputSlotClass.", index);
            return false;
        }
        if (element.InputSlotClass == D3D11_INPUT_PER_VERTEX_DATA && element.InstanceDataStepRate != 0) {
            ReportError(entryPoint, "per-vertex element %u has an InstanceDataStepRate.", index);
            return false;
        }
        const FormatInfo* info = FindFormat(element.Format);
        if (info == nullptr || !(SupportOf(element.Format) & D3D11_FORMAT_SUPPORT_IA_VERTEX_BUFFER)) {
            ReportError(entryPoint, "element %u has format %d, which is not vertex data.", index, int(element.Format));
            return false;
        }
        const UINT offset = element.AlignedByteOffset == D3D11_APPEND_ALIGNED_ELEMENT ? slotEnd[element.InputSlot]
                                                                                      : element.AlignedByteOffset;
        const UINT alignment = std::min<UINT>(info->bytesPerBlock, 4);
        if (offset % alignment != 0) {
            ReportError(entryPoint, "element %u at byte %u is not aligned to %u.", index, offset, alignment);
            return false;
        }
        (*offsets)[index] = offset;
        slotEnd[element.InputSlot] = offset + info->bytesPerBlock;
        std::string name;
        UINT semanticIndex;
        SplitSemantic(element.SemanticName, &name, &semanticIndex);
        for (UINT other = 0; other < index; ++other) {
            std::string otherName;
            UINT otherIndex;
            SplitSemantic(elements[other].SemanticName, &otherName, &otherIndex);
            otherIndex = elements[other].SemanticIndex;
            if (otherName == name && otherIndex == element.SemanticIndex) {
                ReportError(entryPoint, "semantic %s%u appears twice.", name.c_str(), element.SemanticIndex);
                return false;
            }
        }
    }
    return LayoutFeedsInputs(entryPoint, elements, count, inputs);
}

bool LayoutFeedsInputs(const char* entryPoint, const D3D11_INPUT_ELEMENT_DESC* elements, UINT count,
                       const std::vector<SignatureElement>& inputs)
{
    for (const SignatureElement& input : inputs) {
        if (input.systemValue) continue;
        bool fed = false;
        for (UINT index = 0; index < count && !fed; ++index) {
            std::string name;
            UINT ignored;
            SplitSemantic(elements[index].SemanticName, &name, &ignored);
            if (name != input.semanticName || elements[index].SemanticIndex != input.semanticIndex) continue;
            UINT components;
            if (!FormatFeeds(elements[index].Format, input.type, &components)) {
                ReportError(entryPoint, "element %s%u has format %d, whose type does not match the shader's input.",
                            name.c_str(), input.semanticIndex, int(elements[index].Format));
                return false;
            }
            fed = true;
        }
        if (!fed) {
            ReportError(entryPoint, "the vertex code reads %s%u, which no element provides.",
                        input.semanticName.c_str(), input.semanticIndex);
            return false;
        }
    }
    return true;
}

bool StagesLink(const char* entryPoint, const std::vector<SignatureElement>& vertexOutputs,
                const std::vector<SignatureElement>& pixelInputs)
{
    for (const SignatureElement& input : pixelInputs) {
        if (input.systemValue) continue;
        const bool written =
            std::any_of(vertexOutputs.begin(), vertexOutputs.end(), [&](const SignatureElement& output) {
                return output.semanticName == input.semanticName && output.semanticIndex == input.semanticIndex;
            });
        if (!written) {
            ReportError(entryPoint, "the pixel shader reads %s%u, which the vertex shader does not write.",
                        input.semanticName.c_str(), input.semanticIndex);
            return false;
        }
    }
    return true;
}

}  // namespace halvo::d3d11
