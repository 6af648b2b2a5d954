// Boot mode's loader upload, the running loader's S-record checks and answers, the end record,
// and the firmware that then runs at the chosen rate and reports what was flashed.
#include <gtest/gtest.h>

#include "SimTestSupport.h"
#include "receiver-sim/Crc32.h"
#include "receiver-sim/FirmwareImage.h"
#include "receiver-sim/LoaderImage.h"
#include "receiver-sim/SRecordWriter.h"

using namespace simtest;

namespace {

sim::Options loaderRunning(sim::Faults faults = {}) {
    sim::Options options;
    options.faults = faults;
    options.startState = static_cast<uint32_t>(sim::Mode::LoaderRunning);
    return options;
}

// Sends one line at 115200 and returns what comes back within 100 ms.
std::string exchange(VirtualHost& host, const std::string& line) {
    host.write(line);
    return host.runFor(100);
}

std::string s3(uint32_t address, std::vector<uint8_t> data) {
    return sim::SRecordWriter::record('3', address, data.data(), data.size());
}

}  // namespace

TEST(LoaderUpload, HeaderImageTrailerStartTheLoader) {
    sim::ReceiverModel model(sim::Options{});
    VirtualHost host(model);
    host.write(BinaryModeSentence);
    host.baud = 38400;
    host.write(FlashUpdateFrame);
    host.write(BootCommandFrame);
    host.baud = 115200;
    const Bytes loader = sim::LoaderImage::make();
    const Bytes upload = uploadOf(loader);
    ASSERT_EQ(Bytes(upload.begin(), upload.begin() + 6), (Bytes{0x53, 0x00, 0x00, 0x00, 0x37, 0xEC}));
    // The tool sends the image byte by byte.
    for (uint8_t b : upload) host.write(Bytes{b});
    EXPECT_EQ(model.mode(), sim::Mode::LoaderRunning);
    EXPECT_EQ(model.receiverBaud(), 115200u);
    EXPECT_EQ(model.loaderImage(), loader);
    EXPECT_EQ(model.loaderUploads(), 1u);
    EXPECT_EQ(model.lastUploadProblem(), "");
}

