#include "updatetool/link/ReturnToNmea.h"

#include "updatetool/link/FirmwareVersion.h"
#include "updatetool/link/GpsPort.h"
#include "updatetool/link/SerialLink.h"
#include "updatetool/link/WaitSeconds.h"
#include "updatetool/ui/ProgramState.h"

namespace {

struct RepairRow {
    uint32_t baud;
    int attempts;
};

// 115200 is left to the update, which knows the receiver may run its fresh firmware there.
constexpr RepairRow RepairPlan[] = {{38400, 2}, {57600, 2}};

}  // namespace

NmeaReturn ReturnToNmea(uint32_t baud) {
    OpenGpsPort(false);
    serialLink.Close();
    WaitSeconds(2);
    if (!serialLink.Open(L"COM2:", baud)) return OpenFailed;
    WaitSeconds(2);
    serialLink.SwitchToNmea();
    WaitSeconds(2);
    serialLink.Close();
    OpenGpsPort(false);
    OpenGpsPort(true);
    return PollVersionSentence() ? Switched : NotSwitched;
}

bool RunRepair() {
    bool result = false;
    bool stop = false;
    for (const RepairRow& row : RepairPlan) {
        for (int attempt = 0; attempt < row.attempts && !stop; ++attempt) {
            switch (ReturnToNmea(row.baud)) {
                case Switched: result = true; stop = true; break;
                case OpenFailed: result = false; stop = true; break;
                case NotSwitched: break;
            }
        }
        if (stop) break;
    }
    ReleasePortsAndFiles();
    workerDone = 1;
    return result;
}

void ReleasePortsAndFiles() {
    OpenGpsPort(false);
    loaderFile.reset();
    firmwareFile.reset();
    serialLink.Close();
}
