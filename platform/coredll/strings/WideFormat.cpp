// printf-style formatting into WCHAR buffers: wsprintfW and the C library's
// _snwprintf, on one formatter. The formatter never reads past the format
// string nor writes past the buffer: output beyond the room is counted, not
// written, so each caller can report the shortfall its own way.
#include <windows.h>

#include <climits>
#include <cstdint>

namespace {

// The documented output limit of wsprintfW, terminating NUL included.
constexpr size_t kWsprintfLimit = 1024;
// Widths and precisions beyond any buffer are kept finite.
constexpr int kMaxField = 1 << 30;

class Output {
public:
    Output(WCHAR* buffer, size_t room) : buffer_(buffer), room_(buffer ? room : 0) {}

    void Put(WCHAR c) {
        if (written_ < room_) buffer_[written_++] = c;
        ++needed_;
    }
    void Repeat(WCHAR c, size_t n) {
        for (size_t i = 0; i < n && written_ < room_; ++i) buffer_[written_++] = c;
        needed_ += n;
    }
    template <typename Char>
    void Text(const Char* s, size_t n) {
        for (size_t i = 0; i < n && written_ < room_; ++i) buffer_[written_++] = Widen(s[i]);
        needed_ += n;
    }

    size_t written() const { return written_; }
    uint64_t needed() const { return needed_; }

private:
    // Narrow text is taken byte for byte, as the C library does in its
    // default locale: ASCII, and Latin-1 above it.
    static WCHAR Widen(char c) { return static_cast<unsigned char>(c); }
    static WCHAR Widen(WCHAR c) { return c; }

