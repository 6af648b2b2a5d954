// A serial device on termios and poll: real UARTs, USB adapters and pseudo-terminals.
#pragma once

#include <termios.h>

#include <string>

#include "platform/SerialDevice.h"

namespace platform {

class TermiosSerialDevice : public SerialDevice {
public:
    // Opens path exclusively (TIOCEXCL and flock). Null and errorCode = errno on failure.
    static std::unique_ptr<TermiosSerialDevice> open(const std::string& path, uint32_t& errorCode);
    ~TermiosSerialDevice() override;

    bool getLineSettings(LineSettings& out) override;
    bool setLineSettings(const LineSettings& settings) override;
    bool getTimeouts(Timeouts& out) override;
    bool setTimeouts(const Timeouts& timeouts) override;
    bool setQueueSizes(uint32_t receiveBytes, uint32_t transmitBytes) override;
    bool setEventMask(uint32_t mask) override;
    bool setDtr(bool raised) override;
    bool setRts(bool raised) override;
    bool discardQueues(bool transmit, bool receive) override;
    bool read(void* buffer, uint32_t count, uint32_t& bytesRead) override;
    bool write(const void* data, uint32_t count, uint32_t& bytesWritten) override;

    // Maps a rate to its termios speed constant; 0 when termios has none.
    static speed_t speedFor(uint32_t baud);

private:
    explicit TermiosSerialDevice(int fd);
    bool setModemLine(int line, bool raised);

    int fd_;
    LineSettings settings_;
    bool settingsKnown_ = false;
    Timeouts timeouts_;
    uint32_t eventMask_ = 0;
    bool vanished_ = false;  // the other end went away: every later call fails
};

}  // namespace platform
