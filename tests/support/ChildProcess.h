// A program that a test starts: standard input on a pipe, standard output on a pipe or in a
// file, standard error in a file or inherited; stopped if it still runs at the end.
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
    enum class Output { Pipe, LogFile };

    // environment: added to this process's (an empty value removes the variable).
    // logPath: standard error goes there when given; with Output::LogFile standard output too.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::pair<std::string, std::string>>& environment,
                 const std::string& logPath = {}, Output output = Output::Pipe);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0 || exitStatus_.has_value(); }
    // Standard output's pipe (Output::Pipe), or -1.
    int outputFd() const { return stdoutFd_; }
    void writeLine(const std::string& line);
    // End of input for the program.
    void closeInput();
    // Exit status within the limit (128 + n for a signal), or nothing while it still runs.
    std::optional<int> waitExit(std::chrono::milliseconds limit);
    // SIGTERM, then SIGKILL if it has not ended within the limit; returns the exit status.
    int terminate(std::chrono::milliseconds limit = std::chrono::seconds(5));

private:
    pid_t pid_ = -1;
    int stdinFd_ = -1;
    int stdoutFd_ = -1;
    std::optional<int> exitStatus_;
};

}  // namespace testing_support
