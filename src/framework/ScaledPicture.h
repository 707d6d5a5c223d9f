#pragma once
// Pictures drawn for 96 DPI (skin images, menu banners, the splash) brought
// to a display of another scale. Pictures are smoothed by the system's
// imaging component; masks are scaled pixel for pixel (ScaledMask.h), so a
// window's region matches its scaled picture exactly.
#include <windows.h>

#include "framework/DisplayScale.h"

// The size a picture of this size takes at that scale; the same for a
// picture and its mask, so the two always match.
SIZE ScaledPictureSize(SIZE base, const DisplayScale& scale);

// A new 32-bit bitmap of the picture at size `to`, smoothed (the imaging
// component's high-quality mode where the system has one, its Fant mode
// otherwise; GDI's halftone stretch when the component cannot be used).
// Null for no picture, or a size that is not positive or past the mask
// limits of RegionRuns.h. The caller owns it.
HBITMAP ScalePicture(HBITMAP picture, SIZE to);

// The part of the picture inside rect at size `to`, smoothed as by
// ScalePicture; a button's face from a whole-window skin picture. Null as
// for ScalePicture, or when the part is empty. The caller owns it.
HBITMAP ScalePictureRect(HBITMAP picture, const RECT& rect, SIZE to);

// A picture whose pixels of the key colour are see-through (an image list
// strip, a menu picture) at size `to`: smoothed like ScalePicture, with the
// key's pixels blended as the colour behind them rather than the key, and
// the see-through pixels placed exactly as ScaleMask places a mask's, in the
// key colour again. Null as for ScalePicture. The caller owns it.
HBITMAP ScaleKeyedPicture(HBITMAP picture, SIZE to, COLORREF key, COLORREF behind);

// A new 32-bit bitmap of the mask at size `to`, every pixel taken from the
// mask pixel under its centre. Null when there is no mask, either size is
// past the mask limits, or no bitmap can be made. The caller owns it.
HBITMAP ScaleMask(HBITMAP mask, SIZE to);
