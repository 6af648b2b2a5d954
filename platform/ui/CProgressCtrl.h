// A progress bar: a range, a position within it and a step. Any thread may work it; off the
// window thread each call is a synchronous request to the window thread.
#pragma once

#include "platform/ui/CWnd.h"

class CProgressCtrl : public CWnd {
public:
    // The position is kept within the new range.
    void SetRange(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    // Each returns the previous value.
    int SetPos(int position);
    int GetPos() const;
    int SetStep(int step);
    // Advances by one step; a step past the upper end starts over from the lower end.
    int StepIt();
};
