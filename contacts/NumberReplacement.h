// The replacement of phone numbers by contact names in a message's text,
// before the rule writes the text back into the message. Each number the
// finder yields is looked up in the contact store; a number that belongs to
// a contact becomes its display name, any other stays as written. So does
// a number of a contact with no name part to show while ShowNumber is
// off: the kind's suffix alone would take the number's place and lose it.
// The rewritten text grows by at most 65,536 characters: a number whose
// name would take it further ends the pass, and it and the numbers after
// it stay as written. The cost is linear in the message and the result.
#pragma once

#include "Settings.h"

#include <windows.h>

// TRUE with a new LocalAlloc'd text in *newText (the caller LocalFree's it)
// when at least one number was replaced; FALSE with *newText null when
// nothing was, when the contact store cannot be reached, or on bad input.
//
// For a successful delivery report (deliveredReport) with UseCustomText set
// and a CustomText that is not empty, the first number that names a contact
// replaces the whole text by the custom text with the display name in it
// (FormatCustomText) and ends the pass. An empty CustomText counts as
// UseCustomText clear: the number is replaced in place. The settings record
// is not changed.
//
// Runs on the caller's thread, which must have initialised COM; one
// connection to the contact store is opened only when the text holds a
// number, and closed before returning.
BOOL ReplaceNumbersWithNames(LPCWSTR text, Settings& settings, LPWSTR* newText, BOOL deliveredReport);
