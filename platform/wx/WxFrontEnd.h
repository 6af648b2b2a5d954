// The window front end on wxWidgets: one window thread, the modal loops of dialogs and boxes
// run by wxWidgets, and requests from other threads marshalled onto the window thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <thread>
#include <vector>

#include "platform/ui/FrontEnd.h"

class wxDialog;
class wxIcon;

namespace platform::wx {

class DialogWindow;
class MessageBoxWindow;
class TestHook;

class WxFrontEnd : public platform::ui::FrontEnd {
public:
    // The toolkit is set up already (see makeWindowFrontEnd); the calling thread becomes the
    // window thread. The destructor shuts the toolkit down.
    WxFrontEnd();
    ~WxFrontEnd() override;
    WxFrontEnd(const WxFrontEnd&) = delete;
    WxFrontEnd& operator=(const WxFrontEnd&) = delete;

    const char* name() const override { return "window"; }
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

    // --- Test hooks (window thread) ---
    // The dialog of a handle, or null.
    DialogWindow* dialog(platform::ui::WindowHandle window) const;
    // The most recently created dialog that is still there, or null.
    DialogWindow* newestDialog() const;
    // The box in front (the innermost open one), or null.
    MessageBoxWindow* frontBox() const;
    // The file-open dialog while it is open, or null.
    wxDialog* openFileDialog() const { return fileDialog_; }
    // How many boxes are open now.
    size_t openBoxes() const { return boxes_.size(); }
    // Every window and control as lines of text.
    void describe(std::ostream& out) const;

private:
    struct Request {
        const std::function<void()>* work = nullptr;
        bool done = false;
    };

    // From another thread: queues work for the window thread and waits for it. False when the
    // front end has shut down and the work will never run.
    bool request(const std::function<void()>& work);
    void serveOne();
    int showBox(platform::ui::WindowHandle owner, const std::wstring& text, const std::wstring& title,
                uint32_t type);
    std::optional<std::wstring> showFileDialog(platform::ui::WindowHandle owner,
                                               const platform::ui::FileOpenRequest& request);
    // A nested loop has returned: a dialog whose end waited for it may end now.
    void nestedLoopDone();
    void finishEnds();
    const wxIcon& programIcon(bool large);

    std::thread::id windowThread_;
    std::map<platform::ui::WindowHandle, DialogWindow*> dialogs_;
    platform::ui::WindowHandle nextHandle_ = 1;
    // The loops the window thread is in, innermost last: a dialog's handle, or NoWindow for a
    // box or the file dialog.
    std::vector<platform::ui::WindowHandle> loops_;
    std::vector<MessageBoxWindow*> boxes_;
    wxDialog* fileDialog_ = nullptr;
    std::unique_ptr<wxIcon> largeIcon_;
    std::unique_ptr<wxIcon> smallIcon_;

    std::mutex mutex_;
    std::condition_variable served_;
    std::condition_variable left_;
    std::deque<Request*> queue_;
    int waiting_ = 0;  // threads inside request(): the front end outlives them
    bool closed_ = false;

    std::unique_ptr<TestHook> testHook_;
};

}  // namespace platform::wx
