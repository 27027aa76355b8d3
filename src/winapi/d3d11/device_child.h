#pragma once

#include <d3d11_1.h>

#include "winapi/com/com_object.h"
#include "winapi/d3d11/private_data.h"

namespace halvo::d3d11 {

class Device;

// ID3D11DeviceChild for every object a device makes: it keeps its device
// alive (an internal reference) and carries private data.
template <typename Primary, typename... Bases>
class DeviceChild : public com::Object<Primary, Bases..., ID3D11DeviceChild> {
public:
    void STDMETHODCALLTYPE GetDevice(ID3D11Device** device) override;
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID guid, UINT* size, void* data) override
    {
        return privateData_.Get(guid, size, data);
    }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID guid, UINT size, const void* data) override
    {
        return privateData_.Set(guid, size, data);
    }
    HRESULT STDMETHODCALLTYPE SetPrivateDataInterface(REFGUID guid, const IUnknown* data) override
    {
        return privateData_.SetInterface(guid, data);
    }

    Device* device() const { return device_.get(); }

protected:
    explicit DeviceChild(Device* device) : device_(device) {}
    DeviceChild(Device* device, com::StartInternal tag)
        : com::Object<Primary, Bases..., ID3D11DeviceChild>(tag), device_(device)
    {}

private:
    com::Held<Device> device_;
    PrivateData privateData_;
};

}  // namespace halvo::d3d11
