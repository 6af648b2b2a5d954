#include "receiver-sim/Crc32.h"

#include <array>
#include <cstdio>

namespace sim {

namespace {

std::array<uint32_t, 256> makeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        table[i] = c;
    }
    return table;
}

const std::array<uint32_t, 256>& table() {
    static const std::array<uint32_t, 256> t = makeTable();
    return t;
}

}  // namespace

void Crc32::update(const uint8_t* data, size_t count) {
    const auto& t = table();
    uint32_t c = state_;
    for (size_t i = 0; i < count; ++i) c = t[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
    state_ = c;
}

uint32_t Crc32::of(const uint8_t* data, size_t count) {
    Crc32 crc;
    crc.update(data, count);
    return crc.value();
}

std::string Crc32::hex(uint32_t crc) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(crc));
    return text;
}

}  // namespace sim
