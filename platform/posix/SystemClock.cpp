// The host's clock: calendar seconds from the real-time clock, sleeps with nanosleep.
#include <ctime>
#include <thread>

#include "platform/Services.h"

namespace platform {

namespace {
class SystemClock : public Clock {
public:
    uint32_t secondsNow() override { return static_cast<uint32_t>(std::time(nullptr)); }
    void sleepMilliseconds(uint32_t ms) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};
}  // namespace

Clock& hostClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace platform
