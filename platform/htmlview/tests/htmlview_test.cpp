// The HTML view as its users rely on it: a page given piece by piece is
// drawn; its laid-out height follows the text, the width, the zoom and the
// dpi; long words break with wrap-option:emergency; links are focused in
// order and chosen; other keys reach the parent; bad markup never breaks it.
#include <TempDevice.h>
#include <coredll_host.h>
#include <aygshell.h>
#include <gtest/gtest.h>
#include <htmlctrl.h>
#include <htmlview_host.h>
#include <screen_host.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

struct Notice {
    UINT code;
    std::u16string target, text;
    UINT key;
};
std::vector<Notice> g_notices;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        Notice n{header->code, {}, {}, 0};
        if (header->code == NM_HOTSPOT) {
            const NM_HTMLVIEW* view = reinterpret_cast<const NM_HTMLVIEW*>(lParam);
            n.target = view->szTarget ? view->szTarget : u"";
            n.text = view->szData ? view->szData : u"";
        } else if (header->code == static_cast<UINT>(NM_KEYDOWN)) {
            n.key = reinterpret_cast<const NMKEY*>(lParam)->nVKey & 0xFFFF;
        }
        g_notices.push_back(n);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class HtmlView : public ::testing::Test {
protected:
    void SetUp() override { Start({240, 320, 96}); }
    void TearDown() override {
        if (parent_) DestroyWindow(parent_);
    }
    void Start(const host::ScreenProfile& profile) {
        if (parent_) DestroyWindow(parent_);
        host::SetScreenProfile(profile);
        ASSERT_TRUE(InitHTMLControl(GetModuleHandleW(nullptr)));
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = u"ViewParent";
        RegisterClassW(&wc);
        parent_ = CreateWindowExW(0, u"ViewParent", u"parent", WS_VISIBLE, 0, 0, 240, 200, nullptr, nullptr, nullptr,
                                  nullptr);
        view_ = CreateWindowExW(0, DISPLAYCLASS, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, parent_, nullptr,
                                nullptr, nullptr);
        ASSERT_NE(view_, nullptr);
        SetForegroundWindow(parent_);
        g_notices.clear();
    }
    void Load(const std::u16string& html) {
        SendMessageW(view_, DTM_CLEAR, 0, 0);
        // In two pieces: the source is what was added, in order.
        size_t half = html.size() / 2;
        SendMessageW(view_, DTM_ADDTEXTW, 0, reinterpret_cast<LPARAM>(html.substr(0, half).c_str()));
        SendMessageW(view_, DTM_ADDTEXTW, 0, reinterpret_cast<LPARAM>(html.substr(half).c_str()));
        SendMessageW(view_, DTM_ENDOFSOURCE, 0, 0);
    }
    int Height() { return static_cast<int>(SendMessageW(view_, DTM_LAYOUTHEIGHT, 0, 0)); }
    void Key(WPARAM vk) { SendMessageW(view_, WM_KEYDOWN, vk, 1); }
    // The view drawn afresh: its pixels, of the top left width x height,
    // that are not the background.
    int Ink(int width, int height) {
        UpdateWindow(parent_);
        InvalidateRect(view_, nullptr, FALSE);
        UpdateWindow(view_);
        HDC dc = GetDC(view_);
        const COLORREF background = GetSysColor(COLOR_WINDOW);
        int ink = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) ink += GetPixel(dc, x, y) != background;
        ReleaseDC(view_, dc);
        return ink;
    }

    testing_support::TempDevice device_;
    HWND parent_ = nullptr;
    HWND view_ = nullptr;
};

TEST_F(HtmlView, APageGivenInPiecesIsKeptAndDrawn) {
    const std::u16string page = u"<html><body><div style='font:bold 12pt Tahoma'>Mirela</div>Hello there</body></html>";
    Load(page);
    EXPECT_EQ(host::HtmlViewSource(view_), page);
    EXPECT_GT(Ink(100, 40), 50) << "the text is drawn";
    SendMessageW(view_, DTM_CLEAR, 0, 0);
    EXPECT_EQ(Height(), 0);
    EXPECT_EQ(host::HtmlViewSource(view_), u"");
}

