#include "platform/wx/FrontEndApp.h"

namespace platform::wx {

FrontEndApp::FrontEndApp() {
    // The program decides when it ends (its start-up returns), not the last window closing.
    SetExitOnFrameDelete(false);
}

bool FrontEndApp::OnInit() { return true; }

}  // namespace platform::wx
