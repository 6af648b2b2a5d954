// The trace as text lines for people. Formats, exactly:
//   bytes: "%6u.%03u %s %6u  %-47s  %s"  seconds.milliseconds of the line's first byte,
//          "H>R" (host to receiver) or "R>H" (receiver to host), the rate on the host's side,
//          up to 16 bytes as upper-case hex pairs separated by single spaces (padded to 47
//          characters), then the same bytes as ASCII with '.' for bytes outside 0x20..0x7E
//   notes: "%6u.%03u --- %s"
// e.g. "     4.000 R>H   4800  24 50 53 52 46 54 58 54 2C 56 65 72 73 69 6F 6E  $PSRFTXT,Version"
//      "     4.210 --- receiver rate 4800 -> 38400, mode SiRF binary"
// A byte line ends after 16 bytes, after an LF, before a note, and before a byte that moved more
// than 100 ms after the line's first byte. Lines come in time order of the recording.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "receiver-sim/Trace.h"

namespace sim {

class TraceFormatter {
public:
    static constexpr size_t BytesPerLine = 16;
    static constexpr uint64_t GapMs = 100;

    // The lines completed since the last call. The newest line, which may still grow, is held
    // back until it is complete, or more than GapMs passed since its last byte by nowMs, or final is set.
    std::vector<std::string> take(const Trace& trace, uint64_t nowMs, bool final);

    static std::vector<std::string> formatAll(const Trace& trace);
    static std::string bytesLine(uint64_t timeMs, bool fromHost, uint32_t baud, const uint8_t* data, size_t count);
    static std::string noteLine(uint64_t timeMs, const std::string& text);

private:
    size_t entry_ = 0;   // cursor: next byte to print is entry_/offset_
    size_t offset_ = 0;
    size_t total_ = 0;   // bytes printed so far, all entries
    size_t note_ = 0;    // next note to print
};

}  // namespace sim
