// TextBuffer: a growing, NUL-terminated WCHAR text in LocalAlloc'd memory,
// for the rewriting passes that hand their result to the caller to
// LocalFree. Once memory runs out the buffer stays failed and ignores
// further writes, so a pass can write on and check once at the end.
#pragma once

#include <windows.h>

class TextBuffer {
public:
    TextBuffer() = default;
    ~TextBuffer();
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    bool Append(LPCWSTR text, int count);
    bool AppendChar(WCHAR c);
    // Room for count characters at the end, to be filled and then committed
    // with Commit (no more than count); null when it cannot be had.
    LPWSTR BeginWrite(int count);
    void Commit(int written);
    // Puts c at index, which must be below Length().
    void SetAt(int index, WCHAR c) {
        if (!failed_ && index >= 0 && index < length_) text_[index] = c;
    }

    bool Failed() const { return failed_; }
    int Length() const { return length_; }
    // The text so far; never null once anything was appended.
    LPCWSTR Text() const { return text_; }

    // Hands the text to the caller (LocalFree); null when the buffer failed.
    // An empty buffer gives an empty text.
    LPWSTR Detach();

    void Swap(TextBuffer& other);

    // The longest text a buffer holds: its bytes, NUL included, fit a UINT.
    static const int kMaxLength = 0x7FFFFFFE;

private:
    bool Reserve(LONGLONG length);

    LPWSTR text_ = nullptr;
    int length_ = 0;
    int capacity_ = 0;  // characters, without the NUL
    bool failed_ = false;
};
