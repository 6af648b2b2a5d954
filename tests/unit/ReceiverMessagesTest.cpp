// The six receiver messages byte for byte, and the checks of the operations that send them.
#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "platform/DeviceNames.h"
#include "tests/support/LinkFixture.h"
#include "updatetool/link/GpsPort.h"
#include "updatetool/link/ReceiverMessages.h"
#include "updatetool/link/SerialLink.h"

using testing_support::LinkFixture;

namespace {

std::string AsString(const ReceiverMessage& m) { return std::string(reinterpret_cast<const char*>(m.bytes), m.length); }

std::string Hex(const ReceiverMessage& m) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < m.length; ++i) {
        if (i) out += ' ';
        out += digits[m.bytes[i] >> 4];
        out += digits[m.bytes[i] & 15];
    }
    return out;
}

// The checksum an NMEA sentence should carry: XOR of the bytes between "$" and "*".
std::string NmeaChecksum(const std::string& sentence) {
    const size_t star = sentence.find('*');
    uint8_t x = 0;
    for (size_t i = 1; i < star; ++i) x ^= static_cast<uint8_t>(sentence[i]);
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", x);
    return buf;
}

}  // namespace

TEST(ReceiverMessages, SentencesAreExactBytesWithCorrectChecksums) {
    struct Case {
        const ReceiverMessage* message;
        const char* text;
        size_t length;
        const char* checksum;
    } cases[] = {
        {&BinaryModeSentence, "$PSRF100,0,38400,8,1,0*3C\r\n", 27, "3C"},
        {&RmcRateSentence, "$PSRF103,4,0,1,1*21\r\n", 21, "21"},
        {&NavInitSentence, "$PSRF101,-2686700,-4304200,3851624,75000,497260,921,12,8*29\r\n", 61, "29"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(AsString(*c.message), c.text);
        EXPECT_EQ(c.message->length, c.length);
        EXPECT_EQ(NmeaChecksum(c.text), c.checksum);
    }
}

TEST(ReceiverMessages, FramesAreExactBytesWithCorrectChecksums) {
    struct Case {
        const ReceiverMessage* message;
        const char* hex;
        uint16_t checksum;
    } cases[] = {
        {&FlashUpdateFrame, "A0 A2 00 01 94 00 94 B0 B3", 0x0094},
        {&BootCommandFrame, "A0 A2 00 02 53 02 00 55 B0 B3", 0x0055},
        {&SwitchToNmeaFrame,
         "A0 A2 00 18 81 02 01 01 00 01 05 01 05 01 00 01 00 01 00 01 00 01 00 01 00 01 12 C0 01 6A B0 B3", 0x016A},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hex);
        const ReceiverMessage& m = *c.message;
        EXPECT_EQ(Hex(m), c.hex);
        const size_t payload = (m.bytes[2] << 8) | m.bytes[3];
        ASSERT_EQ(m.length, payload + 8);
        const unsigned sum = std::accumulate(m.bytes + 4, m.bytes + 4 + payload, 0u) & 0x7FFF;
        EXPECT_EQ(sum, c.checksum);
        EXPECT_EQ((m.bytes[4 + payload] << 8) | m.bytes[5 + payload], c.checksum);
    }
}

TEST_F(LinkFixture, SendNmeaSentenceWritesTheSentenceAloneInOneWrite) {
    OpenGpsPort(true);
    SendNmeaSentence(BinaryModeSentence);
    SendNmeaSentence(RmcRateSentence);
    EXPECT_EQ(writtenStrings(), (std::vector<std::string>{AsString(BinaryModeSentence), AsString(RmcRateSentence)}));
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(LinkFixture, SendWithGpsPortClosedReportsAndReturns) {
    SendNmeaSentence(BinaryModeSentence);
    SendBinaryFrame(FlashUpdateFrame);
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], (testing_support::RecordedBox{L"writefile fail!", L"Error", 0, false}));
    EXPECT_EQ(shown[1], (testing_support::RecordedBox{L"Error.. Cannot transmit to UART", L"Write Message", 0, false}));
    EXPECT_EQ(shown[2], (testing_support::RecordedBox{L"Error.. Incorrect transmission to UART", L"Write Message", 0, false}));
    EXPECT_TRUE(ports->writes().empty());
}

