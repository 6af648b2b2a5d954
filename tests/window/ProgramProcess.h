// A program the window tests start (Ferrovane), with extra environment variables and its
// output in a log file; stopped if it is still running at the end.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace window_tests {

class ProgramProcess {
public:
    // extraEnvironment: "NAME=value" entries added to (or replacing those of) this process's.
    ProgramProcess(const std::string& program, const std::vector<std::string>& extraEnvironment,
                   const std::string& logPath);
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool started() const { return pid_ > 0 || exitStatus_.has_value(); }
    // The exit status once the program has ended within timeout; nothing while it still runs.
    std::optional<int> waitExit(std::chrono::milliseconds timeout);

private:
    pid_t pid_ = -1;
    std::optional<int> exitStatus_;
};

}  // namespace window_tests
