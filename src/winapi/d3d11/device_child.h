#pragma once

#include <d3d11_1.h>

#include "winapi/com/com_object.h"
#include "winapi/d3d11/private_data.h"

namespace halvo::d3d11 {

class Device;

// ID3D11DeviceChild for every object a device makes: it keeps its device
// alive (an internal reference) and carries private data.
template <typename Primary, typename... Bases>
class DeviceChild : public WithPrivateData<com::Object<Primary, Bases..., ID3D11DeviceChild>> {
public:
    void STDMETHODCALLTYPE GetDevice(ID3D11Device** device) override;

    Device* device() const { return device_.get(); }

protected:
    explicit DeviceChild(Device* device) : device_(device) {}
    DeviceChild(Device* device, com::StartInternal tag)
        : WithPrivateData<com::Object<Primary, Bases..., ID3D11DeviceChild>>(tag), device_(device)
    {}

private:
    com::Held<Device> device_;
};

}  // namespace halvo::d3d11
