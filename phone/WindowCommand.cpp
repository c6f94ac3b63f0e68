// phone window: the session of phone shell, shown live in a desktop window
// with its keypad, while the terminal takes scenario lines.
#include "Cli.h"
#include "DesktopWindow.h"
#include "InputLines.h"
#include "ScenarioRunner.h"
#include "Session.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <thread>

namespace phone {

namespace {

const int kMostScale = 8;

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(name); value && *value) return true;
    return false;
}

int ParseScale(const std::string& text) {
    int scale = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || scale > kMostScale) throw UsageError("--scale wants a whole number from 1 to 8");
        scale = scale * 10 + (c - '0');
    }
    if (scale < 1 || scale > kMostScale) throw UsageError("--scale wants a whole number from 1 to 8");
    return scale;
}

}  // namespace

int RunWindow(Args& args) {
    const bool json = args.TakeFlag("--json");
    const bool exitAfter = args.TakeFlag("--exit");
    int scale = 1;
    std::string scaleText;
    if (args.TakeOption("--scale", &scaleText)) scale = ParseScale(scaleText);
    args.ExpectAtMost(1);
    const std::string script = args.words.empty() ? "" : args.words[0];
    if (exitAfter && script.empty())
        throw UsageError("--exit closes the window after the SCRIPT's last line: name one (or - for standard input)");
    if (!HasDisplay())
        throw UsageError("no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)");
    std::ifstream file;
    if (!script.empty() && script != "-") {
        std::error_code ec;
        if (std::filesystem::is_directory(script, ec)) throw CommandError("cannot read " + script + ": it is a folder");
        file.open(script);
        if (!file) throw CommandError("cannot read " + script);
    }

    Session session(args.device, json, "");
    StartSession(session);
    std::string error;
    std::unique_ptr<DesktopWindow> window = MakeDesktopWindow(scale, "phone: " + args.device, &error);
    if (!window || !window->Open(&error)) {
        session.Stop();
        throw CommandError("cannot open the window: " + error);
    }

    session.SetWindowReport([&window] { return window->Report(); });

    // The lines run beside the window, which keeps the main thread, as the
    // desktop wants; the window turns and repaints as they go. Once it is
    // closed no further line starts.
    InputLines input;
    std::atomic<bool> closed{false};
    const LineSource terminal = [&input](std::string* line) { return input.Next(line); };
    const LineSource scriptLines = StreamLines(file);
    const LineSource fromFile = [&](std::string* line) { return !closed && scriptLines(line); };
    std::atomic<bool> ok{true};
    std::exception_ptr failure;
    std::thread lines([&] {
        try {
            int number = 0;
            if (!script.empty() && !RunLines(session, script == "-" ? terminal : fromFile, true, false, &number))
                ok = false;
            if (exitAfter) {
                window->RequestClose();
                return;
            }
            // The window stays open once the terminal has no more to say.
            if (script != "-" && !RunLines(session, terminal, false, isatty(STDIN_FILENO) != 0, &number)) ok = false;
        } catch (...) {
            failure = std::current_exception();
            ok = false;
            if (exitAfter) window->RequestClose();
        }
    });
    window->Run();
    // The desktop window goes at once; the line that runs now ends (a wait
    // is cut short) and then the session, as at the end of phone run.
    closed = true;
    session.Interrupt();
    input.Stop();
    window->Close();
    lines.join();
    session.SetWindowReport(nullptr);
    session.Stop();
    if (failure) std::rethrow_exception(failure);
    return ok ? kExitOk : kExitFailed;
}

}  // namespace phone
