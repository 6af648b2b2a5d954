#include "receiver-sim/LoaderUpload.h"

#include <cstdio>

namespace sim {

LoaderUpload::Result LoaderUpload::push(uint8_t byte) {
    switch (stage_) {
    case Stage::Header:
        if (headerCount_ == 0 && byte != 'S') return Result::Pending;
        if (headerCount_ == 1 && byte != 0x00) {
            headerCount_ = 0;
            if (byte == 'S') header_[headerCount_++] = byte;
            return Result::Pending;
        }
        header_[headerCount_++] = byte;
        if (headerCount_ < 6) return Result::Pending;
        headerCount_ = 0;
        length_ = static_cast<uint32_t>(header_[2]) << 24 | static_cast<uint32_t>(header_[3]) << 16 |
                  static_cast<uint32_t>(header_[4]) << 8 | header_[5];
        if (length_ > MaxImage) {
            char text[96];
            std::snprintf(text, sizeof text, "announced length %u exceeds %u bytes", static_cast<unsigned>(length_),
                          static_cast<unsigned>(MaxImage));
            return reject(text);
        }
        image_.clear();
        image_.reserve(length_);
        trailerCount_ = 0;
        stage_ = length_ == 0 ? Stage::Trailer : Stage::Image;
        return Result::HeaderTaken;
    case Stage::Image:
        image_.push_back(byte);
        if (image_.size() == length_) stage_ = Stage::Trailer;
        return Result::Pending;
    case Stage::Trailer:
        trailer_[trailerCount_++] = byte;
        if (trailerCount_ < 4) return Result::Pending;
        if (trailer_[0] || trailer_[1] || trailer_[2] || trailer_[3]) {
            char text[96];
            std::snprintf(text, sizeof text, "trailer %02X %02X %02X %02X is not 4 zero bytes", trailer_[0],
                          trailer_[1], trailer_[2], trailer_[3]);
            return reject(text);
        }
        stage_ = Stage::Header;
        return Result::Complete;
    }
    return Result::Pending;
}

void LoaderUpload::reset() {
    stage_ = Stage::Header;
    headerCount_ = 0;
    trailerCount_ = 0;
    length_ = 0;
    image_.clear();
    reason_.clear();
}

LoaderUpload::Result LoaderUpload::reject(std::string reason) {
    reason_ = std::move(reason);
    stage_ = Stage::Header;
    headerCount_ = 0;
    trailerCount_ = 0;
    image_.clear();
    return Result::Rejected;
}

}  // namespace sim
