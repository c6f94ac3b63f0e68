#include "StateDialog.h"

#include "StateReport.h"

#include <coredll_host.h>
#include <screen_host.h>
#include <windows.h>

#include <optional>
#include <vector>

namespace phone {

namespace {

const WCHAR kDialogClass[] = u"Dialog";

struct ControlView {
    int id = 0;
    std::u16string className;
    std::u16string text;
    std::optional<LRESULT> check;  // buttons with a check state
    bool isList = false;
    std::vector<std::u16string> items;
    int selected = -1;
    bool enabled = false, visible = false, focused = false;
    RECT rect = {};  // in the dialog's client coordinates
};

struct DialogView {
    std::u16string title;
    RECT rect = {};
    std::vector<ControlView> controls;
};

std::u16string WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::u16string ClassOf(HWND window) {
    WCHAR name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// Class names are compared as the platform does, without regard to case.
bool IsClass(HWND window, LPCWSTR name) { return _wcsicmp(ClassOf(window).c_str(), name) == 0; }

bool HasCheckState(HWND button) {
    switch (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_AUTORADIOBUTTON:
            return true;
        default:
            return false;
    }
}

void ReadListItems(HWND list, ControlView* view) {
    view->isList = true;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::u16string item(length > 0 ? static_cast<size_t>(length) + 1 : 1, u'\0');
        LRESULT got = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        item.resize(got > 0 ? static_cast<size_t>(got) : 0);
        view->items.push_back(item);
    }
    LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    view->selected = selected == LB_ERR ? -1 : static_cast<int>(selected);
}

std::optional<DialogView> ForegroundDialog() {
    HWND dialog = GetForegroundWindow();
    if (!dialog || !IsClass(dialog, kDialogClass)) return std::nullopt;
    DialogView view;
    view.title = WindowText(dialog);
    GetWindowRect(dialog, &view.rect);
    const HWND focus = host::ForegroundFocus();
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        ControlView c;
        c.id = GetDlgCtrlID(control);
        c.className = ClassOf(control);
        c.text = WindowText(control);
        if (IsClass(control, u"Button") && HasCheckState(control)) c.check = SendMessageW(control, BM_GETCHECK, 0, 0);
        if (IsClass(control, u"ListBox")) ReadListItems(control, &c);
        c.enabled = IsWindowEnabled(control) != FALSE;
        c.visible = IsWindowVisible(control) != FALSE;
        c.focused = control == focus;
        GetWindowRect(control, &c.rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&c.rect), 2);
        view.controls.push_back(std::move(c));
    }
    return view;
}

void WriteRect(JsonWriter& json, const RECT& r) {
    json.BeginArray().Number(r.left).Number(r.top).Number(r.right - r.left).Number(r.bottom - r.top).EndArray();
}

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

std::string Quoted(const std::u16string& text) { return "\"" + Printable(text) + "\""; }

}  // namespace

void WriteDialog(JsonWriter& json) {
    std::optional<DialogView> dialog = ForegroundDialog();
    if (!dialog) {
        json.Null();
        return;
    }
    json.BeginObject().Key("title").String(dialog->title).Key("class").String(kDialogClass).Key("rect");
    WriteRect(json, dialog->rect);
    json.Key("controls").BeginArray();
    for (const ControlView& c : dialog->controls) {
        json.BeginObject().Key("id").Number(c.id).Key("class").String(c.className).Key("text").String(c.text);
        if (c.check) {
            json.Key("checked");
            // A three-state box in its third state is neither checked nor clear.
            if (*c.check == BST_INDETERMINATE)
                json.String("indeterminate");
            else
                json.Bool(*c.check == BST_CHECKED);
        }
        if (c.isList) {
            json.Key("items").BeginArray();
            for (const std::u16string& item : c.items) json.String(item);
            json.EndArray().Key("selected").Number(c.selected);
        }
        json.Key("enabled").Bool(c.enabled).Key("visible").Bool(c.visible).Key("focused").Bool(c.focused);
        json.Key("rect");
        WriteRect(json, c.rect);
        json.EndObject();
    }
    json.EndArray().EndObject();
}

std::string DialogStateText() {
    std::optional<DialogView> dialog = ForegroundDialog();
    if (!dialog) return {};
    std::string text = "dialog: " + Quoted(dialog->title) + " at " + RectText(dialog->rect) + "\n";
    for (const ControlView& c : dialog->controls) {
        text += "  " + std::to_string(c.id) + " " + host::ToUtf8(c.className);
        if (!c.text.empty()) text += " " + Quoted(c.text);
        if (c.check) text += *c.check == BST_CHECKED ? " [x]" : *c.check == BST_INDETERMINATE ? " [-]" : " [ ]";
        if (c.isList) {
            text += " {";
            for (size_t i = 0; i < c.items.size(); ++i) {
                if (i) text += ", ";
                text += (static_cast<int>(i) == c.selected ? "*" : "") + Quoted(c.items[i]);
            }
            text += "}";
        }
        if (!c.enabled) text += " disabled";
        if (!c.visible) text += " hidden";
        if (c.focused) text += " focused";
        text += " at " + RectText(c.rect) + "\n";
    }
    return text;
}

}  // namespace phone
