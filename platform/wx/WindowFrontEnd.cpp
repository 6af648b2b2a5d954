// makeWindowFrontEnd for builds with the wxWidgets window front end.
#include "platform/ui/WindowFrontEnd.h"

#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include "platform/wx/FrontEndApp.h"
#include "platform/wx/WxFrontEnd.h"

namespace platform::ui {

std::unique_ptr<FrontEnd> makeWindowFrontEnd(int& argc, char** argv, std::string& whyNot) {
    if (wxTheApp != nullptr) {
        whyNot = "the window front end is already running in this program";
        return nullptr;
    }
    // The toolkit's log goes to standard error: its default shows each message in a box of
    // its own, which would hold up the program's loops (and a failed start's message would
    // pop up at the next start).
    delete wxLog::SetActiveTarget(new wxLogStderr());
    wxApp::SetInstance(new platform::wx::FrontEndApp());
    if (!wxEntryStart(argc, argv)) {
        // wxEntryStart has already said why on standard error (usually: no display).
        whyNot = "the window toolkit could not start (is DISPLAY set to a running X server?)";
        return nullptr;
    }
    // The start may have put the toolkit's default back.
    delete wxLog::SetActiveTarget(new wxLogStderr());
    if (!wxTheApp->CallOnInit()) {
        wxEntryCleanup();
        whyNot = "the window toolkit could not set itself up";
        return nullptr;
    }
    return std::make_unique<platform::wx::WxFrontEnd>();
}

}  // namespace platform::ui
