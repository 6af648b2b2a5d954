#include "tests/ui/LineReader.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace testing_support {

std::optional<std::string> LineReader::next(std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            transcript_.push_back(line);
            return line;
        }
        if (ended_) return std::nullopt;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd watched{fd_, POLLIN, 0};
        int ready = ::poll(&watched, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char buffer[4096];
        ssize_t count = ::read(fd_, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            ended_ = true;
            continue;
        }
        pending_.append(buffer, static_cast<size_t>(count));
    }
}

std::optional<std::string> LineReader::waitFor(const std::string& prefix, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        auto line = next(std::max(left, std::chrono::milliseconds(0)));
        if (!line) return std::nullopt;
        if (line->rfind(prefix, 0) == 0) return line;
    }
}

void LineReader::drain(std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (!next(left)) return;
    }
}

std::string LineReader::transcriptText() const {
    std::string text;
    for (const auto& line : transcript_) text += line + "\n";
    return text;
}

}  // namespace testing_support
