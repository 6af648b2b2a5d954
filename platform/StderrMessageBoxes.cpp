// For programs without a front end: a box is one line on standard error, answered at once.
#include <cstdio>
#include <mutex>

#include "platform/DeviceNames.h"
#include "platform/Services.h"

namespace platform {

namespace {
class StderrMessageBoxes : public MessageBoxPresenter {
public:
    int show(CWnd*, const std::wstring& text, const std::wstring& title, uint32_t) override {
        std::lock_guard lock(mutex_);
        std::fprintf(stderr, "[box] %s: %s\n", toUtf8(title).c_str(), toUtf8(text).c_str());
        std::fflush(stderr);
        return IdOk;
    }

private:
    std::mutex mutex_;
};
}  // namespace

MessageBoxPresenter& stderrMessageBoxes() {
    static StderrMessageBoxes boxes;
    return boxes;
}

}  // namespace platform
