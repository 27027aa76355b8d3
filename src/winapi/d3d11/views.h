#pragma once

#include <d3d11_1.h>

#include "winapi/com/com_object.h"
#include "winapi/d3d11/backend.h"
#include "winapi/d3d11/device_child.h"
#include "winapi/d3d11/resources.h"

namespace halvo::d3d11 {

// A view keeps its resource alive and knows which part of it it sees.
template <typename Primary, typename Desc>
class ViewObject : public DeviceChild<Primary, ID3D11View> {
public:
    void STDMETHODCALLTYPE GetResource(ID3D11Resource** resource) override
    {
        if (resource == nullptr) return;
        resource_->Counted().AddInternalReference();
        *resource = Interface();
        (*resource)->AddRef();
        resource_->Counted().ReleaseInternalReference();
    }
    void STDMETHODCALLTYPE GetDesc(Desc* desc) override
    {
        if (desc != nullptr) *desc = desc_;
    }

    ResourceCore* resource() const { return resource_; }
    const ViewRange& range() const { return range_; }
    const Desc& desc() const { return desc_; }

public:
    ViewObject(Device* device, ResourceCore* resource, const Desc& desc, const ViewRange& range)
        : DeviceChild<Primary, ID3D11View>(device),
          hold_(&resource->Counted()),
          resource_(resource),
          desc_(desc),
          range_(range)
    {}

private:
    ID3D11Resource* Interface() const
    {
        if (resource_->shape().dimension == D3D11_RESOURCE_DIMENSION_BUFFER) return static_cast<Buffer*>(resource_);
        return static_cast<Texture2D*>(resource_);
    }

    com::Held<com::ObjectBase> hold_;
    ResourceCore* resource_;
    Desc desc_;
    ViewRange range_;
};

class ShaderResourceView final : public ViewObject<ID3D11ShaderResourceView, D3D11_SHADER_RESOURCE_VIEW_DESC> {
public:
    using ViewObject::ViewObject;
};

class RenderTargetView final : public ViewObject<ID3D11RenderTargetView, D3D11_RENDER_TARGET_VIEW_DESC> {
public:
    using ViewObject::ViewObject;
};

class DepthStencilView final : public ViewObject<ID3D11DepthStencilView, D3D11_DEPTH_STENCIL_VIEW_DESC> {
public:
    using ViewObject::ViewObject;
};

}  // namespace halvo::d3d11
