// Line rates (a mismatch garbles both ways), the switch to SiRF binary and back, boot mode,
// restart, and the start options.
#include <gtest/gtest.h>

#include "SimTestSupport.h"
#include "receiver-sim/Nmea.h"
#include "receiver-sim/SirfBinary.h"

using namespace simtest;

namespace {

std::vector<std::vector<uint8_t>> framesIn(const std::string& bytes) {
    sim::SirfBinaryParser parser;
    std::vector<std::vector<uint8_t>> frames;
    for (char c : bytes) {
        if (auto payload = parser.push(static_cast<uint8_t>(c))) frames.push_back(*payload);
    }
    return frames;
}

sim::Options startingIn(sim::Mode mode, uint32_t baud = 38400) {
    sim::Options options;
    options.startState = static_cast<uint32_t>(mode);
    options.startBinaryBaud = baud;
    return options;
}

}  // namespace

TEST(Messages, StoredChecksumsMatchTheirFramingRules) {
    for (const Bytes* sentence : {&BinaryModeSentence, &RmcRateSentence, &NavInitSentence}) {
        const std::string text = textOf(*sentence);
        EXPECT_EQ(sim::nmea::frame(text.substr(1, text.size() - 6)), text);
    }
    for (const Bytes* frame : {&FlashUpdateFrame, &BootCommandFrame, &SwitchToNmeaFrame}) {
        const Bytes payload(frame->begin() + 4, frame->end() - 4);
        EXPECT_EQ(sim::SirfBinaryParser::frame(payload), *frame);
    }
    EXPECT_EQ(switchToNmeaFrameAt(4800), SwitchToNmeaFrame);
}

TEST(LineRates, ReceiverOutputReadAtAnotherRateIsGarbledAndScaled) {
    sim::ReceiverModel reference(sim::Options{});
    VirtualHost referenceHost(reference);
    const size_t atRightRate = referenceHost.runFor(10'000).size();
    for (uint32_t hostBaud : {1200u, 2400u, 9600u, 38400u, 57600u, 115200u}) {
        SCOPED_TRACE(hostBaud);
        sim::ReceiverModel model(sim::Options{});
        VirtualHost host(model);
        host.baud = hostBaud;
        const std::string got = host.runFor(10'000);
        EXPECT_EQ(got.find('$'), std::string::npos);
        EXPECT_EQ(got.find('\n'), std::string::npos);
        for (char c : got) EXPECT_GE(static_cast<uint8_t>(c), 0xC0);
        const double expected = static_cast<double>(atRightRate) * hostBaud / 4800.0;
        EXPECT_NEAR(static_cast<double>(got.size()), expected, expected * 0.01 + 1);
    }
}

TEST(LineRates, CommandsSentAtAnotherRateAreNotUnderstood) {
    for (uint32_t hostBaud : {2400u, 9600u, 38400u, 115200u}) {
        SCOPED_TRACE(hostBaud);
        sim::ReceiverModel model(sim::Options{});
        VirtualHost host(model);
        host.baud = hostBaud;
        host.write(BinaryModeSentence);
        host.write(NavInitSentence);
        host.wait(1000);
        EXPECT_EQ(model.mode(), sim::Mode::Nmea);
        EXPECT_EQ(model.receiverBaud(), 4800u);
        EXPECT_FALSE(model.restarting());
    }
}

TEST(ModeSwitch, BinaryModeSentenceAt4800TakesItToSirfBinaryAt38400) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    host.wait(1500);
    host.write(BinaryModeSentence);
    EXPECT_EQ(model.mode(), sim::Mode::SirfBinary);
    EXPECT_EQ(model.receiverBaud(), 38400u);
    // The tool sends it a second time at 4800: garbled at 38400, changes nothing.
    host.wait(2000);
    host.write(BinaryModeSentence);
    EXPECT_EQ(model.mode(), sim::Mode::SirfBinary);
    host.baud = 38400;
    const std::string got = host.runFor(3000);
    EXPECT_EQ(got.find('$'), std::string::npos);
    const auto frames = framesIn(got);
    ASSERT_GE(frames.size(), 2u);
    for (const auto& payload : frames) EXPECT_EQ(payload[0], 0x02);  // navigation data
    EXPECT_EQ(got.find('\n'), std::string::npos);
}

TEST(ModeSwitch, BadOrForeignSentencesAreIgnored) {
    const std::vector<std::string> cases = {
        "$PSRF100,0,38400,8,1,0*3D\r\n",          // wrong checksum
        "$PSRF100,0,38400,8,1,0\r\n",             // no checksum
        sim::nmea::frame("PSRF100,2,38400,8,1,0"),  // unknown protocol
        sim::nmea::frame("PSRF100,0,12345,8,1,0"),  // unknown rate
        sim::nmea::frame("PSRF100,0,38400,7,1,0"),  // 7 data bits
        "PSRF100,0,38400,8,1,0*3C\r\n",           // no "$"
        sim::nmea::frame("GPGGA,1,2,3"),
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        sim::ReceiverModel model(sim::Options{});
        VirtualHost host(model);
        host.write(text);
        EXPECT_EQ(model.mode(), sim::Mode::Nmea);
        EXPECT_EQ(model.receiverBaud(), 4800u);
    }
}

TEST(ModeSwitch, Psrf100TakesTheRateItGives) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    host.write(sim::nmea::frame("PSRF100,0,57600,8,1,0"));
    EXPECT_EQ(model.mode(), sim::Mode::SirfBinary);
    EXPECT_EQ(model.receiverBaud(), 57600u);
}

