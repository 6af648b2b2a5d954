// The flash file and the version the receiver derives from the flashed image.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "SimTestSupport.h"
#include "receiver-sim/Crc32.h"
#include "receiver-sim/Flash.h"
#include "receiver-sim/FirmwareImage.h"
#include "receiver-sim/SRecordWriter.h"

using namespace simtest;
namespace fs = std::filesystem;

namespace {

fs::path freshDirectory(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("sim-tests-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

Bytes fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(Flash, PersistsAcrossTwoReceiversThroughTheFile) {
    const fs::path dir = freshDirectory("persist");
    const std::string file = (dir / "flash.bin").string();
    const Bytes image = sim::FirmwareImage::make(5000, "2.4.13.03.10");
    {
        sim::Options options;
        options.flashFile = file;
        options.startState = static_cast<uint32_t>(sim::Mode::LoaderRunning);
        sim::ReceiverModel first(options);
        EXPECT_EQ(first.reportedVersion(), "2.3.2.01.07");
        VirtualHost host(first);
        host.baud = 115200;
        for (const auto& record : sim::SRecordWriter::records(image)) host.write(record);
        EXPECT_EQ(first.flashCommits(), 1u);
    }
    EXPECT_EQ(fileBytes(file), image);
    EXPECT_FALSE(fs::exists(file + ".tmp"));

    sim::Options options;
    options.flashFile = file;
    sim::ReceiverModel second(options);
    VirtualHost host(second);
    EXPECT_EQ(second.flashImage(), image);
    const auto lines = linesOf(host.runFor(100));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(versionTextOf(lines[0]), "2.4.13.03.10");
    EXPECT_EQ(buildOf(lines[0]), sim::Crc32::hex(sim::Crc32::of(image)));
    fs::remove_all(dir);
}

TEST(Flash, NoFileMeansAnEmptyFlash) {
    const fs::path dir = freshDirectory("nofile");
    sim::Options options;
    options.flashFile = (dir / "absent.bin").string();
    sim::ReceiverModel model(options);
    EXPECT_TRUE(model.flashImage().empty());
    EXPECT_EQ(model.reportedBuild(), "00000000");
    fs::remove_all(dir);
}

TEST(Flash, VersionMarker) {
    const struct {
        const char* name;
        std::string content;
        std::optional<std::string> marker;
    } cases[] = {
        {"marker", std::string("\x01\x02VERSION=2.4.13.03.10;\xFF", 24), "2.4.13.03.10"},
        {"first of two", "VERSION=1.0;VERSION=2.0;", "1.0"},
        {"none", "no marker here", std::nullopt},
        {"hyphen", "VERSION=2.4-13;", std::nullopt},
        {"empty", "VERSION=;", std::nullopt},
        {"no end", "VERSION=2.4", std::nullopt},
        {"space", "VERSION=2 4;", std::nullopt},
        {"too long", "VERSION=" + std::string(41, '7') + ";", std::nullopt},
        {"40 long", "VERSION=" + std::string(40, '7') + ";", std::string(40, '7')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sim::Flash::findVersionMarker(bytesOf(c.content)), c.marker);
    }
}

TEST(Flash, InitialVersionIsMadeFitForTheVersionLine) {
    for (const auto& [given, reported] : {std::pair<std::string, std::string>{"1.0-beta", "1.0.beta"},
                                          {"a,b*c$d", "a.b.c.d"}, {"", "0"}, {"GSW3.2.4_3.1.00.12", "GSW3.2.4_3.1.00.12"}}) {
        SCOPED_TRACE(given);
        sim::Options options;
        options.initialVersion = given;
        sim::ReceiverModel model(options);
        EXPECT_EQ(model.reportedVersion(), reported);
        VirtualHost host(model);
        const auto lines = linesOf(host.runFor(10));
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(isValidNmeaLine(lines[0]));
        EXPECT_EQ(versionTextOf(lines[0]), reported);
    }
}
