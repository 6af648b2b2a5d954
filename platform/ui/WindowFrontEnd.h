// The window front end's factory. platform_wx defines it when the program is built with
// windows; platform_nowindow defines it otherwise, so the program links either one.
#pragma once

#include <memory>
#include <string>

#include "platform/ui/FrontEnd.h"

namespace platform::ui {

// Called on the main thread, which becomes the window thread. Opens the display and sets the
// toolkit up; returns null and says why in whyNot when it cannot (no display, not built).
// The returned front end shuts the toolkit down when destroyed.
// Dialog units map to pixels by the front end's own scale; a size given to placeWindow wins
// over the template's size.
std::unique_ptr<FrontEnd> makeWindowFrontEnd(int& argc, char** argv, std::string& whyNot);

}  // namespace platform::ui
