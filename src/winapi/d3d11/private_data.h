#pragma once

#include <unknwn.h>

#include <map>
#include <mutex>
#include <vector>

namespace halvo::d3d11 {

// The private data that programs attach to DXGI and Direct3D objects under
// their own GUIDs: bytes, or an interface that is held until replaced or
// until the object goes.
class PrivateData {
public:
    PrivateData() = default;
    PrivateData(const PrivateData&) = delete;
    PrivateData& operator=(const PrivateData&) = delete;
    ~PrivateData();

    HRESULT Set(REFGUID guid, UINT size, const void* data);
    HRESULT SetInterface(REFGUID guid, const IUnknown* object);
    HRESULT Get(REFGUID guid, UINT* size, void* data);

private:
    struct Entry {
        std::vector<unsigned char> bytes;
        IUnknown* object = nullptr;  // a reference is held
    };
    static std::vector<unsigned char> Key(REFGUID guid);
    void Replace(REFGUID guid, Entry entry);

    std::mutex lock_;
    std::map<std::vector<unsigned char>, Entry> entries_;  // guarded by lock_
};

// The private-data calls of a COM object (IDXGIObject's and ID3D11DeviceChild's
// have the same form), answered from the object's own PrivateData.
template <typename ComObject>
class WithPrivateData : public ComObject {
public:
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID guid, UINT* size, void* data) override
    {
        return privateData_.Get(guid, size, data);
    }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID guid, UINT size, const void* data) override
    {
        return privateData_.Set(guid, size, data);
    }
    HRESULT STDMETHODCALLTYPE SetPrivateDataInterface(REFGUID guid, const IUnknown* object) override
    {
        return privateData_.SetInterface(guid, object);
    }

protected:
    using ComObject::ComObject;

private:
    PrivateData privateData_;
};

}  // namespace halvo::d3d11
