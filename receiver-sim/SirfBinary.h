// SiRF binary framing: A0 A2, payload length (2 bytes, big-endian, 15 bits), payload, checksum
// (2 bytes, big-endian, sum of the payload bytes mod 0x8000), B0 B3. The parser takes bytes one
// at a time, hands out the payloads of valid frames and resynchronises on anything else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

class SirfBinaryParser {
public:
    static constexpr size_t MaxPayload = 1023;

    static uint16_t checksum(const uint8_t* payload, size_t count);
    static std::vector<uint8_t> frame(const std::vector<uint8_t>& payload);

    // Adds a byte; the payload of the first complete valid frame, if any.
    std::optional<std::vector<uint8_t>> push(uint8_t byte);
    // A further complete frame already buffered (after a resynchronisation), if any.
    std::optional<std::vector<uint8_t>> next() { return scan(); }
    void reset();
    size_t framesRejected() const { return rejected_; }

private:
    // Looks for a frame at the start of the buffer, dropping bytes that cannot start one.
    std::optional<std::vector<uint8_t>> scan();

    std::vector<uint8_t> buffer_;
    size_t rejected_ = 0;
};

}  // namespace sim
