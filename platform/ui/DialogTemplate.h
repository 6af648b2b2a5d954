// A dialog template as plain data: what the dialog editor would have put in the resource file.
// Rectangles are in dialog units; a front end maps them to its own pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::ui {

// Controls without an id of their own (labels) all carry this one, as in the resource editor.
constexpr int NoControlId = -1;

enum class ControlKind { PushButton, Edit, Static, ProgressBar, ComboBox };

namespace ControlStyle {
constexpr uint32_t TabStop = 1u << 0;
constexpr uint32_t DefaultButton = 1u << 1;   // push button: Enter presses it
constexpr uint32_t Border = 1u << 2;
constexpr uint32_t AutoHScroll = 1u << 3;     // edit box scrolls horizontally
constexpr uint32_t DropDown = 1u << 4;        // combo box: editable field with a drop-down list
constexpr uint32_t Sorted = 1u << 5;          // combo box keeps its items sorted
constexpr uint32_t VScroll = 1u << 6;         // vertical scroll bar on the list
}  // namespace ControlStyle

namespace DialogStyle {
constexpr uint32_t Popup = 1u << 0;
constexpr uint32_t Caption = 1u << 1;
constexpr uint32_t SystemMenu = 1u << 2;      // the close box
constexpr uint32_t ModalFrame = 1u << 3;
constexpr uint32_t Visible = 1u << 4;         // shown as soon as it is created
}  // namespace DialogStyle

namespace DialogExStyle {
constexpr uint32_t AppWindow = 1u << 0;        // listed among the running programs
constexpr uint32_t CaptionOkButton = 1u << 1;  // an OK button in the caption gives the OK command
}  // namespace DialogExStyle

struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const DialogRect&) const = default;
};

struct ControlTemplate {
    int id = NoControlId;
    ControlKind kind = ControlKind::Static;
    std::wstring text;   // initial text ("Progress1" for a progress bar is its window text)
    DialogRect rect;     // dialog units
    uint32_t styles = 0; // ControlStyle bits
    bool visible = true;
    bool enabled = true;
};

// An item that the dialog's own initialisation adds to a combo box, in this order.
struct ComboInitItem {
    int controlId = NoControlId;
    std::wstring text;
};

struct DialogTemplate {
    int id = 0;
    std::wstring caption;
    DialogRect rect;                     // dialog units; x and y are 0 for a centred dialog
    std::wstring fontName;
    int fontPoints = 8;
    uint32_t styles = 0;                 // DialogStyle bits
    uint32_t exStyles = 0;               // DialogExStyle bits
    std::vector<ControlTemplate> controls;  // template order = tab order
    std::vector<ComboInitItem> initData;

    // Index of the first control with this id, or -1.
    int indexOf(int controlId) const;
};

}  // namespace platform::ui
