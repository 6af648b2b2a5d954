#include "receiver-sim/TraceFile.h"

#include <cerrno>
#include <cstring>

namespace sim {

TraceFile::~TraceFile() {
    if (file_) std::fclose(file_);
}

bool TraceFile::open(const std::string& path, std::string& error) {
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) {
        error = "cannot write trace file " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void TraceFile::write(const Trace& trace, uint64_t nowMs, bool final) {
    if (!file_) return;
    const auto lines = formatter_.take(trace, nowMs, final);
    if (lines.empty()) return;
    for (const std::string& line : lines) {
        std::fputs(line.c_str(), file_);
        std::fputc('\n', file_);
    }
    std::fflush(file_);
}

}  // namespace sim
