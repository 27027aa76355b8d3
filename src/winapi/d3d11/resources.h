#pragma once

#include <d3d11_1.h>

#include <memory>
#include <vector>

#include "winapi/d3d11/backend.h"
#include "winapi/d3d11/device_child.h"

namespace halvo::d3d11 {

// What buffers and textures share: their shape, their storage in the back
// end and which subresources are mapped.
class ResourceCore {
public:
    ResourceCore(const ResourceShape& shape, std::unique_ptr<BackendResource> storage)
        : shape_(shape), storage_(std::move(storage)), mapped_(shape.SubresourceCount(), 0)
    {}
    virtual ~ResourceCore() = default;

    const ResourceShape& shape() const { return shape_; }
    BackendResource& storage() { return *storage_; }
    // The map kind of a mapped subresource, 0 when it is not mapped.
    D3D11_MAP MappedAs(UINT subresource) const { return D3D11_MAP(mapped_[subresource]); }
    void SetMapped(UINT subresource, D3D11_MAP type) { mapped_[subresource] = uint8_t(type); }
    bool AnyMapped() const;

    virtual com::ObjectBase& Counted() = 0;
    virtual Device* OwningDevice() const = 0;

private:
    ResourceShape shape_;
    std::unique_ptr<BackendResource> storage_;
    std::vector<uint8_t> mapped_;  // the immediate context's thread only
};

// Our resource behind a platform resource pointer; null for null.
ResourceCore* CoreOf(ID3D11Resource* resource);

template <typename Primary>
class ResourceObject : public DeviceChild<Primary, ID3D11Resource>, public ResourceCore {
public:
    void STDMETHODCALLTYPE SetEvictionPriority(UINT priority) override { evictionPriority_ = priority; }
    UINT STDMETHODCALLTYPE GetEvictionPriority() override { return evictionPriority_; }
    com::ObjectBase& Counted() override { return *this; }
    Device* OwningDevice() const override { return this->device(); }

protected:
    ResourceObject(Device* device, const ResourceShape& shape, std::unique_ptr<BackendResource> storage)
        : DeviceChild<Primary, ID3D11Resource>(device), ResourceCore(shape, std::move(storage))
    {}
    ResourceObject(Device* device, const ResourceShape& shape, std::unique_ptr<BackendResource> storage,
                   com::StartInternal tag)
        : DeviceChild<Primary, ID3D11Resource>(device, tag), ResourceCore(shape, std::move(storage))
    {}

private:
    UINT evictionPriority_ = 0;
};

class Buffer final : public ResourceObject<ID3D11Buffer> {
public:
    Buffer(Device* device, const D3D11_BUFFER_DESC& desc, const ResourceShape& shape,
           std::unique_ptr<BackendResource> storage)
        : ResourceObject(device, shape, std::move(storage)), desc_(desc)
    {}

    void STDMETHODCALLTYPE GetType(D3D11_RESOURCE_DIMENSION* dimension) override
    {
        if (dimension != nullptr) *dimension = D3D11_RESOURCE_DIMENSION_BUFFER;
    }
    void STDMETHODCALLTYPE GetDesc(D3D11_BUFFER_DESC* desc) override
    {
        if (desc != nullptr) *desc = desc_;
    }
    const D3D11_BUFFER_DESC& desc() const { return desc_; }

private:
    D3D11_BUFFER_DESC desc_;
};

class Texture2D final : public ResourceObject<ID3D11Texture2D> {
public:
    Texture2D(Device* device, const D3D11_TEXTURE2D_DESC& desc, const ResourceShape& shape,
              std::unique_ptr<BackendResource> storage)
        : ResourceObject(device, shape, std::move(storage)), desc_(desc)
    {}
    // A swap chain's buffer, held by the swap chain before any reference is handed out.
    Texture2D(Device* device, const D3D11_TEXTURE2D_DESC& desc, const ResourceShape& shape,
              std::unique_ptr<BackendResource> storage, com::StartInternal tag)
        : ResourceObject(device, shape, std::move(storage), tag), desc_(desc)
    {}

    void STDMETHODCALLTYPE GetType(D3D11_RESOURCE_DIMENSION* dimension) override
    {
        if (dimension != nullptr) *dimension = D3D11_RESOURCE_DIMENSION_TEXTURE2D;
    }
    void STDMETHODCALLTYPE GetDesc(D3D11_TEXTURE2D_DESC* desc) override
    {
        if (desc != nullptr) *desc = desc_;
    }
    const D3D11_TEXTURE2D_DESC& desc() const { return desc_; }

private:
    D3D11_TEXTURE2D_DESC desc_;
};

}  // namespace halvo::d3d11
