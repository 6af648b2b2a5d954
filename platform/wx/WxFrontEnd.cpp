#include "platform/wx/WxFrontEnd.h"

#include <cstdio>
#include <filesystem>

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/icon.h>
#include <wx/init.h>

#include "platform/DeviceNames.h"
#include "platform/MessageBox.h"
#include "platform/wx/DialogWindow.h"
#include "platform/wx/FileFilterList.h"
#include "platform/wx/MessageBoxWindow.h"
#include "platform/wx/ProgramIcon.h"
#include "platform/wx/TestHook.h"

namespace platform::wx {

using platform::ui::NoWindow;
using platform::ui::WindowHandle;

WxFrontEnd::WxFrontEnd() : windowThread_(std::this_thread::get_id()) {
    testHook_ = TestHook::fromEnvironment(*this);
}

WxFrontEnd::~WxFrontEnd() {
    {
        // Whoever still waits for the window thread is let go: no loop will serve it any more.
        std::unique_lock lock(mutex_);
        closed_ = true;
        queue_.clear();
        served_.notify_all();
        left_.wait(lock, [this] { return waiting_ == 0; });
    }
    testHook_.reset();
    for (auto& [handle, window] : dialogs_) {
        window->detach();
        window->Destroy();
    }
    dialogs_.clear();
    wxEntryCleanup();
}

bool WxFrontEnd::isWindowThread() const { return std::this_thread::get_id() == windowThread_; }

void WxFrontEnd::runOnWindowThread(const std::function<void()>& work) {
    if (isWindowThread()) {
        work();
        return;
    }
    request(work);
}

bool WxFrontEnd::request(const std::function<void()>& work) {
    Request pending{&work};
    std::unique_lock lock(mutex_);
    if (closed_) return false;
    queue_.push_back(&pending);
    ++waiting_;
    // One wake-up per request: each is served by whichever loop runs next, a box's included.
    wxTheApp->CallAfter([this] { serveOne(); });
    served_.wait(lock, [&] { return pending.done || closed_; });
    if (--waiting_ == 0) left_.notify_all();
    return pending.done;
}

void WxFrontEnd::serveOne() {
    Request* next = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (queue_.empty()) return;
        next = queue_.front();
        queue_.pop_front();
    }
    (*next->work)();
    {
        std::lock_guard lock(mutex_);
        next->done = true;
    }
    served_.notify_all();
}

WindowHandle WxFrontEnd::createDialog(const platform::ui::DialogTemplate& dialogTemplate,
                                      const std::vector<platform::ui::ControlState>& controls,
                                      platform::ui::DialogEvents& events) {
    WindowHandle handle = nextHandle_++;
    dialogs_[handle] = new DialogWindow(handle, dialogTemplate, controls, events);
    return handle;
}

void WxFrontEnd::destroyDialog(WindowHandle window) {
    auto found = dialogs_.find(window);
    if (found == dialogs_.end()) return;
    DialogWindow* dialog = found->second;
    dialogs_.erase(found);
    dialog->detach();
    dialog->Hide();
    // Deleted by wxWidgets once the loop is idle: an event of it may still be on the stack.
    dialog->Destroy();
}

int WxFrontEnd::runModal(WindowHandle window) {
    DialogWindow* dialog = this->dialog(window);
    if (dialog == nullptr) {
        std::fprintf(stderr, "window: no dialog %u to run\n", window);
        return -1;
    }
    loops_.push_back(window);
    int result = dialog->runModal();
    loops_.pop_back();
    nestedLoopDone();
    return result;
}

void WxFrontEnd::endModal(WindowHandle window, int result) {
    DialogWindow* dialog = this->dialog(window);
    if (dialog == nullptr) return;
    dialog->requestEnd(result);
    // Once the event being handled is done; ending a loop that is not the innermost one would
    // end the wrong loop, so finishEnds waits for that.
    wxTheApp->CallAfter([this] { finishEnds(); });
}

void WxFrontEnd::finishEnds() {
    if (loops_.empty() || loops_.back() == NoWindow) return;
    if (DialogWindow* dialog = this->dialog(loops_.back())) dialog->finishModal();
}

void WxFrontEnd::nestedLoopDone() {
    if (!loops_.empty()) wxTheApp->CallAfter([this] { finishEnds(); });
}

void WxFrontEnd::postCloseRequest(WindowHandle window) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    wxTheApp->CallAfter([this, window] {
        if (DialogWindow* dialog = this->dialog(window)) dialog->closeRequested();
    });
}

void WxFrontEnd::controlChanged(WindowHandle window, const platform::ui::ControlState& state) {
    if (DialogWindow* dialog = this->dialog(window)) dialog->mirror(state);
}

void WxFrontEnd::placeWindow(WindowHandle window, const platform::ui::WindowPlacement& placement) {
    if (DialogWindow* dialog = this->dialog(window)) dialog->place(placement);
}

void WxFrontEnd::showWindow(WindowHandle window, bool shown) {
    if (DialogWindow* dialog = this->dialog(window)) dialog->showWindow(shown);
}

