#include "receiver-sim/SRecordLoader.h"

#include <algorithm>
#include <cstdio>

#include "receiver-sim/Flash.h"

namespace sim {

void SRecordLoader::start() {
    line_.clear();
    overlong_ = false;
    recordNumber_ = 0;
    nextAddress_ = 0;
    refusedSinceStart_ = false;
    pending_.clear();
}

std::optional<SRecordLoader::Event> SRecordLoader::push(uint8_t byte) {
    if (byte != '\n') {
        if (line_.size() < MaxLine) {
            line_.push_back(static_cast<char>(byte));
        } else {
            overlong_ = true;
        }
        return std::nullopt;
    }
    std::string line;
    line.swap(line_);
    const bool overlong = overlong_;
    overlong_ = false;
    if (line.empty() || line == "\r") return std::nullopt;
    ++recordNumber_;
    if (overlong) return refuse("record longer than " + std::to_string(MaxLine) + " characters");
    return examine(line);
}

SRecordLoader::Event SRecordLoader::examine(const std::string& line) {
    if (line.back() != '\r') return refuse("line does not end in CR LF");
    if (behaviour_.refuseRecord > 0 && recordNumber_ == static_cast<size_t>(behaviour_.refuseRecord)) {
        return refuse("refused by the fault knob");
    }
    SRecord record;
    const std::string problem = SRecord::parse(std::string_view(line).substr(0, line.size() - 1), record);
    if (!problem.empty()) return refuse(problem);
    if (record.isData()) {
        const uint64_t end = static_cast<uint64_t>(record.address) + record.data.size();
        if (record.address < nextAddress_) {
            char text[96];
            std::snprintf(text, sizeof text, "address %08X below the end of the previous data (%08llX)",
                          static_cast<unsigned>(record.address), static_cast<unsigned long long>(nextAddress_));
            return refuse(text);
        }
        if (end > Flash::Capacity) return refuse("data beyond the end of the flash");
        if (pending_.size() < end) pending_.resize(static_cast<size_t>(end), 0xFF);
        std::copy(record.data.begin(), record.data.end(), pending_.begin() + record.address);
        nextAddress_ = end;
        return acceptAnswered();
    }
    if (record.isEnd()) {
        if (refusedSinceStart_) return refuse("end record after a refused record: nothing flashed");
        ++accepted_;
        Event event{Event::Kind::End, recordNumber_, "", ""};
        if (record.type == '8' && !behaviour_.neverAcknowledge) {
            event.reply = Accept;
            ++acknowledged_;
        }
        return event;
    }
    return acceptAnswered();  // S0 header, S5 count
}

SRecordLoader::Event SRecordLoader::acceptAnswered() {
    ++accepted_;
    Event event{Event::Kind::Accepted, recordNumber_, "", ""};
    if (!behaviour_.neverAcknowledge) {
        event.reply = Accept;
        ++acknowledged_;
    }
    return event;
}

SRecordLoader::Event SRecordLoader::refuse(std::string detail) {
    ++refused_;
    refusedSinceStart_ = true;
    Event event{Event::Kind::Refused, recordNumber_, "", std::move(detail)};
    if (!behaviour_.neverAcknowledge) event.reply = behaviour_.longRefusal ? LongRefusal : ShortRefusal;
    return event;
}

}  // namespace sim
