// Quoting for the console's line format: one double-quoted field per text, so that a line
// stays one line whatever the text holds.
#pragma once

#include <string>

namespace platform::console {

// "text" in UTF-8 with \\ \" \n \r \t and \xNN for the other control bytes.
std::string quote(const std::wstring& text);
std::string quote(const std::string& utf8);

// Reads one argument at position: a quoted text (the escapes above) or the rest of the line
// with the surrounding blanks removed. false with error set when a quote is not closed or an
// escape is unknown.
bool readArgument(const std::string& line, size_t position, std::string& argument, std::string& error);

}  // namespace platform::console
