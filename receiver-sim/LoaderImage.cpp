#include "receiver-sim/LoaderImage.h"

#include <algorithm>
#include <cstring>

namespace sim {

std::vector<uint8_t> LoaderImage::make(size_t size, uint32_t seed) {
    std::vector<uint8_t> image(size);
    uint32_t state = seed * 2654435761u + 0x9E3779B9u;
    for (uint8_t& b : image) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(state >> 24);
    }
    static const char texts[] = "LOADER\0SA\r\n\0SE:3 -- bad S-Record\r\n\0SE:1 -- bad address\r\n";
    const size_t length = sizeof texts - 1;
    const size_t at = size >= 64 + length ? size / 2 : 0;
    if (size > 0) std::memcpy(image.data() + at, texts, std::min(length, size - at));
    return image;
}

}  // namespace sim
