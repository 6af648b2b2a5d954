#include "receiver-sim/Transmitter.h"

#include <algorithm>

namespace sim {

namespace {
constexpr uint64_t NsPerMs = 1'000'000ull;
}

void Transmitter::send(const uint8_t* data, size_t count, uint32_t baud, uint64_t nowMs) {
    const uint64_t nowNs = nowMs * NsPerMs;
    for (size_t i = 0; i < count; ++i) {
        uint64_t arrival = nowNs;
        if (pacing_) {
            arrival = std::max(nowNs, wireFreeNs_) + byteNanoseconds(baud);
            wireFreeNs_ = arrival;
        }
        queue_.push_back(Byte{arrival, baud, data[i]});
    }
}

std::vector<Transmitter::Run> Transmitter::takeArrived(uint64_t nowMs) {
    const uint64_t nowNs = nowMs * NsPerMs;
    std::vector<Run> runs;
    while (!queue_.empty() && queue_.front().arrivalNs <= nowNs) {
        const Byte& b = queue_.front();
        if (runs.empty() || runs.back().baud != b.baud) runs.push_back(Run{b.baud, {}});
        runs.back().bytes.push_back(b.value);
        queue_.pop_front();
    }
    return runs;
}

size_t Transmitter::dropArrived(uint64_t nowMs) {
    const uint64_t nowNs = nowMs * NsPerMs;
    size_t dropped = 0;
    while (!queue_.empty() && queue_.front().arrivalNs <= nowNs) {
        queue_.pop_front();
        ++dropped;
    }
    return dropped;
}

size_t Transmitter::limitArrived(uint64_t nowMs, size_t limit) {
    const uint64_t nowNs = nowMs * NsPerMs;
    // Arrival times ascend, so the arrived bytes are a prefix of the queue.
    auto firstPending = std::partition_point(queue_.begin(), queue_.end(),
                                             [nowNs](const Byte& b) { return b.arrivalNs <= nowNs; });
    const size_t arrived = static_cast<size_t>(firstPending - queue_.begin());
    if (arrived <= limit) return 0;
    const size_t excess = arrived - limit;
    queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(excess));
    return excess;
}

std::optional<uint64_t> Transmitter::nextArrivalMs() const {
    if (queue_.empty()) return std::nullopt;
    return (queue_.front().arrivalNs + NsPerMs - 1) / NsPerMs;
}

}  // namespace sim
