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
        {"init", "phone [--device DIR] init [--screen WxH] [--dpi N] [--contacts FILE.vcf] [--force]",
         "Makes a new device in DIR: the registry with the sound profiles under\n"
         "HKCU\\ControlPanel\\Profiles (Normal, Silent, Meeting, Outdoor, Automatic;\n"
         "ActiveProfile = Normal) and HKLM\\System\\State Lock = 0. The screen is\n"
         "240x320 at 131 dpi unless --screen and --dpi say otherwise. A folder that\n"
         "already holds a device is refused unless --force is given, which wipes it;\n"
         "a device that another process has open is never wiped.\n"
         "The device also gets the message store (Inbox, Outbox, Sent Items, Drafts,\n"
         "Deleted Items), the contact store, and the rule client registered through\n"
         "its own DllRegisterServer.\n"
         "--contacts fills the contact store from a vCard file, as `contacts import`\n"
         "does; a file that cannot be read leaves the folder as it was.\n"},
        {"contacts", "phone [--device DIR] contacts import FILE.vcf | list [--json]",
         "  contacts import FILE.vcf       store the cards of a vCard 2.1 or 3.0 file (UTF-8\n"
         "                                 with or without BOM, CHARSET=UTF-8 or windows-1251,\n"
         "                                 QUOTED-PRINTABLE), all of them or, when the file\n"
         "                                 cannot be read, none (FILE:LINE: what is wrong)\n"
         "  contacts list [--json]         one contact a line: the file-as name and each\n"
         "                                 number with its kind; --json gives every field\n"
         "\n"
         "Names come from N (FN only when N names nobody), the company from ORG, the\n"
         "file-as name from X-FILE-AS, else \"Last, First\". A contact has ten numbers:\n"
         "mobile, business, business2, home, home2, pager, car, radio, company and\n"
         "assistant. TEL types choose them (CELL, WORK, HOME, PAGER, CAR, ISDN, ASSISTANT,\n"
         "COMPANY/MAIN); untyped numbers and typed ones whose places are taken go to the\n"
         "first free of mobile, home, business, home2, business2. Fax numbers and numbers\n"
         "beyond the free places are dropped, each reported on standard error with its\n"
         "line and card.\n"},
        {"register", "phone [--device DIR] register",
         "Calls the rule client's own DllRegisterServer in the device and prints the\n"
         "HRESULT.\n"},
        {"unregister", "phone [--device DIR] unregister",
         "Calls the rule client's DllUnregisterServer in the device and prints the HRESULT.\n"},
        {"run", "phone [--device DIR] run SCRIPT|- [--json] [--shots DIR]",
         "Runs a scenario (a file, or - for standard input) in one emulator session: the\n"
         "inbox service and the rule client stay alive from the first line to the last.\n"
         "The run stops at the first line that fails (exit status 1, the line named on\n"
         "standard error). With --json every line's result is one JSON object on a line,\n"
         "and `state` prints the state as one JSON object on a line.\n"
         "\n"
         "Scenario lines (one a line; # starts a comment; TEXT is one word or a\n"
         "double-quoted string with \\\", \\\\ and \\n escapes):\n"
         "  sms FROM TEXT [name NAME]      a text message arrives (IPM.SMStext)\n"
         "  report FROM TEXT [failed]      a delivery report arrives (REPORT.IPM.SMStext.DR,\n"
         "                                 or .NDR with failed)\n"
         "  read N | unread N | delete N   the messaging application marks inbox message N\n"
         "                                 (1 = newest) read or unread, or deletes it\n"
         "  profile NAME                   make NAME (a key under HKCU\\ControlPanel\\Profiles)\n"
         "                                 the active sound profile\n"
         "  lock on|off                    set the device lock state\n"
         "  key K [K ...]                  press and release keys: 0-9 star pound up down left\n"
         "                                 right action back home end talk soft1 soft2\n"
         "  type TEXT                      type characters into the focused control\n"
         "  rotate                         swap the screen's width and height\n"
         "  wait MS                        let MS milliseconds pass\n"
         "  screenshot FILE.png            save the screen\n"
         "  state                          print the device state\n"
         "  settings                       start the settings program\n"
         "  start PROGRAM [ARG ...]        start a program of the build (a module with a\n"
         "                                 WinMain) on a thread of its own, with the\n"
         "                                 arguments as its command line\n"
         "  toolkit on|off                 start or stop the stand-in of the outside\n"
         "                                 soft-key and hotkey utility\n"
         "\n"
         "--shots DIR saves DIR/NNN-command.png (NNN the line number) after every line\n"
         "that may change the screen.\n"},
        {"shell", "phone [--device DIR] shell [--json]",
         "Reads scenario lines from the terminal, one at a time, in one session (see\n"
         "phone run --help); a failed line is reported and the shell goes on.\n"},
        {"window", "phone [--device DIR] window [--scale N] [--json] [--exit] [SCRIPT]",
         "Shows the phone in a desktop window, live, with its keypad under the screen,\n"
         "in the session of phone shell. Click a key to press it (held while the button\n"
         "is), or use the keyboard:\n"
         "  F1 F2            the soft keys         Enter            Action\n"
         "  F3 / End         Talk / End            Escape, Backspace Back\n"
         "  Home             Home                  arrows           the arrows\n"
         "  0-9 * #          the number pad        letters          typed text\n"
         "  F12              save a picture of the window (phone-window-N.png)\n"
         "The terminal takes scenario lines meanwhile (see phone run --help). SCRIPT's\n"
         "lines (- for standard input) run first, at the pace of its wait lines; --exit\n"
         "closes the window after its last line, otherwise the window stays until it is\n"
         "closed. Closing it ends the line under way (a wait at once) and no later line\n"
         "runs. --scale N (1 to 8) enlarges it; --json prints each line's result; the\n"
         "state report's \"window\" tells its frames and how soon the last repaint came.\n"
         "Without a display (DISPLAY, WAYLAND_DISPLAY) it says so and exits 2.\n"},
        {"sms", "phone [--device DIR] sms FROM TEXT [--name NAME] [--json]",
         "The scenario `sms FROM TEXT [name NAME]` followed by `state`.\n"},
        {"rewrite", "phone [--device DIR] rewrite TEXT [--report [--failed]]",
         "Shows what the rule client makes of TEXT under the device's settings and\n"
         "contacts: the text it writes back into the message (numbers of contacts\n"
         "replaced by names; with --report, a delivered report's custom text), and the\n"
         "HTML it hands to the bubble, with \"tel:\" links and everything else escaped.\n"
         "Nothing in the device changes.\n"},
        {"reg", "phone [--device DIR] reg get|set|delete|export|import ...",
         "  reg get KEY [NAME]             print the values and subkeys of KEY, or one value\n"
         "                                 (in the settings key, a value of another type\n"
         "                                 than its setting wants is marked so)\n"
         "  reg set KEY NAME dword:N|sz:TEXT|hex:XX,XX,...\n"
         "                                 write a value (the key is made if missing;\n"
         "                                 NAME \"\" or @ is the default value; N is\n"
         "                                 decimal or 0x hex; TEXT is kept with its NUL)\n"
         "  reg delete KEY [NAME]          delete a value, or KEY with all its subkeys\n"
         "  reg export [KEY]               print KEY (or the whole registry) as .reg text,\n"
         "                                 \"Windows Registry Editor Version 5.00\"\n"
         "  reg import FILE.reg            apply a .reg file (UTF-8, or UTF-16 little-endian\n"
         "                                 with its byte order mark), whole or not at all;\n"
         "                                 keys at most 512 levels deep\n"
         "KEY is written HKLM\\..., HKCU\\... or HKCR\\... (the long root names work too).\n"
         "Names with a line feed, a carriage return, a NUL or half of a surrogate pair\n"
         "are refused by set and import: no .reg line could hold them. get and delete\n"
         "still reach such a name that an older build let in: a line break as written,\n"
         "half of a surrogate pair as its three UTF-8-like bytes (U+D800 is ED A0 80);\n"
         "deleting a key also removes every subkey whatever its name.\n"},
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
        "An imported file of more than 64 MB or a scenario line of more than 16 MB is\n"
        "refused as bad input.\n"
        "Several processes may use one device; a store that another process is writing\n"
        "is waited for (up to 5 minutes), and a device in use is never made anew.\n"
        "A \"--\" ends the options: what follows is taken as it stands (a text that\n"
        "starts with \"--\", say).\n"
        "\n"
        "Commands:\n";
    for (const CommandHelp& h : Table()) text += std::string("  ") + h.synopsis + "\n";
    text += "\nphone COMMAND --help tells more about one command.\n";
    return text;
}

}  // namespace phone