    WCHAR* buffer_;
    size_t room_;
    size_t written_ = 0;
    uint64_t needed_ = 0;
};

enum class Size { Default, Short, Long, LongLong, Wide };

struct Conversion {
    bool left = false;
    bool zero = false;
    bool alt = false;
    bool plus = false;
    bool space = false;
    int width = 0;
    int precision = -1;  // none
    Size size = Size::Default;
};

bool IsDigit(WCHAR c) { return c >= u'0' && c <= u'9'; }

int ReadNumber(const WCHAR*& f) {
    int n = 0;
    for (; IsDigit(*f); ++f) n = n < kMaxField / 10 ? n * 10 + (*f - u'0') : kMaxField;
    return n;
}

// Fills the field up to its width, before the text (after it when aligned
// left): `after` tells which side this call is for.
void Pad(Output& out, const Conversion& conv, size_t length, bool after) {
    if (conv.left != after || conv.width <= 0 || length >= static_cast<size_t>(conv.width)) return;
    // Zero padding of text is what the platform's formatters do, too.
    out.Repeat(conv.zero && !conv.left ? u'0' : u' ', conv.width - length);
}

template <typename Char>
void EmitText(Output& out, const Conversion& conv, const Char* s) {
    static const char kNull[] = "(null)";
    size_t limit = conv.precision < 0 ? SIZE_MAX : static_cast<size_t>(conv.precision);
    size_t length = 0;
    if (!s) {
        length = sizeof(kNull) - 1 < limit ? sizeof(kNull) - 1 : limit;
    } else {
        // Only the characters the precision takes are read, so the text
        // need not be terminated then.
        while (length < limit && s[length]) ++length;
    }
    Pad(out, conv, length, false);
    if (s)
        out.Text(s, length);
    else
        out.Text(kNull, length);
    Pad(out, conv, length, true);
}

void EmitChar(Output& out, const Conversion& conv, WCHAR c) {
    Pad(out, conv, 1, false);
    out.Put(c);
    Pad(out, conv, 1, true);
}

void EmitNumber(Output& out, Conversion conv, uint64_t magnitude, bool negative, bool isSigned, unsigned base,
                bool upper) {
    WCHAR digits[24];
    size_t count = 0;
    const char* alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    if (magnitude != 0 || conv.precision != 0) {
        do {
            digits[count++] = static_cast<WCHAR>(alphabet[magnitude % base]);
            magnitude /= base;
        } while (magnitude);
    }
    bool nonZero = count > 1 || (count == 1 && digits[0] != u'0');

    WCHAR sign = 0;
    if (isSigned) sign = negative ? u'-' : conv.plus ? u'+' : conv.space ? u' ' : 0;
    const char* prefix = conv.alt && base == 16 && nonZero ? (upper ? "0X" : "0x") : "";
    size_t prefixLength = prefix[0] ? 2 : 0;

    size_t zeros = conv.precision > 0 && static_cast<size_t>(conv.precision) > count ? conv.precision - count : 0;
    size_t length = (sign ? 1 : 0) + prefixLength + zeros + count;
    if (conv.zero && !conv.left && conv.precision < 0 && conv.width > 0 && static_cast<size_t>(conv.width) > length) {
        zeros += conv.width - length;
        length = conv.width;
    }
    conv.zero = false;  // what is left of the width is spaces
    Pad(out, conv, length, false);
    if (sign) out.Put(sign);
    out.Text(prefix, prefixLength);
    out.Repeat(u'0', zeros);
    while (count) out.Put(digits[--count]);
    Pad(out, conv, length, true);
}

// Formats into out. Integer conversions read an int (the 32-bit LONG,
// DWORD and WCHAR of the phone arrive as int) unless I64 or ll asks for 64
// bits.
void Format(Output& out, const WCHAR* f, va_list args) {
    while (*f) {
        if (*f != u'%') {
            out.Put(*f++);
            continue;
        }
        const WCHAR* start = f++;
        Conversion conv;
        for (bool more = true; more;) {
            switch (*f) {
                case u'-':
                    conv.left = true;
                    ++f;
                    break;
                case u'0':
                    conv.zero = true;
                    ++f;
                    break;
                case u'#':
                    conv.alt = true;
                    ++f;
                    break;
                case u'+':
                    conv.plus = true;
                    ++f;
                    break;
                case u' ':
                    conv.space = true;
                    ++f;
                    break;
                default:
                    more = false;
                    break;
            }
        }
        if (*f == u'*') {
            int width = va_arg(args, int);
            if (width < 0) {
                conv.left = true;
                width = width == INT_MIN ? kMaxField : -width;
            }
            conv.width = width < kMaxField ? width : kMaxField;
            ++f;
        } else {
            conv.width = ReadNumber(f);
        }
        if (*f == u'.') {
            ++f;
            if (*f == u'*') {
                int precision = va_arg(args, int);
                conv.precision = precision < 0 ? -1 : precision < kMaxField ? precision : kMaxField;
                ++f;
            } else {
                conv.precision = ReadNumber(f);
            }
        }
        if (f[0] == u'I' && f[1] == u'6' && f[2] == u'4') {
            conv.size = Size::LongLong;
            f += 3;
        } else if (f[0] == u'I' && f[1] == u'3' && f[2] == u'2') {
            conv.size = Size::Long;
            f += 3;
        } else if (f[0] == u'l' && f[1] == u'l') {
            conv.size = Size::LongLong;
            f += 2;
        } else if (*f == u'l') {
            conv.size = Size::Long;
            ++f;
        } else if (*f == u'h') {
            conv.size = Size::Short;
            ++f;
        } else if (*f == u'w') {
            conv.size = Size::Wide;
            ++f;
        }

        const bool wide = conv.size == Size::Long || conv.size == Size::Wide;
        const bool narrow = conv.size == Size::Short;
        switch (*f) {
            case u'd':
            case u'i': {
                int64_t value = conv.size == Size::LongLong ? va_arg(args, long long) : va_arg(args, int);
                if (conv.size == Size::Short) value = static_cast<short>(value);
                uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
                EmitNumber(out, conv, magnitude, value < 0, true, 10, false);
                break;
            }
            case u'u':
            case u'x':
            case u'X': {
                uint64_t value = conv.size == Size::LongLong ? va_arg(args, unsigned long long)
                                                             : va_arg(args, unsigned);
                if (conv.size == Size::Short) value = static_cast<unsigned short>(value);
                EmitNumber(out, conv, value, false, false, *f == u'u' ? 10 : 16, *f == u'X');
                break;
            }
            case u'p': {
                conv.precision = 2 * sizeof(void*);
                conv.alt = false;
                EmitNumber(out, conv, reinterpret_cast<uintptr_t>(va_arg(args, void*)), false, false, 16, true);
                break;
            }
            case u's':
                if (narrow)
                    EmitText(out, conv, va_arg(args, const char*));
                else
                    EmitText(out, conv, va_arg(args, const WCHAR*));
                break;
            case u'S':
                if (wide)
                    EmitText(out, conv, va_arg(args, const WCHAR*));
                else
                    EmitText(out, conv, va_arg(args, const char*));
                break;
            case u'c':
            case u'C': {
                int value = va_arg(args, int);
                bool asNarrow = *f == u'c' ? narrow : !wide;
                EmitChar(out, conv,
                         asNarrow ? static_cast<WCHAR>(static_cast<unsigned char>(value)) : static_cast<WCHAR>(value));
                break;
            }
            case u'%':
                out.Put(u'%');
                break;
            case 0:
                // The format ends inside a conversion: what there is stands as text.
                out.Text(start, static_cast<size_t>(f - start));
                return;
            default:
                // Not a conversion of ours (%n among them): copied as it stands.
                out.Text(start, static_cast<size_t>(f - start) + 1);
                break;
        }
        ++f;
    }
}

}  // namespace

int wvsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, va_list arglist) {
    if (!lpOut) return 0;
    Output out(lpOut, kWsprintfLimit - 1);
    if (lpFmt) Format(out, lpFmt, arglist);
    lpOut[out.written()] = 0;
    return static_cast<int>(out.written());
}

int wsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, ...) {
    va_list args;
    va_start(args, lpFmt);
    int n = wvsprintfW(lpOut, lpFmt, args);
    va_end(args);
    return n;
}

int _vsnwprintf(WCHAR* buffer, size_t count, const WCHAR* format, va_list argptr) {
    if (!format || (!buffer && count)) return -1;
    Output out(buffer, count);
    Format(out, format, argptr);
    uint64_t needed = out.needed();
    if (needed > count || needed > INT_MAX) return -1;
    // Exactly filled: the platform's C library leaves the text unterminated.
    if (needed < count) buffer[needed] = 0;
    return static_cast<int>(needed);
}

int _snwprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    int n = _vsnwprintf(buffer, count, format, args);
    va_end(args);
    return n;
}
