#include "DesktopSession.h"

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace phone_test {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> Argv(std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    return argv;
}

// A request on a window that went away fails that request, not the test.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

VirtualDisplay::VirtualDisplay() {
    int fds[2];
    if (pipe(fds) != 0) {
        error_ = "cannot make a pipe";
        return;
    }
    server_ = fork();
    if (server_ == 0) {
        close(fds[0]);
        int null = open("/dev/null", O_RDWR);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        // Room for the window at twice its size, keypad and all: the
        // display shows only a window that it holds whole.
        std::vector<std::string> words = {
            "Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1600x1600x24", "-nolisten", "tcp"};
        execvp("Xvfb", Argv(words).data());
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes the number of the display it took once it is ready.
    std::string number;
    pollfd p = {fds[0], POLLIN, 0};
    char c;
    while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) {
        error_ = "Xvfb did not start (the test command installs the Debian package xvfb)";
        return;
    }
    display_ = ":" + number;
    XSetErrorHandler(IgnoreXError);
    x_ = XOpenDisplay(display_.c_str());
    if (!x_) error_ = "cannot open display " + display_;
}

VirtualDisplay::~VirtualDisplay() {
    if (x_) XCloseDisplay(x_);
    if (server_ > 0) {
        kill(server_, SIGTERM);
        waitpid(server_, nullptr, 0);
    }
}

XWindow VirtualDisplay::WindowTitled(const std::string& prefix, int timeoutMs) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        Window root = DefaultRootWindow(x_), parent, *children = nullptr;
        unsigned count = 0;
        Window found = 0;
        if (XQueryTree(x_, root, &root, &parent, &children, &count)) {
            for (unsigned i = 0; i < count && !found; ++i) {
                char* name = nullptr;
                if (XFetchName(x_, children[i], &name) && name) {
                    if (std::string(name).rfind(prefix, 0) == 0) found = children[i];
                    XFree(name);
                }
            }
            if (children) XFree(children);
        }
        if (found) return found;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (Clock::now() < deadline);
    return 0;
}

bool VirtualDisplay::Size(XWindow window, int* width, int* height) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(x_, window, &a)) return false;
    *width = a.width;
    *height = a.height;
    return true;
}

std::vector<uint32_t> VirtualDisplay::Capture(XWindow window, int width, int height) {
    std::vector<uint32_t> pixels;
    XImage* image = XGetImage(x_, window, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image) return pixels;
    pixels.reserve(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
    XDestroyImage(image);
    return pixels;
}

void VirtualDisplay::AskToClose(XWindow window) {
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(x_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(x_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x_, window, False, NoEventMask, &event);
    XFlush(x_);
}

int VirtualDisplay::Xdotool(const std::string& args) {
    std::string command = "DISPLAY=" + display_ + " xdotool " + args + " >/dev/null 2>&1";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

PhoneProcess::PhoneProcess(const std::string& device, const std::string& display, const std::vector<std::string>& args,
                           const std::vector<std::string>& environment) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    errFile_ = files_.path() + "/errors";
    int err = open(errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_ = fork();
    if (pid_ == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        close(in[1]);
        close(out[0]);
        if (display.empty()) {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
        } else {
            setenv("DISPLAY", display.c_str(), 1);
            unsetenv("WAYLAND_DISPLAY");
        }
        for (const std::string& setting : environment) {
            const size_t equals = setting.find('=');
            if (equals != std::string::npos)
                setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
        }
        std::vector<std::string> words = {PHONE_EXE, "--device", device};
        words.insert(words.end(), args.begin(), args.end());
        execv(PHONE_EXE, Argv(words).data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err);
    in_ = in[1];
    out_ = out[0];
}

PhoneProcess::~PhoneProcess() {
    CloseInput();
    if (Wait(0) == -1 && pid_ > 0 && status_ == -1) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
}

bool PhoneProcess::ReadLine(std::string* line, int timeoutMs) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            *line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return true;
        }
        int left = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        pollfd p = {out_, POLLIN, 0};
        if (left <= 0 || poll(&p, 1, left) <= 0) return false;
        char chunk[4096];
        ssize_t n = read(out_, chunk, sizeof chunk);
        if (n <= 0) return false;
        buffer_.append(chunk, static_cast<size_t>(n));
    }
}

testing_support::JsonValue PhoneProcess::RunLine(const std::string& line, std::vector<std::string>* output) {
    std::string text = line + "\n";
    if (write(in_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) return {};
    return NextResult(15000, output);
}

testing_support::JsonValue PhoneProcess::NextResult(int timeoutMs, std::vector<std::string>* output) {
    std::string got;
    while (ReadLine(&got, timeoutMs)) {
        testing_support::JsonValue value = testing_support::ParseJson(got);
        if (value.Has("line") && value.Has("ok")) return value;
        if (output) output->push_back(got);
    }
    return {};
}

testing_support::JsonValue PhoneProcess::State() {
    std::vector<std::string> output;
    RunLine("state", &output);
    return output.empty() ? testing_support::JsonValue() : testing_support::ParseJson(output.back());
}

void PhoneProcess::CloseInput() {
    if (in_ >= 0) close(in_);
    in_ = -1;
}

int PhoneProcess::Wait(int timeoutMs) {
    if (status_ != -1 || pid_ <= 0) return status_;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return status_;
        }
        if (Clock::now() >= deadline) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

const std::string& PhoneProcess::errors() {
    std::ifstream in(errFile_);
    std::stringstream text;
    text << in.rdbuf();
    err_ = text.str();
    return err_;
}

}  // namespace phone_test