TEST(LoaderUpload, FramingIsChecked) {
    struct Case {
        const char* name;
        Bytes bytes;
        uint32_t hostBaud;
        bool runs;
    };
    const Bytes image = {1, 2, 3, 4, 5};
    Bytes badTrailer = uploadOf(image);
    badTrailer[badTrailer.size() - 4] = 0x01;
    Bytes tooLong = uploadOf(image);
    tooLong[2] = 0x10;  // 268 MB announced
    Bytes extraByte = uploadOf(image);
    extraByte.insert(extraByte.begin() + 8, 0x77);  // one byte more than announced
    Bytes junkFirst = {0x00, 0xFF, 'S', 'S', 0x01};
    const Bytes good = uploadOf(image);
    junkFirst.insert(junkFirst.end(), good.begin(), good.end());
    const std::vector<Case> cases = {
        {"good", good, 115200, true},
        {"empty image", uploadOf({}), 115200, true},
        {"junk before the header", junkFirst, 115200, true},
        {"trailer not zero", badTrailer, 115200, false},
        {"length too big", tooLong, 115200, false},
        {"more bytes than announced", extraByte, 115200, false},
        {"sent at 38400", good, 38400, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Options options;
        options.startState = static_cast<uint32_t>(sim::Mode::LoaderUpload);
        sim::ReceiverModel model(options);
        VirtualHost host(model);
        host.baud = c.hostBaud;
        host.write(c.bytes);
        EXPECT_EQ(model.mode() == sim::Mode::LoaderRunning, c.runs);
        EXPECT_EQ(model.lastUploadProblem().empty(), c.runs || c.hostBaud != 115200);
    }
}

TEST(Loader, AcceptsEachRecordWithSaAndFlashesAtTheEndRecord) {
    sim::ReceiverModel model(loaderRunning());
    VirtualHost host(model);
    host.baud = 115200;
    const Bytes image = sim::FirmwareImage::make(1000, "2.4.13.03.10");
    const auto records = sim::SRecordWriter::records(image);
    for (size_t i = 0; i + 1 < records.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(exchange(host, records[i]), "SA\r\n");
    }
    EXPECT_EQ(model.pendingFlashImage(), image);
    EXPECT_EQ(model.flashCommits(), 0u);
    EXPECT_EQ(exchange(host, records.back()), "");  // S7: no answer
    EXPECT_EQ(model.flashCommits(), 1u);
    EXPECT_EQ(model.flashImage(), image);
    EXPECT_EQ(model.recordsAccepted(), records.size());
    EXPECT_EQ(model.recordsAcknowledged(), records.size() - 1);
    EXPECT_EQ(model.reportedVersion(), "2.4.13.03.10");
    EXPECT_EQ(model.reportedBuild(), sim::Crc32::hex(sim::Crc32::of(image)));
}

TEST(Loader, RefusesBadRecords) {
    const std::string good = s3(0x100, {1, 2, 3, 4});
    std::string badChecksum = good;
    badChecksum[badChecksum.size() - 3] = badChecksum[badChecksum.size() - 3] == '0' ? '1' : '0';
    std::string notHex = good;
    notHex[12] = 'G';
    std::string wrongCount = good;
    wrongCount[3] = static_cast<char>(wrongCount[3] + 1);
    const struct {
        const char* name;
        std::string line;
    } cases[] = {
        {"checksum", badChecksum},
        {"not hex", notHex},
        {"count field", wrongCount},
        {"type S4", "S4050000000FA\r\n"},
        {"type S6", sim::SRecordWriter::record('6', 0, nullptr, 0)},
        {"no CR", good.substr(0, good.size() - 2) + "\n"},
        {"not an S-record", "hello\r\n"},
        {"descending address", s3(0x0FF, {9})},
        {"overlapping address", s3(0x103, {9})},
        {"beyond the flash", s3(0x01000000, {9})},
        {"too short", "S3\r\n"},
    };
    for (const bool longForm : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (longForm ? " long" : " short"));
            sim::Faults faults;
            faults.longRefusal = longForm;
            sim::ReceiverModel model(loaderRunning(faults));
            VirtualHost host(model);
            host.baud = 115200;
            ASSERT_EQ(exchange(host, good), "SA\r\n");
            EXPECT_EQ(exchange(host, c.line), longForm ? "SE:3 -- bad S-Record\r\n" : "SE\r\n");
            EXPECT_EQ(model.recordsRefused(), 1u);
            // Nothing is flashed after a refusal.
            EXPECT_EQ(exchange(host, "S70500000000FA\r\n"), longForm ? "SE:3 -- bad S-Record\r\n" : "SE\r\n");
            EXPECT_EQ(model.flashCommits(), 0u);
        }
    }
}

