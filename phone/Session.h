// One emulator session: the device's services from the first scenario line
// to the last (the shell, the inbox service with the rule clients, and the
// programs they start), and the scenario lines run in it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <map>
#include <string>
#include <vector>

namespace phone {

// A scenario line that could not be done; the runner names its line number.
struct LineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What a desktop window showing the session (phone window) tells the state
// report.
struct WindowReport {
    int scale = 1;
    uint64_t frames = 0;    // put on the desktop
    uint64_t repaints = 0;  // of them, those drawn because the device's screen changed
    // The screen changed and the frame that shows it is not on the desktop yet.
    bool behind = false;
    // The latest repaint: from the first change it shows to its frame on the desktop.
    int64_t repaintMicroseconds = 0;
};

class Session {
public:
    Session(std::string device, bool json, std::string shotsFolder);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Starts the device's services; false with *error when it cannot.
    bool Start(std::string* error);
    void Stop();

    // Runs one scenario line (already split into words); prints its output
    // and, with --json, its result object. False when the line failed.
    bool RunLine(int number, const std::vector<std::string>& words);

    bool json() const { return json_; }
    const std::string& device() const { return device_; }

    // The window that shows the session, for the state report; set before
    // the lines run.
    void SetWindowReport(std::function<WindowReport()> report) { windowReport_ = std::move(report); }
    const std::function<WindowReport()>& windowReport() const { return windowReport_; }

    // Cuts a `wait` line short, and every later one: the session is ending.
    void Interrupt();
    // Lets `ms` milliseconds pass, less when the session is interrupted.
    void Wait(DWORD ms);

private:
    std::string device_;
    bool json_;
    std::string shotsFolder_;
    bool started_ = false;
    std::function<WindowReport()> windowReport_;
    HANDLE interrupted_ = nullptr;
};

using LineHandler = std::function<void(Session&, const std::vector<std::string>& args)>;

// The scenario commands by name (args exclude the command word).
const std::map<std::string, LineHandler>& ScenarioCommands();

}  // namespace phone
