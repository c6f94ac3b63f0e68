// Dialogs made from templates compiled by the resource compiler: the
// controls where MapDialogRect puts them, in the template's font, the
// predefined classes, creation data, WM_INITDIALOG and the user data, and
// templates that cannot make a dialog.
#include "DialogProbe.h"

#include <TempDevice.h>
#include <screen_host.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace dialog_tests;

struct InitRecord {
    bool seen = false;
    WPARAM focusCandidate = 0;
    LPARAM param = 0;
};

InitRecord g_init;

INT_PTR CALLBACK KeepObject(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        g_init.seen = true;
        g_init.focusCandidate = wParam;
        g_init.param = lParam;
        SetWindowLongPtrW(hwnd, GWL_USERDATA, lParam);
        return TRUE;
    }
    return FALSE;
}

class DialogTemplates : public ::testing::Test {
protected:
    void SetUp() override {
        profile = host::GetScreenProfile();
        host::SetScreenProfile(host::ScreenProfile{240, 320, 131});
        RegisterProbeClasses();
        Log() = ProbeLog{};
        g_init = InitRecord{};
    }
    void TearDown() override {
        for (HWND w : made)
            if (IsWindow(w)) DestroyWindow(w);
        host::SetScreenProfile(profile);
    }
    HWND Make(int id, LPARAM param = 0, LPCWSTR type = RT_DIALOG) {
        const DLGTEMPLATE* t = Template(id, type);
        EXPECT_NE(t, nullptr);
        HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t, nullptr, KeepObject, param);
        made.push_back(dlg);
        return dlg;
    }
    static std::u16string ClassOf(HWND w) {
        WCHAR name[64] = {};
        GetClassNameW(w, name, 64);
        return name;
    }
    static std::u16string TextOf(HWND w) {
        WCHAR text[64] = {};
        GetWindowTextW(w, text, 64);
        return text;
    }

    testing_support::TempDevice device;
    host::ScreenProfile profile;
    std::vector<HWND> made;
};

TEST_F(DialogTemplates, ControlsSitWhereMapDialogRectPutsThemInTheTemplatesFont) {
    struct Object {
        int value = 5;
    } object;
    HWND dlg = Make(IDD_SETTINGS, reinterpret_cast<LPARAM>(&object));
    ASSERT_NE(dlg, nullptr) << GetLastError();
    EXPECT_EQ(ClassOf(dlg), u"Dialog");
    EXPECT_EQ(TextOf(dlg), u"Настройки");
    EXPECT_EQ(FindWindowW(u"Dialog", u"Настройки"), dlg);

    // WM_INITDIALOG carries the creation parameter, and a pointer kept in
    // the user data comes back whole.
    ASSERT_TRUE(g_init.seen);
    EXPECT_EQ(g_init.param, reinterpret_cast<LPARAM>(&object));
    EXPECT_EQ(reinterpret_cast<Object*>(GetWindowLongPtrW(dlg, GWL_USERDATA)), &object);
    EXPECT_EQ(reinterpret_cast<HWND>(g_init.focusCandidate), GetDlgItem(dlg, IDC_DISABLE));
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_DISABLE)) << "TRUE from WM_INITDIALOG focuses the first tab stop";

    // The base units are the font's: its height, and the average width of
    // the Latin letters.
    auto font = reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW logfont{};
    ASSERT_GT(GetObjectW(font, sizeof logfont, &logfont), 0);
    EXPECT_EQ(std::u16string(logfont.lfFaceName), u"MS Shell Dlg");
    EXPECT_EQ(logfont.lfHeight, -15) << "8 points at 131 dpi";
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SIZE letters{};
    GetTextExtentPoint32W(dc, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    SelectObject(dc, old);
    DeleteDC(dc);
    RECT units{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dlg, &units));
    EXPECT_EQ(units.right, (letters.cx + 26) / 52);
    EXPECT_EQ(units.bottom, metrics.tmHeight);

    const struct {
        int id, x, y, cx, cy;
    } places[] = {{IDC_DISABLE, 8, 4, 49, 8},
                  {IDC_FIRST, 57, 4, 70, 8},
                  {IDC_ARROWS, 20, 47, 86, 12},
                  {IDC_LABEL, 10, 151, 115, 8},
                  {IDC_LAST, 10, 240, 110, 12}};
    for (const auto& p : places) {
        HWND control = GetDlgItem(dlg, p.id);
        ASSERT_NE(control, nullptr) << p.id;
        RECT want = DialogUnits(dlg, p.x, p.y, p.cx, p.cy);
        RECT got = PlaceOf(dlg, p.id);
        EXPECT_TRUE(EqualRect(&got, &want))
            << p.id << ": " << got.left << "," << got.top << " " << got.right << "," << got.bottom;
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), font) << p.id;
        EXPECT_EQ(GetDlgCtrlID(control), p.id);
    }
    EXPECT_EQ(ClassOf(GetDlgItem(dlg, IDC_FIRST)), u"Probe");
    EXPECT_EQ(TextOf(GetDlgItem(dlg, IDC_FIRST)), u"Первый");

    // The template's size is the client area.
    RECT client{}, size = DialogUnits(dlg, 0, 0, 140, 260);
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    EXPECT_FALSE(IsWindowVisible(dlg)) << "no WS_VISIBLE in the template";
}

