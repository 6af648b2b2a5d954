// The six fixed receiver messages, byte for byte, and the operations that put them on the wire.
#pragma once

#include <cstddef>
#include <cstdint>

struct ReceiverMessage {
    const uint8_t* bytes;
    size_t length;
};

extern const ReceiverMessage BinaryModeSentence;
extern const ReceiverMessage FlashUpdateFrame;
extern const ReceiverMessage BootCommandFrame;
extern const ReceiverMessage SwitchToNmeaFrame;
extern const ReceiverMessage RmcRateSentence;
extern const ReceiverMessage NavInitSentence;

// One write on GpsPort; "writefile fail!" when the write fails.
void SendNmeaSentence(const ReceiverMessage& sentence);
// One write on GpsPort with its two checks.
void SendBinaryFrame(const ReceiverMessage& frame);
