#include "reference_counted_buffer.h"

HRESULT STDMETHODCALLTYPE ReferenceCountedBuffer::QueryInterface(REFIID riid, void** object) {
  if (!object) {
    return E_POINTER;
  }
  if (riid == IID_IUnknown || riid == IID_IDirectSoundBuffer) {
    AddRef();
    *object = this;
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ReferenceCountedBuffer::AddRef() { return ++m_references; }

ULONG STDMETHODCALLTYPE ReferenceCountedBuffer::Release() {
  const ULONG left = --m_references;
  if (left == 0) {
    delete this;
  }
  return left;
}
