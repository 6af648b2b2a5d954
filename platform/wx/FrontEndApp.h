// The toolkit's application object. The front end runs its loops itself (modal dialogs and
// boxes), never the toolkit's main loop, and the program's arguments are the program's.
#pragma once

#include <wx/app.h>

namespace platform::wx {

class FrontEndApp : public wxApp {
public:
    FrontEndApp();
    // Skips the toolkit's own command-line parsing: the program has its own arguments.
    bool OnInit() override;
    // A failed check inside the toolkit is reported on standard error: its own dialog would
    // stop the program's loops until someone answers it.
    void OnAssertFailure(const wxChar* file, int line, const wxChar* func, const wxChar* cond,
                         const wxChar* msg) override;
};

}  // namespace platform::wx
