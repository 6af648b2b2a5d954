// makeWindowFrontEnd for a program built without the window front end.
#include "platform/ui/WindowFrontEnd.h"

namespace platform::ui {

std::unique_ptr<FrontEnd> makeWindowFrontEnd(int&, char**, std::string& whyNot) {
    whyNot = "this build has no window front end (configure with -DWITH_WINDOW=ON and wxWidgets)";
    return nullptr;
}

}  // namespace platform::ui
