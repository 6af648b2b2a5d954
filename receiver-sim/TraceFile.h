// The program's human trace file: TraceFormatter lines appended and flushed as they complete, so
// a test can read the file while the simulator runs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "receiver-sim/TraceFormatter.h"

namespace sim {

class TraceFile {
public:
    TraceFile() = default;
    ~TraceFile();
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return file_ != nullptr; }
    // Writes what has completed by nowMs (everything when final).
    void write(const Trace& trace, uint64_t nowMs, bool final);

private:
    std::FILE* file_ = nullptr;
    TraceFormatter formatter_;
};

}  // namespace sim
