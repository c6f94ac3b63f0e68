// A cursor over a DLGTEMPLATE in resource memory that knows the format's
// alignment and never reads past the resource's end.
#pragma once

#include <windows.h>

class TemplateReader {
public:
    TemplateReader(const BYTE* data, DWORD size) : data_(data), size_(size), offset_(0), failed_(false) {}

    // A name-or-ordinal field: 0xFFFF and a 16-bit ordinal, or a
    // zero-terminated string (empty: a single 0).
    struct NameOrOrdinal {
        bool isOrdinal;
        WORD ordinal;
        LPCWSTR text;
    };

    WORD Word();
    DWORD Dword();
    NameOrOrdinal Field();
    // Skips a zero-terminated string.
    void SkipString() { Field(); }
    void Skip(DWORD bytes);
    void AlignToDword() { Skip((4 - offset_ % 4) % 4); }

    // Every read after one that would have passed the end fails too and
    // gives zeros.
    bool Failed() const { return failed_; }

private:
    bool Has(DWORD bytes);

    const BYTE* data_;
    DWORD size_;
    DWORD offset_;
    bool failed_;
};
