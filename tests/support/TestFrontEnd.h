// The unit tests' front end: records everything the dialog layer does, in order, as one line
// each, and lets the test act as the user and as the clock: it presses buttons, gives the
// commands and fires timer ticks itself, from inside the modal run.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/FrontEnd.h"

namespace testing_support {

struct ShownBox {
    platform::ui::WindowHandle owner = platform::ui::NoWindow;
    std::wstring text;
    std::wstring title;
    uint32_t type = 0;
    bool onWindowThread = true;
    bool operator==(const ShownBox&) const = default;
};

class TestFrontEnd : public platform::ui::FrontEnd {
public:
    // The constructing thread is the window thread.
    TestFrontEnd();

    // --- What the test sees --------------------------------------------------------------
    // One line per thing done, e.g. `box owned "Warning" "In order..."`, `show 1`,
    // `text 1010 "Ready"`, `timer 1 2000`, `kill 100`, `enable 1008 1`, `end 1`.
    std::vector<std::string> log() const;
    // The lines of the log that start with one of the prefixes, in order.
    std::vector<std::string> logOf(const std::vector<std::string>& prefixes) const;
    void clearLog();
    std::vector<ShownBox> boxes() const;

    // State of the newest dialog's controls (window thread).
    const platform::ui::ControlState& control(int controlId) const;
    std::wstring text(int controlId) const { return control(controlId).text; }
    bool timerRunning(uint32_t timerId) const;
    uint32_t timerPeriod(uint32_t timerId) const;
    bool windowShown() const;
    platform::ui::WindowPlacement placement() const;
    bool ended() const;
    int result() const;

    // --- Acting (window thread, from the modal driver or a box hook) ----------------------
    // Runs inside runModal, as the user and the clock; runModal returns when it has returned.
    void onModal(std::function<void(TestFrontEnd&)> driver) { driver_ = std::move(driver); }
    // Runs inside each message box, on the thread that shows it, before the box is answered.
    void onBox(std::function<void(const ShownBox&)> hook) { boxHook_ = std::move(hook); }
    // What the next file dialogs answer: a path, or nothing for Cancel.
    void answerFileDialogs(std::optional<std::wstring> path) { fileAnswer_ = std::move(path); }

    // false, with nothing done, when the button is missing, hidden or disabled.
    bool press(int controlId);
    void okCommand();
    void cancelCommand();
    void closeRequest();
    // Delivers one tick; false when the timer is not running.
    bool fireTimer(uint32_t timerId);
    // Serves the requests and posted close requests that are waiting; returns how many.
    int serve();
    // Serves until done() or the limit of real time passed; returns done().
    bool serveUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

    // --- FrontEnd --------------------------------------------------------------------------
    const char* name() const override { return "test"; }
    bool isWindowThread() const override;
    void runOnWindowThread(const std::function<void()>& work) override;
    platform::ui::WindowHandle createDialog(const platform::ui::DialogTemplate& dialogTemplate,
                                            const std::vector<platform::ui::ControlState>& controls,
                                            platform::ui::DialogEvents& events) override;
    void destroyDialog(platform::ui::WindowHandle window) override;
    int runModal(platform::ui::WindowHandle window) override;
    void endModal(platform::ui::WindowHandle window, int result) override;
    void postCloseRequest(platform::ui::WindowHandle window) override;
    void controlChanged(platform::ui::WindowHandle window, const platform::ui::ControlState& state) override;
    void placeWindow(platform::ui::WindowHandle window, const platform::ui::WindowPlacement& placement) override;
    void showWindow(platform::ui::WindowHandle window, bool shown) override;
    void centreWindow(platform::ui::WindowHandle window) override;
    void setIcon(platform::ui::WindowHandle window, int iconResource, bool large) override;
    void repaintNow(platform::ui::WindowHandle window) override;
    void setTimer(platform::ui::WindowHandle window, uint32_t timerId, uint32_t periodMs) override;
    void killTimer(platform::ui::WindowHandle window, uint32_t timerId) override;
    int messageBox(platform::ui::WindowHandle owner, const std::wstring& text, const std::wstring& title,
                   uint32_t type) override;
    std::optional<std::wstring> fileOpenDialog(platform::ui::WindowHandle owner,
                                               const platform::ui::FileOpenRequest& request) override;

private:
    struct Dialog {
        platform::ui::DialogEvents* events = nullptr;
        int templateId = 0;
        std::vector<platform::ui::ControlState> controls;
        std::map<uint32_t, uint32_t> timers;  // id -> period
        platform::ui::WindowPlacement placement;
        bool shown = false;
        bool ended = false;
        int result = 0;
    };
    struct Request {
        const std::function<void()>* work = nullptr;
        bool done = false;
    };

    void record(const std::string& line);
    Dialog* newest();
    const Dialog* newest() const;

    const std::thread::id windowThread_;
    std::function<void(TestFrontEnd&)> driver_;
    std::function<void(const ShownBox&)> boxHook_;
    std::optional<std::wstring> fileAnswer_;

    mutable std::mutex mutex_;  // log, boxes and the queues: other threads reach them
    std::condition_variable changed_;
    std::vector<std::string> log_;
    std::vector<ShownBox> boxes_;
    std::deque<Request*> requests_;
    std::deque<platform::ui::WindowHandle> closes_;

    std::map<platform::ui::WindowHandle, Dialog> dialogs_;  // window thread only
    platform::ui::WindowHandle nextHandle_ = 1;
};

}  // namespace testing_support
