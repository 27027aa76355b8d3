#include "winapi/d3d11/private_data.h"

#include <windows.h>

#include <cstring>

namespace halvo::d3d11 {

PrivateData::~PrivateData()
{
    for (auto& [key, entry] : entries_) {
        if (entry.object != nullptr) entry.object->Release();
    }
}

std::vector<unsigned char> PrivateData::Key(REFGUID guid)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&guid);
    return std::vector<unsigned char>(bytes, bytes + sizeof(GUID));
}

void PrivateData::Replace(REFGUID guid, Entry entry)
{
    IUnknown* previous = nullptr;
    {
        std::lock_guard<std::mutex> hold(lock_);
        auto found = entries_.find(Key(guid));
        if (found != entries_.end()) {
            previous = found->second.object;
            entries_.erase(found);
        }
        if (!entry.bytes.empty() || entry.object != nullptr) entries_.emplace(Key(guid), std::move(entry));
    }
    if (previous != nullptr) previous->Release();
}

HRESULT PrivateData::Set(REFGUID guid, UINT size, const void* data)
{
    if (data == nullptr && size != 0) return E_INVALIDARG;
    Entry entry;
    if (data != nullptr) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        entry.bytes.assign(bytes, bytes + size);
    }
    Replace(guid, std::move(entry));
    return S_OK;
}

HRESULT PrivateData::SetInterface(REFGUID guid, const IUnknown* object)
{
    Entry entry;
    if (object != nullptr) {
        entry.object = const_cast<IUnknown*>(object);
        entry.object->AddRef();
        entry.bytes.resize(sizeof(IUnknown*));
        std::memcpy(entry.bytes.data(), &entry.object, sizeof(IUnknown*));
    }
    Replace(guid, std::move(entry));
    return S_OK;
}

HRESULT PrivateData::Get(REFGUID guid, UINT* size, void* data)
{
    if (size == nullptr) return E_INVALIDARG;
    std::lock_guard<std::mutex> hold(lock_);
    auto found = entries_.find(Key(guid));
    if (found == entries_.end()) {
        *size = 0;
        return DXGI_ERROR_NOT_FOUND;
    }
    const Entry& entry = found->second;
    if (data == nullptr) {
        *size = UINT(entry.bytes.size());
        return S_OK;
    }
    if (*size < entry.bytes.size()) {
        *size = UINT(entry.bytes.size());
        return DXGI_ERROR_MORE_DATA;
    }
    *size = UINT(entry.bytes.size());
    std::memcpy(data, entry.bytes.data(), entry.bytes.size());
    if (entry.object != nullptr) entry.object->AddRef();
    return S_OK;
}

}  // namespace halvo::d3d11
