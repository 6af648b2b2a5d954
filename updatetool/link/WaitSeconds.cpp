#include "updatetool/link/WaitSeconds.h"

#include "platform/Services.h"

uint32_t SecondsClock() { return platform::clock().secondsNow(); }

void WaitSeconds(uint32_t n) {
    const uint32_t start = SecondsClock();
    while (SecondsElapsedSince(start) <= n) {
        // Busy on purpose: the wait ends at the clock's (n + 1)-th step, not a scheduler's tick.
    }
}
