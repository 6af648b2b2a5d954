#pragma once

#include <cstdint>

// The seconds clock: calendar time in whole seconds, read afresh at each call.
uint32_t SecondsClock();
// Seconds since start, in unsigned 32-bit arithmetic: a clock set back gives a huge value.
inline uint32_t SecondsElapsedSince(uint32_t start) { return SecondsClock() - start; }
// Polls the clock without pausing until more than n seconds have elapsed.
void WaitSeconds(uint32_t n);
