#include "tests/ui/ChildProcess.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testing_support {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::pair<std::string, std::string>>& environment,
                           const std::string& stderrPath) {
    int input[2];
    int output[2];
    if (::pipe2(input, O_CLOEXEC) != 0) return;
    if (::pipe2(output, O_CLOEXEC) != 0) {
        ::close(input[0]);
        ::close(input[1]);
        return;
    }
    std::vector<std::string> argvText{program};
    argvText.insert(argvText.end(), args.begin(), args.end());
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(input[0], STDIN_FILENO);
        ::dup2(output[1], STDOUT_FILENO);
        if (!stderrPath.empty()) {
            int err = ::open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (err >= 0) ::dup2(err, STDERR_FILENO);
        }
        for (const auto& [name, value] : environment) {
            if (value.empty()) {
                ::unsetenv(name.c_str());
            } else {
                ::setenv(name.c_str(), value.c_str(), 1);
            }
        }
        std::vector<char*> argv;
        for (auto& text : argvText) argv.push_back(text.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    stdinFd_ = input[1];
    stdoutFd_ = output[0];
    if (pid_ < 0) closeInput();
}

ChildProcess::~ChildProcess() {
    closeInput();
    if (pid_ > 0 && !waitExit(std::chrono::milliseconds(2000))) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (stdoutFd_ >= 0) ::close(stdoutFd_);
}

void ChildProcess::writeLine(const std::string& line) {
    if (stdinFd_ < 0) return;
    std::string text = line + "\n";
    // A program that has ended makes the write fail; the test then sees its missing output.
    auto previous = std::signal(SIGPIPE, SIG_IGN);
    [[maybe_unused]] ssize_t written = ::write(stdinFd_, text.data(), text.size());
    std::signal(SIGPIPE, previous);
}

void ChildProcess::closeInput() {
    if (stdinFd_ >= 0) ::close(stdinFd_);
    stdinFd_ = -1;
}

std::optional<int> ChildProcess::waitExit(std::chrono::milliseconds limit) {
    if (pid_ <= 0) return std::nullopt;
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace testing_support
