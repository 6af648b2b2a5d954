#include "platform/ui/CProgressCtrl.h"

#include <algorithm>

using platform::ui::ControlState;

namespace {

int clampTo(const ControlState& s, int position) {
    if (s.upper < s.lower) return s.lower;
    return std::clamp(position, s.lower, s.upper);
}

}  // namespace

void CProgressCtrl::SetRange(int lower, int upper) {
    changeControl([&](ControlState& s) {
        s.lower = lower;
        s.upper = upper;
        s.position = clampTo(s, s.position);
    });
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
    ControlState s = controlState();
    lower = s.lower;
    upper = s.upper;
}

int CProgressCtrl::SetPos(int position) {
    int previous = 0;
    changeControl([&](ControlState& s) {
        previous = s.position;
        s.position = clampTo(s, position);
    });
    return previous;
}

int CProgressCtrl::GetPos() const { return controlState().position; }

int CProgressCtrl::SetStep(int step) {
    int previous = 0;
    changeControl([&](ControlState& s) {
        previous = s.step;
        s.step = step;
    });
    return previous;
}

int CProgressCtrl::StepIt() {
    int previous = 0;
    changeControl([&](ControlState& s) {
        previous = s.position;
        int next = s.position + s.step;
        if (next > s.upper) next = s.lower;
        s.position = clampTo(s, next);
    });
    return previous;
}
