// Boot mode's intake of the flash loader: header 'S' 0x00 and the image length as 4
// bytes big-endian, exactly that many image bytes, then 4 zero bytes. Bytes before a header are
// skipped. A length above MaxImage or a trailer that is not all zero rejects the upload, and the
// intake waits for a new header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class LoaderUpload {
public:
    static constexpr uint32_t MaxImage = 1u << 20;

    enum class Result { Pending, HeaderTaken, Complete, Rejected };

    Result push(uint8_t byte);
    void reset();

    uint32_t announcedLength() const { return length_; }
    const std::vector<uint8_t>& image() const { return image_; }
    const std::string& rejectReason() const { return reason_; }

private:
    enum class Stage { Header, Image, Trailer };

    Result reject(std::string reason);

    Stage stage_ = Stage::Header;
    uint8_t header_[6] = {};
    size_t headerCount_ = 0;
    uint32_t length_ = 0;
    std::vector<uint8_t> image_;
    uint8_t trailer_[4] = {};
    size_t trailerCount_ = 0;
    std::string reason_;
};

}  // namespace sim
