// Operations on the message store shared by the rule and the bubble. Each
// turns a failed MAPI call (a negative HRESULT) into a thrown
// CMapiException with a fixed text; warnings count as success.
#pragma once

#include "Exceptions.h"
#include "MapiBuffer.h"

#include <cemapi.h>

// The text of a string property value; null for a value of another type,
// such as the error value of a property the object lacks.
inline LPCWSTR StringValue(const SPropValue* value) {
    return value && PROP_TYPE(value->ulPropTag) == PT_UNICODE ? value->Value.lpszW : nullptr;
}

// One property of an object; the value is the caller's (MAPIFreeBuffer).
// A property the object lacks comes back as a PT_ERROR value.
LPSPropValue GetMessageProp(IMAPIProp* object, ULONG tag);
// count properties, in the order given.
LPSPropValue GetMessageProps(IMAPIProp* object, ULONG count, const ULONG* tags);
LPSPropValue GetStoreProp(IMsgStore* store, ULONG tag);

void MarkMessageRead(IMessage* message);
// The Deleted Items folder, a reference for the caller; null when the store
// names none.
IMAPIFolder* OpenDeletedItems(IMsgStore* store);
// Moves the message into destination. With releaseDestination the folder's
// reference is given up whatever happens.
void MoveMessage(IMsgStore* store, IMessage* message, IMAPIFolder* destination, BOOL releaseDestination);
// Unread messages of the store's receive folder.
LONG CountUnread(IMsgStore* store);
