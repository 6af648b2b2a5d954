// CRC-32 (IEEE 802.3, reflected, as zlib and PNG use it): the build number of the firmware.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class Crc32 {
public:
    void update(const uint8_t* data, size_t count);
    uint32_t value() const { return ~state_; }

    static uint32_t of(const uint8_t* data, size_t count);
    static uint32_t of(const std::vector<uint8_t>& bytes) { return of(bytes.data(), bytes.size()); }
    // 8 upper-case hexadecimal digits.
    static std::string hex(uint32_t crc);

private:
    uint32_t state_ = 0xFFFFFFFFu;
};

}  // namespace sim
