// Drawing skin images onto device contexts: nine-part images, three-part
// bars, single cells, tiling, key-colour transparency, window regions cut
// from images, the parent's background under a control, and gradients.
// Each routine composes its work bitmap on pixels (SkinImage.h) and copies
// it to the device context in one blit. Routines given a rectangle whose
// right is left of its left, or bottom above its top, draw nothing.
//
// Until the framework's canvas is in place these take the device context of
// a canvas directly.
#pragma once
#include <windows.h>

#include "SkinBitmap.h"
#include "SkinImage.h"

// A DIB section holding the bitmap's pixels (caller deletes it).
HBITMAP CreateSkinDib(const TSkinBitmap& bitmap);
// The pixels of a bitmap selected into a device context, or of a screen DC's
// rectangle, read back (32-bit, top-down).
TSkinBitmap ReadBackPixels(HDC dc, int x, int y, int width, int height);

// The bitmap at the rectangle's top-left, `rect`'s size, with pixels of the
// key colour left out (a mask blit keeps the destination there).
void DrawTransparent(HDC dc, const TSkinRect& rect, const TSkinBitmap& bitmap, TColor key);
// The bitmap copied at (x, y) as it is.
void DrawOpaque(HDC dc, int x, int y, const TSkinBitmap& bitmap);

void DrawSkinImage(HDC dc, const TSkinRect& rect, const TSkinBitmap& bitmap, bool vertical, bool tile,
                   bool transparent, int count, int n, const TSkinRect& margins);
void DrawSkinImageH3(HDC canvas, const TSkinRect& rect, const TSkinBitmap& bitmap, bool vertical,
                     bool transparent, int count, int n, const TSkinRect& margins);
void DrawSkinCell(HDC dc, const TSkinRect& rect, const TSkinBitmap& bitmap, bool transparent, int count, int n);
void DrawSkinCellCentered(HDC dc, const TSkinRect& rect, const TSkinBitmap& bitmap, bool transparent,
                          int count, int n);
void StretchSkinImageH3(HDC dc, const TSkinRect& rect, const TSkinBitmap& bitmap, bool vertical, int count,
                        int n, const TSkinRect& margins);
// `source` of the bitmap repeated over `target` from its top-left; the last
// row and column may run past `target`.
void TileImage(HDC canvas, const TSkinRect& target, const TSkinBitmap& bitmap, const TSkinRect& source);

// A region of every pixel outside the key range (each channel from the key
// up to key + tolerance), moved by the offsets. The caller owns the region.
HRGN RegionFromBitmap(const TSkinBitmap& bitmap, int xOffset, int yOffset, int blueTolerance,
                      int greenTolerance, int redTolerance, TColor key);

// The parent of `control` paints its background and contents into `dc`
// under the control (WM_ERASEBKGND then WM_PAINT with the DC in wParam).
void PaintParentBackground(HWND control, HDC dc);

// One-pixel bands of the ramp from c1 to c2 over the rectangle, top to
// bottom (vertical 1) or left to right (0), only where the clip box allows.
void GradientFill(HDC dc, const RECT& rect, TColor c1, int vertical, TColor c2);
