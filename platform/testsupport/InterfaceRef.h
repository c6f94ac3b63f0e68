// An interface reference a test holds, released at the end of its scope.
#pragma once

#include <unknwn.h>

namespace testing_support {

template <class T>
class Ref {
public:
    Ref() = default;
    explicit Ref(T* p) : p_(p) {}
    ~Ref() { reset(); }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& other) noexcept : p_(other.release()) {}
    Ref& operator=(Ref&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = other.release();
        }
        return *this;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: releases what is held and gives the slot.
    T** out() {
        reset();
        return &p_;
    }
    LPUNKNOWN* unknown() { return reinterpret_cast<LPUNKNOWN*>(out()); }
    void** outVoid() { return reinterpret_cast<void**>(out()); }
    void reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }
    T* release() {
        T* p = p_;
        p_ = nullptr;
        return p;
    }

private:
    T* p_ = nullptr;
};

}  // namespace testing_support