TEST_F(HtmlView, TheLayoutHeightFollowsTheTextTheWidthAndTheZoom) {
    Load(u"<div style='font:10pt Tahoma'>one line</div>");
    const int one = Height();
    EXPECT_GT(one, 0);
    Load(u"<div style='font:10pt Tahoma'>" + std::u16string(40, u'x') +
         u" many words that will need more than one "
         u"line in a view of two hundred pixels and then some more words</div>");
    const int longer = Height();
    EXPECT_GT(longer, one);
    MoveWindow(view_, 0, 0, 100, 100, TRUE);
    EXPECT_GT(Height(), longer) << "narrower";
    SendMessageW(view_, DTM_ZOOMLEVEL, 0, 4);
    const int large = Height();
    SendMessageW(view_, DTM_ZOOMLEVEL, 0, 0);
    EXPECT_GT(large, Height()) << "a larger zoom is taller";
    SendMessageW(view_, DTM_ZOOMLEVEL, 0, 99);
    EXPECT_EQ(host::HtmlViewZoom(view_), 4) << "clamped";
    SendMessageW(view_, DTM_ZOOMLEVEL, 0, -5);
    EXPECT_EQ(host::HtmlViewZoom(view_), 0);
}

// Changes in a row (a page, a zoom, a size, another zoom) leave the view
// as the last of them makes it, whether it is next measured, stepped
// through or drawn.
TEST_F(HtmlView, ChangesInARowLeaveTheViewAsTheLastOfThemMakesIt) {
    const std::u16string page = u"<div style='font:10pt Tahoma'>" + std::u16string(30, u'w') +
                                u" words enough for a few lines <a href='tel:123' name='t'>call</a> and after</div>";
    Load(page);
    Height();
    SendMessageW(view_, DTM_ZOOMLEVEL, 0, 4);
    Height();
    MoveWindow(view_, 0, 0, 120, 100, TRUE);
    Height();
    SendMessageW(view_, DTM_ZOOMLEVEL, 0, 0);
    const int stepwise = Height();

    MoveWindow(view_, 0, 0, 200, 100, TRUE);
    SendMessageW(view_, DTM_ZOOMLEVEL, 0, 2);
    Load(u"other");
    Height();
    Load(page);
    SendMessageW(view_, DTM_ZOOMLEVEL, 0, 4);
    MoveWindow(view_, 0, 0, 120, 100, TRUE);
    SendMessageW(view_, DTM_ZOOMLEVEL, 0, 0);
    EXPECT_EQ(Height(), stepwise);

    SendMessageW(view_, DTM_ZOOMLEVEL, 0, 4);
    Key(VK_DOWN);
    Key(VK_RETURN);
    ASSERT_FALSE(g_notices.empty());
    EXPECT_EQ(g_notices.back().target, u"tel:123") << "the link is reached in the page as it is now";

    Load(u"<div style='font:10pt Tahoma'>Hello there</div>");
    SendMessageW(view_, DTM_ZOOMLEVEL, 0, 4);
    const int large = Ink(120, 100);
    SendMessageW(view_, DTM_ZOOMLEVEL, 0, 0);
    EXPECT_GT(large, Ink(120, 100)) << "drawn at the zoom it was last given";
}

TEST_F(HtmlView, ATenPointSampleIsTallerAt192DpiThanAt96) {
    const std::u16string sample =
        u"<html><body><div style='font:10pt Tahoma; margin-top:5px;margin-left:3px;margin-right:3px; "
        u"wrap-option:emergency'>This is Display class layout test string</div></body></html>";
    MoveWindow(view_, 0, 0, 1000, 100, TRUE);
    Load(sample);
    const int at96 = Height();
    Start({480, 640, 192});
    MoveWindow(view_, 0, 0, 1000, 100, TRUE);
    Load(sample);
    EXPECT_GT(Height(), at96 + 5) << "one line either way, taller at 192 dpi";
}

TEST_F(HtmlView, EmergencyWrapBreaksALongWordAnywhere) {
    const std::u16string word(300, u'w');
    Load(u"<div>" + word + u"</div>");
    const int unbroken = Height();
    Load(u"<div style='wrap-option:emergency'>" + word + u"</div>");
    EXPECT_GT(Height(), 3 * unbroken) << "broken over several lines";
}

