#include "platform/wx/DialogWindow.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/gauge.h>
#include <wx/iconbndl.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include "platform/wx/TestHook.h"

namespace platform::wx {

using platform::ui::ControlKind;
using platform::ui::ControlState;
using platform::ui::ControlTemplate;
using platform::ui::DialogTemplate;

// One timer of the dialog. Its tick is posted, not handled in the toolkit's timer callback, so
// a handler that opens a box (a nested loop) does not hold this timer's own source up.
class DialogWindow::Tick : public wxTimer {
public:
    Tick(DialogWindow& owner, uint32_t timerId) : owner_(owner), id_(timerId) {}
    void Notify() override { owner_.tickDue(id_); }

    uint64_t generation = 0;  // counts set and kill, so a tick posted before either is dropped
    bool posted = false;      // a tick that fell behind is delivered once

private:
    DialogWindow& owner_;
    uint32_t id_;
};

namespace {

enum ContextCommand { ContextOk = wxID_HIGHEST + 1, ContextCancel, ContextClose };

long windowStyle(const DialogTemplate& dialogTemplate) {
    // A modal frame: caption, no resize border; the system menu brings the close box.
    long style = wxCAPTION | wxDIALOG_NO_PARENT;
    if (dialogTemplate.styles & platform::ui::DialogStyle::SystemMenu) style |= wxSYSTEM_MENU | wxCLOSE_BOX;
    return style;
}

const char* kindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton: return "button";
    case ControlKind::Edit: return "edit";
    case ControlKind::Static: return "static";
    case ControlKind::ProgressBar: return "progress";
    case ControlKind::ComboBox: return "combo";
    }
    return "unknown";
}

void setGauge(wxGauge* gauge, const ControlState& state) {
    int range = std::max(1, state.upper - state.lower);
    gauge->SetRange(range);
    gauge->SetValue(std::clamp(state.position - state.lower, 0, range));
}

}  // namespace

wxFont DialogWindow::fontFor(const DialogTemplate& dialogTemplate) {
    int pixels = std::max(8, static_cast<int>(dialogTemplate.fontPoints * 3 / 2));
    return wxFont(wxFontInfo(wxSize(0, pixels)).Family(wxFONTFAMILY_SWISS).FaceName("DejaVu Sans"));
}

DialogWindow::DialogWindow(platform::ui::WindowHandle handle, const DialogTemplate& dialogTemplate,
                           const std::vector<ControlState>& controls, platform::ui::DialogEvents& events)
    : wxDialog(nullptr, wxID_ANY, wxString(dialogTemplate.caption), wxDefaultPosition, wxDefaultSize,
               windowStyle(dialogTemplate)),
      handle_(handle),
      template_(dialogTemplate),
      events_(&events) {
    SetFont(fontFor(template_));
    PixelRect client = DialogUnitScale::base().clientOf(template_.rect);
    SetClientSize(client.width, client.height);
    if (template_.rect.x != 0 || template_.rect.y != 0) {
        DialogUnitScale scale = DialogUnitScale::base();
        PixelRect at = scale.toPixels(template_.rect);
        Move(at.x, at.y);
    } else {
        CentreOnScreen();
    }
    for (size_t i = 0; i < template_.controls.size(); ++i) {
        ControlState state = i < controls.size() ? controls[i] : ControlState{};
        state.index = static_cast<int>(i);
        createControl(template_.controls[i], state);
    }
    layout();

    Bind(wxEVT_BUTTON, &DialogWindow::onButton, this);
    Bind(wxEVT_TEXT, &DialogWindow::onText, this);
    Bind(wxEVT_COMBOBOX, &DialogWindow::onComboPick, this);
    Bind(wxEVT_CHAR_HOOK, &DialogWindow::onKey, this);
    Bind(wxEVT_CLOSE_WINDOW, &DialogWindow::onClose, this);
    Bind(wxEVT_CONTEXT_MENU, &DialogWindow::onContextMenu, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        layout();
        event.Skip();
    });
    // wxDialog would answer Escape and the close box itself by ending the modal loop; here
    // both go to the dialog layer instead.
    SetEscapeId(wxID_NONE);
    SetAffirmativeId(wxID_NONE);

    if (template_.styles & platform::ui::DialogStyle::Visible) Show();
}

DialogWindow::~DialogWindow() { detach(); }

