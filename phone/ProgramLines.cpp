// Scenario lines that start the device's programs and the outside utility.
#include "ScenarioLines.h"

#include <coredll_host.h>
#include <screen_host.h>
#include <toolkit_host.h>

namespace phone {

namespace {

const char kSettingsProgram[] = "Tarnwell.exe";

// "Name" or "Name.exe": the program's module name.
std::u16string ProgramModule(const std::string& name) {
    std::string module = name;
    if (module.find('.') == std::string::npos) module += ".exe";
    return host::FromUtf8(module);
}

void Start(const std::string& name, const std::vector<std::string>& args) {
    std::u16string commandLine;
    // Words with blanks are quoted, so that the program reads them as one.
    for (size_t i = 0; i < args.size(); ++i) {
        if (i) commandLine += u' ';
        std::u16string word = host::FromUtf8(args[i]);
        if (word.find(u' ') != std::u16string::npos || word.empty()) word = u"\"" + word + u"\"";
        commandLine += word;
    }
    std::string error;
    DWORD thread = 0;
    if (!host::StartProgram(ProgramModule(name), commandLine, &error, &thread)) throw LineError(error);
    host::WaitForProgramIdle(thread);
    host::WaitForIdle();
}

}  // namespace

void StartLine(Session&, const std::vector<std::string>& args) {
    if (args.empty()) throw LineError("usage: start PROGRAM [ARG ...]");
    if (args[0].empty() || args[0].find_first_of("/\\") != std::string::npos)
        throw LineError("a program is named by its module name, such as Tarnwell");
    Start(args[0], std::vector<std::string>(args.begin() + 1, args.end()));
}

void SettingsLine(Session&, const std::vector<std::string>& args) {
    if (!args.empty()) throw LineError("usage: settings");
    std::string error;
    DWORD thread = 0;
    // Each line starts an instance; a second one decides for itself what to do.
    if (!host::StartProgram(host::FromUtf8(kSettingsProgram), u"", &error, &thread))
        throw LineError("the settings program is not installed in this build");
    host::WaitForProgramIdle(thread);
    host::WaitForIdle();
}

void ToolkitLine(Session&, const std::vector<std::string>& args) {
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off")) throw LineError("usage: toolkit on|off");
    if (args[0] == "on") {
        if (!host::StartToolkit()) throw LineError("cannot start the soft-key utility");
    } else {
        host::StopToolkit();
    }
    host::WaitForIdle();
}

}  // namespace phone
