// Virtual time for unit tests: the seconds clock moves only when code reads it, sleeps, or
// waits on the fake serial line, so 10 s and 60 s limits run in milliseconds.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/Clock.h"

namespace testing_support {

class VirtualClock : public platform::Clock {
public:
    // startSeconds: calendar seconds at virtual time 0 (wraps like the real clock).
    explicit VirtualClock(uint32_t startSeconds = 1'700'000'000u) : startSeconds_(startSeconds) {}

    uint32_t secondsNow() override;               // advances time by readStepMs first
    void sleepMilliseconds(uint32_t ms) override;  // advances time by ms

    uint64_t nowMs() const { return nowMs_.load(); }
    void advanceMs(uint64_t ms) { nowMs_ += ms; }
    // Moves the calendar back (or forward) without moving virtual time.
    void shiftCalendarSeconds(int64_t seconds);
    // Moves the calendar by seconds once virtual time reaches atMs (a clock set back mid-wait).
    void scheduleCalendarShift(uint64_t atMs, int64_t seconds);
    // How far one clock reading moves virtual time: a busy loop must make progress.
    void setReadStepMs(uint32_t ms) { readStepMs_ = ms; }
    uint64_t readings() const { return readings_.load(); }

private:
    std::atomic<uint64_t> nowMs_{0};
    std::atomic<int64_t> calendarShift_{0};
    std::atomic<uint32_t> readStepMs_{1};
    std::atomic<uint64_t> readings_{0};
    uint32_t startSeconds_;
    std::mutex shiftMutex_;
    uint64_t shiftAtMs_ = UINT64_MAX;
    int64_t shiftSeconds_ = 0;
};

}  // namespace testing_support
