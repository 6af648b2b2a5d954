#include "platform/ui/DialogTemplate.h"

namespace platform::ui {

int DialogTemplate::indexOf(int controlId) const {
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].id == controlId) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace platform::ui
