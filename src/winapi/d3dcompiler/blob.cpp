#include "winapi/d3dcompiler/blob.h"

#include <new>
#include <string>

namespace halvo::d3dcompiler {

HRESULT STDMETHODCALLTYPE Blob::QueryInterface(REFIID riid, void** ppvObject) {
  if (ppvObject == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_ID3D10Blob) {
    AddRef();
    *ppvObject = this;
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE Blob::AddRef() {
  return ++references_;
}

ULONG STDMETHODCALLTYPE Blob::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

LPVOID STDMETHODCALLTYPE Blob::GetBufferPointer() {
  return bytes_.empty() ? nullptr : bytes_.data();
}

SIZE_T STDMETHODCALLTYPE Blob::GetBufferSize() {
  return bytes_.size();
}

ID3DBlob* MakeBlob(std::vector<unsigned char> bytes) {
  return new (std::nothrow) Blob(std::move(bytes));
}

ID3DBlob* MakeTextBlob(const std::string& text) {
  std::vector<unsigned char> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return MakeBlob(std::move(bytes));
}

}  // namespace halvo::d3dcompiler
