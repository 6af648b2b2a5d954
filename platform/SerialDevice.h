// One open serial device and the service that opens devices by their device name.
// Contract at the seam:
//  - every call returns true on success; a failed call leaves counts as documented;
//  - a read that times out is a short count with success, never an error;
//  - a device that disappears (pty master closed, USB adapter unplugged) makes reads and writes
//    fail; they never hang or spin.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Bits 0..14 of the settings word; bits 15..31 are kept as the port reported them.
namespace LineFlag {
constexpr uint32_t Binary = 1u << 0;
constexpr uint32_t ParityCheck = 1u << 1;
constexpr uint32_t OutxCtsFlow = 1u << 2;
constexpr uint32_t OutxDsrFlow = 1u << 3;
constexpr uint32_t DtrControlShift = 4;  // two bits: 0 off, 1 on while open, 2 handshake
constexpr uint32_t DtrControlMask = 3u << DtrControlShift;
constexpr uint32_t DsrSensitivity = 1u << 6;
constexpr uint32_t TxContinueOnXoff = 1u << 7;
constexpr uint32_t OutX = 1u << 8;
constexpr uint32_t InX = 1u << 9;
constexpr uint32_t ErrorChar = 1u << 10;
constexpr uint32_t Null = 1u << 11;
constexpr uint32_t RtsControlShift = 12;  // two bits: 0 off, 1 on while open, 2 handshake, 3 toggle
constexpr uint32_t RtsControlMask = 3u << RtsControlShift;
constexpr uint32_t AbortOnError = 1u << 14;
constexpr uint32_t Bits0To14 = 0x7FFFu;
}  // namespace LineFlag

enum class Parity : uint8_t { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };
enum class StopBits : uint8_t { One = 0, OneAndHalf = 1, Two = 2 };

// The complete line-settings record of a port.
struct LineSettings {
    uint32_t baudRate = 0;
    uint32_t flags = 0;  // the settings word, see LineFlag
    uint16_t xonLimit = 0;
    uint16_t xoffLimit = 0;
    uint8_t byteSize = 8;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    char xonChar = 0;
    char xoffChar = 0;
    char errorChar = 0;
    char eofChar = 0;
    char evtChar = 0;

    bool operator==(const LineSettings&) const = default;
};

// All values in milliseconds. Read: a read of n bytes returns when n bytes arrived, when the
// total (perByteMs * n + constantMs, 0 = none) passed, or when the gap between two bytes exceeded
// intervalMs (0 = not used). intervalMs = ReturnImmediately with both totals 0 returns at once
// with whatever is waiting. Write: gives up after perByteMs * n + constantMs (0 = never) and
// reports the count written with success.
struct Timeouts {
    static constexpr uint32_t ReturnImmediately = 0xFFFFFFFFu;
    uint32_t readIntervalMs = 0;
    uint32_t readTotalPerByteMs = 0;
    uint32_t readTotalConstantMs = 0;
    uint32_t writeTotalPerByteMs = 0;
    uint32_t writeTotalConstantMs = 0;

    bool operator==(const Timeouts&) const = default;
};

namespace SerialEvent {
constexpr uint32_t None = 0;
constexpr uint32_t ReceiveChar = 0x0001;
}  // namespace SerialEvent

class SerialDevice {
public:
    virtual ~SerialDevice() = default;  // closing = destroying

    virtual bool getLineSettings(LineSettings& out) = 0;
    // Applies the whole record; false when a field cannot be expressed (e.g. an unknown rate).
    virtual bool setLineSettings(const LineSettings& settings) = 0;
    virtual bool getTimeouts(Timeouts& out) = 0;
    virtual bool setTimeouts(const Timeouts& timeouts) = 0;
    virtual bool setQueueSizes(uint32_t receiveBytes, uint32_t transmitBytes) = 0;
    virtual bool setEventMask(uint32_t mask) = 0;
    // Modem-control lines; false where the device has none (a pseudo-terminal).
    virtual bool setDtr(bool raised) = 0;
    virtual bool setRts(bool raised) = 0;
    virtual bool discardQueues(bool transmit, bool receive) = 0;
    // bytesRead / bytesWritten always set (0 when nothing moved).
    virtual bool read(void* buffer, uint32_t count, uint32_t& bytesRead) = 0;
    virtual bool write(const void* data, uint32_t count, uint32_t& bytesWritten) = 0;
};

class SerialPorts {
public:
    virtual ~SerialPorts() = default;
    // Opens a device by its device name ("COM2:") for reading and writing, exclusively, existing
    // devices only. On failure returns null and sets errorCode to the platform's error code.
    virtual std::unique_ptr<SerialDevice> open(const std::wstring& deviceName, uint32_t& errorCode) = 0;
};

}  // namespace platform
