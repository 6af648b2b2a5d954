#include "receiver-sim/PtyHost.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace sim {

namespace {

constexpr size_t MaxPendingOut = 64 * 1024;

int64_t steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

PtyHost::~PtyHost() { closeMaster(); }

uint32_t PtyHost::rateOf(unsigned speed) {
    switch (speed) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    default: return 0;
    }
}

bool PtyHost::open(std::string& error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        error = std::string("posix_openpt: ") + std::strerror(errno);
        return false;
    }
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error = std::string("grantpt/unlockpt: ") + std::strerror(errno);
        return false;
    }
    const char* name = ptsname(master_);
    if (!name) {
        error = std::string("ptsname: ") + std::strerror(errno);
        return false;
    }
    slavePath_ = name;
    termios t{};
    if (tcgetattr(master_, &t) != 0) {
        error = std::string("tcgetattr: ") + std::strerror(errno);
        return false;
    }
    cfmakeraw(&t);
    cfsetispeed(&t, B4800);
    cfsetospeed(&t, B4800);
    if (tcsetattr(master_, TCSANOW, &t) != 0) {
        error = std::string("tcsetattr: ") + std::strerror(errno);
        return false;
    }
    const int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = std::string("fcntl O_NONBLOCK: ") + std::strerror(errno);
        return false;
    }
    // A master whose slave was never opened reports nothing; once a slave has been opened and
    // closed it reports POLLHUP until the next open. Open and close it once, so the closed port
    // is seen from the start.
    const int slave = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        error = "cannot open " + slavePath_ + ": " + std::strerror(errno);
        return false;
    }
    ::close(slave);
    startNs_ = steadyNs();
    return true;
}

uint64_t PtyHost::nowMs() const { return static_cast<uint64_t>((steadyNs() - startNs_) / 1'000'000); }

uint32_t PtyHost::currentRate() {
    termios t{};
    if (tcgetattr(master_, &t) != 0) return 0;
    return rateOf(static_cast<unsigned>(cfgetospeed(&t)));
}

void PtyHost::closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

void PtyHost::serve(const volatile std::sig_atomic_t& stop, TraceFile& trace) {
    // Nobody has the slave open yet.
    portOpen_ = false;
    model_.setHostPortOpen(false, nowMs());
    while (!stop) {
        uint64_t now = nowMs();
        if (master_ >= 0 && model_.hangUpRequested(now)) {
            closeMaster();
            if (portOpen_) model_.setHostPortOpen(false, now);
            portOpen_ = false;
            pendingOut_.clear();
            model_.noteHostEvent("hang-up: pty master closed", now);
        }
        if (master_ < 0) {
            model_.advanceTo(now);
            trace.write(model_.traceLog(), now, false);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }

        int timeoutMs = 20;
        if (portOpen_) {
            if (auto next = model_.nextActivityMs()) {
                timeoutMs = *next <= now ? 0 : static_cast<int>(std::min<uint64_t>(*next - now, 20));
            }
        }
        pollfd p{master_, static_cast<short>(POLLIN | (pendingOut_.empty() ? 0 : POLLOUT)), 0};
        const int r = poll(&p, 1, timeoutMs);
        if (r < 0 && errno != EINTR) break;
        if (r < 0) continue;
        now = nowMs();
        const uint32_t rate = currentRate();
        bool hangUp = (p.revents & POLLHUP) != 0;
        if (!hangUp && !portOpen_) {
            portOpen_ = true;
            model_.setHostPortOpen(true, now);
        }
        // Bytes the host wrote reach the receiver whatever happens to the port afterwards.
        if (p.revents & POLLIN) readFromHost(rate, now, hangUp);
        if (hangUp) {
            if (portOpen_) {
                portOpen_ = false;
                pendingOut_.clear();
                model_.setHostPortOpen(false, now);
            }
            model_.advanceTo(now);
            trace.write(model_.traceLog(), now, false);
            // The master keeps reporting POLLHUP while nobody has the slave open: do not spin.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        writeToHost(rate, now);
        trace.write(model_.traceLog(), now, false);
    }
    trace.write(model_.traceLog(), nowMs(), true);
}

void PtyHost::readFromHost(uint32_t rate, uint64_t now, bool& hangUp) {
    uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            model_.hostWrite(buffer, static_cast<size_t>(n), rate, now);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        hangUp = true;  // EIO (no slave open) or end of file
        return;
    }
}

void PtyHost::writeToHost(uint32_t rate, uint64_t now) {
    uint8_t buffer[4096];
    for (;;) {
        const size_t n = model_.hostRead(buffer, sizeof buffer, rate, now);
        if (n == 0) break;
        pendingOut_.insert(pendingOut_.end(), buffer, buffer + n);
    }
    if (pendingOut_.size() > MaxPendingOut) {
        pendingOut_.erase(pendingOut_.begin(), pendingOut_.end() - static_cast<std::ptrdiff_t>(MaxPendingOut));
    }
    size_t done = 0;
    while (done < pendingOut_.size()) {
        const ssize_t n = ::write(master_, pendingOut_.data() + done, pendingOut_.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;  // EAGAIN: the slave's queue is full; EIO: gone (the next poll says so)
    }
    pendingOut_.erase(pendingOut_.begin(), pendingOut_.begin() + static_cast<std::ptrdiff_t>(done));
}

}  // namespace sim
