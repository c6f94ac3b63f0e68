#include "Session.h"

#include "Json.h"
#include "ScreenLines.h"

#include <cemapi_host.h>
#include <coredll_host.h>
#include <inbox_host.h>
#include <screen_host.h>
#include <shell_host.h>

#include <cstdio>

namespace phone {

Session::Session(std::string device, bool json, std::string shotsFolder)
    : device_(std::move(device)), json_(json), shotsFolder_(std::move(shotsFolder)) {}

Session::~Session() { Stop(); }

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
    // The rule clients go first; then the store stops notifying, so that no
    // advise sink of a module is called once the module is gone; then the
    // modules; the shell they float over goes last.
    host::StopInboxService();
    host::StopMessageStore();
    host::UnloadAllModules();
    host::StopShell();
}

bool Session::RunLine(int number, const std::vector<std::string>& words) {
    if (words.empty()) return true;
    const std::string& command = words[0];
    std::vector<std::string> args(words.begin() + 1, words.end());
    LineOutcome outcome;
    std::string error;
    auto it = ScenarioCommands().find(command);
    if (it == ScenarioCommands().end()) {
        error = "unknown scenario command " + command;
    } else {
        try {
            it->second(*this, args, outcome);
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
        result.BeginObject().Key("line").Number(number).Key("command").String(command).Key("ok").Bool(error.empty());
        if (!error.empty()) result.Key("error").String(error);
        std::string text = result.str();
        text.insert(text.size(), outcome.jsonMembers);
        std::printf("%s}\n", text.c_str());
    }
    std::fflush(stdout);
    if (!error.empty()) {
        std::fprintf(stderr, "phone: line %d: %s\n", number, error.c_str());
        return false;
    }
    return true;
}

}  // namespace phone