void DialogWindow::createControl(const ControlTemplate& control, const ControlState& state) {
    using namespace platform::ui::ControlStyle;
    wxWindow* window = nullptr;
    const wxString text(state.text);
    switch (control.kind) {
    case ControlKind::PushButton: {
        auto* button = new wxButton(this, wxID_ANY, text);
        if (control.styles & DefaultButton) button->SetDefault();
        window = button;
        break;
    }
    case ControlKind::Edit: {
        long style = (control.styles & Border) ? wxBORDER_DEFAULT : wxBORDER_NONE;
        auto* edit = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, style);
        edit->ChangeValue(text);
        window = edit;
        break;
    }
    case ControlKind::Static:
        // The template's rectangle is the label's: it neither grows nor shrinks with its text.
        window = new wxStaticText(this, wxID_ANY, text, wxDefaultPosition, wxDefaultSize, wxST_NO_AUTORESIZE);
        break;
    case ControlKind::ProgressBar: {
        auto* gauge = new wxGauge(this, wxID_ANY, 100, wxDefaultPosition, wxDefaultSize, wxGA_HORIZONTAL | wxGA_SMOOTH);
        setGauge(gauge, state);
        window = gauge;
        break;
    }
    case ControlKind::ComboBox: {
        // Not wxCB_SORT: the dialog layer keeps the items in their sorted order, and the list
        // must keep the layer's indices.
        wxArrayString items;
        for (const auto& item : state.items) items.Add(wxString(item));
        auto* combo = new wxComboBox(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, items,
                                     wxCB_DROPDOWN);
        if (state.selected >= 0 && state.selected < static_cast<int>(state.items.size())) {
            combo->SetSelection(state.selected);
        }
        combo->ChangeValue(text);
        window = combo;
        break;
    }
    }
    window->Show(state.visible);
    window->Enable(state.enabled);
    controls_.push_back(Control{window, state});
}

void DialogWindow::layout() {
    wxSize client = GetClientSize();
    DialogUnitScale scale = DialogUnitScale::fitting(template_.rect, client.x, client.y);
    for (size_t i = 0; i < controls_.size(); ++i) {
        PixelRect at = scale.toPixels(template_.controls[i].rect);
        wxWindow* window = controls_[i].window;
        // A combo box's template height includes its dropped-down list; the closed box is as
        // tall as the toolkit draws it, never taller than the template allows.
        if (template_.controls[i].kind == ControlKind::ComboBox) {
            at.height = std::min(at.height, window->GetBestSize().y);
        }
        window->SetSize(at.x, at.y, at.width, at.height);
    }
}

void DialogWindow::detach() {
    events_ = nullptr;
    for (auto& [id, timer] : timers_) {
        timer->Stop();
        ++timer->generation;
    }
}

void DialogWindow::mirror(const ControlState& state) {
    if (state.index < 0 || state.index >= static_cast<int>(controls_.size())) return;
    Control& control = controls_[state.index];
    // Changes made here are the dialog layer's own: they are not reported back as edits.
    mirroring_ = true;
    const wxString text(state.text);
    switch (state.kind) {
    case ControlKind::Edit:
        static_cast<wxTextCtrl*>(control.window)->ChangeValue(text);
        break;
    case ControlKind::ProgressBar:
        setGauge(static_cast<wxGauge*>(control.window), state);
        break;
    case ControlKind::ComboBox: {
        auto* combo = static_cast<wxComboBox*>(control.window);
        if (state.items != control.state.items) {
            wxArrayString items;
            for (const auto& item : state.items) items.Add(wxString(item));
            combo->Set(items);
        }
        if (state.selected >= 0 && state.selected < static_cast<int>(state.items.size())) {
            combo->SetSelection(state.selected);
        }
        combo->ChangeValue(text);
        break;
    }
    default:
        if (control.window->GetLabel() != text) control.window->SetLabel(text);
        break;
    }
    if (state.visible != control.state.visible) control.window->Show(state.visible);
    if (state.enabled != control.state.enabled) control.window->Enable(state.enabled);
    mirroring_ = false;
    control.state = state;
}

void DialogWindow::place(const platform::ui::WindowPlacement& placement) {
    long style = GetWindowStyleFlag();
    long wanted = placement.topMost ? (style | wxSTAY_ON_TOP) : (style & ~wxSTAY_ON_TOP);
    if (wanted != style) SetWindowStyleFlag(wanted);
    SetSize(placement.x, placement.y, placement.width, placement.height, wxSIZE_ALLOW_MINUS_ONE);
    layout();
}

void DialogWindow::showWindow(bool shown) {
    if (shown) {
        Show(true);
        Raise();
    } else if (IsModal()) {
        // wxDialog::Show(false) would end the modal loop; hiding does not end a dialog.
        wxDialogBase::Show(false);
    } else {
        Show(false);
    }
}

void DialogWindow::centre() { CentreOnScreen(wxBOTH); }

