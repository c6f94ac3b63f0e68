// Window classes: RegisterClassW and friends, and the classes of the
// platform itself. As on the desktop platform, a class is known by its name
// and the module that registered it: two modules may each register a class
// of the same name, and a window is made from the class of the module it is
// created for (hInstance), else from any class of that name.
#include "user/WindowSystem.h"
#include "user/controls/Controls.h"

#include <map>

namespace user {

namespace {

std::vector<std::shared_ptr<WindowClass>> g_classes;
ATOM g_nextAtom = 0xC000;

bool IsAtom(LPCWSTR name) { return reinterpret_cast<ULONG_PTR>(name) < 0x10000; }

std::shared_ptr<WindowClass> MakeClass(const WNDCLASSW& wc, bool system) {
    auto cls = std::make_shared<WindowClass>();
    cls->name = wc.lpszClassName;
    cls->wc = wc;
    cls->wc.lpszClassName = cls->name.c_str();
    cls->wc.lpszMenuName = nullptr;
    if (cls->wc.cbWndExtra < 0) cls->wc.cbWndExtra = 0;
    if (cls->wc.cbClsExtra < 0) cls->wc.cbClsExtra = 0;
    cls->system = system;
    cls->atom = g_nextAtom++;
    return cls;
}

// The system classes every process has, registered on first use of the
// class table. "Dialog" runs the default dialog procedure.
void RegisterBuiltinsLocked() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSW dialog{};
    dialog.lpfnWndProc = DefDlgProcW;
    dialog.cbWndExtra = DLGWINDOWEXTRA;
    dialog.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    dialog.lpszClassName = u"Dialog";
    g_classes.push_back(MakeClass(dialog, true));
    for (const WNDCLASSW& control : controls::SystemClasses()) g_classes.push_back(MakeClass(control, true));
}

}  // namespace

std::shared_ptr<WindowClass> FindClassLocked(LPCWSTR name, HINSTANCE instance) {
    RegisterBuiltinsLocked();
    if (!name) return nullptr;
    std::shared_ptr<WindowClass> any;
    for (auto& cls : g_classes) {
        bool same = IsAtom(name) ? cls->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name))
                                 : _wcsicmp(cls->name.c_str(), name) == 0;
        if (!same) continue;
        if (!cls->system && cls->wc.hInstance == instance) return cls;
        if (!any) any = cls;
    }
    return any;
}

bool RegisterSystemClass(const WNDCLASSW& wc) {
    if (!wc.lpszClassName || IsAtom(wc.lpszClassName) || !wc.lpfnWndProc) return false;
    Guard lock(Lock());
    // Windows already made keep the class they were made with.
    std::erase_if(g_classes, [&](const std::shared_ptr<WindowClass>& c) {
        return c->system && _wcsicmp(c->name.c_str(), wc.lpszClassName) == 0;
    });
    g_classes.push_back(MakeClass(wc, true));
    return true;
}

}  // namespace user

using namespace user;

extern "C" ATOM WINAPI RegisterClassW(const WNDCLASSW* lpWndClass) {
    if (!lpWndClass || !lpWndClass->lpfnWndProc || !lpWndClass->lpszClassName || IsAtom(lpWndClass->lpszClassName) ||
        !*lpWndClass->lpszClassName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Guard lock(Lock());
    auto existing = FindClassLocked(lpWndClass->lpszClassName, lpWndClass->hInstance);
    if (existing && !existing->system && existing->wc.hInstance == lpWndClass->hInstance) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto cls = MakeClass(*lpWndClass, false);
    g_classes.push_back(cls);
    return cls->atom;
}

extern "C" BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
    Guard lock(Lock());
    auto cls = FindClassLocked(lpClassName, hInstance);
    if (!cls || cls->system) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (cls->windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    std::erase(g_classes, cls);
    return TRUE;
}

extern "C" BOOL WINAPI GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW lpWndClass) {
    if (!lpWndClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Guard lock(Lock());
    auto cls = FindClassLocked(lpClassName, hInstance);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    // The name pointer stays valid as long as the class is registered.
    *lpWndClass = cls->wc;
    return TRUE;
}

extern "C" int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w) return 0;
    if (!lpClassName || nMaxCount <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    size_t n = std::min(w->cls->name.size(), static_cast<size_t>(nMaxCount - 1));
    w->cls->name.copy(lpClassName, n);
    lpClassName[n] = 0;
    return static_cast<int>(n);
}
