#include "platform/wx/FileFilterList.h"

namespace platform::wx {

namespace {

std::wstring trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

std::wstring FileFilterList::hostPatterns(const std::wstring& patterns) {
    std::wstring result;
    size_t start = 0;
    for (;;) {
        size_t semicolon = patterns.find(L';', start);
        std::wstring one =
            trimmed(patterns.substr(start, semicolon == std::wstring::npos ? std::wstring::npos : semicolon - start));
        if (one == L"*.*") one = L"*";
        if (!one.empty()) {
            if (!result.empty()) result += L';';
            result += one;
        }
        if (semicolon == std::wstring::npos) break;
        start = semicolon + 1;
    }
    // An entry whose patterns are all blank would match nothing; let it list every file.
    return result.empty() ? L"*" : result;
}

std::wstring FileFilterList::toWildcard(const std::vector<platform::ui::FileFilter>& filters) {
    std::wstring wildcard;
    for (const auto& filter : filters) {
        if (!wildcard.empty()) wildcard += L'|';
        // The description is shown as given, "(*.*)" and all: it is the program's text.
        wildcard += filter.description + L'|' + hostPatterns(filter.pattern);
    }
    return wildcard;
}

}  // namespace platform::wx
