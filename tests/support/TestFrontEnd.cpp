#include "tests/support/TestFrontEnd.h"

#include <stdexcept>

#include "platform/MessageBox.h"
#include "platform/console/ConsoleText.h"

namespace testing_support {

using platform::ui::ControlKind;
using platform::ui::ControlState;
using platform::ui::WindowHandle;
using platform::console::quote;

TestFrontEnd::TestFrontEnd() : windowThread_(std::this_thread::get_id()) {}

void TestFrontEnd::record(const std::string& line) {
    std::lock_guard lock(mutex_);
    log_.push_back(line);
}

std::vector<std::string> TestFrontEnd::log() const {
    std::lock_guard lock(mutex_);
    return log_;
}

std::vector<std::string> TestFrontEnd::logOf(const std::vector<std::string>& prefixes) const {
    std::vector<std::string> picked;
    for (const auto& line : log()) {
        for (const auto& prefix : prefixes) {
            if (line.rfind(prefix, 0) == 0) {
                picked.push_back(line);
                break;
            }
        }
    }
    return picked;
}

void TestFrontEnd::clearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

std::vector<ShownBox> TestFrontEnd::boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
}

TestFrontEnd::Dialog* TestFrontEnd::newest() { return dialogs_.empty() ? nullptr : &dialogs_.rbegin()->second; }

const TestFrontEnd::Dialog* TestFrontEnd::newest() const {
    return dialogs_.empty() ? nullptr : &dialogs_.rbegin()->second;
}

const ControlState& TestFrontEnd::control(int controlId) const {
    if (const Dialog* dialog = newest()) {
        for (const auto& state : dialog->controls) {
            if (state.id == controlId) return state;
        }
    }
    throw std::out_of_range("no control " + std::to_string(controlId));
}

bool TestFrontEnd::timerRunning(uint32_t timerId) const {
    const Dialog* dialog = newest();
    return dialog != nullptr && dialog->timers.count(timerId) != 0;
}

uint32_t TestFrontEnd::timerPeriod(uint32_t timerId) const {
    const Dialog* dialog = newest();
    if (dialog == nullptr) return 0;
    auto found = dialog->timers.find(timerId);
    return found == dialog->timers.end() ? 0 : found->second;
}

bool TestFrontEnd::windowShown() const { return newest() != nullptr && newest()->shown; }

platform::ui::WindowPlacement TestFrontEnd::placement() const {
    return newest() != nullptr ? newest()->placement : platform::ui::WindowPlacement{};
}

bool TestFrontEnd::ended() const { return newest() != nullptr && newest()->ended; }

int TestFrontEnd::result() const { return newest() != nullptr ? newest()->result : -1; }

bool TestFrontEnd::press(int controlId) {
    Dialog* dialog = newest();
    if (dialog == nullptr) return false;
    for (const auto& state : dialog->controls) {
        if (state.id != controlId) continue;
        // As in a window: what cannot be seen or is greyed cannot be clicked.
        if (state.kind != ControlKind::PushButton || !state.visible || !state.enabled) return false;
        record("user press " + std::to_string(controlId));
        dialog->events->buttonPressed(controlId);
        return true;
    }
    return false;
}

void TestFrontEnd::okCommand() {
    record("user command ok");
    if (Dialog* dialog = newest()) dialog->events->okCommand();
}

void TestFrontEnd::cancelCommand() {
    record("user command cancel");
    if (Dialog* dialog = newest()) dialog->events->cancelCommand();
}

void TestFrontEnd::closeRequest() {
    record("user close");
    if (Dialog* dialog = newest()) dialog->events->closeRequest();
}

bool TestFrontEnd::fireTimer(uint32_t timerId) {
    Dialog* dialog = newest();
    if (dialog == nullptr || dialog->timers.count(timerId) == 0) return false;
    record("tick " + std::to_string(timerId));
    dialog->events->timerFired(timerId);
    return true;
}

int TestFrontEnd::serve() {
    int served = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (!requests_.empty()) {
            Request* request = requests_.front();
            requests_.pop_front();
            lock.unlock();
            (*request->work)();
            lock.lock();
            request->done = true;
            changed_.notify_all();
            ++served;
            continue;
        }
        if (!closes_.empty()) {
            WindowHandle window = closes_.front();
            closes_.pop_front();
            lock.unlock();
            auto dialog = dialogs_.find(window);
            if (dialog != dialogs_.end() && !dialog->second.ended) dialog->second.events->closeRequest();
            lock.lock();
            ++served;
            continue;
        }
        return served;
    }
}

bool TestFrontEnd::serveUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        serve();
        if (done()) return true;
        std::unique_lock lock(mutex_);
        if (std::chrono::steady_clock::now() >= deadline) return false;
        changed_.wait_for(lock, std::chrono::milliseconds(5),
                          [&] { return !requests_.empty() || !closes_.empty(); });
    }
}

bool TestFrontEnd::isWindowThread() const { return std::this_thread::get_id() == windowThread_; }

void TestFrontEnd::runOnWindowThread(const std::function<void()>& work) {
    if (isWindowThread()) {
        work();
        return;
    }
    Request request;
    request.work = &work;
    std::unique_lock lock(mutex_);
    requests_.push_back(&request);
    changed_.notify_all();
    changed_.wait(lock, [&] { return request.done; });
}