TEST_F(DialogTemplates, BaseUnitsGrowWithTheScreensResolution) {
    RECT low{0, 0, 140, 260}, high{0, 0, 140, 260};
    host::SetScreenProfile(host::ScreenProfile{240, 320, 96});
    HWND small = Make(IDD_SETTINGS);
    ASSERT_NE(small, nullptr);
    MapDialogRect(small, &low);
    host::SetScreenProfile(host::ScreenProfile{480, 640, 192});
    HWND large = Make(IDD_SETTINGS);
    ASSERT_NE(large, nullptr);
    MapDialogRect(large, &high);
    // Twice the resolution, nearly twice the size (fonts come in whole pixels).
    EXPECT_GT(high.right, low.right * 17 / 10);
    EXPECT_GT(high.bottom, low.bottom * 17 / 10);
    RECT far = PlaceOf(large, IDC_FAR), want = DialogUnits(large, 10, 200, 110, 28);
    EXPECT_TRUE(EqualRect(&far, &want));
}

TEST_F(DialogTemplates, PredefinedClassOrdinalsMakeTheStandardControls) {
    HWND dlg = Make(IDD_CONTROLS);
    ASSERT_NE(dlg, nullptr) << GetLastError();
    const struct {
        int id;
        const char16_t* cls;
    } kinds[] = {{IDC_DISABLE, u"Button"},
                 {IDC_FIRST, u"Edit"},
                 {IDC_SECOND, u"Static"},
                 {IDC_GREYED, u"ListBox"},
                 {IDC_HIDDEN, u"ComboBox"}};
    for (const auto& k : kinds) {
        HWND control = GetDlgItem(dlg, k.id);
        ASSERT_NE(control, nullptr) << k.id;
        EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), k.cls), 0) << k.id;
    }
    EXPECT_TRUE(IsWindowVisible(dlg)) << "WS_VISIBLE in the template shows it after WM_INITDIALOG";
    RECT window{};
    GetWindowRect(dlg, &window);
    RECT origin = DialogUnits(dlg, 10, 20, 0, 0);
    EXPECT_EQ(window.left, origin.left);
    EXPECT_EQ(window.top, origin.top);

    WCHAR text[32] = {};
    EXPECT_EQ(GetDlgItemTextW(dlg, IDC_DISABLE, text, 32), 9u);
    EXPECT_EQ(std::u16string(text), u"Отключить");
    EXPECT_TRUE(SetDlgItemTextW(dlg, IDC_SECOND, u"Образец"));
    EXPECT_EQ(SendDlgItemMessageW(dlg, IDC_SECOND, WM_GETTEXTLENGTH, 0, 0), 7);
    EXPECT_FALSE(SetDlgItemTextW(dlg, 4242, u"нет"));
    EXPECT_EQ(SendDlgItemMessageW(dlg, 4242, WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST_F(DialogTemplates, CreationDataReachesItsControlAndTheNextItemFollowsIt) {
    HWND dlg = Make(IDD_WITH_DATA, 0, RT_RCDATA);
    ASSERT_NE(dlg, nullptr) << GetLastError();
    ASSERT_TRUE(Log().created.count(1001));
    EXPECT_EQ(Log().created[1001], (std::vector<WORD>{6, 0xBEEF, 0xCAFE}));
    EXPECT_EQ(TextOf(GetDlgItem(dlg, 1001)), u"A");
    ASSERT_NE(GetDlgItem(dlg, 1002), nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(dlg, 1002)), u"B");
}

TEST_F(DialogTemplates, ATemplateWithoutAFontUsesTheSystemDialogFont) {
    HWND dlg = Make(IDD_PLAIN_FONT, 0, RT_RCDATA);
    ASSERT_NE(dlg, nullptr) << GetLastError();
    RECT units{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dlg, &units));
    EXPECT_GT(units.right, 0);
    EXPECT_GT(units.bottom, 0);
    EXPECT_NE(SendMessageW(dlg, WM_GETFONT, 0, 0), 0);
    EXPECT_NE(GetDialogBaseUnits(), 0);
}

