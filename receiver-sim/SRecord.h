// One Motorola S-record line, as the loader checks it: "S", a type digit (0 1 2 3 5 7 8 9),
// the count field, address, data and checksum, all as hex digit pairs; the count is the number
// of bytes after it; the checksum is the ones' complement of the low byte of the sum of count,
// address and data bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct SRecord {
    char type = 0;          // '0'..'9'
    uint32_t address = 0;
    std::vector<uint8_t> data;

    bool isData() const { return type == '1' || type == '2' || type == '3'; }
    bool isEnd() const { return type == '7' || type == '8' || type == '9'; }

    // Parses a line given without its line end. Returns "" when the record is valid, else what is
    // wrong with it.
    static std::string parse(std::string_view line, SRecord& out);
    // Bytes of the address field for a record type; 0 for an unknown type.
    static size_t addressBytes(char type);
};

}  // namespace sim
