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
#include <utility>

#include "winapi/com/live_objects.h"

namespace halvo::com {

// Tag for an object whose first reference is internal: made by the layer for
// itself (a swap chain's buffers, a device's context) before any is handed out.
struct StartInternal {};

// The counts and the life of an object, the same for every interface it has.
class ObjectBase {
public:
    void AddInternalReference() { counts_.fetch_add(1, std::memory_order_relaxed); }

    void ReleaseInternalReference()
    {
        if (counts_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }

    // The references handed out: what the next Release returns, plus one.
    ULONG HandedOutReferences() const { return HandedOut(counts_.load(std::memory_order_relaxed)); }
    ULONG InternalReferences() const { return ULONG(counts_.load(std::memory_order_relaxed) & 0xffffffffu); }

    // Takes a handed-out reference unless the object is already on its way
    // out (both counts zero); for caches that list objects they do not hold.
    bool TryAddHandedOutReference()
    {
        uint64_t counts = counts_.load(std::memory_order_relaxed);
        do {
            if (counts == 0) return false;
        } while (!counts_.compare_exchange_weak(counts, counts + kHandedOutReference, std::memory_order_acq_rel,
                                                std::memory_order_relaxed));
        return true;
    }

protected:
    ObjectBase() : counts_(kHandedOutReference) { CountObjectMade(); }
    explicit ObjectBase(StartInternal) : counts_(1) { CountObjectMade(); }
    // Virtual so that the last release destroys the whole object.
    virtual ~ObjectBase() { CountObjectDestroyed(); }

    ULONG AddHandedOutReference()
    {
        return HandedOut(counts_.fetch_add(kHandedOutReference, std::memory_order_relaxed) + kHandedOutReference);
    }

    ULONG ReleaseHandedOutReference()
    {
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

    virtual void LastReferenceReleased() {}

private:
    // Handed-out references in the upper 32 bits, internal ones in the lower,
    // so that one atomic operation sees both reach zero.
    static constexpr uint64_t kHandedOutReference = uint64_t{1} << 32;
    static ULONG HandedOut(uint64_t counts) { return static_cast<ULONG>(counts >> 32); }

    std::atomic<uint64_t> counts_;
};

template <typename Primary, typename... Bases>
class Object : public Primary, public ObjectBase {
    static_assert(std::is_base_of_v<IUnknown, Primary>, "an object implements a component-object interface");
    static_assert((std::is_base_of_v<Bases, Primary> && ...), "the chain lists interfaces that Primary derives from");

public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr) return E_POINTER;
        *object = FindInterface(riid);
        if (*object == nullptr) return E_NOINTERFACE;
        AddHandedOutReference();
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return AddHandedOutReference(); }

    ULONG STDMETHODCALLTYPE Release() override { return ReleaseHandedOutReference(); }

protected:
    Object() = default;
    explicit Object(StartInternal tag) : ObjectBase(tag) {}

    // The interface pointer for riid, or null; no reference is taken.
    virtual void* FindInterface(REFIID riid) { return FindInChain(riid); }

    void* FindInChain(REFIID riid)
    {
        Primary* primary = this;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(Primary)) return primary;
        void* found = nullptr;
        ((found == nullptr && riid == __uuidof(Bases) ? found = static_cast<Bases*>(primary) : nullptr), ...);
        return found;
    }
};

// An internal reference to one of our objects, released with the holder.
template <typename T>
class Held {
public:
    Held() = default;
    explicit Held(T* object) : object_(object)
    {
        if (object_ != nullptr) object_->AddInternalReference();
    }
    Held(const Held& other) : Held(other.object_) {}
    Held(Held&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    Held& operator=(Held other) noexcept
    {
        std::swap(object_, other.object_);
        return *this;
    }
    ~Held()
    {
        if (object_ != nullptr) object_->ReleaseInternalReference();
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

}  // namespace halvo::com
