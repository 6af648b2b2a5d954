#include "receiver-sim/ReceiverModel.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "receiver-sim/Crc32.h"
#include "receiver-sim/TraceFormatter.h"

namespace sim {

namespace {

constexpr uint32_t LoaderBaud = 115200;

bool knownRate(uint32_t baud) {
    switch (baud) {
    case 1200: case 2400: case 4800: case 9600: case 19200: case 38400: case 57600: case 115200: return true;
    default: return false;
    }
}

std::optional<uint32_t> number(const std::string& text) {
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || p != end || text.empty()) return std::nullopt;
    return value;
}

std::string fitForVersionLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        const bool bad = static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E ||
                         std::strchr("-*,$", c) != nullptr;
        out.push_back(bad ? '.' : c);
    }
    return out.empty() ? std::string("0") : out;
}

// Measured navigation data (message 2), fixed: the position of the NMEA output in ECEF, 8
// satellites. Holds no 0x0A byte, so leftovers of it never end a line on the host's side.
const std::vector<uint8_t>& navigationFrame() {
    static const std::vector<uint8_t> frame = SirfBinaryParser::frame({
        0x02,                                            // message 2
        0x00, 0x3F, 0xBC, 0x68, 0x00, 0x0D, 0x0B, 0xD8,  // X, Y
        0x00, 0x48, 0x2B, 0xD8,                          // Z
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00,              // velocity
        0x04, 0x05, 0x00,                                // mode 1, HDOP, mode 2
        0x03, 0x99, 0x02, 0xF6, 0xC3, 0x30,              // week 921, time of week
        0x08,                                            // satellites in the fix
        2, 4, 7, 9, 12, 17, 24, 28, 0, 0, 0, 0});
    return frame;
}

}  // namespace

ReceiverModel::ReceiverModel(const Options& options)
    : options_(options),
      initialVersion_(fitForVersionLine(options.initialVersion)),
      flash_(options.flashFile),
      loader_(LoaderBehaviour{options.faults.neverAcknowledge, options.faults.refuseRecord, options.faults.longRefusal}),
      transmitter_(options.pacing) {
    nmeaOut_.setGarbage(options.faults.garbageBetweenLines);
}

// ---- time ----

uint64_t ReceiverModel::enter(uint64_t nowMs) {
    if (!started_) powerUp(nowMs);
    nowMs = std::max(nowMs, nowMs_);
    runUntil(nowMs);
    return nowMs;
}

void ReceiverModel::advanceTo(uint64_t nowMs) { enter(nowMs); }

void ReceiverModel::powerUp(uint64_t nowMs) {
    started_ = true;
    originMs_ = nowMs;
    nowMs_ = nowMs;
    switch (options_.startState) {
    case static_cast<uint32_t>(Mode::SirfBinary): mode_ = Mode::SirfBinary; baud_ = options_.startBinaryBaud; break;
    case static_cast<uint32_t>(Mode::BootMode): mode_ = Mode::BootMode; baud_ = options_.startBinaryBaud; break;
    case static_cast<uint32_t>(Mode::LoaderUpload): mode_ = Mode::LoaderUpload; baud_ = LoaderBaud; break;
    case static_cast<uint32_t>(Mode::LoaderRunning): mode_ = Mode::LoaderRunning; baud_ = LoaderBaud; break;
    default: mode_ = Mode::Nmea; baud_ = 4800; break;
    }
    char text[200];
    std::snprintf(text, sizeof text, "power-up in %s %u; flash %s, version %s-%s", modeName(mode_),
                  static_cast<unsigned>(baud_), flash_.holdsImage() ? "holds an image" : "empty",
                  reportedVersion().c_str(), reportedBuild().c_str());
    note(nowMs, text);
    if (!flash_.loadProblem().empty()) note(nowMs, flash_.loadProblem());
    switch (mode_) {
    case Mode::Nmea: enterNmea(nowMs, baud_, NmeaPeriods{}, nowMs); break;
    case Mode::SirfBinary: enterSirfBinary(nowMs, baud_); break;
    case Mode::LoaderRunning: loader_.start(); break;
    case Mode::BootMode:
    case Mode::LoaderUpload: break;
    }
}

void ReceiverModel::runUntil(uint64_t nowMs) {
    for (;;) {
        const uint64_t never = UINT64_MAX;
        const uint64_t restartAt = restart_ != Restart::None ? restartAtMs_ : never;
        uint64_t tickAt = nextTickMs_ ? *nextTickMs_ : never;
        const uint64_t next = std::min(restartAt, tickAt);
        if (next > nowMs) break;
        if (restartAt <= tickAt) {
            completeRestart(restartAt);
            continue;
        }
        // Nobody listens: skip whole seconds of output that would only be lost.
        if (!hostOpen_ && nowMs - tickAt > 10'000) {
            const uint64_t skip = (nowMs - tickAt) / 1000 - 5;
            tickIndex_ += skip;
            *nextTickMs_ += skip * 1000;
            tickAt = *nextTickMs_;
        }
        tick(tickAt);
    }
    nowMs_ = nowMs;
    if (!hostOpen_) {
        lost_ += transmitter_.dropArrived(nowMs);
    } else {
        lost_ += transmitter_.limitArrived(nowMs, HostQueueBytes);
    }
}

