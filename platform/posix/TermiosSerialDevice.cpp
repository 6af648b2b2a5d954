#include "platform/posix/TermiosSerialDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace platform {

namespace {

using SteadyClock = std::chrono::steady_clock;

struct RateEntry {
    uint32_t baud;
    speed_t speed;
};

constexpr RateEntry rates[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000},
};

uint32_t baudFor(speed_t speed) {
    for (const auto& r : rates)
        if (r.speed == speed) return r.baud;
    return 0;
}

// Milliseconds left until deadline, clamped for poll(); -1 when there is no deadline.
int msLeft(const SteadyClock::time_point* deadline) {
    if (!deadline) return -1;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - SteadyClock::now()).count();
    if (left <= 0) return 0;
    return left > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(left);
}

}  // namespace

speed_t TermiosSerialDevice::speedFor(uint32_t baud) {
    for (const auto& r : rates)
        if (r.baud == baud) return r.speed;
    return 0;
}

std::unique_ptr<TermiosSerialDevice> TermiosSerialDevice::open(const std::string& path, uint32_t& errorCode) {
    errorCode = 0;
    if (path.empty()) {
        errorCode = ENOENT;
        return nullptr;
    }
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        errorCode = static_cast<uint32_t>(errno);
        return nullptr;
    }
    if (!::isatty(fd)) {
        ::close(fd);
        errorCode = ENOTTY;
        return nullptr;
    }
    // TIOCEXCL keeps other users out but not root; flock keeps out every opener, root included.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        errorCode = EBUSY;
        return nullptr;
    }
    ::ioctl(fd, TIOCEXCL);
    // Raw from the first moment: a line discipline would turn LF into CR LF and eat bytes.
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    return std::unique_ptr<TermiosSerialDevice>(new TermiosSerialDevice(fd));
}

TermiosSerialDevice::TermiosSerialDevice(int fd) : fd_(fd) {}

TermiosSerialDevice::~TermiosSerialDevice() {
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
}

bool TermiosSerialDevice::getLineSettings(LineSettings& out) {
    termios tio{};
    if (vanished_ || ::tcgetattr(fd_, &tio) != 0) return false;
    if (!settingsKnown_) {
        // First reading: what termios can tell, the rest as a freshly opened port has it.
        LineSettings s;
        s.flags = LineFlag::Binary;
        if (tio.c_iflag & INPCK) s.flags |= LineFlag::ParityCheck;
        if (tio.c_cflag & CRTSCTS) s.flags |= LineFlag::OutxCtsFlow;
        if (tio.c_iflag & IXON) s.flags |= LineFlag::OutX;
        if (tio.c_iflag & IXOFF) s.flags |= LineFlag::InX;
        switch (tio.c_cflag & CSIZE) {
            case CS5: s.byteSize = 5; break;
            case CS6: s.byteSize = 6; break;
            case CS7: s.byteSize = 7; break;
            default: s.byteSize = 8; break;
        }
        if (tio.c_cflag & PARENB)
            s.parity = (tio.c_cflag & CMSPAR) ? ((tio.c_cflag & PARODD) ? Parity::Mark : Parity::Space)
                                              : ((tio.c_cflag & PARODD) ? Parity::Odd : Parity::Even);
        s.stopBits = (tio.c_cflag & CSTOPB) ? StopBits::Two : StopBits::One;
        s.xonChar = static_cast<char>(tio.c_cc[VSTART]);
        s.xoffChar = static_cast<char>(tio.c_cc[VSTOP]);
        settings_ = s;
        settingsKnown_ = true;
    }
    out = settings_;
    out.baudRate = baudFor(::cfgetospeed(&tio));
    return true;
}

bool TermiosSerialDevice::setLineSettings(const LineSettings& s) {
    if (vanished_) return false;
    const speed_t speed = speedFor(s.baudRate);
    if (speed == 0 || s.byteSize < 5 || s.byteSize > 8 || s.stopBits == StopBits::OneAndHalf) return false;
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return false;
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= s.byteSize == 5 ? CS5 : s.byteSize == 6 ? CS6 : s.byteSize == 7 ? CS7 : CS8;
    switch (s.parity) {
        case Parity::None: break;
        case Parity::Odd: tio.c_cflag |= PARENB | PARODD; break;
        case Parity::Even: tio.c_cflag |= PARENB; break;
        case Parity::Mark: tio.c_cflag |= PARENB | CMSPAR | PARODD; break;
        case Parity::Space: tio.c_cflag |= PARENB | CMSPAR; break;
    }
    if (s.stopBits == StopBits::Two) tio.c_cflag |= CSTOPB;
    const uint32_t rtsControl = (s.flags & LineFlag::RtsControlMask) >> LineFlag::RtsControlShift;
    if ((s.flags & LineFlag::OutxCtsFlow) || rtsControl == 2) tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~(INPCK | IXON | IXOFF | IGNPAR | PARMRK);
    if (s.flags & LineFlag::ParityCheck) tio.c_iflag |= INPCK;
    if (s.flags & LineFlag::OutX) tio.c_iflag |= IXON;
    if (s.flags & LineFlag::InX) tio.c_iflag |= IXOFF;
    tio.c_cc[VSTART] = static_cast<cc_t>(s.xonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(s.xoffChar);
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) return false;
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
    // What termios cannot express (DSR flow, error bytes, limits, other characters) stays in the record.
    settings_ = s;
    settingsKnown_ = true;
    return true;
}

