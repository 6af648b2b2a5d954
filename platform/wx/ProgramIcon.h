// The program icon (resource 128 of both programs), drawn in code: a blue receiver globe with
// a green arrow pointing down into it, the firmware going in.
#pragma once

#include <wx/icon.h>

namespace platform::wx {

class ProgramIcon {
public:
    static constexpr int Resource = 128;
    static constexpr int LargeSize = 32;
    static constexpr int SmallSize = 16;

    // An icon of size x size pixels; the corners around the globe are transparent.
    static wxIcon draw(int size);
};

}  // namespace platform::wx
