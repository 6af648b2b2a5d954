// One run of a dialog's data exchange: copies fields into controls or controls into fields.
// The dialog's DoDataExchange lists its fields in order with the calls below.
#pragma once

#include <string>

class CDialog;
class CWnd;

class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate) : dialog_(dialog), saveAndValidate_(saveAndValidate) {}

    // true: controls into fields; false: fields into controls.
    bool saveAndValidate() const { return saveAndValidate_; }
    // A field named a control that the template lacks.
    bool failed() const { return failed_; }

    // The control's text and a text field.
    void Text(int controlId, std::wstring& field);
    // A combo box's selected text and a text field: loading selects the item that matches the
    // field (ignoring case), or, when none does, shows the field in the edit part.
    void ComboText(int controlId, std::wstring& field);
    // Binds a window object to the control, so the dialog can work it through the object.
    void Control(int controlId, CWnd& control);

private:
    int indexOf(int controlId);

    CDialog& dialog_;
    bool saveAndValidate_;
    bool failed_ = false;
};
