// The bubble and its platform end to end, as a person drives the phone:
// messages arrive, the bubble shows them, keys answer them; a program of
// the build shows a message box, the messaging application, a call and a
// page; the state report and the screenshots show each.
#include "PhoneRunner.h"

#include <Json.h>
#include <cairo.h>
#include <gtest/gtest.h>

namespace phone_test {
namespace {

using testing_support::JsonValue;
using testing_support::ParseJson;

class BubbleEndToEnd : public ::testing::Test {
protected:
    void Init(const std::string& options = "") {
        Result r = RunPhone(device_.path(), "init " + options);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    Result Run(const std::string& lines, const std::string& options = "--json") {
        std::string script = WriteBytes(files_, "scenario.txt", lines);
        return RunPhone(device_.path(), "run '" + script + "' " + options);
    }
    static std::vector<JsonValue> States(const std::string& out) {
        std::vector<JsonValue> states;
        for (const std::string& line : Lines(out)) {
            JsonValue value = ParseJson(line);
            if (value.Has("screen")) states.push_back(value);
        }
        return states;
    }
    // The share of pixels in a rectangle of a screenshot that differ from white.
    static double Ink(const std::string& png, int x, int y, int w, int h) {
        cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
        EXPECT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS) << png;
        int ink = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) {
                auto* row = cairo_image_surface_get_data(s) + j * cairo_image_surface_get_stride(s);
                if ((reinterpret_cast<uint32_t*>(row)[i] & 0xFFFFFF) != 0xFFFFFF) ++ink;
            }
        cairo_surface_destroy(s);
        return static_cast<double>(ink) / (w * h);
    }

    testing_support::TempFolder device_;
    testing_support::TempFolder files_;
};

TEST_F(BubbleEndToEnd, AMessageIsAnnouncedAnsweredAndDismissed) {
    Init();
    const std::string shot = files_.path() + "/bubble.png";
    Result r = Run(
        "sms +79161234567 \"Call me on 89161234567\" name Mirela\n"
        "screenshot \"" +
        shot +
        "\"\n"
        "state\n"
        "sms +79160000000 \"second\"\n"
        "state\n"
        "key 3\n"
        "wait 100\n"
        "state\n"
        "read 1\n"
        "wait 400\n"
        "state\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    std::vector<JsonValue> states = States(r.out);
    ASSERT_EQ(states.size(), 4u);

    const JsonValue& first = states[0]["bubble"];
    EXPECT_TRUE(first["shown"].Bool()) << states[0].Dump();
    EXPECT_EQ(first["title"].Text(), "New Text Message");
    EXPECT_EQ(first["count"].Int(), 1);
    EXPECT_EQ(first["menu"].Int(), 0);
    EXPECT_NE(first["html"].Text().find("Mirela"), std::string::npos);
    EXPECT_NE(first["html"].Text().find("<a href='tel:89161234567' name='tel1'>89161234567</a>"), std::string::npos);
    // At 131 dpi: x 4, 232 wide, 116 high, at the foot of the home window's height.
    EXPECT_EQ(first["rect"].Dump(), "[4,134,232,116]");
    EXPECT_EQ(states[0]["soft_keys"]["left"].Text(), "Сохранить");
    EXPECT_EQ(states[0]["soft_keys"]["right"].Text(), "Меню");
    EXPECT_GT(Ink(shot, 10, 140, 220, 20), 0.3) << "the title strip is drawn";

    // A second unread one: the count.
    const JsonValue& second = states[1]["bubble"];
    EXPECT_EQ(second["title"].Text(), "New Text Messages");
    EXPECT_EQ(second["count"].Int(), 2);
    EXPECT_NE(second["html"].Text().find("You have 2 new text messages"), std::string::npos);

    // 3 is no shortcut on a summary; reading the message elsewhere dismisses.
    EXPECT_TRUE(states[2]["bubble"]["shown"].Bool());
    EXPECT_FALSE(states[3]["bubble"]["shown"].Bool());
    bool shellHoldsEnd = false;
    for (const JsonValue& key : states[3]["hotkeys"].Elements())
        if (key["window"].Text() == "MSCProg" && key["vk"].Int() == 115) shellHoldsEnd = true;
    EXPECT_TRUE(shellHoldsEnd) << "the keys are given back";
}

TEST_F(BubbleEndToEnd, TheDigitsAndTheMenuDoWhatTheyName) {
    Init();
    Result r = Run(
        "sms \"Mirela <+79161234567>\" \"one\"\n"
        "key 5\n"
        "key end\n"
        "read 1\n"
        "sms +79161234567 \"two\"\n"
        "key soft2 1\n"
        "wait 100\n"
        "state\n"
        "sms +79161234567 \"three\"\n"
        "key 0\n"
        "wait 100\n"
        "state\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    std::vector<JsonValue> states = States(r.out);
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0]["calls"].Dump(), R"(["+79161234567"])");
    EXPECT_EQ(states[0]["deleted"].size(), 1u) << states[0].Dump();
    EXPECT_EQ(states[0]["deleted"][0]["subject"].Text(), "two");
    EXPECT_FALSE(states[0]["bubble"]["shown"].Bool());
    const JsonValue& boxes = states[1]["message_boxes"];
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]["caption"].Text(), "Lumenrest Help");
    EXPECT_TRUE(boxes[0]["open"].Bool());
}

