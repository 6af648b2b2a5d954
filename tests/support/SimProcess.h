// Runs the receiver-sim program on a pseudo-terminal for real-time tests, and stops it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"

namespace testing_support {

class SimProcess {
public:
    // Starts `program args...`, waits for its "PTY <path>" line (up to 10 s).
    SimProcess(const std::string& program, const std::vector<std::string>& args);

    bool started() const { return !ptyPath_.empty(); }
    const std::string& ptyPath() const { return ptyPath_; }
    // Stops the program (SIGTERM), which writes the rest of its trace; returns its exit status.
    int stop() { return process_.terminate(); }
    // Reads a whole file (e.g. the trace the program writes).
    static std::string readFile(const std::string& path);

private:
    ChildProcess process_;
    std::string ptyPath_;
};

// Rates at which SwitchToNmeaFrame reached the simulator, in order, read from its trace text.
std::vector<uint32_t> SwitchFrameRatesInTrace(const std::string& trace);

}  // namespace testing_support
