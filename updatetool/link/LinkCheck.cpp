// Reads the receiver's firmware version through GpsPort and, with --repair, runs the repair
// sequence: the receiver link on its own, for a first look at a port and a receiver.
#include <cstdio>
#include <cstring>

#include "platform/DeviceNames.h"
#include "platform/Services.h"
#include "updatetool/link/FirmwareVersion.h"
#include "updatetool/link/GpsPort.h"
#include "updatetool/link/ReturnToNmea.h"
#include "updatetool/link/SerialLink.h"

int main(int argc, char** argv) {
    bool repair = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repair") == 0) {
            repair = true;
        } else {
            std::fprintf(stderr, "usage: %s [--repair]\n  COM2: is %s (set DEVICE_COM2 to change it)\n", argv[0],
                         platform::hostSerialPath(L"COM2:").c_str());
            return 2;
        }
    }
    platform::installHostServices();
    std::printf("COM2: is %s\n", platform::hostSerialPath(L"COM2:").c_str());
    std::fflush(stdout);

    OpenGpsPort(false);
    OpenGpsPort(true);
    const bool read = ReadFirmwareVersion();
    std::printf("firmware version: %s\n", read ? platform::toUtf8(currentVersion).c_str() : "(not read)");
    std::fflush(stdout);
    OpenGpsPort(false);
    if (!repair) return read ? 0 : 1;

    std::printf("repair: running (up to two attempts at 38400, then two at 57600)...\n");
    std::fflush(stdout);
    const bool repaired = RunRepair();
    std::printf("repair: %s\n", repaired ? "Check successfully." : "Check&Repair fail.");
    if (repaired) std::printf("version line seen: %s\n", platform::toUtf8(currentVersion).c_str());
    return repaired ? 0 : 1;
}
