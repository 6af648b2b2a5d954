#include "updatetool/link/GpsPort.h"

#include "platform/MessageBox.h"
#include "platform/Services.h"

GpsPortState GpsPort;

namespace {

constexpr uint32_t GpsPortBaud = 4800;
constexpr uint32_t GpsPortSettingsWord = 0x0001;  // binary mode only
constexpr uint32_t GpsPortQueueBytes = 4096;

void FillGpsPortSettings(platform::LineSettings& s) {
    s.baudRate = GpsPortBaud;
    s.flags = (s.flags & ~platform::LineFlag::Bits0To14) | GpsPortSettingsWord;
    s.byteSize = 8;
    s.parity = platform::Parity::None;
    s.stopBits = platform::StopBits::One;
    s.xonLimit = 0;
    s.xoffLimit = 0;
    s.xonChar = s.xoffChar = s.errorChar = s.eofChar = s.evtChar = 0;
}

}  // namespace

void OpenGpsPort(bool open) {
    if (!open) {
        if (!GpsPort.handle) return;
        platform::SerialDevice& port = *GpsPort.handle;
        port.setEventMask(platform::SerialEvent::None);
        port.setDtr(false);
        port.setRts(false);
        port.discardQueues(true, true);
        GpsPort.handle.reset();
        return;
    }

    GpsPort.handle.reset();  // a plain close of a held handle
    uint32_t errorCode = 0;
    GpsPort.handle = platform::serialPorts().open(L"COM2:", errorCode);
    if (!GpsPort.handle) {
        MessageBox(nullptr, L"COM2 can't be opened.", L"Message");
        return;
    }
    platform::SerialDevice& port = *GpsPort.handle;

    FillGpsPortSettings(GpsPort.lineSettings);
    if (!port.setLineSettings(GpsPort.lineSettings))
        MessageBox(nullptr, L"Error.. Cannot set UART control block", L"set uart");

    platform::Timeouts timeouts;
    timeouts.readIntervalMs = 0;
    timeouts.readTotalPerByteMs = 0;
    timeouts.readTotalConstantMs = 1000;
    timeouts.writeTotalPerByteMs = 0;
    timeouts.writeTotalConstantMs = 1000;
    if (!port.setTimeouts(timeouts)) MessageBox(nullptr, L"Error.. Cannot set UART timeouts", L"set uart");

    if (!port.setQueueSizes(GpsPortQueueBytes, GpsPortQueueBytes))
        MessageBox(nullptr, L"Error.. Cannot set UART buffers", L"set uart");
}

bool ChangeGpsPortBaud(uint32_t baud) {
    GpsPort.lineSettings.baudRate = baud;
    return GpsPort.handle && GpsPort.handle->setLineSettings(GpsPort.lineSettings);
}
