// One line of the console's input, parsed.
#pragma once

#include <string>

namespace platform::console {

struct ConsoleCommand {
    enum class Kind {
        Nothing,        // blank line or # comment
        Invalid,        // error says why
        AnswerBox,      // ok
        Press,          // press <id or caption>
        OkCommand,      // command ok
        CancelCommand,  // command cancel
        Close,          // close
        ChooseFile,     // file <path>
        CancelFile,     // cancel
    };
    Kind kind = Kind::Nothing;
    std::string argument;  // Press: the id or caption; ChooseFile: the path (UTF-8)
    std::string error;
};

ConsoleCommand parseConsoleCommand(const std::string& line);

}  // namespace platform::console
