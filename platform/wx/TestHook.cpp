#include "platform/wx/TestHook.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <wx/uiaction.h>
#include <wx/window.h>

#include "platform/wx/DialogWindow.h"
#include "platform/wx/MessageBoxWindow.h"
#include "platform/wx/WxFrontEnd.h"

namespace platform::wx {

namespace {

constexpr int PollMs = 100;

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::unique_ptr<TestHook> TestHook::fromEnvironment(WxFrontEnd& frontEnd) {
    std::string dump = variable("WINDOW_TEST_DUMP");
    std::string script = variable("WINDOW_TEST_SCRIPT");
    if (dump.empty() && script.empty()) return nullptr;
    return std::make_unique<TestHook>(frontEnd, dump, script);
}

TestHook::TestHook(WxFrontEnd& frontEnd, std::string dumpPath, std::string scriptPath)
    : frontEnd_(frontEnd), dumpPath_(std::move(dumpPath)), scriptPath_(std::move(scriptPath)) {
    // A toolkit timer fires in every loop the window thread runs, boxes' loops included.
    Start(PollMs);
}

TestHook::~TestHook() { Stop(); }

std::string TestHook::quoted(const wxString& text) {
    std::string out = "\"";
    for (char c : std::string(text.utf8_str())) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void TestHook::Notify() {
    // Commands run from the loop, not inside the toolkit's timer callback, and one at a time:
    // a command that opens a loop of its own must not be run again by that loop's ticks.
    if (running_) return;
    running_ = true;
    CallAfter([this] {
        if (!dumpPath_.empty()) writeDump();
        if (!scriptPath_.empty()) runScript();
        if (!dumpPath_.empty()) writeDump();
        running_ = false;
    });
}

void TestHook::writeDump() {
    std::ostringstream text;
    frontEnd_.describe(text);
    if (text.str() == lastDump_) return;
    lastDump_ = text.str();
    std::string partial = dumpPath_ + ".partial";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << lastDump_;
    }
    std::rename(partial.c_str(), dumpPath_.c_str());
}

void TestHook::runScript() {
    std::ifstream in(scriptPath_);
    std::string line;
    size_t number = 0;
    while (std::getline(in, line)) {
        if (++number <= linesRun_) continue;
        linesRun_ = number;
        if (!line.empty()) run(line);
        if (!dumpPath_.empty()) writeDump();
    }
}

wxWindow* TestHook::frontWindow() const {
    if (wxDialog* chooser = frontEnd_.openFileDialog()) return chooser;
    if (MessageBoxWindow* box = frontEnd_.frontBox()) return box;
    return frontEnd_.newestDialog();
}

void TestHook::run(const std::string& command) {
    std::istringstream words(command);
    std::string verb;
    std::string argument;
    words >> verb >> argument;
    wxUIActionSimulator input;
    if (verb == "key") {
        wxWindow* front = frontWindow();
        if (front == nullptr) return;
        // Keys go where the pointer is (no window manager gives the focus): the pointer goes
        // to the window first, as a user's hand would.
        input.MouseMove(front->GetScreenRect().GetTopLeft() + wxPoint(4, 4));
        int modifiers = wxMOD_NONE;
        std::string key = argument;
        if (key.rfind("ctrl+", 0) == 0) {
            modifiers = wxMOD_CONTROL;
            key = key.substr(5);
        }
        int code = key == "return" ? WXK_RETURN
                 : key == "escape" ? WXK_ESCAPE
                 : key == "space"  ? WXK_SPACE
                 : key == "tab"    ? WXK_TAB
                                   : 0;
        if (code == 0) {
            std::fprintf(stderr, "test script: unknown key \"%s\"\n", argument.c_str());
            return;
        }
        input.Char(code, modifiers);
    } else if (verb == "click") {
        DialogWindow* dialog = frontEnd_.newestDialog();
        wxWindow* control = dialog != nullptr ? dialog->controlWindow(std::atoi(argument.c_str())) : nullptr;
        if (control == nullptr) {
            std::fprintf(stderr, "test script: no control %s\n", argument.c_str());
            return;
        }
        input.MouseMove(control->GetScreenRect().GetPosition() + control->GetSize() / 2);
        input.MouseClick();
    } else if (verb == "close") {
        if (DialogWindow* dialog = frontEnd_.newestDialog()) dialog->Close();
    } else if (verb == "answer") {
        if (MessageBoxWindow* box = frontEnd_.frontBox()) box->answer();
    } else {
        std::fprintf(stderr, "test script: unknown command \"%s\"\n", command.c_str());
    }
}

}  // namespace platform::wx
