// Byte-exact record of both directions of the line as the host's side saw them, with the rate in
// force on the host's side: what the host wrote, and what reached the host (garbled when the
// rates differ). Consecutive bytes of one direction and rate are merged into one entry; the time
// of each appended piece is kept so that a printed trace can stamp every line. Notes (rate and
// mode changes, port open/close, uploads, commits) sit between the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "receiver-sim/SimTypes.h"

namespace sim {

class Trace {
public:
    void record(bool fromHost, uint32_t baud, const uint8_t* data, size_t count, uint64_t timeMs);
    void note(uint64_t timeMs, std::string text);

    const std::vector<TraceEntry>& entries() const { return entries_; }
    const std::vector<TraceNote>& notes() const { return notes_; }
    size_t totalBytes() const { return totalBytes_; }
    // Time at which byte `offset` of entry `entry` moved.
    uint64_t byteTime(size_t entry, size_t offset) const;

private:
    struct Mark {
        size_t offset;
        uint64_t timeMs;
    };

    std::vector<TraceEntry> entries_;
    std::vector<std::vector<Mark>> marks_;  // per entry, ascending offsets
    std::vector<TraceNote> notes_;
    size_t totalBytes_ = 0;
};

}  // namespace sim
