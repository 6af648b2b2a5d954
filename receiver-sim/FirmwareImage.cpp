#include "receiver-sim/FirmwareImage.h"

#include <algorithm>

namespace sim {

std::vector<uint8_t> FirmwareImage::make(size_t size, const std::string& version, uint32_t seed) {
    const std::string marker = "VERSION=" + version + ";";
    std::vector<uint8_t> image(std::max(size, marker.size()));
    uint32_t state = seed * 2246822519u + 0x85EBCA6Bu;
    for (uint8_t& b : image) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = static_cast<uint8_t>(state);
    }
    const size_t at = image.size() >= 0x100 + marker.size() ? 0x100 : 0;
    std::copy(marker.begin(), marker.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
    return image;
}

}  // namespace sim
