// NMEA output at 4800: the version line, the periods of the sentences, checksums, and a version
// line within 10 s of any opening of the port.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "SimTestSupport.h"
#include "receiver-sim/Nmea.h"

using namespace simtest;

namespace {

std::string addressOf(const std::string& line) {
    const size_t comma = line.find(',');
    return line.substr(1, comma == std::string::npos ? 0 : comma - 1);
}

}  // namespace

TEST(NmeaOutput, FirstLineAfterPowerUpIsTheVersionLineInTheVForm) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    const auto lines = linesOf(host.runFor(500));
    ASSERT_FALSE(lines.empty());
    const std::string& line = lines.front();
    EXPECT_TRUE(std::regex_match(line, std::regex(R"(\$PSRFTXT,Version:2\.3\.2\.01\.07-[0-9A-F]{8}\*[0-9A-F]{2}\r\n)")))
        << line;
    EXPECT_TRUE(isValidNmeaLine(line));
    EXPECT_TRUE(isVersionLine(line));
    EXPECT_EQ(line[9], 'V');
    EXPECT_EQ(versionTextOf(line), "2.3.2.01.07");
    EXPECT_EQ(buildOf(line), "00000000");  // CRC-32 of the empty flash
    EXPECT_EQ(line, model.versionLine());
    EXPECT_EQ(model.reportedVersion(), "2.3.2.01.07");
}

TEST(NmeaOutput, SentencesComeAtTheirPeriods) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    std::map<std::string, int> count;
    for (const auto& line : linesOf(host.runFor(19'990))) ++count[addressOf(line)];
    // Seconds 0..19 since power-up.
    const std::map<std::string, int> expected = {
        {"PSRFTXT", 5}, {"GPGGA", 20}, {"GPGSA", 4}, {"GPGSV", 8}, {"GPRMC", 0}, {"GPGLL", 0}, {"GPVTG", 0},
    };
    for (const auto& [address, n] : expected) EXPECT_EQ(count[address], n) << address;
}

TEST(NmeaOutput, RmcRateSentenceAddsRmcEverySecond) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    host.runFor(2500);
    host.write(RmcRateSentence);
    std::map<std::string, int> count;
    for (const auto& line : linesOf(host.runFor(10'000))) ++count[addressOf(line)];
    EXPECT_EQ(count["GPRMC"], 10);
    EXPECT_EQ(count["GPGGA"], 10);
    EXPECT_EQ(model.nmeaPeriods().rmc, 1);
}

TEST(NmeaOutput, EveryLineHasARightChecksumAndOnlyTheVersionLineLooksLikeOne) {
    sim::Options options;
    sim::ReceiverModel model(options);
    VirtualHost host(model);
    host.write(sim::nmea::frame("PSRF103,1,0,1,1"));  // GLL
    host.write(sim::nmea::frame("PSRF103,5,0,1,1"));  // VTG
    host.write(sim::nmea::frame("PSRF103,8,0,1,1"));  // ZDA
    host.write(RmcRateSentence);
    const auto lines = linesOf(host.runFor(30'000));
    ASSERT_GT(lines.size(), 150u);
    std::map<std::string, int> count;
    for (const auto& line : lines) {
        EXPECT_TRUE(isValidNmeaLine(line)) << line;
        EXPECT_EQ(isVersionLine(line), addressOf(line) == "PSRFTXT") << line;
        ++count[addressOf(line)];
    }
    for (const char* address : {"GPGLL", "GPVTG", "GPZDA", "GPRMC"}) EXPECT_GE(count[address], 29) << address;
}

TEST(NmeaOutput, QueryModeSendsOneSentenceAtOnce) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    host.runFor(1500);
    host.write(sim::nmea::frame("PSRF103,4,1,0,1"));  // RMC once
    const auto lines = linesOf(host.runFor(0));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(addressOf(lines[0]), "GPRMC");
    EXPECT_EQ(model.nmeaPeriods().rmc, 0);
}

TEST(NmeaOutput, AVersionLineArrivesWithinTenSecondsOfAnyOpening) {
    for (uint64_t openAt : {100u, 3'900u, 4'001u, 4'500u, 7'999u, 17'300u, 123'456u}) {
        SCOPED_TRACE(openAt);
        sim::ReceiverModel model(sim::Options{});
        VirtualHost host(model);
        host.setPortOpen(false);
        host.wait(openAt);
        host.setPortOpen(true);
        const uint64_t opened = host.now();
        const std::string line = host.readLineUntil(10'000, [](const std::string& l) { return isVersionLine(l); });
        ASSERT_FALSE(line.empty());
        EXPECT_TRUE(isValidNmeaLine(line));
        EXPECT_LE(host.now() - opened, 4'100u);
    }
}

TEST(NmeaOutput, WhatIsSentWhileThePortIsClosedIsLost) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    host.setPortOpen(false);
    host.wait(2'500);
    host.setPortOpen(true);
    const auto lines = linesOf(host.runFor(600));
    ASSERT_EQ(lines.size(), 1u);  // only second 3's GGA
    EXPECT_EQ(lines[0].substr(0, 17), "$GPGGA,120003.000");
    EXPECT_GT(model.bytesLost(), 0u);
}