TEST(Loader, OtherRecordTypesAndEndRecords) {
    const struct {
        const char* name;
        std::string line;
        const char* answer;
        bool commits;
    } cases[] = {
        {"S1", sim::SRecordWriter::record('1', 0x10, std::vector<uint8_t>{1, 2}.data(), 2), "SA\r\n", false},
        {"S2", sim::SRecordWriter::record('2', 0x10, std::vector<uint8_t>{1, 2}.data(), 2), "SA\r\n", false},
        {"S5", sim::SRecordWriter::record('5', 3, nullptr, 0), "SA\r\n", false},
        {"S0", sim::SRecordWriter::record('0', 0, nullptr, 0), "SA\r\n", false},
        {"S7", sim::SRecordWriter::record('7', 0, nullptr, 0), "", true},
        {"S9", sim::SRecordWriter::record('9', 0, nullptr, 0), "", true},
        {"S8 (the tool awaits an answer)", sim::SRecordWriter::record('8', 0, nullptr, 0), "SA\r\n", true},
        {"lower-case hex", "s3090000000001020304EC\r\n", "SE\r\n", false},
        {"lower-case digits", "S3090000000001020304ec\r\n", "SA\r\n", false},
        {"empty line", "\r\n", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::ReceiverModel model(loaderRunning());
        VirtualHost host(model);
        host.baud = 115200;
        EXPECT_EQ(exchange(host, c.line), c.answer);
        EXPECT_EQ(model.flashCommits(), c.commits ? 1u : 0u);
    }
}

TEST(Loader, RefuseRecordKnobRefusesExactlyThatRecordInTheChosenForm) {
    const auto records = sim::SRecordWriter::records(sim::FirmwareImage::make(200, "9.9"));
    for (const auto& [number, longForm] : {std::pair{1, false}, std::pair{3, true}, std::pair{5, false}}) {
        SCOPED_TRACE(number);
        sim::Faults faults;
        faults.refuseRecord = number;
        faults.longRefusal = longForm;
        sim::Options options;
        options.faults = faults;
        sim::ReceiverModel model(options);
        VirtualHost host(model);
        const auto answers = runUpdateTransfer(host, sim::LoaderImage::make(100), records);
        ASSERT_EQ(answers.size(), static_cast<size_t>(number));
        for (int i = 0; i + 1 < number; ++i) EXPECT_EQ(answers[i], "SA\r\n");
        EXPECT_EQ(answers.back(), longForm ? "SE:3 -- bad S-Record\r\n" : "SE\r\n");
    }
}

TEST(Loader, NeverAcknowledgeTakesRecordsSilentlyAndStillFlashes) {
    sim::Faults faults;
    faults.neverAcknowledge = true;
    sim::ReceiverModel model(loaderRunning(faults));
    VirtualHost host(model);
    host.baud = 115200;
    const Bytes image = sim::FirmwareImage::make(64, "1.2");
    const auto records = sim::SRecordWriter::records(image);
    host.write(records[0]);
    EXPECT_EQ(host.readLine(61'000), "");
    for (size_t i = 1; i < records.size(); ++i) host.write(records[i]);
    EXPECT_EQ(host.runFor(100), "");
    EXPECT_EQ(model.recordsAcknowledged(), 0u);
    EXPECT_EQ(model.flashImage(), image);
}

TEST(Update, WholeSequenceFlashesWhatWasSentAndTheFirmwareRunsAtTheChosenRate) {
    const Bytes loader = sim::LoaderImage::make();
    const Bytes image = sim::FirmwareImage::make(20'000, "2.4.13.03.10");
    const auto records = sim::SRecordWriter::records(image);
    // Which of the tool's attempts (115200, 57600, 38400) find a version line afterwards.
    const struct {
        uint32_t firmwareBaud;
        bool at115200, at57600, at38400;
    } cases[] = {{115200, true, true, true}, {57600, false, true, true}, {38400, false, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firmwareBaud);
        sim::Options options;
        options.faults.firmwareBaud = c.firmwareBaud;
        sim::ReceiverModel model(options);
        VirtualHost host(model, 1'000'000);
        const auto answers = runUpdateTransfer(host, loader, records);
        ASSERT_EQ(answers.size(), records.size() - 1);
        for (const auto& answer : answers) ASSERT_EQ(answer, "SA\r\n");
        EXPECT_EQ(model.loaderImage(), loader);
        EXPECT_EQ(model.flashImage(), image);
        EXPECT_TRUE(model.restarting());
        host.wait(sim::ReceiverModel::FirmwareBootMs);
        EXPECT_LT(sim::ReceiverModel::FirmwareBootMs, 2000u);
        EXPECT_EQ(model.mode(), sim::Mode::SirfBinary);
        EXPECT_EQ(model.receiverBaud(), c.firmwareBaud);

        // The tool's order: 115200, 57600 whatever happened, 38400 only if neither.
        std::string line;
        const bool at115200 = returnToNmea(host, 115200, &line);
        EXPECT_EQ(at115200, c.at115200);
        const bool at57600 = returnToNmea(host, 57600, &line);
        EXPECT_EQ(at57600, c.at57600);
        if (!at115200 && !at57600) {
            EXPECT_EQ(returnToNmea(host, 38400, &line), c.at38400);
        }
        EXPECT_TRUE(isValidNmeaLine(line)) << line;
        EXPECT_EQ(versionTextOf(line), "2.4.13.03.10");
        EXPECT_EQ(buildOf(line), sim::Crc32::hex(sim::Crc32::of(image)));
        EXPECT_EQ(model.mode(), sim::Mode::Nmea);
    }
}

TEST(Update, FirmwareWithoutMarkerReportsTheInitialVersionAndTheCrcOfTheImage) {
    sim::Options options = loaderRunning();
    options.initialVersion = "3.0.1";
    sim::ReceiverModel model(options);
    VirtualHost host(model);
    host.baud = 115200;
    Bytes image(777, 0x5A);
    for (const auto& record : sim::SRecordWriter::records(image)) host.write(record);
    host.wait(1000);
    host.baud = 115200;
    host.write(SwitchToNmeaFrame);
    host.baud = 4800;
    const std::string line = host.readLineUntil(5000, [](const std::string& l) { return isVersionLine(l); });
    EXPECT_EQ(versionTextOf(line), "3.0.1");
    EXPECT_EQ(buildOf(line), sim::Crc32::hex(sim::Crc32::of(image)));
}
