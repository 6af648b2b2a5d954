// The seconds clock and millisecond sleep, injectable so tests run on virtual time.
#pragma once

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Calendar time in whole seconds, as unsigned 32 bits (wraps; may be set back).
    virtual uint32_t secondsNow() = 0;
    virtual void sleepMilliseconds(uint32_t ms) = 0;
};

}  // namespace platform
