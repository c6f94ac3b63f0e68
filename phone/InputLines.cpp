#include "InputLines.h"

#include "BoundedInput.h"
#include "Cli.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace phone {

InputLines::InputLines() {
    if (pipe(wake_) != 0) throw CommandError(std::string("cannot make a pipe: ") + std::strerror(errno));
    fcntl(wake_[0], F_SETFD, FD_CLOEXEC);
    fcntl(wake_[1], F_SETFD, FD_CLOEXEC);
}

InputLines::~InputLines() {
    close(wake_[0]);
    close(wake_[1]);
}

void InputLines::Stop() {
    const char byte = 1;
    // The pipe holds the word until the reader looks; a full pipe has it already.
    while (write(wake_[1], &byte, 1) < 0 && errno == EINTR) {
    }
}

bool InputLines::Next(std::string* line) {
    for (;;) {
        size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            *line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return true;
        }
        if (ended_) {
            if (buffer_.empty()) return false;
            *line = std::move(buffer_);  // a last line without its end
            buffer_.clear();
            return true;
        }
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            throw CommandError(std::string("cannot read standard input: ") + std::strerror(errno));
        }
        if (fds[1].revents) return false;
        char chunk[4096];
        ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            throw CommandError(std::string("cannot read standard input: ") + std::strerror(errno));
        }
        if (n == 0) {
            ended_ = true;
        } else {
            buffer_.append(chunk, static_cast<size_t>(n));
            // What was here held no line's end, so only the new piece can.
            if (buffer_.size() > kLongestInputLine && !std::memchr(chunk, '\n', static_cast<size_t>(n))) FailLongLine();
        }
    }
}

}  // namespace phone
