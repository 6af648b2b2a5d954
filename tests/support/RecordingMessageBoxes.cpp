#include "tests/support/RecordingMessageBoxes.h"

namespace testing_support {

int RecordingMessageBoxes::show(CWnd* owner, const std::wstring& text, const std::wstring& title, uint32_t type) {
    RecordedBox box{text, title, type, owner != nullptr};
    std::function<void(const RecordedBox&)> hook;
    {
        std::lock_guard lock(mutex_);
        boxes_.push_back(box);
        hook = hook_;
    }
    if (hook) hook(box);
    return platform::IdOk;
}

std::vector<RecordedBox> RecordingMessageBoxes::boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
}

std::vector<std::wstring> RecordingMessageBoxes::texts() const {
    std::lock_guard lock(mutex_);
    std::vector<std::wstring> out;
    for (const auto& b : boxes_) out.push_back(b.text);
    return out;
}

void RecordingMessageBoxes::clear() {
    std::lock_guard lock(mutex_);
    boxes_.clear();
}

}  // namespace testing_support
