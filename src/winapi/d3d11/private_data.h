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

}  // namespace halvo::d3d11
