// Scenarios end to end through the emulator: messages ruled by the rule
// client, keys, rotation and screenshots.
#include "PhoneRunner.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>

namespace {

using phone_test::Lines;
using phone_test::Result;
using phone_test::RunPhone;

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
    static std::vector<std::string> States(const std::string& out) {
        std::vector<std::string> states;
        for (const std::string& line : Lines(out))
            if (line.rfind("{\"screen\":", 0) == 0) states.push_back(line);
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
    std::vector<std::string> states = States(r.out);
    ASSERT_EQ(states.size(), 2u) << r.out;

    // The report: marked read, moved to Deleted Items, the event says so,
    // and without a bubble for reports the inbox service notifies itself.
    EXPECT_NE(states[0].find("\"last_rule\":{\"event\":32,\"handled\":null}"), std::string::npos) << states[0];
    EXPECT_NE(states[0].find("\"inbox\":[]"), std::string::npos);
    EXPECT_NE(states[0].find("\"class\":\"REPORT.IPM.SMStext.DR\",\"subject\":\"Message delivered\","
                             "\"sender\":\"+79161234567\",\"name\":\"+79161234567\",\"read\":true"),
              std::string::npos);
    EXPECT_NE(states[0].find("\"standard_notifications\":1"), std::string::npos);

    // The ordinary message is left as it came, and its announcement taken over.
    EXPECT_NE(states[1].find("\"last_rule\":{\"event\":null,\"handled\":2}"), std::string::npos) << states[1];
    EXPECT_NE(states[1].find("\"subject\":\"Hello there\",\"sender\":\"+79161234567\",\"name\":\"+79161234567\","
                             "\"read\":false"),
              std::string::npos);
    EXPECT_NE(states[1].find("\"standard_notifications\":1"), std::string::npos);

    // Every line's result is one object.
    EXPECT_NE(r.out.find("{\"line\":1,\"command\":\"report\",\"ok\":true}"), std::string::npos);

    // Switched off, the rule client answers not handled.
    SetSetting("Disable", "dword:1");
    Result sms = RunPhone(device_.path(), "sms +79161234567 \"Off now\" --json");
    ASSERT_EQ(sms.status, 0) << sms.err;
    states = States(sms.out);
    ASSERT_EQ(states.size(), 1u);
    EXPECT_NE(states[0].find("\"last_rule\":{\"event\":null,\"handled\":0}"), std::string::npos) << states[0];
    EXPECT_NE(states[0].find("\"standard_notifications\":1"), std::string::npos);
}

TEST_F(Scenario, ATextWithANulIsRefusedAndNothingArrives) {
    Init();
    std::string script("state\nsms +79161234567 \"call +7 916 123-45-67 a\0b tail\"\nstate\n", 62);
    Result r = Run(script, "");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 2: the text of a message cannot hold a NUL character"), std::string::npos) << r.err;
    r = Run("state\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"inbox\":[]"), std::string::npos) << r.out;
}

TEST_F(Scenario, ABadLineStopsTheRunAndIsNamed) {
    Init();
    Result r = Run("state\nsms +7916\nstate\n", "");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 2: usage: sms FROM TEXT [name NAME]"), std::string::npos) << r.err;
    r = Run("read 3\n", "--json");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("{\"line\":1,\"command\":\"read\",\"ok\":false,\"error\":\"the inbox holds 0 messages, not 3\"}"),
              std::string::npos)
        << r.out;
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
        const unsigned char* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
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
        Result r = Run("key down 5 home\n"
                       "screenshot \"" + tall + "\"\n"
                       "rotate\n"
                       "screenshot \"" + wide + "\"\n"
                       "state\n",
                       "--json --shots '" + shots + "'");
        ASSERT_EQ(r.status, 0) << r.err;
        ExpectShellLayout(tall, 240, 320, dpi);
        ExpectShellLayout(wide, 320, 240, dpi);
        EXPECT_TRUE(std::filesystem::exists(shots + "/001-key.png"));
        EXPECT_TRUE(std::filesystem::exists(shots + "/003-rotate.png"));
        EXPECT_FALSE(std::filesystem::exists(shots + "/002-screenshot.png"));

        std::vector<std::string> states = States(r.out);
        ASSERT_EQ(states.size(), 1u);
        EXPECT_NE(states[0].find("\"screen\":{\"width\":320,\"height\":240,\"dpi\":" + std::to_string(dpi) +
                                 ",\"on\":true}"),
                  std::string::npos)
            << states[0];
        EXPECT_NE(states[0].find("\"foreground\":{\"class\":\"DesktopExplorerWindow\""), std::string::npos);
        // The shell holds End (on release) and Home.
        EXPECT_NE(states[0].find("{\"window\":\"MSCProg\",\"id\":0,\"modifiers\":4096,\"vk\":115}"),
                  std::string::npos);
        EXPECT_NE(states[0].find("{\"window\":\"MSCProg\",\"id\":1,\"modifiers\":8,\"vk\":91}"), std::string::npos);
    }
}

}  // namespace
