// Ferrovane's start: picks the front end, installs it and runs the application object.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/console/ConsoleFrontEnd.h"
#include "platform/ui/FrontEndChoice.h"
#include "platform/ui/WindowFrontEnd.h"
#include "updatetool/ui/CUpdateToolApp.h"

// The one application object, for the whole run.
CUpdateToolApp theApp;

int main(int argc, char** argv) {
    // A reader that goes away (a script's pipe) must not kill the program mid-update.
    std::signal(SIGPIPE, SIG_IGN);

    const char* const variable = "FERROVANE_FRONTEND";
    std::vector<std::string> arguments(argv + 1, argv + argc);
    auto choice = platform::ui::chooseFrontEnd(variable, std::getenv(variable), arguments,
                                               platform::ui::displayAvailable());
    if (!choice.valid) {
        std::fprintf(stderr, "Ferrovane: %s\n", choice.error.c_str());
        return 2;
    }

    std::unique_ptr<platform::ui::FrontEnd> frontEnd;
    if (choice.kind == platform::ui::FrontEndKind::Window) {
        // The toolkit sees only the program's name: the arguments above are ours.
        int toolkitArgc = 1;
        char* toolkitArgv[] = {argv[0], nullptr};
        std::string whyNot;
        frontEnd = platform::ui::makeWindowFrontEnd(toolkitArgc, toolkitArgv, whyNot);
        if (!frontEnd) {
            if (choice.explicitChoice) {
                std::fprintf(stderr, "Ferrovane: no window: %s\n", whyNot.c_str());
                return 2;
            }
            std::fprintf(stderr, "Ferrovane: no window (%s); using the console\n", whyNot.c_str());
        }
    }
    if (!frontEnd) frontEnd = std::make_unique<platform::console::ConsoleFrontEnd>(STDIN_FILENO, stdout);

    platform::ui::installFrontEnd(frontEnd.get());
    int status = theApp.Run();
    platform::ui::installFrontEnd(nullptr);
    return status;
}
