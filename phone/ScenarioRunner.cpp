#include "ScenarioRunner.h"

#include "BoundedInput.h"
#include "Cli.h"
#include "DeviceProfile.h"
#include "Json.h"
#include "ScenarioLine.h"

#include <screen_host.h>

#include <cstdio>
#include <vector>

namespace phone {

LineSource StreamLines(std::istream& in) {
    return [&in](std::string* line) { return ReadInputLine(in, line); };
}

void StartSession(Session& session) {
    OpenDeviceOrFail(session.device());
    DeviceProfile profile = LoadDeviceProfile(session.device());
    host::SetScreenProfile(host::ScreenProfile{profile.width, profile.height, profile.dpi});
    std::string error;
    if (!session.Start(&error)) throw CommandError("cannot start the device: " + error);
}

bool RunLines(Session& session, const LineSource& next, bool stopOnError, bool prompt, int* counter) {
    bool allOk = true;
    std::string line;
    int number = counter ? *counter : 0;
    for (;;) {
        if (prompt) {
            std::fputs("phone> ", stdout);
            std::fflush(stdout);
        }
        bool more;
        try {
            more = next(&line);
        } catch (const CommandError& e) {
            if (counter) *counter = number;
            // Named as the lines that do not parse are: by the line it stopped in.
            throw CommandError("line " + std::to_string(number + 1) + ": " + e.what());
        }
        if (!more) break;
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
    if (counter) *counter = number;
    return allOk;
}

}  // namespace phone
