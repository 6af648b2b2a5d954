// The platform's file-open dialog: an initial file name, a filter list and a title; on OK the
// chosen file's full path.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/FrontEnd.h"

class CWnd;

namespace FileDialogFlag {
constexpr uint32_t Explorer = 1u << 0;
}  // namespace FileDialogFlag

class CFileDialog {
public:
    // filter: "description|pattern|description|pattern||", "|" separating the parts.
    CFileDialog(const std::wstring& defaultExtension, const std::wstring& fileName, uint32_t flags,
                const std::wstring& filter, CWnd* parent = nullptr);

    void SetTitle(const std::wstring& title) { request_.title = title; }
    const platform::ui::FileOpenRequest& request() const { return request_; }

    // Window thread. IdOk when the user chose a file, IdCancel otherwise.
    int DoModal();
    std::wstring GetPathName() const { return path_; }

    // The description/pattern pairs of a filter list. An empty part ends the list; a
    // description without its pattern is left out and makes wellFormed false.
    static std::vector<platform::ui::FileFilter> ParseFilter(const std::wstring& filter, bool& wellFormed);

private:
    platform::ui::FileOpenRequest request_;
    CWnd* parent_;
    std::wstring path_;
};
