// One implementation of IUnknown for every object of our platform layers.
//
// An object derives from Object<Primary, Bases...>: Primary is the most
// derived interface it implements and Bases the interfaces Primary derives
// from, so QueryInterface answers IUnknown, Primary and each of Bases with the
// same object. An object that answers more (a second interface it implements)
// or less (an interface that the running system lacks) overrides
// FindInterface.
//
// Reference counts. AddRef and Release count the references handed out and
// return that count, as the platform does. Our objects also keep each other
// alive the way the platform's do (a view its resource, a device child its
// device, the pipeline what is bound to it) through internal references that
// never show in those counts. An object is destroyed when both counts are
// zero; LastReferenceReleased runs when the last handed-out reference goes,
// before the internal ones are looked at (a device unbinds its pipeline
// there). More Release calls than references change nothing and return 0.
//
// Every object counts in the process-wide live-object count from its
// construction to its destruction (live_objects.h).
#pragma once

#include <unknwn.h>

#include <atomic>
#include <cstdint>
#include <type_traits>

#include "winapi/com/live_objects.h"

namespace halvo::com {

template <typename Primary, typename... Bases>
class Object : public Primary {
  static_assert(std::is_base_of_v<IUnknown, Primary>, "an object implements a component-object interface");
  static_assert((std::is_base_of_v<Bases, Primary> && ...), "the chain lists interfaces that Primary derives from");

 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = FindInterface(riid);
    if (*object == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }

  ULONG STDMETHODCALLTYPE AddRef() override {
    return HandedOut(counts_.fetch_add(kHandedOutReference, std::memory_order_relaxed) + kHandedOutReference);
  }

  ULONG STDMETHODCALLTYPE Release() override {
    uint64_t counts = counts_.load(std::memory_order_relaxed);
    uint64_t next;
    do {
      if (HandedOut(counts) == 0) return 0;
      // The last handed-out reference turns into an internal one, so that the
      // object outlives LastReferenceReleased.
      next = counts - kHandedOutReference + (HandedOut(counts) == 1 ? 1 : 0);
    } while (!counts_.compare_exchange_weak(counts, next, std::memory_order_acq_rel, std::memory_order_relaxed));
    if (HandedOut(next) > 0) return HandedOut(next);
    LastReferenceReleased();
    ReleaseInternalReference();
    return 0;
  }

  void AddInternalReference() { counts_.fetch_add(1, std::memory_order_relaxed); }

  void ReleaseInternalReference() {
    if (counts_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

  // The references handed out; what the next Release would return plus one.
  ULONG HandedOutReferences() const { return HandedOut(counts_.load(std::memory_order_relaxed)); }

 protected:
  Object() { CountObjectMade(); }
  // Virtual so that the last release destroys the whole object.
  virtual ~Object() { CountObjectDestroyed(); }

  // The interface pointer for riid, or null; no reference is taken.
  virtual void* FindInterface(REFIID riid) { return FindInChain(riid); }

  void* FindInChain(REFIID riid) {
    Primary* primary = this;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(Primary)) return primary;
    void* found = nullptr;
    ((found == nullptr && riid == __uuidof(Bases) ? found = static_cast<Bases*>(primary) : nullptr), ...);
    return found;
  }

  virtual void LastReferenceReleased() {}

 private:
  // Handed-out references in the upper 32 bits, internal ones in the lower,
  // so that one atomic operation sees both reach zero.
  static constexpr uint64_t kHandedOutReference = uint64_t{1} << 32;
  static ULONG HandedOut(uint64_t counts) { return static_cast<ULONG>(counts >> 32); }

  std::atomic<uint64_t> counts_{kHandedOutReference};
};

}  // namespace halvo::com
