// phone: the device emulator's command line.
#include "Cli.h"
#include "Help.h"

#include <coredll_host.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace phone {

bool Args::TakeFlag(const std::string& flag) {
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == flag) {
            words.erase(words.begin() + i);
            return true;
        }
    }
    return false;
}

bool Args::TakeOption(const std::string& option, std::string* value) {
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == option) {
            if (i + 1 >= words.size()) throw UsageError(option + " needs a value");
            *value = words[i + 1];
            words.erase(words.begin() + i, words.begin() + i + 2);
            return true;
        }
    }
    return false;
}

void Args::ExpectAtMost(size_t n) const {
    for (const std::string& w : words)
        if (w.size() > 2 && w.compare(0, 2, "--") == 0) throw UsageError("unknown option " + w);
    if (words.size() > n) throw UsageError("unexpected argument " + words[n]);
}

bool DeviceExists(const std::string& folder) {
    return std::filesystem::exists(std::filesystem::path(folder) / "registry.db");
}

void OpenDeviceOrFail(const std::string& folder) {
    if (!DeviceExists(folder))
        throw CommandError("no device in " + folder + " (make one with: phone --device " + folder + " init)");
    std::string error;
    if (!host::OpenDevice(folder, &error)) throw CommandError(error);
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
        {"sms", RunSms},
        {"rewrite", RunRewrite},
    };
    return commands;
}

int Main(int argc, char** argv) {
    Args args;
    if (const char* env = std::getenv("PHONE_DEVICE"); env && *env) args.device = env;
    else args.device = "./device";
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
        std::fprintf(stderr, "phone: %s\n", e.what());
        status = phone::kExitFailed;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "phone: %s\n", e.what());
        status = phone::kExitFailed;
    }
    host::CloseDevice();
    std::fflush(stdout);
    return status;
}
