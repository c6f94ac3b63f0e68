// Text put into an HTML page: the characters that would act as markup are
// written as entities, so that a text from a stranger is only ever text.
#pragma once

#include "WString.h"

#include <windows.h>

// The entity c must be written as (& < > " '), or null for a plain character.
LPCWSTR HtmlEntityOf(WCHAR c);

// text with every such character written as its entity; a null text gives
// an empty string, and so does a lack of memory (never the raw text).
WString EscapeHtml(LPCWSTR text);
