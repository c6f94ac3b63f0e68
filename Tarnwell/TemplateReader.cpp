#include "TemplateReader.h"

#include <string.h>

bool TemplateReader::Has(DWORD bytes) {
    if (!failed_ && size_ - offset_ >= bytes && offset_ <= size_) return true;
    failed_ = true;
    return false;
}

WORD TemplateReader::Word() {
    WORD value = 0;
    if (!Has(sizeof value)) return 0;
    memcpy(&value, data_ + offset_, sizeof value);
    offset_ += sizeof value;
    return value;
}

DWORD TemplateReader::Dword() {
    DWORD value = 0;
    if (!Has(sizeof value)) return 0;
    memcpy(&value, data_ + offset_, sizeof value);
    offset_ += sizeof value;
    return value;
}

TemplateReader::NameOrOrdinal TemplateReader::Field() {
    NameOrOrdinal field = {false, 0, TEXT("")};
    DWORD start = offset_;
    WORD first = Word();
    if (failed_) return field;
    if (first == 0xFFFF) {
        field.isOrdinal = true;
        field.ordinal = Word();
        return field;
    }
    WORD ch = first;
    while (ch != 0 && !failed_) ch = Word();
    if (!failed_) field.text = reinterpret_cast<LPCWSTR>(data_ + start);
    return field;
}

void TemplateReader::Skip(DWORD bytes) {
    if (Has(bytes)) offset_ += bytes;
}
