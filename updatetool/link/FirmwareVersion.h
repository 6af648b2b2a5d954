// Reading the receiver's firmware version from its NMEA output on GpsPort.
#pragma once

#include <string>

extern std::wstring currentVersion;

constexpr size_t VersionLineBufferBytes = 300;
constexpr uint32_t VersionReadLimitSeconds = 10;

// Version text of the first version line into currentVersion; "Read Failed!" after the limit.
bool ReadFirmwareVersion();
// Silent success test of a return to NMEA: any version line within the limit.
bool PollVersionSentence();
