#include "tests/window/WindowTestDialog.h"

#include "platform/DeviceNames.h"

namespace window_tests {

using namespace platform::ui;

const DialogTemplate& testTemplate() {
    static const DialogTemplate dialogTemplate = [] {
        DialogTemplate t;
        t.id = 500;
        t.caption = L"Front end test";
        t.rect = {0, 0, 150, 80};
        t.fontName = L"System";
        t.fontPoints = 8;
        t.styles = DialogStyle::Popup | DialogStyle::Caption | DialogStyle::SystemMenu | DialogStyle::ModalFrame;
        t.exStyles = DialogExStyle::AppWindow | DialogExStyle::CaptionOkButton;
        using namespace ControlStyle;
        t.controls = {
            {NoControlId, ControlKind::Static, L"Status:", {4, 4, 30, 9}, 0, true, true},
            {TestIds::Status, ControlKind::Static, L"Idle", {36, 4, 110, 9}, 0, true, true},
            {TestIds::Edit, ControlKind::Edit, L"", {4, 16, 80, 12}, TabStop | Border | AutoHScroll, true, true},
            {TestIds::Go, ControlKind::PushButton, L"Go", {96, 60, 50, 14}, TabStop | DefaultButton, true, true},
            {TestIds::Other, ControlKind::PushButton, L"Other", {40, 60, 50, 14}, TabStop, true, false},
            {TestIds::Progress, ControlKind::ProgressBar, L"Progress1", {4, 34, 142, 10}, Border, true, true},
            {TestIds::Combo, ControlKind::ComboBox, L"", {90, 16, 56, 40}, TabStop | DropDown | Sorted | VScroll,
             false, false},
        };
        return t;
    }();
    return dialogTemplate;
}

std::vector<ControlState> initialStates(const DialogTemplate& dialogTemplate) {
    std::vector<ControlState> states;
    for (size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
        const auto& control = dialogTemplate.controls[i];
        ControlState state;
        state.index = static_cast<int>(i);
        state.id = control.id;
        state.kind = control.kind;
        state.text = control.text;
        state.visible = control.visible;
        state.enabled = control.enabled;
        states.push_back(state);
    }
    return states;
}

void RecordingEvents::buttonPressed(int controlId) { log.push_back("button " + std::to_string(controlId)); }
void RecordingEvents::okCommand() { log.push_back("ok"); }
void RecordingEvents::cancelCommand() { log.push_back("cancel"); }
void RecordingEvents::closeRequest() { log.push_back("close"); }

void RecordingEvents::timerFired(uint32_t timerId) {
    ++ticks[timerId];
    if (onTimer) onTimer(timerId);
}

void RecordingEvents::textEdited(int controlIndex, const std::wstring& text, int selected) {
    log.push_back("edit " + std::to_string(controlIndex) + " " + platform::toUtf8(text) + " " + std::to_string(selected));
}

}  // namespace window_tests
