#include "DeviceWindow.h"

#include "LateWakeups.h"

#include <coredll_host.h>
#include <screen_host.h>

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <cairo.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>

namespace phone {

// What the screen's observer holds: it outlives the window, so it is told
// when the window is gone and then wakes nobody.
struct DeviceWindow::Wakeup {
    std::mutex lock;
    bool open = false;
    Uint32 screenChanged = 0, closeRequested = 0;
    std::atomic<bool> pending{false};

    // What the state report shows of the frames.
    std::atomic<uint64_t> changes{0};   // of the device's screen, heard
    std::atomic<uint64_t> shown{0};     // of them, those on the desktop
    std::atomic<int64_t> changedAt{0};  // the first change not yet being drawn
    std::atomic<uint64_t> frames{0}, repaints{0};
    std::atomic<int64_t> repaintTime{0};

    static int64_t Now() {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    void Push(Uint32 type) {
        std::lock_guard<std::mutex> guard(lock);
        if (!open) return;
        SDL_Event event = {};
        event.type = type;
        SDL_PushEvent(&event);
    }
    // Many paints before the window looks make one refresh; the window
    // wakes at once for the first, not at a tick of its own.
    void ScreenChanged() {
        ++changes;
        if (!pending.exchange(true)) {
            changedAt = Now();
            Push(screenChanged);
        }
    }
};

namespace {

// The desktop keys that stand for the phone's; 0 for the others. Digits
// with shift held are left to the text they type ("*" and "#").
BYTE PhoneKeyOf(const SDL_Keysym& key) {
    switch (key.sym) {
        case SDLK_F1:
            return VK_F1;
        case SDLK_F2:
            return VK_F2;
        case SDLK_F3:
            return VK_F3;
        case SDLK_END:
            return VK_F4;
        case SDLK_HOME:
            return VK_LWIN;
        case SDLK_ESCAPE:
        case SDLK_BACKSPACE:
            return VK_ESCAPE;
        case SDLK_UP:
            return VK_UP;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        default:
            break;
    }
    if (key.sym >= SDLK_0 && key.sym <= SDLK_9 && !(key.mod & KMOD_SHIFT))
        return static_cast<BYTE>('0' + (key.sym - SDLK_0));
    if (key.sym >= SDLK_KP_1 && key.sym <= SDLK_KP_9) return static_cast<BYTE>('1' + (key.sym - SDLK_KP_1));
    if (key.sym == SDLK_KP_0) return '0';
    return 0;
}

}  // namespace

DeviceWindow::DeviceWindow(int scale, std::string title)
    : scale_(scale), title_(std::move(title)), wakeup_(std::make_shared<Wakeup>()) {}

DeviceWindow::~DeviceWindow() { Close(); }

bool DeviceWindow::Open(std::string* error) {
    // The window's own pixels go straight to the desktop: no GPU wanted,
    // and the window is never made again behind the user's back.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    LetLateWakeupsPass();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        *error = SDL_GetError();
        return false;
    }
    Uint32 first = SDL_RegisterEvents(2);
    if (first == static_cast<Uint32>(-1)) {
        *error = "no events left to register";
        SDL_Quit();
        return false;
    }
    wakeup_->screenChanged = first;
    wakeup_->closeRequested = first + 1;
    host::ScreenProfile profile = host::GetScreenProfile();
    window_ = SDL_CreateWindow(title_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, profile.width * scale_,
                               profile.height * scale_ + KeypadHeight(scale_), 0);
    if (!window_) {
        *error = SDL_GetError();
        SDL_Quit();
        return false;
    }
    SDL_StartTextInput();
    {
        std::lock_guard<std::mutex> guard(wakeup_->lock);
        wakeup_->open = true;
    }
    std::shared_ptr<Wakeup> wakeup = wakeup_;
    host::AddScreenObserver([wakeup] { wakeup->ScreenChanged(); });
    return true;
}

void DeviceWindow::Run() {
    running_ = window_ != nullptr;
    Present();
    SDL_Event event;
    // Waiting for events costs nothing while the device is still.
    while (running_ && SDL_WaitEvent(&event)) Handle(event);
}

void DeviceWindow::RequestClose() { wakeup_->Push(wakeup_->closeRequested); }

void DeviceWindow::Close() {
    if (!window_) return;
    if (clicked_) host::KeyUp(clicked_);
    clicked_ = 0;
    for (BYTE vk : typed_) host::KeyUp(vk);
    typed_.clear();
    {
        std::lock_guard<std::mutex> guard(wakeup_->lock);
        wakeup_->open = false;
    }
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    SDL_Quit();
    if (frame_) cairo_surface_destroy(frame_);
    frame_ = nullptr;
}

WindowReport DeviceWindow::Report() const {
    WindowReport report;
    report.scale = scale_;
    report.frames = wakeup_->frames;
    report.repaints = wakeup_->repaints;
    report.behind = wakeup_->shown != wakeup_->changes;
    report.repaintMicroseconds = wakeup_->repaintTime;
    return report;
}

void DeviceWindow::Handle(const SDL_Event& event) {
    if (event.type == wakeup_->screenChanged) {
        // Changes from here on wake the window again; those before it are
        // all in the frame composed now.
        const int64_t changedAt = wakeup_->changedAt;
        wakeup_->pending = false;
        const uint64_t changes = wakeup_->changes;
        Present();
        wakeup_->repaintTime = Wakeup::Now() - changedAt;
        ++wakeup_->repaints;
        wakeup_->shown = changes;
        return;
    }
    if (event.type == wakeup_->closeRequested) {
        running_ = false;
        return;
    }
    switch (event.type) {
        case SDL_QUIT:
            running_ = false;
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                shownSurface_ = nullptr;
                Present();
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT || clicked_) break;
            if (const KeypadKey* key = KeyAt(keys_, event.button.x, event.button.y)) {
                clicked_ = key->vk;
                Press(clicked_);
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT && clicked_) {
                // Let go before the keypad is drawn again, so that it is drawn unlit.
                const BYTE vk = clicked_;
                clicked_ = 0;
                Release(vk);
            }
            break;
        case SDL_KEYDOWN:
            if (event.key.keysym.sym == SDLK_F12) {
                if (!event.key.repeat) SavePicture();
            } else if (BYTE vk = PhoneKeyOf(event.key.keysym); vk && !event.key.repeat) {
                // A held desktop key is a held phone key: its repeats are not presses.
                typed_.insert(vk);
                Press(vk);
            }
            break;
        case SDL_KEYUP:
            if (BYTE vk = PhoneKeyOf(event.key.keysym)) {
                auto held = typed_.find(vk);
                if (held == typed_.end()) break;
                typed_.erase(held);
                Release(vk);
            }
            break;
        case SDL_TEXTINPUT:
            OnText(event.text.text);
            break;
        default:
            break;
    }
}

