#include "TextBuffer.h"

#include <string.h>

TextBuffer::~TextBuffer() {
    if (text_) LocalFree(text_);
}

bool TextBuffer::Reserve(LONGLONG length) {
    if (failed_) return false;
    if (length < 0 || length > kMaxLength) {
        failed_ = true;
        return false;
    }
    if (text_ && length <= capacity_) return true;
    // Doubling keeps a pass that appends piece by piece linear.
    LONGLONG capacity = static_cast<LONGLONG>(capacity_) * 2;
    if (capacity < length) capacity = length;
    if (capacity < 64) capacity = 64;
    if (capacity > kMaxLength) capacity = kMaxLength;
    UINT bytes = static_cast<UINT>((capacity + 1) * sizeof(WCHAR));
    HLOCAL grown = text_ ? LocalReAlloc(text_, bytes, LMEM_MOVEABLE) : LocalAlloc(LMEM_FIXED, bytes);
    if (!grown) {
        failed_ = true;
        return false;
    }
    text_ = static_cast<LPWSTR>(grown);
    capacity_ = static_cast<int>(capacity);
    text_[length_] = 0;
    return true;
}

bool TextBuffer::Append(LPCWSTR text, int count) {
    if (count <= 0) return Reserve(length_);
    if (!text || !Reserve(static_cast<LONGLONG>(length_) + count)) return false;
    memcpy(text_ + length_, text, count * sizeof(WCHAR));
    length_ += count;
    text_[length_] = 0;
    return true;
}

bool TextBuffer::AppendChar(WCHAR c) { return Append(&c, 1); }

LPWSTR TextBuffer::BeginWrite(int count) {
    if (count < 0 || !Reserve(static_cast<LONGLONG>(length_) + count)) return nullptr;
    return text_ + length_;
}

void TextBuffer::Commit(int written) {
    if (failed_ || written <= 0 || static_cast<LONGLONG>(length_) + written > capacity_) return;
    length_ += written;
    text_[length_] = 0;
}

LPWSTR TextBuffer::Detach() {
    if (failed_ || !Reserve(length_)) return nullptr;
    LPWSTR text = text_;
    text_ = nullptr;
    length_ = 0;
    capacity_ = 0;
    return text;
}

void TextBuffer::Swap(TextBuffer& other) {
    LPWSTR text = text_;
    int length = length_, capacity = capacity_;
    bool failed = failed_;
    text_ = other.text_;
    length_ = other.length_;
    capacity_ = other.capacity_;
    failed_ = other.failed_;
    other.text_ = text;
    other.length_ = length;
    other.capacity_ = capacity;
    other.failed_ = failed;
}
