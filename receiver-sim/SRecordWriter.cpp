#include "receiver-sim/SRecordWriter.h"

#include <algorithm>

#include "receiver-sim/SRecord.h"

namespace sim {

namespace {

void appendHex(std::string& out, uint8_t byte) {
    static const char digits[] = "0123456789ABCDEF";
    out.push_back(digits[byte >> 4]);
    out.push_back(digits[byte & 0x0F]);
}

}  // namespace

std::string SRecordWriter::record(char type, uint32_t address, const uint8_t* data, size_t count) {
    const size_t addressLength = SRecord::addressBytes(type) ? SRecord::addressBytes(type) : 2;
    std::vector<uint8_t> bytes;
    bytes.push_back(static_cast<uint8_t>(addressLength + count + 1));
    for (size_t i = addressLength; i-- > 0;) bytes.push_back(static_cast<uint8_t>(address >> (8 * i)));
    bytes.insert(bytes.end(), data, data + count);
    uint32_t sum = 0;
    for (uint8_t b : bytes) sum += b;
    bytes.push_back(static_cast<uint8_t>(~sum & 0xFFu));
    std::string line = "S";
    line.push_back(type);
    for (uint8_t b : bytes) appendHex(line, b);
    line += "\r\n";
    return line;
}

std::vector<std::string> SRecordWriter::records(const std::vector<uint8_t>& image, uint32_t baseAddress,
                                                uint32_t startAddress) {
    std::vector<std::string> lines;
    static const uint8_t header[] = {'H', 'D', 'R'};
    lines.push_back(record('0', 0, header, sizeof header));
    for (size_t offset = 0; offset < image.size(); offset += DataBytesPerRecord) {
        const size_t count = std::min(DataBytesPerRecord, image.size() - offset);
        lines.push_back(record('3', baseAddress + static_cast<uint32_t>(offset), image.data() + offset, count));
    }
    lines.push_back(record('7', startAddress, nullptr, 0));
    return lines;
}

std::string SRecordWriter::file(const std::vector<uint8_t>& image, uint32_t baseAddress, uint32_t startAddress) {
    std::string text;
    for (const std::string& line : records(image, baseAddress, startAddress)) text += line;
    return text;
}

}  // namespace sim
