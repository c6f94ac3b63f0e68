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

    // The colour of one pixel of a screenshot, as 0xRRGGBB.
    static uint32_t Pixel(const std::string& png, int x, int y) {
        cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
        EXPECT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS) << png;
        uint32_t pixel = 0;
        if (x >= 0 && y >= 0 && x < cairo_image_surface_get_width(s) && y < cairo_image_surface_get_height(s)) {
            auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
            pixel = reinterpret_cast<uint32_t*>(row)[x] & 0xFFFFFF;
        }
        cairo_surface_destroy(s);
        return pixel;
    }
    // How many pixels of a box of the screenshot differ from its top-left one.
    static int Marks(const std::string& png, int x, int y, int w, int h) {
        int marks = 0;
        uint32_t ground = Pixel(png, x, y);
        cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
        for (int j = y; j < y + h && j < cairo_image_surface_get_height(s); ++j)
            for (int i = x; i < x + w && i < cairo_image_surface_get_width(s); ++i) {
                auto* row = cairo_image_surface_get_data(s) + j * cairo_image_surface_get_stride(s);
                if ((reinterpret_cast<uint32_t*>(row)[i] & 0xFFFFFF) != ground) ++marks;
            }
        cairo_surface_destroy(s);
        return marks;
    }
    static std::string TextOf(const JsonValue& dialog, int id) {
        const JsonValue* c = Control(dialog, id);
        return c ? (*c)["text"].Text() : "(no control)";
    }

    testing_support::TempFolder device_;
    testing_support::TempFolder files_;
};

