#include "platform/wx/ProgramIcon.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

namespace platform::wx {

wxIcon ProgramIcon::draw(int size) {
    // Drawn on a 32-unit grid and scaled, so the small icon is the large one in miniature.
    auto at = [size](int units) { return units * size / 32; };
    const wxColour transparent(255, 0, 255);
    wxBitmap bitmap(size, size, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(transparent));
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
        const wxColour green(30, 150, 60);
        dc.SetPen(wxPen(wxColour(10, 80, 30), 1));
        dc.SetBrush(wxBrush(green));
        dc.DrawRectangle(at(22), at(0), at(6), at(10));
        wxPoint head[] = {{at(17), at(9)}, {at(32) - 1, at(9)}, {at(25), at(17)}};
        dc.DrawPolygon(3, head);
        dc.SelectObject(wxNullBitmap);
    }
    bitmap.SetMask(new wxMask(bitmap, transparent));
    wxIcon icon;
    icon.CopyFromBitmap(bitmap);
    return icon;
}

}  // namespace platform::wx
