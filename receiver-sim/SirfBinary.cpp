#include "receiver-sim/SirfBinary.h"

namespace sim {

uint16_t SirfBinaryParser::checksum(const uint8_t* payload, size_t count) {
    uint32_t sum = 0;
    for (size_t i = 0; i < count; ++i) sum += payload[i];
    return static_cast<uint16_t>(sum & 0x7FFFu);
}

std::vector<uint8_t> SirfBinaryParser::frame(const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> f;
    f.reserve(payload.size() + 8);
    f.push_back(0xA0);
    f.push_back(0xA2);
    f.push_back(static_cast<uint8_t>(payload.size() >> 8 & 0x7F));
    f.push_back(static_cast<uint8_t>(payload.size() & 0xFF));
    for (uint8_t b : payload) f.push_back(b);
    const uint16_t sum = checksum(payload.data(), payload.size());
    f.push_back(static_cast<uint8_t>(sum >> 8));
    f.push_back(static_cast<uint8_t>(sum & 0xFF));
    f.push_back(0xB0);
    f.push_back(0xB3);
    return f;
}

std::optional<std::vector<uint8_t>> SirfBinaryParser::push(uint8_t byte) {
    buffer_.push_back(byte);
    return scan();
}

void SirfBinaryParser::reset() { buffer_.clear(); }

std::optional<std::vector<uint8_t>> SirfBinaryParser::scan() {
    for (;;) {
        if (buffer_.empty()) return std::nullopt;
        size_t drop = 0;
        if (buffer_[0] != 0xA0) {
            drop = 1;
        } else if (buffer_.size() >= 2 && buffer_[1] != 0xA2) {
            drop = 1;
        } else if (buffer_.size() < 4) {
            return std::nullopt;
        } else {
            const size_t length = static_cast<size_t>(buffer_[2]) << 8 | buffer_[3];
            if (length == 0 || length > MaxPayload) {
                drop = 1;
            } else if (buffer_.size() < length + 8) {
                return std::nullopt;
            } else {
                const uint8_t* payload = buffer_.data() + 4;
                const uint16_t sum = static_cast<uint16_t>(payload[length] << 8 | payload[length + 1]);
                if (sum == checksum(payload, length) && payload[length + 2] == 0xB0 && payload[length + 3] == 0xB3) {
                    std::vector<uint8_t> result(payload, payload + length);
                    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(length + 8));
                    return result;
                }
                ++rejected_;
                drop = 1;
            }
        }
        // Resynchronise: drop up to the next possible start byte.
        size_t next = drop;
        while (next < buffer_.size() && buffer_[next] != 0xA0) ++next;
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(next));
    }
}

}  // namespace sim
