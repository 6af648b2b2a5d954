#include "platform/console/ConsoleCommand.h"

#include <cctype>

#include "platform/console/ConsoleText.h"

namespace platform::console {

namespace {

std::string lower(std::string word) {
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

// The next blank-separated word from position, which moves past it.
std::string nextWord(const std::string& line, size_t& position) {
    while (position < line.size() && (line[position] == ' ' || line[position] == '\t')) ++position;
    size_t start = position;
    while (position < line.size() && line[position] != ' ' && line[position] != '\t') ++position;
    return line.substr(start, position - start);
}

bool onlyBlanksFrom(const std::string& line, size_t position) {
    for (; position < line.size(); ++position) {
        if (line[position] != ' ' && line[position] != '\t') return false;
    }
    return true;
}

ConsoleCommand invalid(const std::string& error) {
    ConsoleCommand command;
    command.kind = ConsoleCommand::Kind::Invalid;
    command.error = error;
    return command;
}

constexpr const char* forms =
    "ok | press <id or caption> | command ok | command cancel | close | file <path> | cancel";

}  // namespace

ConsoleCommand parseConsoleCommand(const std::string& line) {
    size_t position = 0;
    std::string word = lower(nextWord(line, position));
    ConsoleCommand command;
    if (word.empty() || word[0] == '#') return command;

    auto noMore = [&](ConsoleCommand::Kind kind) {
        if (!onlyBlanksFrom(line, position)) return invalid("\"" + word + "\" takes nothing after it");
        ConsoleCommand plain;
        plain.kind = kind;
        return plain;
    };
    auto withArgument = [&](ConsoleCommand::Kind kind, const char* what) {
        ConsoleCommand taking;
        std::string error;
        if (!readArgument(line, position, taking.argument, error)) return invalid(word + ": " + error);
        if (taking.argument.empty()) return invalid(word + " needs " + what);
        taking.kind = kind;
        return taking;
    };

    if (word == "ok") return noMore(ConsoleCommand::Kind::AnswerBox);
    if (word == "close") return noMore(ConsoleCommand::Kind::Close);
    if (word == "cancel") return noMore(ConsoleCommand::Kind::CancelFile);
    if (word == "press") return withArgument(ConsoleCommand::Kind::Press, "a button id or caption");
    if (word == "file") return withArgument(ConsoleCommand::Kind::ChooseFile, "a path");
    if (word == "command") {
        std::string which = lower(nextWord(line, position));
        if (which == "ok") return noMore(ConsoleCommand::Kind::OkCommand);
        if (which == "cancel") return noMore(ConsoleCommand::Kind::CancelCommand);
        return invalid("command must be followed by ok or cancel");
    }
    return invalid("unknown input \"" + line + "\"; the inputs are: " + forms);
}

}  // namespace platform::console