// Every shortcut on a fresh device at each of the three screens: what each
// digit names happens (the state report's inbox, deleted, calls and opened
// show it), the bubble goes down and the shell holds End again; `delete 1`
// and `read 1` from the messaging application end it too. The screenshots
// show the bubble with its title strip and soft keys at each size.
TEST_F(BubbleEndToEnd, EachShortcutAndTheMessagingApplicationEndTheBubbleAtEveryScreen) {
    struct Screen {
        const char* options;
        int width, height;
    };
    for (const Screen& screen :
         {Screen{"--screen 176x220 --dpi 96", 176, 220}, Screen{"--screen 240x320 --dpi 131", 240, 320},
          Screen{"--screen 480x640 --dpi 192", 480, 640}}) {
        SCOPED_TRACE(screen.options);
        testing_support::TempFolder device;
        ASSERT_EQ(RunPhone(device.path(), std::string("init ") + screen.options).status, 0);
        const std::string shot = files_.path() + "/shortcuts-" + std::to_string(screen.width) + ".png";
        std::string lines = "sms \"Mirela <+79161234567>\" \"one\"\nscreenshot \"" + shot + "\"\nstate\n";
        // Each digit on a message of its own, the one before read or gone.
        for (const char* digit : {"1", "2", "3", "4", "5", "6"})
            lines += std::string("read 1\nsms \"Mirela <+79161234567>\" \"digit ") + digit + "\"\nkey " + digit +
                     "\nwait 100\nstate\n";
        lines += "read 1\nsms +79161234567 \"deleted elsewhere\"\ndelete 1\nwait 400\nstate\n";
        lines += "sms +79161234567 \"read elsewhere\"\nread 1\nwait 400\nstate\n";
        Result r = RunPhone(device.path(), "run '" + WriteBytes(files_, "shortcuts.txt", lines) + "' --json");
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        std::vector<JsonValue> states = States(r.out);
        ASSERT_EQ(states.size(), 9u) << r.out;

        const JsonValue& up = states[0];
        ASSERT_TRUE(up["bubble"]["shown"].Bool()) << up.Dump();
        EXPECT_EQ(up["bubble"]["title"].Text(), "New Text Message");
        EXPECT_EQ(up["soft_keys"]["left"].Text(), "Сохранить");
        EXPECT_EQ(up["soft_keys"]["right"].Text(), "Меню");
        const JsonValue& rect = up["bubble"]["rect"];
        EXPECT_EQ(rect[0].Int() + rect[2].Int() + rect[0].Int(), screen.width) << "centred across the screen";
        EXPECT_LT(rect[1].Int() + rect[3].Int(), screen.height);
        // The title strip at the bubble's top is drawn, and so is its page
        // (the sender's line under it).
        EXPECT_GT(Ink(shot, rect[0].Int() + 2, rect[1].Int() + 2, rect[2].Int() - 4, 6), 0.3);
        EXPECT_GT(Ink(shot, rect[0].Int() + 2, rect[1].Int() + rect[3].Int() / 4, rect[2].Int() - 4, rect[3].Int() / 4),
                  0.02);

        auto message = [](const JsonValue& state, const char* folder, const std::string& subject) -> const JsonValue* {
            for (const JsonValue& m : state[folder].Elements())
                if (m["subject"].Text() == subject) return &m;
            return nullptr;
        };
        auto shellHoldsEnd = [](const JsonValue& state) {
            for (const JsonValue& key : state["hotkeys"].Elements())
                if (key["window"].Text() == "MSCProg" && key["vk"].Int() == 115) return true;
            return false;
        };
        for (size_t i = 1; i < states.size(); ++i) {
            SCOPED_TRACE("state " + std::to_string(i));
            EXPECT_FALSE(states[i]["bubble"]["shown"].Bool()) << states[i].Dump();
        }
        // 1 saves as read, 2 opens the composer to the sender, 3 deletes, 4
        // only dismisses, 5 calls the sender, 6 opens the reader.
        const JsonValue* saved = message(states[1], "inbox", "digit 1");
        ASSERT_NE(saved, nullptr);
        EXPECT_TRUE((*saved)["read"].Bool());
        EXPECT_TRUE(shellHoldsEnd(states[1]));
        ASSERT_GE(states[2]["opened"].size(), 1u);
        EXPECT_EQ(states[2]["opened"][states[2]["opened"].size() - 1]["app"].Text(), "composer");
        EXPECT_NE(message(states[3], "deleted", "digit 3"), nullptr);
        const JsonValue* dismissed = message(states[4], "inbox", "digit 4");
        ASSERT_NE(dismissed, nullptr);
        EXPECT_FALSE((*dismissed)["read"].Bool()) << "Dismiss leaves the message unread";
        EXPECT_TRUE(shellHoldsEnd(states[4]));
        ASSERT_GE(states[5]["calls"].size(), 1u);
        EXPECT_EQ(states[5]["calls"][states[5]["calls"].size() - 1].Text(), "+79161234567");
        ASSERT_GE(states[6]["opened"].size(), 2u);
        EXPECT_EQ(states[6]["opened"][states[6]["opened"].size() - 1]["app"].Text(), "reader");
        EXPECT_NE(message(states[7], "deleted", "deleted elsewhere"), nullptr);
        EXPECT_TRUE(shellHoldsEnd(states[7]));
        EXPECT_TRUE(shellHoldsEnd(states[8]));
    }
}

