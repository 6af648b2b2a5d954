// A combo box control: a list of texts, one of them selected, and an edit part.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/CWnd.h"

class CComboBox : public CWnd {
public:
    // Adds an item, in sorted place when the control has the sorted style; returns its index.
    int AddString(const std::wstring& text);
    int GetCount() const;
    // -1 when no item is selected.
    int GetCurSel() const;
    // Selects an item (its text goes into the edit part); -1 clears the selection.
    // Returns the index, or -1 when it is out of range.
    int SetCurSel(int index);
    std::wstring GetLBText(int index) const;
    // Selects the first item equal to text, ignoring case; -1 (and nothing changes) when none is.
    int SelectString(const std::wstring& text);
    void ResetContent();

    // Index of the first item equal to text, ignoring case, or -1.
    static int findExact(const std::vector<std::wstring>& items, const std::wstring& text);
};