void DeviceWindow::Press(BYTE vk) {
    host::KeyDown(vk);
    Present();
}

void DeviceWindow::Release(BYTE vk) {
    host::KeyUp(vk);
    Present();
}

void DeviceWindow::OnText(const char* text) {
    // Digits came as keys already; star and pound are keys that type nothing.
    std::string letters;
    for (const char* c = text; *c; ++c) {
        if (*c >= '0' && *c <= '9') continue;
        if (*c == '*' || *c == '#') {
            if (!letters.empty()) host::TypeText(host::FromUtf8(letters));
            letters.clear();
            host::PressKey(*c == '*' ? VK_F8 : VK_F9);
            continue;
        }
        letters += *c;
    }
    if (!letters.empty()) host::TypeText(host::FromUtf8(letters));
}

void DeviceWindow::Relayout(int screenWidth, int screenHeight) {
    screenWidth_ = screenWidth;
    screenHeight_ = screenHeight;
    const int width = screenWidth * scale_, height = screenHeight * scale_ + KeypadHeight(scale_);
    keys_ = LayoutKeypad(width, screenHeight * scale_, scale_);
    if (frame_) cairo_surface_destroy(frame_);
    frame_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    // The window turns with the phone.
    int shownWidth = 0, shownHeight = 0;
    SDL_GetWindowSize(window_, &shownWidth, &shownHeight);
    if (shownWidth != width || shownHeight != height) SDL_SetWindowSize(window_, width, height);
}

void DeviceWindow::Present() {
    if (!window_) return;
    int width = 0, height = 0;
    host::ComposeScreenPixels(&screen_, &width, &height);
    bool whole = false;
    if (width != screenWidth_ || height != screenHeight_ || !frame_) {
        Relayout(width, height);
        whole = true;
    }

    cairo_t* cr = cairo_create(frame_);
    cairo_surface_t* screen = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(screen_.data()),
                                                                  CAIRO_FORMAT_RGB24, width, height, width * 4);
    cairo_save(cr);
    cairo_scale(cr, scale_, scale_);
    cairo_set_source_surface(cr, screen, 0, 0);
    // Pixels stay pixels when the screen is enlarged.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(screen);
    // The keypad's labels cost more than the screen: they are drawn again
    // only when a key is pressed or let go, or the keypad moved.
    const BYTE held = clicked_ ? clicked_ : (typed_.empty() ? 0 : *typed_.rbegin());
    if (whole || held != paintedHeld_) {
        PaintKeypad(cr, keys_, width * scale_, height * scale_, scale_, held);
        paintedHeld_ = held;
        whole = true;
    }
    cairo_destroy(cr);
    cairo_surface_flush(frame_);

    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(frame_), cairo_image_surface_get_width(frame_),
        cairo_image_surface_get_height(frame_), 32, cairo_image_surface_get_stride(frame_), SDL_PIXELFORMAT_RGB888);
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (source && target) {
        // A new window surface (the window was resized) is filled whole.
        if (target != shownSurface_) whole = true;
        shownSurface_ = target;
        SDL_Rect screenPart = {0, 0, width * scale_, height * scale_};
        SDL_BlitSurface(source, whole ? nullptr : &screenPart, target, whole ? nullptr : &screenPart);
        if (whole)
            SDL_UpdateWindowSurface(window_);
        else
            SDL_UpdateWindowSurfaceRects(window_, &screenPart, 1);
        ++wakeup_->frames;
    }
    if (source) SDL_FreeSurface(source);
}

void DeviceWindow::SavePicture() {
    if (!frame_) return;
    std::string name;
    std::error_code ec;
    for (int n = 1;; ++n) {
        name = "phone-window-" + std::to_string(n) + ".png";
        if (!std::filesystem::exists(name, ec)) break;
    }
    if (cairo_surface_write_to_png(frame_, name.c_str()) == CAIRO_STATUS_SUCCESS)
        std::fprintf(stderr, "phone: the window is saved in %s\n", name.c_str());
    else
        std::fprintf(stderr, "phone: cannot write %s\n", name.c_str());
}

}  // namespace phone
