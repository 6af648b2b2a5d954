#include "platform/console/ConsoleFrontEnd.h"

#include <cwctype>

#include "platform/DeviceNames.h"
#include "platform/MessageBox.h"
#include "platform/console/ConsoleCommand.h"
#include "platform/console/ConsoleInput.h"
#include "platform/console/ConsoleText.h"

namespace platform::console {

using platform::ui::ControlKind;
using platform::ui::ControlState;
using platform::ui::WindowHandle;

namespace {

// Captions compare without case and without the '&' that marks a mnemonic.
std::wstring captionKey(const std::wstring& caption) {
    std::wstring key;
    for (wchar_t c : caption) {
        if (c != L'&') key += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return key;
}

bool isNumber(const std::string& text) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

std::string flag(bool value) { return value ? "1" : "0"; }

}  // namespace

ConsoleFrontEnd::ConsoleFrontEnd(int inputFd, std::FILE* output)
    : windowThread_(std::this_thread::get_id()), output_(output) {
    reader_ = std::make_unique<ConsoleInput>(
        inputFd,
        [this](const std::string& line, bool tooLong) {
            std::lock_guard lock(mutex_);
            input_.push_back({line, tooLong});
            changed_.notify_all();
        },
        [this] {
            std::lock_guard lock(mutex_);
            inputEnded_ = true;
            changed_.notify_all();
        });
}

ConsoleFrontEnd::~ConsoleFrontEnd() { reader_.reset(); }

bool ConsoleFrontEnd::isWindowThread() const { return std::this_thread::get_id() == windowThread_; }

void ConsoleFrontEnd::emit(const std::string& line) {
    std::lock_guard lock(outputMutex_);
    std::fputs(line.c_str(), output_);
    std::fputc('\n', output_);
    // A script waits for each line; it must not sit in a buffer.
    std::fflush(output_);
}

void ConsoleFrontEnd::runOnWindowThread(const std::function<void()>& work) {
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

template <typename Finished>
void ConsoleFrontEnd::serveUntil(Finished finished) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (finished()) return;

        if (!requests_.empty()) {
            Request* request = requests_.front();
            requests_.pop_front();
            lock.unlock();
            (*request->work)();
            lock.lock();
            request->done = true;
            changed_.notify_all();
            continue;
        }

        if (!closes_.empty()) {
            WindowHandle window = closes_.front();
            closes_.pop_front();
            lock.unlock();
            auto dialog = dialogs_.find(window);
            if (dialog != dialogs_.end() && !dialog->second.ended) dialog->second.events->closeRequest();
            lock.lock();
            continue;
        }

        if (!input_.empty()) {
            InputLine line = std::move(input_.front());
            input_.pop_front();
            lock.unlock();
            takeInput(line);
            lock.lock();
            continue;
        }

        auto now = Clock::now();
        std::optional<Clock::time_point> wakeAt;
        if (inputOver()) {
            // Nobody can answer any more: every box is taken as answered, and the dialog is
            // asked to close until it does (it refuses while an update runs).
            for (OpenBox* box : boxes_) box->answered = true;
            boxes_.clear();
            if (fileDialog_ != nullptr) {
                fileDialog_->answered = true;
                fileDialog_ = nullptr;
            }
            changed_.notify_all();
            if (finished()) return;
            WindowHandle window = 0;
            Dialog* dialog = nestedLoops_ == 0 ? runningDialog(&window) : nullptr;
            if (dialog != nullptr) {
                if (!lastRepeatedClose_ || now - *lastRepeatedClose_ >= CloseRepeat) {
                    lastRepeatedClose_ = now;
                    lock.unlock();
                    dialog->events->closeRequest();
                    lock.lock();
                    continue;
                }
                wakeAt = *lastRepeatedClose_ + CloseRepeat;
            }
        }

        // The timer that is due first fires once, however late, and then counts afresh.
        WindowHandle dueWindow = 0;
        uint32_t dueTimer = 0;
        Timer* due = nullptr;
        for (auto& [window, dialog] : dialogs_) {
            for (auto& [id, timer] : dialog.timers) {
                if (due == nullptr || timer.due < due->due) {
                    due = &timer;
                    dueWindow = window;
                    dueTimer = id;
                }
            }
        }
        if (due != nullptr && due->due <= now) {
            due->due = now + std::chrono::milliseconds(due->periodMs);
            lock.unlock();
            dialogs_[dueWindow].events->timerFired(dueTimer);
            lock.lock();
            continue;
        }
        if (due != nullptr && (!wakeAt || due->due < *wakeAt)) wakeAt = due->due;

        if (wakeAt) {
            changed_.wait_until(lock, *wakeAt);
        } else {
            changed_.wait(lock);
        }
    }
}

ConsoleFrontEnd::Dialog* ConsoleFrontEnd::runningDialog(WindowHandle* handle) {
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
        if (it->second.modal && !it->second.ended) {
            if (handle != nullptr) *handle = it->first;
            return &it->second;
        }
    }
    return nullptr;
}

