#include "receiver-sim/SimTypes.h"

namespace sim {

const char* modeName(Mode mode) {
    switch (mode) {
    case Mode::Nmea: return "NMEA";
    case Mode::SirfBinary: return "SiRF binary";
    case Mode::BootMode: return "boot mode";
    case Mode::LoaderUpload: return "loader upload";
    case Mode::LoaderRunning: return "loader running";
    }
    return "?";
}

}  // namespace sim
