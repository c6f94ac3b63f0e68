// phone run, phone shell and phone sms: scenario lines in one session.
#include "Cli.h"
#include "DeviceProfile.h"
#include "Json.h"
#include "ScenarioLine.h"
#include "Session.h"

#include <screen_host.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace phone {

namespace {

// Opens the device and starts a session on it.
void StartSession(Session& session) {
    OpenDeviceOrFail(session.device());
    DeviceProfile profile = LoadDeviceProfile(session.device());
    host::SetScreenProfile(host::ScreenProfile{profile.width, profile.height, profile.dpi});
    std::string error;
    if (!session.Start(&error)) throw CommandError("cannot start the device: " + error);
}

// Runs the lines of a stream; stopOnError ends at the first failed line.
bool RunLines(Session& session, std::istream& in, bool stopOnError, bool prompt) {
    bool allOk = true;
    std::string line;
    int number = 0;
    for (;;) {
        if (prompt) {
            std::fputs("phone> ", stdout);
            std::fflush(stdout);
        }
        if (!std::getline(in, line)) break;
        ++number;
        std::vector<std::string> words;
        std::string error;
        bool ok;
        if (!SplitScenarioLine(line, &words, &error)) {
            if (session.json()) {
                JsonWriter result;
                result.BeginObject().Key("line").Number(number).Key("command").Null().Key("ok").Bool(false);
                result.Key("error").String(error).EndObject();
                std::printf("%s\n", result.str().c_str());
                std::fflush(stdout);
            }
            std::fprintf(stderr, "phone: line %d: %s\n", number, error.c_str());
            ok = false;
        } else {
            ok = session.RunLine(number, words);
        }
        if (!ok) {
            allOk = false;
            if (stopOnError) break;
        }
    }
    if (prompt) std::fputs("\n", stdout);
    if (in.bad()) throw CommandError("cannot read the scenario after line " + std::to_string(number));
    return allOk;
}

}  // namespace

int RunRun(Args& args) {
    bool json = args.TakeFlag("--json");
    std::string shots;
    args.TakeOption("--shots", &shots);
    args.ExpectAtMost(1);
    const std::string& script = args.at(0, "scenario file (or - for standard input)");
    std::ifstream file;
    if (script != "-") {
        std::error_code ec;
        if (std::filesystem::is_directory(script, ec)) throw CommandError("cannot read " + script + ": it is a folder");
        file.open(script);
        if (!file) throw CommandError("cannot read " + script);
    }
    Session session(args.device, json, shots);
    StartSession(session);
    bool ok = RunLines(session, script == "-" ? std::cin : file, true, false);
    session.Stop();
    return ok ? kExitOk : kExitFailed;
}

int RunShell(Args& args) {
    bool json = args.TakeFlag("--json");
    args.ExpectAtMost(0);
    Session session(args.device, json, "");
    StartSession(session);
    bool ok = RunLines(session, std::cin, false, isatty(STDIN_FILENO) != 0);
    session.Stop();
    return ok ? kExitOk : kExitFailed;
}

int RunSms(Args& args) {
    bool json = args.TakeFlag("--json");
    std::string name;
    bool named = args.TakeOption("--name", &name);
    args.ExpectAtMost(2);
    std::vector<std::string> sms = {"sms", args.at(0, "sender (FROM)"), args.at(1, "message text")};
    if (named) {
        sms.push_back("name");
        sms.push_back(name);
    }
    Session session(args.device, json, "");
    StartSession(session);
    bool ok = session.RunLine(1, sms) && session.RunLine(2, {"state"});
    session.Stop();
    return ok ? kExitOk : kExitFailed;
}

}  // namespace phone
