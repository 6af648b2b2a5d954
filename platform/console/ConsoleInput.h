// Reads the console's input lines on a thread of its own, so the window thread never blocks on
// the terminal. Stops at the end of input, on a read error, or when destroyed.
#pragma once

#include <functional>
#include <string>
#include <thread>

namespace platform::console {

class ConsoleInput {
public:
    static constexpr size_t MaxLineBytes = 4096;

    // line gets each line without its LF (and without a CR before it); tooLong is true for a
    // line longer than MaxLineBytes, whose text is then cut. ended is called once, last.
    ConsoleInput(int fd, std::function<void(const std::string& line, bool tooLong)> line,
                 std::function<void()> ended);
    ~ConsoleInput();
    ConsoleInput(const ConsoleInput&) = delete;
    ConsoleInput& operator=(const ConsoleInput&) = delete;

private:
    void run();

    int fd_;
    int wake_[2] = {-1, -1};
    std::function<void(const std::string&, bool)> line_;
    std::function<void()> ended_;
    std::thread reader_;
};

}  // namespace platform::console
