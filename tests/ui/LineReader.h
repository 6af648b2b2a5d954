// Reads the console's output lines from a pipe, with time limits, keeping a transcript.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

class LineReader {
public:
    explicit LineReader(int fd) : fd_(fd) {}

    // The next line, or nothing at the end of the output or after the limit.
    std::optional<std::string> next(std::chrono::milliseconds limit);
    // Reads until a line that starts with prefix; nothing when none came within the limit.
    std::optional<std::string> waitFor(const std::string& prefix, std::chrono::milliseconds limit);
    // Reads until the end of the output (or the limit).
    void drain(std::chrono::milliseconds limit);

    const std::vector<std::string>& transcript() const { return transcript_; }
    std::string transcriptText() const;

private:
    int fd_;
    std::string pending_;
    bool ended_ = false;
    std::vector<std::string> transcript_;
};

}  // namespace testing_support
