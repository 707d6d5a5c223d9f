#include "notewnd/NoteLookDialogs.h"

#include <commdlg.h>

#include <initializer_list>

#include "framework/LogFontA.h"
#include "framework/WindowDpi.h"
#include "notes/NoteStyle.h"
#include "res/resource.h"

namespace {

// The colours the user made in the system's colour dialog, kept for the run.
COLORREF s_customColours[16] = {};

bool ChooseColourWithSystem(HWND owner, ColorRef& colour)
{
    CHOOSECOLORA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.rgbResult = colour;
    choice.lpCustColors = s_customColours;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (!ChooseColorA(&choice))
        return false;
    colour = choice.rgbResult;
    return true;
}

bool ChooseFontWithSystem(HWND owner, LogFont& font, ColorRef& textColour)
{
    // The dialog reads and answers heights at the screen's DPI; a note keeps
    // its height for 96 DPI.
    const DisplayScale screen(SystemDpi());
    LOGFONTA chosen = ScaledFont(ToLogFontA(font), screen);
    CHOOSEFONTA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.lpLogFont = &chosen;
    choice.rgbColors = textColour;
    // Sizes a note can be read in; the text colour is chosen here too.
    choice.Flags = CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_EFFECTS | CF_LIMITSIZE | CF_NOVERTFONTS;
    choice.nSizeMin = 6;
    choice.nSizeMax = 72;
    if (!ChooseFontA(&choice))
        return false;
    chosen.lfHeight = screen.ToBase(chosen.lfHeight);
    font = FromLogFontA(chosen);
    textColour = choice.rgbColors;
    return true;
}

ColourChooser s_chooseColour = ChooseColourWithSystem;
FontChooser s_chooseFont = ChooseFontWithSystem;

// A menu swatch: the colours side by side (one for a paper) with a grey
// edge, so white shows on a white menu.
UniqueBitmap MakeSwatch(std::initializer_list<ColorRef> colours)
{
    const int cx = GetSystemMetrics(SM_CXMENUCHECK) + 4, cy = GetSystemMetrics(SM_CYMENUCHECK);
    ScopedGetDC screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, cx, cy));
    UniqueMemDC dc(CreateCompatibleDC(screen));
    ScopedSelect select(dc, bitmap);
    const int count = static_cast<int>(colours.size());
    int i = 0;
    for (ColorRef colour : colours) {
        UniqueBrush paint(CreateSolidBrush(colour));
        RECT stripe{MulDiv(cx, i, count), 0, MulDiv(cx, i + 1, count), cy};
        FillRect(dc, &stripe, paint.Get());
        ++i;
    }
    RECT all{0, 0, cx, cy};
    FrameRect(dc, &all, GetSysColorBrush(COLOR_GRAYTEXT));
    return bitmap;
}

void SetItemBitmap(HMENU menu, UINT id, HBITMAP bitmap)
{
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    item.hbmpItem = bitmap;
    SetMenuItemInfoA(menu, id, FALSE, &item);
}

}  // namespace

void SetLookChoosers(ColourChooser colour, FontChooser font)
{
    s_chooseColour = colour ? colour : ChooseColourWithSystem;
    s_chooseFont = font ? font : ChooseFontWithSystem;
}

bool ChooseNoteColour(HWND owner, ColorRef& colour)
{
    return s_chooseColour(owner, colour);
}

bool ChooseNoteFont(HWND owner, LogFont& font, ColorRef& textColour)
{
    return s_chooseFont(owner, font, textColour);
}

void PrepareColourMenu(HMENU popup, std::optional<ColorRef> paper, std::vector<UniqueBitmap>& swatches)
{
    for (int i = 0; i < kPaperChoiceCount; ++i) {
        swatches.push_back(MakeSwatch({kPaperChoices[i].color}));
        SetItemBitmap(popup, ID_NOTE_PAPER_FIRST + i, swatches.back());
        if (paper == kPaperChoices[i].color)
            CheckMenuRadioItem(popup, ID_NOTE_PAPER_FIRST, ID_NOTE_PAPER_LAST, ID_NOTE_PAPER_FIRST + i,
                               MF_BYCOMMAND);
    }
    // Every item's text is drawn after the swatches' column, but a menu may
    // size an item without a bitmap as if the column were not there (Wine
    // does), cutting off the end of its text: this item gets a swatch too,
    // a spread of colours for the colours beyond the six.
    swatches.push_back(MakeSwatch({RGB(230, 60, 60), RGB(240, 200, 40), RGB(70, 180, 80), RGB(60, 120, 220),
                                   RGB(150, 80, 200)}));
    SetItemBitmap(popup, ID_NOTE_MORE_COLOURS, swatches.back());
}