void ConsoleFrontEnd::takeInput(const InputLine& line) {
    if (line.tooLong) {
        emit("ERROR " + quote("input line longer than " + std::to_string(ConsoleInput::MaxLineBytes) +
                              " bytes ignored"));
        return;
    }
    ConsoleCommand command = parseConsoleCommand(line.text);
    using Kind = ConsoleCommand::Kind;
    switch (command.kind) {
    case Kind::Nothing: return;
    case Kind::Invalid: emit("ERROR " + quote(command.error)); return;
    case Kind::AnswerBox: {
        std::lock_guard lock(mutex_);
        if (boxes_.empty()) {
            emit("ERROR " + quote("ok: no message box is open"));
            return;
        }
        boxes_.front()->answered = true;
        boxes_.pop_front();
        changed_.notify_all();
        return;
    }
    case Kind::ChooseFile:
    case Kind::CancelFile: {
        std::lock_guard lock(mutex_);
        if (fileDialog_ == nullptr) {
            emit("ERROR " + quote(line.text + ": no file dialog is open"));
            return;
        }
        if (command.kind == Kind::ChooseFile) fileDialog_->path = platform::fromUtf8(command.argument);
        fileDialog_->answered = true;
        fileDialog_ = nullptr;
        changed_.notify_all();
        return;
    }
    default: break;
    }

    // The remaining inputs act on the dialog, which a box or file dialog of the window thread
    // keeps from taking them, as a modal box does in a window.
    if (nestedLoops_ > 0) {
        emit("ERROR " + quote(line.text + ": a message box is open; answer it with ok first"));
        return;
    }
    Dialog* dialog = runningDialog();
    if (dialog == nullptr) {
        emit("ERROR " + quote(line.text + ": no dialog is running"));
        return;
    }
    switch (command.kind) {
    case Kind::Press: press(*dialog, command.argument); return;
    case Kind::OkCommand: dialog->events->okCommand(); return;
    case Kind::CancelCommand: dialog->events->cancelCommand(); return;
    case Kind::Close: dialog->events->closeRequest(); return;
    default: return;
    }
}

void ConsoleFrontEnd::press(Dialog& dialog, const std::string& which) {
    const ControlState* found = nullptr;
    if (isNumber(which)) {
        int id = std::stoi(which);
        for (const auto& control : dialog.controls) {
            if (control.id == id) {
                found = &control;
                break;
            }
        }
    } else {
        // Of several buttons with the caption, the first one that can be pressed.
        std::wstring key = captionKey(platform::fromUtf8(which));
        for (const auto& control : dialog.controls) {
            if (control.kind != ControlKind::PushButton || captionKey(control.text) != key) continue;
            if (found == nullptr || (!(found->visible && found->enabled) && control.visible && control.enabled)) {
                found = &control;
            }
        }
    }
    std::string what = "press " + which;
    if (found == nullptr || found->kind != ControlKind::PushButton) {
        emit("ERROR " + quote(what + ": the dialog has no such button"));
        return;
    }
    if (!found->visible) {
        emit("ERROR " + quote(what + ": button " + std::to_string(found->id) + " is hidden"));
        return;
    }
    if (!found->enabled) {
        emit("ERROR " + quote(what + ": button " + std::to_string(found->id) + " is disabled"));
        return;
    }
    dialog.events->buttonPressed(found->id);
}

WindowHandle ConsoleFrontEnd::createDialog(const platform::ui::DialogTemplate& dialogTemplate,
                                           const std::vector<ControlState>& controls,
                                           platform::ui::DialogEvents& events) {
    WindowHandle window = nextHandle_++;
    Dialog& dialog = dialogs_[window];
    dialog.events = &events;
    dialog.templateId = dialogTemplate.id;
    dialog.controls = controls;
    emit("DIALOG " + std::to_string(dialogTemplate.id) + " " + quote(dialogTemplate.caption));
    if ((dialogTemplate.styles & platform::ui::DialogStyle::Visible) != 0) showWindow(window, true);
    return window;
}

void ConsoleFrontEnd::destroyDialog(WindowHandle window) { dialogs_.erase(window); }

