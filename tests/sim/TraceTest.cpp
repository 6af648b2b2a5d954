// The byte trace (host's view, rate on the host's side, merged entries) and its text form.
#include <gtest/gtest.h>

#include "SimTestSupport.h"
#include "receiver-sim/TraceFormatter.h"

using namespace simtest;

TEST(Trace, RecordsBothDirectionsByteExactWithTheHostsRateAndMergesRuns) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model, 1000);
    const std::string first = host.runFor(0);  // power-up output
    host.write(BinaryModeSentence);
    host.write(BinaryModeSentence);  // same direction and rate: merged
    host.baud = 38400;
    host.write(FlashUpdateFrame);
    host.write(BootCommandFrame);
    host.baud = 115200;
    host.write(Bytes{'S', 0});

    const auto& trace = model.trace();
    ASSERT_EQ(trace.size(), 4u);
    EXPECT_FALSE(trace[0].fromHost);
    EXPECT_EQ(trace[0].baud, 4800u);
    EXPECT_EQ(textOf(trace[0].bytes), first);
    EXPECT_EQ(trace[0].timeMs, 1000u);

    Bytes twice = BinaryModeSentence;
    twice.insert(twice.end(), BinaryModeSentence.begin(), BinaryModeSentence.end());
    EXPECT_TRUE(trace[1].fromHost);
    EXPECT_EQ(trace[1].baud, 4800u);
    EXPECT_EQ(trace[1].bytes, twice);

    Bytes frames = FlashUpdateFrame;
    frames.insert(frames.end(), BootCommandFrame.begin(), BootCommandFrame.end());
    EXPECT_EQ(trace[2].baud, 38400u);
    EXPECT_EQ(trace[2].bytes, frames);
    EXPECT_EQ(trace[3].baud, 115200u);
    EXPECT_EQ(trace[3].bytes, (Bytes{'S', 0}));
}

TEST(Trace, ReceivedBytesAreTracedAsTheHostGotThem) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    host.baud = 9600;
    const std::string got = host.runFor(3000);
    ASSERT_EQ(model.trace().size(), 1u);
    EXPECT_EQ(model.trace()[0].baud, 9600u);
    EXPECT_EQ(textOf(model.trace()[0].bytes), got);
}

TEST(TraceText, LinesHaveTheDocumentedFormat) {
    const uint8_t bytes[] = {'$', 'A', 0x00, 0xFF, '\r', '\n'};
    EXPECT_EQ(sim::TraceFormatter::bytesLine(1234, true, 4800, bytes, sizeof bytes),
              "     1.234 H>R   4800  24 41 00 FF 0D 0A                                $A....");
    EXPECT_EQ(sim::TraceFormatter::bytesLine(3'600'000, false, 115200, bytes, 2),
              "  3600.000 R>H 115200  24 41                                            $A");
    EXPECT_EQ(sim::TraceFormatter::noteLine(5, "host port closed"), "     0.005 --- host port closed");
}

TEST(TraceText, LinesBreakAtSixteenBytesAfterLfAtNotesAndAtGaps) {
    sim::Trace trace;
    const std::string a = "0123456789ABCDEFGHIJ\nxy";
    trace.record(true, 4800, reinterpret_cast<const uint8_t*>(a.data()), a.size(), 0);
    trace.note(10, "a note");
    trace.record(true, 4800, reinterpret_cast<const uint8_t*>("zz"), 2, 20);
    trace.record(true, 4800, reinterpret_cast<const uint8_t*>("late"), 4, 500);
    const auto lines = sim::TraceFormatter::formatAll(trace);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 16), "0123456789ABCDEF");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 5), "GHIJ.");
    EXPECT_EQ(lines[2].substr(lines[2].size() - 3), " xy");
    EXPECT_EQ(lines[3], "     0.010 --- a note");
    EXPECT_EQ(lines[4].substr(0, 10), "     0.020");
    EXPECT_EQ(lines[4].substr(lines[4].size() - 3), " zz");
    EXPECT_EQ(lines[5].substr(0, 10), "     0.500");
    EXPECT_EQ(lines[5].substr(lines[5].size() - 5), " late");
}

TEST(TraceText, TakingLinesAsTheyCompleteGivesTheSameTextAsFormattingAtTheEnd) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    sim::TraceFormatter formatter;
    std::vector<std::string> incremental;
    for (int i = 0; i < 30; ++i) {
        host.runFor(370);
        if (i == 10) host.write(BinaryModeSentence);
        if (i == 20) {
            host.baud = 38400;
            host.write(SwitchToNmeaFrame);
            host.baud = 4800;
        }
        for (auto& line : formatter.take(model.traceLog(), host.now(), false)) incremental.push_back(line);
    }
    for (auto& line : formatter.take(model.traceLog(), host.now(), true)) incremental.push_back(line);
    EXPECT_EQ(incremental, model.traceLines());
    bool sawRateNote = false;
    for (const auto& line : incremental) sawRateNote |= line.find("--- receiver NMEA 4800 -> SiRF binary 38400") != std::string::npos;
    EXPECT_TRUE(sawRateNote);
}