TEST(ModeSwitch, WhatFollowsASwitchInTheSameWriteArrivesAtTheOldRate) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    Bytes both = BinaryModeSentence;
    both.insert(both.end(), FlashUpdateFrame.begin(), FlashUpdateFrame.end());
    host.write(both);
    EXPECT_EQ(model.mode(), sim::Mode::SirfBinary);  // the frame went out at 4800: not understood
}

TEST(ModeSwitch, BinaryFramesInSirfBinary) {
    struct Case {
        const char* name;
        Bytes bytes;
        sim::Mode mode;
        uint32_t baud;
    };
    Bytes corrupt = FlashUpdateFrame;
    corrupt[6] ^= 1;
    Bytes badEnd = FlashUpdateFrame;
    badEnd[8] = 0xB2;
    Bytes afterJunk = {0xA0, 0x00, 0xA0, 0xA2, 0x7F, 0xFF, 0x12, 0xB0};
    afterJunk.insert(afterJunk.end(), FlashUpdateFrame.begin(), FlashUpdateFrame.end());
    Bytes bootTooEarly = BootCommandFrame;
    const std::vector<Case> cases = {
        {"flash update", FlashUpdateFrame, sim::Mode::BootMode, 38400},
        {"switch to NMEA", SwitchToNmeaFrame, sim::Mode::Nmea, 4800},
        {"switch to NMEA at 9600", switchToNmeaFrameAt(9600), sim::Mode::Nmea, 9600},
        {"bad checksum", corrupt, sim::Mode::SirfBinary, 38400},
        {"bad end bytes", badEnd, sim::Mode::SirfBinary, 38400},
        {"resync after junk", afterJunk, sim::Mode::BootMode, 38400},
        {"boot command outside boot mode", bootTooEarly, sim::Mode::SirfBinary, 38400},
        {"NMEA text", BinaryModeSentence, sim::Mode::SirfBinary, 38400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::ReceiverModel model(startingIn(sim::Mode::SirfBinary));
        VirtualHost host(model);
        host.baud = 38400;
        host.write(c.bytes);
        EXPECT_EQ(model.mode(), c.mode);
        EXPECT_EQ(model.receiverBaud(), c.baud);
    }
}

TEST(ModeSwitch, SwitchToNmeaIsUnderstoodOnlyAtTheReceiversRate) {
    for (uint32_t receiverBaud : {38400u, 57600u, 115200u}) {
        for (uint32_t hostBaud : {38400u, 57600u, 115200u}) {
            SCOPED_TRACE(std::to_string(receiverBaud) + " / " + std::to_string(hostBaud));
            sim::ReceiverModel model(startingIn(sim::Mode::SirfBinary, receiverBaud));
            VirtualHost host(model);
            host.baud = hostBaud;
            host.write(SwitchToNmeaFrame);
            EXPECT_EQ(model.mode() == sim::Mode::Nmea, receiverBaud == hostBaud);
        }
    }
}

TEST(ModeSwitch, SwitchToNmeaGivesTheFramesPeriodsAndAVersionLine) {
    sim::ReceiverModel model(startingIn(sim::Mode::SirfBinary, 57600));
    VirtualHost host(model);
    host.baud = 57600;
    host.wait(3000);
    Bytes payload(SwitchToNmeaFrame.begin() + 4, SwitchToNmeaFrame.begin() + 28);
    payload[2] = 2;   // GGA every 2 s
    payload[6] = 0;   // GSA off
    payload[10] = 1;  // RMC every second
    host.write(sim::SirfBinaryParser::frame(payload));
    ASSERT_EQ(model.mode(), sim::Mode::Nmea);
    host.baud = 4800;
    const auto lines = linesOf(host.runFor(9'990));
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(isVersionLine(lines.front()));
    int gga = 0, gsa = 0, rmc = 0, gsv = 0;
    for (const auto& line : lines) {
        gga += line.rfind("$GPGGA", 0) == 0;
        gsa += line.rfind("$GPGSA", 0) == 0;
        rmc += line.rfind("$GPRMC", 0) == 0;
        gsv += line.rfind("$GPGSV", 0) == 0;
    }
    EXPECT_EQ(gga, 5);
    EXPECT_EQ(gsa, 0);
    EXPECT_EQ(rmc, 10);
    EXPECT_EQ(gsv, 4);
}

TEST(ModeSwitch, FlashUpdateThenBootCommandExpectsTheUploadAt115200) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    host.runFor(0);  // the power-up output
    host.write(BinaryModeSentence);
    host.baud = 38400;
    host.write(FlashUpdateFrame);
    EXPECT_EQ(model.mode(), sim::Mode::BootMode);
    EXPECT_EQ(model.receiverBaud(), 38400u);
    host.write(SwitchToNmeaFrame);  // not a boot mode command
    EXPECT_EQ(model.mode(), sim::Mode::BootMode);
    host.write(BootCommandFrame);
    EXPECT_EQ(model.mode(), sim::Mode::LoaderUpload);
    EXPECT_EQ(model.receiverBaud(), 115200u);
    EXPECT_EQ(host.runFor(5000), "");  // boot mode says nothing
}

TEST(ModeSwitch, NavInitRestartsAfterAShortSilenceWithTheVersionLineFirst) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    host.write(RmcRateSentence);
    host.wait(2'300);
    host.write(NavInitSentence);
    EXPECT_TRUE(model.restarting());
    EXPECT_EQ(host.runFor(sim::ReceiverModel::RestartSilenceMs - 10), "");
    const auto lines = linesOf(host.runFor(3000));
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(isVersionLine(lines.front()));
    EXPECT_FALSE(model.restarting());
    EXPECT_EQ(model.nmeaPeriods().rmc, 0);  // stored settings cleared
    for (const auto& line : lines) EXPECT_EQ(line.rfind("$GPRMC", 0), std::string::npos);
}

TEST(StartOptions, StartsInTheModeAndRateAskedFor) {
    struct Case {
        sim::Mode mode;
        uint32_t startBinaryBaud;
        uint32_t baud;
    };
    for (const Case& c : {Case{sim::Mode::Nmea, 38400, 4800}, Case{sim::Mode::SirfBinary, 115200, 115200},
                          Case{sim::Mode::SirfBinary, 57600, 57600}, Case{sim::Mode::BootMode, 38400, 38400},
                          Case{sim::Mode::LoaderUpload, 38400, 115200}, Case{sim::Mode::LoaderRunning, 38400, 115200}}) {
        SCOPED_TRACE(sim::modeName(c.mode));
        sim::ReceiverModel model(startingIn(c.mode, c.startBinaryBaud));
        model.advanceTo(0);
        EXPECT_EQ(model.mode(), c.mode);
        EXPECT_EQ(model.receiverBaud(), c.baud);
    }
}
