// Keys, rotation and screenshots for scenarios, and the screen's part of the
// state report, on the platform's host calls.
#include "ScreenLines.h"

#include "Cli.h"

#include <coredll_host.h>
#include <screen_host.h>

#include <cstdio>
#include <filesystem>
#include <map>

namespace phone {

namespace {

const std::map<std::string, unsigned char>& KeyNames() {
    static const std::map<std::string, unsigned char> names = {
        {"0", '0'},
        {"1", '1'},
        {"2", '2'},
        {"3", '3'},
        {"4", '4'},
        {"5", '5'},
        {"6", '6'},
        {"7", '7'},
        {"8", '8'},
        {"9", '9'},
        {"star", VK_F8},
        {"pound", VK_F9},
        {"up", VK_UP},
        {"down", VK_DOWN},
        {"left", VK_LEFT},
        {"right", VK_RIGHT},
        {"action", VK_RETURN},
        {"back", VK_ESCAPE},
        {"home", VK_LWIN},
        {"end", VK_F4},
        {"talk", VK_F3},
        {"soft1", VK_F1},
        {"soft2", VK_F2},
    };
    return names;
}

// How long a scenario line lets the windows settle before the next one.
constexpr unsigned kSettleMs = 3000;

}  // namespace

bool KeyByName(const std::string& name, unsigned char* vk) {
    auto it = KeyNames().find(name);
    if (it == KeyNames().end()) return false;
    if (vk) *vk = it->second;
    return true;
}

void PressKeys(const std::vector<std::string>& names) {
    if (names.empty()) throw CommandError("key needs at least one key name");
    std::vector<unsigned char> keys;
    for (const std::string& name : names) {
        unsigned char vk = 0;
        if (!KeyByName(name, &vk))
            throw CommandError("unknown key \"" + name +
                               "\" (keys: 0-9 star pound up down left right action back home end talk soft1 soft2)");
        keys.push_back(vk);
    }
    for (unsigned char vk : keys) {
        host::PressKey(vk);
        host::WaitForIdle(kSettleMs);
    }
}

void TypeText(const std::string& text) {
    if (!host::TypeText(host::FromUtf8(text))) throw CommandError("nothing on the screen takes typed text");
    host::WaitForIdle(kSettleMs);
}

void Rotate() {
    host::RotateScreen();
    host::WaitForIdle(kSettleMs);
}

void Screenshot(const std::string& path) {
    std::string error;
    if (!host::SaveScreenshot(path, &error)) throw CommandError(error);
}

bool ChangesScreen(const std::string& command) {
    return command != "state" && command != "screenshot" && command != "profile" && command != "lock";
}

std::string ShotPath(const std::string& dir, int line, const std::string& command) {
    // The folder of --shots is made on first use; a failure shows when the
    // screenshot cannot be written.
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    char number[16];
    std::snprintf(number, sizeof number, "%03d", line);
    return dir + "/" + number + "-" + command + ".png";
}

void WriteScreenState(JsonWriter& json) {
    host::ScreenProfile p = host::GetScreenProfile();
    json.Key("screen").BeginObject();
    json.Key("width").Number(p.width).Key("height").Number(p.height).Key("dpi").Number(p.dpi);
    json.Key("on").Bool(host::ScreenIsOn());
    json.EndObject();
    host::WindowInfo fg;
    json.Key("foreground");
    if (host::ForegroundWindowInfo(&fg)) {
        json.BeginObject().Key("class").String(fg.className).Key("title").String(fg.title).EndObject();
    } else {
        json.Null();
    }
    json.Key("hotkeys").BeginArray();
    for (const host::HotKeyInfo& hk : host::ListHotKeys()) {
        json.BeginObject();
        json.Key("window").String(hk.window).Key("id").Number(hk.id);
        json.Key("modifiers").Number(hk.modifiers).Key("vk").Number(hk.vk);
        json.EndObject();
    }
    json.EndArray();
}

std::string ScreenStateText() {
    host::ScreenProfile p = host::GetScreenProfile();
    std::string text = "screen: " + std::to_string(p.width) + "x" + std::to_string(p.height) + " at " +
                       std::to_string(p.dpi) + " dpi, " + (host::ScreenIsOn() ? "on" : "off") + "\n";
    host::WindowInfo fg;
    if (host::ForegroundWindowInfo(&fg))
        text += "foreground: " + fg.className + " \"" + fg.title + "\"\n";
    else
        text += "foreground: none\n";
    for (const host::HotKeyInfo& hk : host::ListHotKeys()) {
        char line[160];
        std::snprintf(line, sizeof line, "hotkey: %s id %d modifiers 0x%x vk 0x%x\n", hk.window.c_str(), hk.id,
                      hk.modifiers, hk.vk);
        text += line;
    }
    return text;
}

}  // namespace phone
