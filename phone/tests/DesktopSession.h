// What the end-to-end tests need of a desktop: a display of their own
// (Xvfb), a look at a window's pixels and size, the mouse and keyboard of a
// person (xdotool), and a `phone` session (`window` or `shell`) talked to
// line by line.
#pragma once

#include <Json.h>
#include <TempDevice.h>

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

struct _XDisplay;

namespace phone_test {

// An X window, without the X headers (their macros clash with the tests').
using XWindow = unsigned long;

// A virtual display for the life of the object; display() is empty (and
// error() says why) when none could be made.
class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    const std::string& display() const { return display_; }
    const std::string& error() const { return error_; }

    // The top-level window whose title starts with prefix, waited for up to
    // timeoutMs; 0 when there is none.
    XWindow WindowTitled(const std::string& prefix, int timeoutMs);
    bool Size(XWindow window, int* width, int* height);
    // The window's pixels as the display shows them, 0x00RRGGBB row by row.
    std::vector<uint32_t> Capture(XWindow window, int width, int height);
    // As a person does: the window asked to close (the close button).
    void AskToClose(XWindow window);
    // xdotool with the display set; its exit status.
    int Xdotool(const std::string& args);

private:
    pid_t server_ = -1;
    std::string display_, error_;
    _XDisplay* x_ = nullptr;
};

// `phone --device DEVICE COMMAND ARGS` (args starts with the command) on a
// display, or on none when display is empty, its standard input a pipe that
// the test writes lines to, its standard output read back line by line.
class PhoneProcess {
public:
    // environment: NAME=VALUE settings added to the process's own.
    PhoneProcess(const std::string& device, const std::string& display, const std::vector<std::string>& args,
                 const std::vector<std::string>& environment = {});
    ~PhoneProcess();

    // Writes a scenario line and reads up to its result ({"line": N, ...});
    // the lines printed before it (a state report) go to *output.
    testing_support::JsonValue RunLine(const std::string& line, std::vector<std::string>* output = nullptr);
    // The next line's result printed, waited for up to timeoutMs; missing
    // when none came.
    testing_support::JsonValue NextResult(int timeoutMs, std::vector<std::string>* output = nullptr);
    // The next state report.
    testing_support::JsonValue State();
    void CloseInput();
    // Waits up to timeoutMs for the process to end; its exit status, or -1.
    int Wait(int timeoutMs);
    pid_t pid() const { return pid_; }
    const std::string& errors();

private:
    bool ReadLine(std::string* line, int timeoutMs);
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1;
    testing_support::TempFolder files_;
    std::string buffer_, errFile_, err_;
    int status_ = -1;
};

}  // namespace phone_test
