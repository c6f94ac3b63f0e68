// LocalText: a LocalAlloc'd text (such as the rewriting passes give back),
// freed with LocalFree when the holder goes.
#pragma once

#include <windows.h>

class LocalText {
public:
    LocalText() : text_(nullptr) {}
    // Takes over a text the caller owns.
    explicit LocalText(LPWSTR text) : text_(text) {}
    ~LocalText() { Free(); }
    LocalText(const LocalText&) = delete;
    LocalText& operator=(const LocalText&) = delete;

    LPCWSTR Get() const { return text_; }
    // For out-parameters: frees what is held and gives the slot.
    LPWSTR* Receive() {
        Free();
        return &text_;
    }
    void Free() {
        if (text_) LocalFree(text_);
        text_ = nullptr;
    }

private:
    LPWSTR text_;
};
