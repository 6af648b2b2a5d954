#include "platform/wx/MessageBoxWindow.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "platform/MessageBox.h"

namespace platform::wx {

namespace {

// Wide enough for the longest box of the programs on three lines, narrow enough for a small screen.
constexpr int WrapWidth = 340;

long boxStyle(wxWindow* owner) {
    // Top-most like the dialogs it stands in front of; an unowned box must not be parented by
    // wxWidgets to whatever window happens to be active.
    long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxSTAY_ON_TOP;
    if (owner == nullptr) style |= wxDIALOG_NO_PARENT;
    return style;
}

}  // namespace

MessageBoxWindow::MessageBoxWindow(wxWindow* owner, const std::wstring& text, const std::wstring& title,
                                   uint32_t type)
    : wxDialog(owner, wxID_ANY, wxString(title), wxDefaultPosition, wxDefaultSize, boxStyle(owner)),
      text_(text),
      title_(title),
      owned_(owner != nullptr) {
    auto* rows = new wxBoxSizer(wxVERTICAL);
    auto* body = new wxBoxSizer(wxHORIZONTAL);
    if ((type & 0xF0) == platform::MessageBoxType::IconStop) {
        body->Add(new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmap(wxART_ERROR, wxART_MESSAGE_BOX)), 0,
                  wxALL | wxALIGN_TOP, 10);
    }
    // The text is shown as it stands: no mnemonics, no markup.
    auto* label = new wxStaticText(this, wxID_ANY, wxString(text));
    label->SetLabelText(wxString(text));
    label->Wrap(WrapWidth);
    body->Add(label, 1, wxALL | wxEXPAND, 12);
    rows->Add(body, 1, wxEXPAND);
    auto* ok = new wxButton(this, wxID_OK, "OK");
    ok->SetDefault();
    rows->Add(ok, 0, wxALIGN_CENTRE | wxBOTTOM, 10);
    SetSizerAndFit(rows);
    SetEscapeId(wxID_OK);
    SetAffirmativeId(wxID_OK);

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { answer(); }, wxID_OK);
    // The close box answers the box too: with an OK button only, that is the answer it gives.
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (event.CanVeto()) event.Veto();
        answer();
    });
    Bind(wxEVT_CHAR_HOOK, &MessageBoxWindow::onKey, this);

    if (owner != nullptr && owner->IsShown()) {
        CentreOnParent();
    } else {
        CentreOnScreen();
    }
    ok->SetFocus();
}

void MessageBoxWindow::onKey(wxKeyEvent& event) {
    switch (event.GetKeyCode()) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
    case WXK_ESCAPE:
        answer();
        return;
    default:
        event.Skip();
    }
}

int MessageBoxWindow::run() {
    ShowModal();
    return platform::IdOk;
}

void MessageBoxWindow::answer() {
    if (IsModal()) EndModal(wxID_OK);
}

}  // namespace platform::wx
