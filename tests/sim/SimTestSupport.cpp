#include "SimTestSupport.h"

#include "receiver-sim/Nmea.h"
#include "receiver-sim/SirfBinary.h"

namespace simtest {

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }
std::string textOf(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

const Bytes BinaryModeSentence = bytesOf("$PSRF100,0,38400,8,1,0*3C\r\n");
const Bytes FlashUpdateFrame = {0xA0, 0xA2, 0x00, 0x01, 0x94, 0x00, 0x94, 0xB0, 0xB3};
const Bytes BootCommandFrame = {0xA0, 0xA2, 0x00, 0x02, 0x53, 0x02, 0x00, 0x55, 0xB0, 0xB3};
const Bytes SwitchToNmeaFrame = {0xA0, 0xA2, 0x00, 0x18, 0x81, 0x02, 0x01, 0x01, 0x00, 0x01, 0x05, 0x01,
                                 0x05, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01,
                                 0x00, 0x01, 0x12, 0xC0, 0x01, 0x6A, 0xB0, 0xB3};
const Bytes RmcRateSentence = bytesOf("$PSRF103,4,0,1,1*21\r\n");
const Bytes NavInitSentence = bytesOf("$PSRF101,-2686700,-4304200,3851624,75000,497260,921,12,8*29\r\n");

Bytes switchToNmeaFrameAt(uint32_t baud) {
    Bytes payload(SwitchToNmeaFrame.begin() + 4, SwitchToNmeaFrame.begin() + 28);
    payload[22] = static_cast<uint8_t>(baud >> 8);
    payload[23] = static_cast<uint8_t>(baud);
    return sim::SirfBinaryParser::frame(payload);
}

Bytes uploadOf(const Bytes& image) {
    const uint32_t n = static_cast<uint32_t>(image.size());
    Bytes upload;
    upload.reserve(image.size() + 10);
    for (uint8_t b : {uint8_t{'S'}, uint8_t{0x00}, static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                      static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)})
        upload.push_back(b);
    upload.insert(upload.end(), image.begin(), image.end());
    upload.insert(upload.end(), 4, 0x00);
    return upload;
}

void VirtualHost::write(const Bytes& bytes) { model_.hostWrite(bytes.data(), bytes.size(), baud, now_); }

std::string VirtualHost::runFor(uint64_t ms) {
    std::string got;
    const uint64_t end = now_ + ms;
    uint8_t buffer[4096];
    for (;;) {
        size_t n;
        while ((n = model_.hostRead(buffer, sizeof buffer, baud, now_)) > 0) got.append(buffer, buffer + n);
        if (now_ >= end) break;
        now_ = std::min(end, now_ + 10);
    }
    return got;
}

std::string VirtualHost::readLine(uint64_t limitMs) {
    const uint64_t end = now_ + limitMs;
    uint8_t byte;
    for (;;) {
        while (model_.hostRead(&byte, 1, baud, now_) == 1) {
            partial_.push_back(static_cast<char>(byte));
            if (byte == '\n') {
                std::string line;
                line.swap(partial_);
                return line;
            }
        }
        if (now_ >= end) return "";
        now_ = std::min(end, now_ + 10);
    }
}

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            lines.push_back(bytes.substr(start, i + 1 - start));
            start = i + 1;
        }
    }
    return lines;
}

bool isValidNmeaLine(const std::string& line) {
    if (line.size() < 6 || line.compare(line.size() - 2, 2, "\r\n") != 0) return false;
    return sim::nmea::parse(std::string_view(line).substr(0, line.size() - 2)).has_value();
}

bool isVersionLine(const std::string& line) {
    return sim::nmea::isVersionLineByToolRules(std::string_view(line).substr(0, line.size() - 1));
}

std::string versionTextOf(const std::string& line) {
    const size_t colon = line.find(':', 10);
    if (colon == std::string::npos) return "";
    const size_t dash = line.find('-', colon + 1);
    if (dash == std::string::npos) return "";
    return line.substr(colon + 1, dash - colon - 1);
}

std::string buildOf(const std::string& line) {
    const size_t colon = line.find(':', 10);
    const size_t dash = line.find('-', colon + 1);
    const size_t star = line.find('*', dash + 1);
    if (colon == std::string::npos || dash == std::string::npos || star == std::string::npos) return "";
    return line.substr(dash + 1, star - dash - 1);
}

std::vector<std::string> runUpdateTransfer(VirtualHost& host, const Bytes& loader,
                                           const std::vector<std::string>& records) {
    host.setPortOpen(true);
    host.baud = 4800;
    host.write(BinaryModeSentence);
    host.wait(2000);
    host.write(BinaryModeSentence);
    host.wait(4000);
    host.baud = 38400;
    host.wait(1000);
    host.write(FlashUpdateFrame);
    host.wait(5000);
    host.write(BootCommandFrame);
    host.wait(5000);
    host.baud = 115200;
    host.write(uploadOf(loader));
    host.wait(5000);
    std::vector<std::string> answers;
    for (const std::string& record : records) {
        host.write(record);
        if (record[1] == '7' || record[1] == '9') break;
        const std::string answer = host.readLine(60'000);
        answers.push_back(answer);
        if (answer.size() < 4 || answer[answer.size() - 4] != 'S' || answer[answer.size() - 3] == 'E') break;
    }
    return answers;
}

bool returnToNmea(VirtualHost& host, uint32_t baud, std::string* versionLine) {
    host.setPortOpen(false);
    host.wait(2000);
    host.baud = baud;
    host.setPortOpen(true);  // the CSerialLink connection
    host.wait(2000);
    host.write(SwitchToNmeaFrame);
    host.wait(2000);
    host.setPortOpen(false);
    host.baud = 4800;
    host.setPortOpen(true);  // GpsPort
    const std::string line = host.readLineUntil(10'000, [](const std::string& l) { return isVersionLine(l); });
    if (versionLine) *versionLine = line;
    return !line.empty();
}

}  // namespace simtest
