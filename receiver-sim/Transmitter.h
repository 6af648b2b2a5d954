// The receiver's transmit side of the line: bytes on their way to the host, each with the rate it
// was sent at and the time it arrives. With pacing each byte arrives 10 bits at its rate after
// the previous one (4800 baud: 480 bytes a second); without, as soon as it is sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace sim {

class Transmitter {
public:
    struct Run {
        uint32_t baud;
        std::vector<uint8_t> bytes;
    };

    explicit Transmitter(bool pacing) : pacing_(pacing) {}

    void send(const uint8_t* data, size_t count, uint32_t baud, uint64_t nowMs);
    // The bytes that have arrived by nowMs, in order, in runs of equal rate.
    std::vector<Run> takeArrived(uint64_t nowMs);
    // Drops what has arrived by nowMs (nobody listened); returns the count.
    size_t dropArrived(uint64_t nowMs);
    // Keeps at most limit arrived bytes, dropping the oldest; returns the count dropped.
    size_t limitArrived(uint64_t nowMs, size_t limit);
    std::optional<uint64_t> nextArrivalMs() const;
    size_t inFlight() const { return queue_.size(); }

    static uint64_t byteNanoseconds(uint32_t baud) { return baud ? 10'000'000'000ull / baud : 0; }

private:
    struct Byte {
        uint64_t arrivalNs;
        uint32_t baud;
        uint8_t value;
    };

    bool pacing_;
    std::deque<Byte> queue_;
    uint64_t wireFreeNs_ = 0;  // when the last byte queued has left the wire
};

}  // namespace sim
