// A deterministic fake flash loader image ("dlgsp2.bin") for tests and sample files: filler bytes
// with the loader's reply texts "SA" and "SE:3 -- bad S-Record" in it. The simulated
// receiver never executes it; it only checks the upload framing and keeps the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

class LoaderImage {
public:
    static constexpr size_t ShippedSize = 14316;  // the shipped image's size

    // size bytes; the texts are cut short when size is below 64.
    static std::vector<uint8_t> make(size_t size = ShippedSize, uint32_t seed = 1);
};

}  // namespace sim
