// WString: the string type of both programs. A handle to a reference-counted
// body holding a NUL-terminated UTF-16 text and its length. Copies share the
// body, and there is no copy-on-write: a write through one handle is seen by
// every handle sharing the body.
#pragma once

#include <windows.h>

class WString {
public:
    // A new body with a null text.
    WString();
    // Shares the body of other.
    WString(const WString& other);
    ~WString();
    WString& operator=(const WString& other) {
        Assign(other);
        return *this;
    }

    // A new body holding a copy of text; a null text gives an empty string.
    static WString FromText(LPCWSTR text);

    // Shares the body of other (safe when other is this string).
    void Assign(const WString& other);

    int Length() const;
    // The text, or null for a string made without text.
    LPCWSTR Text() const;

    // A buffer of at least n characters plus the NUL, in the shared body.
    // When the string is shorter than n the old text is dropped, a new buffer
    // is made and the length becomes n; fill it, terminate it, SyncLength.
    LPWSTR GetBuffer(int n);
    // Length := characters before the first NUL of the buffer.
    int SyncLength();

    // Address of character i, for reading or writing; i must be inside the buffer.
    WCHAR* CharAt(int i);

    // First index at or after start holding ch, or -1.
    int Find(WCHAR ch, int start) const;
    // Last index at or before start holding ch (start -1: from the end), or -1.
    int ReverseFind(WCHAR ch, int start) const;
    // Same length and the same characters (case-sensitive).
    bool Equals(const WString& other) const;
    // count characters from start (count -1: to the end) in a new body.
    WString Mid(int start, int count) const;

private:
    struct Body {
        LONG refs;
        LPWSTR text;
        LONG length;
    };

    explicit WString(Body* body) : body_(body) {}
    static Body* NewBody();
    static void ReleaseBody(Body* body);
    static LPWSTR AllocateText(int characters);

    Body* body_;
};
