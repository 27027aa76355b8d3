#pragma once

#include <atomic>

#include <dsound.h>

// The IUnknown part that the primary and the secondary buffers share: both answer
// for IUnknown and IDirectSoundBuffer, and the last Release deletes the buffer.
class ReferenceCountedBuffer : public IDirectSoundBuffer {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) final;
  ULONG STDMETHODCALLTYPE AddRef() final;
  ULONG STDMETHODCALLTYPE Release() final;

 protected:
  ReferenceCountedBuffer() = default;
  // Virtual so that Release deletes the whole buffer.
  virtual ~ReferenceCountedBuffer() = default;

 private:
  std::atomic<ULONG> m_references{1};
};
