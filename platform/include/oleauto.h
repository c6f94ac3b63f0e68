// BSTR, the length-prefixed strings of automation interfaces.
#pragma once

#include <windef.h>

typedef WCHAR OLECHAR;
typedef OLECHAR* BSTR;
typedef const OLECHAR* LPCOLESTR;
typedef OLECHAR* LPOLESTR;
typedef short VARIANT_BOOL;
#define VARIANT_TRUE  ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)
typedef double DATE;

#ifdef __cplusplus
extern "C" {
#endif

BSTR WINAPI SysAllocString(const OLECHAR* psz);
BSTR WINAPI SysAllocStringLen(const OLECHAR* pch, UINT cch);
void WINAPI SysFreeString(BSTR bstr);
UINT WINAPI SysStringLen(BSTR bstr);

#ifdef __cplusplus
}
#endif
