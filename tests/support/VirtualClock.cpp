#include "tests/support/VirtualClock.h"

namespace testing_support {

uint32_t VirtualClock::secondsNow() {
    ++readings_;
    const uint64_t ms = nowMs_ += readStepMs_.load();
    {
        std::lock_guard lock(shiftMutex_);
        if (ms >= shiftAtMs_) {
            calendarShift_ += shiftSeconds_;
            shiftAtMs_ = UINT64_MAX;
        }
    }
    const int64_t seconds = static_cast<int64_t>(startSeconds_) + calendarShift_.load() + static_cast<int64_t>(ms / 1000);
    return static_cast<uint32_t>(seconds);
}

void VirtualClock::sleepMilliseconds(uint32_t ms) { nowMs_ += ms; }

void VirtualClock::scheduleCalendarShift(uint64_t atMs, int64_t seconds) {
    std::lock_guard lock(shiftMutex_);
    shiftAtMs_ = atMs;
    shiftSeconds_ = seconds;
}

void VirtualClock::shiftCalendarSeconds(int64_t seconds) { calendarShift_ += seconds; }

}  // namespace testing_support
