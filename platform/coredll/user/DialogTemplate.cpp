// Reading a classic dialog template: one cursor that knows the template's
// alignment rules (strings on WORDs, items on DWORDs) and never reads past
// the end it was given.
#include "user/Dialog.h"

#include <cstdint>
#include <cstring>

namespace dialog {

namespace {

// No template has more items than this; a count above it is garbage.
const WORD kMaxItems = 4096;
// Names and texts are cut there; a longer run without a NUL is garbage.
const size_t kMaxString = 32768;

class Cursor {
public:
    Cursor(const BYTE* start, size_t limit) : start_(start), limit_(limit) {}

    bool Word(WORD* value) {
        if (!Has(2)) return false;
        std::memcpy(value, start_ + at_, 2);
        at_ += 2;
        return true;
    }
    bool Dword(DWORD* value) {
        if (!Has(4)) return false;
        std::memcpy(value, start_ + at_, 4);
        at_ += 4;
        return true;
    }
    bool Short(short* value) {
        WORD w;
        if (!Word(&w)) return false;
        *value = static_cast<short>(w);
        return true;
    }
    bool String(std::u16string* text) {
        text->clear();
        for (;;) {
            WORD c;
            if (!Word(&c)) return false;
            if (!c) return true;
            if (text->size() >= kMaxString) return false;
            text->push_back(static_cast<char16_t>(c));
        }
    }
    bool Name(NameOrOrdinal* name) {
        WORD first;
        if (!Word(&first)) return false;
        if (first == 0xFFFF) {
            name->isOrdinal = true;
            return Word(&name->ordinal);
        }
        name->isOrdinal = false;
        if (!first) return true;
        at_ -= 2;
        return String(&name->text);
    }
    bool AlignDword() {
        size_t aligned = (at_ + 3) & ~size_t(3);
        if (aligned > limit_) return false;
        at_ = aligned;
        return true;
    }
    bool Skip(size_t bytes) {
        if (!Has(bytes)) return false;
        at_ += bytes;
        return true;
    }
    const BYTE* Here() const { return start_ + at_; }

private:
    bool Has(size_t bytes) const { return at_ <= limit_ && bytes <= limit_ - at_; }

    const BYTE* start_;
    size_t limit_;
    size_t at_ = 0;
};

bool ReadItem(Cursor& c, ItemTemplate* item) {
    if (!c.AlignDword()) return false;
    if (!c.Dword(&item->style) || !c.Dword(&item->exStyle) || !c.Short(&item->x) || !c.Short(&item->y) ||
        !c.Short(&item->cx) || !c.Short(&item->cy) || !c.Word(&item->id))
        return false;
    if (!c.Name(&item->cls) || !c.Name(&item->title)) return false;
    // A class must be named; an empty title is allowed.
    if (!item->cls.isOrdinal && item->cls.text.empty()) return false;
    const BYTE* sizeField = c.Here();
    WORD extra;
    if (!c.Word(&extra)) return false;
    // In a classic template the size counts the size field itself; 0 means
    // no data.
    if (extra < 2) {
        item->creationData = nullptr;
        return true;
    }
    item->creationData = sizeField;
    return c.Skip(extra - 2u);
}

}  // namespace

LPCWSTR NameOrOrdinal::AsClass() const {
    if (isOrdinal) {
        LPCWSTR known = PredefinedClass(ordinal);
        return known ? known : MAKEINTATOM(ordinal);
    }
    return text.c_str();
}

LPCWSTR PredefinedClass(WORD ordinal) {
    switch (ordinal) {
        case 0x0080:
            return u"Button";
        case 0x0081:
            return u"Edit";
        case 0x0082:
            return u"Static";
        case 0x0083:
            return u"ListBox";
        case 0x0084:
            return u"ScrollBar";
        case 0x0085:
            return u"ComboBox";
        default:
            return nullptr;
    }
}

bool ParseTemplate(const BYTE* data, size_t limit, Template* out) {
    if (!data) return false;
    Cursor c(data, limit);
    WORD count = 0;
    if (!c.Dword(&out->style) || !c.Dword(&out->exStyle) || !c.Word(&count) || !c.Short(&out->x) || !c.Short(&out->y) ||
        !c.Short(&out->cx) || !c.Short(&out->cy))
        return false;
    // An extended template opens with the version 1 and 0xFFFF in place of
    // the style; this platform's dialogs use the classic one only.
    if (LOWORD(out->style) == 1 && HIWORD(out->style) == 0xFFFF) return false;
    if (count > kMaxItems) return false;
    if (!c.Name(&out->menu) || !c.Name(&out->cls)) return false;
    if (!c.String(&out->title)) return false;
    if (out->style & DS_SETFONT) {
        if (!c.Word(&out->pointSize) || !c.String(&out->face)) return false;
    }
    out->items.clear();
    out->items.reserve(count);
    for (WORD i = 0; i < count; ++i) {
        ItemTemplate item;
        if (!ReadItem(c, &item)) return false;
        out->items.push_back(std::move(item));
    }
    return true;
}

}  // namespace dialog
