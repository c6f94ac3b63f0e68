// Scenarios end to end through the emulator: messages ruled by the rule
// client, keys, rotation and screenshots.
#include "PhoneRunner.h"

#include <Json.h>
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>

namespace {

using phone_test::Lines;
using phone_test::Result;
using phone_test::RunPhone;
using testing_support::JsonValue;
using testing_support::ParseJson;

const char kSettings[] = "'HKLM\\Software\\Orvane\\Lumenrest'";

class Scenario : public ::testing::Test {
protected:
    void Init(const std::string& options = "") {
        Result r = RunPhone(device_.path(), "init " + options);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    void SetSetting(const std::string& name, const std::string& value) {
        Result r = RunPhone(device_.path(), std::string("reg set ") + kSettings + " " + name + " " + value);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    Result Run(const std::string& lines, const std::string& options = "--json") {
        std::string script = phone_test::WriteBytes(files_, "scenario.txt", lines);
        return RunPhone(device_.path(), "run '" + script + "' " + options);
    }
    // The state objects a --json run printed, in order.
    static std::vector<JsonValue> States(const std::string& out) {
        std::vector<JsonValue> states;
        for (const std::string& line : Lines(out)) {
            JsonValue value = ParseJson(line);
            if (value.Has("screen")) states.push_back(value);
        }
        return states;
    }

    testing_support::TempFolder device_;
    testing_support::TempFolder files_;
};

TEST_F(Scenario, TheRuleClientSortsWhatArrives) {
    Init();
    SetSetting("DeleteDR", "dword:1");
    Result r = Run(
        "report +79161234567 \"Message delivered\"\n"
        "state\n"
        "sms +79161234567 \"Hello there\"\n"
        "state\n");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<JsonValue> states = States(r.out);
    ASSERT_EQ(states.size(), 2u) << r.out;

    // The report: marked read, moved to Deleted Items, the event says so,
    // and without a bubble for reports the inbox service notifies itself.
    EXPECT_EQ(states[0]["last_rule"]["event"].Int(), 32) << states[0].Dump();
    EXPECT_TRUE(states[0]["last_rule"]["handled"].IsNull()) << states[0].Dump();
    EXPECT_EQ(states[0]["inbox"].kind(), JsonValue::Kind::Array);
    EXPECT_EQ(states[0]["inbox"].size(), 0u);
    const JsonValue& report = states[0]["deleted"][0];
    EXPECT_EQ(report["class"].Text(), "REPORT.IPM.SMStext.DR") << states[0].Dump();
    EXPECT_EQ(report["subject"].Text(), "Message delivered");
    EXPECT_EQ(report["sender"].Text(), "+79161234567");
    EXPECT_EQ(report["name"].Text(), "+79161234567");
    EXPECT_TRUE(report["read"].Bool());
    EXPECT_EQ(states[0]["standard_notifications"].Int(), 1);

    // The ordinary message is left as it came, and its announcement taken over.
    EXPECT_TRUE(states[1]["last_rule"]["event"].IsNull()) << states[1].Dump();
    EXPECT_EQ(states[1]["last_rule"]["handled"].Int(), 2);
    const JsonValue& message = states[1]["inbox"][0];
    EXPECT_EQ(message["subject"].Text(), "Hello there") << states[1].Dump();
    EXPECT_EQ(message["sender"].Text(), "+79161234567");
    EXPECT_EQ(message["name"].Text(), "+79161234567");
    EXPECT_EQ(message["read"].kind(), JsonValue::Kind::Bool);
    EXPECT_FALSE(message["read"].Bool());
    EXPECT_EQ(states[1]["standard_notifications"].Int(), 1);

    // Every line's result is one object.
    JsonValue first = ParseJson(Lines(r.out).at(0));
    EXPECT_EQ(first["line"].Int(), 1);
    EXPECT_EQ(first["command"].Text(), "report");
    EXPECT_TRUE(first["ok"].Bool());
    EXPECT_EQ(first.size(), 3u) << first.Dump();

    // Switched off, the rule client answers not handled.
    SetSetting("Disable", "dword:1");
    Result sms = RunPhone(device_.path(), "sms +79161234567 \"Off now\" --json");
    ASSERT_EQ(sms.status, 0) << sms.err;
    states = States(sms.out);
    ASSERT_EQ(states.size(), 1u);
    EXPECT_TRUE(states[0]["last_rule"]["event"].IsNull()) << states[0].Dump();
    EXPECT_EQ(states[0]["last_rule"]["handled"].Int(), 0);
    EXPECT_FALSE(states[0]["last_rule"]["handled"].IsNull());
    EXPECT_EQ(states[0]["standard_notifications"].Int(), 1);
}

// phone rewrite shows what the rule makes of a text: the same stored text
// as a message that arrives, for an ordinary message and a delivered report.
TEST_F(Scenario, RewriteAgreesWithTheRule) {
    Init("--contacts '" + phone_test::DataFile("phone21.vcf") + "'");
    SetSetting("UseCustomText", "dword:1");
    SetSetting("CustomText", "'sz:Delivered to @s'");
    SetSetting("ShowBubbles", "dword:0");
    struct Case {
        const char* line;
        const char* flags;
    } cases[] = {{"sms +79160000000 \"call 89161234567 or +7 495 111-11-11 now\"", ""},
                 {"report +79160000000 \"Message to +79161234567 delivered\"", "--report"},
                 {"report +79160000000 \"Message to +79161234567 not delivered\" failed", "--report --failed"}};
    for (const Case& c : cases) {
        std::string line = c.line;
        std::string text = line.substr(line.find('"'), line.rfind('"') - line.find('"') + 1);
        Result rewrite = RunPhone(device_.path(), "rewrite " + std::string(c.flags) + " " + text);
        ASSERT_EQ(rewrite.status, 0) << rewrite.err;
        std::string stored = Lines(rewrite.out).at(0).substr(std::string("stored: ").size());

        Result r = Run(line + "\nstate\n");
        ASSERT_EQ(r.status, 0) << r.err;
        std::vector<JsonValue> states = States(r.out);
        ASSERT_EQ(states.size(), 1u);
        const JsonValue& inbox = states[0]["inbox"];
        ASSERT_GT(inbox.size(), 0u) << states[0].Dump();
        EXPECT_EQ(inbox[0]["subject"].Text(), stored) << c.line;  // the newest first
        EXPECT_NE(stored, text.substr(1, text.size() - 2)) << "the case rewrites nothing: " << c.line;
    }
}

TEST_F(Scenario, ATextWithANulIsRefusedAndNothingArrives) {
    Init();
    std::string script("state\nsms +79161234567 \"call +7 916 123-45-67 a\0b tail\"\nstate\n", 62);
    Result r = Run(script, "");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 2: the text of a message cannot hold a NUL character"), std::string::npos) << r.err;
    r = Run("state\n");
    ASSERT_EQ(r.status, 0) << r.err;
    testing_support::JsonValue state;
    for (const std::string& line : phone_test::Lines(r.out))
        if (testing_support::JsonValue v = testing_support::ParseJson(line); v.Has("inbox")) state = v;
    ASSERT_EQ(state["inbox"].kind(), testing_support::JsonValue::Kind::Array) << r.out;
    EXPECT_EQ(state["inbox"].size(), 0u) << r.out;
}

// What a message or a line brings is shown back harmlessly: control
// characters of a text are escapes in the plain report, and an unknown
// command of any length is echoed cut short.
TEST_F(Scenario, ReportsShowControlCharactersAsEscapesAndCutLongCommands) {
    Init();
    Result r = Run("sms +79161234567 \"one\\n  2. unread fake\x1b[31m\"\nstate\n", "");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("one\\n  2. unread fake"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\n  2. unread fake"), std::string::npos) << "no second entry faked";
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << "no escape reaches the terminal";

    std::string huge(100000, 'x');
    r = Run(huge + "\n", "--json");
    EXPECT_EQ(r.status, 1);
    EXPECT_LT(r.out.size() + r.err.size(), 1000u);
    JsonValue result = ParseJson(Lines(r.out).at(0));
    EXPECT_EQ(result["command"].Text(), std::string(40, 'x') + "...");
    EXPECT_EQ(result["error"].Text(), "unknown scenario command " + std::string(40, 'x') + "...");
}

TEST_F(Scenario, ABadLineStopsTheRunAndIsNamed) {
    Init();
    Result r = Run("state\nsms +7916\nstate\n", "");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 2: usage: sms FROM TEXT [name NAME]"), std::string::npos) << r.err;
    r = Run("read 3\n", "--json");
    EXPECT_EQ(r.status, 1);
    JsonValue failed = ParseJson(Lines(r.out).at(0));
    EXPECT_EQ(failed["line"].Int(), 1) << r.out;
    EXPECT_EQ(failed["command"].Text(), "read");
    EXPECT_EQ(failed["ok"].kind(), JsonValue::Kind::Bool);
    EXPECT_FALSE(failed["ok"].Bool());
    EXPECT_EQ(failed["error"].Text(), "the inbox holds 0 messages, not 3");
    r = Run("sms +7916 one\nread 2\n", "");
    EXPECT_NE(r.err.find("line 2: the inbox holds 1 message, not 2"), std::string::npos) << r.err;
    r = Run("sms +7916 \"unterminated\n", "");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 1: unterminated quoted text"), std::string::npos) << r.err;
    r = Run("key nosuchkey\n", "");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("unknown key"), std::string::npos);
    r = RunPhone(device_.path(), "run /nonexistent/scenario.txt");
    EXPECT_EQ(r.status, 1);

    // A folder without a device is refused before anything is made in it.
    testing_support::TempFolder empty;
    r = RunPhone(empty.path(), "sms +7916 hi");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(std::filesystem::is_empty(empty.path()));
}

// One pixel of a PNG as 0xRRGGBB.
class Png {
public:
    explicit Png(const std::string& path) : surface_(cairo_image_surface_create_from_png(path.c_str())) {}
    ~Png() { cairo_surface_destroy(surface_); }
    bool ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(surface_); }
    int height() const { return cairo_image_surface_get_height(surface_); }
    uint32_t at(int x, int y) const {
        cairo_surface_flush(surface_);
        const unsigned char* row = cairo_image_surface_get_data(surface_) +
                                   y * cairo_image_surface_get_stride(surface_);
        uint32_t pixel;
        std::memcpy(&pixel, row + 4 * x, 4);
        return pixel & 0xFFFFFF;
    }

private:
    cairo_surface_t* surface_;
};

int ScaleY(int v, int dpi) { return (v * dpi + 48) / 96; }

// The status bar across the top, the home screen, the soft-key bar across
// the bottom, each band where it belongs.
void ExpectShellLayout(const std::string& path, int width, int height, int dpi) {
    Png png(path);
    ASSERT_TRUE(png.ok()) << path;
    ASSERT_EQ(png.width(), width);
    ASSERT_EQ(png.height(), height);
    int bar = ScaleY(26, dpi);
    uint32_t status = png.at(1, bar / 2), home = png.at(1, height / 2), soft = png.at(width / 2, height - 2);
    EXPECT_NE(status, home) << path;
    EXPECT_NE(soft, home) << path;
    EXPECT_EQ(png.at(1, 0), status) << path;
    EXPECT_EQ(png.at(1, bar - 1), status) << path;
    EXPECT_EQ(png.at(1, bar), home) << path;
    EXPECT_EQ(png.at(1, height - bar - 1), home) << path;
    EXPECT_EQ(png.at(1, height - bar), soft) << path;
    EXPECT_EQ(png.at(width - 2, height - 1), soft) << path;
}

TEST_F(Scenario, KeysRotationAndScreenshotsAtEveryResolution) {
    for (int dpi : {96, 131, 192}) {
        SCOPED_TRACE(dpi);
        Init("--force --screen 240x320 --dpi " + std::to_string(dpi));
        std::string shots = files_.path() + "/shots" + std::to_string(dpi);
        std::string tall = files_.path() + "/tall.png", wide = files_.path() + "/wide.png";
        Result r = Run(
            "key down 5 home\n"
            "screenshot \"" +
                tall +
                "\"\n"
                "rotate\n"
                "screenshot \"" +
                wide +
                "\"\n"
                "state\n",
            "--json --shots '" + shots + "'");
        ASSERT_EQ(r.status, 0) << r.err;
        ExpectShellLayout(tall, 240, 320, dpi);
        ExpectShellLayout(wide, 320, 240, dpi);
        EXPECT_TRUE(std::filesystem::exists(shots + "/001-key.png"));
        EXPECT_TRUE(std::filesystem::exists(shots + "/003-rotate.png"));
        EXPECT_FALSE(std::filesystem::exists(shots + "/002-screenshot.png"));

        std::vector<JsonValue> states = States(r.out);
        ASSERT_EQ(states.size(), 1u);
        const JsonValue& screen = states[0]["screen"];
        EXPECT_EQ(screen["width"].Int(), 320) << states[0].Dump();
        EXPECT_EQ(screen["height"].Int(), 240);
        EXPECT_EQ(screen["dpi"].Int(), dpi);
        EXPECT_TRUE(screen["on"].Bool());
        EXPECT_EQ(states[0]["foreground"]["class"].Text(), "DesktopExplorerWindow");
        // The shell holds End (on release) and Home.
        const JsonValue& hotkeys = states[0]["hotkeys"];
        ASSERT_EQ(hotkeys.size(), 2u) << states[0].Dump();
        EXPECT_EQ(hotkeys[0].Dump(), R"({"id":0,"modifiers":4096,"vk":115,"window":"MSCProg"})");
        EXPECT_EQ(hotkeys[1].Dump(), R"({"id":1,"modifiers":8,"vk":91,"window":"MSCProg"})");
    }
}

}  // namespace
