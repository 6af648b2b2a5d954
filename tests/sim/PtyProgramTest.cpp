// The receiver-sim program on a real pseudo-terminal, in real time (kept short: about 6 s).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "SimTestSupport.h"

extern char** environ;

using namespace simtest;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// The program, started with arguments; stopped with SIGTERM when the test ends.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args) {
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<std::string> all = {RECEIVER_SIM_PROGRAM};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        stdout_ = out[0];
    }
    ~SimProcess() {
        if (pid_ > 0) stop();
        if (stdout_ >= 0) close(stdout_);
    }
    // The first line of stdout, without its LF ("" after 5 s).
    std::string firstLine() {
        std::string line;
        const auto end = Clock::now() + std::chrono::seconds(5);
        char c;
        while (Clock::now() < end) {
            pollfd p{stdout_, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            if (read(stdout_, &c, 1) != 1) break;
            if (c == '\n') return line;
            line.push_back(c);
        }
        return "";
    }
    // SIGTERM, then the exit status (-1 when it did not exit normally within 5 s).
    int stop() {
        kill(pid_, SIGTERM);
        const auto end = Clock::now() + std::chrono::seconds(5);
        int status = 0;
        while (Clock::now() < end) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return -1;
    }
    bool started() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
    int stdout_ = -1;
};

int openRaw(const std::string& path, speed_t speed) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return -1;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

void setSpeed(int fd, speed_t speed) {
    termios t{};
    tcgetattr(fd, &t);
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    tcsetattr(fd, TCSANOW, &t);
}

// Reads for up to ms; stops early once stopWhen(bytes so far) holds.
template <typename Stop>
std::string readFor(int fd, int ms, Stop stopWhen) {
    std::string got;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end && !stopWhen(got)) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        char buffer[512];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) got.append(buffer, static_cast<size_t>(n));
    }
    return got;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(PtyProgram, VersionLineAt4800WithinTenSecondsAndNoValidLineAtAWrongRate) {
    const fs::path dir = fs::temp_directory_path() / ("sim-pty-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path link = dir / "com2";
    const fs::path trace = dir / "trace.txt";
    SimProcess sim({"--link", link.string(), "--trace", trace.string()});
    ASSERT_TRUE(sim.started());
    const std::string first = sim.firstLine();
    ASSERT_EQ(first.rfind("PTY /dev/pts/", 0), 0u) << first;
    EXPECT_EQ(fs::read_symlink(link).string(), first.substr(4));

    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the power-up line is gone
    const int fd = openRaw(link.string(), B4800);
    ASSERT_GE(fd, 0);
    const auto opened = Clock::now();
    auto hasVersionLine = [](const std::string& bytes) {
        for (const auto& line : linesOf(bytes)) {
            if (isVersionLine(line)) return true;
        }
        return false;
    };
    const std::string got = readFor(fd, 10'000, hasVersionLine);
    const auto seconds = std::chrono::duration<double>(Clock::now() - opened).count();
    ASSERT_TRUE(hasVersionLine(got)) << got;
    EXPECT_LT(seconds, 10.0);
    std::string version;
    for (const auto& line : linesOf(got)) {
        if (line[0] == '$') {
            EXPECT_TRUE(isValidNmeaLine(line)) << line;  // no LF turned into CR LF
        }
        if (isVersionLine(line)) version = line;
    }
    EXPECT_EQ(versionTextOf(version), "2.3.2.01.07");

    setSpeed(fd, B9600);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    tcflush(fd, TCIFLUSH);
    const std::string wrong = readFor(fd, 1500, [](const std::string&) { return false; });
    EXPECT_GT(wrong.size(), 100u);  // GGA every second, garbled and doubled
    EXPECT_EQ(wrong.find('$'), std::string::npos);
    EXPECT_EQ(wrong.find('\n'), std::string::npos);
    close(fd);

    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    const std::string text = fileText(trace);
    EXPECT_NE(text.find("--- host rate 4800 -> 9600"), std::string::npos);
    EXPECT_NE(text.find(" R>H   4800  24 50 53 52 46 54 58 54 2C 56 65 72 73 69 6F 6E  $PSRFTXT,Version"),
              std::string::npos);
    EXPECT_NE(text.find("--- host port closed"), std::string::npos);
    fs::remove_all(dir);
}

TEST(PtyProgram, HangUpClosesTheMaster) {
    SimProcess sim({"--hang-up-after-ms", "300", "--no-pacing"});
    const std::string first = sim.firstLine();
    ASSERT_EQ(first.rfind("PTY ", 0), 0u);
    const int fd = openRaw(first.substr(4), B4800);
    ASSERT_GE(fd, 0);
    const auto end = Clock::now() + std::chrono::seconds(3);
    bool hungUp = false;
    while (!hungUp && Clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 20);
        if (p.revents & (POLLHUP | POLLERR)) hungUp = true;
        char buffer[256];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno == EIO)) hungUp = true;
    }
    EXPECT_TRUE(hungUp);
    close(fd);
    EXPECT_EQ(sim.stop(), 0);
}

TEST(PtyProgram, BadArgumentsExitWithTwo) {
    for (const char* arg : {"--bogus", "--refuse-record", "--baud-after-update"}) {
        SCOPED_TRACE(arg);
        pid_t pid;
        std::string program = RECEIVER_SIM_PROGRAM;
        std::string a = arg;
        std::string devnull = "/dev/null";
        char* argv[] = {program.data(), a.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, devnull.c_str(), O_WRONLY, 0);
        ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 2);
    }
}
