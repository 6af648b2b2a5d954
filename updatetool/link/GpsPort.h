// GpsPort: the working connection to "COM2:" at 4800 baud, with its kept line settings.
#pragma once

#include <memory>

#include "platform/SerialDevice.h"

struct GpsPortState {
    std::unique_ptr<platform::SerialDevice> handle;  // null: no handle
    platform::LineSettings lineSettings;
};

extern GpsPortState GpsPort;

// true: (re)open at 4800 baud with the full settings; false: close with lines lowered.
void OpenGpsPort(bool open);
// Re-applies the kept settings with a new rate; true when the platform accepted them.
bool ChangeGpsPortBaud(uint32_t baud);
