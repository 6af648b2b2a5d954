// The console front end: a dialog on a terminal or under a script. Every message box, every
// change of a shown control's text, of a control's enabled state and of a progress bar's
// position, and the end of the dialog is printed as one line; the user's actions are read as
// lines. The line format is documented in the README ("Ferrovane on the console").
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/FrontEnd.h"

namespace platform::console {

class ConsoleInput;

class ConsoleFrontEnd : public platform::ui::FrontEnd {
public:
    // After the end of input the close request is repeated this often until the dialog ends.
    static constexpr std::chrono::milliseconds CloseRepeat{1000};

    // The constructing thread becomes the window thread. Reads lines from inputFd, prints to
    // output.
    ConsoleFrontEnd(int inputFd, std::FILE* output);
    ~ConsoleFrontEnd() override;

    const char* name() const override { return "console"; }
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
    using Clock = std::chrono::steady_clock;

    struct Timer {
        uint32_t periodMs = 0;
        Clock::time_point due;
    };
    struct Dialog {
        platform::ui::DialogEvents* events = nullptr;
        int templateId = 0;
        std::vector<platform::ui::ControlState> controls;
        bool shown = false;
        bool modal = false;
        bool ended = false;
        int result = 0;
        std::map<uint32_t, Timer> timers;
    };
    struct Request {
        const std::function<void()>* work = nullptr;
        bool done = false;
    };
    struct OpenBox {
        bool answered = false;
    };
    struct OpenFileDialog {
        bool answered = false;
        std::optional<std::wstring> path;
    };
    struct InputLine {
        std::string text;
        bool tooLong = false;
    };

    void emit(const std::string& line);
    // The window thread's loop, until finished() (called with mutex_ held) says so.
    template <typename Finished>
    void serveUntil(Finished finished);
    void takeInput(const InputLine& line);
    void press(Dialog& dialog, const std::string& which);
    // The dialog that takes the user's actions: the newest one in its modal loop.
    Dialog* runningDialog(platform::ui::WindowHandle* handle = nullptr);
    bool inputOver() const { return inputEnded_ && input_.empty(); }  // mutex_ held

    const std::thread::id windowThread_;
    std::FILE* output_;
    std::mutex outputMutex_;

    // Shared with other threads, under mutex_.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Request*> requests_;
    std::deque<platform::ui::WindowHandle> closes_;
    std::deque<InputLine> input_;
    bool inputEnded_ = false;
    std::deque<OpenBox*> boxes_;  // open boxes, oldest first
    OpenFileDialog* fileDialog_ = nullptr;

    // Window thread only.
    std::map<platform::ui::WindowHandle, Dialog> dialogs_;
    platform::ui::WindowHandle nextHandle_ = 1;
    int nestedLoops_ = 0;  // boxes and file dialogs open on the window thread
    std::optional<Clock::time_point> lastRepeatedClose_;

    std::unique_ptr<ConsoleInput> reader_;  // last, so it stops first
};

}  // namespace platform::console
