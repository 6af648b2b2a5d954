#include "platform/ui/CDataExchange.h"

#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"

int CDataExchange::indexOf(int controlId) {
    int index = dialog_.dialogTemplate().indexOf(controlId);
    if (index < 0) failed_ = true;
    return index;
}

void CDataExchange::Text(int controlId, std::wstring& field) {
    int index = indexOf(controlId);
    if (index < 0) return;
    if (saveAndValidate_) {
        field = dialog_.controlStates()[index].text;
    } else {
        dialog_.changeControl(index, [&](platform::ui::ControlState& s) { s.text = field; });
    }
}

void CDataExchange::ComboText(int controlId, std::wstring& field) {
    int index = indexOf(controlId);
    if (index < 0) return;
    if (saveAndValidate_) {
        field = dialog_.controlStates()[index].text;
        return;
    }
    dialog_.changeControl(index, [&](platform::ui::ControlState& s) {
        int match = CComboBox::findExact(s.items, field);
        s.selected = match;
        s.text = match >= 0 ? s.items[match] : field;
    });
}

void CDataExchange::Control(int controlId, CWnd& control) {
    int index = indexOf(controlId);
    if (index < 0) return;
    if (!control.IsAttached()) control.Attach(&dialog_, index);
}
