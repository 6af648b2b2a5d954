// The current state of one control of a dialog, as the dialog layer keeps it and a front end
// shows it. The dialog layer owns this state; a front end only mirrors it.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/DialogTemplate.h"

namespace platform::ui {

struct ControlState {
    int index = 0;                 // position in the template (labels share NoControlId)
    int id = NoControlId;
    ControlKind kind = ControlKind::Static;
    std::wstring text;             // window text; for a combo box: the text of its edit field
    bool visible = true;
    bool enabled = true;
    // Combo box.
    std::vector<std::wstring> items;
    int selected = -1;             // index into items, -1 = none
    // Progress bar.
    int lower = 0;
    int upper = 100;
    int position = 0;
    int step = 10;

    bool operator==(const ControlState&) const = default;
};

}  // namespace platform::ui
