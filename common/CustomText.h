// The user's own text for a delivered report, with the contact's name put
// in its place. The text is under the user's control, so it is never used
// as a format: only the first "@" counts, and
//   - when it is followed by "s", those two characters are replaced by name;
//   - when it is followed by anything else, ends the text, or the text has
//     no "@" at all, the text is used unchanged;
//   - every other character, "%" and any later "@s" included, is copied as
//     it stands.
// Nothing but the one name is read, and nothing is written beyond the
// result. The rule client and the settings program's preview both use it.
#pragma once

#include "WString.h"

#include <windows.h>

// A new string; a null name counts as empty. When memory runs out the
// result has no text (Text() is null).
WString FormatCustomText(const WString& customText, LPCWSTR name);
