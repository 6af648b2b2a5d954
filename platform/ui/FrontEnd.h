// The front-end interface: the one event loop and the windows of a program, behind which the
// same dialog code runs on a real window (wxWidgets), on a terminal (console) or in unit tests.
//
// Threads. The window thread is the thread that constructs the front end; it runs the
// application's start-up, every dialog, every event handler and every nested loop. Calls are
// made on the window thread only, except the four marked "any thread". The dialog layer takes
// care of that: a CWnd operation made on another thread reaches the front end through
// runOnWindowThread, as a synchronous request.
//
// Event loops. runModal runs the modal loop; messageBox and fileOpenDialog on the window thread
// run nested loops. Every loop, nested ones included, serves the same things: the user's
// actions (DialogEvents), the timers of every dialog, requests from runOnWindowThread and
// posted close requests. Nothing is served outside a loop: while a handler runs without a
// nested loop (a blocking read, a busy wait), timers and requests wait.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/ControlState.h"
#include "platform/ui/DialogEvents.h"
#include "platform/ui/DialogTemplate.h"

namespace platform::ui {

// A dialog window created by a front end; 0 is no window.
using WindowHandle = uint32_t;
constexpr WindowHandle NoWindow = 0;

// Outer position and size of a window, in pixels of the screen.
struct WindowPlacement {
    bool topMost = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowPlacement&) const = default;
};

// One entry of a file-open dialog's filter list: "Binary Files (*.bin)" and "*.bin".
struct FileFilter {
    std::wstring description;
    std::wstring pattern;  // one or more patterns separated by ';'
    bool operator==(const FileFilter&) const = default;
};

struct FileOpenRequest {
    std::wstring title;
    std::wstring initialName;         // a device file name, e.g. "\My Document"
    std::wstring defaultExtension;    // empty: none
    std::vector<FileFilter> filters;  // in the order given, the first one active
    bool explorerStyle = true;
};

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    // "window", "console", "test": for messages only.
    virtual const char* name() const = 0;

    // --- Threads -------------------------------------------------------------------------

    // Any thread. True on the window thread.
    virtual bool isWindowThread() const = 0;

    // Any thread; blocks the caller until work has run on the window thread and returned.
    // On the window thread it runs work at once. From another thread the request is served by
    // the next loop the window thread runs or is running, nested loops of message boxes
    // included, and requests are served in the order they were made. work does not throw.
    virtual void runOnWindowThread(const std::function<void()>& work) = 0;

    // --- Dialogs ---------------------------------------------------------------------------

    // Creates the window of a dialog and its controls from the template, with the controls in
    // the states given (one per template control, in template order), and remembers events as
    // the receiver of its user actions and timer ticks. The window is shown at once only when
    // the template has DialogStyle::Visible; otherwise it stays hidden until showWindow.
    // Does not block and runs no loop.
    virtual WindowHandle createDialog(const DialogTemplate& dialogTemplate,
                                      const std::vector<ControlState>& controls,
                                      DialogEvents& events) = 0;

    // Destroys the window; its timers stop and no event for it is delivered afterwards.
    // Called after runModal has returned (or instead of it). Does not block.
    virtual void destroyDialog(WindowHandle window) = 0;

    // Runs the modal loop for the window until endModal is called for it; returns the result
    // given to endModal. Blocks the window thread (that is its purpose) while serving the
    // loop. The dialog layer never calls it for a dialog that has already been ended.
    virtual int runModal(WindowHandle window) = 0;

    // Asks the running modal loop of the window to return result once the event being handled
    // is done (a nested loop in progress is finished first). Does not block.
    virtual void endModal(WindowHandle window, int result) = 0;

    // Any thread; does not block. Queues a close request for the window: the loop delivers it
    // later as DialogEvents::closeRequest, after the handler that posted it has returned.
    virtual void postCloseRequest(WindowHandle window) = 0;

    // --- Controls (window thread, none blocks) ---------------------------------------------

    // The dialog layer changed a control: state is its complete new state (the index says
    // which control). Called only when something in it changed.
    virtual void controlChanged(WindowHandle window, const ControlState& state) = 0;

    // --- The dialog's own window (window thread, none blocks) ---------------------------------

    // Moves and sizes the window's outer frame and sets or clears top-most placement.
    virtual void placeWindow(WindowHandle window, const WindowPlacement& placement) = 0;
    virtual void showWindow(WindowHandle window, bool shown) = 0;
    // Centres the window on the screen, keeping its size.
    virtual void centreWindow(WindowHandle window) = 0;
    // Sets the window's large (caption, task list) or small icon to an icon resource.
    virtual void setIcon(WindowHandle window, int iconResource, bool large) = 0;
    // Paints whatever changed now, without waiting for the loop (a handler that then blocks
    // still shows its last texts).
    virtual void repaintNow(WindowHandle window) = 0;

    // --- Timers (window thread, none blocks) ----------------------------------------------

    // Starts timer id of the window with a period in milliseconds; a running timer with the
    // same id is replaced and counts afresh. Ticks arrive as DialogEvents::timerFired.
    virtual void setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) = 0;
    // Stops the timer; a tick of it that is already due is not delivered. Unknown ids: nothing.
    virtual void killTimer(WindowHandle window, uint32_t timerId) = 0;

    // --- Boxes and the file dialog -----------------------------------------------------------

    // Any thread. Shows a message box and returns the id of the button that closed it
    // (platform::IdOk for a box with an OK button only). owner is the dialog that owns the box,
    // or NoWindow.
    //  - On the window thread: modal, runs a nested loop until the box is answered; while it
    //    runs, timers, requests and posted close requests are served, and an owner dialog
    //    takes no user input.
    //  - On another thread: blocks only the calling thread until the box is answered; the
    //    window thread keeps running its loop, timers and all.
    // Several boxes may be open at once (one from each thread).
    virtual int messageBox(WindowHandle owner, const std::wstring& text, const std::wstring& title,
                           uint32_t type) = 0;

    // Window thread. Shows the file-open dialog, running a nested loop like messageBox; returns
    // the chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<std::wstring> fileOpenDialog(WindowHandle owner,
                                                       const FileOpenRequest& request) = 0;
};

// The installed front end. install also routes the platform's MessageBox call to it; pass
// nullptr to uninstall (the platform's message boxes then go back to the host default).
void installFrontEnd(FrontEnd* frontEnd);
// The installed front end; a program that calls it without one ends with a message.
FrontEnd& frontEnd();
bool hasFrontEnd();

}  // namespace platform::ui
