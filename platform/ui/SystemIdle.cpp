#include "platform/ui/SystemIdle.h"

#include <atomic>

namespace {
std::atomic<uint64_t> resets{0};
}

void SystemIdleTimerReset() { ++resets; }

uint64_t SystemIdleTimerResets() { return resets.load(); }
