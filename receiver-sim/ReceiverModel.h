// A simulated receiver module: NMEA output, SiRF binary, boot mode, loader, flash and firmware,
// behind one byte transport. No threads and no I/O of its own: a host moves bytes in and out and
// tells it the time, so the same model runs behind the unit tests' fake (virtual time) and behind
// the pty program (real time).
//
// Time: milliseconds, monotonic, from any origin; a time earlier than one already seen counts as
// that one. The receiver powers up at the first time a host tells it (any call below but the
// const ones), and hangUpAfterMs counts from there.
//
// What it does:
//  - NMEA at 4800 baud after power-up: a version line "$PSRFTXT,Version:<version>-<build>*hh"
//    at power-up, after every switch to NMEA and after a reset, then every 4 s; GGA every second,
//    GSA and GSV every 5 s; RMC, GLL, VTG, ZDA when asked for ($PSRF103 or SwitchToNmeaFrame).
//    <version> is the text of "VERSION=<text>;" in the flash image, else initialVersion;
//    <build> is the CRC-32 of the flash image in 8 upper-case hex digits.
//  - $PSRF100,0,<rate>,8,1,0 (right checksum): SiRF binary at that rate. $PSRF100,1,...: NMEA at
//    that rate. $PSRF103: message rates and queries. $PSRF101: restart (500 ms silence, then the
//    power-up output with the default rates).
//  - SiRF binary: a navigation data frame (message 2) every second; 0x94 enters boot mode at the
//    same rate; 0x81 (24-byte payload) returns to NMEA at the frame's rate with its periods.
//  - Boot mode: the payload 53 02 starts the loader upload at 115200; after header, image and
//    four zero bytes the loader runs at 115200 (SRecordLoader); its end record commits the image
//    to flash (and file), then after 1000 ms the firmware runs in SiRF binary at
//    Faults::firmwareBaud.
//  - garbageBetweenLines: binary junk lines between NMEA sentences, and junk (no LF) in front of
//    the loader's answers on the same line.
//  - Rates: bytes sent at one rate and received at another are garbled (LineGarbler) both ways.
//  - While the host's port is closed, what the receiver sends is lost; opening the port again
//    starts with what arrives from then on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "receiver-sim/Flash.h"
#include "receiver-sim/Junk.h"
#include "receiver-sim/LineGarbler.h"
#include "receiver-sim/LoaderUpload.h"
#include "receiver-sim/NmeaInput.h"
#include "receiver-sim/NmeaOutput.h"
#include "receiver-sim/SRecordLoader.h"
#include "receiver-sim/SimTypes.h"
#include "receiver-sim/SirfBinary.h"
#include "receiver-sim/Trace.h"
#include "receiver-sim/Transmitter.h"

namespace sim {

class ReceiverModel {
public:
    static constexpr uint64_t VersionEverySeconds = 4;
    static constexpr uint64_t RestartSilenceMs = 500;   // after $PSRF101
    static constexpr uint64_t FirmwareBootMs = 1000;    // after the end record
    static constexpr uint64_t NmeaAfterSwitchMs = 200;  // first output after SwitchToNmeaFrame
    static constexpr size_t HostQueueBytes = 1u << 20;  // received, unread bytes kept for the host

    explicit ReceiverModel(const Options& options);

    // Host -> receiver: bytes the host wrote while its line ran at hostBaud.
    void hostWrite(const uint8_t* data, size_t count, uint32_t hostBaud, uint64_t nowMs);
    // Receiver -> host: up to max bytes that have arrived at the host by nowMs, as seen at
    // hostBaud (garbled when it differs from the receiver's rate). Returns the count.
    size_t hostRead(uint8_t* buffer, size_t max, uint32_t hostBaud, uint64_t nowMs);
    // Runs the receiver's own clock forward (periodic sentences, boot, resets).
    void advanceTo(uint64_t nowMs);
    // While no host has the port open, what the receiver sends is lost, as on a real UART.
    void setHostPortOpen(bool open, uint64_t nowMs);

    Mode mode() const;
    uint32_t receiverBaud() const;     // rate the receiver currently speaks at
    std::string reportedVersion() const;  // version text of its version line (<version>)
    bool hangUpRequested(uint64_t nowMs) const;
    const std::vector<TraceEntry>& trace() const;
    // Records the loader accepted since start, and the flash image (address 0 upwards).
    // Every record that passed the loader's checks counts, the end record included.
    size_t recordsAccepted() const;
    const std::vector<uint8_t>& flashImage() const;

