#include "platform/ui/CWinApp.h"

#include <atomic>
#include <filesystem>
#include <system_error>

#include "platform/DeviceNames.h"

namespace {

std::atomic<CWinApp*> theOneApp{nullptr};

std::wstring programFileName() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return L"";
    return platform::fromUtf8(path.filename().string());
}

}  // namespace

CWinApp::CWinApp(const std::wstring& appName) : appName_(appName) {
    if (appName_.empty()) appName_ = programFileName();
    theOneApp = this;
}

CWinApp::~CWinApp() {
    CWinApp* self = this;
    theOneApp.compare_exchange_strong(self, nullptr);
}

bool CWinApp::StartUp() { return false; }

int CWinApp::Run() {
    StartUp();
    mainWindow = nullptr;
    return 0;
}

CWinApp* CWinApp::current() { return theOneApp.load(); }

int ApplicationMessageBox(const std::wstring& text, uint32_t type) {
    CWinApp* app = CWinApp::current();
    return MessageBox(nullptr, text, app != nullptr ? app->appName() : std::wstring(), type);
}
