// The C library's string functions for WCHAR text, as the phone's C library
// has them. Like the C library they trust their arguments: a NULL pointer
// is the caller's fault.
#include <windows.h>

#include <cerrno>
#include <cstdint>

size_t wcslen(const WCHAR* s) {
    const WCHAR* p = s;
    while (*p) ++p;
    return static_cast<size_t>(p - s);
}

WCHAR* wcscpy(WCHAR* dst, const WCHAR* src) {
    WCHAR* d = dst;
    while ((*d++ = *src++) != 0) {
    }
    return dst;
}

WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t count) {
    size_t i = 0;
    for (; i < count && src[i]; ++i) dst[i] = src[i];
    for (; i < count; ++i) dst[i] = 0;
    return dst;
}

WCHAR* wcscat(WCHAR* dst, const WCHAR* src) {
    wcscpy(dst + wcslen(dst), src);
    return dst;
}

int wcscmp(const WCHAR* a, const WCHAR* b) { return wcsncmp(a, b, SIZE_MAX); }

int wcsncmp(const WCHAR* a, const WCHAR* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
        if (!a[i]) break;
    }
    return 0;
}

int _wcsicmp(const WCHAR* a, const WCHAR* b) { return _wcsnicmp(a, b, SIZE_MAX); }

int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        WCHAR ca = towlower(a[i]);
        WCHAR cb = towlower(b[i]);
        if (ca != cb) return static_cast<int>(ca) - static_cast<int>(cb);
        if (!ca) break;
    }
    return 0;
}

WCHAR* wcschr(const WCHAR* s, WCHAR c) {
    for (;; ++s) {
        if (*s == c) return const_cast<WCHAR*>(s);
        if (!*s) return nullptr;
    }
}

WCHAR* wcsrchr(const WCHAR* s, WCHAR c) {
    const WCHAR* found = nullptr;
    for (;; ++s) {
        if (*s == c) found = s;
        if (!*s) return const_cast<WCHAR*>(found);
    }
}

WCHAR* wcsstr(const WCHAR* s, const WCHAR* sub) {
    if (!*sub) return const_cast<WCHAR*>(s);
    for (; *s; ++s) {
        size_t i = 0;
        while (sub[i] && s[i] == sub[i]) ++i;
        if (!sub[i]) return const_cast<WCHAR*>(s);
    }
    return nullptr;
}

namespace {

int DigitOf(WCHAR c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'z') return c - u'a' + 10;
    if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
    return 99;
}

// The common part of wcstol and wcstoul: the magnitude, saturated at
// `limit`, and the sign. The phone's long is 32 bits, so the limits are
// those of a 32-bit long whatever the host's long is.
uint64_t ParseMagnitude(const WCHAR* s, WCHAR** end, int base, uint64_t limit, bool* negative, bool* overflow) {
    *negative = false;
    *overflow = false;
    if (end) *end = const_cast<WCHAR*>(s);
    if (base < 0 || base == 1 || base > 36) {
        errno = EINVAL;
        return 0;
    }
    const WCHAR* p = s;
    while (iswspace(*p)) ++p;
    if (*p == u'+' || *p == u'-') *negative = *p++ == u'-';
    bool hexPrefix = p[0] == u'0' && (p[1] == u'x' || p[1] == u'X') && DigitOf(p[2]) < 16;
    if ((base == 0 || base == 16) && hexPrefix) {
        p += 2;
        base = 16;
    } else if (base == 0) {
        base = p[0] == u'0' ? 8 : 10;
    }
    uint64_t value = 0;
    const WCHAR* digits = p;
    for (int d; (d = DigitOf(*p)) < base; ++p) {
        value = value * base + d;
        if (value > limit) {
            *overflow = true;
            value = limit;  // keeps the product below 2^64 for every further digit
        }
    }
    if (p == digits) return 0;  // no number: *end stays at the start of the text
    if (end) *end = const_cast<WCHAR*>(p);
    return value;
}

}  // namespace

long wcstol(const WCHAR* s, WCHAR** end, int base) {
    bool negative, overflow;
    uint64_t magnitude = ParseMagnitude(s, end, base, uint64_t{INT32_MAX} + 1, &negative, &overflow);
    if (!negative && magnitude > INT32_MAX) overflow = true;
    if (overflow) {
        errno = ERANGE;
        return negative ? INT32_MIN : INT32_MAX;
    }
    return negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
}

unsigned long wcstoul(const WCHAR* s, WCHAR** end, int base) {
    bool negative, overflow;
    uint64_t magnitude = ParseMagnitude(s, end, base, UINT32_MAX, &negative, &overflow);
    if (overflow) {
        errno = ERANGE;
        return UINT32_MAX;
    }
    // As the C library does, a minus sign negates in the unsigned type.
    return negative ? static_cast<uint32_t>(0u - static_cast<uint32_t>(magnitude)) : magnitude;
}

int _wtoi(const WCHAR* s) { return static_cast<int>(wcstol(s, nullptr, 10)); }
