#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <thread>

extern char** environ;

namespace testing_support {

namespace {

// The child's environment, built here: a threaded parent must not call setenv after fork.
std::vector<std::string> ChildEnvironment(const std::vector<std::pair<std::string, std::string>>& changes) {
    std::vector<std::string> out;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool changed = false;
        for (const auto& change : changes) changed = changed || change.first == name;
        if (!changed) out.push_back(text);
    }
    for (const auto& [name, value] : changes)
        if (!value.empty()) out.push_back(name + "=" + value);
    return out;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::pair<std::string, std::string>>& environment,
                           const std::string& logPath, Output output) {
    int input[2];
    int out[2] = {-1, -1};
    if (::pipe2(input, O_CLOEXEC) != 0) return;
    if (output == Output::Pipe && ::pipe2(out, O_CLOEXEC) != 0) {
        ::close(input[0]);
        ::close(input[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    if (!logPath.empty())
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (output == Output::Pipe) {
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    } else if (!logPath.empty()) {
        posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    }

    std::vector<std::string> argvText{program};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& text : argvText) argv.push_back(text.data());
    argv.push_back(nullptr);
    std::vector<std::string> envText = ChildEnvironment(environment);
    std::vector<char*> envp;
    for (auto& text : envText) envp.push_back(text.data());
    envp.push_back(nullptr);

    if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    stdinFd_ = input[1];
    if (out[1] >= 0) ::close(out[1]);
    stdoutFd_ = out[0];
    if (pid_ <= 0) closeInput();
}

ChildProcess::~ChildProcess() {
    closeInput();
    if (pid_ > 0 && !waitExit(std::chrono::milliseconds(2000))) terminate();
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
    if (exitStatus_ || pid_ <= 0) return exitStatus_;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return exitStatus_;
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int ChildProcess::terminate(std::chrono::milliseconds limit) {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        if (!waitExit(limit)) {
            ::kill(pid_, SIGKILL);
            waitExit(std::chrono::hours(1));
        }
    }
    return exitStatus_.value_or(-1);
}

}  // namespace testing_support
