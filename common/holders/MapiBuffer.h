// MapiBuffer: a MAPI property-value buffer, freed with MAPIFreeBuffer when
// the holder goes.
#pragma once

#include <cemapi.h>

template <class T>
class MapiBuffer {
public:
    MapiBuffer() : p_(nullptr) {}
    explicit MapiBuffer(T* p) : p_(p) {}
    ~MapiBuffer() { Free(); }
    MapiBuffer(const MapiBuffer&) = delete;
    MapiBuffer& operator=(const MapiBuffer&) = delete;
    MapiBuffer(MapiBuffer&& other) : p_(other.Detach()) {}
    MapiBuffer& operator=(MapiBuffer&& other) {
        if (this != &other) {
            Free();
            p_ = other.Detach();
        }
        return *this;
    }

    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** Receive() {
        Free();
        return &p_;
    }
    T* Detach() {
        T* p = p_;
        p_ = nullptr;
        return p;
    }
    void Free() {
        if (p_) MAPIFreeBuffer(p_);
        p_ = nullptr;
    }

private:
    T* p_;
};

typedef MapiBuffer<SPropValue> PropValueBuffer;
