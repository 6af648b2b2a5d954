#include "tests/support/SimProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>

extern char** environ;

namespace testing_support {

SimProcess::SimProcess(const std::string& program, const std::vector<std::string>& args) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int rc = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    stdoutFd_ = out[0];
    if (rc != 0) {
        pid_ = -1;
        return;
    }
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{stdoutFd_, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char c;
        if (::read(stdoutFd_, &c, 1) != 1) break;
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

SimProcess::~SimProcess() {
    stop();
    if (stdoutFd_ >= 0) ::close(stdoutFd_);
}

int SimProcess::stop() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
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
