// Pixel operations and colour arithmetic of the skin: the key colour, mirror
// and rotation of images, colour mixing and gradient ramps (cached).
#pragma once
#include <cstdint>
#include <vector>

#include "SkinBitmap.h"

// Every pixel that is exactly magenta takes the colour's low three bytes (a
// system colour value is not resolved).
void ReplaceMagenta(TSkinBitmap& bitmap, TColor colour);
void FlipHorizontal(TSkinBitmap& bitmap);
void FlipVertical(TSkinBitmap& bitmap);
// 90 degrees counter-clockwise: (x, y) moves to (y, width - 1 - x).
void RotateLeft(TSkinBitmap& bitmap);
// 90 degrees clockwise: (x, y) moves to (height - 1 - y, x).
void RotateRight(TSkinBitmap& bitmap);

// Weights below 100 are percent of c1, from 100 on per mille.
TColor Blend(TColor c1, TColor c2, int weight);
// Index of a cache slot whose ramp runs from c1 to c2 in n entries. n must be
// above 0 (std::invalid_argument otherwise).
int GetGradient(int n, TColor c1, TColor c2);
// Builds a ramp in the next slot (round robin over 16) and returns its index.
int MakeGradient(int n, TColor c1, TColor c2);
const std::vector<TColor>& GradientRamp(int slot);
constexpr int kGradientSlots = 16;
int ColorSaturation(TColor colour);

// The ramp painted into a bitmap in one-pixel bands (vertical: top to
// bottom), as GradientFill paints a device context with no clipping.
void GradientFillBitmap(TSkinBitmap& bitmap, int left, int top, int right, int bottom,
                        TColor c1, int vertical, TColor c2);
