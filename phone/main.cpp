// phone: the device emulator's command line.
#include "Cli.h"
#include "Help.h"

#include <coredll_host.h>
#include <sqlite_db.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace phone {

size_t Args::OptionsEnd() const {
    if (endOfOptionsTaken) return words.size();
    for (size_t i = 0; i < words.size(); ++i)
        if (words[i] == "--") return i;
    return words.size();
}

bool Args::TakeFlag(const std::string& flag) {
    for (size_t i = 0; i < OptionsEnd(); ++i) {
        if (words[i] == flag) {
            words.erase(words.begin() + i);
            return true;
        }
    }
    return false;
}

bool Args::TakeOption(const std::string& option, std::string* value) {
    const size_t end = OptionsEnd();
    for (size_t i = 0; i < end; ++i) {
        if (words[i] == option) {
            if (i + 1 >= end) throw UsageError(option + " needs a value");
            *value = words[i + 1];
            words.erase(words.begin() + i, words.begin() + i + 2);
            return true;
        }
    }
    return false;
}

void Args::ExpectAtMost(size_t n) {
    const size_t end = OptionsEnd();
    for (size_t i = 0; i < end; ++i)
        if (words[i].size() > 2 && words[i].compare(0, 2, "--") == 0) throw UsageError("unknown option " + words[i]);
    // What follows "--" is taken as it stands, even when it starts with "--".
    if (end < words.size()) {
        words.erase(words.begin() + end);
        endOfOptionsTaken = true;
    }
    if (words.size() > n) throw UsageError("unexpected argument " + words[n]);
}

std::string BusyNote() {
    if (!host::DeviceWasBusy()) return {};
    return " (the device was busy: another process held it for more than " +
           std::to_string(host::StoreBusyWaitMs() / 1000) + " s)";
}

bool DeviceExists(const std::string& folder) {
    return std::filesystem::exists(std::filesystem::path(folder) / "registry.db");
}

void OpenDeviceOrFail(const std::string& folder) {
    if (!DeviceExists(folder))
        throw CommandError("no device in " + folder + " (make one with: phone --device " + folder + " init)");
    std::string error;
    if (!host::OpenDevice(folder, &error)) throw CommandError(error);
    // The platform falls back quietly on a store it cannot read; a person
    // must hear of it before a session runs on defaults.
    for (const char* store : {"registry.db", "messages.db", "contacts.db", "effects.db"}) {
        std::filesystem::path path = std::filesystem::path(folder) / store;
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) continue;
        std::string why;
        if (!host::Database::Open(path.string(), "", &why))
            throw CommandError("the device in " + folder + " is damaged: " + store + " cannot be read (" + why + ")");
    }
}

namespace {

using Command = int (*)(Args&);

const std::map<std::string, Command>& Commands() {
    static const std::map<std::string, Command> commands = {
        {"init", RunInit},
        {"reg", RunReg},
        {"contacts", RunContacts},
        {"register", RunRegister},
        {"unregister", RunUnregister},
        {"run", RunRun},
        {"shell", RunShell},
        {"window", RunWindow},
        {"sms", RunSms},
        {"rewrite", RunRewrite},
    };
    return commands;
}

int Main(int argc, char** argv) {
    Args args;
    if (const char* env = std::getenv("PHONE_DEVICE"); env && *env)
        args.device = env;
    else
        args.device = "./device";
    int i = 1;
    for (; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--device") {
            if (i + 1 >= argc) throw UsageError("--device needs a folder");
            args.device = argv[++i];
        } else if (a.compare(0, 9, "--device=") == 0) {
            args.device = a.substr(9);
        } else {
            break;
        }
    }
    for (; i < argc; ++i) args.words.push_back(argv[i]);
    if (args.words.empty()) throw UsageError("no command given (try phone --help)");
    const std::string command = args.words[0];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(HelpText(args.words.size() > 1 ? args.words[1] : "").c_str(), stdout);
        return kExitOk;
    }
    auto it = Commands().find(command);
    if (it == Commands().end()) throw UsageError("unknown command " + command + " (try phone --help)");
    if (args.words.size() > 1 && (args.words[1] == "--help" || args.words[1] == "-h")) {
        std::fputs(HelpText(command).c_str(), stdout);
        return kExitOk;
    }
    args.words.erase(args.words.begin());
    return it->second(args);
}

}  // namespace
}  // namespace phone

int main(int argc, char** argv) {
    int status;
    try {
        status = phone::Main(argc, argv);
    } catch (const phone::UsageError& e) {
        std::fprintf(stderr, "phone: %s\n", e.what());
        status = phone::kExitUsage;
    } catch (const phone::CommandError& e) {
        std::fprintf(stderr, "phone: %s%s\n", e.what(), phone::BusyNote().c_str());
        status = phone::kExitFailed;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "phone: %s\n", e.what());
        status = phone::kExitFailed;
    }
    host::CloseDevice();
    std::fflush(stdout);
    return status;
}
