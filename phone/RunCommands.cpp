// phone run, phone shell and phone sms: scenario lines in one session.
#include "Cli.h"
#include "ScenarioRunner.h"
#include "Session.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>

namespace phone {

int RunRun(Args& args) {
    bool json = args.TakeFlag("--json");
    std::string shots;
    args.TakeOption("--shots", &shots);
    std::error_code ec;
    // Refused before the first line runs, not at the first screenshot.
    if (!shots.empty() && std::filesystem::exists(shots, ec) && !std::filesystem::is_directory(shots, ec))
        throw UsageError("--shots wants a folder (" + shots + " is a file)");
    args.ExpectAtMost(1);
    const std::string& script = args.at(0, "scenario file (or - for standard input)");
    std::ifstream file;
    if (script != "-") {
        if (std::filesystem::is_directory(script, ec)) throw CommandError("cannot read " + script + ": it is a folder");
        file.open(script);
        if (!file) throw CommandError("cannot read " + script);
    }
    Session session(args.device, json, shots);
    StartSession(session);
    bool ok = RunLines(session, StreamLines(script == "-" ? std::cin : file), true, false);
    session.Stop();
    return ok ? kExitOk : kExitFailed;
}

int RunShell(Args& args) {
    bool json = args.TakeFlag("--json");
    args.ExpectAtMost(0);
    Session session(args.device, json, "");
    StartSession(session);
    bool ok = RunLines(session, StreamLines(std::cin), false, isatty(STDIN_FILENO) != 0);
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
