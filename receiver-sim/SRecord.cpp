#include "receiver-sim/SRecord.h"

namespace sim {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

size_t SRecord::addressBytes(char type) {
    switch (type) {
    case '0': case '1': case '5': case '9': return 2;
    case '2': case '8': return 3;
    case '3': case '7': return 4;
    default: return 0;
    }
}

std::string SRecord::parse(std::string_view line, SRecord& out) {
    if (line.size() < 4) return "record shorter than 4 characters";
    if (line[0] != 'S') return "record does not begin with S";
    const size_t addressLength = addressBytes(line[1]);
    if (addressLength == 0) return std::string("record type S") + line[1] + " not taken";
    if (line.size() % 2 != 0) return "odd number of characters";
    std::vector<uint8_t> bytes;  // count, address, data, checksum
    for (size_t i = 2; i < line.size(); i += 2) {
        const int high = hexValue(line[i]);
        const int low = hexValue(line[i + 1]);
        if (high < 0 || low < 0) return "character that is not a hex digit";
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    const size_t count = bytes[0];
    if (count != bytes.size() - 1) return "count field does not match the record's length";
    if (count < addressLength + 1) return "record too short for its address";
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) sum += bytes[i];
    if (static_cast<uint8_t>(~sum & 0xFFu) != bytes.back()) return "checksum wrong";
    out.type = line[1];
    out.address = 0;
    for (size_t i = 0; i < addressLength; ++i) out.address = out.address << 8 | bytes[1 + i];
    out.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(1 + addressLength), bytes.end() - 1);
    return "";
}

}  // namespace sim
