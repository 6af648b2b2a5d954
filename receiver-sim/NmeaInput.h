// The receiver's NMEA input: assembles lines from "$" to LF byte by byte and hands out the
// sentences whose checksum is right. A "$" inside a line starts a new line; lines longer than
// MaxLine are dropped; a CR before the LF is optional.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "receiver-sim/Nmea.h"

namespace sim {

class NmeaInput {
public:
    static constexpr size_t MaxLine = 120;

    std::optional<nmea::Sentence> push(uint8_t byte);
    void reset();
    size_t rejectedLines() const { return rejected_; }

private:
    std::string line_;
    bool inLine_ = false;
    size_t rejected_ = 0;
};

}  // namespace sim
