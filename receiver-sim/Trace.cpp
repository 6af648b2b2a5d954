#include "receiver-sim/Trace.h"

#include <algorithm>

namespace sim {

void Trace::record(bool fromHost, uint32_t baud, const uint8_t* data, size_t count, uint64_t timeMs) {
    if (count == 0) return;
    if (entries_.empty() || entries_.back().fromHost != fromHost || entries_.back().baud != baud) {
        entries_.push_back(TraceEntry{timeMs, fromHost, baud, {}});
        marks_.emplace_back();
    }
    TraceEntry& entry = entries_.back();
    std::vector<Mark>& marks = marks_.back();
    if (marks.empty() || marks.back().timeMs != timeMs) marks.push_back(Mark{entry.bytes.size(), timeMs});
    entry.bytes.insert(entry.bytes.end(), data, data + count);
    totalBytes_ += count;
}

void Trace::note(uint64_t timeMs, std::string text) {
    notes_.push_back(TraceNote{timeMs, totalBytes_, std::move(text)});
}

uint64_t Trace::byteTime(size_t entry, size_t offset) const {
    const std::vector<Mark>& marks = marks_.at(entry);
    auto it = std::upper_bound(marks.begin(), marks.end(), offset,
                               [](size_t value, const Mark& m) { return value < m.offset; });
    if (it == marks.begin()) return entries_[entry].timeMs;
    return std::prev(it)->timeMs;
}

}  // namespace sim
