// The device's system idle timer: resetting it keeps the device from suspending while a
// program works. A desktop host does not suspend a running program, so a reset is counted.
#pragma once

#include <cstdint>

void SystemIdleTimerReset();
// How many resets the program has made.
uint64_t SystemIdleTimerResets();
