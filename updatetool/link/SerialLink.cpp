#include "updatetool/link/SerialLink.h"

#include <cstring>

#include "platform/MessageBox.h"
#include "platform/Services.h"
#include "updatetool/link/ReceiverMessages.h"

CSerialLink serialLink;

namespace {

constexpr uint32_t LinkSettingsWord = 0x1017;   // binary, parity check, CTS flow, DTR and RTS on
constexpr uint32_t ResetSettingsWord = 0x0093;  // binary, parity check, DTR on, TX after XOFF
constexpr uint32_t LinkQueueBytes = 512;

// Fills "%s" with the port name and "%d" with the error code, as the device's formatter would.
std::wstring FormatOpenFailure(const wchar_t* format, const std::wstring& portName, uint32_t errorCode) {
    std::wstring out;
    for (const wchar_t* p = format; *p; ++p) {
        if (p[0] == L'%' && p[1] == L's') {
            out += portName;
            ++p;
        } else if (p[0] == L'%' && p[1] == L'd') {
            out += std::to_wstring(static_cast<int>(errorCode));
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

void ShowOpenFailure(const std::wstring& portName, uint32_t errorCode) {
    MessageBox(nullptr, FormatOpenFailure(L"Unable to open %s, Error No.=%d", portName, errorCode), L"Error");
}

}  // namespace

CSerialLink::~CSerialLink() {
    if (connection) Close();
}

bool CSerialLink::Open(const std::wstring& portName, uint32_t baud) {
    uint32_t errorCode = 0;
    connection = platform::serialPorts().open(portName, errorCode);
    if (!connection) {
        ShowOpenFailure(portName, errorCode);
        return false;
    }
    connection->setEventMask(platform::SerialEvent::ReceiveChar);
    connection->setQueueSizes(LinkQueueBytes, LinkQueueBytes);
    connection->discardQueues(true, true);
    if (!SetLine(baud)) return false;
    if (!SetTimeouts()) return false;
    connection->setDtr(true);
    connection->setRts(true);
    return true;
}

void CSerialLink::Close() {
    if (!connection) return;
    connection->setEventMask(platform::SerialEvent::None);
    connection->setDtr(false);
    connection->setRts(false);
    connection->discardQueues(true, true);
    connection.reset();
}

bool CSerialLink::SetLine(uint32_t baud) {
    platform::LineSettings s;
    if (connection) connection->getLineSettings(s);  // a failed read leaves a blank record
    s.baudRate = baud;
    s.byteSize = 8;
    s.parity = platform::Parity::None;
    s.stopBits = platform::StopBits::One;
    s.flags = (s.flags & ~platform::LineFlag::Bits0To14) | LinkSettingsWord;
    if (!connection || !connection->setLineSettings(s)) {
        MessageBox(nullptr, L"Unable to configure the serial port", L"Error");
        return false;
    }
    return true;
}

bool CSerialLink::SetTimeouts() {
    platform::Timeouts t;
    if (connection) connection->getTimeouts(t);
    t.readIntervalMs = platform::Timeouts::ReturnImmediately;
    t.readTotalPerByteMs = 0;
    t.readTotalConstantMs = 0;
    t.writeTotalPerByteMs = 10;
    t.writeTotalConstantMs = 1000;
    if (!connection || !connection->setTimeouts(t)) {
        MessageBox(nullptr, L"Unable to set the time-out parameters", L"Error");
        return false;
    }
    return true;
}

void CSerialLink::WriteText(const char* text) {
    if (!connection || !text) return;
    uint32_t written = 0;
    connection->write(text, static_cast<uint32_t>(std::strlen(text)), written);
}

void CSerialLink::SwitchToNmea() {
    if (!connection) {
        MessageBox(nullptr, L"Error.. COM had not be opened", L"Message");
        return;
    }
    uint32_t written = 0;
    const bool ok = connection->write(SwitchToNmeaFrame.bytes, static_cast<uint32_t>(SwitchToNmeaFrame.length), written);
    if (!ok) MessageBox(nullptr, L"Error.. Cannot transmit to UART", L"Message");
    if (written != SwitchToNmeaFrame.length) MessageBox(nullptr, L"Error.. Incorrect transmission to UART", L"Message");
}

bool CSerialLink::ResetGpsModule() {
    uint32_t errorCode = 0;
    // Opened into a local first: a failed open must not drop a connection the link still holds.
    auto opened = platform::serialPorts().open(L"COM2:", errorCode);
    if (!opened) {
        ShowOpenFailure(L"COM2:", errorCode);
        return false;
    }
    connection = std::move(opened);

    lineSettings = platform::LineSettings{};
    lineSettings.baudRate = 4800;
    lineSettings.byteSize = 8;
    lineSettings.parity = platform::Parity::None;
    lineSettings.stopBits = platform::StopBits::One;
    lineSettings.flags = ResetSettingsWord;
    connection->setLineSettings(lineSettings);  // a refusal is not reported

    platform::Timeouts t;
    t.readIntervalMs = 250;
    t.readTotalPerByteMs = 100;
    t.readTotalConstantMs = 10;
    t.writeTotalPerByteMs = 0;
    t.writeTotalConstantMs = 0;
    if (!connection->setTimeouts(t)) {
        MessageBox(nullptr, L"Unable to set the time-out parameters", L"Error");
        return false;
    }

    platform::clock().sleepMilliseconds(100);
    WriteText(reinterpret_cast<const char*>(NavInitSentence.bytes));
    platform::clock().sleepMilliseconds(5000);
    connection.reset();  // a plain close: the sentence must not be discarded on the way out
    return true;
}
