// Small painting helpers for the skin generator: gradients, bevels, rounded
// corners cut out in the key colour, and simple glyphs.
#pragma once
#include <cstdint>
#include <vector>

#include "SkinPixels.h"

namespace paint {

// A 24-bit bottom-up Windows BMP file of the image.
std::vector<uint8_t> BmpFile(const TSkinPixels& image);

TColor Mix(TColor a, TColor b, int percentOfB);
TColor Lighter(TColor c, int percent);
TColor Darker(TColor c, int percent);

// Vertical gradient from `top` to `bottom` over the rectangle.
void VGradient(TPixelBuffer& b, int l, int t, int r, int btm, TColor top, TColor bottom);
void HGradient(TPixelBuffer& b, int l, int t, int r, int btm, TColor left, TColor right);
// One-pixel raised (light top-left) or sunken bevel along the rectangle's edge.
void Bevel(TPixelBuffer& b, int l, int t, int r, int btm, TColor light, TColor dark);
void Frame(TPixelBuffer& b, int l, int t, int r, int btm, TColor c);
// Cuts the corners of a rectangle round with the key colour (radius 1-3).
void RoundCorners(TPixelBuffer& b, int l, int t, int r, int btm, int radius, bool top = true, bool bottom = true);

// Glyphs centred on (cx, cy).
void ArrowDown(TPixelBuffer& b, int cx, int cy, int size, TColor c);
void ArrowUp(TPixelBuffer& b, int cx, int cy, int size, TColor c);
void ArrowLeft(TPixelBuffer& b, int cx, int cy, int size, TColor c);
void ArrowRight(TPixelBuffer& b, int cx, int cy, int size, TColor c);
void Cross(TPixelBuffer& b, int cx, int cy, int half, TColor c);
void CheckMark(TPixelBuffer& b, int l, int t, TColor c);
void Disc(TPixelBuffer& b, double cx, double cy, double radius, TColor c);
void Line(TPixelBuffer& b, int x0, int y0, int x1, int y1, TColor c);

}  // namespace paint
