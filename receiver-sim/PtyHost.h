// Serves a ReceiverModel on the master side of a new pseudo-terminal, in real time. The update
// tool (or a test) opens the slave like a serial port. The master sees the slave's termios, so
// the rate the tool set is read with tcgetattr + cfgetospeed and passed with every byte moved.
// While nobody has the slave open, the master reports POLLHUP (reads fail with EIO): that is the
// host's port being closed.
#pragma once

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "receiver-sim/ReceiverModel.h"
#include "receiver-sim/TraceFile.h"

namespace sim {

class PtyHost {
public:
    explicit PtyHost(ReceiverModel& model) : model_(model) {}
    ~PtyHost();
    PtyHost(const PtyHost&) = delete;
    PtyHost& operator=(const PtyHost&) = delete;

    // Creates the pty (raw, non-blocking master, slave at 4800 until someone changes it).
    bool open(std::string& error);
    const std::string& slavePath() const { return slavePath_; }

    // Moves bytes until stop becomes non-zero. Time runs from the call, in milliseconds.
    void serve(const volatile std::sig_atomic_t& stop, TraceFile& trace);
    uint64_t nowMs() const;

    // The rate of a termios speed value (B4800 -> 4800); 0 for one it does not know.
    static uint32_t rateOf(unsigned speed);

private:
    uint32_t currentRate();
    void readFromHost(uint32_t rate, uint64_t now, bool& hangUp);
    void writeToHost(uint32_t rate, uint64_t now);
    void closeMaster();

    ReceiverModel& model_;
    int master_ = -1;
    std::string slavePath_;
    bool portOpen_ = false;
    std::vector<uint8_t> pendingOut_;
    int64_t startNs_ = 0;
};

}  // namespace sim
