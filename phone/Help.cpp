// The emulator's --help texts.
#include "Help.h"

#include <vector>

namespace phone {

namespace {

struct CommandHelp {
    const char* name;
    const char* synopsis;
    const char* details;
};

const std::vector<CommandHelp>& Table() {
    static const std::vector<CommandHelp> table = {
        {"init", "phone [--device DIR] init [--screen WxH] [--dpi N] [--force]",
         "Makes a new device in DIR: the registry with the sound profiles under\n"
         "HKCU\\ControlPanel\\Profiles (Normal, Silent, Meeting, Outdoor, Automatic;\n"
         "ActiveProfile = Normal) and HKLM\\System\\State Lock = 0. The screen is\n"
         "240x320 at 131 dpi unless --screen and --dpi say otherwise. A folder that\n"
         "already holds a device is refused unless --force is given, which wipes it.\n"},
        {"reg", "phone [--device DIR] reg get|set|delete|export|import ...",
         "  reg get KEY [NAME]             print the values and subkeys of KEY, or one value\n"
         "  reg set KEY NAME dword:N|sz:TEXT|hex:XX,XX,...\n"
         "                                 write a value (the key is made if missing;\n"
         "                                 NAME \"\" or @ is the default value; N is\n"
         "                                 decimal or 0x hex; TEXT is kept with its NUL)\n"
         "  reg delete KEY [NAME]          delete a value, or KEY with all its subkeys\n"
         "  reg export [KEY]               print KEY (or the whole registry) as .reg text,\n"
         "                                 \"Windows Registry Editor Version 5.00\"\n"
         "  reg import FILE.reg            apply a .reg file (UTF-8 or UTF-16), whole or\n"
         "                                 not at all\n"
         "KEY is written HKLM\\..., HKCU\\... or HKCR\\... (the long root names work too).\n"},
    };
    return table;
}

}  // namespace

std::string HelpText(const std::string& command) {
    for (const CommandHelp& h : Table())
        if (command == h.name) return std::string("usage: ") + h.synopsis + "\n\n" + h.details;
    std::string text =
        "phone: the emulated Windows Mobile Smartphone.\n"
        "\n"
        "The device is the folder given by --device DIR, else $PHONE_DEVICE, else ./device.\n"
        "Exit status: 0 on success, 1 when a command failed, 2 for a usage error.\n"
        "\n"
        "Commands:\n";
    for (const CommandHelp& h : Table()) text += std::string("  ") + h.synopsis + "\n";
    text += "\nphone COMMAND --help tells more about one command.\n";
    return text;
}

}  // namespace phone
