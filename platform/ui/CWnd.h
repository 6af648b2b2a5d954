// A window of the dialog layer: either a dialog's own window or one control of a dialog.
// Every operation may be called on any thread: off the window thread it becomes a synchronous
// request to it, as a message sent to a window of another thread would.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui/ControlState.h"
#include "platform/ui/FrontEnd.h"

class CDialog;

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Binds this object to control controlIndex (template position) of dialog.
    void Attach(CDialog* dialog, int controlIndex);
    bool IsAttached() const { return dialog_ != nullptr; }
    // The control's id; 0 for a dialog's own window or an unattached object.
    int GetDlgCtrlID() const;
    // The front end's window: the dialog's, for a control too; NoWindow before it exists.
    platform::ui::WindowHandle windowHandle() const;

    // Controls.
    void SetWindowText(const std::wstring& text);
    std::wstring GetWindowText() const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    // For a dialog's own window this shows or hides the window itself.
    void ShowWindow(bool show);
    bool IsWindowVisible() const;

    // A dialog's own window.
    void SetWindowPos(const platform::ui::WindowPlacement& placement);
    void CenterWindow();
    void SetIcon(int iconResource, bool large);
    void UpdateWindow();
    void SetTimer(uint32_t timerId, uint32_t periodMs);
    void KillTimer(uint32_t timerId);
    void PostCloseRequest();

    // Default timer handling: nothing.
    virtual void OnTimerTick(uint32_t timerId);

protected:
    // Runs work on the window thread and waits for it.
    static void onWindowThread(const std::function<void()>& work);
    // Changes this control's state on the window thread and shows the change.
    void changeControl(const std::function<void(platform::ui::ControlState&)>& change);
    platform::ui::ControlState controlState() const;
    bool isControl() const { return dialog_ != nullptr && index_ >= 0; }

    CDialog* dialog_ = nullptr;
    int index_ = -1;  // -1: the dialog's own window
};
