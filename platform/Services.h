// The device services the program code calls by role. Each front end or test installs its own
// set at start-up; by default the Linux backends are used.
#pragma once

#include "Clock.h"
#include "File.h"
#include "MessageBox.h"
#include "SerialDevice.h"

namespace platform {

struct Services {
    SerialPorts* serial = nullptr;
    Clock* clock = nullptr;
    Files* files = nullptr;
    MessageBoxPresenter* messageBoxes = nullptr;
};

// The services in force. Fields left null in install() fall back to the host backends.
Services& services();
void install(const Services& replacement);
// Back to the host backends for every service.
void installHostServices();

SerialPorts& serialPorts();
Clock& clock();
Files& files();
MessageBoxPresenter& messageBoxes();

// Host backends.
SerialPorts& hostSerialPorts();
Clock& hostClock();
Files& hostFiles();
// Writes each box to standard error and answers OK at once: for programs without a front end.
MessageBoxPresenter& stderrMessageBoxes();

}  // namespace platform
