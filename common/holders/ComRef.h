// ComRef: one reference on a COM interface, released when the holder goes.
// The calls themselves stay visible at the call site: ComRef only owns.
#pragma once

#include <unknwn.h>

template <class T>
class ComRef {
public:
    ComRef() : p_(nullptr) {}
    // Takes over a reference the caller already holds.
    explicit ComRef(T* p) : p_(p) {}
    ~ComRef() { Release(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // For out-parameters: releases what is held and gives the slot.
    T** Receive() {
        Release();
        return &p_;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    IUnknown** ReceiveUnknown() { return reinterpret_cast<IUnknown**>(Receive()); }

    // Gives up the reference without releasing it.
    T* Detach() {
        T* p = p_;
        p_ = nullptr;
        return p;
    }
    void Release() {
        if (p_) {
            T* p = p_;
            p_ = nullptr;
            p->Release();
        }
    }

private:
    T* p_;
};
