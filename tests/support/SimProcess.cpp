#include "tests/support/SimProcess.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>

namespace testing_support {

SimProcess::SimProcess(const std::string& program, const std::vector<std::string>& args)
    : process_(program, args, {}) {
    if (!process_.started()) return;
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{process_.outputFd(), POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char c;
        if (::read(process_.outputFd(), &c, 1) != 1) break;
        if (c != '\n') {
            line += c;
            continue;
        }
        if (line.rfind("PTY ", 0) == 0) {
            ptyPath_ = line.substr(4);
            break;
        }
        line.clear();
    }
}

std::string SimProcess::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<uint32_t> SwitchFrameRatesInTrace(const std::string& trace) {
    // The frame comes after seconds of quiet, so it opens a trace line of its own.
    static const std::regex frameStart(R"(^\s*\d+\.\d{3} H>R\s+(\d+)\s+A0 A2 00 18 81 02 )");
    std::vector<uint32_t> rates;
    std::istringstream lines(trace);
    std::string line;
    std::smatch m;
    while (std::getline(lines, line))
        if (std::regex_search(line, m, frameStart)) rates.push_back(static_cast<uint32_t>(std::stoul(m[1])));
    return rates;
}

}  // namespace testing_support
