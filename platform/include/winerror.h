// Error codes of the platform: Win32 error numbers and HRESULTs.
#pragma once

#include <windef.h>

#define ERROR_SUCCESS                   0L
#define NO_ERROR                        0L
#define ERROR_INVALID_FUNCTION          1L
#define ERROR_FILE_NOT_FOUND            2L
#define ERROR_PATH_NOT_FOUND            3L
#define ERROR_ACCESS_DENIED             5L
#define ERROR_INVALID_HANDLE            6L
#define ERROR_NOT_ENOUGH_MEMORY         8L
#define ERROR_BAD_FORMAT                11L
#define ERROR_INVALID_DATA              13L
#define ERROR_OUTOFMEMORY               14L
#define ERROR_NOT_SUPPORTED             50L
#define ERROR_FILE_EXISTS               80L
#define ERROR_INVALID_PARAMETER         87L
#define ERROR_CALL_NOT_IMPLEMENTED      120L
#define ERROR_INSUFFICIENT_BUFFER       122L
#define ERROR_INVALID_NAME              123L
#define ERROR_MOD_NOT_FOUND             126L
#define ERROR_PROC_NOT_FOUND            127L
#define ERROR_BAD_PATHNAME              161L
#define ERROR_ALREADY_EXISTS            183L
#define ERROR_MORE_DATA                 234L
#define WAIT_TIMEOUT_ERROR              258L
#define ERROR_NO_MORE_ITEMS             259L
#define ERROR_MR_MID_NOT_FOUND          317L
#define ERROR_INVALID_ADDRESS           487L
#define ERROR_ARITHMETIC_OVERFLOW       534L
#define ERROR_BADDB                     1009L
#define ERROR_BADKEY                    1010L
#define ERROR_CANTOPEN                  1011L
#define ERROR_CANTREAD                  1012L
#define ERROR_CANTWRITE                 1013L
#define ERROR_REGISTRY_IO_FAILED        1016L
#define ERROR_KEY_DELETED               1018L
#define ERROR_NO_UNICODE_TRANSLATION    1113L
#define ERROR_DLL_INIT_FAILED           1114L
#define ERROR_INVALID_WINDOW_HANDLE     1400L
#define ERROR_INVALID_MENU_HANDLE       1401L
#define ERROR_WINDOW_OF_OTHER_THREAD    1408L
#define ERROR_HOTKEY_ALREADY_REGISTERED 1409L
#define ERROR_CLASS_ALREADY_EXISTS      1410L
#define ERROR_CLASS_DOES_NOT_EXIST      1411L
#define ERROR_CLASS_HAS_WINDOWS         1412L
#define ERROR_INVALID_INDEX             1413L
#define ERROR_CONTROL_ID_NOT_FOUND      1421L
#define ERROR_CANNOT_FIND_WND_CLASS     1407L
#define ERROR_HOTKEY_NOT_REGISTERED     1419L
#define ERROR_INVALID_THREAD_ID         1444L
#define ERROR_NO_SYSTEM_RESOURCES       1450L
#define ERROR_RESOURCE_DATA_NOT_FOUND   1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND   1813L
#define ERROR_RESOURCE_NAME_NOT_FOUND   1814L
#define ERROR_RESOURCE_LANG_NOT_FOUND   1815L
#define ERROR_INVALID_FLAGS             1004L
#define ERROR_TIMEOUT                   1460L

#define SEVERITY_SUCCESS 0
#define SEVERITY_ERROR   1
#define FACILITY_NULL    0
#define FACILITY_RPC     1
#define FACILITY_ITF     4
#define FACILITY_WIN32   7

#define SUCCEEDED(hr)                (((HRESULT)(hr)) >= 0)
#define FAILED(hr)                   (((HRESULT)(hr)) < 0)
#define HRESULT_CODE(hr)             ((hr)&0xFFFF)
#define HRESULT_FACILITY(hr)         (((hr) >> 16) & 0x1fff)
#define MAKE_HRESULT(sev, fac, code) ((HRESULT)(((uint32_t)(sev) << 31) | ((uint32_t)(fac) << 16) | ((uint32_t)(code))))
#define MAKE_SCODE(sev, fac, code)   MAKE_HRESULT(sev, fac, code)
#define HRESULT_FROM_WIN32(x) \
    ((HRESULT)(x) <= 0 ? ((HRESULT)(x)) : ((HRESULT)(((uint32_t)(x)&0x0000FFFF) | (FACILITY_WIN32 << 16) | 0x80000000)))

#define _HRESULT_TYPEDEF_(sc) ((HRESULT)(int32_t)(uint32_t)(sc))

#define S_OK                      ((HRESULT)0L)
#define S_FALSE                   ((HRESULT)1L)
#define NOERROR                   0
#define E_UNEXPECTED              _HRESULT_TYPEDEF_(0x8000FFFFL)
#define E_NOTIMPL                 _HRESULT_TYPEDEF_(0x80004001L)
#define E_NOINTERFACE             _HRESULT_TYPEDEF_(0x80004002L)
#define E_POINTER                 _HRESULT_TYPEDEF_(0x80004003L)
#define E_ABORT                   _HRESULT_TYPEDEF_(0x80004004L)
#define E_FAIL                    _HRESULT_TYPEDEF_(0x80004005L)
#define E_ACCESSDENIED            _HRESULT_TYPEDEF_(0x80070005L)
#define E_HANDLE                  _HRESULT_TYPEDEF_(0x80070006L)
#define E_OUTOFMEMORY             _HRESULT_TYPEDEF_(0x8007000EL)
#define E_INVALIDARG              _HRESULT_TYPEDEF_(0x80070057L)
#define CLASS_E_NOAGGREGATION     _HRESULT_TYPEDEF_(0x80040110L)
#define CLASS_E_CLASSNOTAVAILABLE _HRESULT_TYPEDEF_(0x80040111L)
#define REGDB_E_CLASSNOTREG       _HRESULT_TYPEDEF_(0x80040154L)
#define REGDB_E_READREGDB         _HRESULT_TYPEDEF_(0x80040150L)
#define CO_E_NOTINITIALIZED       _HRESULT_TYPEDEF_(0x800401F0L)
#define CO_E_DLLNOTFOUND          _HRESULT_TYPEDEF_(0x800401F8L)
#define CO_E_ERRORINDLL           _HRESULT_TYPEDEF_(0x800401F9L)
#define CO_E_CLASSSTRING          _HRESULT_TYPEDEF_(0x800401F3L)
#define SELFREG_E_CLASS           _HRESULT_TYPEDEF_(0x80040201L)
#define DISP_E_MEMBERNOTFOUND     _HRESULT_TYPEDEF_(0x80020003L)
