#include "receiver-sim/NmeaOutput.h"

#include <cstdio>

#include "receiver-sim/Nmea.h"

namespace sim {

namespace {

// Days since 1970-01-01 of a civil date, and back (H. Hinnant's algorithms).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

struct Utc {
    char time[16];  // hhmmss.000
    char date[8];   // ddmmyy
    unsigned day, month;
    int year;
};

Utc utcAt(uint64_t secondsSinceStart) {
    const int64_t start = daysFromCivil(2006, 3, 15) * 86400 + 12 * 3600;
    const int64_t t = start + static_cast<int64_t>(secondsSinceStart);
    const int64_t days = t / 86400;
    const int64_t secs = t % 86400;
    Utc utc{};
    civilFromDays(days, utc.year, utc.month, utc.day);
    std::snprintf(utc.time, sizeof utc.time, "%02d%02d%02d.000", static_cast<int>(secs / 3600),
                  static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60));
    std::snprintf(utc.date, sizeof utc.date, "%02u%02u%02d", utc.day % 100, utc.month % 100, utc.year % 100);
    return utc;
}

const char* const Latitude = "4807.0380,N";
const char* const Longitude = "01131.0000,E";

std::string gga(const Utc& u) {
    return nmea::frame(std::string("GPGGA,") + u.time + "," + Latitude + "," + Longitude +
                       ",1,08,1.0,545.4,M,46.9,M,,0000");
}
std::string gll(const Utc& u) {
    return nmea::frame(std::string("GPGLL,") + Latitude + "," + Longitude + "," + u.time + ",A");
}
std::string gsa() { return nmea::frame("GPGSA,A,3,02,04,07,09,12,17,24,28,,,,,1.8,1.0,1.5"); }
std::string gsv1() { return nmea::frame("GPGSV,2,1,08,02,45,123,42,04,67,041,45,07,12,301,33,09,33,210,39"); }
std::string gsv2() { return nmea::frame("GPGSV,2,2,08,12,21,078,36,17,58,166,44,24,08,260,30,28,40,330,41"); }
std::string rmc(const Utc& u) {
    return nmea::frame(std::string("GPRMC,") + u.time + ",A," + Latitude + "," + Longitude + ",0.00,0.00," +
                       u.date + ",,");
}
std::string vtg() { return nmea::frame("GPVTG,0.00,T,,M,0.00,N,0.00,K"); }
std::string zda(const Utc& u) {
    char body[64];
    std::snprintf(body, sizeof body, "GPZDA,%s,%02u,%02u,%04d,,", u.time, u.day, u.month, u.year);
    return nmea::frame(body);
}

bool due(uint8_t period, uint64_t index) { return period != 0 && index % period == 0; }

}  // namespace

bool NmeaOutput::setPeriod(int message, uint8_t seconds) {
    switch (message) {
    case Gga: periods_.gga = seconds; return true;
    case Gll: periods_.gll = seconds; return true;
    case Gsa: periods_.gsa = seconds; return true;
    case Gsv: periods_.gsv = seconds; return true;
    case Rmc: periods_.rmc = seconds; return true;
    case Vtg: periods_.vtg = seconds; return true;
    case Zda: periods_.zda = seconds; return true;
    default: return false;
    }
}

std::string NmeaOutput::second(uint64_t index, uint64_t secondsSinceStart, const std::string& versionLine) {
    const Utc u = utcAt(secondsSinceStart);
    std::string out;
    if (!versionLine.empty()) append(out, versionLine);
    if (due(periods_.gga, index)) append(out, gga(u));
    if (due(periods_.gll, index)) append(out, gll(u));
    if (due(periods_.gsa, index)) append(out, gsa());
    if (due(periods_.gsv, index)) {
        append(out, gsv1());
        append(out, gsv2());
    }
    if (due(periods_.rmc, index)) append(out, rmc(u));
    if (due(periods_.vtg, index)) append(out, vtg());
    if (due(periods_.zda, index)) append(out, zda(u));
    return out;
}

std::string NmeaOutput::one(int message, uint64_t secondsSinceStart) {
    const Utc u = utcAt(secondsSinceStart);
    std::string out;
    switch (message) {
    case Gga: append(out, gga(u)); break;
    case Gll: append(out, gll(u)); break;
    case Gsa: append(out, gsa()); break;
    case Gsv: append(out, gsv1()); append(out, gsv2()); break;
    case Rmc: append(out, rmc(u)); break;
    case Vtg: append(out, vtg()); break;
    case Zda: append(out, zda(u)); break;
    default: break;
    }
    return out;
}

std::string NmeaOutput::versionLine(const std::string& version, const std::string& build) {
    return nmea::frame("PSRFTXT,Version:" + version + "-" + build);
}

void NmeaOutput::append(std::string& out, const std::string& sentence) {
    out += sentence;
    if (garbage_) out += junk_.next() + "\r\n";
}

}  // namespace sim
