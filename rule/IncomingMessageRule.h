// The rule run for every incoming text message: settings, screen, sorting,
// number rewriting, delivery reports, and the bubble decision.
#pragma once

#include <cemapi.h>

// Always S_OK; what was done is told through the two out-parameters, which
// are written only on the paths that decide them.
HRESULT ProcessIncomingMessage(IMsgStore* store, ULONG cbMsg, LPENTRYID lpMsg, ULONG* pulEventType,
                               MRCHANDLED* pHandled);
