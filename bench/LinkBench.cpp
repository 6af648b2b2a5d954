// Prints the figures the firmware transfer leans on:
//  - how long a one-byte GpsPort read takes to return when the byte is already waiting
//    (every record acknowledgement is read this way, one byte per call);
//  - the CPU time that WaitSeconds(2) burns, since it polls the clock without pausing.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

#include "platform/Services.h"
#include "platform/posix/TermiosSerialDevice.h"
#include "updatetool/link/WaitSeconds.h"

namespace {

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

void WaitingByteRead() {
    int master = -1, slave = -1;
    char name[128];
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return;
    }
    uint32_t error = 0;
    auto port = platform::TermiosSerialDevice::open(name, error);
    ::close(slave);
    if (!port) {
        std::fprintf(stderr, "open %s failed: %u\n", name, error);
        return;
    }
    platform::LineSettings s;
    port->getLineSettings(s);
    s.baudRate = 115200;
    port->setLineSettings(s);
    port->setTimeouts({0, 0, 1000, 0, 1000});

    constexpr int rounds = 20000;
    std::vector<double> micros;
    micros.reserve(rounds);
    uint8_t byte = 0;
    for (int i = 0; i < rounds; ++i) {
        const char c = 'A';
        if (::write(master, &c, 1) != 1) break;
        usleep(50);  // let the byte cross the pty before the clock starts, so it is waiting
        uint32_t count = 0;
        const auto t0 = std::chrono::steady_clock::now();
        port->read(&byte, 1, count);
        const auto t1 = std::chrono::steady_clock::now();
        if (count != 1) continue;
        micros.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    std::sort(micros.begin(), micros.end());
    if (micros.empty()) return;
    auto pct = [&](double p) { return micros[static_cast<size_t>(p * (micros.size() - 1))]; };
    std::printf("one-byte GpsPort read, byte waiting (%zu reads over a pty): median %.1f us, p99 %.1f us, max %.1f us\n",
                micros.size(), pct(0.5), pct(0.99), micros.back());
    std::printf("  -> 19140 acknowledgements of 4 bytes each spend about %.2f s in reads\n",
                19140.0 * 4 * pct(0.5) / 1e6);
    ::close(master);
}

void WaitSecondsCost() {
    platform::installHostServices();
    const double cpu0 = CpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    WaitSeconds(2);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = CpuSeconds() - cpu0;
    std::printf("WaitSeconds(2): %.3f s of wall time, %.3f s of CPU time (%.0f%% of one core)\n", wall, cpu,
                100.0 * cpu / wall);
}

}  // namespace

int main() {
    WaitingByteRead();
    WaitSecondsCost();
    return 0;
}