TEST_F(HtmlView, DownFocusesTheLinksInOrderAndActionReportsThem) {
    Load(
        u"<div>Call <a href='tel:89161234567' name='tel1'>89161234567</a> or "
        u"<a href='tel:+74951111111' name='tel2'>+7 495 111-11-11</a></div>");
    std::u16string focused;
    EXPECT_FALSE(host::HtmlViewFocusedLink(view_, &focused));
    Key(VK_DOWN);
    ASSERT_TRUE(host::HtmlViewFocusedLink(view_, &focused));
    EXPECT_EQ(focused, u"tel:89161234567");
    Key(VK_RETURN);
    Key(VK_DOWN);
    Key(VK_RETURN);
    Key(VK_UP);
    Key(VK_RETURN);
    ASSERT_EQ(g_notices.size(), 3u);
    EXPECT_EQ(g_notices[0].code, static_cast<UINT>(NM_HOTSPOT));
    EXPECT_EQ(g_notices[0].target, u"tel:89161234567");
    EXPECT_EQ(g_notices[0].text, u"89161234567");
    EXPECT_EQ(g_notices[1].target, u"tel:+74951111111");
    EXPECT_EQ(g_notices[1].text, u"+7 495 111-11-11");
    EXPECT_EQ(g_notices[2].target, u"tel:89161234567");
    EXPECT_EQ(host::HtmlViewLinks(view_), (std::vector<std::u16string>{u"tel:89161234567", u"tel:+74951111111"}));
}

TEST_F(HtmlView, OtherKeysReachTheParentAsKeyNotices) {
    Load(u"<div>no links</div>");
    Key('3');
    Key(VK_TBACK);
    Key(VK_RETURN);  // Action with no link in focus is a key too
    ASSERT_EQ(g_notices.size(), 3u);
    EXPECT_EQ(g_notices[0].code, static_cast<UINT>(NM_KEYDOWN));
    EXPECT_EQ(g_notices[0].key, static_cast<UINT>('3'));
    EXPECT_EQ(g_notices[1].key, static_cast<UINT>(VK_TBACK));
    EXPECT_EQ(g_notices[2].key, static_cast<UINT>(VK_RETURN));
    // A page taller than the view scrolls with Down when no link is in view.
    std::u16string tall;
    for (int i = 0; i < 40; ++i) tall += u"<div>line</div>";
    Load(tall);
    EXPECT_GT(Height(), 100);
    g_notices.clear();
    Key(VK_DOWN);
    EXPECT_TRUE(g_notices.empty()) << "Down belongs to the view";
}

// Back held by a menu bar is handed to the focus window as the shell hands
// it: in the view it is a key like the others, for the parent to act on.
TEST_F(HtmlView, BackHandedToTheFocusReachesTheParentAsAKey) {
    Load(u"<div>no links</div>");
    SetFocus(view_);
    ASSERT_EQ(GetFocus(), view_);
    g_notices.clear();
    SHSendBackToFocusWindow(WM_HOTKEY, 2, MAKELPARAM(MOD_KEYUP, VK_TBACK));
    SHSendBackToFocusWindow(WM_HOTKEY, 2, MAKELPARAM(0, VK_TBACK));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    ASSERT_EQ(g_notices.size(), 1u);
    EXPECT_EQ(g_notices[0].code, static_cast<UINT>(NM_KEYDOWN));
    EXPECT_EQ(g_notices[0].key, static_cast<UINT>(VK_TBACK));
}

TEST_F(HtmlView, BadMarkupLaysOutWithoutACrash) {
    for (const std::u16string& page :
         {std::u16string(u"<div><b>unclosed <i>tags <span style='font:'>and <a href='x'>a link"),
          std::u16string(u"a < b > c <<<>>> </p></div></html> &amp &lt;&#x41;&#99999999; <a href>empty</a>"),
          std::u16string(u"<div style='color:#zzz; font:bold 9999pt; margin-top:-5px; margin-left:abc'>x</div>"),
          std::u16string(u"")}) {
        Load(page);
        EXPECT_GE(Height(), 0);
        Key(VK_DOWN);
        Key(VK_RETURN);
    }
    std::u16string deep;
    for (int i = 0; i < 10000; ++i) deep += u"<div>";
    deep += u"bottom";
    Load(deep);
    EXPECT_GT(Height(), 0);
    EXPECT_NE(host::HtmlViewSource(view_).find(u"bottom"), std::u16string::npos);

    // A megabyte of text, one long word among it, laid out in one piece.
    std::u16string big;
    while (big.size() < 1000000) big += u"<p>Some words <b>and more</b> words in a paragraph</p>";
    big += std::u16string(20000, u'z');
    const auto start = std::chrono::steady_clock::now();
    Load(big);
    EXPECT_GT(Height(), 1000);
    (void)start;
}

TEST(HtmlViewClass, AFaultMakesTheInitialisationFail) {
    testing_support::TempDevice device;
    host::FailCall("InitHTMLControl", 1, 0);
    EXPECT_FALSE(InitHTMLControl(GetModuleHandleW(nullptr)));
    EXPECT_TRUE(InitHTMLControl(GetModuleHandleW(nullptr)));
    WNDCLASSW wc = {};
    EXPECT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), DISPLAYCLASS, &wc));
}

}  // namespace
