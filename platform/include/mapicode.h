// MAPI result codes.
#pragma once

#include <winerror.h>

#define MAKE_MAPI_SCODE(sev, fac, code) ((SCODE)(((uint32_t)(sev) << 31) | ((uint32_t)(fac) << 16) | ((uint32_t)(code))))
#define MAKE_MAPI_E(err) (MAKE_MAPI_SCODE(1, FACILITY_ITF, err))
#define MAKE_MAPI_S(warn) (MAKE_MAPI_SCODE(0, FACILITY_ITF, warn))

#define SUCCESS_SUCCESS 0L

#define MAPI_E_CALL_FAILED              E_FAIL
#define MAPI_E_NOT_ENOUGH_MEMORY        E_OUTOFMEMORY
#define MAPI_E_INVALID_PARAMETER        E_INVALIDARG
#define MAPI_E_INTERFACE_NOT_SUPPORTED  E_NOINTERFACE
#define MAPI_E_NO_ACCESS                E_ACCESSDENIED

#define MAPI_E_NO_SUPPORT               MAKE_MAPI_E(0x102)
#define MAPI_E_BAD_CHARWIDTH            MAKE_MAPI_E(0x103)
#define MAPI_E_STRING_TOO_LONG          MAKE_MAPI_E(0x105)
#define MAPI_E_UNKNOWN_FLAGS            MAKE_MAPI_E(0x106)
#define MAPI_E_INVALID_ENTRYID          MAKE_MAPI_E(0x107)
#define MAPI_E_INVALID_OBJECT           MAKE_MAPI_E(0x108)
#define MAPI_E_OBJECT_CHANGED           MAKE_MAPI_E(0x109)
#define MAPI_E_OBJECT_DELETED           MAKE_MAPI_E(0x10A)
#define MAPI_E_BUSY                     MAKE_MAPI_E(0x10B)
#define MAPI_E_NOT_ENOUGH_DISK          MAKE_MAPI_E(0x10D)
#define MAPI_E_NOT_ENOUGH_RESOURCES     MAKE_MAPI_E(0x10E)
#define MAPI_E_NOT_FOUND                MAKE_MAPI_E(0x10F)
#define MAPI_E_VERSION                  MAKE_MAPI_E(0x110)
#define MAPI_E_LOGON_FAILED             MAKE_MAPI_E(0x111)
#define MAPI_E_TOO_COMPLEX              MAKE_MAPI_E(0x117)
#define MAPI_E_COMPUTED                 MAKE_MAPI_E(0x11A)
#define MAPI_E_CORRUPT_DATA             MAKE_MAPI_E(0x11B)
#define MAPI_E_UNCONFIGURED             MAKE_MAPI_E(0x11C)
#define MAPI_E_BAD_VALUE                MAKE_MAPI_E(0x301)
#define MAPI_E_INVALID_TYPE             MAKE_MAPI_E(0x302)
#define MAPI_E_TYPE_NO_SUPPORT          MAKE_MAPI_E(0x303)
#define MAPI_E_UNEXPECTED_TYPE          MAKE_MAPI_E(0x304)
#define MAPI_E_TOO_BIG                  MAKE_MAPI_E(0x305)
#define MAPI_E_DECLINE_COPY             MAKE_MAPI_E(0x306)
#define MAPI_E_UNEXPECTED_ID            MAKE_MAPI_E(0x307)
#define MAPI_E_UNABLE_TO_COMPLETE       MAKE_MAPI_E(0x400)
#define MAPI_E_TABLE_EMPTY              MAKE_MAPI_E(0x402)
#define MAPI_E_TABLE_TOO_BIG            MAKE_MAPI_E(0x403)
#define MAPI_E_INVALID_BOOKMARK         MAKE_MAPI_E(0x405)
#define MAPI_E_NOT_INITIALIZED          MAKE_MAPI_E(0x605)
#define MAPI_E_COLLISION                MAKE_MAPI_E(0x604)

#define MAPI_W_ERRORS_RETURNED          MAKE_MAPI_S(0x380)
#define MAPI_W_PARTIAL_COMPLETION       MAKE_MAPI_S(0x680)
