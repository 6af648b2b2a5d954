// Records every message box in order and answers OK at once.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace testing_support {

struct RecordedBox {
    std::wstring text;
    std::wstring title;
    uint32_t type = 0;
    bool owned = false;  // true when a window owns it
    bool operator==(const RecordedBox&) const = default;
};

class RecordingMessageBoxes : public platform::MessageBoxPresenter {
public:
    int show(CWnd* owner, const std::wstring& text, const std::wstring& title, uint32_t type) override;

    std::vector<RecordedBox> boxes() const;
    std::vector<std::wstring> texts() const;
    void clear();
    // Runs on every box, on the showing thread, before it is answered (e.g. to advance time).
    void onShow(std::function<void(const RecordedBox&)> hook) { hook_ = std::move(hook); }

private:
    mutable std::mutex mutex_;
    std::vector<RecordedBox> boxes_;
    std::function<void(const RecordedBox&)> hook_;
};

}  // namespace testing_support
