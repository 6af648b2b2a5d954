#include "receiver-sim/NmeaInput.h"

namespace sim {

std::optional<nmea::Sentence> NmeaInput::push(uint8_t byte) {
    if (byte == '$') {
        if (inLine_) ++rejected_;
        line_.assign(1, '$');
        inLine_ = true;
        return std::nullopt;
    }
    if (!inLine_) return std::nullopt;
    if (byte == '\n') {
        inLine_ = false;
        if (!line_.empty() && line_.back() == '\r') line_.pop_back();
        auto sentence = nmea::parse(line_);
        if (!sentence) ++rejected_;
        return sentence;
    }
    line_.push_back(static_cast<char>(byte));
    if (line_.size() > MaxLine) {
        inLine_ = false;
        ++rejected_;
    }
    return std::nullopt;
}

void NmeaInput::reset() {
    line_.clear();
    inLine_ = false;
}

}  // namespace sim
