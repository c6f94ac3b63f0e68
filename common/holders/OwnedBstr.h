// OwnedBstr: one BSTR received from a property getter, freed with
// SysFreeString when the holder goes.
#pragma once

#include <windows.h>
#include <oleauto.h>

class OwnedBstr {
public:
    OwnedBstr() = default;
    ~OwnedBstr() { Free(); }
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;

    // For the getter's out-parameter; a getter that fails and writes
    // nothing leaves it null, which reads as empty.
    BSTR* Receive() {
        Free();
        return &bstr_;
    }
    // The text up to its first NUL: a name carrying a NUL of its own must
    // not cut short the message it is written into.
    LPCWSTR Text() const { return bstr_ ? bstr_ : TEXT(""); }
    int Length() const { return bstr_ ? static_cast<int>(wcslen(bstr_)) : 0; }
    void Free() {
        if (bstr_) SysFreeString(bstr_);
        bstr_ = nullptr;
    }

private:
    BSTR bstr_ = nullptr;
};
