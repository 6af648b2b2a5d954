#include "platform/wx/DialogUnitScale.h"

#include <cmath>

namespace platform::wx {

namespace {

int edge(int units, double scale) { return static_cast<int>(std::lround(units * scale)); }

}  // namespace

DialogUnitScale::DialogUnitScale(double pixelsPerUnitX, double pixelsPerUnitY)
    : x_(pixelsPerUnitX), y_(pixelsPerUnitY) {}

DialogUnitScale DialogUnitScale::base() { return DialogUnitScale(BaseX, BaseY); }

DialogUnitScale DialogUnitScale::fitting(const platform::ui::DialogRect& templateRect, int clientWidth,
                                         int clientHeight) {
    // A template without a size (or a window not yet sized) keeps the base scale on that axis.
    double x = templateRect.width > 0 && clientWidth > 0 ? double(clientWidth) / templateRect.width : BaseX;
    double y = templateRect.height > 0 && clientHeight > 0 ? double(clientHeight) / templateRect.height : BaseY;
    return DialogUnitScale(x, y);
}

PixelRect DialogUnitScale::toPixels(const platform::ui::DialogRect& rect) const {
    PixelRect pixels;
    pixels.x = edge(rect.x, x_);
    pixels.y = edge(rect.y, y_);
    pixels.width = edge(rect.x + rect.width, x_) - pixels.x;
    pixels.height = edge(rect.y + rect.height, y_) - pixels.y;
    return pixels;
}

PixelRect DialogUnitScale::clientOf(const platform::ui::DialogRect& templateRect) const {
    return PixelRect{0, 0, edge(templateRect.width, x_), edge(templateRect.height, y_)};
}

}  // namespace platform::wx
