#include "receiver-sim/CommandLine.h"

#include <charconv>

namespace sim {

namespace {

bool toNumber(const std::string& text, uint64_t& value) {
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && p == end;
}

bool isRate(uint64_t baud) {
    switch (baud) {
    case 4800: case 9600: case 19200: case 38400: case 57600: case 115200: return true;
    default: return false;
    }
}

}  // namespace

const char* CommandLine::usage() {
    return "usage: receiver-sim [options]\n"
           "Serves a simulated GPS receiver on a new pseudo-terminal; prints \"PTY <slave path>\" first.\n"
           "  --link PATH             also make PATH a symlink to the slave device\n"
           "  --trace FILE            write the human-readable byte trace to FILE as it goes\n"
           "  --flash FILE            keep the flash image in FILE (loaded at start, written at commit)\n"
           "  --version TEXT          version reported while the flash holds no image\n"
           "  --start-binary RATE     start in SiRF binary at RATE instead of NMEA at 4800\n"
           "  --start-loader          start with the loader running at 115200\n"
           "  --no-pacing             deliver bytes at once instead of 10 bits per byte at the rate\n"
           "  --baud-after-update N   firmware's SiRF binary rate after an update (115200, 57600, 38400)\n"
           "  --silent                send nothing at all\n"
           "  --no-version            NMEA output without version lines\n"
           "  --never-ack             the loader never answers a record\n"
           "  --refuse-record N       the loader refuses record N (1-based)\n"
           "  --long-refusal          refuse with \"SE:3 -- bad S-Record\" instead of \"SE\"\n"
           "  --no-return-to-nmea     ignore the switch to NMEA at every rate\n"
           "  --hang-up-after-ms N    close the pty master N ms after start\n"
           "  --garbage               binary junk between NMEA lines and before acknowledgements\n"
           "SIGTERM or SIGINT: writes the rest of the trace and exits 0.\n";
}

bool CommandLine::parse(const std::vector<std::string>& args, ProgramOptions& options, std::string& error) {
    options.model.pacing = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto numberValue = [&](uint64_t& out) {
            std::string text;
            if (!value(text)) return false;
            if (!toNumber(text, out)) {
                error = a + ": not a number: " + text;
                return false;
            }
            return true;
        };
        uint64_t n = 0;
        if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (a == "--link") {
            if (!value(options.linkPath)) return false;
        } else if (a == "--trace") {
            if (!value(options.traceFile)) return false;
        } else if (a == "--flash") {
            if (!value(options.model.flashFile)) return false;
        } else if (a == "--version") {
            if (!value(options.model.initialVersion)) return false;
        } else if (a == "--start-binary") {
            if (!numberValue(n)) return false;
            if (!isRate(n)) {
                error = "--start-binary: unknown rate " + std::to_string(n);
                return false;
            }
            options.model.startState = static_cast<uint32_t>(Mode::SirfBinary);
            options.model.startBinaryBaud = static_cast<uint32_t>(n);
        } else if (a == "--start-loader") {
            options.model.startState = static_cast<uint32_t>(Mode::LoaderRunning);
        } else if (a == "--no-pacing") {
            options.model.pacing = false;
        } else if (a == "--baud-after-update") {
            if (!numberValue(n)) return false;
            if (!isRate(n)) {
                error = "--baud-after-update: unknown rate " + std::to_string(n);
                return false;
            }
            options.model.faults.firmwareBaud = static_cast<uint32_t>(n);
        } else if (a == "--silent") {
            options.model.faults.silent = true;
        } else if (a == "--no-version") {
            options.model.faults.noVersionLine = true;
        } else if (a == "--never-ack") {
            options.model.faults.neverAcknowledge = true;
        } else if (a == "--refuse-record") {
            if (!numberValue(n)) return false;
            if (n == 0 || n > 0x7FFFFFFF) {
                error = "--refuse-record: record numbers start at 1";
                return false;
            }
            options.model.faults.refuseRecord = static_cast<int>(n);
        } else if (a == "--long-refusal") {
            options.model.faults.longRefusal = true;
        } else if (a == "--no-return-to-nmea") {
            options.model.faults.noReturnToNmea = true;
        } else if (a == "--hang-up-after-ms") {
            if (!numberValue(n)) return false;
            options.model.faults.hangUpAfterMs = n;
        } else if (a == "--garbage") {
            options.model.faults.garbageBetweenLines = true;
        } else {
            error = "unknown argument: " + a;
            return false;
        }
    }
    return true;
}

}  // namespace sim