    // --- additions ---
    const Options& options() const { return options_; }
    std::string reportedBuild() const;    // <build>: CRC-32 of the flash image, 8 hex digits
    std::string versionLine() const;      // the whole version line, "$PSRFTXT,...*hh" CR LF
    bool restarting() const { return restart_ != Restart::None; }  // silent, deaf: reset or boot
    bool hostPortOpen() const { return hostOpen_; }
    size_t recordsAcknowledged() const { return loader_.recordsAcknowledged(); }  // "SA" sent
    size_t recordsRefused() const { return loader_.recordsRefused(); }
    size_t flashCommits() const { return commits_; }
    const std::vector<uint8_t>& loaderImage() const { return loaderImage_; }  // last complete upload
    size_t loaderUploads() const { return uploads_; }
    const std::string& lastUploadProblem() const { return uploadProblem_; }
    const std::vector<uint8_t>& pendingFlashImage() const { return loader_.pendingImage(); }
    const NmeaPeriods& nmeaPeriods() const { return nmeaOut_.periods(); }
    uint64_t bytesLost() const { return lost_; }  // sent while nobody listened, or overrun
    // Earliest time at which a byte arrives at the host or the receiver acts by itself.
    std::optional<uint64_t> nextActivityMs() const;
    const Trace& traceLog() const { return trace_; }
    const std::vector<TraceNote>& traceNotes() const { return trace_.notes(); }
    std::vector<std::string> traceLines() const;  // TraceFormatter's text, whole trace
    // Adds a line of the host's own to the trace's notes (e.g. "master closed").
    void noteHostEvent(const std::string& text, uint64_t nowMs);

private:
    enum class Restart { None, PowerUpNmea, FirmwareStart };

    uint64_t enter(uint64_t nowMs);  // starts on first use, clamps time, runs the clock
    void powerUp(uint64_t nowMs);
    void runUntil(uint64_t nowMs);
    void tick(uint64_t atMs);
    void completeRestart(uint64_t atMs);
    void beginRestart(uint64_t nowMs, uint64_t delayMs, Restart what, const std::string& why);

    void take(uint8_t byte, uint64_t nowMs);
    void handleSentence(const nmea::Sentence& sentence, uint64_t nowMs);
    void handlePayload(const std::vector<uint8_t>& payload, uint64_t nowMs);
    void handleUpload(LoaderUpload::Result result, uint64_t nowMs);
    void handleLoaderEvent(const SRecordLoader::Event& event, uint64_t nowMs);

    void setMode(Mode mode, uint32_t baud, uint64_t atMs);
    void enterNmea(uint64_t atMs, uint32_t baud, const NmeaPeriods& periods, uint64_t firstOutputMs);
    void enterSirfBinary(uint64_t atMs, uint32_t baud);

    void send(const std::string& text, uint64_t atMs);
    void send(const std::vector<uint8_t>& bytes, uint64_t atMs);
    void noteHostRate(uint32_t hostBaud, uint64_t nowMs);
    void note(uint64_t atMs, const std::string& text);

    Options options_;
    std::string initialVersion_;  // initialVersion made fit for a version line

    bool started_ = false;
    uint64_t originMs_ = 0;
    uint64_t nowMs_ = 0;
    Mode mode_ = Mode::Nmea;
    uint32_t baud_ = 4800;
    bool hostOpen_ = true;
    uint32_t lastHostBaud_ = 0;

    std::optional<uint64_t> nextTickMs_;  // periodic output (NMEA seconds, binary frames)
    uint64_t tickIndex_ = 0;
    Restart restart_ = Restart::None;
    uint64_t restartAtMs_ = 0;

    Flash flash_;
    NmeaOutput nmeaOut_;
    NmeaInput nmeaIn_;
    SirfBinaryParser sirfIn_;
    LoaderUpload upload_;
    SRecordLoader loader_;
    LineGarbler garbleIn_;   // host -> receiver
    LineGarbler garbleOut_;  // receiver -> host
    Transmitter transmitter_;
    std::deque<uint8_t> hostQueue_;  // arrived at the host, not read yet
    Trace trace_;
    Junk junk_;  // before acknowledgements, with garbageBetweenLines

    std::vector<uint8_t> loaderImage_;
    size_t uploads_ = 0;
    std::string uploadProblem_;
    size_t commits_ = 0;
    uint64_t lost_ = 0;
};

}  // namespace sim
