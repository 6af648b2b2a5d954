// Writes Motorola S-record text for tests and sample files, in the layout of the shipped
// firmware file: S0 "HDR" (16 characters), S3 records of 16 data bytes (46
// characters; the last one holds the rest), S7 (14 characters); every line ends in CR LF,
// upper-case hex, correct counts and checksums.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class SRecordWriter {
public:
    static constexpr size_t DataBytesPerRecord = 16;

    // The whole file for an image placed at baseAddress; the S7 record carries startAddress.
    static std::string file(const std::vector<uint8_t>& image, uint32_t baseAddress = 0, uint32_t startAddress = 0);
    // One record of any type (0-9) with its CR LF; the address takes the type's width.
    static std::string record(char type, uint32_t address, const uint8_t* data, size_t count);
    // The records of file() one by one, each with its CR LF.
    static std::vector<std::string> records(const std::vector<uint8_t>& image, uint32_t baseAddress = 0,
                                            uint32_t startAddress = 0);
};

}  // namespace sim