TEST_F(BubbleEndToEnd, AProgramShowsThePlatformWhereItBelongs) {
    for (int dpi : {96, 131, 192}) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        testing_support::TempFolder device;
        std::string size = dpi == 192 ? "480x640" : "240x320";
        ASSERT_EQ(RunPhone(device.path(), "init --screen " + size + " --dpi " + std::to_string(dpi)).status, 0);
        // A message to read, and its entry identifier from the state report.
        ASSERT_EQ(RunPhone(device.path(), "sms +79161234567 \"hello there\"").status, 0);
        Result first = RunPhone(device.path(), "run '" + WriteBytes(files_, "state.txt", "state\n") + "' --json");
        std::vector<JsonValue> before = States(first.out);
        ASSERT_EQ(before.size(), 1u) << first.out;
        const std::string entry = before[0]["inbox"][0]["entry"].Text();

        auto shot = [&](const std::string& name) { return files_.path() + "/" + name + ".png"; };
        std::string script = WriteBytes(files_, "probe.txt",
                                        "start PlatformProbe box Caption \"Some text\"\n"
                                        "screenshot \"" +
                                            shot("box") +
                                            "\"\n"
                                            "key action\nwait 100\n"
                                            "start PlatformProbe compose +79161234567\n"
                                            "screenshot \"" +
                                            shot("composer") +
                                            "\"\n"
                                            "key back\nwait 100\n"
                                            "start PlatformProbe read " +
                                            entry +
                                            "\n"
                                            "screenshot \"" +
                                            shot("reader") +
                                            "\"\n"
                                            "key back\nwait 100\n"
                                            "start PlatformProbe inbox\n"
                                            "screenshot \"" +
                                            shot("inbox") +
                                            "\"\n"
                                            "key end\nwait 100\n"
                                            "start PlatformProbe call 89161234567\n"
                                            "screenshot \"" +
                                            shot("call") +
                                            "\"\n"
                                            "key end\nwait 100\n"
                                            "start PlatformProbe page\n"
                                            "screenshot \"" +
                                            shot("page") +
                                            "\"\n"
                                            "key back\nwait 100\n"
                                            "toolkit on\nwait 100\n"
                                            "state\n");
        Result r = RunPhone(device.path(), "run '" + script + "' --json");
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        std::vector<JsonValue> states = States(r.out);
        ASSERT_EQ(states.size(), 1u);
        const JsonValue& s = states[0];
        EXPECT_EQ(s["message_boxes"].size(), 1u) << s.Dump();
        EXPECT_EQ(s["message_boxes"][0]["caption"].Text(), "Caption");
        EXPECT_FALSE(s["message_boxes"][0]["open"].Bool());
        ASSERT_EQ(s["opened"].size(), 3u) << s.Dump();
        EXPECT_EQ(s["opened"][0]["app"].Text(), "composer");
        EXPECT_EQ(s["opened"][0]["to"].Text(), "+79161234567");
        EXPECT_EQ(s["opened"][1]["app"].Text(), "reader");
        EXPECT_EQ(s["opened"][2]["app"].Text(), "inbox");
        EXPECT_TRUE(s["inbox"][0]["read"].Bool()) << "the reader marks its message read";
        EXPECT_EQ(s["calls"].Dump(), R"(["89161234567"])");
        // The stand-in of the utility is up and holds its hotkeys.
        EXPECT_TRUE(s["toolkit"]["running"].Bool()) << s.Dump();
        int utilityKeys = 0;
        for (const JsonValue& key : s["hotkeys"].Elements())
            if (key["window"].Text() == "ENATIVE_SMARTTOOLKIT") ++utilityKeys;
        EXPECT_GT(utilityKeys, 0) << s["hotkeys"].Dump();

        const int w = dpi == 192 ? 480 : 240, h = dpi == 192 ? 640 : 320;
        EXPECT_GT(Ink(shot("box"), 0, h / 3, w, h / 3), 0.02) << "the box in the middle";
        // The messaging application's windows and the call screen fill the
        // screen below the title bar with their own text.
        for (const char* window : {"composer", "reader", "inbox", "call"})
            EXPECT_GT(Ink(shot(window), 0, h / 8, w, h / 2), 0.005) << window;
        EXPECT_GT(Ink(shot("page"), 0, h / 10, w / 2, h / 5), 0.002) << "the page's text";
    }
}

