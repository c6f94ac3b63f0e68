// Loading and laying out the bubble's page (the message template with a
// 160-character text and two links), alone and zoomed after, and pages of 25 to 400 KB in an HTML
// view: the time of a page grows with its size, no faster.
#include <TempDevice.h>
#include <benchmark/benchmark.h>
#include <htmlctrl.h>
#include <screen_host.h>
#include <windows.h>

#include <string>

namespace {

const char16_t kBubblePage[] =
    u"<html><body><div style='wrap-option:emergency;'> <div style='font:bold 12pt Tahoma; color:menutext;'>Mirela "
    u"Dovanne</div> <div style='font:10pt Tahoma; margin-top:3px'>Call me back at <a href='tel:89161234567' "
    u"name='tel1'>89161234567</a> or at the office on <a href='tel:+74951112233' name='tel2'>+7 495 111-22-33</a> "
    u"after six, the meeting moved to Thursday and we need both the papers signed and stamped by then</div> "
    u"</div></body></html>";

struct Fixture {
    Fixture() {
        host::SetScreenProfile({240, 320, 131});
        InitHTMLControl(GetModuleHandleW(nullptr));
        view = CreateWindowExW(0, DISPLAYCLASS, nullptr, 0, 0, 0, 232, 92, nullptr, nullptr, nullptr, nullptr);
    }
    ~Fixture() { DestroyWindow(view); }
    void Load(const std::u16string& html) {
        SendMessageW(view, DTM_CLEAR, 0, 0);
        SendMessageW(view, DTM_ADDTEXTW, 0, reinterpret_cast<LPARAM>(html.c_str()));
        SendMessageW(view, DTM_ENDOFSOURCE, 0, 0);
        benchmark::DoNotOptimize(SendMessageW(view, DTM_LAYOUTHEIGHT, 0, 0));
    }
    testing_support::TempDevice device;
    HWND view = nullptr;
};

void BM_BubblePage(benchmark::State& state) {
    Fixture f;
    const std::u16string page(kBubblePage);
    for (auto _ : state) f.Load(page);
}
BENCHMARK(BM_BubblePage)->Unit(benchmark::kMicrosecond);

// As the bubble loads it: the page, then the zoom its measurement chose.
void BM_BubblePageThenZoom(benchmark::State& state) {
    Fixture f;
    const std::u16string page(kBubblePage);
    for (auto _ : state) {
        SendMessageW(f.view, DTM_CLEAR, 0, 0);
        SendMessageW(f.view, DTM_ADDTEXTW, 0, reinterpret_cast<LPARAM>(page.c_str()));
        SendMessageW(f.view, DTM_ENDOFSOURCE, 0, 0);
        SendMessageW(f.view, DTM_ZOOMLEVEL, 0, 0);
        benchmark::DoNotOptimize(SendMessageW(f.view, DTM_LAYOUTHEIGHT, 0, 0));
    }
}
BENCHMARK(BM_BubblePageThenZoom)->Unit(benchmark::kMicrosecond);

void BM_LargePage(benchmark::State& state) {
    Fixture f;
    std::u16string page;
    int n = 0;
    while (page.size() < static_cast<size_t>(state.range(0)) * 1000)
        page += u"<p>Paragraph " + std::u16string(1, static_cast<char16_t>(u'a' + (n++ % 26))) +
                u" with <b>some bold words</b> and a <a href='tel:123'>link</a> in it</p>";
    for (auto _ : state) f.Load(page);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size() * sizeof(char16_t)));
}
BENCHMARK(BM_LargePage)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
