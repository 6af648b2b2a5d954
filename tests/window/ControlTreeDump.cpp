#include "tests/window/ControlTreeDump.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace window_tests {

namespace {

// "word key=value key="quoted \"value\"" ..." into the first word and a map.
std::map<std::string, std::string> fields(const std::string& line, std::string& word) {
    std::map<std::string, std::string> out;
    size_t at = line.find(' ');
    word = line.substr(0, at);
    while (at != std::string::npos && at < line.size()) {
        ++at;
        size_t equals = line.find('=', at);
        if (equals == std::string::npos) break;
        std::string key = line.substr(at, equals - at);
        std::string value;
        at = equals + 1;
        if (at < line.size() && line[at] == '"') {
            // Quoted values may repeat (combo items: "a","b"): read up to the next blank outside quotes.
            bool inside = false;
            for (; at < line.size(); ++at) {
                char c = line[at];
                if (!inside && c == ' ') break;
                if (c == '"') {
                    inside = !inside;
                    if (key != "items") continue;
                } else if (c == '\\' && inside && at + 1 < line.size()) {
                    char next = line[++at];
                    c = next == 'n' ? '\n' : next == 'r' ? '\r' : next;
                }
                value += c;
            }
        } else {
            size_t end = line.find(' ', at);
            value = line.substr(at, end == std::string::npos ? std::string::npos : end - at);
            at = end;
        }
        out[key] = value;
    }
    return out;
}

ScreenRect rect(const std::string& text) {
    ScreenRect r;
    std::sscanf(text.c_str(), "%d,%d,%d,%d", &r.x, &r.y, &r.width, &r.height);
    return r;
}

int number(const std::map<std::string, std::string>& f, const std::string& key) {
    auto found = f.find(key);
    return found == f.end() || found->second.empty() ? 0 : std::stoi(found->second);
}

bool flag(const std::map<std::string, std::string>& f, const std::string& key) {
    auto found = f.find(key);
    return found != f.end() && found->second == "1";
}

}  // namespace

const DumpedControl* DumpedDialog::control(int id) const {
    for (const auto& c : controls) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

ControlTreeDump ControlTreeDump::parse(const std::string& text) {
    ControlTreeDump dump;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::string word;
        auto f = fields(line, word);
        if (word == "dialog") {
            DumpedDialog d;
            d.templateId = number(f, "template");
            d.caption = f["caption"];
            d.shown = flag(f, "shown");
            d.modal = flag(f, "modal");
            d.topMost = flag(f, "topmost");
            d.closeBox = flag(f, "closebox");
            d.icons = f["icons"];
            d.frame = rect(f["frame"]);
            std::sscanf(f["client"].c_str(), "%d,%d", &d.clientWidth, &d.clientHeight);
            dump.dialogs.push_back(d);
        } else if (word == "control" && !dump.dialogs.empty()) {
            DumpedControl c;
            c.index = number(f, "index");
            c.id = number(f, "id");
            c.kind = f["kind"];
            c.text = f["text"];
            c.shown = flag(f, "shown");
            c.enabled = flag(f, "enabled");
            c.rect = rect(f["rect"]);
            std::sscanf(f["textsize"].c_str(), "%d,%d", &c.textWidth, &c.textHeight);
            c.isDefault = flag(f, "default");
            c.items = f["items"];
            c.selected = f.count("selected") ? number(f, "selected") : -1;
            dump.dialogs.back().controls.push_back(c);
        } else if (word == "box") {
            DumpedBox b;
            b.owned = flag(f, "owned");
            b.title = f["title"];
            b.text = f["text"];
            b.shown = flag(f, "shown");
            b.frame = rect(f["frame"]);
            dump.boxes.push_back(b);
        }
    }
    return dump;
}

ControlTreeDump ControlTreeDump::readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return parse(text.str());
}

const DumpedDialog* ControlTreeDump::dialog(int templateId) const {
    for (const auto& d : dialogs) {
        if (d.templateId == templateId) return &d;
    }
    return nullptr;
}

}  // namespace window_tests
