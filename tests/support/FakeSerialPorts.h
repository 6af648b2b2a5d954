// The unit tests' serial service: "COM2:" is a port wired to an in-process simulated receiver on
// virtual time. Every byte both ways and every call are recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/SerialDevice.h"
#include "receiver-sim/ReceiverModel.h"
#include "tests/support/VirtualClock.h"

namespace testing_support {

// One call on a fake device, for tests that check the order of calls.
struct SerialCall {
    int connection;        // 1 for the first open, 2 for the second, ...
    std::string what;      // "open", "settings", "timeouts", "queues", "events", "dtr", "rts",
                           // "discard", "read", "write", "close"
    uint32_t value = 0;    // rate for settings, count for read/write, 0/1 for dtr/rts
    bool operator==(const SerialCall&) const = default;
};

struct FakeSerialFaults {
    bool openFails = false;           // every open fails (error code 2)
    bool refuseSettings = false;
    bool refuseTimeouts = false;
    bool refuseQueues = false;
    bool writeFails = false;          // writes fail and move nothing
    std::optional<uint32_t> shortWrite;  // writes move at most this many bytes, with success
    bool readFails = false;
    bool hangUp = false;              // the device vanished: reads and writes fail
};

class FakeSerialPorts : public platform::SerialPorts {
public:
    FakeSerialPorts(VirtualClock& clock, const sim::Options& receiver);
    ~FakeSerialPorts() override;

    std::unique_ptr<platform::SerialDevice> open(const std::wstring& deviceName, uint32_t& errorCode) override;

    sim::ReceiverModel& receiver() { return *receiver_; }
    FakeSerialFaults& faults() { return faults_; }
    std::vector<SerialCall> calls() const;
    // Every byte the tool wrote, in order, with the rate its line ran at.
    struct Written { uint32_t baud; std::vector<uint8_t> bytes; };
    std::vector<Written> writes() const;
    bool isOpen() const { return openCount_ > 0; }
    uint32_t lastAppliedBaud() const { return lastBaud_; }
    platform::LineSettings lastSettings() const { return lastSettings_; }
    platform::Timeouts lastTimeouts() const { return lastTimeouts_; }
    // Bytes that reach the tool ahead of anything the receiver sends (scripted lines, garbage).
    void injectFromReceiver(const std::string& bytes);
    // Makes the port busy as if another program held it (opens fail with EBUSY).
    void holdExternally(bool held) { heldExternally_ = held; }

private:
    friend class FakeSerialDevice;
    VirtualClock& clock_;
    std::unique_ptr<sim::ReceiverModel> receiver_;
    FakeSerialFaults faults_;
    mutable std::mutex mutex_;
    std::vector<SerialCall> calls_;
    std::vector<Written> writes_;
    int openCount_ = 0;
    int connections_ = 0;
    bool heldExternally_ = false;
    std::string injected_;
    uint32_t lastBaud_ = 0;
    platform::LineSettings lastSettings_;
    platform::Timeouts lastTimeouts_;
};

}  // namespace testing_support