void ReceiverModel::tick(uint64_t atMs) {
    if (mode_ == Mode::Nmea) {
        const bool versionDue = !options_.faults.noVersionLine && tickIndex_ % VersionEverySeconds == 0;
        send(nmeaOut_.second(tickIndex_, (atMs - originMs_) / 1000, versionDue ? versionLine() : std::string()), atMs);
    } else if (mode_ == Mode::SirfBinary) {
        send(navigationFrame(), atMs);
    }
    ++tickIndex_;
    nextTickMs_ = atMs + 1000;
}

void ReceiverModel::beginRestart(uint64_t nowMs, uint64_t delayMs, Restart what, const std::string& why) {
    restart_ = what;
    restartAtMs_ = nowMs + delayMs;
    nextTickMs_.reset();
    note(nowMs, why + "; silent for " + std::to_string(delayMs) + " ms");
}

void ReceiverModel::completeRestart(uint64_t atMs) {
    const Restart what = restart_;
    restart_ = Restart::None;
    if (what == Restart::PowerUpNmea) {
        note(atMs, "restarted");
        enterNmea(atMs, 4800, NmeaPeriods{}, atMs);
    } else if (what == Restart::FirmwareStart) {
        note(atMs, "firmware runs, version " + reportedVersion() + "-" + reportedBuild());
        enterSirfBinary(atMs, options_.faults.firmwareBaud);
    }
}

// ---- host side ----

void ReceiverModel::hostWrite(const uint8_t* data, size_t count, uint32_t hostBaud, uint64_t nowMs) {
    nowMs = enter(nowMs);
    noteHostRate(hostBaud, nowMs);
    trace_.record(true, hostBaud, data, count, nowMs);
    size_t i = 0;
    while (i < count && restart_ == Restart::None) {
        if (hostBaud == baud_) {
            // Byte by byte: a command may change the receiver's rate, and what follows it in
            // the same write then arrives at the new rate.
            const uint32_t before = baud_;
            while (i < count && baud_ == before && restart_ == Restart::None) take(data[i++], nowMs);
        } else {
            std::vector<uint8_t> garbled;
            garbleIn_.pass(data + i, count - i, hostBaud, baud_, garbled);
            for (uint8_t b : garbled) {
                if (restart_ != Restart::None) break;
                take(b, nowMs);
            }
            break;
        }
    }
}

