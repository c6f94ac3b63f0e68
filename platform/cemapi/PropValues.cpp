#include "PropValues.h"

#include <coredll_host.h>
#include <mapiutil.h>

#include <algorithm>
#include <cstring>

namespace cemapi {

namespace {

bool IsNumberType(ULONG type) {
    switch (type) {
        case PT_I2:
        case PT_LONG:
        case PT_BOOLEAN:
        case PT_I8:
        case PT_CURRENCY:
        case PT_SYSTIME:
            return true;
        default:
            return false;
    }
}

std::vector<uint8_t> RawBytes(const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(p, p + size);
}

HRESULT LinkedCopy(const void* data, size_t size, size_t terminator, LPVOID parent, void** out) {
    void* block = nullptr;
    HRESULT hr = MAPIAllocateMore(static_cast<ULONG>(size + terminator), parent, &block);
    if (FAILED(hr)) return hr;
    if (size) std::memcpy(block, data, size);
    if (terminator) std::memset(static_cast<uint8_t*>(block) + size, 0, terminator);
    *out = block;
    return S_OK;
}

// Fills *out (inside the block parent) from a stored value.
HRESULT ToPropValue(const Prop& prop, LPVOID parent, SPropValue* out) {
    out->ulPropTag = prop.tag;
    out->dwAlignPad = 0;
    switch (PROP_TYPE(prop.tag)) {
        case PT_I2:
            out->Value.i = static_cast<short>(prop.number);
            return S_OK;
        case PT_LONG:
            out->Value.l = static_cast<LONG>(prop.number);
            return S_OK;
        case PT_BOOLEAN:
            out->Value.b = prop.number ? 1 : 0;
            return S_OK;
        case PT_I8:
            out->Value.li.QuadPart = prop.number;
            return S_OK;
        case PT_CURRENCY:
            out->Value.cur.int64 = prop.number;
            return S_OK;
        case PT_SYSTIME:
            out->Value.ft = TimeOf(prop);
            return S_OK;
        case PT_R4:
            out->Value.flt = 0;
            std::memcpy(&out->Value.flt, prop.bytes.data(), std::min(prop.bytes.size(), sizeof(float)));
            return S_OK;
        case PT_DOUBLE:
        case PT_APPTIME:
            out->Value.dbl = 0;
            std::memcpy(&out->Value.dbl, prop.bytes.data(), std::min(prop.bytes.size(), sizeof(double)));
            return S_OK;
        case PT_UNICODE: {
            void* text = nullptr;
            HRESULT hr = LinkedCopy(prop.bytes.data(), prop.bytes.size() & ~size_t{1}, sizeof(WCHAR), parent, &text);
            out->Value.lpszW = static_cast<LPWSTR>(text);
            return hr;
        }
        case PT_STRING8: {
            void* text = nullptr;
            HRESULT hr = LinkedCopy(prop.bytes.data(), prop.bytes.size(), 1, parent, &text);
            out->Value.lpszA = static_cast<LPSTR>(text);
            return hr;
        }
        case PT_BINARY: {
            void* data = nullptr;
            HRESULT hr = LinkedCopy(prop.bytes.data(), prop.bytes.size(), 0, parent, &data);
            out->Value.bin.cb = static_cast<ULONG>(prop.bytes.size());
            out->Value.bin.lpb = static_cast<LPBYTE>(data);
            return hr;
        }
        case PT_CLSID: {
            void* guid = nullptr;
            GUID value{};
            std::memcpy(&value, prop.bytes.data(), std::min(prop.bytes.size(), sizeof value));
            HRESULT hr = LinkedCopy(&value, sizeof value, 0, parent, &guid);
            out->Value.lpguid = static_cast<LPGUID>(guid);
            return hr;
        }
        default:
            out->ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(prop.tag));
            out->Value.err = MAPI_E_NOT_FOUND;
            return S_OK;
    }
}

void SetError(ULONG tag, SCODE error, SPropValue* out) {
    out->ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(tag));
    out->dwAlignPad = 0;
    out->Value.err = error;
}

}  // namespace

Prop LongProp(ULONG tag, LONG value) { return Prop{tag, value, {}}; }

Prop BinaryProp(ULONG tag, const std::vector<BYTE>& bytes) { return Prop{tag, 0, bytes}; }

Prop StringProp(ULONG tag, std::u16string_view text) {
    return Prop{tag, 0, RawBytes(text.data(), text.size() * sizeof(char16_t))};
}

Prop TimeProp(ULONG tag, FILETIME time) {
    uint64_t value = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return Prop{tag, static_cast<int64_t>(value), {}};
}

std::u16string TextOf(const Prop& prop) {
    std::u16string text(prop.bytes.size() / 2, u'\0');
    if (!text.empty()) std::memcpy(text.data(), prop.bytes.data(), text.size() * 2);
    return text;
}