DWORD WINAPI MakeDialogAndEnd(LPVOID font) {
    const DLGTEMPLATE* t = Template(IDD_NO_ITEMS, RT_DIALOG);
    HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t, nullptr, KeepObject, 0);
    *static_cast<HFONT*>(font) = dlg ? reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0)) : nullptr;
    // The dialog is left for the thread's end to take. It has no controls:
    // an ended thread's windows go without their last messages, so what a
    // control keeps would stay behind.
    return 0;
}

// The font a dialog makes from its template lives as long as the dialog,
// however the dialog goes: destroyed though its procedure never reaches
// DefDlgProc, or taken with the thread that made it.
TEST_F(DialogTemplates, TheFontOfATemplateGoesWithItsDialogWhateverTheDialogsClassAndWhenItsThreadEnds) {
    LOGFONTW logfont{};
    HWND privateClass = Make(IDD_PRIVATE_CLASS);
    ASSERT_NE(privateClass, nullptr) << GetLastError();
    EXPECT_EQ(ClassOf(privateClass), u"Probe");
    auto font = reinterpret_cast<HFONT>(SendMessageW(privateClass, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_NE(GetObjectW(font, sizeof logfont, &logfont), 0);
    EXPECT_EQ(std::u16string(logfont.lfFaceName), u"MS Shell Dlg");
    DestroyWindow(privateClass);
    EXPECT_EQ(GetObjectW(font, sizeof logfont, &logfont), 0) << "the font went with the dialog";

    HFONT threadFont = nullptr;
    HANDLE thread = CreateThread(nullptr, 0, MakeDialogAndEnd, &threadFont, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    CloseHandle(thread);
    ASSERT_NE(threadFont, nullptr);
    EXPECT_EQ(FindWindowW(u"Dialog", nullptr), nullptr) << "the thread's dialog went with it";
    EXPECT_EQ(GetObjectW(threadFont, sizeof logfont, &logfont), 0) << "and so did its font";
}

TEST_F(DialogTemplates, BadTemplatesFailTheDialogWithTheLastErrorSet) {
    HWND owner = CreateWindowExW(0, u"Probe", u"owner", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    made.push_back(owner);
    HINSTANCE self = GetModuleHandleW(nullptr);
    const struct {
        int id;
        LPCWSTR type;
        DWORD error;
    } bad[] = {{IDD_TRUNCATED, RT_RCDATA, ERROR_INVALID_DATA},
               {IDD_TOO_MANY, RT_RCDATA, ERROR_INVALID_DATA},
               {IDD_UNKNOWN_CLASS, RT_DIALOG, ERROR_CANNOT_FIND_WND_CLASS}};
    for (const auto& b : bad) {
        const DLGTEMPLATE* t = Template(b.id, b.type);
        ASSERT_NE(t, nullptr) << b.id;
        SetLastError(0);
        EXPECT_EQ(DialogBoxIndirectParamW(self, t, owner, KeepObject, 0), -1) << b.id;
        EXPECT_EQ(GetLastError(), b.error) << b.id;
        EXPECT_TRUE(IsWindowEnabled(owner)) << b.id << ": the owner is enabled again";
        SetLastError(0);
        EXPECT_EQ(CreateDialogIndirectParamW(self, t, nullptr, KeepObject, 0), nullptr) << b.id;
        EXPECT_EQ(GetLastError(), b.error) << b.id;
    }
    EXPECT_FALSE(g_init.seen) << "no dialog procedure ran WM_INITDIALOG";
    EXPECT_EQ(FindWindowW(u"Dialog", nullptr), nullptr) << "nothing is left of the failed dialogs";
    SetLastError(0);
    EXPECT_EQ(DialogBoxIndirectParamW(self, nullptr, owner, KeepObject, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(DialogBoxParamW(self, MAKEINTRESOURCE(999), owner, KeepObject, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_FALSE(EndDialog(owner, 1)) << "not a dialog";
}

}  // namespace
