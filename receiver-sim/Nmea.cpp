#include "receiver-sim/Nmea.h"

#include <cstdio>

namespace sim::nmea {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

uint8_t checksum(std::string_view body) {
    uint8_t x = 0;
    for (char c : body) x ^= static_cast<uint8_t>(c);
    return x;
}

std::string frame(std::string_view body) {
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", static_cast<unsigned>(checksum(body)));
    std::string text = "$";
    text += body;
    text += tail;
    return text;
}

std::optional<Sentence> parse(std::string_view line) {
    if (line.size() < 4 || line[0] != '$') return std::nullopt;
    const size_t star = line.rfind('*');
    if (star == std::string_view::npos || star + 3 != line.size()) return std::nullopt;
    const int high = hexValue(line[star + 1]);
    const int low = hexValue(line[star + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    const std::string_view body = line.substr(1, star - 1);
    if (checksum(body) != static_cast<uint8_t>(high * 16 + low)) return std::nullopt;
    Sentence sentence;
    size_t start = 0;
    bool first = true;
    for (;;) {
        const size_t comma = body.find(',', start);
        const std::string_view field = body.substr(start, comma == std::string_view::npos ? body.npos : comma - start);
        if (first) {
            sentence.address = std::string(field);
            first = false;
        } else {
            sentence.fields.emplace_back(field);
        }
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return sentence;
}

bool isVersionLineByToolRules(std::string_view line) {
    if (line.empty() || line[0] != '$') return false;
    if (line.size() > 1 && line[1] == 'M') return true;
    return line.size() > 9 && line[9] == 'V';
}

}  // namespace sim::nmea
