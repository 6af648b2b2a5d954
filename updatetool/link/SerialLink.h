// CSerialLink: the second, write-only connection to the receiver's port, at a chosen rate with
// DTR and RTS raised and output flow control by CTS.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/SerialDevice.h"

class CSerialLink {
public:
    CSerialLink() = default;
    virtual ~CSerialLink();
    CSerialLink(const CSerialLink&) = delete;
    CSerialLink& operator=(const CSerialLink&) = delete;

    bool Open(const std::wstring& portName, uint32_t baud);
    void Close();
    bool SetLine(uint32_t baud);
    bool SetTimeouts();
    void WriteText(const char* text);

    // Sends SwitchToNmeaFrame on the open connection.
    void SwitchToNmea();
    // Opens "COM2:" on its own at 4800, sends NavInitSentence and closes.
    bool ResetGpsModule();

    bool IsOpen() const { return connection != nullptr; }

private:
    std::unique_ptr<platform::SerialDevice> connection;  // null: no handle
    platform::LineSettings lineSettings;                 // used only by ResetGpsModule
};

// The one instance, for the whole run of the program.
extern CSerialLink serialLink;
