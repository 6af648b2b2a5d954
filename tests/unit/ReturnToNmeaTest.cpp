// ReturnToNmea's three outcomes and the attempt plan of RunRepair, against the simulated receiver
// speaking SiRF binary at a given rate.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/DeviceNames.h"
#include "tests/support/LinkFixture.h"
#include "updatetool/link/FirmwareVersion.h"
#include "updatetool/link/GpsPort.h"
#include "updatetool/link/ReceiverMessages.h"
#include "updatetool/link/ReturnToNmea.h"
#include "updatetool/link/SerialLink.h"
#include "updatetool/ui/ProgramState.h"

using testing_support::LinkFixture;

namespace {

sim::Options BinaryReceiverAt(uint32_t baud) {
    sim::Options options;
    options.startState = static_cast<uint32_t>(sim::Mode::SirfBinary);
    options.startBinaryBaud = baud;
    return options;
}

class ReturnToNmeaTest : public LinkFixture {
protected:
    // The rates at which SwitchToNmeaFrame went out, one per attempt that got as far as sending.
    std::vector<uint32_t> SwitchRates() const {
        const std::string frame(reinterpret_cast<const char*>(SwitchToNmeaFrame.bytes), SwitchToNmeaFrame.length);
        std::vector<uint32_t> rates;
        for (const auto& w : ports->writes())
            if (std::string(w.bytes.begin(), w.bytes.end()) == frame) rates.push_back(w.baud);
        return rates;
    }
};

}  // namespace

TEST_F(ReturnToNmeaTest, SwitchedAtTheReceiversRateLeavesGpsPortOpenAt4800) {
    useReceiver(BinaryReceiverAt(57600));
    EXPECT_EQ(ReturnToNmea(57600), Switched);
    EXPECT_TRUE(GpsPort.handle);
    EXPECT_EQ(ports->lastAppliedBaud(), 4800u);
    EXPECT_FALSE(serialLink.IsOpen());
    EXPECT_EQ(SwitchRates(), std::vector<uint32_t>{57600});
    EXPECT_EQ(currentVersion.rfind(L"PSRFTXT,Version:", 0), 0u) << platform::toUtf8(currentVersion);
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(ReturnToNmeaTest, AWrongRateIsNotSwitchedAndAHeldPortIsOpenFailed) {
    useReceiver(BinaryReceiverAt(57600));
    const uint64_t before = clock.nowMs();
    EXPECT_EQ(ReturnToNmea(38400), NotSwitched);
    const uint64_t lasted = clock.nowMs() - before;
    EXPECT_GT(lasted, 3 * 2000u + 10000u);  // three waits of 2 s and the poll's limit
    EXPECT_LE(lasted, 3 * 3000u + 12000u);
    EXPECT_TRUE(GpsPort.handle);
    EXPECT_TRUE(boxTexts().empty());

    ports->holdExternally(true);
    EXPECT_EQ(ReturnToNmea(57600), OpenFailed);
    EXPECT_FALSE(GpsPort.handle);
    EXPECT_EQ(boxTexts(), std::vector<std::wstring>{L"Unable to open COM2:, Error No.=16"});
}

TEST_F(ReturnToNmeaTest, RunRepairFollowsItsAttemptPlan) {
    struct Case {
        const char* name;
        sim::Options receiver;
        bool holdPort;
        bool result;
        std::vector<uint32_t> rates;
    } cases[] = {
        {"back after the first attempt", BinaryReceiverAt(38400), false, true, {38400}},
        {"binary at 57600: two misses at 38400, then back", BinaryReceiverAt(57600), false, true,
         {38400, 38400, 57600}},
        {"never back: four attempts, no 115200", BinaryReceiverAt(115200), false, false,
         {38400, 38400, 57600, 57600}},
        {"port held: one failed open ends it", BinaryReceiverAt(38400), true, false, {}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        useReceiver(c.receiver);
        ports->holdExternally(c.holdPort);
        boxes.clear();
        workerDone = 0;
        EXPECT_EQ(RunRepair(), c.result);
        EXPECT_EQ(SwitchRates(), c.rates);
        EXPECT_EQ(workerDone.load(), 1);
        EXPECT_FALSE(GpsPort.handle);
        EXPECT_FALSE(serialLink.IsOpen());
        EXPECT_FALSE(ports->isOpen());
        const size_t opensOfTheLink = c.holdPort ? 1 : c.rates.size();
        EXPECT_EQ(boxTexts().size(), c.holdPort ? opensOfTheLink : 0u);
    }
}

TEST_F(ReturnToNmeaTest, ReleasePortsAndFilesClosesEverythingOnce) {
    char folder[] = "/tmp/device-root-XXXXXX";
    ASSERT_TRUE(mkdtemp(folder));
    setenv("DEVICE_ROOT", folder, 1);
    for (const wchar_t* name : {L"dlgsp2.bin", L"Kelvo300_GPS_Firmware_R10.s"}) {
        auto f = platform::files().create(name);
        ASSERT_TRUE(f);
    }
    loaderFile = platform::files().openForReading(L"dlgsp2.bin");
    firmwareFile = platform::files().openForReading(L"\\Kelvo300_GPS_Firmware_R10.s");
    ASSERT_TRUE(loaderFile && firmwareFile);
    // Opened without sharing: a second opener is refused until the release.
    EXPECT_FALSE(platform::files().openForReading(L"dlgsp2.bin"));
    OpenGpsPort(true);

    ReleasePortsAndFiles();
    EXPECT_FALSE(loaderFile);
    EXPECT_FALSE(firmwareFile);
    EXPECT_FALSE(ports->isOpen());
    EXPECT_TRUE(platform::files().openForReading(L"dlgsp2.bin"));
    const auto calls = ports->calls();
    ReleasePortsAndFiles();  // the second release closes nothing
    EXPECT_EQ(ports->calls().size(), calls.size());

    ASSERT_TRUE(serialLink.Open(L"COM2:", 38400));
    ReleasePortsAndFiles();
    EXPECT_FALSE(serialLink.IsOpen());
    EXPECT_FALSE(ports->isOpen());
    unsetenv("DEVICE_ROOT");
    std::filesystem::remove_all(folder);
}
