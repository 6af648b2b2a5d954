// The receiver link through the real serial layer, over a pseudo-terminal, against the
// receiver-sim program in real time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

#include "platform/Services.h"
#include "tests/support/RecordingMessageBoxes.h"
#include "tests/support/SimProcess.h"
#include "updatetool/link/FirmwareVersion.h"
#include "updatetool/link/GpsPort.h"
#include "updatetool/link/ReturnToNmea.h"
#include "updatetool/link/SerialLink.h"
#include "updatetool/ui/ProgramState.h"

using testing_support::RecordingMessageBoxes;
using testing_support::SimProcess;

namespace {

class PtyLink : public ::testing::Test {
protected:
    void Start(std::vector<std::string> args) {
        trace = std::filesystem::temp_directory_path() /
                ("sim-trace-" + std::to_string(::getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt");
        args.insert(args.end(), {"--trace", trace.string()});
        sim = std::make_unique<SimProcess>(RECEIVER_SIM_PATH, args);
        ASSERT_TRUE(sim->started());
        setenv("DEVICE_COM2", sim->ptyPath().c_str(), 1);
        platform::install({nullptr, nullptr, nullptr, &boxes});
    }
    void TearDown() override {
        ReleasePortsAndFiles();
        platform::installHostServices();
        unsetenv("DEVICE_COM2");
        if (sim) sim->stop();
        std::filesystem::remove(trace);
    }
    // Rates at which the simulator saw SwitchToNmeaFrame arrive, in order.
    std::vector<uint32_t> SwitchFrameRates() {
        sim->stop();
        return testing_support::SwitchFrameRatesInTrace(SimProcess::readFile(trace.string()));
    }

    RecordingMessageBoxes boxes;
    std::unique_ptr<SimProcess> sim;
    std::filesystem::path trace;
};

}  // namespace

TEST_F(PtyLink, ReadsTheReceiversVersion) {
    Start({"--version", "2.2.0.07.01"});
    OpenGpsPort(true);
    ASSERT_TRUE(GpsPort.handle);
    EXPECT_TRUE(ReadFirmwareVersion());
    EXPECT_EQ(currentVersion, L"2.2.0.07.01");
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(PtyLink, ReturnToNmeaAtTheRateTheBinaryProtocolRunsAt) {
    Start({"--start-binary", "57600"});
    EXPECT_EQ(ReturnToNmea(57600), Switched);
    EXPECT_TRUE(GpsPort.handle);
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ(SwitchFrameRates(), std::vector<uint32_t>{57600});
}

TEST_F(PtyLink, RepairOfAReceiverThatNeverComesBackTriesFourTimes) {
    Start({"--start-binary", "57600", "--no-return-to-nmea"});
    EXPECT_FALSE(RunRepair());
    EXPECT_EQ(workerDone.load(), 1);
    EXPECT_FALSE(GpsPort.handle);
    EXPECT_EQ(SwitchFrameRates(), (std::vector<uint32_t>{38400, 38400, 57600, 57600}));
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(PtyLink, TheLinkCannotOpenWhileGpsPortHoldsThePort) {
    Start({});
    OpenGpsPort(true);
    ASSERT_TRUE(GpsPort.handle);
    EXPECT_FALSE(serialLink.Open(L"COM2:", 57600));
    EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{L"Unable to open COM2:, Error No.=16"});
}

TEST_F(PtyLink, AHangUpInTheMiddleOfAReadEndsItWithoutABox) {
    Start({"--silent", "--hang-up-after-ms", "1500"});
    OpenGpsPort(true);
    ASSERT_TRUE(GpsPort.handle);
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(ReadFirmwareVersion());
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(PtyLink, GarbageBetweenLinesDoesNotHideTheVersion) {
    Start({"--garbage", "--version", "3.1.4"});
    OpenGpsPort(true);
    EXPECT_TRUE(ReadFirmwareVersion());
    EXPECT_EQ(currentVersion, L"3.1.4");
}
