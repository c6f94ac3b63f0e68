#include "WString.h"

#include <string.h>

WString::Body* WString::NewBody() {
    Body* body = static_cast<Body*>(LocalAlloc(LMEM_FIXED, sizeof(Body)));
    if (body) {
        body->refs = 1;
        body->text = nullptr;
        body->length = 0;
    }
    return body;
}

void WString::ReleaseBody(Body* body) {
    if (!body) return;
    if (InterlockedDecrement(&body->refs) == 0) {
        if (body->text) LocalFree(body->text);
        body->text = nullptr;
        body->length = 0;
        LocalFree(body);
    }
}

// Room for characters plus the NUL, zero-filled; null when the size would
// overflow or memory runs out.
LPWSTR WString::AllocateText(int characters) {
    if (characters < 0) return nullptr;
    uint64_t bytes = (static_cast<uint64_t>(characters) + 1) * sizeof(WCHAR);
    if (bytes > 0xFFFFFFFFu) return nullptr;
    return static_cast<LPWSTR>(LocalAlloc(LPTR, static_cast<UINT>(bytes)));
}

WString::WString() : body_(NewBody()) {}

WString::WString(const WString& other) : body_(other.body_) {
    if (body_) InterlockedIncrement(&body_->refs);
}

WString::~WString() { ReleaseBody(body_); }

WString WString::FromText(LPCWSTR text) {
    Body* body = NewBody();
    if (body && text) {
        size_t length = wcslen(text);
        LPWSTR copy = length <= 0x7FFFFFFE ? AllocateText(static_cast<int>(length)) : nullptr;
        if (copy) {
            memcpy(copy, text, (length + 1) * sizeof(WCHAR));
            body->text = copy;
            body->length = static_cast<LONG>(length);
        }
    }
    return WString(body);
}

void WString::Assign(const WString& other) {
    // Taking the new reference first makes assigning a string to itself safe.
    if (other.body_) InterlockedIncrement(&other.body_->refs);
    Body* old = body_;
    body_ = other.body_;
    ReleaseBody(old);
}

int WString::Length() const { return body_ ? body_->length : 0; }

LPCWSTR WString::Text() const { return body_ ? body_->text : nullptr; }

LPWSTR WString::GetBuffer(int n) {
    if (!body_) return nullptr;
    if (body_->length >= n) return body_->text;
    if (body_->text) LocalFree(body_->text);
    body_->text = AllocateText(n);
    body_->length = body_->text ? n : 0;
    return body_->text;
}

int WString::SyncLength() {
    if (!body_) return 0;
    if (!body_->text) {
        body_->length = 0;
        return 0;
    }
    // Never look beyond the buffer, even when the caller forgot the NUL.
    int capacity = static_cast<int>(LocalSize(body_->text) / sizeof(WCHAR));
    int length = 0;
    while (length < capacity && body_->text[length]) ++length;
    if (length == capacity) {
        length = capacity - 1;
        body_->text[length] = 0;
    }
    body_->length = length;
    return length;
}

WCHAR* WString::CharAt(int i) { return body_ && body_->text ? body_->text + i : nullptr; }

int WString::Find(WCHAR ch, int start) const {
    int length = Length();
    if (start < 0) start = 0;
    for (int i = start; i < length; ++i)
        if (body_->text[i] == ch) return i;
    return -1;
}

int WString::ReverseFind(WCHAR ch, int start) const {
    int length = Length();
    if (start == -1 || start >= length) start = length - 1;
    for (int i = start; i >= 0; --i)
        if (body_->text[i] == ch) return i;
    return -1;
}

bool WString::Equals(const WString& other) const {
    int length = Length();
    if (length != other.Length()) return false;
    if (length == 0) return true;
    return memcmp(body_->text, other.body_->text, length * sizeof(WCHAR)) == 0;
}

WString WString::Mid(int start, int count) const {
    int length = Length();
    if (start < 0) start = 0;
    if (start > length) start = length;
    if (count == -1 || count > length - start) count = length - start;
    WString result;
    if (count <= 0) return result;
    LPWSTR text = result.GetBuffer(count);
    if (text) {
        memcpy(text, body_->text + start, count * sizeof(WCHAR));
        text[count] = 0;
    }
    return result;
}
