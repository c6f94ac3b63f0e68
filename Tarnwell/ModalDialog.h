// The base of the program's dialogs: a thin object over a modal dialog,
// found through the dialog's user data, that sizes it to the full screen,
// lets the focused control have the Back key and re-lays it out from the
// portrait or the landscape template when the screen changes shape.
#pragma once

#include <windows.h>

class ModalDialog {
public:
    ModalDialog(HWND owner, HINSTANCE instance);
    virtual ~ModalDialog() {}

    // The value given to EndDialog, or -1 when the dialog cannot be created.
    // landscapeId -1: the dialog is never re-laid out.
    INT_PTR RunModal(int portraitId, int landscapeId);

protected:
    virtual BOOL OnInit() { return FALSE; }
    virtual BOOL OnCommand(WPARAM, LPARAM) { return FALSE; }
    virtual BOOL OnResize(WPARAM kind, LPARAM size);
    virtual BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The soft-key bar from a menu resource; on failure the user is told and
    // the dialog ends with -1.
    bool CreateSoftKeys(UINT menuId);

    HWND Window() const { return window_; }
    HINSTANCE Instance() const { return instance_; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool SetUpWindow(HWND window);
    void OverrideBackKey();

    HWND owner_;
    HWND window_;
    HINSTANCE instance_;
    int portraitId_;
    int landscapeId_;
};
