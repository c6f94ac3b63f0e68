// The phone on the desktop: a window that shows the emulated screen as it
// is composed, refreshed whenever the screen changes, with the keypad under
// it; the mouse and the keyboard press the phone's keys.
#pragma once

#include "DesktopWindow.h"
#include "Keypad.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

struct SDL_Window;
struct SDL_Surface;
union SDL_Event;
typedef struct _cairo_surface cairo_surface_t;

namespace phone {

class DeviceWindow : public DesktopWindow {
public:
    DeviceWindow(int scale, std::string title);
    ~DeviceWindow() override;
    DeviceWindow(const DeviceWindow&) = delete;
    DeviceWindow& operator=(const DeviceWindow&) = delete;

    bool Open(std::string* error) override;
    void Run() override;
    void RequestClose() override;
    void Close() override;
    WindowReport Report() const override;

    struct Wakeup;

private:
    void Handle(const SDL_Event& event);
    void Present();
    void Relayout(int screenWidth, int screenHeight);
    void Press(BYTE vk);
    void Release(BYTE vk);
    void OnText(const char* text);
    void SavePicture();

    const int scale_;
    const std::string title_;
    SDL_Window* window_ = nullptr;
    std::shared_ptr<Wakeup> wakeup_;
    bool running_ = false;

    std::vector<uint32_t> screen_;  // the last composed screen
    int screenWidth_ = 0, screenHeight_ = 0;
    cairo_surface_t* frame_ = nullptr;     // the whole window, drawn
    BYTE paintedHeld_ = 0;                 // the key drawn held in frame_
    SDL_Surface* shownSurface_ = nullptr;  // the window's surface last filled whole
    std::vector<KeypadKey> keys_;
    BYTE clicked_ = 0;           // the key held with the mouse
    std::multiset<BYTE> typed_;  // the keys held on the keyboard
};

}  // namespace phone
