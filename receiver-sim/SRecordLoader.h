// The flash loader once it runs (the receiver's side): takes S-record lines
// ending in CR LF, checks each (SRecord), writes data records into a pending image and answers
// "SA" CR LF for a record it accepts, or refuses it with "SE" CR LF (or the long form
// "SE:3 -- bad S-Record" CR LF). Data addresses must ascend without overlap. The end records
// S7 and S9 are not answered and hand over the pending image; S8, which the update tool treats
// like a data record (it waits for an answer), is answered "SA" and also ends the
// transfer. An end record after any refusal is refused and nothing is flashed. Empty lines are
// ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "receiver-sim/SRecord.h"

namespace sim {

struct LoaderBehaviour {
    bool neverAcknowledge = false;  // takes records, sends no answer at all
    int refuseRecord = 0;           // 1-based record number refused regardless (0: none)
    bool longRefusal = false;       // "SE:3 -- bad S-Record" instead of "SE"
};

class SRecordLoader {
public:
    static constexpr size_t MaxLine = 600;
    static constexpr const char* Accept = "SA\r\n";
    static constexpr const char* ShortRefusal = "SE\r\n";
    static constexpr const char* LongRefusal = "SE:3 -- bad S-Record\r\n";

    struct Event {
        enum class Kind { Accepted, Refused, End };
        Kind kind;
        size_t record;      // 1-based number of the record line
        std::string reply;  // what the loader sends back ("" for none)
        std::string detail; // for a refusal, what was wrong
    };

    explicit SRecordLoader(LoaderBehaviour behaviour) : behaviour_(behaviour) {}

    // A fresh start of the loader: no pending image, counters kept.
    void start();
    std::optional<Event> push(uint8_t byte);

    const std::vector<uint8_t>& pendingImage() const { return pending_; }
    std::vector<uint8_t> takeImage() { return std::move(pending_); }
    size_t recordsAccepted() const { return accepted_; }
    size_t recordsAcknowledged() const { return acknowledged_; }
    size_t recordsRefused() const { return refused_; }

private:
    Event examine(const std::string& line);
    Event refuse(std::string detail);
    Event acceptAnswered();

    LoaderBehaviour behaviour_;
    std::string line_;
    bool overlong_ = false;
    size_t recordNumber_ = 0;      // since start: numbers the records of one transfer
    uint64_t nextAddress_ = 0;     // lowest address the next data record may use
    bool refusedSinceStart_ = false;
    std::vector<uint8_t> pending_;
    size_t accepted_ = 0, acknowledged_ = 0, refused_ = 0;
};

}  // namespace sim
