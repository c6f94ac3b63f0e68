// phone window end to end, as a person uses it: on a display of its own,
// a message arrives through the terminal, the bubble shows in the window
// as the screenshot has it, the keypad and the keyboard answer it, typed
// letters reach the settings program, the window turns with the phone, and
// closing it ends the session with the device keeping what happened.
#include "../Keypad.h"
#include "DesktopSession.h"
#include "PhoneRunner.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace phone_test {
namespace {

using testing_support::JsonValue;

const int kScale = 1;

class WindowEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        // No display is no reason to pass: the test command installs Xvfb.
        ASSERT_FALSE(display_.display().empty()) << display_.error();
        ASSERT_EQ(RunPhone(device_.path(), "init").status, 0);
    }

    // Waits (up to 5 s) until check() holds, asking the window for a state
    // report each time; the last report.
    template <class Check>
    JsonValue StateUntil(WindowProcess& phone, Check check) {
        JsonValue state;
        for (int i = 0; i < 50; ++i) {
            state = phone.State();
            if (check(state)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return state;
    }

    // The centre of a key of the keypad, as the window lays it out.
    static POINT KeyCentre(BYTE vk, int screenWidth, int screenHeight) {
        for (const phone::KeypadKey& k : phone::LayoutKeypad(screenWidth * kScale, screenHeight * kScale, kScale))
            if (k.vk == vk) return POINT{(k.rect.left + k.rect.right) / 2, (k.rect.top + k.rect.bottom) / 2};
        return POINT{-1, -1};
    }

    // Whether the screen part of the window shows what the screenshot does,
    // waited for up to 2 s (the window repaints as the device paints).
    bool ShowsTheScreenshot(XWindow window, const std::string& png) {
        cairo_surface_t* shot = cairo_image_surface_create_from_png(png.c_str());
        EXPECT_EQ(cairo_surface_status(shot), CAIRO_STATUS_SUCCESS) << png;
        const int w = cairo_image_surface_get_width(shot), h = cairo_image_surface_get_height(shot);
        bool same = false;
        for (int attempt = 0; attempt < 40 && !same; ++attempt) {
            if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::vector<uint32_t> pixels = display_.Capture(window, w, h);
            if (pixels.size() != static_cast<size_t>(w) * h) continue;
            same = true;
            for (int y = 0; y < h && same; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(shot) +
                                                        y * cairo_image_surface_get_stride(shot));
                for (int x = 0; x < w && same; ++x) same = (row[x] & 0xFFFFFF) == pixels[y * w + x];
            }
        }
        cairo_surface_destroy(shot);
        return same;
    }

    VirtualDisplay display_;
    testing_support::TempFolder device_;
    testing_support::TempFolder files_;
};