TEST_F(LinkFixture, SendBinaryFrameChecksCallAndCountIndependently) {
    struct Case {
        const char* name;
        bool writeFails;
        std::optional<uint32_t> shortWrite;
        std::vector<std::wstring> expected;
    } cases[] = {
        {"whole frame", false, std::nullopt, {}},
        {"7 of 10 bytes", false, 7u, {L"Error.. Incorrect transmission to UART"}},
        {"failed write", true, std::nullopt,
         {L"Error.. Cannot transmit to UART", L"Error.. Incorrect transmission to UART"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        ports->faults().writeFails = false;
        ports->faults().shortWrite.reset();
        OpenGpsPort(true);
        ports->faults().writeFails = c.writeFails;
        ports->faults().shortWrite = c.shortWrite;
        SendBinaryFrame(BootCommandFrame);
        EXPECT_EQ(boxTexts(), c.expected);
        for (const auto& b : boxes.boxes()) EXPECT_EQ(b.title, L"Write Message");
    }
}

TEST_F(LinkFixture, SwitchToNmeaNeedsTheLinkAndChecksItsWrite) {
    serialLink.SwitchToNmea();
    EXPECT_EQ(boxTexts(), std::vector<std::wstring>{L"Error.. COM had not be opened"});
    EXPECT_EQ(boxes.boxes()[0].title, L"Message");
    EXPECT_TRUE(ports->writes().empty());

    boxes.clear();
    ASSERT_TRUE(serialLink.Open(L"COM2:", 57600));
    serialLink.SwitchToNmea();
    EXPECT_TRUE(boxTexts().empty());
    ASSERT_EQ(writtenStrings().size(), 1u);
    EXPECT_EQ(writtenStrings()[0], AsString(SwitchToNmeaFrame));
    EXPECT_EQ(ports->writes()[0].baud, 57600u);

    ports->faults().writeFails = true;
    serialLink.SwitchToNmea();
    EXPECT_EQ(boxTexts(), (std::vector<std::wstring>{L"Error.. Cannot transmit to UART",
                                                     L"Error.. Incorrect transmission to UART"}));
    for (const auto& b : boxes.boxes()) EXPECT_EQ(b.title, L"Message");
}

TEST_F(LinkFixture, ResetGpsModuleSendsNavInitAt4800AndCloses) {
    const uint64_t before = clock.nowMs();
    EXPECT_TRUE(serialLink.ResetGpsModule());
    EXPECT_GE(clock.nowMs() - before, 5100u);
    EXPECT_FALSE(ports->isOpen());
    EXPECT_FALSE(serialLink.IsOpen());
    ASSERT_EQ(writtenStrings(), std::vector<std::string>{AsString(NavInitSentence)});
    EXPECT_EQ(ports->writes()[0].baud, 4800u);
    EXPECT_EQ(ports->lastSettings().flags & 0xFFFFFFFFu, 0x0093u);
    const platform::Timeouts t = ports->lastTimeouts();
    EXPECT_EQ(t, (platform::Timeouts{250, 100, 10, 0, 0}));
    // A plain open and close: no queue sizes, events, discarding or modem lines.
    for (const auto& call : ports->calls())
        EXPECT_TRUE(call.what == "open" || call.what == "settings" || call.what == "timeouts" ||
                    call.what == "write" || call.what == "close")
            << call.what;
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(LinkFixture, ResetGpsModuleWithThePortHeldFailsAtOnceAndKeepsTheHolder) {
    ASSERT_TRUE(serialLink.Open(L"COM2:", 38400));
    const uint64_t before = clock.nowMs();
    EXPECT_FALSE(serialLink.ResetGpsModule());
    EXPECT_EQ(clock.nowMs(), before);
    EXPECT_EQ(boxTexts(), std::vector<std::wstring>{L"Unable to open COM2:, Error No.=16"});
    EXPECT_EQ(boxes.boxes()[0].title, L"Error");
    EXPECT_TRUE(serialLink.IsOpen());  // the link's own connection is not lost
}

TEST_F(LinkFixture, ResetGpsModuleWithTimeoutsRefusedKeepsTheConnectionForTheNextClose) {
    ports->faults().refuseTimeouts = true;
    EXPECT_FALSE(serialLink.ResetGpsModule());
    EXPECT_EQ(boxTexts(), std::vector<std::wstring>{L"Unable to set the time-out parameters"});
    EXPECT_TRUE(serialLink.IsOpen());
    serialLink.Close();
    EXPECT_FALSE(ports->isOpen());
}
