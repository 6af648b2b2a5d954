// Reads the window front end's test dump (WINDOW_TEST_DUMP): its dialogs, their controls and
// the open message boxes, as the front end saw them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/window/XvfbDisplay.h"

namespace window_tests {

struct DumpedControl {
    int index = -1;
    int id = 0;
    std::string kind;  // button, edit, static, progress, combo
    std::string text;
    bool shown = false;
    bool enabled = false;
    ScreenRect rect;   // in the dialog's client area
    int textWidth = 0;
    int textHeight = 0;
    bool isDefault = false;
    std::string items;  // combo box: "COM1","COM2"
    int selected = -1;
};

struct DumpedDialog {
    int templateId = 0;
    std::string caption;
    bool shown = false;
    bool modal = false;
    bool topMost = false;
    bool closeBox = false;
    std::string icons;  // "11": large and small set
    ScreenRect frame;
    int clientWidth = 0;
    int clientHeight = 0;
    std::vector<DumpedControl> controls;

    const DumpedControl* control(int id) const;
};

struct DumpedBox {
    bool owned = false;
    std::string title;
    std::string text;
    bool shown = false;
    ScreenRect frame;
};

struct ControlTreeDump {
    std::vector<DumpedDialog> dialogs;
    std::vector<DumpedBox> boxes;

    static ControlTreeDump parse(const std::string& text);
    static ControlTreeDump readFile(const std::string& path);
    const DumpedDialog* dialog(int templateId) const;
};

}  // namespace window_tests
