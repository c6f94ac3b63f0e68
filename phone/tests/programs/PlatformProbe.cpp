// A program for the emulator's end-to-end tests ("PlatformProbe.exe"): its
// command line names what of the bubble's platform it shows, as a program
// of the phone would call it:
//   box CAPTION TEXT     a message box (information icon); returns when closed
//   error CAPTION TEXT   the same with the error icon
//   compose NUMBER       the messaging application's composer for an SMS
//   inbox                the SMS inbox of the messaging application
//   call NUMBER          a voice call through the telephony call request
//   page                 a full-screen window with an HTML view showing a page
//                        with two links, until Back or End closes it
//   read ENTRY           the reader on the message of that entry identifier (hex)
//   dialog               a full-screen dialog with a control of every kind
//   keys                 a full-screen window that writes the key messages it
//                        gets into its title: "+XX" a key down, "-XX" a key
//                        up, "=XX" a character (hex), until the session ends it
#include "PlatformProbeDialog.h"

#include <aygshell.h>
#include <cemapi.h>
#include <commctrl.h>
#include <htmlctrl.h>
#include <windows.h>

namespace {

const WCHAR kPage[] = TEXT(
    "<html><body><div style='font:bold 12pt Tahoma; color:menutext;'>Mirela</div>"
    "<div style='font:10pt Tahoma; margin-top:3px'>Call <a href='tel:89161234567' name='tel1'>89161234567</a>"
    " or <a href='tel:+74951111111' name='tel2'>+7 495 111-11-11</a> &amp; see you</div></body></html>");

typedef LONG(WINAPI* MakeCallProc)(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR);

// The words of the command line; quotes group words.
int Words(LPWSTR line, LPWSTR* words, int most) {
    int count = 0;
    WCHAR* p = line;
    while (*p && count < most) {
        while (*p == TEXT(' ')) ++p;
        if (!*p) break;
        WCHAR end = TEXT(' ');
        if (*p == TEXT('"')) {
            end = TEXT('"');
            ++p;
        }
        words[count++] = p;
        while (*p && *p != end) ++p;
        if (*p) *p++ = 0;
    }
    return count;
}

LRESULT CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NOTIFY: {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->code == static_cast<UINT>(NM_KEYDOWN)) {
                const NMKEY* key = reinterpret_cast<const NMKEY*>(lParam);
                if ((key->nVKey & 0xFFFF) == VK_TBACK) DestroyWindow(hwnd);
            }
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int ShowPage(HINSTANCE instance) {
    if (!InitHTMLControl(instance)) return 2;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PageProc;
    wc.hInstance = instance;
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = TEXT("PlatformProbePage");
    RegisterClassW(&wc);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HWND frame = CreateWindowExW(0, TEXT("PlatformProbePage"), TEXT("Page"), WS_VISIBLE, work.left, work.top,
                                 work.right - work.left, work.bottom - work.top, nullptr, nullptr, instance, nullptr);
    RECT client = {};
    GetClientRect(frame, &client);
    HWND view = CreateWindowExW(0, DISPLAYCLASS, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom,
                                frame, nullptr, instance, nullptr);
    SendMessageW(view, DTM_CLEAR, 0, 0);
    SendMessageW(view, DTM_ADDTEXTW, 0, reinterpret_cast<LPARAM>(kPage));
    SendMessageW(view, DTM_ENDOFSOURCE, 0, 0);
    SetForegroundWindow(frame);
    SetFocus(view);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// The dialog of every control kind, full screen, until the session ends it.
INT_PTR CALLBACK KindsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: {
            SHINITDLGINFO info = {};
            info.dwMask = SHIDIM_FLAGS;
            info.hDlg = dialog;
            info.dwFlags = SHIDIF_SIZEDLGFULLSCREEN;
            SHInitDialog(&info);
            static const LPCWSTR kItems[] = {TEXT("one"), TEXT("two"), TEXT("three")};
            for (LPCWSTR item : kItems) {
                SendDlgItemMessageW(dialog, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
                SendDlgItemMessageW(dialog, IDC_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            }
            SendDlgItemMessageW(dialog, IDC_LIST, LB_SETCURSEL, 0, 0);
            SendDlgItemMessageW(dialog, IDC_COMBO, CB_SETCURSEL, 2, 0);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

int ShowKinds(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
    if (!InitCommonControlsEx(&controls)) return 7;
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_KINDS), nullptr, KindsProc, 0) >= 0 ? 0 : 8;
}

// The key window's title: the events it got, oldest first; the oldest go
// when the title is full.
WCHAR g_keys[256] = TEXT("keys");

void AddKeyEvent(HWND hwnd, WCHAR sign, WPARAM value) {
    WCHAR event[8];
    wsprintfW(event, TEXT(" %c%02X"), sign, static_cast<unsigned>(value & 0xFFFF));
    size_t length = wcslen(g_keys), add = wcslen(event);
    if (length + add >= sizeof g_keys / sizeof g_keys[0]) {
        // Keeps "keys" and drops the oldest event after it.
        WCHAR* rest = wcschr(g_keys + 5, TEXT(' '));
        if (!rest) rest = g_keys + length;
        memmove(g_keys + 4, rest, (wcslen(rest) + 1) * sizeof(WCHAR));
    }
    wcscat(g_keys, event);
    SetWindowTextW(hwnd, g_keys);
}

LRESULT CALLBACK KeysProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_KEYDOWN:
            AddKeyEvent(hwnd, TEXT('+'), wParam);
            return 0;
        case WM_KEYUP:
            AddKeyEvent(hwnd, TEXT('-'), wParam);
            return 0;
        case WM_CHAR:
            AddKeyEvent(hwnd, TEXT('='), wParam);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int ShowKeys(HINSTANCE instance) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = KeysProc;
    wc.hInstance = instance;
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = TEXT("PlatformProbeKeys");
    RegisterClassW(&wc);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HWND frame = CreateWindowExW(0, TEXT("PlatformProbeKeys"), g_keys, WS_VISIBLE, work.left, work.top,
                                 work.right - work.left, work.bottom - work.top, nullptr, nullptr, instance, nullptr);
    if (!frame) return 9;
    SetForegroundWindow(frame);
    SetFocus(frame);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

int HexDigit(WCHAR c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

extern "C" int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    LPWSTR words[4] = {};
    int count = commandLine ? Words(commandLine, words, 4) : 0;
    if (count == 0) return 1;
    LPCWSTR what = words[0];
    if ((wcscmp(what, TEXT("box")) == 0 || wcscmp(what, TEXT("error")) == 0) && count == 3)
        return MessageBoxW(nullptr, words[2], words[1],
                           wcscmp(what, TEXT("box")) == 0 ? MB_ICONINFORMATION : MB_ICONERROR);
    if (wcscmp(what, TEXT("compose")) == 0 && count == 2) {
        MAILCOMPOSEFIELDS fields = {};
        fields.cbSize = sizeof fields;
        fields.dwFlags = MCF_ACCOUNT_IS_NAME;
        fields.pszTo = words[1];
        fields.pszAccount = TEXT("SMS");
        fields.pszMsgClass = TEXT("IPM.SMStext");
        return SUCCEEDED(MailComposeMessage(&fields)) ? 0 : 3;
    }
    if (wcscmp(what, TEXT("inbox")) == 0)
        return SUCCEEDED(MailSwitchToAccount(TEXT("SMS"), MCF_ACCOUNT_IS_NAME)) ? 0 : 3;
    if (wcscmp(what, TEXT("call")) == 0 && count == 2) {
        HMODULE cellcore = LoadLibraryW(TEXT("cellcore.dll"));
        if (!cellcore) return 4;
        MakeCallProc call = reinterpret_cast<MakeCallProc>(GetProcAddressW(cellcore, TEXT("tapiRequestMakeCallW")));
        LONG result = call ? call(words[1], nullptr, nullptr, nullptr) : -1;
        FreeLibrary(cellcore);
        return result == 0 ? 0 : 5;
    }
    if (wcscmp(what, TEXT("read")) == 0 && count == 2) {
        // The entry identifier as the state report prints it, in hex.
        BYTE entry[256];
        size_t length = wcslen(words[1]) / 2;
        if (length == 0 || length > sizeof entry) return 6;
        for (size_t i = 0; i < length; ++i) {
            int high = HexDigit(words[1][2 * i]), low = HexDigit(words[1][2 * i + 1]);
            if (high < 0 || low < 0) return 6;
            entry[i] = static_cast<BYTE>(high * 16 + low);
        }
        return SUCCEEDED(MailDisplayMessage(reinterpret_cast<LPENTRYID>(entry), static_cast<ULONG>(length))) ? 0 : 3;
    }
    if (wcscmp(what, TEXT("page")) == 0) return ShowPage(instance);
    if (wcscmp(what, TEXT("dialog")) == 0) return ShowKinds(instance);
    if (wcscmp(what, TEXT("keys")) == 0) return ShowKeys(instance);
    return 1;
}
