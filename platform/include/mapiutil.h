// MAPI memory and row-set helpers.
#pragma once

#include <mapidefs.h>

#ifdef __cplusplus
extern "C" {
#endif

// A buffer freed with MAPIFreeBuffer; blocks from MAPIAllocateMore are
// linked to their parent and freed with it.
SCODE WINAPI MAPIAllocateBuffer(ULONG cbSize, LPVOID* lppBuffer);
SCODE WINAPI MAPIAllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer);
ULONG WINAPI MAPIFreeBuffer(LPVOID lpBuffer);

// Frees every row's property values, then the row set.
void WINAPI FreeProws(LPSRowSet lpRows);

#ifdef __cplusplus
}
#endif