void DialogWindow::setIcon(const wxIcon& icon, bool large) {
    (large ? largeIcon_ : smallIcon_) = icon;
    wxIconBundle bundle;
    if (largeIcon_.IsOk()) bundle.AddIcon(largeIcon_);
    if (smallIcon_.IsOk()) bundle.AddIcon(smallIcon_);
    SetIcons(bundle);
}

void DialogWindow::repaintNow() {
    for (auto& control : controls_) control.window->Refresh();
    Refresh();
    Update();
}

void DialogWindow::setTimer(uint32_t timerId, uint32_t periodMs) {
    auto& timer = timers_[timerId];
    if (!timer) timer = std::make_unique<Tick>(*this, timerId);
    timer->Stop();
    ++timer->generation;
    timer->posted = false;
    if (events_ == nullptr) return;
    // A period of 0 still ticks, as fast as the loop allows.
    timer->Start(static_cast<int>(std::clamp<uint32_t>(periodMs, 1, 0x7fffffff)));
}

void DialogWindow::killTimer(uint32_t timerId) {
    auto found = timers_.find(timerId);
    if (found == timers_.end()) return;
    // Kept, not deleted: killTimer may come from inside this timer's own tick.
    found->second->Stop();
    ++found->second->generation;
    found->second->posted = false;
}

void DialogWindow::tickDue(uint32_t timerId) {
    auto found = timers_.find(timerId);
    if (found == timers_.end() || found->second->posted) return;
    found->second->posted = true;
    CallAfter(&DialogWindow::deliverTick, timerId, found->second->generation);
}

void DialogWindow::deliverTick(uint32_t timerId, uint64_t generation) {
    auto found = timers_.find(timerId);
    if (found == timers_.end() || found->second->generation != generation) return;
    found->second->posted = false;
    if (!found->second->IsRunning() || events_ == nullptr) return;
    events_->timerFired(timerId);
}

void DialogWindow::closeRequested() {
    if (events_ != nullptr) events_->closeRequest();
}

void DialogWindow::requestEnd(int result) {
    endRequested_ = true;
    endResult_ = result;
}

int DialogWindow::runModal() {
    if (!endRequested_) ShowModal();
    return endResult_;
}

void DialogWindow::finishModal() {
    if (endRequested_ && IsModal()) EndModal(endResult_);
}

int DialogWindow::indexOf(const wxObject* window) const {
    for (size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i].window == window) return static_cast<int>(i);
    }
    return -1;
}

