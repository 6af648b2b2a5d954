// The fault knobs, pacing, and the host's port being closed.
#include <gtest/gtest.h>

#include "SimTestSupport.h"
#include "receiver-sim/LoaderImage.h"
#include "receiver-sim/SRecordWriter.h"

using namespace simtest;

namespace {

sim::Options withFaults(sim::Faults faults) {
    sim::Options options;
    options.faults = faults;
    return options;
}

}  // namespace

TEST(Faults, SilentSendsNothingAtAll) {
    sim::Faults faults;
    faults.silent = true;
    sim::ReceiverModel model(withFaults(faults));
    VirtualHost host(model);
    EXPECT_EQ(host.runFor(20'000), "");
    const auto answers =
        runUpdateTransfer(host, sim::LoaderImage::make(10), sim::SRecordWriter::records(Bytes(40, 1)));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0], "");  // the first record waited 60 s in vain
    EXPECT_EQ(model.recordsAccepted(), 1u);
}

TEST(Faults, NoVersionLine) {
    sim::Faults faults;
    faults.noVersionLine = true;
    sim::ReceiverModel model(withFaults(faults));
    VirtualHost host(model);
    const auto lines = linesOf(host.runFor(19'990));
    EXPECT_EQ(lines.size(), 20u + 4u + 8u);  // GGA, GSA, GSV of seconds 0..19
    for (const auto& line : lines) EXPECT_FALSE(isVersionLine(line)) << line;
}

TEST(Faults, NoReturnToNmeaAtAnyRate) {
    for (uint32_t baud : {38400u, 57600u, 115200u}) {
        SCOPED_TRACE(baud);
        sim::Faults faults;
        faults.noReturnToNmea = true;
        sim::Options options = withFaults(faults);
        options.startState = static_cast<uint32_t>(sim::Mode::SirfBinary);
        options.startBinaryBaud = baud;
        sim::ReceiverModel model(options);
        VirtualHost host(model);
        EXPECT_FALSE(returnToNmea(host, baud));
        EXPECT_EQ(model.mode(), sim::Mode::SirfBinary);
    }
}

TEST(Faults, HangUpIsRequestedFromTheGivenTimeAfterPowerUp) {
    sim::Faults faults;
    faults.hangUpAfterMs = 1500;
    sim::ReceiverModel model(withFaults(faults));
    EXPECT_FALSE(model.hangUpRequested(0));  // not powered up yet
    model.advanceTo(10'000);                 // powers up at 10 s
    const struct {
        uint64_t at;
        bool requested;
    } cases[] = {{10'000, false}, {11'499, false}, {11'500, true}, {99'999, true}};
    for (const auto& c : cases) EXPECT_EQ(model.hangUpRequested(c.at), c.requested) << c.at;

    sim::ReceiverModel never(sim::Options{});
    never.advanceTo(0);
    EXPECT_FALSE(never.hangUpRequested(1'000'000'000));
}

TEST(Faults, GarbageBetweenLinesKeepsEverySentenceOnALineOfItsOwn) {
    sim::Faults faults;
    faults.garbageBetweenLines = true;
    sim::ReceiverModel model(withFaults(faults));
    VirtualHost host(model);
    const auto lines = linesOf(host.runFor(10'000));
    size_t sentences = 0, junk = 0, versions = 0;
    for (const auto& line : lines) {
        if (line[0] == '$') {
            EXPECT_TRUE(isValidNmeaLine(line)) << line;
            ++sentences;
            versions += isVersionLine(line);
        } else {
            ++junk;
            EXPECT_EQ(line.find('$'), std::string::npos);
            EXPECT_FALSE(isVersionLine(line));
            for (size_t i = 0; i + 2 < line.size(); ++i) {
                const uint8_t b = static_cast<uint8_t>(line[i]);
                EXPECT_TRUE(b >= 0x80 || b < 0x20) << int(b);
            }
        }
    }
    EXPECT_EQ(junk, sentences);
    EXPECT_EQ(versions, 3u);
}

TEST(Faults, GarbageStandsInFrontOfTheLoadersAnswers) {
    sim::Faults faults;
    faults.garbageBetweenLines = true;
    sim::Options options = withFaults(faults);
    options.startState = static_cast<uint32_t>(sim::Mode::LoaderRunning);
    sim::ReceiverModel model(options);
    VirtualHost host(model);
    host.baud = 115200;
    host.write(sim::SRecordWriter::records(Bytes(4, 1))[1]);
    const std::string answer = host.runFor(10);
    ASSERT_GT(answer.size(), 4u);
    EXPECT_EQ(answer.substr(answer.size() - 4), "SA\r\n");
    EXPECT_EQ(answer.find('\n'), answer.size() - 1);
}

TEST(Pacing, EachByteTakesTenBitsAtTheReceiversRate) {
    const struct {
        bool pacing;
        sim::Mode mode;
        uint32_t baud;
        uint64_t windowMs;
        size_t bytes;
    } cases[] = {
        {true, sim::Mode::Nmea, 4800, 100, 48},      // 480 bytes a second
        {true, sim::Mode::Nmea, 4800, 500, 240},
        {false, sim::Mode::Nmea, 4800, 0, 0},        // all of second 0 at once (size checked below)
        {true, sim::Mode::SirfBinary, 38400, 1020, 49},  // the first navigation frame, 49 bytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.pacing) + " " + std::to_string(c.baud) + " " + std::to_string(c.windowMs));
        sim::Options options;
        options.pacing = c.pacing;
        options.startState = static_cast<uint32_t>(c.mode);
        options.startBinaryBaud = c.baud;
        sim::ReceiverModel model(options);
        VirtualHost host(model);
        host.baud = c.baud;
        const std::string got = host.runFor(c.windowMs);
        if (c.pacing) {
            EXPECT_EQ(got.size(), c.bytes);
        } else {
            EXPECT_GT(got.size(), 250u);
            EXPECT_EQ(got.back(), '\n');
        }
    }
}

TEST(Pacing, ALoaderAnswerArrivesAfterItsFourByteTimesAt115200) {
    sim::Options options;
    options.pacing = true;
    options.startState = static_cast<uint32_t>(sim::Mode::LoaderRunning);
    sim::ReceiverModel model(options);
    VirtualHost host(model, 5000);
    host.baud = 115200;
    host.write(sim::SRecordWriter::records(Bytes(4, 1))[1]);
    EXPECT_EQ(host.runFor(0), "");
    EXPECT_EQ(host.runFor(1), "SA\r\n");  // 4 x 86.8 us
    EXPECT_EQ(model.nextActivityMs(), std::nullopt);
}
