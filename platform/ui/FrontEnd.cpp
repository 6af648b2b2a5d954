#include "platform/ui/FrontEnd.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/Services.h"
#include "platform/ui/CWnd.h"

namespace platform::ui {

namespace {

std::atomic<FrontEnd*> installed{nullptr};

// Routes the platform's MessageBox call to the installed front end.
class FrontEndMessageBoxes : public MessageBoxPresenter {
public:
    int show(CWnd* owner, const std::wstring& text, const std::wstring& title, uint32_t type) override {
        WindowHandle ownerWindow = owner != nullptr ? owner->windowHandle() : NoWindow;
        return frontEnd().messageBox(ownerWindow, text, title, type);
    }
};

FrontEndMessageBoxes frontEndBoxes;

}  // namespace

void installFrontEnd(FrontEnd* replacement) {
    installed = replacement;
    Services routed = services();
    routed.messageBoxes = replacement != nullptr ? &frontEndBoxes : nullptr;
    install(routed);
}

FrontEnd& frontEnd() {
    FrontEnd* current = installed.load();
    if (current == nullptr) {
        // A dialog without a front end cannot show anything; carrying on would hide the fault.
        std::fputs("internal error: a window operation was made with no front end installed\n", stderr);
        std::abort();
    }
    return *current;
}

bool hasFrontEnd() { return installed.load() != nullptr; }

}  // namespace platform::ui
