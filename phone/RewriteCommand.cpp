// phone rewrite: what the rule client makes of a text under the device's
// settings and contacts — the text written back into the message, and the
// HTML with telephone links that it hands to the bubble.
#include "Cli.h"

#include "LocalText.h"
#include "NumberReplacement.h"
#include "PhoneLinks.h"
#include "Settings.h"

#include <coredll_host.h>
#include <objbase.h>

#include <cstdio>

namespace phone {

int RunRewrite(Args& args) {
    bool report = args.TakeFlag("--report");
    bool failed = args.TakeFlag("--failed");
    args.ExpectAtMost(1);
    std::u16string text = host::FromUtf8(args.at(0, "message text"));
    OpenDeviceOrFail(args.device);

    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Settings settings;
    LoadSettings(settings);
    LocalText rewritten, linked;
    BOOL delivered = report && !failed ? TRUE : FALSE;
    std::u16string stored = text;
    if (ReplaceNumbersWithNames(text.c_str(), settings, rewritten.Receive(), delivered)) stored = rewritten.Get();
    std::u16string html = stored;
    if (LinkPhoneNumbers(stored.c_str(), settings, linked.Receive())) html = linked.Get();
    CoUninitialize();

    std::printf("stored: %s\nbubble: %s\n", host::ToUtf8(stored).c_str(), host::ToUtf8(html).c_str());
    return kExitOk;
}

}  // namespace phone
