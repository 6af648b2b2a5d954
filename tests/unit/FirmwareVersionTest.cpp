// The version-line rules of ReadFirmwareVersion and PollVersionSentence, on scripted lines from a
// receiver that otherwise stays silent, and on the simulated receiver's own output.
#include <gtest/gtest.h>

#include "platform/DeviceNames.h"
#include "tests/support/LinkFixture.h"
#include "updatetool/link/FirmwareVersion.h"
#include "updatetool/link/GpsPort.h"

using testing_support::LinkFixture;

namespace {

class VersionLines : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        sim::Options silent;
        silent.faults.silent = true;
        useReceiver(silent);
        OpenGpsPort(true);
    }
};

}  // namespace

TEST_F(VersionLines, LinesGiveTheTablesVersionText) {
    struct Case {
        const char* name;
        std::string lines;
        bool found;
        std::wstring read;  // ReadFirmwareVersion
        std::wstring poll;  // PollVersionSentence
    } cases[] = {
        {"V form", "$PSRFTXT,Version:2.4.13.03.10-B7A1*3F\r\n", true, L"2.4.13.03.10",
         L"PSRFTXT,Version:2.4.13.03.10-B7A1*3F\r"},
        {"M form, CR kept", "$MODULE 1.2-x\r\n", true, L"MODULE 1.2-x\r", L"MODULE 1.2-x\r"},
        {"hyphens before the colon do not end the text", "$PS-FTXT,V-er:7.1-9\r\n", true, L"7.1",
         L"PS-FTXT,V-er:7.1-9\r"},
        {"M wins over V", "$MSRFTXT,Version:1-2\r\n", true, L"MSRFTXT,Version:1-2\r", L"MSRFTXT,Version:1-2\r"},
        {"standard sentences are skipped, then a tail, then the version",
         "12,M,,0000*18\r\n$GPGGA,120000.000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,0000*47\r\n"
         "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n$GPRMC,120000.000,A,4807.038,N,01131.000,E,0.0,0.0,"
         "011226,,,A*6A\r\n$GPGSV,1,1,04,04,40,083,46,05,17,308,41,09,07,344,39,12,22,228,45*75\r\n"
         "$PSRFTXT,Version:3.0-1*00\r\n",
         true, L"3.0", L"PSRFTXT,Version:3.0-1*00\r"},
        {"the first of several version lines ends the call",
         "$PSRFTXT,Version:1.0-A*00\r\n$PSRFTXT,Version:2.0-B*00\r\n", true, L"1.0", L"PSRFTXT,Version:1.0-A*00\r"},
        {"binary garbage before the line", std::string("\xA0\xA2\x00\x02\xFF\x00\x13\x37", 8) +
         "\n$PSRFTXT,Version:9.9-Z*00\r\n", true, L"9.9", L"PSRFTXT,Version:9.9-Z*00\r"},
        {"V form without a hyphen runs to the line end", "$PSRFTXT,Version:4.4\r\n", true, L"4.4",
         L"PSRFTXT,Version:4.4\r"},
    };
    for (const auto& c : cases) {
        for (bool poll : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (poll ? " (poll)" : " (read)"));
            OpenGpsPort(false);
            OpenGpsPort(true);
            boxes.clear();
            currentVersion = L"previous";
            ports->injectFromReceiver(c.lines);
            EXPECT_EQ(poll ? PollVersionSentence() : ReadFirmwareVersion(), c.found);
            EXPECT_EQ(currentVersion, poll ? c.poll : c.read);
            EXPECT_TRUE(boxTexts().empty());
        }
    }
}

