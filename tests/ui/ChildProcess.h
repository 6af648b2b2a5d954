// A program started with its standard input and output on pipes, for driving a console.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

class ChildProcess {
public:
    // Starts program with args; environment = this process's plus the pairs given (an empty
    // value removes the variable). Standard error goes to stderrPath when it is given.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::pair<std::string, std::string>>& environment,
                 const std::string& stderrPath = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    int outputFd() const { return stdoutFd_; }
    void writeLine(const std::string& line);
    // End of input for the program.
    void closeInput();
    // Exit status within the limit (128 + n for a signal), or nothing.
    std::optional<int> waitExit(std::chrono::milliseconds limit);

private:
    pid_t pid_ = -1;
    int stdinFd_ = -1;
    int stdoutFd_ = -1;
};

}  // namespace testing_support
