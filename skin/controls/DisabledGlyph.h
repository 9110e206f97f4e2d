// The embossed grey picture of a glyph, for buttons that are disabled and
// whose glyph strip has no disabled image of its own.
#pragma once
#include "Bitmap.h"

// A new bitmap of the glyph's size on the button face colour: the glyph's
// dark pixels in the shadow colour, with the highlight colour one pixel
// down and right of them. Light pixels and the glyph's transparent colour
// (its bottom-left pixel) stay face coloured. The caller frees it; an
// empty glyph gives an empty bitmap.
fw::TBitmap* CreateDisabledGlyph(fw::TBitmap& glyph);

// Whether a pixel of a glyph counts as light in the picture above.
bool IsLightGlyphPixel(COLORREF pixel, COLORREF transparent);
