#include "platform/ui/CComboBox.h"

#include <algorithm>
#include <cwctype>

#include "platform/ui/CDialog.h"

using platform::ui::ControlState;

namespace {

int compareIgnoringCase(const std::wstring& a, const std::wstring& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        wint_t x = std::towlower(static_cast<wint_t>(a[i]));
        wint_t y = std::towlower(static_cast<wint_t>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace

int CComboBox::findExact(const std::vector<std::wstring>& items, const std::wstring& text) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (compareIgnoringCase(items[i], text) == 0) return static_cast<int>(i);
    }
    return -1;
}

int CComboBox::AddString(const std::wstring& text) {
    if (!isControl()) return -1;
    bool sorted = (dialog_->dialogTemplate().controls[index_].styles & platform::ui::ControlStyle::Sorted) != 0;
    int added = -1;
    changeControl([&](ControlState& s) {
        auto at = s.items.end();
        if (sorted) {
            // After equal items, so items added in order keep that order.
            at = std::upper_bound(s.items.begin(), s.items.end(), text, [](const std::wstring& a, const std::wstring& b) {
                return compareIgnoringCase(a, b) < 0;
            });
        }
        added = static_cast<int>(at - s.items.begin());
        s.items.insert(at, text);
        if (s.selected >= added) ++s.selected;
    });
    return added;
}

int CComboBox::GetCount() const { return static_cast<int>(controlState().items.size()); }

int CComboBox::GetCurSel() const { return controlState().selected; }

int CComboBox::SetCurSel(int index) {
    int result = -1;
    changeControl([&](ControlState& s) {
        if (index < 0 || index >= static_cast<int>(s.items.size())) {
            s.selected = -1;
            s.text.clear();
            return;
        }
        s.selected = index;
        s.text = s.items[index];
        result = index;
    });
    return result;
}

std::wstring CComboBox::GetLBText(int index) const {
    ControlState state = controlState();
    if (index < 0 || index >= static_cast<int>(state.items.size())) return {};
    return state.items[index];
}

int CComboBox::SelectString(const std::wstring& text) {
    int result = -1;
    changeControl([&](ControlState& s) {
        result = findExact(s.items, text);
        if (result < 0) return;
        s.selected = result;
        s.text = s.items[result];
    });
    return result;
}

void CComboBox::ResetContent() {
    changeControl([&](ControlState& s) {
        s.items.clear();
        s.selected = -1;
        s.text.clear();
    });
}
