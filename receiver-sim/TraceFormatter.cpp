#include "receiver-sim/TraceFormatter.h"

#include <cstdio>
#include <limits>

namespace sim {

namespace {

std::string timeText(uint64_t timeMs) {
    char text[32];
    std::snprintf(text, sizeof text, "%6llu.%03llu", static_cast<unsigned long long>(timeMs / 1000),
                  static_cast<unsigned long long>(timeMs % 1000));
    return text;
}

}  // namespace

std::string TraceFormatter::bytesLine(uint64_t timeMs, bool fromHost, uint32_t baud, const uint8_t* data,
                                      size_t count) {
    std::string hex;
    std::string ascii;
    static const char digits[] = "0123456789ABCDEF";
    for (size_t i = 0; i < count; ++i) {
        if (i) hex.push_back(' ');
        hex.push_back(digits[data[i] >> 4]);
        hex.push_back(digits[data[i] & 0x0F]);
        ascii.push_back(data[i] >= 0x20 && data[i] <= 0x7E ? static_cast<char>(data[i]) : '.');
    }
    char head[48];
    std::snprintf(head, sizeof head, " %s %6u  ", fromHost ? "H>R" : "R>H", static_cast<unsigned>(baud));
    std::string line = timeText(timeMs) + head + hex;
    line.append(BytesPerLine * 3 - 1 - hex.size(), ' ');
    line += "  ";
    line += ascii;
    return line;
}

std::string TraceFormatter::noteLine(uint64_t timeMs, const std::string& text) {
    return timeText(timeMs) + " --- " + text;
}

std::vector<std::string> TraceFormatter::take(const Trace& trace, uint64_t nowMs, bool final) {
    std::vector<std::string> lines;
    const auto& entries = trace.entries();
    const auto& notes = trace.notes();
    for (;;) {
        while (note_ < notes.size() && notes[note_].bytesBefore <= total_) {
            lines.push_back(noteLine(notes[note_].timeMs, notes[note_].text));
            ++note_;
        }
        if (entry_ >= entries.size()) break;
        const TraceEntry& e = entries[entry_];
        const bool lastEntry = entry_ + 1 == entries.size();
        if (offset_ >= e.bytes.size()) {
            if (lastEntry) break;
            ++entry_;
            offset_ = 0;
            continue;
        }
        const size_t noteLimit = note_ < notes.size() ? notes[note_].bytesBefore - total_
                                                      : std::numeric_limits<size_t>::max();
        const uint64_t first = trace.byteTime(entry_, offset_);
        size_t j = offset_;
        bool complete = false;
        while (j < e.bytes.size()) {
            const size_t taken = j - offset_;
            if (taken == BytesPerLine || taken == noteLimit ||
                (taken > 0 && trace.byteTime(entry_, j) > first + GapMs)) {
                complete = true;
                break;
            }
            if (e.bytes[j++] == '\n') {
                complete = true;
                break;
            }
        }
        if (!complete) {
            const size_t taken = j - offset_;
            complete = taken == BytesPerLine || taken == noteLimit || !lastEntry || final ||
                       nowMs > trace.byteTime(entry_, j - 1) + GapMs;
        }
        if (!complete) break;
        lines.push_back(bytesLine(first, e.fromHost, e.baud, e.bytes.data() + offset_, j - offset_));
        total_ += j - offset_;
        offset_ = j;
    }
    return lines;
}

std::vector<std::string> TraceFormatter::formatAll(const Trace& trace) {
    TraceFormatter formatter;
    return formatter.take(trace, std::numeric_limits<uint64_t>::max(), true);
}

}  // namespace sim
