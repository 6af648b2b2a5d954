// Maps a dialog template's dialog units onto the pixels of a dialog window's client area.
#pragma once

#include "platform/ui/DialogTemplate.h"

namespace platform::wx {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

class DialogUnitScale {
public:
    // Pixels per dialog unit of a newly created dialog: what the device's 8-point System font
    // gave (its 177 x 102-unit dialog filled 297 x 202 pixels).
    static constexpr double BaseX = 1.68;
    static constexpr double BaseY = 1.98;

    DialogUnitScale(double pixelsPerUnitX, double pixelsPerUnitY);
    static DialogUnitScale base();
    // The scale that lays a template of this size out over a client area of this size, so that
    // a window sized by the program (not by its template) still shows every control inside it.
    static DialogUnitScale fitting(const platform::ui::DialogRect& templateRect, int clientWidth,
                                   int clientHeight);

    double x() const { return x_; }
    double y() const { return y_; }

    // Each edge is rounded on its own, so controls that touch in units touch in pixels.
    PixelRect toPixels(const platform::ui::DialogRect& rect) const;
    // The client size of a template's whole rectangle.
    PixelRect clientOf(const platform::ui::DialogRect& templateRect) const;

private:
    double x_;
    double y_;
};

}  // namespace platform::wx
