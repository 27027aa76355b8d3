// The tests' holder of one reference to a platform object (their own ComPtr),
// kept apart from the folders' helpers, whose colour helpers differ.
#pragma once

#include <windows.h>

#include <utility>

// Holds one reference to an interface.
template <typename T>
class Ref {
public:
    Ref() = default;
    Ref(const Ref& other) : object_(other.object_)
    {
        if (object_ != nullptr) object_->AddRef();
    }
    Ref& operator=(const Ref& other)
    {
        Ref copy(other);
        std::swap(object_, copy.object_);
        return *this;
    }
    ~Ref() { Reset(); }

    void Reset()
    {
        if (object_ != nullptr) object_->Release();
        object_ = nullptr;
    }
    T** Put()
    {
        Reset();
        return &object_;
    }
    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // The references left after releasing this one (what Release returns).
    ULONG ReleaseAndCount()
    {
        const ULONG left = object_->Release();
        object_ = nullptr;
        return left;
    }

private:
    T* object_ = nullptr;
};
