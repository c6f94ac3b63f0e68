// What loading a page says to the HTML view, message by message: the view
// cleared as the content is set, then the zoom back to normal, the measurement sample added, ended and measured, the
// view cleared, the page added and ended, the zoom the sample chose (the smallest when it laid out taller than 25
// pixels), then one step down into the page. The sample's height follows the screen, so that both zooms are seen.
#include "BubbleTestSupport.h"

#include <htmlctrl.h>
#include <htmlview_host.h>

#include <mutex>

namespace bubble_tests {
namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;  // the text, for DTM_ADDTEXTW, is kept apart
    std::u16string text;
    LRESULT result;
};

std::mutex g_lock;
std::vector<Seen> g_seen;
WNDPROC g_viewProc = nullptr;

LRESULT CALLBACK RecordingViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcW(g_viewProc, hwnd, msg, wParam, lParam);
    const bool ours = (msg >= DTM_ADDTEXTW && msg <= DTM_LAYOUTHEIGHT) || (msg == WM_KEYDOWN);
    if (ours) {
        std::lock_guard<std::mutex> lock(g_lock);
        g_seen.push_back(Seen{msg, wParam, msg == DTM_ADDTEXTW ? 0 : lParam,
                              msg == DTM_ADDTEXTW ? std::u16string(reinterpret_cast<LPCWSTR>(lParam)) : u"", result});
    }
    return result;
}

class LoadHtml : public BubbleTest, public ::testing::WithParamInterface<host::ScreenProfile> {
protected:
    void SetUp() override { Start(GetParam()); }
    void TearDown() override {
        if (view_) SetWindowLongPtrW(view_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_viewProc));
        BubbleTest::TearDown();
    }
    HWND view_ = nullptr;
};

TEST_P(LoadHtml, TheViewIsToldTheSampleThenThePageAtTheZoomTheSampleChose) {
    view_ = HtmlViewOf(Bubble());
    ASSERT_NE(view_, nullptr);
    g_viewProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(view_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingViewProc)));
    ASSERT_NE(g_viewProc, nullptr);
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_seen.clear();
    }
    Announce(u"the page's own text");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    std::vector<Seen> seen;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        seen = g_seen;
    }
    ASSERT_GE(seen.size(), 10u);
    const UINT order[] = {DTM_CLEAR, DTM_ZOOMLEVEL, DTM_ADDTEXTW,    DTM_ENDOFSOURCE, DTM_LAYOUTHEIGHT,
                          DTM_CLEAR, DTM_ADDTEXTW,  DTM_ENDOFSOURCE, DTM_ZOOMLEVEL,   WM_KEYDOWN};
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(seen[i].message, order[i]) << "message " << i;
    EXPECT_EQ(seen[1].lParam, 2) << "the normal zoom first";
    EXPECT_NE(seen[2].text.find(u"This is Display class layout test string"), std::u16string::npos);
    EXPECT_NE(seen[6].text.find(u"the page's own text"), std::u16string::npos);
    const LRESULT sampleHeight = seen[4].result;
    EXPECT_GT(sampleHeight, 0);
    EXPECT_EQ(seen[8].lParam, sampleHeight > 25 ? 0 : 2) << "sample " << sampleHeight << " px";
    EXPECT_EQ(host::HtmlViewZoom(view_), sampleHeight > 25 ? 0 : 2);
    EXPECT_EQ(seen[9].wParam, static_cast<WPARAM>(VK_DOWN));
    std::printf("sample %ld px -> zoom %ld\n", static_cast<long>(sampleHeight), static_cast<long>(seen[8].lParam));
}

// At 96 dpi the sample fits within 25 pixels; at 192 dpi it lays out taller.
INSTANTIATE_TEST_SUITE_P(Screens, LoadHtml,
                         ::testing::Values(host::ScreenProfile{240, 320, 96}, host::ScreenProfile{480, 640, 192}));

}  // namespace
}  // namespace bubble_tests
