#include "notewnd/NoteScreenPlace.h"

#include <vector>

#include "framework/MonitorWorkArea.h"
#include "notewnd/NoteGeometry.h"

namespace NoteScreenPlace {

NoteRect PlaceOnScreen(const NoteRect& rc, int topBand)
{
    // Most notes have their top band on the work area of the screen they
    // touch, which one look answers; only the others need every screen's
    // work area.
    const RECT band{rc.left, rc.top, rc.right, rc.top + topBand};
    RECT common;
    if (const auto work = WorkAreaUnder(band); work && IntersectRect(&common, &band, &*work))
        return rc;
    std::vector<NoteRect> areas;
    for (const RECT& w : AllWorkAreas())
        areas.push_back(NoteRect{w.left, w.top, w.right, w.bottom});
    return NoteGeometry::BringTopBandIntoView(NoteGeometry::PlaceOnWorkAreas(rc, areas), areas, topBand);
}

NoteRect InWorkArea(HWND window)
{
    RECT shown;
    GetWindowRect(window, &shown);
    const NoteRect now{shown.left, shown.top, shown.right, shown.bottom};
    const RECT work = WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
    if (IsRectEmpty(&work))
        return now;
    return NoteGeometry::MoveIntoWorkArea(now, {work.left, work.top, work.right, work.bottom});
}

}  // namespace NoteScreenPlace
