// What a UART receives when the two ends of the line run at different rates. Deterministic: the
// count changes by the rate ratio (a byte sent at 4800 read at 38400 gives 8 bytes, 8 bytes at
// 38400 read at 4800 give 1), and every byte becomes one of 0xC0..0xFF, a range that holds no
// ASCII (so no "$", LF or "S"), no SiRF start/end byte (A0 A2, B0 B3) and no zero byte. So a
// command sent at the wrong rate is never understood and the host never sees a valid line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

class LineGarbler {
public:
    // Appends to out what a receiver at toBaud makes of data sent at fromBaud. Equal rates: the
    // bytes unchanged.
    void pass(const uint8_t* data, size_t count, uint32_t fromBaud, uint32_t toBaud, std::vector<uint8_t>& out);

    static bool isGarbled(uint8_t byte) { return byte >= 0xC0; }

private:
    uint8_t garble(uint8_t byte);

    uint64_t phase_ = 0;          // carries the fraction of the rate ratio between calls
    uint32_t lastFrom_ = 0, lastTo_ = 0;
    uint32_t counter_ = 0;
};

}  // namespace sim
