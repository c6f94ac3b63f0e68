// Lines from standard input that a waiting reader can be called away from:
// the window's command line ends when the window is closed, even while the
// terminal has nothing to say.
#pragma once

#include <string>

namespace phone {

class InputLines {
public:
    InputLines();
    ~InputLines();
    InputLines(const InputLines&) = delete;
    InputLines& operator=(const InputLines&) = delete;

    // The next line (without its end); false at the end of input or once
    // Stop was called. Throws a CommandError when the input cannot be read.
    bool Next(std::string* line);
    // Makes a waiting Next (and every later one) return false; any thread.
    void Stop();

private:
    int wake_[2] = {-1, -1};
    std::string buffer_;
    bool ended_ = false;
};

}  // namespace phone
