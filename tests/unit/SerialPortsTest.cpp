// GpsPort and the CSerialLink connection: settings, time-outs, queues, order of calls, and the
// exclusive use of the one port.
#include <gtest/gtest.h>

#include "platform/DeviceNames.h"
#include "tests/support/LinkFixture.h"
#include "updatetool/link/GpsPort.h"
#include "updatetool/link/SerialLink.h"

using testing_support::LinkFixture;
using testing_support::SerialCall;

namespace {

std::vector<std::string> What(const std::vector<SerialCall>& calls, size_t from = 0) {
    std::vector<std::string> out;
    for (size_t i = from; i < calls.size(); ++i) out.push_back(calls[i].what);
    return out;
}

}  // namespace

TEST_F(LinkFixture, OpenGpsPortAppliesTheWholeRecordTimeoutsAndQueues) {
    GpsPort.lineSettings.flags = 0xABCD0000u | 0x7FFFu;  // bits 15..31 are kept, 0..14 replaced
    GpsPort.lineSettings.xonChar = 0x11;
    OpenGpsPort(true);
    ASSERT_TRUE(GpsPort.handle);
    const platform::LineSettings s = ports->lastSettings();
    EXPECT_EQ(s.baudRate, 4800u);
    EXPECT_EQ(s.flags, 0xABCD0000u | 0x0001u);
    EXPECT_EQ(s.byteSize, 8);
    EXPECT_EQ(s.parity, platform::Parity::None);
    EXPECT_EQ(s.stopBits, platform::StopBits::One);
    EXPECT_EQ(s.xonChar, 0);
    EXPECT_EQ(s.xonLimit, 0);
    EXPECT_EQ(ports->lastTimeouts(), (platform::Timeouts{0, 0, 1000, 0, 1000}));
    const auto calls = ports->calls();
    EXPECT_EQ(What(calls), (std::vector<std::string>{"open", "settings", "timeouts", "queues"}));
    EXPECT_EQ(calls.back().value, 4096u);
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(LinkFixture, OpenGpsPortReportsEachRefusalAndStaysOpen) {
    ports->faults().refuseSettings = true;
    ports->faults().refuseTimeouts = true;
    ports->faults().refuseQueues = true;
    OpenGpsPort(true);
    EXPECT_TRUE(GpsPort.handle);
    EXPECT_EQ(boxTexts(), (std::vector<std::wstring>{L"Error.. Cannot set UART control block",
                                                     L"Error.. Cannot set UART timeouts",
                                                     L"Error.. Cannot set UART buffers"}));
    for (const auto& b : boxes.boxes()) {
        EXPECT_EQ(b.title, L"set uart");
        EXPECT_FALSE(b.owned);
    }
}

TEST_F(LinkFixture, OpenGpsPortTwiceClosesTheFirstHandlePlainly) {
    OpenGpsPort(true);
    const size_t before = ports->calls().size();
    OpenGpsPort(true);
    const auto calls = ports->calls();
    EXPECT_EQ(What(calls, before), (std::vector<std::string>{"close", "open", "settings", "timeouts", "queues"}));
    EXPECT_EQ(calls[before].connection, 1);
    EXPECT_EQ(calls[before + 1].connection, 2);
}

TEST_F(LinkFixture, ClosingLowersLinesDiscardsAndClosesOnceOnly) {
    for (bool link : {false, true}) {
        SCOPED_TRACE(link ? "CSerialLink::Close" : "OpenGpsPort(false)");
        if (link) ASSERT_TRUE(serialLink.Open(L"COM2:", 38400)); else OpenGpsPort(true);
        const size_t before = ports->calls().size();
        for (int i = 0; i < 2; ++i) {
            if (link) serialLink.Close(); else OpenGpsPort(false);
        }
        EXPECT_EQ(What(ports->calls(), before),
                  (std::vector<std::string>{"events", "dtr", "rts", "discard", "close"}));
        EXPECT_FALSE(ports->isOpen());
    }
}

TEST_F(LinkFixture, CSerialLinkOpenConfiguresInOrder) {
    ports->faults() = {};
    ASSERT_TRUE(serialLink.Open(L"COM2:", 57600));
    const auto calls = ports->calls();
    EXPECT_EQ(What(calls), (std::vector<std::string>{"open", "events", "queues", "discard", "settings",
                                                     "timeouts", "dtr", "rts"}));
    EXPECT_EQ(calls[1].value, platform::SerialEvent::ReceiveChar);
    EXPECT_EQ(calls[2].value, 512u);
    EXPECT_EQ(calls[6].value, 1u);
    EXPECT_EQ(calls[7].value, 1u);
    EXPECT_EQ(ports->lastSettings().baudRate, 57600u);
    EXPECT_EQ(ports->lastSettings().flags & 0x7FFF, 0x1017u);
    EXPECT_EQ(ports->lastTimeouts(), (platform::Timeouts{0xFFFFFFFFu, 0, 0, 10, 1000}));
    EXPECT_TRUE(boxTexts().empty());  // DTR/RTS fail on a line without them, silently
}

TEST_F(LinkFixture, CSerialLinkSetUpFailuresReturnFalseWithTheConnectionOpen) {
    struct Case {
        bool settings, timeouts;
        std::wstring text;
    } cases[] = {
        {true, false, L"Unable to configure the serial port"},
        {false, true, L"Unable to set the time-out parameters"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(platform::toUtf8(c.text));
        boxes.clear();
        ports->faults().refuseSettings = c.settings;
        ports->faults().refuseTimeouts = c.timeouts;
        EXPECT_FALSE(serialLink.Open(L"COM2:", 38400));
        EXPECT_EQ(boxTexts(), std::vector<std::wstring>{c.text});
        EXPECT_EQ(boxes.boxes()[0].title, L"Error");
        EXPECT_TRUE(serialLink.IsOpen());
        serialLink.Close();
        EXPECT_FALSE(ports->isOpen());
    }
}

TEST_F(LinkFixture, TheTwoConnectionsExcludeEachOther) {
    OpenGpsPort(true);
    EXPECT_FALSE(serialLink.Open(L"COM2:", 115200));
    EXPECT_FALSE(serialLink.IsOpen());
    OpenGpsPort(false);
    ASSERT_TRUE(serialLink.Open(L"COM2:", 115200));
    OpenGpsPort(true);
    EXPECT_FALSE(GpsPort.handle);
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], (testing_support::RecordedBox{L"Unable to open COM2:, Error No.=16", L"Error", 0, false}));
    EXPECT_EQ(shown[1], (testing_support::RecordedBox{L"COM2 can't be opened.", L"Message", 0, false}));
}

