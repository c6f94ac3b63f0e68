// What every command of the emulator shares: its arguments, its exit
// statuses and its one-line error reports.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace phone {

enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// A usage error: wrong arguments. Reported as one line, exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A command that could not be done (bad input file, missing key, ...).
// Reported as one line, exit status 1.
struct CommandError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Args {
    std::string device;              // the device folder
    std::vector<std::string> words;  // the command and its arguments

    const std::string& at(size_t i, const char* what) const {
        if (i >= words.size()) throw UsageError(std::string("missing ") + what);
        return words[i];
    }
    // Removes "--flag" from words; true when it was there.
    bool TakeFlag(const std::string& flag);
    // Removes "--option VALUE" from words; true (and *value) when it was there.
    bool TakeOption(const std::string& option, std::string* value);
    // Fails with a usage error if words holds more than n words or an
    // unknown --option. A "--" ends the options: it is dropped here, and
    // the words after it are arguments whatever they look like.
    void ExpectAtMost(size_t n);

private:
    size_t OptionsEnd() const;
    bool endOfOptionsTaken = false;
};

// Opens the device of the command; fails with a CommandError when it does
// not hold a device (unless it is being made).
void OpenDeviceOrFail(const std::string& folder);
bool DeviceExists(const std::string& folder);
// What a failure adds when a store of the device stayed busy: empty otherwise.
std::string BusyNote();

// The commands.
int RunInit(Args& args);
int RunReg(Args& args);
int RunContacts(Args& args);
int RunRegister(Args& args);
int RunUnregister(Args& args);
int RunRun(Args& args);
int RunShell(Args& args);
int RunWindow(Args& args);
int RunSms(Args& args);
int RunRewrite(Args& args);

}  // namespace phone
