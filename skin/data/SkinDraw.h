// Drawing skin images onto device contexts and canvases: nine-part images,
// three-part bars, single cells, tiling, key-colour transparency, window
// regions cut from images and the parent's background under a control.
// Each routine composes its work bitmap on pixels (SkinImage.h) and copies
// it to the device context in one blit. Routines given a rectangle whose
// right is left of its left, or bottom above its top, draw nothing.
#pragma once
#include <windows.h>

#include "Bitmap.h"
#include "Canvas.h"
#include "Control.h"
#include "SkinImage.h"

// The bitmap's pixels as the pixel routines see them. The bitmap is made
// 32 bits per pixel first (an empty bitmap gives an empty view), and GDI
// drawing still pending on it is finished.
TSkinPixels PixelsOf(fw::TBitmap& bitmap);
// Makes `bitmap` a 32-bit image of that size, every pixel `fill`.
void SetSkinBitmapSize(fw::TBitmap& bitmap, int width, int height, TColor fill = kMagenta);

// A new bitmap of the target's size holding image n of the strip in nine
// parts (corners kept, edges stretched, middle tiled or stretched). The
// caller frees it; an inverted target gives nullptr.
fw::TBitmap* MakeSkinImage(const TSkinRect& target, fw::TBitmap& bitmap, const TSkinRect& margins, bool vertical,
                           bool tile, int count, int n);

// The bitmap at the rectangle's top-left, `rect`'s size, with pixels of the
// key colour left out (a mask blit keeps the destination there). The
// source always starts at the bitmap's top-left.
void DrawTransparent(HDC dc, const TSkinRect& rect, fw::TBitmap& bitmap, TColor key);

void DrawSkinImage(HDC dc, const TSkinRect& rect, fw::TBitmap& bitmap, bool vertical, bool tile, bool transparent,
                   int count, int n, const TSkinRect& margins);
// Left cap, middle repeated at its own width, right cap (Left and Right of
// the margins used).
void DrawSkinImageH3(fw::TCanvas& canvas, const TSkinRect& rect, fw::TBitmap& bitmap, bool vertical,
                     bool transparent, int count, int n, const TSkinRect& margins);
// Image n (horizontal strip) stretched to the rectangle.
void DrawSkinCell(HDC dc, const TSkinRect& rect, fw::TBitmap& bitmap, bool transparent, int count, int n);
// Image n (horizontal strip) unscaled, centred in the rectangle.
void DrawSkinCellCentered(HDC dc, const TSkinRect& rect, fw::TBitmap& bitmap, bool transparent, int count,
                          int n);
// Three stretched parts straight onto the device context (the whole image
// stretched when the rectangle is narrower than it). A part with no area is
// left out, never drawn mirrored.
void StretchSkinImageH3(HDC dc, const TSkinRect& rect, fw::TBitmap& bitmap, bool vertical, int count, int n,
                        const TSkinRect& margins);
// `source` of the bitmap repeated over `target` from its top-left; the last
// row and column may run past `target`.
void TileImage(fw::TCanvas& canvas, const TSkinRect& target, fw::TBitmap& bitmap, const TSkinRect& source);

// A region of every pixel outside the key range (each channel from the key
// up to key + tolerance), moved by the offsets. The bitmap is made 32 bits
// per pixel. The caller owns the region.
HRGN RegionFromBitmap(fw::TBitmap& bitmap, int xOffset, int yOffset, int blueTolerance, int greenTolerance,
                      int redTolerance, TColor key);

// The parent of `control` paints its background and contents into `dc`
// under the control (WM_ERASEBKGND, then WM_PAINT with the DC in wParam).
void PaintParentBackground(fw::TControl* control, HDC dc);