TEST_F(LinkFixture, WriteTextWritesExactlyTheStringBytes) {
    ASSERT_TRUE(serialLink.Open(L"COM2:", 38400));
    serialLink.WriteText("AB\x01z");
    EXPECT_EQ(writtenStrings(), std::vector<std::string>{"AB\x01z"});
    ports->faults().writeFails = true;
    serialLink.WriteText("x");  // not reported
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(LinkFixture, ChangeGpsPortBaudKeepsTheRecordUntilTheNextOpen) {
    EXPECT_FALSE(ChangeGpsPortBaud(38400));  // nothing open
    OpenGpsPort(true);
    EXPECT_TRUE(ChangeGpsPortBaud(115200));
    EXPECT_EQ(ports->lastSettings().baudRate, 115200u);
    EXPECT_EQ(ports->lastSettings().flags & 0x7FFF, 0x0001u);
    OpenGpsPort(false);
    OpenGpsPort(true);
    EXPECT_EQ(ports->lastSettings().baudRate, 4800u);
    ports->faults().refuseSettings = true;
    EXPECT_FALSE(ChangeGpsPortBaud(38400));
}

TEST_F(LinkFixture, AGpsPortReadFromASilentReceiverReturnsEmptyAfterOneSecond) {
    sim::Options silent;
    silent.faults.silent = true;
    useReceiver(silent);
    OpenGpsPort(true);
    uint8_t byte = 0;
    uint32_t count = 7;
    const uint64_t before = clock.nowMs();
    EXPECT_TRUE(GpsPort.handle->read(&byte, 1, count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(clock.nowMs() - before, 1000u);
}