// A program's dialog with a control of every kind, driven with the keys and
// turned, at three resolutions: the report tells where each control is and
// what it holds, and the screenshots show them there.
TEST_F(BubbleEndToEnd, AProgramsDialogOfEveryControlKindIsDrivenAndTurned) {
    for (int dpi : {96, 131, 192}) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        testing_support::TempFolder device;
        const int w = dpi == 192 ? 480 : 240, h = dpi == 192 ? 640 : 320;
        ASSERT_EQ(RunPhone(device.path(), "init --screen " + std::to_string(w) + "x" + std::to_string(h) + " --dpi " +
                                              std::to_string(dpi))
                      .status,
                  0);
        const std::string tall = files_.path() + "/tall.png", wide = files_.path() + "/wide.png";
        // Action ticks the box in focus; Down moves past the button to the
        // edit; typed letters go into it; Down again to the list, whose spin
        // steps with Right.
        std::string script = WriteBytes(files_, "dialog.txt",
                                        "start PlatformProbe dialog\nkey action down down\ntype abc\n"
                                        "key down right\nscreenshot \"" +
                                            tall + "\"\nstate\nrotate\nscreenshot \"" + wide + "\"\nstate\n");
        Result r = RunPhone(device.path(), "run '" + script + "' --json");
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        std::vector<JsonValue> states = States(r.out);
        ASSERT_EQ(states.size(), 2u);
        for (const JsonValue& state : states) {
            const JsonValue& dialog = state["dialog"];
            ASSERT_FALSE(dialog.IsNull()) << state.Dump();
            EXPECT_EQ(dialog["title"].Text(), "Controls");
            std::map<long long, const JsonValue*> controls;
            for (const JsonValue& c : dialog["controls"].Elements()) controls[c["id"].Int()] = &c;
            ASSERT_EQ(controls.size(), 8u) << dialog.Dump();
            EXPECT_TRUE((*controls[102])["checked"].Bool()) << "Action ticked the box";
            EXPECT_EQ((*controls[106])["text"].Text(), "abc");
            EXPECT_EQ((*controls[107])["selected"].Int(), 1) << "Right stepped the list";
            EXPECT_TRUE((*controls[107])["focused"].Bool());
            EXPECT_EQ((*controls[108])["class"].Text(), "msctls_updown32");
            EXPECT_EQ((*controls[109])["class"].Text(), "ComboBox");
            // The up-down stands right of its buddy, at its height.
            const JsonValue& list = (*controls[107])["rect"];
            const JsonValue& spin = (*controls[108])["rect"];
            EXPECT_EQ(spin[0].Int(), list[0].Int() + list[2].Int());
            EXPECT_EQ(spin[3].Int(), list[3].Int());
            // Every control lies inside the group box, left to right.
            const JsonValue& group = (*controls[101])["rect"];
            for (auto& [id, c] : controls) {
                const JsonValue& rect = (*c)["rect"];
                EXPECT_GE(rect[0].Int(), group[0].Int()) << id;
                EXPECT_LE(rect[0].Int() + rect[2].Int(), group[0].Int() + group[2].Int()) << id;
            }
        }
        // The dialog fills the screen below the title bar in both shapes.
        EXPECT_EQ(states[0]["dialog"]["rect"][2].Int(), w);
        EXPECT_EQ(states[1]["dialog"]["rect"][2].Int(), h);
        EXPECT_GT(Ink(tall, 0, h / 8, w / 2, h / 2), 0.03) << "the controls drawn in the tall screen";
        EXPECT_GT(Ink(wide, 0, w / 8, h / 2, w / 2), 0.03) << "and in the wide one";
    }
}

}  // namespace
}  // namespace phone_test
