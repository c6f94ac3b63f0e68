// ComObject: the reference counting every COM object of the platform's
// libraries shares. The count is interlocked, starts at 1 for the creator
// and deletes the object when it reaches 0; QueryInterface stays with each
// class, which alone knows what it answers to. With several interfaces, the
// one AddRef/Release serves them all.
#pragma once

#include <windows.h>

namespace platform {

template <class... Interfaces>
class ComObject : public Interfaces... {
public:
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

private:
    LONG volatile refs_ = 1;
};

}  // namespace platform
