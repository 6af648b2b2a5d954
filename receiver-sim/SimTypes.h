// Plain types shared by the simulated receiver's parts and its hosts: fault knobs, start options,
// the receiver's modes and one entry of the byte trace.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct Faults {
    bool silent = false;             // sends nothing at all
    bool noVersionLine = false;      // NMEA output without any version line
    bool neverAcknowledge = false;   // the loader takes records but never answers
    int refuseRecord = 0;            // 1-based record number refused by the loader (0: none)
    bool longRefusal = false;        // refuse with "SE:3 -- bad S-Record" instead of "SE"
    uint32_t firmwareBaud = 115200;  // SiRF binary rate of the firmware after an update
    bool noReturnToNmea = false;     // SwitchToNmeaFrame is ignored at every rate
    bool garbageBetweenLines = false;  // binary garbage between NMEA lines
    uint64_t hangUpAfterMs = 0;      // the host is told to hang up at this time (0: never)
};

enum class Mode { Nmea, SirfBinary, BootMode, LoaderUpload, LoaderRunning };

struct Options {
    Faults faults;
    bool pacing = false;                 // each byte takes 10 bits at the current rate
    std::string flashFile;               // persists the flash image; empty: in memory only
    std::string initialVersion = "2.3.2.01.07";  // reported while the flash holds no image
    // The Mode to start in, as a number: static_cast<uint32_t>(Mode::...). 0 = NMEA at 4800.
    // SirfBinary and BootMode start at startBinaryBaud, LoaderUpload and LoaderRunning at 115200.
    uint32_t startState = 0;
    uint32_t startBinaryBaud = 38400;    // rate when started in SiRF binary
};

// Name of a mode for traces and messages ("NMEA", "SiRF binary", ...).
const char* modeName(Mode mode);

struct TraceEntry {
    uint64_t timeMs;
    bool fromHost;        // true: host -> receiver
    uint32_t baud;        // rate in force on the host's side of the line
    std::vector<uint8_t> bytes;
};

// A remark in the trace between bytes: rate and mode changes, port open/close, uploads, commits.
struct TraceNote {
    uint64_t timeMs;
    size_t bytesBefore;   // count of trace bytes (all entries) recorded before the note
    std::string text;
};

}  // namespace sim
