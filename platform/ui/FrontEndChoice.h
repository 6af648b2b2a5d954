// Which front end a program runs on: the window where a display is there and the window front
// end is built, the console otherwise; an environment variable or an argument chooses
// explicitly.
#pragma once

#include <string>
#include <vector>

namespace platform::ui {

enum class FrontEndKind { Window, Console };

struct FrontEndChoice {
    bool valid = true;        // false: error says what is wrong with the request
    FrontEndKind kind = FrontEndKind::Console;
    bool explicitChoice = false;  // asked for by the variable or an argument, not guessed
    std::string error;
};

// variableValue: the variable's value, null when it is not set. arguments: the program's
// arguments after its name; "--console" and "--window" choose and win over the variable.
// displayAvailable: a display to open windows on is there.
FrontEndChoice chooseFrontEnd(const std::string& variableName, const char* variableValue,
                              const std::vector<std::string>& arguments, bool displayAvailable);

// True when DISPLAY or WAYLAND_DISPLAY names a display.
bool displayAvailable();

}  // namespace platform::ui
