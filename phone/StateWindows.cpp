#include "StateWindows.h"

#include <aygshell_host.h>
#include <coredll_host.h>
#include <htmlview_host.h>
#include <shell_host.h>
#include <toolkit_host.h>
#include <windows.h>

#include <optional>

namespace phone {

namespace {

const WCHAR kBubbleClass[] = u"QUILLON_NOT_WND";
const WCHAR kMenuBarClass[] = u"MS_SOFTKEY_CE_1.0";

// The bubble's five menus by index, told apart by their soft keys.
const std::pair<const char16_t*, const char16_t*> kBubbleMenus[] = {{u"Сохранить", u"Меню"},
                                                                    {u"Смотреть", u"Меню"},
                                                                    {u"Смотреть", u"Закрыть"},
                                                                    {u"Удалить", u"Закрыть"},
                                                                    {u"Сохранить прочитанным", u"Отклонить"}};

// The bubble's HTML view: its child of class "DISPLAYCLASS".
HWND HtmlViewOf(HWND parent) {
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        WCHAR name[32] = {};
        if (GetClassNameW(w, name, 32) && std::u16string(name) == u"DISPLAYCLASS") return w;
    }
    return nullptr;
}

struct BubbleView {
    bool shown = false;
    std::u16string title;
    int count = 0;
    std::optional<int> menu;
    int zoom = 0;
    std::u16string html;
    RECT rect = {};
    std::optional<std::u16string> link;
};

std::u16string WindowText(HWND window) {
    WCHAR text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// The index of the bubble's menu bar that is shown, if one is.
std::optional<int> ShownMenu(HWND bubble) {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        WCHAR name[32] = {};
        if (GetWindow(w, GW_OWNER) != bubble || !IsWindowVisible(w) || !GetClassNameW(w, name, 32) ||
            std::u16string(name) != kMenuBarClass)
            continue;
        host::MenuBarView view;
        if (!host::DescribeMenuBar(w, &view)) continue;
        for (int i = 0; i < 5; ++i)
            if (view.left == kBubbleMenus[i].first && view.right == kBubbleMenus[i].second) return i;
    }
    return std::nullopt;
}

// The count the page announces: "You have N new text messages", else one.
int AnnouncedCount(const std::u16string& html) {
    const std::u16string lead = u"You have ";
    size_t at = html.find(lead);
    if (at == std::u16string::npos) return 1;
    int count = 0;
    for (size_t i = at + lead.size(); i < html.size() && html[i] >= u'0' && html[i] <= u'9'; ++i)
        count = count * 10 + (html[i] - u'0');
    return count;
}

std::optional<BubbleView> Bubble() {
    HWND bubble = FindWindowW(kBubbleClass, nullptr);
    if (!bubble) return std::nullopt;
    BubbleView view;
    view.shown = IsWindowVisible(bubble) != FALSE;
    view.title = WindowText(bubble);
    GetWindowRect(bubble, &view.rect);
    view.menu = ShownMenu(bubble);
    if (HWND html = HtmlViewOf(bubble)) {
        view.html = host::HtmlViewSource(html);
        view.zoom = host::HtmlViewZoom(html);
        std::u16string target;
        if (host::HtmlViewFocusedLink(html, &target)) view.link = target;
    }
    view.count = view.shown ? AnnouncedCount(view.html) : 0;
    return view;
}

struct SoftKeys {
    std::u16string left, right;
    bool popupOpen = false;
    std::vector<std::u16string> popup;
};

// The bar the soft keys act on, or the home screen's own.
std::optional<SoftKeys> CurrentSoftKeys() {
    SoftKeys keys;
    host::MenuBarView view;
    if (host::DescribeMenuBar(host::ActiveMenuBar(), &view)) {
        keys.left = view.left;
        keys.right = view.right;
        keys.popupOpen = view.popupOpen;
        keys.popup = view.popup;
        return keys;
    }
    HWND foreground = GetForegroundWindow();
    WCHAR name[64] = {};
    if (foreground && GetClassNameW(foreground, name, 64) && std::u16string(name) == u"DesktopExplorerWindow") {
        host::ShellSoftKeyLabels(&keys.left, &keys.right);
        return keys;
    }
    return std::nullopt;
}

}  // namespace

void WriteBubble(JsonWriter& json) {
    std::optional<BubbleView> bubble = Bubble();
    if (!bubble) {
        json.Null();
        return;
    }
    json.BeginObject().Key("shown").Bool(bubble->shown).Key("title").String(bubble->title);
    json.Key("count").Number(bubble->count).Key("menu");
    if (bubble->menu)
        json.Number(*bubble->menu);
    else
        json.Null();
    json.Key("zoom").Number(bubble->zoom).Key("html").String(bubble->html);
    const RECT& r = bubble->rect;
    json.Key("rect")
        .BeginArray()
        .Number(r.left)
        .Number(r.top)
        .Number(r.right - r.left)
        .Number(r.bottom - r.top)
        .EndArray();
    json.Key("link");
    if (bubble->link)
        json.String(*bubble->link);
    else
        json.Null();
    json.EndObject();
}

void WriteSoftKeys(JsonWriter& json) {
    std::optional<SoftKeys> keys = CurrentSoftKeys();
    if (!keys) {
        json.Null();
        return;
    }
    json.BeginObject().Key("left").String(keys->left).Key("right").String(keys->right).EndObject();
}

void WritePopup(JsonWriter& json) {
    std::optional<SoftKeys> keys = CurrentSoftKeys();
    if (!keys || !keys->popupOpen) {
        json.Null();
        return;
    }
    json.BeginArray();
    for (const std::u16string& item : keys->popup) json.String(item);
    json.EndArray();
}

void WriteToolkit(JsonWriter& json) {
    host::ToolkitState toolkit = host::GetToolkitState();
    json.BeginObject().Key("running").Bool(toolkit.running).Key("hotkeys_received").Number(toolkit.hotkeysReceived);
    json.EndObject();
}

std::string WindowsStateText() {
    std::string text;
    std::optional<BubbleView> bubble = Bubble();
    if (!bubble) {
        text += "bubble: none\n";
    } else if (!bubble->shown) {
        text += "bubble: hidden\n";
    } else {
        const RECT& r = bubble->rect;
        text += "bubble: \"" + host::ToUtf8(bubble->title) + "\", " + std::to_string(bubble->count) +
                (bubble->count == 1 ? " message" : " messages") + ", menu " +
                (bubble->menu ? std::to_string(*bubble->menu) : std::string("none")) + ", zoom " +
                std::to_string(bubble->zoom) + ", at " + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + "\n";
        if (bubble->link) text += "  link in focus: " + host::ToUtf8(*bubble->link) + "\n";
    }
    std::optional<SoftKeys> keys = CurrentSoftKeys();
    if (keys) {
        text += "soft keys: \"" + host::ToUtf8(keys->left) + "\" | \"" + host::ToUtf8(keys->right) + "\"\n";
        if (keys->popupOpen) {
            text += "popup:";
            for (size_t i = 0; i < keys->popup.size(); ++i)
                text += " " + std::to_string(i + 1) + ". " + host::ToUtf8(keys->popup[i]);
            text += "\n";
        }
    } else {
        text += "soft keys: none\n";
    }
    host::ToolkitState toolkit = host::GetToolkitState();
    text += std::string("soft-key utility: ") + (toolkit.running ? "running" : "not running") + ", " +
            std::to_string(toolkit.hotkeysReceived) + " hotkeys received\n";
    return text;
}

}  // namespace phone
