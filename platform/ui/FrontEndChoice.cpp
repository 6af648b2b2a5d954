#include "platform/ui/FrontEndChoice.h"

#include <cstdlib>

namespace platform::ui {

namespace {

bool parseKind(const std::string& word, FrontEndKind& kind) {
    if (word == "console") {
        kind = FrontEndKind::Console;
        return true;
    }
    if (word == "window") {
        kind = FrontEndKind::Window;
        return true;
    }
    return false;
}

}  // namespace

FrontEndChoice chooseFrontEnd(const std::string& variableName, const char* variableValue,
                              const std::vector<std::string>& arguments, bool displayAvailable) {
    FrontEndChoice choice;
    choice.kind = displayAvailable ? FrontEndKind::Window : FrontEndKind::Console;
    if (variableValue != nullptr && *variableValue != '\0') {
        if (!parseKind(variableValue, choice.kind)) {
            choice.valid = false;
            choice.error = variableName + " must be \"console\" or \"window\", not \"" + variableValue + "\"";
            return choice;
        }
        choice.explicitChoice = true;
    }
    for (const auto& argument : arguments) {
        if (argument.rfind("--", 0) == 0 && parseKind(argument.substr(2), choice.kind)) {
            choice.explicitChoice = true;
            continue;
        }
        choice.valid = false;
        choice.error = "unknown argument \"" + argument + "\" (the only arguments are --console and --window)";
        return choice;
    }
    return choice;
}

bool displayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

}  // namespace platform::ui
