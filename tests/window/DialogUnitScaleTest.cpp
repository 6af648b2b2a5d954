#include "platform/wx/DialogUnitScale.h"

#include <gtest/gtest.h>

using platform::ui::DialogRect;
using platform::wx::DialogUnitScale;
using platform::wx::PixelRect;

namespace platform::wx {
void PrintTo(const PixelRect& r, std::ostream* out) { *out << r.x << "," << r.y << " " << r.width << "x" << r.height; }
}  // namespace platform::wx

namespace {

TEST(DialogUnitScaleTest, TheUpdateToolsTemplateFillsItsWindowAtTheBaseScale) {
    EXPECT_EQ(DialogUnitScale::base().clientOf(DialogRect{0, 0, 177, 102}), (PixelRect{0, 0, 297, 202}));
}

struct ScaleCase {
    DialogRect templateRect;
    int clientWidth;
    int clientHeight;
    DialogRect control;
    PixelRect expected;
};

TEST(DialogUnitScaleTest, ControlsAreLaidOverTheClientAreaTheWindowHas) {
    const ScaleCase cases[] = {
        // The Update button and the status line in a 297 x 202 client area.
        {{0, 0, 177, 102}, 297, 202, {113, 84, 53, 13}, {190, 166, 89, 26}},
        {{0, 0, 177, 102}, 297, 202, {29, 57, 136, 9}, {49, 113, 228, 18}},
        // A window manager's caption takes height: the layout shrinks with the client area.
        {{0, 0, 177, 102}, 297, 165, {113, 84, 53, 13}, {190, 136, 89, 21}},
        // The installer's template in its 218 x 170 window.
        {{0, 0, 130, 90}, 218, 170, {63, 60, 50, 14}, {106, 113, 83, 27}},
        // A window not sized yet keeps the base scale.
        {{0, 0, 177, 102}, 0, 0, {1, 3, 126, 10}, {2, 6, 211, 20}},
    };
    for (const auto& c : cases) {
        auto scale = DialogUnitScale::fitting(c.templateRect, c.clientWidth, c.clientHeight);
        EXPECT_EQ(scale.toPixels(c.control), c.expected)
            << c.control.x << "," << c.control.y << " in " << c.clientWidth << "x" << c.clientHeight;
    }
}

TEST(DialogUnitScaleTest, NeighboursThatTouchInUnitsTouchInPixels) {
    auto scale = DialogUnitScale::fitting(DialogRect{0, 0, 177, 102}, 297, 202);
    PixelRect left = scale.toPixels(DialogRect{1, 56, 24, 9});
    PixelRect right = scale.toPixels(DialogRect{25, 56, 30, 9});
    EXPECT_EQ(left.x + left.width, right.x);
}

}  // namespace
