// The application object: one per program, created before start-up. Start-up runs its
// StartUp hook; the program has no message loop of its own, so the hook's return ends it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/MessageBox.h"

class CWnd;

class CWinApp {
public:
    // appName: the title of the application's standard message box; empty: the program's
    // file name.
    explicit CWinApp(const std::wstring& appName = {});
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The start-up hook. Its result is not an error: false ends the program normally, and so
    // does true, since nothing would keep a message loop going without a main window.
    virtual bool StartUp();

    // Platform start-up: runs the hook on the calling thread (the window thread) and returns
    // the program's exit status, 0 on a normal end.
    int Run();

    const std::wstring& appName() const { return appName_; }
    CWnd* mainWindow = nullptr;

    // The one application object, or null.
    static CWinApp* current();

private:
    std::wstring appName_;
};

// The application's standard message box: the application's name as title, OK button.
int ApplicationMessageBox(const std::wstring& text, uint32_t type = platform::MessageBoxType::Ok);
