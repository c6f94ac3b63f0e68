// Property values as the store keeps them, and the SPropValue arrays that
// GetProps and QueryRows hand out.
#pragma once

#include <mapidefs.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cemapi {

// One property of an object: integers, booleans and times in number;
// strings (without their terminator), binaries, GUIDs and floating-point
// values as their bytes.
struct Prop {
    ULONG tag = 0;
    int64_t number = 0;
    std::vector<uint8_t> bytes;
};

Prop LongProp(ULONG tag, LONG value);
Prop BinaryProp(ULONG tag, const std::vector<BYTE>& bytes);
Prop StringProp(ULONG tag, std::u16string_view text);
Prop TimeProp(ULONG tag, FILETIME time);
std::u16string TextOf(const Prop& prop);
FILETIME TimeOf(const Prop& prop);

// The stored form of a caller's value; false, with the reason in *problem,
// for a value the store cannot keep (a multi-valued or object type, a null
// string).
bool FromPropValue(const SPropValue& value, Prop* out, SCODE* problem);
bool SameValue(const Prop& a, const Prop& b);
const Prop* FindProp(std::span<const Prop> props, ULONG propId);

// Answers GetProps from the values an object has: one value per requested
// tag (every value when tags is null), each missing one as PT_ERROR with
// MAPI_E_NOT_FOUND, and then MAPI_W_ERRORS_RETURNED. A tag of type
// PT_UNSPECIFIED takes the stored type; any other type must match it. The
// values are one MAPIAllocateBuffer block, strings and binaries linked to it.
HRESULT AnswerProps(std::span<const Prop> available, const SPropTagArray* tags, ULONG* count, LPSPropValue* values);
HRESULT AnswerPropList(const std::vector<Prop>& available, LPSPropTagArray* list);

// A copy of a tag array in one MAPIAllocateBuffer block.
HRESULT CopyTagArray(const std::vector<ULONG>& tags, LPSPropTagArray* out);

}  // namespace cemapi
