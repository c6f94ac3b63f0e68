// The platform's dialog manager over a template made from the input: the
// input is placed at the very end of a dialog resource, so that the
// template reader knows where it ends and any read past it is caught. The
// template makes a modeless dialog and a modal one; each takes Down, Down,
// Up and Tab, the modeless one is painted when it is visible, and WM_QUIT
// (queued before the modal loop starts) ends the modal one. The predefined
// controls, the HTML view and the up-down control are there for templates
// to name.
#include "FuzzCheck.h"
#include "FuzzDevice.h"
#include "TemplateResource.h"

#include <commctrl.h>
#include <htmlctrl.h>
#include <screen_host.h>

#include <cstring>

namespace {

BYTE* g_resource = nullptr;

INT_PTR CALLBACK KeysThenQuit(HWND dlg, UINT msg, WPARAM, LPARAM) {
    if (msg != WM_INITDIALOG) return FALSE;
    for (WPARAM vk : {VK_DOWN, VK_DOWN, VK_UP, VK_TAB}) PostMessageW(dlg, WM_KEYDOWN, vk, 1);
    return TRUE;
}

// Handles what is queued (the keys, paints) as a modeless dialog's loop
// does, then drops what is left: the WM_QUIT the modal loop passes on, or a
// paint nobody validates. Every input starts from an empty queue.
void Pump(HWND dlg) {
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) continue;
        if (dlg && IsDialogMessageW(dlg, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::UseTemporaryDevice();
    host::SetScreenProfile({240, 320, 131});
    HINSTANCE program = GetModuleHandleW(nullptr);
    FUZZ_CHECK(InitHTMLControl(program));
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS};
    FUZZ_CHECK(InitCommonControlsEx(&classes));
    g_resource = fuzz::OpenTemplateResource();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // Templates are DWORD-aligned: the input, padded with zeros to whole
    // DWORDs, ends where the resource ends.
    const size_t used = size < fuzz::kTemplateSize ? size : fuzz::kTemplateSize;
    const size_t padded = (used + 3) & ~size_t(3);
    BYTE* start = g_resource + fuzz::kTemplateSize - padded;
    std::memcpy(start, data, used);
    std::memset(start + used, 0, padded - used);
    auto tmpl = reinterpret_cast<LPCDLGTEMPLATEW>(start);
    HINSTANCE program = GetModuleHandleW(nullptr);

    if (HWND dlg = CreateDialogIndirectParamW(program, tmpl, nullptr, KeysThenQuit, 0)) {
        Pump(dlg);
        DestroyWindow(dlg);
    }
    Pump(nullptr);

    PostQuitMessage(0);
    DialogBoxIndirectParamW(program, tmpl, nullptr, KeysThenQuit, 0);
    Pump(nullptr);
    return 0;
}
