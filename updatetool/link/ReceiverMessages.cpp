#include "updatetool/link/ReceiverMessages.h"

#include "platform/MessageBox.h"
#include "updatetool/link/GpsPort.h"

namespace {

// Sentences are stored zero-terminated so that WriteText can take them; the zero is never sent.
template <size_t N>
struct ByteText {
    uint8_t bytes[N];
};
template <size_t N>
constexpr ByteText<N> Bytes(const char (&text)[N]) {
    ByteText<N> out{};
    for (size_t i = 0; i < N; ++i) out.bytes[i] = static_cast<uint8_t>(text[i]);
    return out;
}

constexpr auto BinaryModeText = Bytes("$PSRF100,0,38400,8,1,0*3C\r\n");
constexpr auto RmcRateText = Bytes("$PSRF103,4,0,1,1*21\r\n");
constexpr auto NavInitText = Bytes("$PSRF101,-2686700,-4304200,3851624,75000,497260,921,12,8*29\r\n");

constexpr uint8_t FlashUpdateBytes[] = {0xA0, 0xA2, 0x00, 0x01, 0x94, 0x00, 0x94, 0xB0, 0xB3};
constexpr uint8_t BootCommandBytes[] = {0xA0, 0xA2, 0x00, 0x02, 0x53, 0x02, 0x00, 0x55, 0xB0, 0xB3};
constexpr uint8_t SwitchToNmeaBytes[] = {
    0xA0, 0xA2, 0x00, 0x18,                                // start, payload length 24
    0x81, 0x02,                                            // switch to NMEA, debug output as set
    0x01, 0x01, 0x00, 0x01, 0x05, 0x01, 0x05, 0x01,        // GGA 1 s, GLL off, GSA 5 s, GSV 5 s
    0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01,        // RMC, VTG, MSS, spare off
    0x00, 0x01, 0x00, 0x01,                                // ZDA off, spare field
    0x12, 0xC0,                                            // 4800 baud
    0x01, 0x6A, 0xB0, 0xB3,                                // checksum, end
};

template <size_t N>
constexpr ReceiverMessage Sentence(const ByteText<N>& text) {
    return {text.bytes, N - 1};
}
template <size_t N>
constexpr ReceiverMessage Frame(const uint8_t (&bytes)[N]) {
    return {bytes, N};
}

}  // namespace

constinit const ReceiverMessage BinaryModeSentence = Sentence(BinaryModeText);
constinit const ReceiverMessage FlashUpdateFrame = Frame(FlashUpdateBytes);
constinit const ReceiverMessage BootCommandFrame = Frame(BootCommandBytes);
constinit const ReceiverMessage SwitchToNmeaFrame = Frame(SwitchToNmeaBytes);
constinit const ReceiverMessage RmcRateSentence = Sentence(RmcRateText);
constinit const ReceiverMessage NavInitSentence = Sentence(NavInitText);

void SendNmeaSentence(const ReceiverMessage& sentence) {
    uint32_t written = 0;
    const bool ok = GpsPort.handle && GpsPort.handle->write(sentence.bytes, static_cast<uint32_t>(sentence.length), written);
    if (!ok) MessageBox(nullptr, L"writefile fail!", L"Error");
}

void SendBinaryFrame(const ReceiverMessage& frame) {
    uint32_t written = 0;
    const bool ok = GpsPort.handle && GpsPort.handle->write(frame.bytes, static_cast<uint32_t>(frame.length), written);
    if (!ok) MessageBox(nullptr, L"Error.. Cannot transmit to UART", L"Write Message");
    if (written != frame.length) MessageBox(nullptr, L"Error.. Incorrect transmission to UART", L"Write Message");
}
