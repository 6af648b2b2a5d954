#include "platform/ui/CDialog.h"

#include "platform/ui/CComboBox.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CProgressCtrl.h"

using platform::ui::ControlKind;
using platform::ui::ControlState;
using platform::ui::frontEnd;

CDialog::CDialog(const platform::ui::DialogTemplate& dialogTemplate, CWnd* parent)
    : template_(dialogTemplate), parent_(parent) {
    Attach(this, -1);
    for (size_t i = 0; i < template_.controls.size(); ++i) {
        const auto& control = template_.controls[i];
        ControlState state;
        state.index = static_cast<int>(i);
        state.id = control.id;
        state.kind = control.kind;
        state.text = control.text;
        state.visible = control.visible;
        state.enabled = control.enabled;
        controls_.push_back(state);
    }
}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
    auto& ui = frontEnd();
    ended_ = false;
    result_ = -1;
    windowShown_ = (template_.styles & platform::ui::DialogStyle::Visible) != 0;
    handle_ = ui.createDialog(template_, controls_, *this);
    OnDialogInit();
    // A dialog ended during its initialisation never enters the loop.
    if (!ended_) {
        modalRunning_ = true;
        result_ = ui.runModal(handle_);
        modalRunning_ = false;
    }
    ui.destroyDialog(handle_);
    handle_ = platform::ui::NoWindow;
    windowShown_ = false;
    return result_;
}

void CDialog::EndDialog(int result) {
    onWindowThread([&] {
        if (ended_) return;
        ended_ = true;
        result_ = result;
        if (modalRunning_) frontEnd().endModal(handle_, result);
    });
}

bool CDialog::UpdateData(bool saveAndValidate) {
    bool done = true;
    onWindowThread([&] {
        CDataExchange dx(*this, saveAndValidate);
        DoDataExchange(dx);
        done = !dx.failed();
    });
    return done;
}

CWnd* CDialog::GetDlgItem(int controlId) {
    int index = template_.indexOf(controlId);
    if (index < 0) return nullptr;
    std::lock_guard lock(itemsMutex_);
    auto& item = items_[index];
    if (!item) {
        switch (template_.controls[index].kind) {
        case ControlKind::ProgressBar: item = std::make_unique<CProgressCtrl>(); break;
        case ControlKind::ComboBox: item = std::make_unique<CComboBox>(); break;
        default: item = std::make_unique<CWnd>(); break;
        }
        item->Attach(this, index);
    }
    return item.get();
}

void CDialog::changeControl(int index, const std::function<void(ControlState&)>& change) {
    ControlState& state = controls_[index];
    ControlState before = state;
    change(state);
    if (state != before && handle_ != platform::ui::NoWindow) frontEnd().controlChanged(handle_, state);
}

void CDialog::DoDataExchange(CDataExchange&) {}

bool CDialog::OnDialogInit() {
    for (const auto& item : template_.initData) {
        if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(item.controlId))) combo->AddString(item.text);
    }
    UpdateData(false);
    return true;
}

void CDialog::OnOkCommand() {
    // A field that does not take its control's value keeps the dialog open.
    if (!UpdateData(true)) return;
    EndDialog(IdOk);
}

void CDialog::OnCancelCommand() { EndDialog(IdCancel); }

void CDialog::OnCloseRequest() { OnCancelCommand(); }

void CDialog::OnButton(int controlId, std::function<void()> handler) {
    buttonHandlers_[controlId] = std::move(handler);
}

void CDialog::buttonPressed(int controlId) {
    int index = template_.indexOf(controlId);
    if (index < 0) return;
    const ControlState& state = controls_[index];
    // A press that reaches us after the button was hidden or disabled is dropped, as in a window.
    if (state.kind != ControlKind::PushButton || !state.visible || !state.enabled) return;
    auto handler = buttonHandlers_.find(controlId);
    if (handler != buttonHandlers_.end()) {
        handler->second();
    } else if (controlId == IdOk) {
        OnOkCommand();
    } else if (controlId == IdCancel) {
        OnCancelCommand();
    }
}

void CDialog::okCommand() { OnOkCommand(); }
void CDialog::cancelCommand() { OnCancelCommand(); }
void CDialog::closeRequest() { OnCloseRequest(); }
void CDialog::timerFired(uint32_t timerId) { OnTimerTick(timerId); }

void CDialog::textEdited(int controlIndex, const std::wstring& text, int selected) {
    if (controlIndex < 0 || controlIndex >= static_cast<int>(controls_.size())) return;
    ControlState& state = controls_[controlIndex];
    state.text = text;
    if (state.kind == ControlKind::ComboBox) {
        state.selected = (selected >= 0 && selected < static_cast<int>(state.items.size())) ? selected : -1;
    }
}
