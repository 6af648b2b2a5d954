#include "updatetool/ui/UpdateToolTemplate.h"

#include "updatetool/ui/Resource.h"

using namespace platform::ui;

namespace {

DialogTemplate build() {
    using namespace ControlStyle;
    constexpr bool shown = true;
    constexpr bool hidden = false;
    DialogTemplate t;
    t.id = IDD_UPDATETOOL_DIALOG;
    t.caption = L"Ferrovane";
    t.rect = {0, 0, 177, 102};
    t.fontName = L"System";
    t.fontPoints = 8;
    // Not visible when created: initialisation shows it after the warning.
    t.styles = DialogStyle::Popup | DialogStyle::Caption | DialogStyle::SystemMenu | DialogStyle::ModalFrame;
    t.exStyles = DialogExStyle::AppWindow | DialogExStyle::CaptionOkButton;
    // {id, kind, text, rect, styles, visible, enabled}; hidden controls are also disabled.
    t.controls = {
        {IDC_LOADER_FILE, ControlKind::PushButton, L"LoaderFile", {128, 3, 46, 12}, TabStop, hidden, false},
        {IDC_LOADER_PATH, ControlKind::Edit, L"", {86, 3, 88, 12}, Border | AutoHScroll | TabStop, hidden, false},
        {IDC_UPDATE, ControlKind::PushButton, L"Update", {113, 84, 53, 13}, DefaultButton | TabStop, shown, true},
        {IDC_STATUS_LABEL, ControlKind::Static, L"Status:", {1, 56, 24, 9}, 0, shown, true},
        {IDC_STATUS, ControlKind::Static, L"", {29, 57, 136, 9}, 0, shown, true},
        {IDC_TARGET_FILE, ControlKind::PushButton, L"Target File", {128, 3, 46, 12}, TabStop, hidden, false},
        {IDC_FIRMWARE_PATH, ControlKind::Edit, L"", {86, 3, 88, 12}, Border | AutoHScroll | TabStop, hidden, false},
        {IDC_PROGRESS, ControlKind::ProgressBar, L"Progress1", {1, 70, 164, 11}, Border, shown, true},
        {IDC_FW_VERSION, ControlKind::PushButton, L"F/W Version", {103, 3, 54, 13}, TabStop, hidden, false},
        {IDC_PORT, ControlKind::ComboBox, L"", {128, 3, 46, 32}, DropDown | Sorted | VScroll | TabStop, hidden, false},
        {NoControlId, ControlKind::Static, L"The new version after upgrade:", {1, 29, 114, 11}, 0, shown, true},
        {IDC_REPAIR, ControlKind::PushButton, L"Repair", {104, 3, 53, 13}, TabStop, hidden, false},
        {NoControlId, ControlKind::Static, L"Current Firmware version:", {1, 3, 126, 10}, 0, shown, true},
        {NoControlId, ControlKind::Static, L"Please select the file to update:", {46, 3, 128, 10}, 0, hidden, false},
        {NoControlId, ControlKind::Static, L"Version1.0", {1, 86, 78, 9}, 0, shown, true},
        {IDC_CURRENT_VERSION, ControlKind::Static, L"Current", {1, 15, 124, 10}, 0, shown, true},
        {IDC_NEW_VERSION, ControlKind::Static, L"After", {1, 41, 124, 11}, 0, shown, true},
    };
    t.initData = {{IDC_PORT, L"COM1"}, {IDC_PORT, L"COM2"}};
    return t;
}

}  // namespace

const DialogTemplate& UpdateToolDialogTemplate() {
    static const DialogTemplate dialogTemplate = build();
    return dialogTemplate;
}
