#include "notewnd/NoteCursors.h"

#include <array>

#include "res/resource.h"

namespace {

LPCSTR SizingCursorId(NoteHit hit)
{
    switch (hit) {
    case kHitLeft:
    case kHitRight: return IDC_SIZEWE;
    case kHitTop:
    case kHitBottom: return IDC_SIZENS;
    case kHitTopLeft:
    case kHitBottomRight: return IDC_SIZENWSE;
    case kHitTopRight:
    case kHitBottomLeft: return IDC_SIZENESW;
    case kHitMove: break;
    }
    return nullptr;
}

}  // namespace

HCURSOR CursorForHit(NoteHit hit)
{
    static const auto cursors = [] {
        std::array<HCURSOR, kHitBottomRight + 1> found{};
        found[kHitMove] = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_MOVE));
        for (int h = kHitLeft; h <= kHitBottomRight; ++h)
            found[h] = LoadCursorA(nullptr, SizingCursorId(static_cast<NoteHit>(h)));
        return found;
    }();
    return cursors[hit];
}
