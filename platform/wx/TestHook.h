// Hooks for the window tests, active only when their environment variables are set:
//   WINDOW_TEST_DUMP=file    the front end keeps file up to date with its windows, controls and
//                            boxes (rewritten whole, by rename, whenever something changed)
//   WINDOW_TEST_SCRIPT=file  the front end runs each line appended to file, in order:
//                              key return | key escape | key ctrl+return | key space | key tab
//                                  a real key press (XTest) at the window in front
//                              click ID    a real mouse click on control ID of the newest dialog
//                              close       the close box of the newest dialog
//                              answer      the OK button of the box in front
// The scripted input goes through the X server, the same way as a user's.
#pragma once

#include <memory>
#include <string>

#include <wx/string.h>
#include <wx/timer.h>

namespace platform::wx {

class WxFrontEnd;

class TestHook : public wxTimer {
public:
    // Null when neither variable is set.
    static std::unique_ptr<TestHook> fromEnvironment(WxFrontEnd& frontEnd);
    TestHook(WxFrontEnd& frontEnd, std::string dumpPath, std::string scriptPath);
    ~TestHook() override;

    void Notify() override;

    // A text in double quotes with backslash, quote and line breaks escaped.
    static std::string quoted(const wxString& text);

private:
    void runScript();
    void run(const std::string& command);
    void writeDump();
    wxWindow* frontWindow() const;

    WxFrontEnd& frontEnd_;
    std::string dumpPath_;
    std::string scriptPath_;
    std::string lastDump_;
    size_t linesRun_ = 0;
    bool running_ = false;
};

}  // namespace platform::wx
