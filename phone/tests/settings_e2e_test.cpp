// The settings program end to end, as a person sets the phone up: started
// from a scenario, driven with the keys and typed text, turned with the
// phone, closed by its soft keys; what it wrote is what the next delivery
// report sees, and the state report shows the dialog control by control.
#include "PhoneRunner.h"

#include <Json.h>
#include <cairo.h>
#include <gtest/gtest.h>

namespace phone_test {
namespace {

using testing_support::JsonValue;
using testing_support::ParseJson;

class SettingsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RunPhone(device_.path(), "init").status, 0);
        std::string cards = WriteBytes(files_, "c.vcf",
                                       "BEGIN:VCARD\nVERSION:3.0\nN:Dovanne;Mirela\nTEL;TYPE=CELL:+79161234567\n"
                                       "END:VCARD\n");
        ASSERT_EQ(RunPhone(device_.path(), "contacts import '" + cards + "'").status, 0);
    }
    Result Run(const std::string& lines) {
        std::string script = WriteBytes(files_, "scenario.txt", lines);
        return RunPhone(device_.path(), "run '" + script + "' --json");
    }
    static std::vector<JsonValue> States(const std::string& out) {
        std::vector<JsonValue> states;
        for (const std::string& line : Lines(out)) {
            JsonValue value = ParseJson(line);
            if (value.Has("screen")) states.push_back(value);
        }
        return states;
    }
    static const JsonValue* Control(const JsonValue& dialog, int id) {
        for (const JsonValue& c : dialog["controls"].Elements())
            if (c["id"].Int() == id) return &c;
        return nullptr;
    }
    static int Focused(const JsonValue& dialog) {
        for (const JsonValue& c : dialog["controls"].Elements())
            if (c["focused"].Bool()) return static_cast<int>(c["id"].Int());
        return 0;
    }
    // The share of pixels in the left column of a screenshot that differ from white.
    static double Ink(const std::string& png, int y, int h) {
        cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
        EXPECT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS) << png;
        int ink = 0, w = cairo_image_surface_get_width(s) / 2;
        for (int j = y; j < y + h; ++j)
            for (int i = 0; i < w; ++i) {
                auto* row = cairo_image_surface_get_data(s) + j * cairo_image_surface_get_stride(s);
                if ((reinterpret_cast<uint32_t*>(row)[i] & 0xFFFFFF) != 0xFFFFFF) ++ink;
            }
        cairo_surface_destroy(s);
        return static_cast<double>(ink) / (w * h);
    }

    testing_support::TempFolder device_;
    testing_support::TempFolder files_;
};

TEST_F(SettingsEndToEnd, ACustomReportTextIsTypedKeptThroughARotationAndUsedByTheRule) {
    const std::string shot = files_.path() + "/settings.png";
    Result r = Run(
        "settings\n"
        "state\n"
        // Eleven tab stops down is the custom-text box; checking it moves the
        // focus into its field.
        "key down down down down down down down down down down down\n"
        "key action\n"
        "type \"Доставлено: @s\"\n"
        "state\n"
        "screenshot \"" +
        shot +
        "\"\n"
        "key down\n"
        "rotate\n"
        "state\n"
        "key soft1\n"
        "state\n"
        "rotate\n"
        "report +79161234567 \"Message to +79161234567 delivered\"\n"
        "state\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    std::vector<JsonValue> states = States(r.out);
    ASSERT_EQ(states.size(), 5u) << r.out;

    const JsonValue& opened = states[0]["dialog"];
    ASSERT_TRUE(opened.Has("controls")) << states[0].Dump();
    EXPECT_EQ(opened["title"].Text(), "Настройки");
    EXPECT_EQ(opened["class"].Text(), "Dialog");
    EXPECT_EQ(opened["rect"][2].Int(), 240) << "full screen";
    EXPECT_EQ(opened["controls"].size(), 19u);
    EXPECT_EQ(Focused(opened), 1000);
    ASSERT_NE(Control(opened, 1000), nullptr);
    EXPECT_EQ((*Control(opened, 1000))["text"].Text(), "Отключить");
    EXPECT_FALSE((*Control(opened, 1000))["checked"].Bool());
    const JsonValue& profiles = *Control(opened, 1018);
    EXPECT_EQ(profiles["class"].Text(), "ListBox");
    EXPECT_GE(profiles["items"].size(), 2u);
    EXPECT_FALSE(profiles["enabled"].Bool()) << "no profile rule is on";
    EXPECT_FALSE((*Control(opened, 1009))["enabled"].Bool());
    EXPECT_EQ(states[0]["soft_keys"]["left"].Text(), "Готово");

    const JsonValue& typed = states[1]["dialog"];
    EXPECT_TRUE((*Control(typed, 1008))["checked"].Bool());
    EXPECT_TRUE((*Control(typed, 1009))["enabled"].Bool());
    EXPECT_EQ((*Control(typed, 1009))["text"].Text(), "Доставлено: @s");
    EXPECT_EQ(Focused(typed), 1009);
    EXPECT_GT(Ink(shot, 40, 240), 0.05) << "the dialog is drawn";

    // Turned: the landscape template, everything entered kept, the sample
    // text following the committed field.
    const JsonValue& turned = states[2]["dialog"];
    EXPECT_EQ(turned["rect"][2].Int(), 320);
    EXPECT_EQ((*Control(turned, 1009))["text"].Text(), "Доставлено: @s");
    EXPECT_TRUE((*Control(turned, 1008))["checked"].Bool());
    EXPECT_EQ((*Control(turned, 1008))["text"].Text(), "Пользовательские DR текст (@ х парам.):");
    EXPECT_EQ((*Control(turned, 1013))["text"].Text(), "Доставлено: Mirela Dovanne,m (+1234567890)");

    // Done closes it; the next report is written in the custom text.
    EXPECT_TRUE(states[3]["dialog"].IsNull());
    EXPECT_EQ(states[3]["foreground"]["class"].Text(), "DesktopExplorerWindow");
    ASSERT_EQ(states[4]["inbox"].size(), 1u);
    const std::string report = states[4]["inbox"][0]["subject"].Text();
    EXPECT_EQ(report.rfind("Доставлено: ", 0), 0u) << report;
    EXPECT_NE(report.find("Mirela"), std::string::npos) << report;
}

TEST_F(SettingsEndToEnd, ExitWritesNothingAndTheAboutBoxComesAndGoes) {
    Result r = Run(
        "settings\n"
        "key action\n"  // Disable checked, then thrown away
        "key soft2\n"
        "state\n"
        "key 1\n"
        "state\n"
        "key soft1\n"
        "key soft2 2\n"
        "state\n"
        "sms +79161234567 \"hello\"\n"
        "state\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    std::vector<JsonValue> states = States(r.out);
    ASSERT_EQ(states.size(), 4u) << r.out;
    EXPECT_EQ(states[0]["popup"].Dump(), R"(["О программе","Выход"])");
    EXPECT_TRUE((*Control(states[0]["dialog"], 1000))["checked"].Bool());
    EXPECT_EQ(states[1]["dialog"]["title"].Text(), "О программе") << states[1].Dump();
    EXPECT_TRUE(states[2]["dialog"].IsNull()) << "Выход closes the program";
    // Disable was not written: the message is announced.
    EXPECT_TRUE(states[3]["bubble"]["shown"].Bool()) << states[3].Dump();
}

}  // namespace
}  // namespace phone_test