size_t ReceiverModel::hostRead(uint8_t* buffer, size_t max, uint32_t hostBaud, uint64_t nowMs) {
    nowMs = enter(nowMs);
    noteHostRate(hostBaud, nowMs);
    if (!hostOpen_) return 0;
    for (const Transmitter::Run& run : transmitter_.takeArrived(nowMs)) {
        std::vector<uint8_t> received;
        garbleOut_.pass(run.bytes.data(), run.bytes.size(), run.baud, hostBaud, received);
        trace_.record(false, hostBaud, received.data(), received.size(), nowMs);
        hostQueue_.insert(hostQueue_.end(), received.begin(), received.end());
    }
    if (hostQueue_.size() > HostQueueBytes) {
        lost_ += hostQueue_.size() - HostQueueBytes;
        hostQueue_.erase(hostQueue_.begin(), hostQueue_.end() - static_cast<std::ptrdiff_t>(HostQueueBytes));
    }
    const size_t n = std::min(max, hostQueue_.size());
    std::copy_n(hostQueue_.begin(), n, buffer);
    hostQueue_.erase(hostQueue_.begin(), hostQueue_.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

void ReceiverModel::setHostPortOpen(bool open, uint64_t nowMs) {
    nowMs = enter(nowMs);
    if (open == hostOpen_) return;
    hostOpen_ = open;
    if (!open) {
        lost_ += transmitter_.dropArrived(nowMs) + hostQueue_.size();
        hostQueue_.clear();
    }
    note(nowMs, open ? "host port opened" : "host port closed");
}

void ReceiverModel::noteHostRate(uint32_t hostBaud, uint64_t nowMs) {
    if (hostBaud == lastHostBaud_) return;
    char text[96];
    if (lastHostBaud_ == 0) {
        std::snprintf(text, sizeof text, "host rate %u", static_cast<unsigned>(hostBaud));
    } else {
        std::snprintf(text, sizeof text, "host rate %u -> %u", static_cast<unsigned>(lastHostBaud_),
                      static_cast<unsigned>(hostBaud));
    }
    lastHostBaud_ = hostBaud;
    note(nowMs, text);
}

void ReceiverModel::noteHostEvent(const std::string& text, uint64_t nowMs) { note(enter(nowMs), text); }

// ---- receiver side ----

void ReceiverModel::take(uint8_t byte, uint64_t nowMs) {
    switch (mode_) {
    case Mode::Nmea:
        if (auto sentence = nmeaIn_.push(byte)) handleSentence(*sentence, nowMs);
        break;
    case Mode::SirfBinary:
    case Mode::BootMode: {
        const Mode before = mode_;
        auto payload = sirfIn_.push(byte);
        while (payload && mode_ == before && restart_ == Restart::None) {
            handlePayload(*payload, nowMs);
            if (mode_ != before) break;
            payload = sirfIn_.next();
        }
        break;
    }
    case Mode::LoaderUpload:
        handleUpload(upload_.push(byte), nowMs);
        break;
    case Mode::LoaderRunning:
        if (auto event = loader_.push(byte)) handleLoaderEvent(*event, nowMs);
        break;
    }
}

void ReceiverModel::handleSentence(const nmea::Sentence& s, uint64_t nowMs) {
    const auto& f = s.fields;
    if (s.address == "PSRF100" && f.size() >= 5) {
        const auto protocol = number(f[0]), baud = number(f[1]);
        if (protocol && baud && knownRate(*baud) && f[2] == "8" && f[3] == "1" && f[4] == "0") {
            if (*protocol == 0) {
                enterSirfBinary(nowMs, *baud);
                return;
            }
            if (*protocol == 1) {
                setMode(Mode::Nmea, *baud, nowMs);
                return;
            }
        }
    } else if (s.address == "PSRF103" && f.size() >= 4) {
        const auto message = number(f[0]), how = number(f[1]), rate = number(f[2]);
        if (message && how && rate) {
            if (*how == 0 && nmeaOut_.setPeriod(static_cast<int>(*message), static_cast<uint8_t>(std::min(*rate, 255u)))) {
                note(nowMs, "NMEA message " + f[0] + " every " + f[2] + " s");
                return;
            }
            if (*how == 1) {
                const std::string text = nmeaOut_.one(static_cast<int>(*message), (nowMs - originMs_) / 1000);
                if (!text.empty()) {
                    send(text, nowMs);
                    return;
                }
            }
        }
    } else if (s.address == "PSRF101" && f.size() >= 8) {
        beginRestart(nowMs, RestartSilenceMs, Restart::PowerUpNmea, "navigation initialisation ($PSRF101): restart");
        return;
    }
    note(nowMs, "NMEA sentence $" + s.address + " ignored");
}

void ReceiverModel::handlePayload(const std::vector<uint8_t>& p, uint64_t nowMs) {
    char text[96];
    if (mode_ == Mode::SirfBinary) {
        if (p[0] == 0x94) {
            setMode(Mode::BootMode, baud_, nowMs);
            return;
        }
        if (p[0] == 0x81 && p.size() == 24) {
            const uint32_t rate = static_cast<uint32_t>(p[22]) << 8 | p[23];
            if (options_.faults.noReturnToNmea) {
                note(nowMs, "switch to NMEA (0x81) ignored: fault knob");
                return;
            }
            if (knownRate(rate)) {
                NmeaPeriods periods;
                periods.gga = p[2];
                periods.gll = p[4];
                periods.gsa = p[6];
                periods.gsv = p[8];
                periods.rmc = p[10];
                periods.vtg = p[12];
                periods.zda = p[18];
                enterNmea(nowMs, rate, periods, nowMs + NmeaAfterSwitchMs);
                return;
            }
        }
    } else if (mode_ == Mode::BootMode) {
        if (p.size() == 2 && p[0] == 0x53 && p[1] == 0x02) {
            upload_.reset();
            setMode(Mode::LoaderUpload, LoaderBaud, nowMs);
            return;
        }
    }
    std::snprintf(text, sizeof text, "SiRF message 0x%02X (%zu bytes) ignored in %s", p[0], p.size(), modeName(mode_));
    note(nowMs, text);
}

void ReceiverModel::handleUpload(LoaderUpload::Result result, uint64_t nowMs) {
    char text[160];
    switch (result) {
    case LoaderUpload::Result::Pending:
        return;
    case LoaderUpload::Result::HeaderTaken:
        std::snprintf(text, sizeof text, "loader upload header: %u bytes follow",
                      static_cast<unsigned>(upload_.announcedLength()));
        note(nowMs, text);
        return;
    case LoaderUpload::Result::Rejected:
        uploadProblem_ = upload_.rejectReason();
        note(nowMs, "loader upload rejected: " + uploadProblem_);
        return;
    case LoaderUpload::Result::Complete:
        loaderImage_ = upload_.image();
        ++uploads_;
        uploadProblem_.clear();
        std::snprintf(text, sizeof text, "loader image received: %zu bytes, CRC-32 %s; the loader runs",
                      loaderImage_.size(), Crc32::hex(Crc32::of(loaderImage_)).c_str());
        note(nowMs, text);
        loader_.start();
        setMode(Mode::LoaderRunning, LoaderBaud, nowMs);
        return;
    }
}

void ReceiverModel::handleLoaderEvent(const SRecordLoader::Event& event, uint64_t nowMs) {
    if (!event.reply.empty()) {
        send(options_.faults.garbageBetweenLines ? junk_.next() + event.reply : event.reply, nowMs);
    }
    if (event.kind == SRecordLoader::Event::Kind::Refused) {
        note(nowMs, "record " + std::to_string(event.record) + " refused: " + event.detail);
    } else if (event.kind == SRecordLoader::Event::Kind::End) {
        const bool written = flash_.commit(loader_.takeImage());
        ++commits_;
        char text[200];
        std::snprintf(text, sizeof text, "end record %zu: flash committed, %zu bytes, version %s-%s%s", event.record,
                      flash_.image().size(), reportedVersion().c_str(), reportedBuild().c_str(),
                      written ? "" : " (flash file NOT written)");
        note(nowMs, text);
        beginRestart(nowMs, FirmwareBootMs, Restart::FirmwareStart, "firmware boots");
    }
}

void ReceiverModel::setMode(Mode mode, uint32_t baud, uint64_t atMs) {
    if (mode == mode_ && baud == baud_) return;
    char text[128];
    std::snprintf(text, sizeof text, "receiver %s %u -> %s %u", modeName(mode_), static_cast<unsigned>(baud_),
                  modeName(mode), static_cast<unsigned>(baud));
    note(atMs, text);
    mode_ = mode;
    baud_ = baud;
    if (mode != Mode::Nmea && mode != Mode::SirfBinary) nextTickMs_.reset();
}

void ReceiverModel::enterNmea(uint64_t atMs, uint32_t baud, const NmeaPeriods& periods, uint64_t firstOutputMs) {
    setMode(Mode::Nmea, baud, atMs);
    nmeaOut_.periods() = periods;
    nmeaIn_.reset();
    tickIndex_ = 0;
    nextTickMs_ = firstOutputMs;
}

void ReceiverModel::enterSirfBinary(uint64_t atMs, uint32_t baud) {
    setMode(Mode::SirfBinary, baud, atMs);
    sirfIn_.reset();
    tickIndex_ = 0;
    nextTickMs_ = atMs + 1000;
}

void ReceiverModel::send(const std::string& text, uint64_t atMs) {
    send(std::vector<uint8_t>(text.begin(), text.end()), atMs);
}

void ReceiverModel::send(const std::vector<uint8_t>& bytes, uint64_t atMs) {
    if (options_.faults.silent || bytes.empty()) return;
    transmitter_.send(bytes.data(), bytes.size(), baud_, atMs);
}

void ReceiverModel::note(uint64_t atMs, const std::string& text) { trace_.note(atMs, text); }

// ---- queries ----

Mode ReceiverModel::mode() const { return mode_; }
uint32_t ReceiverModel::receiverBaud() const { return baud_; }

std::string ReceiverModel::reportedVersion() const {
    if (flash_.holdsImage() && flash_.versionMarker()) return *flash_.versionMarker();
    return initialVersion_;
}

std::string ReceiverModel::reportedBuild() const { return Crc32::hex(flash_.crc()); }

std::string ReceiverModel::versionLine() const { return NmeaOutput::versionLine(reportedVersion(), reportedBuild()); }

bool ReceiverModel::hangUpRequested(uint64_t nowMs) const {
    return options_.faults.hangUpAfterMs != 0 && started_ && nowMs >= originMs_ + options_.faults.hangUpAfterMs;
}

const std::vector<TraceEntry>& ReceiverModel::trace() const { return trace_.entries(); }
size_t ReceiverModel::recordsAccepted() const { return loader_.recordsAccepted(); }
const std::vector<uint8_t>& ReceiverModel::flashImage() const { return flash_.image(); }

std::optional<uint64_t> ReceiverModel::nextActivityMs() const {
    std::optional<uint64_t> next = transmitter_.nextArrivalMs();
    auto consider = [&next](uint64_t t) { next = next ? std::min(*next, t) : t; };
    if (nextTickMs_) consider(*nextTickMs_);
    if (restart_ != Restart::None) consider(restartAtMs_);
    return next;
}

std::vector<std::string> ReceiverModel::traceLines() const { return TraceFormatter::formatAll(trace_); }

}  // namespace sim
