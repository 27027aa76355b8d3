// The base interface of every component-object interface.
#pragma once

#include <guiddef.h>
#include <winerror.h>

#ifndef interface
#define interface struct
#endif
#define STDMETHODCALLTYPE __stdcall
#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define PURE = 0
#define THIS_
#define THIS void

#ifdef __cplusplus
#include <type_traits>

// __uuidof(Interface) as the platform's compilers give it: each interface
// header ties its identifier to its type with DECLARE_UUIDOF, and
// IID_PPV_ARGS(&pointer) passes a pointer's identifier with the pointer.
template <typename Interface>
struct InterfaceUuid;
#define DECLARE_UUIDOF(type, iid)                \
    template <>                                  \
    struct InterfaceUuid<type> {                 \
        static constexpr const IID& value = iid; \
    }
#define __uuidof(type) (InterfaceUuid<type>::value)
#define IID_PPV_ARGS(pointer)                                                                   \
    InterfaceUuid<std::remove_pointer_t<std::remove_reference_t<decltype(*(pointer))>>>::value, \
        reinterpret_cast<void**>(pointer)
#endif

DEFINE_GUID(IID_IUnknown, 0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};
typedef IUnknown* LPUNKNOWN;
DECLARE_UUIDOF(IUnknown, IID_IUnknown);
