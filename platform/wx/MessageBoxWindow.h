// A message box: a text, a title and an OK button. Built on wxDialog rather than the native
// GTK box so the front end can list it (test hook) and answer it like any other dialog.
#pragma once

#include <cstdint>
#include <string>

#include <wx/dialog.h>

namespace platform::wx {

class MessageBoxWindow : public wxDialog {
public:
    // owner null: a box owned by no window. type: platform::MessageBoxType bits.
    MessageBoxWindow(wxWindow* owner, const std::wstring& text, const std::wstring& title, uint32_t type);

    // Runs the box's modal loop until it is answered; returns platform::IdOk (the only button).
    int run();
    // Answers the box as the OK button does (test hook).
    void answer();

    const std::wstring& text() const { return text_; }
    const std::wstring& title() const { return title_; }
    bool owned() const { return owned_; }

private:
    void onKey(wxKeyEvent& event);

    std::wstring text_;
    std::wstring title_;
    bool owned_;
};

}  // namespace platform::wx
