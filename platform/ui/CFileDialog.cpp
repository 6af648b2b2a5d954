#include "platform/ui/CFileDialog.h"

#include "platform/ui/CDialog.h"

CFileDialog::CFileDialog(const std::wstring& defaultExtension, const std::wstring& fileName, uint32_t flags,
                         const std::wstring& filter, CWnd* parent)
    : parent_(parent) {
    request_.defaultExtension = defaultExtension;
    request_.initialName = fileName;
    request_.explorerStyle = (flags & FileDialogFlag::Explorer) != 0;
    bool wellFormed = true;
    request_.filters = ParseFilter(filter, wellFormed);
}

std::vector<platform::ui::FileFilter> CFileDialog::ParseFilter(const std::wstring& filter, bool& wellFormed) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t bar = filter.find(L'|', start);
        std::wstring part = filter.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start);
        if (part.empty()) break;  // "||" (or the end) closes the list
        parts.push_back(part);
        if (bar == std::wstring::npos) break;
        start = bar + 1;
    }
    wellFormed = parts.size() % 2 == 0;
    std::vector<platform::ui::FileFilter> filters;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) filters.push_back({parts[i], parts[i + 1]});
    return filters;
}

int CFileDialog::DoModal() {
    platform::ui::WindowHandle owner = parent_ != nullptr ? parent_->windowHandle() : platform::ui::NoWindow;
    auto chosen = platform::ui::frontEnd().fileOpenDialog(owner, request_);
    if (!chosen) return IdCancel;
    path_ = *chosen;
    return IdOk;
}
