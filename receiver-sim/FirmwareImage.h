// A deterministic fake firmware image for tests and sample files: filler bytes with the marker
// "VERSION=<version>;" near the start, from which the simulated receiver takes the version it
// reports after the image was flashed (Flash::findVersionMarker).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class FirmwareImage {
public:
    static constexpr size_t ShippedSize = 306220;  // the shipped file's data bytes

    // size bytes (at least the marker's length); version must hold no "-", ";" or space.
    static std::vector<uint8_t> make(size_t size, const std::string& version, uint32_t seed = 7);
};

}  // namespace sim
