#include "platform/wx/ProgramIcon.h"

#include <algorithm>

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/dcmemory.h>

namespace platform::wx {

namespace {

// The picture on a plain background. The toolkit draws with anti-aliasing, so the edges blend
// into the background; draw() recovers their transparency from two backgrounds.
wxImage paint(int size, const wxColour& background) {
    // Drawn on a 32-unit grid and scaled, so the small icon is the large one in miniature.
    auto at = [size](int units) { return units * size / 32; };
    wxBitmap bitmap(size, size, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(background));
        dc.Clear();

        dc.SetPen(wxPen(wxColour(16, 48, 96), size >= 32 ? 2 : 1));
        dc.SetBrush(wxBrush(wxColour(40, 100, 180)));
        dc.DrawEllipse(at(1), at(5), at(26), at(26));
        // Meridian and equator make it a globe at either size.
        dc.SetPen(wxPen(wxColour(220, 235, 255), 1));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawEllipse(at(9), at(5), at(10), at(26));
        dc.DrawLine(at(2), at(18), at(27), at(18));

        // The arrow: a shaft and a head, pointing down into the globe's upper right.
        dc.SetPen(wxPen(wxColour(10, 80, 30), 1));
        dc.SetBrush(wxBrush(wxColour(30, 150, 60)));
        dc.DrawRectangle(at(22), at(0), at(6), at(10));
        wxPoint head[] = {{at(17), at(9)}, {at(32) - 1, at(9)}, {at(25), at(17)}};
        dc.DrawPolygon(3, head);
        dc.SelectObject(wxNullBitmap);
    }
    return bitmap.ConvertToImage();
}

}  // namespace

wxIcon ProgramIcon::draw(int size) {
    wxImage onBlack = paint(size, *wxBLACK);
    wxImage onWhite = paint(size, *wxWHITE);
    wxImage icon(size, size);
    icon.InitAlpha();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // A pixel that shows the background through it differs between the two pictures
            // by exactly what it lets through.
            int alpha = 255 - (onWhite.GetGreen(x, y) - onBlack.GetGreen(x, y));
            alpha = std::clamp(alpha, 0, 255);
            auto colour = [&](unsigned char black) {
                return static_cast<unsigned char>(alpha > 0 ? std::min(255, black * 255 / alpha) : 0);
            };
            icon.SetRGB(x, y, colour(onBlack.GetRed(x, y)), colour(onBlack.GetGreen(x, y)),
                        colour(onBlack.GetBlue(x, y)));
            icon.SetAlpha(x, y, static_cast<unsigned char>(alpha));
        }
    }
    wxIcon result;
    result.CopyFromBitmap(wxBitmap(icon));
    return result;
}

}  // namespace platform::wx
