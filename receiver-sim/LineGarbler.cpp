#include "receiver-sim/LineGarbler.h"

namespace sim {

void LineGarbler::pass(const uint8_t* data, size_t count, uint32_t fromBaud, uint32_t toBaud,
                       std::vector<uint8_t>& out) {
    if (fromBaud == toBaud || fromBaud == 0 || toBaud == 0) {
        out.insert(out.end(), data, data + count);
        return;
    }
    if (fromBaud != lastFrom_ || toBaud != lastTo_) {
        lastFrom_ = fromBaud;
        lastTo_ = toBaud;
        phase_ = 0;
    }
    // Each byte sent lasts toBaud/fromBaud byte times of the receiving UART.
    for (size_t i = 0; i < count; ++i) {
        phase_ += toBaud;
        while (phase_ >= fromBaud) {
            phase_ -= fromBaud;
            out.push_back(garble(data[i]));
        }
    }
}

uint8_t LineGarbler::garble(uint8_t byte) {
    ++counter_;
    uint32_t h = (static_cast<uint32_t>(byte) + 1u) * 2654435761u + counter_ * 40503u;
    h ^= h >> 15;
    uint8_t result = static_cast<uint8_t>(0xC0u | ((h >> 7) & 0x3Fu));
    if (result == byte) result ^= 0x01u;  // never the byte that was sent
    return result;
}

}  // namespace sim
