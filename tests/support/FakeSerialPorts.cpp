#include "tests/support/FakeSerialPorts.h"

#include <algorithm>
#include <cerrno>

namespace testing_support {

class FakeSerialDevice : public platform::SerialDevice {
public:
    FakeSerialDevice(FakeSerialPorts& ports, int connection) : ports_(ports), connection_(connection) {}

    ~FakeSerialDevice() override {
        std::lock_guard lock(ports_.mutex_);
        record("close");
        --ports_.openCount_;
        ports_.receiver_->setHostPortOpen(false, now());
    }

    bool getLineSettings(platform::LineSettings& out) override {
        std::lock_guard lock(ports_.mutex_);
        if (ports_.faults_.hangUp) return false;
        out = settings_;
        return true;
    }

    bool setLineSettings(const platform::LineSettings& s) override {
        std::lock_guard lock(ports_.mutex_);
        record("settings", s.baudRate);
        if (ports_.faults_.refuseSettings || ports_.faults_.hangUp) return false;
        settings_ = s;
        ports_.lastBaud_ = s.baudRate;
        ports_.lastSettings_ = s;
        return true;
    }

    bool getTimeouts(platform::Timeouts& out) override {
        std::lock_guard lock(ports_.mutex_);
        out = timeouts_;
        return !ports_.faults_.hangUp;
    }

    bool setTimeouts(const platform::Timeouts& t) override {
        std::lock_guard lock(ports_.mutex_);
        record("timeouts", t.readTotalConstantMs);
        if (ports_.faults_.refuseTimeouts || ports_.faults_.hangUp) return false;
        timeouts_ = t;
        ports_.lastTimeouts_ = t;
        return true;
    }

    bool setQueueSizes(uint32_t rx, uint32_t) override {
        std::lock_guard lock(ports_.mutex_);
        record("queues", rx);
        return !ports_.faults_.refuseQueues && !ports_.faults_.hangUp;
    }

    bool setEventMask(uint32_t mask) override {
        std::lock_guard lock(ports_.mutex_);
        record("events", mask);
        return !ports_.faults_.hangUp;
    }

    // Like a pseudo-terminal, the fake has no modem-control lines.
    bool setDtr(bool raised) override {
        std::lock_guard lock(ports_.mutex_);
        record("dtr", raised);
        return false;
    }
    bool setRts(bool raised) override {
        std::lock_guard lock(ports_.mutex_);
        record("rts", raised);
        return false;
    }

    bool discardQueues(bool transmit, bool receive) override {
        std::lock_guard lock(ports_.mutex_);
        record("discard", (transmit ? 1u : 0u) | (receive ? 2u : 0u));
        if (receive) {
            ports_.injected_.clear();
            uint8_t sink[256];
            ports_.receiver_->advanceTo(now());
            while (ports_.receiver_->hostRead(sink, sizeof sink, settings_.baudRate, now()) > 0) {
            }
        }
        return !ports_.faults_.hangUp;
    }

    bool read(void* buffer, uint32_t count, uint32_t& bytesRead) override {
        bytesRead = 0;
        auto* out = static_cast<uint8_t*>(buffer);
        const uint64_t start = now();
        const platform::Timeouts t = timeouts_;
        const bool immediate = t.readIntervalMs == platform::Timeouts::ReturnImmediately &&
                               t.readTotalPerByteMs == 0 && t.readTotalConstantMs == 0;
        uint64_t total = uint64_t{t.readTotalPerByteMs} * count + t.readTotalConstantMs;
        if (total == 0) total = 24ull * 3600 * 1000;  // "no limit" still ends in a test
        uint64_t lastByteAt = start;
        for (;;) {
            {
                std::lock_guard lock(ports_.mutex_);
                if (ports_.faults_.readFails || vanished()) {
                    record("read", bytesRead);
                    return false;
                }
                ports_.receiver_->advanceTo(now());
                size_t n = std::min<size_t>(count - bytesRead, ports_.injected_.size());
                std::copy_n(ports_.injected_.begin(), n, out + bytesRead);
                ports_.injected_.erase(0, n);
                if (n < count - bytesRead)
                    n += ports_.receiver_->hostRead(out + bytesRead + n, count - bytesRead - n, settings_.baudRate, now());
                if (n > 0) lastByteAt = now();
                bytesRead += static_cast<uint32_t>(n);
                const bool gapPassed = t.readIntervalMs != 0 && !immediate && bytesRead > 0 &&
                                       now() - lastByteAt > t.readIntervalMs;
                if (bytesRead == count || immediate || now() - start >= total || gapPassed) {
                    record("read", bytesRead);
                    return true;
                }
            }
            ports_.clock_.advanceMs(1);
        }
    }

    bool write(const void* data, uint32_t count, uint32_t& bytesWritten) override {
        std::lock_guard lock(ports_.mutex_);
        bytesWritten = 0;
        if (ports_.faults_.writeFails || vanished()) {
            record("write", 0);
            return false;
        }
        uint32_t n = count;
        if (ports_.faults_.shortWrite) n = std::min(n, *ports_.faults_.shortWrite);
        const auto* bytes = static_cast<const uint8_t*>(data);
        ports_.writes_.push_back({settings_.baudRate, std::vector<uint8_t>(bytes, bytes + n)});
        ports_.receiver_->hostWrite(bytes, n, settings_.baudRate, now());
        bytesWritten = n;
        record("write", n);
        return true;
    }

private:
    uint64_t now() const { return ports_.clock_.nowMs(); }
    bool vanished() const { return ports_.faults_.hangUp || ports_.receiver_->hangUpRequested(now()); }
    void record(const char* what, uint32_t value = 0) { ports_.calls_.push_back({connection_, what, value}); }

    FakeSerialPorts& ports_;
    int connection_;
    platform::LineSettings settings_;
    platform::Timeouts timeouts_;
};

FakeSerialPorts::FakeSerialPorts(VirtualClock& clock, const sim::Options& receiver)
    : clock_(clock), receiver_(std::make_unique<sim::ReceiverModel>(receiver)) {}

FakeSerialPorts::~FakeSerialPorts() = default;

std::unique_ptr<platform::SerialDevice> FakeSerialPorts::open(const std::wstring& deviceName, uint32_t& errorCode) {
    std::lock_guard lock(mutex_);
    errorCode = 0;
    if (deviceName != L"COM2:" || faults_.openFails) {
        errorCode = ENOENT;
        calls_.push_back({0, "open", errorCode});
        return nullptr;
    }
    if (openCount_ > 0 || heldExternally_) {
        errorCode = EBUSY;
        calls_.push_back({0, "open", errorCode});
        return nullptr;
    }
    ++openCount_;
    const int connection = ++connections_;
    calls_.push_back({connection, "open", 0});
    receiver_->setHostPortOpen(true, clock_.nowMs());
    return std::make_unique<FakeSerialDevice>(*this, connection);
}

void FakeSerialPorts::injectFromReceiver(const std::string& bytes) {
    std::lock_guard lock(mutex_);
    injected_ += bytes;
}

std::vector<SerialCall> FakeSerialPorts::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<FakeSerialPorts::Written> FakeSerialPorts::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

}  // namespace testing_support
