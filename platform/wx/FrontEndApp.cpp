#include "platform/wx/FrontEndApp.h"

#include <cstdio>

namespace platform::wx {

FrontEndApp::FrontEndApp() {
    // The program decides when it ends (its start-up returns), not the last window closing.
    SetExitOnFrameDelete(false);
}

bool FrontEndApp::OnInit() { return true; }

void FrontEndApp::OnAssertFailure(const wxChar* file, int line, const wxChar* func, const wxChar* cond,
                                  const wxChar* msg) {
    std::fprintf(stderr, "window toolkit check failed: %s:%d %s: %s %s\n", wxString(file).utf8_str().data(), line,
                 wxString(func).utf8_str().data(), wxString(cond).utf8_str().data(),
                 wxString(msg).utf8_str().data());
}

}  // namespace platform::wx
