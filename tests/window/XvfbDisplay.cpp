#include "tests/window/XvfbDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace window_tests {

XvfbDisplay::XvfbDisplay() {
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) {
        error_ = "pipe failed";
        return;
    }
    // -displayfd: the server picks a free display number and writes it once it accepts clients,
    // so parallel tests (and other people's servers) never collide.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ready[1], 3);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> words = {"Xvfb", "-displayfd", "3", "-screen", "0",
                                      std::to_string(Width) + "x" + std::to_string(Height) + "x24", "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int rc = ::posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ready[1]);
    if (rc != 0) {
        pid_ = -1;
        ::close(ready[0]);
        error_ = "cannot start Xvfb (Debian package xvfb)";
        return;
    }
    std::string number;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{ready[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char c;
        if (::read(ready[0], &c, 1) != 1) break;
        if (c == '\n') break;
        number += c;
    }
    ::close(ready[0]);
    if (number.empty()) {
        error_ = "Xvfb did not report a display within 15 s";
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return;
    }
    name_ = ":" + number;
    ::setenv("DISPLAY", name_.c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");
}

XvfbDisplay::~XvfbDisplay() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

bool XvfbDisplay::capture(const std::string& pngPath, const ScreenRect& rect) const {
    if (!running()) return false;
    std::string command = "import -display " + name_ + " -window root -crop " + std::to_string(rect.width) + "x" +
                          std::to_string(rect.height) + "+" + std::to_string(rect.x) + "+" + std::to_string(rect.y) +
                          " +repage '" + pngPath + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

long differingPixels(const std::string& pngA, const std::string& pngB) {
    // compare prints the count on standard error and exits 1 when the images differ.
    std::string said = commandOutput("compare -metric AE '" + pngA + "' '" + pngB + "' null: 2>&1");
    char* end = nullptr;
    long count = std::strtol(said.c_str(), &end, 10);
    return end != said.c_str() ? count : -1;
}

std::string commandOutput(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    ::pclose(pipe);
    return output;
}

}  // namespace window_tests