void WxFrontEnd::centreWindow(WindowHandle window) {
    if (DialogWindow* dialog = this->dialog(window)) dialog->centre();
}

const wxIcon& WxFrontEnd::programIcon(bool large) {
    auto& icon = large ? largeIcon_ : smallIcon_;
    if (!icon) icon = std::make_unique<wxIcon>(ProgramIcon::draw(large ? ProgramIcon::LargeSize : ProgramIcon::SmallSize));
    return *icon;
}

void WxFrontEnd::setIcon(WindowHandle window, int iconResource, bool large) {
    DialogWindow* dialog = this->dialog(window);
    if (dialog == nullptr) return;
    if (iconResource != ProgramIcon::Resource) {
        std::fprintf(stderr, "window: there is no icon resource %d; the window keeps its icon\n", iconResource);
        return;
    }
    dialog->setIcon(programIcon(large), large);
}

void WxFrontEnd::repaintNow(WindowHandle window) {
    if (DialogWindow* dialog = this->dialog(window)) dialog->repaintNow();
}

void WxFrontEnd::setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) {
    if (DialogWindow* dialog = this->dialog(window)) dialog->setTimer(timerId, periodMs);
}

void WxFrontEnd::killTimer(WindowHandle window, uint32_t timerId) {
    if (DialogWindow* dialog = this->dialog(window)) dialog->killTimer(timerId);
}

int WxFrontEnd::messageBox(WindowHandle owner, const std::wstring& text, const std::wstring& title, uint32_t type) {
    if (isWindowThread()) return showBox(owner, text, title, type);
    int answer = platform::IdOk;
    if (!request([&] { answer = showBox(owner, text, title, type); })) {
        // The windows are gone (the program is ending): the text must not be lost.
        std::fprintf(stderr, "%s: %s\n", platform::toUtf8(title).c_str(), platform::toUtf8(text).c_str());
    }
    return answer;
}

int WxFrontEnd::showBox(WindowHandle owner, const std::wstring& text, const std::wstring& title, uint32_t type) {
    MessageBoxWindow box(dialog(owner), text, title, type);
    boxes_.push_back(&box);
    loops_.push_back(NoWindow);
    int answer = box.run();
    loops_.pop_back();
    boxes_.pop_back();
    nestedLoopDone();
    return answer;
}

std::optional<std::wstring> WxFrontEnd::fileOpenDialog(WindowHandle owner,
                                                       const platform::ui::FileOpenRequest& request) {
    if (isWindowThread()) return showFileDialog(owner, request);
    std::optional<std::wstring> chosen;
    this->request([&] { chosen = showFileDialog(owner, request); });
    return chosen;
}

std::optional<std::wstring> WxFrontEnd::showFileDialog(WindowHandle owner,
                                                       const platform::ui::FileOpenRequest& request) {
    // The initial name is a device name ("\My Document"): it starts the dialog in the host
    // folder standing for it, or in its parent with the name filled in.
    namespace fs = std::filesystem;
    fs::path initial = platform::hostFilePath(request.initialName);
    std::error_code error;
    wxString folder;
    wxString file;
    if (fs::is_directory(initial, error)) {
        folder = wxString::FromUTF8(initial.string());
    } else {
        folder = wxString::FromUTF8(initial.parent_path().string());
        file = wxString::FromUTF8(initial.filename().string());
    }
    wxFileDialog chooser(dialog(owner), wxString(request.title), folder, file,
                         wxString(FileFilterList::toWildcard(request.filters)), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    loops_.push_back(NoWindow);
    wxDialog* outer = fileDialog_;
    fileDialog_ = &chooser;
    int answer = chooser.ShowModal();
    fileDialog_ = outer;
    loops_.pop_back();
    nestedLoopDone();
    if (answer != wxID_OK) return std::nullopt;
    return chooser.GetPath().ToStdWstring();
}

DialogWindow* WxFrontEnd::dialog(WindowHandle window) const {
    auto found = dialogs_.find(window);
    return found != dialogs_.end() ? found->second : nullptr;
}

DialogWindow* WxFrontEnd::newestDialog() const { return dialogs_.empty() ? nullptr : dialogs_.rbegin()->second; }

MessageBoxWindow* WxFrontEnd::frontBox() const { return boxes_.empty() ? nullptr : boxes_.back(); }

void WxFrontEnd::describe(std::ostream& out) const {
    out << "frontend loops=" << loops_.size() << " boxes=" << boxes_.size() << '\n';
    for (const auto& [handle, window] : dialogs_) window->describe(out);
    for (const MessageBoxWindow* box : boxes_) {
        wxRect frame = box->GetScreenRect();
        out << "box owned=" << box->owned() << " title=" << TestHook::quoted(box->title())
            << " text=" << TestHook::quoted(box->text()) << " shown=" << box->IsShown() << " frame=" << frame.x << ','
            << frame.y << ',' << frame.width << ',' << frame.height << '\n';
    }
}

}  // namespace platform::wx
