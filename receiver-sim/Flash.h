// The receiver's flash: the committed firmware image (address 0 upwards), kept in a file when
// one is given, and what the firmware reports from it (version marker, CRC-32 build number).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class Flash {
public:
    static constexpr size_t Capacity = 16u * 1024u * 1024u;  // highest address + 1 the loader takes

    // Loads the image from file when the file exists; an empty name keeps the flash in memory.
    explicit Flash(std::string file);

    // Replaces the image (the loader's end record) and writes it to the file. False when the
    // file could not be written (the image in memory is replaced all the same).
    bool commit(std::vector<uint8_t> image);

    const std::vector<uint8_t>& image() const { return image_; }
    bool holdsImage() const { return holdsImage_; }
    uint32_t crc() const { return crc_; }
    // Text of the first "VERSION=<text>;" in the image when it is usable as a version (1 to 40
    // printable characters, none of "-*,$;" and no space); nothing otherwise.
    const std::optional<std::string>& versionMarker() const { return marker_; }
    const std::string& loadProblem() const { return loadProblem_; }

    static std::optional<std::string> findVersionMarker(const std::vector<uint8_t>& image);

private:
    void derive();

    std::string file_;
    std::vector<uint8_t> image_;
    bool holdsImage_ = false;
    uint32_t crc_ = 0;
    std::optional<std::string> marker_;
    std::string loadProblem_;
};

}  // namespace sim
