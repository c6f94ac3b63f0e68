// The settings program's template walker (TemplateReader, through
// ApplyTemplateLayout, which moves and re-labels a dialog's controls after
// another template) over a template made from the input. The input opens
// a dialog resource of the program, zeros fill the rest of it, and a read
// past the resource's end is caught. The dialog laid out is made from the
// same template when the dialog manager takes it, else from a fixed
// template of the settings dialog's kinds of control.
#include "../Tarnwell/ApplyTemplateLayout.h"
#include "FuzzCheck.h"
#include "FuzzDevice.h"
#include "TemplateResource.h"

#include <commctrl.h>
#include <screen_host.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

BYTE* g_resource = nullptr;
std::vector<WORD> g_fixed;

void Put(std::vector<WORD>& t, DWORD value) {
    t.push_back(LOWORD(value));
    t.push_back(HIWORD(value));
}

void Put(std::vector<WORD>& t, const std::u16string& text) {
    t.insert(t.end(), text.begin(), text.end());
    t.push_back(0);
}

void Item(std::vector<WORD>& t, DWORD style, WORD id, const std::u16string& cls, const std::u16string& title) {
    if (t.size() % 2) t.push_back(0);
    Put(t, style | WS_CHILD | WS_VISIBLE);
    Put(t, 0);
    for (int v : {4, 4 + 12 * (id - 1000), 80, 10, int(id)}) t.push_back(static_cast<WORD>(v));
    Put(t, cls);
    Put(t, title);
    t.push_back(0);  // no creation data
}

// A check box, a label, a picture, a list with its up-down, a combo box and
// an edit box, with the ids 1001 to 1007.
std::vector<WORD> FixedTemplate() {
    std::vector<WORD> t;
    Put(t, DS_SETFONT | WS_POPUP);
    Put(t, 0);
    for (int v : {7, 0, 0, 120, 160, 0, 0}) t.push_back(static_cast<WORD>(v));
    Put(t, u"Layout");
    t.push_back(8);
    Put(t, u"MS Shell Dlg");
    Item(t, BS_AUTOCHECKBOX | WS_TABSTOP, 1001, u"Button", u"Check");
    Item(t, SS_LEFT, 1002, u"Static", u"Label");
    Item(t, SS_ICON, 1003, u"Static", u"");
    Item(t, LBS_NOTIFY | WS_TABSTOP, 1004, u"ListBox", u"");
    Item(t, UDS_AUTOBUDDY | UDS_ALIGNRIGHT | 0x200, 1005, UPDOWN_CLASS, u"");
    Item(t, CBS_DROPDOWNLIST | WS_TABSTOP, 1006, u"ComboBox", u"");
    Item(t, ES_AUTOHSCROLL | WS_TABSTOP, 1007, u"Edit", u"Text");
    return t;
}

INT_PTR CALLBACK Quiet(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::UseTemporaryDevice();
    host::SetScreenProfile({240, 320, 131});
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS};
    FUZZ_CHECK(InitCommonControlsEx(&classes));
    g_resource = fuzz::OpenTemplateResource();
    g_fixed = FixedTemplate();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const size_t used = size < fuzz::kTemplateSize ? size : fuzz::kTemplateSize;
    std::memcpy(g_resource, data, used);
    std::memset(g_resource + used, 0, fuzz::kTemplateSize - used);
    HINSTANCE program = GetModuleHandleW(nullptr);

    HWND dialog = CreateDialogIndirectParamW(program, reinterpret_cast<LPCDLGTEMPLATEW>(g_resource), nullptr, Quiet, 0);
    if (!dialog)
        dialog = CreateDialogIndirectParamW(program, reinterpret_cast<LPCDLGTEMPLATEW>(g_fixed.data()), nullptr, Quiet,
                                            0);
    FUZZ_CHECK(dialog != nullptr);
    ApplyTemplateLayout(program, dialog, fuzz::kTemplateId);
    DestroyWindow(dialog);
    return 0;
}
