// The HTML view over a page made from the input: added in two pieces as
// markup (or, when the first byte is odd, as plain text), laid out at
// every zoom level, painted, and its links walked with Down and Up and
// chosen with Action. The view's own links (host API) must be those it
// hands the parent when one is chosen.
#include "FuzzCheck.h"
#include "FuzzDevice.h"
#include "FuzzText.h"

#include <htmlctrl.h>
#include <htmlview_host.h>
#include <screen_host.h>

#include <string>
#include <vector>

namespace {

HWND g_parent = nullptr;
HWND g_view = nullptr;
std::vector<std::u16string> g_chosen;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == NM_HOTSPOT) {
            const NM_HTMLVIEW* notice = reinterpret_cast<const NM_HTMLVIEW*>(lParam);
            FUZZ_CHECK(notice->szTarget != nullptr && notice->szData != nullptr);
            g_chosen.push_back(notice->szTarget);
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Key(WPARAM vk) { SendMessageW(g_view, WM_KEYDOWN, vk, 1); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::UseTemporaryDevice();
    host::SetScreenProfile({240, 320, 131});
    FUZZ_CHECK(InitHTMLControl(GetModuleHandleW(nullptr)));
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = u"FuzzViewParent";
    FUZZ_CHECK(RegisterClassW(&wc));
    g_parent = CreateWindowExW(0, u"FuzzViewParent", u"parent", WS_VISIBLE, 0, 0, 240, 200, nullptr, nullptr, nullptr,
                               nullptr);
    g_view = CreateWindowExW(0, DISPLAYCLASS, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 232, 92, g_parent, nullptr, nullptr,
                             nullptr);
    FUZZ_CHECK(g_parent && g_view);
    return 0;
}

// Replayed as a test, the process ends normally: the view goes first, so
// that the leak checker sees its page freed.
extern "C" void FuzzReplayDone() { DestroyWindow(g_parent); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const WPARAM plain = data[0] & 1;
    std::u16string page = fuzz::TextOf(data + 1, size - 1);
    page = page.substr(0, page.find(u'\0'));
    const size_t half = page.size() / 2;

    SendMessageW(g_view, DTM_CLEAR, 0, 0);
    SendMessageW(g_view, DTM_ADDTEXTW, plain,
                 reinterpret_cast<LPARAM>(fuzz::ExactText(page.substr(0, half), true).get()));
    SendMessageW(g_view, DTM_ADDTEXTW, plain, reinterpret_cast<LPARAM>(fuzz::ExactText(page.substr(half), true).get()));
    SendMessageW(g_view, DTM_ENDOFSOURCE, 0, 0);
    for (int zoom : {0, 4, 2}) {
        SendMessageW(g_view, DTM_ZOOMLEVEL, 0, zoom);
        FUZZ_CHECK(SendMessageW(g_view, DTM_LAYOUTHEIGHT, 0, 0) >= 0);
    }
    InvalidateRect(g_view, nullptr, FALSE);
    UpdateWindow(g_view);

    const std::vector<std::u16string> links = host::HtmlViewLinks(g_view);
    g_chosen.clear();
    for (WPARAM vk : {VK_DOWN, VK_RETURN, VK_DOWN, VK_DOWN, VK_RETURN, VK_UP, VK_RETURN, VK_LEFT}) Key(vk);
    for (const std::u16string& target : g_chosen) {
        bool known = false;
        for (const std::u16string& link : links) known |= link == target;
        FUZZ_CHECK(known);
    }
    return 0;
}
