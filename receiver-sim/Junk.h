// Deterministic binary junk for the "garbage between lines" fault: 1 to 8 bytes that are never
// ASCII text, LF, CR or "$" (0x80..0xFF and control bytes), so they neither end nor start a line.
#pragma once

#include <cstdint>
#include <string>

namespace sim {

class Junk {
public:
    std::string next();

private:
    uint32_t random();
    uint32_t state_ = 0x2545F491u;
};

}  // namespace sim