TEST_F(VersionLines, LinesThatAreNotVersionLinesLeadToTheTimeLimit) {
    struct Case {
        const char* name;
        std::string lines;
    } cases[] = {
        // position 9 keeps the V of the earlier line; a short line must not look at it
        {"short line after a line that left V at position 9", "xxxxxxxxxV\r\n$GP\r\n"},
        {"no dollar", "PSRFTXT,Version:1-2\r\n"},
        {"CR alone does not end a line", "$GPGGA\r$MX"},
        {"300 bytes without an LF are dropped", "$M" + std::string(298, 'x') + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OpenGpsPort(false);
        OpenGpsPort(true);
        boxes.clear();
        currentVersion = L"kept";
        ports->injectFromReceiver(c.lines);
        EXPECT_FALSE(ReadFirmwareVersion());
        EXPECT_EQ(currentVersion, L"kept");
        EXPECT_EQ(boxTexts(), std::vector<std::wstring>{L"Read Failed!"});
    }
}

TEST_F(VersionLines, A299ByteLineIsExamined) {
    ports->injectFromReceiver("$M" + std::string(297, 'y') + "\n");
    EXPECT_TRUE(ReadFirmwareVersion());
    EXPECT_EQ(currentVersion.size(), 298u);
}

TEST_F(VersionLines, AVFormLineWithoutColonIsSkippedByReadButTakenByPoll) {
    const std::string line = "$PSRFTXT,Very long day\r\n";
    ports->injectFromReceiver(line + "$PSRFTXT,Version:5.1-0*00\r\n");
    EXPECT_TRUE(ReadFirmwareVersion());
    EXPECT_EQ(currentVersion, L"5.1");
    ports->injectFromReceiver(line);
    EXPECT_TRUE(PollVersionSentence());
    EXPECT_EQ(currentVersion, L"PSRFTXT,Very long day\r");
}

TEST_F(VersionLines, SilenceEndsAfterTenToTwelveSecondsWithTheStopBoxOnReadOnly) {
    for (bool poll : {false, true}) {
        SCOPED_TRACE(poll ? "poll" : "read");
        boxes.clear();
        const uint64_t before = clock.nowMs();
        EXPECT_FALSE(poll ? PollVersionSentence() : ReadFirmwareVersion());
        const uint64_t lasted = clock.nowMs() - before;
        EXPECT_GT(lasted, 10000u);
        EXPECT_LE(lasted, 12000u);
        if (poll) {
            EXPECT_TRUE(boxes.boxes().empty());
        } else {
            ASSERT_EQ(boxes.boxes().size(), 1u);
            EXPECT_EQ(boxes.boxes()[0], (testing_support::RecordedBox{L"Read Failed!", L"Message", 0x10, false}));
        }
    }
}

TEST_F(VersionLines, APortThatIsNotOpenOrFailsEndsAtOnceWithoutABox) {
    OpenGpsPort(false);
    const uint64_t before = clock.nowMs();
    EXPECT_FALSE(ReadFirmwareVersion());
    EXPECT_FALSE(PollVersionSentence());
    OpenGpsPort(true);
    ports->injectFromReceiver("$PSRFTXT,Ver");
    ports->faults().hangUp = true;  // the device vanishes in the middle of a line
    EXPECT_FALSE(ReadFirmwareVersion());
    EXPECT_LT(clock.nowMs() - before, 100u);
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(VersionLines, AClockSetBackEndsTheReadAtTheNextTest) {
    // A wrapped elapsed value counts as "more than 10 seconds": the read gives up at once.
    const uint64_t before = clock.nowMs();
    clock.scheduleCalendarShift(before + 3000, -3600);
    EXPECT_FALSE(ReadFirmwareVersion());
    EXPECT_LT(clock.nowMs() - before, 4100u);
    EXPECT_EQ(boxTexts(), std::vector<std::wstring>{L"Read Failed!"});
}

TEST_F(LinkFixture, TheSimulatedReceiversVersionIsReadWithinTheLimit) {
    OpenGpsPort(true);
    EXPECT_TRUE(ReadFirmwareVersion());
    EXPECT_EQ(currentVersion.rfind(L"2.3.2.01.07", 0), 0u) << platform::toUtf8(currentVersion);
    EXPECT_TRUE(boxTexts().empty());
}
