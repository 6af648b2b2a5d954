// The window of one dialog: built from its template, mirroring the control states the dialog
// layer hands over, and reporting the user's actions and timer ticks to the dialog layer.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <vector>

#include <wx/dialog.h>
#include <wx/icon.h>

#include "platform/ui/ControlState.h"
#include "platform/ui/DialogEvents.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/FrontEnd.h"
#include "platform/wx/DialogUnitScale.h"

namespace platform::wx {

class DialogWindow : public wxDialog {
public:
    DialogWindow(platform::ui::WindowHandle handle, const platform::ui::DialogTemplate& dialogTemplate,
                 const std::vector<platform::ui::ControlState>& controls, platform::ui::DialogEvents& events);
    ~DialogWindow() override;

    platform::ui::WindowHandle handle() const { return handle_; }
    const platform::ui::DialogTemplate& dialogTemplate() const { return template_; }

    // Stops every timer and delivers no event from now on; the window is about to go.
    void detach();

    void mirror(const platform::ui::ControlState& state);
    void place(const platform::ui::WindowPlacement& placement);
    void showWindow(bool shown);
    void centre();
    void setIcon(const wxIcon& icon, bool large);
    void repaintNow();
    void setTimer(uint32_t timerId, uint32_t periodMs);
    void killTimer(uint32_t timerId);
    // Delivers a close request that was posted for this window.
    void closeRequested();

    // The end of the modal run, asked for by the dialog layer and carried out by the front end
    // once this dialog's loop is the innermost one.
    void requestEnd(int result);
    bool endRequested() const { return endRequested_; }
    int endResult() const { return endResult_; }
    // Runs the modal loop (unless already ended) and returns the result.
    int runModal();
    // Ends the running modal loop with the requested result.
    void finishModal();

    // Test hook: the window and its controls as lines of text.
    void describe(std::ostream& out) const;
    // Test hook: the control with this id, or null.
    wxWindow* controlWindow(int controlId) const;

    // The font of a template's dialog: the device's "System" face has no host counterpart, so
    // a sans face of the template's size in device pixels (1.5 px per point) stands in.
    static wxFont fontFor(const platform::ui::DialogTemplate& dialogTemplate);

private:
    class Tick;
    struct Control {
        wxWindow* window = nullptr;
        platform::ui::ControlState state;
    };

    void createControl(const platform::ui::ControlTemplate& control, const platform::ui::ControlState& state);
    void layout();
    int indexOf(const wxObject* window) const;
    int defaultButtonIndex() const;
    bool usable(int index) const;

    void onButton(wxCommandEvent& event);
    void onText(wxCommandEvent& event);
    void onComboPick(wxCommandEvent& event);
    void onKey(wxKeyEvent& event);
    void onClose(wxCloseEvent& event);
    void onContextMenu(wxContextMenuEvent& event);
    void tickDue(uint32_t timerId);
    void deliverTick(uint32_t timerId, uint64_t generation);

    platform::ui::WindowHandle handle_;
    platform::ui::DialogTemplate template_;
    platform::ui::DialogEvents* events_;
    std::vector<Control> controls_;
    std::map<uint32_t, std::unique_ptr<Tick>> timers_;
    wxIcon largeIcon_;
    wxIcon smallIcon_;
    bool mirroring_ = false;
    bool endRequested_ = false;
    int endResult_ = 0;
};

}  // namespace platform::wx
