#include "platform/ui/CWnd.h"

#include "platform/ui/CDialog.h"

using platform::ui::ControlState;
using platform::ui::frontEnd;
using platform::ui::hasFrontEnd;

void CWnd::Attach(CDialog* dialog, int controlIndex) {
    dialog_ = dialog;
    index_ = controlIndex;
}

int CWnd::GetDlgCtrlID() const { return isControl() ? dialog_->dialogTemplate().controls[index_].id : 0; }

platform::ui::WindowHandle CWnd::windowHandle() const {
    return dialog_ != nullptr ? dialog_->handle() : platform::ui::NoWindow;
}

void CWnd::onWindowThread(const std::function<void()>& work) {
    if (!hasFrontEnd() || frontEnd().isWindowThread()) {
        work();
    } else {
        frontEnd().runOnWindowThread(work);
    }
}

void CWnd::changeControl(const std::function<void(ControlState&)>& change) {
    if (!isControl()) return;
    onWindowThread([&] { dialog_->changeControl(index_, change); });
}

ControlState CWnd::controlState() const {
    ControlState state;
    if (!isControl()) return state;
    onWindowThread([&] { state = dialog_->controlStates()[index_]; });
    return state;
}

void CWnd::SetWindowText(const std::wstring& text) {
    changeControl([&](ControlState& s) { s.text = text; });
}

std::wstring CWnd::GetWindowText() const { return controlState().text; }

void CWnd::EnableWindow(bool enable) {
    changeControl([&](ControlState& s) { s.enabled = enable; });
}

bool CWnd::IsWindowEnabled() const { return controlState().enabled; }

void CWnd::ShowWindow(bool show) {
    if (isControl()) {
        changeControl([&](ControlState& s) { s.visible = show; });
        return;
    }
    if (dialog_ == nullptr) return;
    onWindowThread([&] {
        dialog_->windowShown_ = show;
        if (dialog_->handle() != platform::ui::NoWindow) frontEnd().showWindow(dialog_->handle(), show);
    });
}

bool CWnd::IsWindowVisible() const {
    if (isControl()) return controlState().visible;
    bool shown = false;
    if (dialog_ != nullptr) onWindowThread([&] { shown = dialog_->windowShown_; });
    return shown;
}

// The window operations below act on a dialog that has its window; before and after, there is
// nothing to act on, as with a window handle that is not valid.

void CWnd::SetWindowPos(const platform::ui::WindowPlacement& placement) {
    onWindowThread([&] {
        if (windowHandle() != platform::ui::NoWindow) frontEnd().placeWindow(windowHandle(), placement);
    });
}

void CWnd::CenterWindow() {
    onWindowThread([&] {
        if (windowHandle() != platform::ui::NoWindow) frontEnd().centreWindow(windowHandle());
    });
}

void CWnd::SetIcon(int iconResource, bool large) {
    onWindowThread([&] {
        if (windowHandle() != platform::ui::NoWindow) frontEnd().setIcon(windowHandle(), iconResource, large);
    });
}

void CWnd::UpdateWindow() {
    onWindowThread([&] {
        if (windowHandle() != platform::ui::NoWindow) frontEnd().repaintNow(windowHandle());
    });
}

void CWnd::SetTimer(uint32_t timerId, uint32_t periodMs) {
    onWindowThread([&] {
        if (windowHandle() != platform::ui::NoWindow) frontEnd().setTimer(windowHandle(), timerId, periodMs);
    });
}

void CWnd::KillTimer(uint32_t timerId) {
    onWindowThread([&] {
        if (windowHandle() != platform::ui::NoWindow) frontEnd().killTimer(windowHandle(), timerId);
    });
}

void CWnd::PostCloseRequest() {
    // Posting never waits, from whichever thread.
    platform::ui::WindowHandle window = windowHandle();
    if (window != platform::ui::NoWindow && hasFrontEnd()) frontEnd().postCloseRequest(window);
}

void CWnd::OnTimerTick(uint32_t) {}
