// Test support for the simulated receiver: the six receiver messages byte for byte, a
// host on virtual time that moves bytes like the update tool's serial port, and line helpers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "receiver-sim/ReceiverModel.h"

namespace simtest {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(std::string_view text);
std::string textOf(const Bytes& bytes);

// as the update tool sends them.
extern const Bytes BinaryModeSentence;
extern const Bytes FlashUpdateFrame;
extern const Bytes BootCommandFrame;
extern const Bytes SwitchToNmeaFrame;
extern const Bytes RmcRateSentence;
extern const Bytes NavInitSentence;

// SwitchToNmeaFrame with another rate in its last two payload bytes (checksum recomputed).
Bytes switchToNmeaFrameAt(uint32_t baud);
// The loader upload: header, image, trailer.
Bytes uploadOf(const Bytes& image);

// The update tool's side of the line, on virtual time.
class VirtualHost {
public:
    explicit VirtualHost(sim::ReceiverModel& model, uint64_t startMs = 0) : model_(model), now_(startMs) {}

    uint64_t now() const { return now_; }
    uint32_t baud = 4800;

    void write(const Bytes& bytes);
    void write(std::string_view text) { write(bytesOf(text)); }
    // Lets ms pass, reading every 10 ms; returns all bytes read.
    std::string runFor(uint64_t ms);
    // Reads until an LF arrives or limitMs passes; returns the line with its LF ("" on time-out).
    std::string readLine(uint64_t limitMs);
    // Reads lines until one passes the test, or limitMs; returns it ("" on time-out).
    template <typename Test>
    std::string readLineUntil(uint64_t limitMs, Test test) {
        const uint64_t end = now_ + limitMs;
        while (now_ < end) {
            std::string line = readLine(end - now_);
            if (!line.empty() && test(line)) return line;
        }
        return "";
    }
    void setPortOpen(bool open) { model_.setHostPortOpen(open, now_); }
    void wait(uint64_t ms) { runFor(ms); }

private:
    sim::ReceiverModel& model_;
    uint64_t now_;
    std::string partial_;
};

// Lines (each with its LF) in a byte stream; a tail without LF is dropped.
std::vector<std::string> linesOf(const std::string& bytes);
// A line "$...*hh\r\n" whose checksum is right.
bool isValidNmeaLine(const std::string& line);
bool isVersionLine(const std::string& line);  // by the update tool's rules
// The tool's ReadFirmwareVersion text of a V-form line: after the first ":" past position 9, up
// to the first "-" after it.
std::string versionTextOf(const std::string& line);
std::string buildOf(const std::string& line);  // between that "-" and "*"

// Runs the update tool's sequence against the model up to the end record, on virtual
// time, with the given loader image and S-record lines. Returns the acknowledgement lines read.
std::vector<std::string> runUpdateTransfer(VirtualHost& host, const Bytes& loader, const std::vector<std::string>& records);
// One ReturnToNmea attempt at a rate; true when a version line arrived at 4800 within
// 10 s. The version line is stored in versionLine.
bool returnToNmea(VirtualHost& host, uint32_t baud, std::string* versionLine = nullptr);

}  // namespace simtest