bool TermiosSerialDevice::getTimeouts(Timeouts& out) {
    if (vanished_) return false;
    out = timeouts_;
    return true;
}

bool TermiosSerialDevice::setTimeouts(const Timeouts& timeouts) {
    if (vanished_) return false;
    timeouts_ = timeouts;
    return true;
}

bool TermiosSerialDevice::setQueueSizes(uint32_t receiveBytes, uint32_t transmitBytes) {
    // The kernel sizes its own tty buffers; a request is accepted as advice.
    return !vanished_ && receiveBytes > 0 && transmitBytes > 0;
}

bool TermiosSerialDevice::setEventMask(uint32_t mask) {
    if (vanished_) return false;
    eventMask_ = mask;
    return true;
}

bool TermiosSerialDevice::setModemLine(int line, bool raised) {
    if (vanished_) return false;
    int bits = line;
    return ::ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &bits) == 0;  // ENOTTY on a pty
}

bool TermiosSerialDevice::setDtr(bool raised) { return setModemLine(TIOCM_DTR, raised); }
bool TermiosSerialDevice::setRts(bool raised) { return setModemLine(TIOCM_RTS, raised); }

bool TermiosSerialDevice::discardQueues(bool transmit, bool receive) {
    if (vanished_) return false;
    if (!transmit && !receive) return true;
    return ::tcflush(fd_, transmit && receive ? TCIOFLUSH : transmit ? TCOFLUSH : TCIFLUSH) == 0;
}

bool TermiosSerialDevice::read(void* buffer, uint32_t count, uint32_t& bytesRead) {
    bytesRead = 0;
    if (vanished_) return false;
    if (count == 0) return true;
    auto* out = static_cast<uint8_t*>(buffer);
    const Timeouts& t = timeouts_;
    const bool immediate = t.readIntervalMs == Timeouts::ReturnImmediately && t.readTotalPerByteMs == 0 &&
                           t.readTotalConstantMs == 0;
    const uint64_t totalMs = uint64_t{t.readTotalPerByteMs} * count + t.readTotalConstantMs;
    const auto start = SteadyClock::now();
    const auto totalDeadline = start + std::chrono::milliseconds(totalMs);
    const bool useInterval = t.readIntervalMs != 0 && t.readIntervalMs != Timeouts::ReturnImmediately;

    while (bytesRead < count) {
        int wait;
        if (immediate) {
            wait = 0;
        } else {
            SteadyClock::time_point deadline = totalDeadline;
            bool hasDeadline = totalMs != 0;
            if (useInterval && bytesRead > 0) {
                // After the first byte the gap limit also ends the read.
                auto gapDeadline = SteadyClock::now() + std::chrono::milliseconds(t.readIntervalMs);
                if (!hasDeadline || gapDeadline < deadline) deadline = gapDeadline;
                hasDeadline = true;
            }
            wait = msLeft(hasDeadline ? &deadline : nullptr);
        }
        pollfd p{fd_, POLLIN, 0};
        int ready = ::poll(&p, 1, wait);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (ready == 0) return true;  // timed out: a short count, not an error
        if (p.revents & (POLLIN | POLLHUP | POLLERR)) {
            ssize_t n = ::read(fd_, out + bytesRead, count - bytesRead);
            if (n > 0) {
                bytesRead += static_cast<uint32_t>(n);
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            // 0 bytes with the line ready, or EIO: the other end is gone.
            vanished_ = true;
            return false;
        }
        if (p.revents & POLLNVAL) return false;
    }
    return true;
}

bool TermiosSerialDevice::write(const void* data, uint32_t count, uint32_t& bytesWritten) {
    bytesWritten = 0;
    if (vanished_) return false;
    const auto* in = static_cast<const uint8_t*>(data);
    const uint64_t totalMs = uint64_t{timeouts_.writeTotalPerByteMs} * count + timeouts_.writeTotalConstantMs;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(totalMs);
    while (bytesWritten < count) {
        ssize_t n = ::write(fd_, in + bytesWritten, count - bytesWritten);
        if (n > 0) {
            bytesWritten += static_cast<uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            if (errno == EIO || errno == ENXIO || errno == ENODEV) vanished_ = true;
            return false;
        }
        pollfd p{fd_, POLLOUT, 0};
        int ready = ::poll(&p, 1, msLeft(totalMs ? &deadline : nullptr));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return false;
        if (ready == 0) return true;  // gave up: the count written tells how far it got
        if ((p.revents & (POLLHUP | POLLERR)) && !(p.revents & POLLOUT)) {
            vanished_ = true;
            return false;
        }
    }
    // Like the device's driver, a write returns once the bytes are queued for the line.
    return true;
}

}  // namespace platform
