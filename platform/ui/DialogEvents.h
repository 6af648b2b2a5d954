// What a front end reports back to the dialog layer: the user's actions and the timer ticks.
#pragma once

#include <cstdint>
#include <string>

namespace platform::ui {

// Implemented by CDialog. A front end calls these only on the window thread and only from an
// event loop it runs: the modal loop of runModal, or the nested loop of a message box or file
// dialog shown on the window thread. The handler may itself call the front end, including
// calls that run a nested loop, so a front end must be ready for re-entry.
class DialogEvents {
public:
    virtual ~DialogEvents() = default;

    // The user pressed a push button. The front end passes only presses of a control that is
    // shown and enabled (and the dialog layer checks again, so a late event is dropped).
    virtual void buttonPressed(int controlId) = 0;
    // The OK command (the caption's OK button, or Enter when no default button takes it).
    virtual void okCommand() = 0;
    // The Cancel command (Escape).
    virtual void cancelCommand() = 0;
    // The close request (the close box, or a request posted with FrontEnd::postCloseRequest).
    virtual void closeRequest() = 0;
    // A timer started with FrontEnd::setTimer fired. Never after killTimer for that id, and a
    // timer that fell behind fires once, not once for each period it missed.
    virtual void timerFired(uint32_t timerId) = 0;
    // The user changed the text of an edit box or of a combo box's edit field, or picked a
    // combo box item (selected = item index, -1 when typed). The dialog layer takes the new
    // value into its state without calling controlChanged back for it.
    virtual void textEdited(int controlIndex, const std::wstring& text, int selected) = 0;
};

}  // namespace platform::ui
