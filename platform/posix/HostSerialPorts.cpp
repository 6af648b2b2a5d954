// Opens "COMn:" on the host device that DeviceNames maps it to.
#include <cstdio>
#include <cstring>

#include "platform/DeviceNames.h"
#include "platform/Services.h"
#include "platform/posix/TermiosSerialDevice.h"

namespace platform {

namespace {
class HostSerialPorts : public SerialPorts {
public:
    std::unique_ptr<SerialDevice> open(const std::wstring& deviceName, uint32_t& errorCode) override {
        const std::string path = hostSerialPath(deviceName);
        auto device = TermiosSerialDevice::open(path, errorCode);
        if (!device) {
            // One line for whoever runs the program; the boxes stay as the device shows them.
            std::fprintf(stderr, "serial: %s -> %s: %s\n", toUtf8(deviceName).c_str(),
                         path.empty() ? "(no host device)" : path.c_str(), std::strerror(static_cast<int>(errorCode)));
        }
        return device;
    }
};
}  // namespace

SerialPorts& hostSerialPorts() {
    static HostSerialPorts ports;
    return ports;
}

}  // namespace platform
