#include "Session.h"

#include "Json.h"
#include "ScreenLines.h"

#include <cemapi_host.h>
#include <coredll_host.h>
#include <inbox_host.h>
#include <screen_host.h>
#include <shell_host.h>
#include <toolkit_host.h>

#include <cstdio>

namespace phone {

Session::Session(std::string device, bool json, std::string shotsFolder)
    : device_(std::move(device)),
      json_(json),
      shotsFolder_(std::move(shotsFolder)),
      interrupted_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Session::~Session() {
    Stop();
    if (interrupted_) CloseHandle(interrupted_);
}

void Session::Interrupt() {
    if (interrupted_) SetEvent(interrupted_);
}

void Session::Wait(DWORD ms) {
    if (interrupted_)
        WaitForSingleObject(interrupted_, ms);
    else
        Sleep(ms);
}

bool Session::Start(std::string* error) {
    if (!host::StartShell()) {
        if (error) *error = "cannot start the shell";
        return false;
    }
    started_ = true;
    if (!host::StartInboxService(error)) return false;
    host::WaitForIdle();
    return true;
}

void Session::Stop() {
    if (!started_) return;
    started_ = false;
    // The programs and the rule clients go first; then the store stops
    // notifying, so that no advise sink of a module is called once the
    // module is gone; then the modules; the shell they float over goes last.
    host::EndPrograms(5000);
    host::StopToolkit();
    host::StopInboxService();
    host::StopMessageStore();
    host::UnloadAllModules();
    host::StopShell();
}

namespace {

// A command word as the result shows it back: a line of megabytes is not
// echoed whole, and the cut never falls inside a character.
std::string ShownCommand(const std::string& command) {
    const size_t kMost = 40;
    if (command.size() <= kMost) return command;
    size_t cut = kMost;
    while (cut > 0 && (static_cast<unsigned char>(command[cut]) & 0xC0) == 0x80) --cut;
    return command.substr(0, cut) + "...";
}

}  // namespace

bool Session::RunLine(int number, const std::vector<std::string>& words) {
    if (words.empty()) return true;
    const std::string& command = words[0];
    std::vector<std::string> args(words.begin() + 1, words.end());
    std::string error;
    auto it = ScenarioCommands().find(command);
    if (it == ScenarioCommands().end()) {
        error = "unknown scenario command " + ShownCommand(command);
    } else {
        try {
            it->second(*this, args);
            // The device settles before the next line looks at it.
            host::WaitForHomeScreen();
            if (!shotsFolder_.empty() && ChangesScreen(command)) {
                host::WaitForIdle();
                Screenshot(ShotPath(shotsFolder_, number, command));
            }
        } catch (const std::exception& e) {
            error = e.what();
        }
    }
    if (json_) {
        JsonWriter result;
        result.BeginObject()
            .Key("line")
            .Number(number)
            .Key("command")
            .String(ShownCommand(command))
            .Key("ok")
            .Bool(error.empty());
        if (!error.empty()) result.Key("error").String(error);
        result.EndObject();
        std::printf("%s\n", result.str().c_str());
    }
    std::fflush(stdout);
    if (!error.empty()) {
        std::fprintf(stderr, "phone: line %d: %s\n", number, error.c_str());
        return false;
    }
    return true;
}

}  // namespace phone
