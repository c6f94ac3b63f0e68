// phone rewrite: what the rule client makes of a text under the device's
// settings and contacts — the text written back into the message, and the
// HTML with telephone links that it hands to the bubble.
#include "Cli.h"

#include "MessageText.h"
#include "Settings.h"

#include <coredll_host.h>
#include <objbase.h>

#include <cstdio>

namespace phone {

namespace {
std::u16string TextOf(const WString& text) {
    return text.Text() ? std::u16string(text.Text(), static_cast<size_t>(text.Length())) : std::u16string();
}
}  // namespace

int RunRewrite(Args& args) {
    bool report = args.TakeFlag("--report");
    bool failed = args.TakeFlag("--failed");
    args.ExpectAtMost(1);
    std::u16string text = host::FromUtf8(args.at(0, "message text"));
    OpenDeviceOrFail(args.device);

    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Settings settings;
    LoadSettings(settings);
    // The classes the inbox service gives a report and a failed report.
    const MessageKind kind = KindOfMessage(
        report ? (failed ? TEXT("REPORT.IPM.SMStext.NDR") : TEXT("REPORT.IPM.SMStext.DR")) : TEXT("IPM.SMStext"));
    WString stored;
    RewriteStoredText(text.c_str(), settings, kind, &stored);
    WString html = BubbleText(stored, settings);
    CoUninitialize();

    std::printf("stored: %s\nbubble: %s\n", host::ToUtf8(TextOf(stored)).c_str(), host::ToUtf8(TextOf(html)).c_str());
    return kExitOk;
}

}  // namespace phone
