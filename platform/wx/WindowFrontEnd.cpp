// makeWindowFrontEnd for builds with the wxWidgets window front end.
#include "platform/ui/WindowFrontEnd.h"

#include <wx/app.h>
#include <wx/init.h>

#include "platform/wx/FrontEndApp.h"
#include "platform/wx/WxFrontEnd.h"

namespace platform::ui {

std::unique_ptr<FrontEnd> makeWindowFrontEnd(int& argc, char** argv, std::string& whyNot) {
    if (wxTheApp != nullptr) {
        whyNot = "the window front end is already running in this program";
        return nullptr;
    }
    wxApp::SetInstance(new platform::wx::FrontEndApp());
    if (!wxEntryStart(argc, argv)) {
        // wxEntryStart has already said why on standard error (usually: no display).
        whyNot = "the window toolkit could not start (is DISPLAY set to a running X server?)";
        return nullptr;
    }
    if (!wxTheApp->CallOnInit()) {
        wxEntryCleanup();
        whyNot = "the window toolkit could not set itself up";
        return nullptr;
    }
    return std::make_unique<platform::wx::WxFrontEnd>();
}

}  // namespace platform::ui
