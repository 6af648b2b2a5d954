#include "platform/console/ConsoleInput.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace platform::console {

ConsoleInput::ConsoleInput(int fd, std::function<void(const std::string&, bool)> line, std::function<void()> ended)
    : fd_(fd), line_(std::move(line)), ended_(std::move(ended)) {
    if (::pipe(wake_) != 0) wake_[0] = wake_[1] = -1;
    reader_ = std::thread([this] { run(); });
}

ConsoleInput::~ConsoleInput() {
    if (wake_[1] >= 0) {
        char stop = 1;
        while (::write(wake_[1], &stop, 1) < 0 && errno == EINTR) {
        }
    }
    reader_.join();
    for (int fd : wake_) {
        if (fd >= 0) ::close(fd);
    }
}

void ConsoleInput::run() {
    std::string pending;
    bool tooLong = false;
    char buffer[1024];
    for (;;) {
        if (fd_ < 0) break;
        pollfd watched[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        int ready = ::poll(watched, wake_[0] >= 0 ? 2 : 1, -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        // Destroyed: the program is ending and nobody reads what would come.
        if (wake_[0] >= 0 && (watched[1].revents & POLLIN) != 0) return;
        if (watched[0].revents == 0) continue;
        ssize_t count = ::read(fd_, buffer, sizeof buffer);
        if (count < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (count <= 0) break;  // end of input, or a terminal that went away
        for (ssize_t i = 0; i < count; ++i) {
            char c = buffer[i];
            if (c != '\n') {
                if (pending.size() < MaxLineBytes) {
                    pending += c;
                } else {
                    tooLong = true;
                }
                continue;
            }
            if (!pending.empty() && pending.back() == '\r') pending.pop_back();
            line_(pending, tooLong);
            pending.clear();
            tooLong = false;
        }
    }
    // A last line without its LF still counts.
    if (!pending.empty()) {
        if (pending.back() == '\r') pending.pop_back();
        line_(pending, tooLong);
    }
    ended_();
}

}  // namespace platform::console
