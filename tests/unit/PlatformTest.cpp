// The platform layer on the host: device-name mapping, and the termios serial device over a real
// pseudo-terminal (exclusive open, raw bytes, line settings, time-outs, a vanishing other end).
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "platform/DeviceNames.h"
#include "platform/posix/TermiosSerialDevice.h"

namespace {

struct ScopedEnv {
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }
    const char* name_;
    std::string old_;
    bool had_ = false;
};

class PtyPair : public ::testing::Test {
protected:
    void SetUp() override {
        char name[128];
        ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        path = name;
        termios tio{};
        tcgetattr(master, &tio);
        cfmakeraw(&tio);
        tcsetattr(master, TCSANOW, &tio);
        uint32_t error = 0;
        port = platform::TermiosSerialDevice::open(path, error);
        ASSERT_TRUE(port) << error;
        ::close(slave);  // the device holds its own descriptor
    }
    void TearDown() override {
        port.reset();
        if (master >= 0) ::close(master);
    }
    speed_t MasterSeesSpeed() {
        termios tio{};
        tcgetattr(master, &tio);
        return cfgetospeed(&tio);
    }

    int master = -1, slave = -1;
    std::string path;
    std::unique_ptr<platform::TermiosSerialDevice> port;
};

}  // namespace

TEST(DeviceNames, ComPortsMapToHostDevices) {
    ScopedEnv clear2("DEVICE_COM2", nullptr);
    struct Case {
        const wchar_t* name;
        const char* host;
    } cases[] = {
        {L"COM1:", "/dev/ttyS0"}, {L"COM2:", "/dev/ttyS1"}, {L"com10:", "/dev/ttyS9"},
        {L"COM2", ""},            {L"COM0:", ""},           {L"LPT1:", ""}, {L"COMx:", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::hostSerialPath(c.name), c.host) << platform::toUtf8(c.name);
    ScopedEnv set2("DEVICE_COM2", "/dev/ttyUSB0");
    EXPECT_EQ(platform::hostSerialPath(L"COM2:"), "/dev/ttyUSB0");
    EXPECT_EQ(platform::hostSerialPath(L"COM3:"), "/dev/ttyS2");
}

TEST(DeviceNames, RootFolderNamesResolveWithOrWithoutBackslash) {
    ScopedEnv root("DEVICE_ROOT", "/tmp/some-device-root");
    EXPECT_EQ(platform::hostFilePath(L"dlgsp2.bin"), "/tmp/some-device-root/dlgsp2.bin");
    EXPECT_EQ(platform::hostFilePath(L"\\dlgsp2.bin"), "/tmp/some-device-root/dlgsp2.bin");
    EXPECT_EQ(platform::hostFilePath(L"\\My Documents\\a.s"), "/tmp/some-device-root/My Documents/a.s");
}

TEST(DeviceNames, Utf8RoundTripsAndRejectsBrokenSequences) {
    const std::wstring text = L"Gr\u00fc\u00dfe \u20ac \U0001F600";
    EXPECT_EQ(platform::fromUtf8(platform::toUtf8(text)), text);
    EXPECT_EQ(platform::fromUtf8("a\xC3"), L"a\uFFFD");
    EXPECT_EQ(platform::fromUtf8("\xFF" "b"), L"\uFFFDb");
}

TEST_F(PtyPair, OpenIsExclusiveEvenForRootAndReportsErrno) {
    uint32_t error = 0;
    EXPECT_FALSE(platform::TermiosSerialDevice::open(path, error));
    EXPECT_EQ(error, uint32_t{EBUSY});
    EXPECT_FALSE(platform::TermiosSerialDevice::open("/dev/does-not-exist", error));
    EXPECT_EQ(error, uint32_t{ENOENT});
    port.reset();
    EXPECT_TRUE(platform::TermiosSerialDevice::open(path, error));
}

TEST_F(PtyPair, BytesPassUnchangedBothWays) {
    const std::string bytes("$GPGGA\r\n\x00\xff\x11\x13\n", 13);
    ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ASSERT_TRUE(port->setTimeouts({0, 0, 1000, 0, 1000}));
    char in[64];
    uint32_t count = 0;
    ASSERT_TRUE(port->read(in, static_cast<uint32_t>(bytes.size()), count));
    EXPECT_EQ(std::string(in, count), bytes);

    uint32_t written = 0;
    ASSERT_TRUE(port->write("A\nB", 3, written));
    EXPECT_EQ(written, 3u);
    char out[8];
    usleep(20000);
    EXPECT_EQ(::read(master, out, sizeof out), 3);  // no CR added before the LF
    EXPECT_EQ(std::string(out, 3), "A\nB");
}

TEST_F(PtyPair, LineSettingsReachTheLineAndTheRestIsKept) {
    platform::LineSettings s;
    ASSERT_TRUE(port->getLineSettings(s));
    s.baudRate = 57600;
    s.flags = 0xFFFF0000u | 0x1017u;
    s.xonLimit = 7;
    s.evtChar = 0x7E;
    ASSERT_TRUE(port->setLineSettings(s));
    EXPECT_EQ(MasterSeesSpeed(), B57600);
    termios tio{};
    tcgetattr(master, &tio);
    platform::LineSettings back;
    ASSERT_TRUE(port->getLineSettings(back));
    EXPECT_EQ(back, s);

    s.baudRate = 12345;  // no such rate on this line
    EXPECT_FALSE(port->setLineSettings(s));
    s.baudRate = 4800;
    s.stopBits = platform::StopBits::OneAndHalf;
    EXPECT_FALSE(port->setLineSettings(s));
}

TEST_F(PtyPair, AReadTimesOutWithAShortCountNotAnError) {
    ASSERT_TRUE(port->setTimeouts({0, 0, 150, 0, 1000}));
    char c;
    uint32_t count = 9;
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_TRUE(port->read(&c, 1, count));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(count, 0u);
    EXPECT_GE(ms, 140);
    EXPECT_LT(ms, 1000);

    ASSERT_TRUE(port->setTimeouts({platform::Timeouts::ReturnImmediately, 0, 0, 10, 1000}));
    EXPECT_TRUE(port->read(&c, 1, count));
    EXPECT_EQ(count, 0u);
}

TEST_F(PtyPair, ModemLinesAreRefusedOnAPseudoTerminal) {
    EXPECT_FALSE(port->setDtr(true));
    EXPECT_FALSE(port->setRts(false));
    EXPECT_TRUE(port->setQueueSizes(4096, 4096));
    EXPECT_TRUE(port->discardQueues(true, true));
}

TEST_F(PtyPair, AVanishedOtherEndFailsReadsAndWritesWithoutHanging) {
    ASSERT_TRUE(port->setTimeouts({0, 0, 5000, 0, 1000}));
    ::close(master);
    master = -1;
    char c;
    uint32_t count = 0;
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(port->read(&c, 1, count));
    uint32_t written = 0;
    EXPECT_FALSE(port->write("x", 1, written));
    EXPECT_FALSE(port->read(&c, 1, count));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(1));
}
