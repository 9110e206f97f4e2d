// Small painting helpers for the skin generator: gradients, bevels, rounded
// corners cut out in the key colour, and simple glyphs.
#pragma once
#include "SkinBitmap.h"

namespace paint {

TColor Mix(TColor a, TColor b, int percentOfB);
TColor Lighter(TColor c, int percent);
TColor Darker(TColor c, int percent);

// Vertical gradient from `top` to `bottom` over the rectangle.
void VGradient(TSkinBitmap& b, int l, int t, int r, int btm, TColor top, TColor bottom);
void HGradient(TSkinBitmap& b, int l, int t, int r, int btm, TColor left, TColor right);
// One-pixel raised (light top-left) or sunken bevel along the rectangle's edge.
void Bevel(TSkinBitmap& b, int l, int t, int r, int btm, TColor light, TColor dark);
void Frame(TSkinBitmap& b, int l, int t, int r, int btm, TColor c);
// Cuts the corners of a rectangle round with the key colour (radius 1-3).
void RoundCorners(TSkinBitmap& b, int l, int t, int r, int btm, int radius, bool top = true, bool bottom = true);

// Glyphs centred on (cx, cy).
void ArrowDown(TSkinBitmap& b, int cx, int cy, int size, TColor c);
void ArrowUp(TSkinBitmap& b, int cx, int cy, int size, TColor c);
void ArrowLeft(TSkinBitmap& b, int cx, int cy, int size, TColor c);
void ArrowRight(TSkinBitmap& b, int cx, int cy, int size, TColor c);
void Cross(TSkinBitmap& b, int cx, int cy, int half, TColor c);
void CheckMark(TSkinBitmap& b, int l, int t, TColor c);
void Disc(TSkinBitmap& b, double cx, double cy, double radius, TColor c);
void Line(TSkinBitmap& b, int x0, int y0, int x1, int y1, TColor c);

}  // namespace paint
