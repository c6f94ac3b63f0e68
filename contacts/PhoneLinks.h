// Telephone links for the bubble: every number left in a message's text is
// wrapped in an anchor with a "tel:" target, so that choosing it places a
// call. The result is HTML shown to the user, and the text comes from
// strangers, so everything the text contributes is escaped: the anchors are
// the only markup in it.
#pragma once

#include "Settings.h"

#include <windows.h>

// TRUE with a new LocalAlloc'd HTML text in *newText (the caller LocalFree's
// it) when a link was made or a character of the text had to be escaped
// (& < > " ' as &amp; &lt; &gt; &quot; &#39;); FALSE with *newText null when
// the text needs neither and is safe as it stands, or on bad input.
//
// Numbers are found in the text as written, with PhoneNumLen as the minimum
// length; each becomes <a href='tel:N' name='telK'>N</a>, N the number's
// characters as written and K its place in the text counting from 1.
BOOL LinkPhoneNumbers(LPCWSTR text, const Settings& settings, LPWSTR* newText);