WindowHandle TestFrontEnd::createDialog(const platform::ui::DialogTemplate& dialogTemplate,
                                        const std::vector<ControlState>& controls,
                                        platform::ui::DialogEvents& events) {
    WindowHandle window = nextHandle_++;
    Dialog& dialog = dialogs_[window];
    dialog.events = &events;
    dialog.templateId = dialogTemplate.id;
    dialog.controls = controls;
    dialog.shown = (dialogTemplate.styles & platform::ui::DialogStyle::Visible) != 0;
    record("create " + std::to_string(dialogTemplate.id) + (dialog.shown ? " shown" : " hidden"));
    return window;
}

void TestFrontEnd::destroyDialog(WindowHandle window) {
    record("destroy");
    // Kept for the test to look at after the run; only its timers stop.
    auto found = dialogs_.find(window);
    if (found != dialogs_.end()) found->second.timers.clear();
}

int TestFrontEnd::runModal(WindowHandle window) {
    record("modal");
    if (driver_) driver_(*this);
    Dialog& dialog = dialogs_[window];
    if (!dialog.ended) {
        record("modal left without an end");
        return -1;
    }
    return dialog.result;
}

void TestFrontEnd::endModal(WindowHandle window, int result) {
    Dialog& dialog = dialogs_[window];
    if (dialog.ended) return;
    dialog.ended = true;
    dialog.result = result;
    record("end " + std::to_string(result));
}

void TestFrontEnd::postCloseRequest(WindowHandle window) {
    record("post close");
    std::lock_guard lock(mutex_);
    closes_.push_back(window);
    changed_.notify_all();
}

void TestFrontEnd::controlChanged(WindowHandle window, const ControlState& state) {
    Dialog& dialog = dialogs_[window];
    if (state.index < 0 || state.index >= static_cast<int>(dialog.controls.size())) {
        record("bad control index " + std::to_string(state.index));
        return;
    }
    ControlState before = dialog.controls[state.index];
    dialog.controls[state.index] = state;
    std::string id = std::to_string(state.id);
    if (state.visible != before.visible) record("visible " + id + " " + (state.visible ? "1" : "0"));
    if (state.text != before.text) record("text " + id + " " + quote(state.text));
    if (state.enabled != before.enabled) record("enable " + id + " " + (state.enabled ? "1" : "0"));
    if (state.items != before.items || state.selected != before.selected) {
        std::string items;
        for (const auto& item : state.items) items += (items.empty() ? "" : ",") + platform::console::quote(item);
        record("items " + id + " [" + items + "] selected " + std::to_string(state.selected));
    }
    if (state.lower != before.lower || state.upper != before.upper || state.step != before.step) {
        record("range " + id + " " + std::to_string(state.lower) + ".." + std::to_string(state.upper) + " step " +
               std::to_string(state.step));
    }
    if (state.position != before.position) record("progress " + id + " " + std::to_string(state.position));
}

void TestFrontEnd::placeWindow(WindowHandle window, const platform::ui::WindowPlacement& placement) {
    dialogs_[window].placement = placement;
    record(std::string("place") + (placement.topMost ? " topmost " : " ") + std::to_string(placement.x) + " " +
           std::to_string(placement.y) + " " + std::to_string(placement.width) + " " +
           std::to_string(placement.height));
}

void TestFrontEnd::showWindow(WindowHandle window, bool shown) {
    dialogs_[window].shown = shown;
    record(std::string("show ") + (shown ? "1" : "0"));
}

void TestFrontEnd::centreWindow(WindowHandle) { record("centre"); }

void TestFrontEnd::setIcon(WindowHandle, int iconResource, bool large) {
    record(std::string("icon ") + (large ? "large " : "small ") + std::to_string(iconResource));
}

void TestFrontEnd::repaintNow(WindowHandle) { record("repaint"); }

void TestFrontEnd::setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) {
    dialogs_[window].timers[timerId] = periodMs;
    record("timer " + std::to_string(timerId) + " " + std::to_string(periodMs));
}

void TestFrontEnd::killTimer(WindowHandle window, uint32_t timerId) {
    dialogs_[window].timers.erase(timerId);
    record("kill " + std::to_string(timerId));
}

int TestFrontEnd::messageBox(WindowHandle owner, const std::wstring& text, const std::wstring& title, uint32_t type) {
    ShownBox box{owner, text, title, type, isWindowThread()};
    {
        std::lock_guard lock(mutex_);
        boxes_.push_back(box);
        log_.push_back(std::string("box ") + (owner != platform::ui::NoWindow ? "owned " : "unowned ") + quote(title) +
                       " " + quote(text));
    }
    if (boxHook_) boxHook_(box);
    // The nested loop of a box on the window thread serves what waits.
    if (box.onWindowThread) serve();
    return platform::IdOk;
}

std::optional<std::wstring> TestFrontEnd::fileOpenDialog(WindowHandle, const platform::ui::FileOpenRequest& request) {
    std::wstring filter;
    for (const auto& entry : request.filters) filter += entry.description + L"|" + entry.pattern + L"|";
    filter += L"|";
    record("file " + quote(request.title) + " " + quote(filter) + " " + quote(request.initialName) +
           (request.explorerStyle ? " explorer" : ""));
    return fileAnswer_;
}

}  // namespace testing_support