TEST_F(WindowEndToEnd, AMessageIsAnsweredWithTheKeypadAndTheKeyboardAndTheWindowTurnsAndCloses) {
    WindowProcess phone(device_.path(), display_.display(), {"--json", "--scale", std::to_string(kScale)});
    XWindow window = display_.WindowTitled("phone: ", 15000);
    ASSERT_NE(window, 0u) << phone.errors();
    int width = 0, height = 0;
    ASSERT_TRUE(display_.Size(window, &width, &height));
    EXPECT_EQ(width, 240);
    EXPECT_EQ(height, 320 + phone::KeypadHeight(kScale)) << "the keypad is under the screen";

    // A message arrives through the terminal; the window shows the bubble
    // exactly as the device's screenshot does.
    ASSERT_TRUE(phone.RunLine("sms +79161234567 \"Call me on 89161234567\" name Mirela")["ok"].Bool())
        << phone.errors();
    const std::string shot = files_.path() + "/bubble.png";
    ASSERT_TRUE(phone.RunLine("screenshot \"" + shot + "\"")["ok"].Bool());
    EXPECT_TRUE(ShowsTheScreenshot(window, shot)) << phone.errors();
    EXPECT_TRUE(phone.State()["bubble"]["shown"].Bool());

    // "1" clicked on the keypad marks the message read and ends the bubble.
    POINT one = KeyCentre('1', 240, 320);
    ASSERT_EQ(display_.Xdotool("mousemove --window " + std::to_string(window) + " " + std::to_string(one.x) + " " +
                               std::to_string(one.y) + " click 1"),
              0);
    JsonValue state = StateUntil(phone, [](const JsonValue& s) { return !s["bubble"]["shown"].Bool(); });
    EXPECT_FALSE(state["bubble"]["shown"].Bool()) << state.Dump();
    EXPECT_EQ(state["home"]["unread"].Int(), 0);
    const std::string home = files_.path() + "/home.png";
    ASSERT_TRUE(phone.RunLine("screenshot \"" + home + "\"")["ok"].Bool());
    EXPECT_TRUE(ShowsTheScreenshot(window, home)) << "the window follows the screen back to the home screen";

    // The keyboard's "1" does the same to the next one.
    ASSERT_TRUE(phone.RunLine("sms +79160000000 \"second\"")["ok"].Bool());
    ASSERT_TRUE(
        StateUntil(phone, [](const JsonValue& s) { return s["bubble"]["shown"].Bool(); })["bubble"]["shown"].Bool());
    ASSERT_EQ(display_.Xdotool("windowfocus --sync " + std::to_string(window)), 0);
    ASSERT_EQ(display_.Xdotool("key 1"), 0);
    state = StateUntil(phone, [](const JsonValue& s) { return !s["bubble"]["shown"].Bool(); });
    EXPECT_FALSE(state["bubble"]["shown"].Bool()) << state.Dump();
    EXPECT_EQ(state["home"]["unread"].Int(), 0);

    // Typed letters reach the focused field of the settings program: the
    // custom text box is eleven tab stops down, and checking it focuses it.
    ASSERT_TRUE(phone.RunLine("settings")["ok"].Bool());
    ASSERT_TRUE(phone.RunLine("key down down down down down down down down down down down")["ok"].Bool());
    ASSERT_EQ(display_.Xdotool("key Return"), 0);
    ASSERT_EQ(display_.Xdotool("type --delay 20 Hi"), 0);
    state = StateUntil(phone, [](const JsonValue& s) {
        for (const JsonValue& c : s["dialog"]["controls"].Elements())
            if (c["id"].Int() == 1009) return c["text"].Text() == "Hi";
        return false;
    });
    bool typed = false;
    for (const JsonValue& c : state["dialog"]["controls"].Elements())
        if (c["id"].Int() == 1009) typed = c["text"].Text() == "Hi";
    EXPECT_TRUE(typed) << state["dialog"].Dump();
    // Escape is Back, which the settings program hands to the focused
    // field: it erases the character before the caret.
    ASSERT_EQ(display_.Xdotool("key Escape"), 0);

    // The window turns with the phone.
    ASSERT_TRUE(phone.RunLine("rotate")["ok"].Bool());
    for (int i = 0; i < 50 && width != 320; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        display_.Size(window, &width, &height);
    }
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240 + phone::KeypadHeight(kScale));

    // Closing the window ends the session cleanly; the device keeps it all.
    display_.AskToClose(window);
    EXPECT_EQ(phone.Wait(15000), 0) << phone.errors();
    Result after = RunPhone(device_.path(), "sms +79162222222 third --json");
    ASSERT_EQ(after.status, 0) << after.err;
    JsonValue last = testing_support::ParseJson(Lines(after.out)[Lines(after.out).size() - 2]);
    EXPECT_EQ(last["home"]["unread"].Int(), 1) << "the two read before are still read";
    EXPECT_EQ(last["inbox"].Elements().size(), 3u);
}

TEST_F(WindowEndToEnd, AScriptRunsFirstAndExitClosesTheWindowAfterIt) {
    std::string script = WriteBytes(files_, "s.txt", "sms +79161234567 hello\nwait 100\nrotate\nwait 100\n");
    WindowProcess done(device_.path(), display_.display(), {"--exit", script});
    EXPECT_EQ(done.Wait(20000), 0) << done.errors();

    std::string failing = WriteBytes(files_, "f.txt", "sms +79161234567 again\nfrobnicate\nsms +7916 never\n");
    WindowProcess failed(device_.path(), display_.display(), {"--exit", failing});
    EXPECT_EQ(failed.Wait(20000), 1);
    EXPECT_NE(failed.errors().find("line 2: unknown scenario command frobnicate"), std::string::npos)
        << failed.errors();
    Result state = RunPhone(device_.path(), "run - --json < /dev/null");
    EXPECT_EQ(state.status, 0);
}

TEST_F(WindowEndToEnd, AnIdleWindowCostsNoTimeAndWithoutADisplayItSaysSo) {
    WindowProcess phone(device_.path(), display_.display(), {"--json"});
    ASSERT_NE(display_.WindowTitled("phone: ", 15000), 0u) << phone.errors();
    ASSERT_TRUE(phone.RunLine("sms +79161234567 hello")["ok"].Bool());
    auto cpu = [&] {
        std::ifstream stat("/proc/" + std::to_string(phone.pid()) + "/stat");
        std::string field;
        long ticks = 0;
        // utime and stime are the 14th and 15th fields (the name has no blanks).
        for (int i = 1; i <= 15 && stat >> field; ++i)
            if (i >= 14) ticks += std::stol(field);
        return ticks;
    };
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long before = cpu();
    std::this_thread::sleep_for(std::chrono::seconds(3));
    // A window that polled would spend a tick or more in every few; the
    // device's own timers (the clock) are allowed their few.
    EXPECT_LE(cpu() - before, 5) << "clock ticks of CPU in 3 s of idling";

    WindowProcess headless(device_.path(), "", {});
    EXPECT_EQ(headless.Wait(10000), 2);
    EXPECT_EQ(Lines(headless.errors()).size(), 1u) << headless.errors();
    EXPECT_NE(headless.errors().find("no display"), std::string::npos) << headless.errors();
}

}  // namespace
}  // namespace phone_test
