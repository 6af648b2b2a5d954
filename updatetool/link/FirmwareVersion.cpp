#include "updatetool/link/FirmwareVersion.h"

#include <cstdint>

#include "platform/MessageBox.h"
#include "updatetool/link/GpsPort.h"
#include "updatetool/link/WaitSeconds.h"

std::wstring currentVersion;

namespace {

enum class VersionUse { Read, Poll };

// length: the bytes of the line before its LF.
bool IsVersionLine(const uint8_t* line, size_t length) {
    if (length < 1 || line[0] != '$') return false;
    if (length > 1 && line[1] == 'M') return true;
    return length > 9 && line[9] == 'V';
}

std::wstring Widen(const uint8_t* from, const uint8_t* to) {
    std::wstring text;
    text.reserve(static_cast<size_t>(to - from));
    for (const uint8_t* p = from; p < to; ++p) text += static_cast<wchar_t>(*p);
    return text;
}

// The version text of a version line; false for a V-form line without ":" (not a version report).
bool VersionText(const uint8_t* line, size_t length, VersionUse use, std::wstring& text) {
    if (use == VersionUse::Poll || line[1] == 'M') {
        text = Widen(line + 1, line + length);
        return true;
    }
    size_t colon = 10;
    while (colon < length && line[colon] != ':') ++colon;
    if (colon >= length) return false;
    size_t dash = colon + 1;
    while (dash < length && line[dash] != '-') ++dash;
    size_t end = dash;
    if (dash >= length && end > colon + 1 && line[end - 1] == '\r') --end;  // no "-": up to the line end
    text = Widen(line + colon + 1, line + end);
    return true;
}

bool ReadVersionLine(VersionUse use) {
    uint8_t line[VersionLineBufferBytes];
    size_t position = 0;
    const uint32_t start = SecondsClock();
    for (;;) {
        uint32_t count = 0;
        const bool ok = GpsPort.handle && GpsPort.handle->read(&line[position], 1, count);
        if (!ok || count > 1) return false;
        if (count == 1) {
            if (line[position] != '\n') {
                if (++position == VersionLineBufferBytes) position = 0;
            } else {
                std::wstring text;
                if (IsVersionLine(line, position) && VersionText(line, position, use, text)) {
                    currentVersion = std::move(text);
                    return true;
                }
                position = 0;
            }
        }
        if (SecondsElapsedSince(start) > VersionReadLimitSeconds) break;
    }
    if (use == VersionUse::Read)
        MessageBox(nullptr, L"Read Failed!", L"Message", platform::MessageBoxType::Ok | platform::MessageBoxType::IconStop);
    return false;
}

}  // namespace

bool ReadFirmwareVersion() { return ReadVersionLine(VersionUse::Read); }

bool PollVersionSentence() { return ReadVersionLine(VersionUse::Poll); }
