#include "platform/console/ConsoleText.h"

#include <cstdio>

#include "platform/DeviceNames.h"

namespace platform::console {

std::string quote(const std::wstring& text) { return quote(platform::toUtf8(text)); }

std::string quote(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool readArgument(const std::string& line, size_t position, std::string& argument, std::string& error) {
    argument.clear();
    while (position < line.size() && isBlank(line[position])) ++position;
    if (position >= line.size() || line[position] != '"') {
        size_t end = line.size();
        while (end > position && isBlank(line[end - 1])) --end;
        argument = line.substr(position, end - position);
        return true;
    }
    for (size_t i = position + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            for (size_t rest = i + 1; rest < line.size(); ++rest) {
                if (!isBlank(line[rest])) {
                    error = "text after the closing quote";
                    return false;
                }
            }
            return true;
        }
        if (c != '\\') {
            argument += c;
            continue;
        }
        if (++i >= line.size()) break;
        switch (line[i]) {
        case '\\': argument += '\\'; break;
        case '"': argument += '"'; break;
        case 'n': argument += '\n'; break;
        case 'r': argument += '\r'; break;
        case 't': argument += '\t'; break;
        case 'x': {
            int high = i + 1 < line.size() ? hexValue(line[i + 1]) : -1;
            int low = i + 2 < line.size() ? hexValue(line[i + 2]) : -1;
            if (high < 0 || low < 0) {
                error = "\\x needs two hex digits";
                return false;
            }
            argument += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            error = std::string("unknown escape \\") + line[i];
            return false;
        }
    }
    error = "the quote is not closed";
    return false;
}

}  // namespace platform::console
