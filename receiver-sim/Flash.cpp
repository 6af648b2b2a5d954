#include "receiver-sim/Flash.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "receiver-sim/Crc32.h"

namespace sim {

Flash::Flash(std::string file) : file_(std::move(file)) {
    if (!file_.empty()) {
        std::ifstream in(file_, std::ios::binary);
        if (in) {
            image_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            if (in.bad()) {
                loadProblem_ = "cannot read flash file " + file_;
                image_.clear();
            } else {
                holdsImage_ = true;
            }
        }
    }
    derive();
}

bool Flash::commit(std::vector<uint8_t> image) {
    image_ = std::move(image);
    holdsImage_ = true;
    derive();
    if (file_.empty()) return true;
    // Write beside the file and rename, so a reader never sees half an image.
    const std::string temp = file_ + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(image_.data()), static_cast<std::streamsize>(image_.size()));
        out.flush();
        if (!out) return false;
    }
    return std::rename(temp.c_str(), file_.c_str()) == 0;
}

void Flash::derive() {
    crc_ = Crc32::of(image_);
    marker_ = findVersionMarker(image_);
}

std::optional<std::string> Flash::findVersionMarker(const std::vector<uint8_t>& image) {
    static const char key[] = "VERSION=";
    const size_t keyLength = sizeof key - 1;
    auto it = std::search(image.begin(), image.end(), key, key + keyLength);
    if (it == image.end()) return std::nullopt;
    std::string text;
    for (auto p = it + static_cast<std::ptrdiff_t>(keyLength); p != image.end(); ++p) {
        const uint8_t c = *p;
        if (c == ';') {
            if (text.empty()) return std::nullopt;
            return text;
        }
        if (c <= 0x20 || c >= 0x7F || std::strchr("-*,$", c) != nullptr) return std::nullopt;
        text.push_back(static_cast<char>(c));
        if (text.size() > 40) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace sim