int ConsoleFrontEnd::runModal(WindowHandle window) {
    auto found = dialogs_.find(window);
    if (found == dialogs_.end()) return -1;
    found->second.modal = true;
    serveUntil([&] { return dialogs_[window].ended; });
    Dialog& dialog = dialogs_[window];
    dialog.modal = false;
    return dialog.result;
}

void ConsoleFrontEnd::endModal(WindowHandle window, int result) {
    auto found = dialogs_.find(window);
    if (found == dialogs_.end() || found->second.ended) return;
    found->second.ended = true;
    found->second.result = result;
    emit("END " + std::to_string(result));
}

void ConsoleFrontEnd::postCloseRequest(WindowHandle window) {
    std::lock_guard lock(mutex_);
    closes_.push_back(window);
    changed_.notify_all();
}

void ConsoleFrontEnd::controlChanged(WindowHandle window, const ControlState& state) {
    auto found = dialogs_.find(window);
    if (found == dialogs_.end()) return;
    auto& controls = found->second.controls;
    if (state.index < 0 || state.index >= static_cast<int>(controls.size())) return;
    ControlState before = controls[state.index];
    controls[state.index] = state;
    std::string id = std::to_string(state.id);
    if (state.visible != before.visible) {
        emit("SHOW " + id + " " + flag(state.visible));
        // What a control shows when it appears is news too.
        if (state.visible && !state.text.empty() && state.text == before.text) emit("TEXT " + id + " " + quote(state.text));
    }
    if (state.text != before.text && state.visible) emit("TEXT " + id + " " + quote(state.text));
    if (state.enabled != before.enabled) emit("ENABLE " + id + " " + flag(state.enabled));
    if (state.kind == ControlKind::ProgressBar && state.position != before.position) {
        emit("PROGRESS " + id + " " + std::to_string(state.position));
    }
}

void ConsoleFrontEnd::placeWindow(WindowHandle, const platform::ui::WindowPlacement&) {}

void ConsoleFrontEnd::showWindow(WindowHandle window, bool shown) {
    auto found = dialogs_.find(window);
    if (found == dialogs_.end() || found->second.shown == shown) return;
    found->second.shown = shown;
    emit("WINDOW " + std::to_string(found->second.templateId) + " " + flag(shown));
}

void ConsoleFrontEnd::centreWindow(WindowHandle) {}
void ConsoleFrontEnd::setIcon(WindowHandle, int, bool) {}
// Every line is printed as it happens, so there is nothing left to paint.
void ConsoleFrontEnd::repaintNow(WindowHandle) {}

void ConsoleFrontEnd::setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) {
    auto found = dialogs_.find(window);
    if (found == dialogs_.end()) return;
    Timer& timer = found->second.timers[timerId];
    timer.periodMs = periodMs;
    timer.due = Clock::now() + std::chrono::milliseconds(periodMs);
    std::lock_guard lock(mutex_);
    changed_.notify_all();
}

void ConsoleFrontEnd::killTimer(WindowHandle window, uint32_t timerId) {
    auto found = dialogs_.find(window);
    if (found != dialogs_.end()) found->second.timers.erase(timerId);
}

int ConsoleFrontEnd::messageBox(WindowHandle, const std::wstring& text, const std::wstring& title, uint32_t) {
    emit("BOX " + quote(title) + " " + quote(text));
    OpenBox box;
    {
        std::unique_lock lock(mutex_);
        if (inputOver()) return platform::IdOk;
        boxes_.push_back(&box);
        changed_.notify_all();
        if (!isWindowThread()) {
            changed_.wait(lock, [&] { return box.answered; });
            return platform::IdOk;
        }
    }
    ++nestedLoops_;
    serveUntil([&] { return box.answered; });
    --nestedLoops_;
    return platform::IdOk;
}

std::optional<std::wstring> ConsoleFrontEnd::fileOpenDialog(WindowHandle, const platform::ui::FileOpenRequest& request) {
    std::wstring filter;
    for (const auto& entry : request.filters) filter += entry.description + L"|" + entry.pattern + L"|";
    filter += L"|";
    emit("FILE " + quote(request.title) + " " + quote(filter) + " " + quote(request.initialName));
    OpenFileDialog dialog;
    {
        std::lock_guard lock(mutex_);
        if (inputOver() || fileDialog_ != nullptr) return std::nullopt;
        fileDialog_ = &dialog;
    }
    ++nestedLoops_;
    serveUntil([&] { return dialog.answered; });
    --nestedLoops_;
    return dialog.path;
}

}  // namespace platform::console
