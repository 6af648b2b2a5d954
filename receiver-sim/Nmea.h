// NMEA 0183 framing: "$", body, "*", two upper-case hex digits of the XOR of the body, CR LF.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim::nmea {

uint8_t checksum(std::string_view body);
// "$" body "*hh" CR LF.
std::string frame(std::string_view body);

// One sentence as received: its address ("PSRF100") and the data fields after it.
struct Sentence {
    std::string address;
    std::vector<std::string> fields;
};

// Parses one line (from "$" up to, not including, CR LF). Nothing when it is not a sentence with
// a correct checksum.
std::optional<Sentence> parse(std::string_view line);

// Whether a line (bytes before its LF) is a version line by the update tool's rules:
// "$" at 0 and "M" at 1, or "V" at 9.
bool isVersionLineByToolRules(std::string_view line);

}  // namespace sim::nmea
