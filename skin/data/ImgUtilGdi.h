// The image utilities on framework bitmaps and device contexts: the key
// colour, mirror and rotation of a bitmap (made 32 bits per pixel), and
// gradients painted in one-pixel bands.
#pragma once
#include <windows.h>

#include "Bitmap.h"
#include "ImgUtil.h"

void ReplaceMagenta(fw::TBitmap& bitmap, TColor colour);
void FlipHorizontal(fw::TBitmap& bitmap);
void FlipVertical(fw::TBitmap& bitmap);
// The bitmap turned 90 degrees counter-clockwise (it becomes height x width).
void RotateLeft(fw::TBitmap& bitmap);
void RotateRight(fw::TBitmap& bitmap);

// One-pixel bands of the ramp from c1 to c2 over the rectangle, top to
// bottom (vertical 1) or left to right (0), only where the clip box allows.
void GradientFill(HDC dc, const RECT& rect, TColor c1, int vertical, TColor c2);
