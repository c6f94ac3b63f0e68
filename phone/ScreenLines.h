// The scenario lines and state-report members that concern the screen and
// the keys: key, rotate, screenshot, --shots, and "screen", "foreground"
// and "hotkeys" of the state report.
#pragma once

#include "Json.h"

#include <string>
#include <vector>

namespace phone {

// The phone's keys by their scenario names: 0-9 star pound up down left
// right action back home end talk soft1 soft2. False for any other name.
bool KeyByName(const std::string& name, unsigned char* vk);

// "key K [K ...]": presses and releases each key in turn and lets the
// windows handle it before the next. An unknown name is a CommandError,
// raised before any key is pressed.
void PressKeys(const std::vector<std::string>& names);
// Types UTF-8 text into the focused control of the window in front and
// waits until it has been taken.
void TypeText(const std::string& text);

// "rotate": the screen swaps width and height.
void Rotate();

// "screenshot FILE.png"; a CommandError when the file cannot be written.
void Screenshot(const std::string& path);

// --shots DIR: whether a scenario command can change the screen, and the
// file its screenshot goes to (DIR/NNN-command.png, NNN the line number;
// DIR is made when missing).
bool ChangesScreen(const std::string& command);
std::string ShotPath(const std::string& dir, int line, const std::string& command);

// Members of the state report: "screen" {"width","height","dpi","on"},
// "foreground" {"class","title"} (null when nothing is in front) and
// "hotkeys" [{"window","id","modifiers","vk"}].
void WriteScreenState(JsonWriter& json);
// The same as lines of text for the plain report.
std::string ScreenStateText();

}  // namespace phone
