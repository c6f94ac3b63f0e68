// The display name that replaces a number belonging to a contact, built
// under the user's settings: the name, the kind of the matched number and
// the number itself, as in "Dovanne Mirela,m (8 916 123 45 67)".
#pragma once

#include "Settings.h"
#include "TextBuffer.h"

#include <windows.h>
#include <pimstore.h>

// The short suffix for the phone property that matched (",m" for mobile,
// ",b" for business, ...); null for any other property.
LPCWSTR NumberTypeSuffix(CEPROPID propId);

// Appends the name part: the contact's FileAs when useFileAs is set (as it
// stands, even empty); otherwise last and first name in the chosen order,
// separated by a space only when both are there; the company name when
// both are empty. False when memory ran out.
bool FormatContactName(IContact* contact, BOOL lastNameFirst, BOOL useFileAs, TextBuffer& name);

// Appends the whole display name: the name part, the type suffix
// (AppendNumberType) and " (number)" with the number's characters as
// written (ShowNumber). An empty name part with ShowNumber clear appends
// nothing, not even the suffix. False when memory ran out.
bool BuildDisplayName(IContact* contact, CEPROPID propId, LPCWSTR number, int numberLength, const Settings& settings,
                      TextBuffer& displayName);
