#include "receiver-sim/Junk.h"

namespace sim {

uint32_t Junk::random() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

std::string Junk::next() {
    std::string junk;
    const uint32_t count = 1 + random() % 8;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t r = random();
        uint8_t b = (r % 10 < 7) ? static_cast<uint8_t>(0x80 | (r >> 8 & 0x7F)) : static_cast<uint8_t>(r >> 8 & 0x1F);
        if (b == '\n' || b == '\r') b = 0x00;
        junk.push_back(static_cast<char>(b));
    }
    return junk;
}

}  // namespace sim