TEST_F(SettingsEndToEnd, TheSampleFollowsFileAsTheAboutBoxReadsItsVersionTurnedAndASecondStartFindsTheDialog) {
    Result r = Run(
        "settings\n"
        "state\n"
        // Seven tab stops down (the disabled profile list is passed by) is
        // "Исп.файл как".
        "key down down down down down down down\n"
        "key action\n"
        "state\n"
        "key soft2 1\n"  // "О программе"
        "state\n"
        "rotate\n"
        "state\n"
        "key soft1\n"
        "key soft2 1\n"  // opened turned
        "state\n"
        "key soft1\n"
        "rotate\n"
        "settings\n"  // a second start
        "state\n"
        "key soft1\n"
        "state\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    std::vector<JsonValue> states = States(r.out);
    ASSERT_EQ(states.size(), 7u) << r.out;

    const JsonValue& opened = states[0]["dialog"];
    EXPECT_EQ(TextOf(opened, 1013), "Message you sent to Mirela Dovanne,m (+1234567890) has been delivered");
    EXPECT_TRUE((*Control(opened, 1004))["checked"].Bool());
    EXPECT_EQ(TextOf(opened, 1004), "Исп.файл как");

    const JsonValue& toggled = states[1]["dialog"];
    EXPECT_EQ(Focused(toggled), 1004);
    EXPECT_FALSE((*Control(toggled, 1004))["checked"].Bool());
    EXPECT_TRUE((*Control(toggled, 1011))["enabled"].Bool()) << "the name order is the user's again";
    EXPECT_EQ(TextOf(toggled, 1013), "Message you sent to Dovanne Mirela,m (+1234567890) has been delivered");

    // The About box in portrait, turned, and opened turned.
    const JsonValue& about = states[2]["dialog"];
    EXPECT_EQ(about["title"].Text(), "О программе") << states[2].Dump();
    EXPECT_EQ(about["rect"][2].Int(), 240);
    EXPECT_EQ(TextOf(about, 1017), "1.0");
    EXPECT_EQ(TextOf(about, 1019), "Версия");
    EXPECT_EQ(states[2]["soft_keys"]["left"].Text(), "Готово");
    const JsonValue& aboutTurned = states[3]["dialog"];
    EXPECT_EQ(aboutTurned["title"].Text(), "О программе");
    EXPECT_EQ(aboutTurned["rect"][2].Int(), 320);
    EXPECT_EQ(TextOf(aboutTurned, 1017), "1.0");
    EXPECT_GT((*Control(aboutTurned, 1017))["rect"][0].Int(), (*Control(about, 1017))["rect"][0].Int())
        << "laid out from the landscape template";
    const JsonValue& aboutOpenedTurned = states[4]["dialog"];
    EXPECT_EQ(TextOf(aboutOpenedTurned, 1017), "1.0");
    EXPECT_EQ((*Control(aboutOpenedTurned, 1017))["rect"].Dump(), (*Control(aboutTurned, 1017))["rect"].Dump());

    // The second start brought the running dialog forward, as the user left
    // it, and ended: one Done closes the only dialog there is.
    const JsonValue& again = states[5]["dialog"];
    EXPECT_EQ(again["title"].Text(), "Настройки") << states[5].Dump();
    EXPECT_EQ(again["rect"][2].Int(), 240);
    EXPECT_FALSE((*Control(again, 1004))["checked"].Bool()) << "the same dialog, not a new one";
    EXPECT_TRUE(states[6]["dialog"].IsNull()) << states[6].Dump();
    EXPECT_EQ(states[6]["foreground"]["class"].Text(), "DesktopExplorerWindow");
    EXPECT_EQ(states[6]["message_boxes"].size(), 0u);
    Result written = RunPhone(device_.path(), "reg get 'HKLM\\Software\\Orvane\\Lumenrest' UseFileAs");
    EXPECT_NE(written.out.find("0x0"), std::string::npos) << written.out << written.err;
}

TEST_F(SettingsEndToEnd, AtEachResolutionTheDialogItsSoftKeysAndItsScrollBarFollowTheFocus) {
    const struct {
        int dpi;
        const char* screen;
    } phones[] = {{96, "176x220"}, {131, "240x320"}, {192, "480x640"}};
    for (const auto& phone : phones) {
        SCOPED_TRACE(phone.dpi);
        ASSERT_EQ(RunPhone(device_.path(),
                           std::string("init --force --dpi ") + std::to_string(phone.dpi) + " --screen " + phone.screen)
                      .status,
                  0);
        const std::string top = files_.path() + "/top-" + std::to_string(phone.dpi) + ".png";
        const std::string bottom = files_.path() + "/bottom-" + std::to_string(phone.dpi) + ".png";
        // Twelve tab stops down is the sample text, the last one.
        Result r = Run("settings\nscreenshot \"" + top +
                       "\"\nstate\nkey down down down down down down down down down down down down\n"
                       "screenshot \"" +
                       bottom + "\"\nstate\n");
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        std::vector<JsonValue> states = States(r.out);
        ASSERT_EQ(states.size(), 2u) << r.out;
        const int width = static_cast<int>(states[0]["screen"]["width"].Int());
        const int height = static_cast<int>(states[0]["screen"]["height"].Int());
        const JsonValue& first = states[0]["dialog"];
        const JsonValue& last = states[1]["dialog"];
        ASSERT_TRUE(first.Has("rect")) << states[0].Dump();
        const int x = static_cast<int>(first["rect"][0].Int()), y = static_cast<int>(first["rect"][1].Int());
        const int w = static_cast<int>(first["rect"][2].Int()), h = static_cast<int>(first["rect"][3].Int());
        EXPECT_EQ(x, 0);
        EXPECT_EQ(w, width) << "full screen";
        EXPECT_EQ(states[0]["soft_keys"]["left"].Text(), "Готово");
        EXPECT_EQ(states[0]["soft_keys"]["right"].Text(), "Меню");

        // The focus is in view, and the view follows it down.
        const int clientHeight = h - 2;
        EXPECT_EQ(Focused(first), 1000);
        EXPECT_GE((*Control(first, 1000))["rect"][1].Int(), 0);
        EXPECT_GT((*Control(first, 1013))["rect"][1].Int() + (*Control(first, 1013))["rect"][3].Int(), clientHeight)
            << "the sample is out of view at the start";
        EXPECT_EQ(Focused(last), 1013);
        EXPECT_LE((*Control(last, 1013))["rect"][1].Int() + (*Control(last, 1013))["rect"][3].Int(), clientHeight);
        EXPECT_LT((*Control(last, 1000))["rect"][1].Int(), 0) << "the top has scrolled away";

        // Drawn: the controls, the soft keys' labels below the dialog, and
        // the scroll bar's thumb at the top, then at the bottom.
        EXPECT_GT(Ink(top, y + 2, h / 2), 0.05);
        const int keys = height - (y + h);
        ASSERT_GT(keys, 0);
        EXPECT_GT(Marks(top, 0, y + h + 1, width / 3, keys - 2), 20) << "the left label";
        EXPECT_GT(Marks(top, width - width / 3, y + h + 1, width / 3, keys - 2), 20) << "the right label";
        const int bar = (13 * phone.dpi + 48) / 96;
        const int column = x + w - 1 - bar / 2;
        const uint32_t thumb = 0x808080;
        EXPECT_EQ(Pixel(top, column, y + 3), thumb);
        EXPECT_NE(Pixel(top, column, y + h - 4), thumb);
        EXPECT_NE(Pixel(bottom, column, y + 3), thumb);
        EXPECT_EQ(Pixel(bottom, column, y + h - 4), thumb);
        EXPECT_NE(Pixel(bottom, x + w - 1 - bar - 2, y + h / 2), thumb) << "the controls stop short of the bar";
    }
}

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