int DialogWindow::defaultButtonIndex() const {
    for (size_t i = 0; i < template_.controls.size(); ++i) {
        const auto& control = template_.controls[i];
        if (control.kind == ControlKind::PushButton && (control.styles & platform::ui::ControlStyle::DefaultButton)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool DialogWindow::usable(int index) const {
    return index >= 0 && controls_[index].state.visible && controls_[index].state.enabled;
}

wxWindow* DialogWindow::controlWindow(int controlId) const {
    int index = template_.indexOf(controlId);
    return index >= 0 && index < static_cast<int>(controls_.size()) ? controls_[index].window : nullptr;
}

void DialogWindow::onButton(wxCommandEvent& event) {
    int index = indexOf(event.GetEventObject());
    if (index < 0 || events_ == nullptr) return;
    // Only a press of a shown, enabled button counts; a late click on one just hidden does not.
    if (template_.controls[index].kind != ControlKind::PushButton || !usable(index)) return;
    events_->buttonPressed(template_.controls[index].id);
}

void DialogWindow::onText(wxCommandEvent& event) {
    int index = indexOf(event.GetEventObject());
    if (index < 0 || mirroring_ || events_ == nullptr) return;
    Control& control = controls_[index];
    auto* entry = dynamic_cast<wxTextEntry*>(control.window);
    if (entry == nullptr) return;
    std::wstring text = entry->GetValue().ToStdWstring();
    if (text == control.state.text) return;
    control.state.text = text;
    control.state.selected = control.state.kind == ControlKind::ComboBox ? -1 : control.state.selected;
    events_->textEdited(index, text, -1);
}

void DialogWindow::onComboPick(wxCommandEvent& event) {
    int index = indexOf(event.GetEventObject());
    if (index < 0 || mirroring_ || events_ == nullptr) return;
    Control& control = controls_[index];
    int picked = static_cast<wxComboBox*>(control.window)->GetSelection();
    if (picked < 0 || picked >= static_cast<int>(control.state.items.size())) return;
    control.state.selected = picked;
    control.state.text = control.state.items[picked];
    events_->textEdited(index, control.state.text, picked);
}

void DialogWindow::onKey(wxKeyEvent& event) {
    if (events_ == nullptr) return event.Skip();
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE) {
        events_->cancelCommand();
        return;
    }
    if (key != WXK_RETURN && key != WXK_NUMPAD_ENTER) return event.Skip();
    // Ctrl+Enter is the caption's OK button: no window manager here draws one.
    if (event.ControlDown() && (template_.exStyles & platform::ui::DialogExStyle::CaptionOkButton)) {
        events_->okCommand();
        return;
    }
    // As in the device's dialogs: a focused push button takes Enter, then the default button
    // (nothing happens while it is hidden or disabled), and without one Enter is the OK command.
    int focused = indexOf(FindFocus());
    if (focused >= 0 && template_.controls[focused].kind == ControlKind::PushButton && usable(focused)) {
        events_->buttonPressed(template_.controls[focused].id);
        return;
    }
    int byDefault = defaultButtonIndex();
    if (byDefault >= 0) {
        if (usable(byDefault)) {
            events_->buttonPressed(template_.controls[byDefault].id);
        } else {
            wxBell();
        }
        return;
    }
    events_->okCommand();
}

void DialogWindow::onClose(wxCloseEvent& event) {
    // The window goes only when the dialog layer destroys it; the close box is a request.
    if (event.CanVeto()) event.Veto();
    if (events_ != nullptr) events_->closeRequest();
}

void DialogWindow::onContextMenu(wxContextMenuEvent&) {
    if (events_ == nullptr) return;
    wxMenu menu;
    if (template_.exStyles & platform::ui::DialogExStyle::CaptionOkButton) menu.Append(ContextOk, "OK\tCtrl+Enter");
    menu.Append(ContextCancel, "Cancel\tEsc");
    if (template_.styles & platform::ui::DialogStyle::SystemMenu) menu.Append(ContextClose, "Close");
    int chosen = GetPopupMenuSelectionFromUser(menu);
    // The menu is gone before the command runs, as after a click on the caption.
    if (chosen == ContextOk || chosen == ContextCancel || chosen == ContextClose) {
        CallAfter([this, chosen] {
            if (events_ == nullptr) return;
            if (chosen == ContextOk) events_->okCommand();
            if (chosen == ContextCancel) events_->cancelCommand();
            if (chosen == ContextClose) events_->closeRequest();
        });
    }
}

void DialogWindow::describe(std::ostream& out) const {
    wxRect frame = GetScreenRect();
    wxSize client = GetClientSize();
    out << "dialog handle=" << handle_ << " template=" << template_.id << " caption=" << TestHook::quoted(GetTitle())
        << " shown=" << IsShown() << " modal=" << IsModal() << " enabled=" << IsEnabled()
        << " topmost=" << HasFlag(wxSTAY_ON_TOP) << " closebox=" << HasFlag(wxCLOSE_BOX)
        << " icons=" << largeIcon_.IsOk() << smallIcon_.IsOk() << " frame=" << frame.x << ',' << frame.y << ','
        << frame.width << ',' << frame.height << " client=" << client.x << ',' << client.y
        << " font=" << TestHook::quoted(GetFont().GetFaceName()) << " fontpx=" << GetFont().GetPixelSize().y << '\n';
    for (size_t i = 0; i < controls_.size(); ++i) {
        const Control& control = controls_[i];
        wxRect at = control.window->GetRect();
        wxString text;
        if (auto* entry = dynamic_cast<wxTextEntry*>(control.window)) {
            text = entry->GetValue();
        } else if (control.state.kind != ControlKind::ProgressBar) {
            text = control.window->GetLabel();
        }
        wxClientDC dc(control.window);
        dc.SetFont(control.window->GetFont());
        wxSize extent = text.empty() ? wxSize(0, 0) : dc.GetMultiLineTextExtent(wxString(text).Remove('&'));
        out << "control index=" << i << " id=" << template_.controls[i].id << " kind=" << kindName(control.state.kind)
            << " text=" << TestHook::quoted(text) << " shown=" << control.window->IsShown()
            << " enabled=" << control.window->IsEnabled() << " rect=" << at.x << ',' << at.y << ',' << at.width
            << ',' << at.height << " textsize=" << extent.x << ',' << extent.y;
        if (auto* button = dynamic_cast<wxButton*>(control.window)) {
            out << " default=" << (GetDefaultItem() == button);
        }
        if (auto* gauge = dynamic_cast<wxGauge*>(control.window)) {
            out << " range=" << gauge->GetRange() << " value=" << gauge->GetValue();
        }
        if (auto* combo = dynamic_cast<wxComboBox*>(control.window)) {
            out << " items=";
            for (unsigned n = 0; n < combo->GetCount(); ++n) out << (n ? "," : "") << TestHook::quoted(combo->GetString(n));
            out << " selected=" << combo->GetSelection();
        }
        out << '\n';
    }
}

}  // namespace platform::wx
