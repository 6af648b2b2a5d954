// The receiver's NMEA sentences: a fixed, plausible fix (Munich, 8 satellites, 3D) with a UTC
// clock that starts on 15 Mar 2006 12:00:00 at power-up, GGA/GLL/GSA/GSV/RMC/VTG/ZDA at their
// periods, and optional binary junk lines between sentences (fault knob): junk
// bytes ended by CR LF, so the next sentence still starts a line of its own.
#pragma once

#include <cstdint>
#include <string>

#include "receiver-sim/Junk.h"

namespace sim {

// Output periods in seconds, 0 = off. Defaults: what the receiver puts out after power-up.
struct NmeaPeriods {
    uint8_t gga = 1;
    uint8_t gll = 0;
    uint8_t gsa = 5;
    uint8_t gsv = 5;
    uint8_t rmc = 0;
    uint8_t vtg = 0;
    uint8_t zda = 0;
};

class NmeaOutput {
public:
    // Message numbers of $PSRF103 (and of the order of SwitchToNmeaFrame's period fields).
    enum Message { Gga = 0, Gll = 1, Gsa = 2, Gsv = 3, Rmc = 4, Vtg = 5, Zda = 8 };

    NmeaPeriods& periods() { return periods_; }
    const NmeaPeriods& periods() const { return periods_; }
    // Sets one message's period by its $PSRF103 number; false for a number it does not know.
    bool setPeriod(int message, uint8_t seconds);
    void setGarbage(bool on) { garbage_ = on; }

    // All that is due in second `index` of the output (0 = the first): versionLine first when
    // it is not empty, then each sentence whose period divides index. secondsSinceStart sets the
    // UTC clock.
    std::string second(uint64_t index, uint64_t secondsSinceStart, const std::string& versionLine);
    // One sentence of a message now (a $PSRF103 query); empty for an unknown number.
    std::string one(int message, uint64_t secondsSinceStart);

    static std::string versionLine(const std::string& version, const std::string& build);

private:
    void append(std::string& out, const std::string& sentence);

    NmeaPeriods periods_;
    bool garbage_ = false;
    Junk junk_;
};

}  // namespace sim
