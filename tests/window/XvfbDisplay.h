// A private X server (Xvfb) for the window tests: started on a free display number, named in
// this process's DISPLAY (so programs the test starts use it too), and stopped at the end.
#pragma once

#include <sys/types.h>

#include <string>

namespace window_tests {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class XvfbDisplay {
public:
    static constexpr int Width = 1024;
    static constexpr int Height = 768;

    XvfbDisplay();
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool running() const { return !name_.empty(); }
    // ":N", or empty when the server did not start (error() says why).
    const std::string& name() const { return name_; }
    const std::string& error() const { return error_; }

    // Saves a rectangle of the screen as a PNG (ImageMagick's import); false on failure.
    bool capture(const std::string& pngPath, const ScreenRect& rect) const;

private:
    pid_t pid_ = -1;
    std::string name_;
    std::string error_;
};

// How many pixels of two images of one size differ (ImageMagick's compare); -1 when they
// cannot be compared.
long differingPixels(const std::string& pngA, const std::string& pngB);

// Runs a command through the shell and returns what it printed on standard output.
std::string commandOutput(const std::string& command);

}  // namespace window_tests