FILETIME TimeOf(const Prop& prop) {
    uint64_t value = static_cast<uint64_t>(prop.number);
    return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

bool FromPropValue(const SPropValue& value, Prop* out, SCODE* problem) {
    *out = Prop{value.ulPropTag, 0, {}};
    const ULONG type = PROP_TYPE(value.ulPropTag);
    switch (type) {
        case PT_I2:
            out->number = value.Value.i;
            return true;
        case PT_LONG:
            out->number = value.Value.l;
            return true;
        case PT_BOOLEAN:
            out->number = value.Value.b ? 1 : 0;
            return true;
        case PT_I8:
            out->number = value.Value.li.QuadPart;
            return true;
        case PT_CURRENCY:
            out->number = value.Value.cur.int64;
            return true;
        case PT_SYSTIME:
            *out = TimeProp(value.ulPropTag, value.Value.ft);
            return true;
        case PT_R4:
            out->bytes = RawBytes(&value.Value.flt, sizeof(float));
            return true;
        case PT_DOUBLE:
        case PT_APPTIME:
            out->bytes = RawBytes(&value.Value.dbl, sizeof(double));
            return true;
        case PT_UNICODE:
            if (!value.Value.lpszW) break;
            out->bytes = RawBytes(value.Value.lpszW,
                                  std::char_traits<char16_t>::length(value.Value.lpszW) * sizeof(char16_t));
            return true;
        case PT_STRING8:
            if (!value.Value.lpszA) break;
            out->bytes = RawBytes(value.Value.lpszA, std::strlen(value.Value.lpszA));
            return true;
        case PT_BINARY:
            if (value.Value.bin.cb && !value.Value.bin.lpb) break;
            out->bytes = RawBytes(value.Value.bin.lpb, value.Value.bin.cb);
            return true;
        case PT_CLSID:
            if (!value.Value.lpguid) break;
            out->bytes = RawBytes(value.Value.lpguid, sizeof(GUID));
            return true;
        default:
            *problem = MAPI_E_INVALID_TYPE;
            return false;
    }
    *problem = MAPI_E_INVALID_PARAMETER;
    return false;
}

bool SameValue(const Prop& a, const Prop& b) {
    if (a.tag != b.tag) return false;
    return IsNumberType(PROP_TYPE(a.tag)) ? a.number == b.number : a.bytes == b.bytes;
}

const Prop* FindProp(std::span<const Prop> props, ULONG propId) {
    for (const Prop& prop : props)
        if (PROP_ID(prop.tag) == propId) return &prop;
    return nullptr;
}

HRESULT AnswerProps(std::span<const Prop> available, const SPropTagArray* tags, ULONG* count, LPSPropValue* values) {
    const size_t wanted = tags ? tags->cValues : available.size();
    LPSPropValue out = nullptr;
    HRESULT hr = MAPIAllocateBuffer(static_cast<ULONG>(sizeof(SPropValue) * std::max<size_t>(wanted, 1)),
                                    reinterpret_cast<LPVOID*>(&out));
    if (FAILED(hr)) return hr;
    bool errors = false;
    for (size_t i = 0; i < wanted; ++i) {
        const ULONG tag = tags ? tags->aulPropTag[i] : available[i].tag;
        const Prop* prop = FindProp(available, PROP_ID(tag));
        if (prop && PROP_TYPE(tag) != PT_UNSPECIFIED && PROP_TYPE(tag) != PROP_TYPE(prop->tag)) prop = nullptr;
        long injected = MAPI_E_NOT_FOUND;
        if (!prop || host::ShouldFail("SPropValue", &injected)) {
            SetError(tag, prop ? static_cast<SCODE>(injected) : MAPI_E_NOT_FOUND, &out[i]);
            errors = true;
            continue;
        }
        hr = ToPropValue(*prop, out, &out[i]);
        if (FAILED(hr)) {
            MAPIFreeBuffer(out);
            return hr;
        }
    }
    *count = static_cast<ULONG>(wanted);
    *values = out;
    return errors ? MAPI_W_ERRORS_RETURNED : S_OK;
}

HRESULT CopyTagArray(const std::vector<ULONG>& tags, LPSPropTagArray* out) {
    LPSPropTagArray array = nullptr;
    HRESULT hr = MAPIAllocateBuffer(static_cast<ULONG>(CbNewSPropTagArray(tags.size())),
                                    reinterpret_cast<LPVOID*>(&array));
    if (FAILED(hr)) return hr;
    array->cValues = static_cast<ULONG>(tags.size());
    ULONG* slots = array->aulPropTag;
    for (size_t i = 0; i < tags.size(); ++i) slots[i] = tags[i];
    *out = array;
    return S_OK;
}

HRESULT AnswerPropList(const std::vector<Prop>& available, LPSPropTagArray* list) {
    std::vector<ULONG> tags;
    for (const Prop& prop : available) tags.push_back(prop.tag);
    return CopyTagArray(tags, list);
}

}  // namespace cemapi
