// GUIDs and their comparison.
#pragma once

#include <windef.h>
#include <string.h>

typedef struct _GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} GUID;

typedef GUID IID;
typedef GUID CLSID;
typedef GUID* LPGUID;
typedef IID* LPIID;
typedef const IID* LPCIID;
typedef CLSID* LPCLSID;

#ifdef __cplusplus
#define REFGUID  const GUID&
#define REFIID   const IID&
#define REFCLSID const CLSID&
inline bool IsEqualGUID(REFGUID a, REFGUID b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
inline bool operator!=(REFGUID a, REFGUID b) { return !IsEqualGUID(a, b); }
#else
#define REFGUID           const GUID*
#define REFIID            const IID*
#define REFCLSID          const CLSID*
#define IsEqualGUID(a, b) (!memcmp((a), (b), sizeof(GUID)))
#endif
#define IsEqualIID(a, b)   IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)

// DEFINE_GUID defines the identifier where INITGUID is defined and only
// declares it elsewhere; the headers of this SDK give each identifier as
// an inline constant instead, so either way works.
#ifdef __cplusplus
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    inline constexpr GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#endif
