// The file-open dialog's filter list in the form wxWidgets takes: "Desc|pattern|Desc|pattern".
#pragma once

#include <string>
#include <vector>

#include "platform/ui/FrontEnd.h"

namespace platform::wx {

class FileFilterList {
public:
    // Empty when there are no filters (the dialog then lists every file).
    static std::wstring toWildcard(const std::vector<platform::ui::FileFilter>& filters);
    // One entry's patterns, ';'-separated, as the host matches them: the device's "*.*" means
    // every file, but on the host it would skip names without a dot, so it becomes "*".
    static std::wstring hostPatterns(const std::wstring& patterns);
};

}  // namespace platform::wx
