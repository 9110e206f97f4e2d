// Pixel operations and colour arithmetic of the skin: the key colour, mirror
// and rotation of images, colour mixing and gradient ramps (cached). The
// same operations on framework bitmaps and device contexts are in
// ImgUtilGdi.h.
#pragma once
#include <cstdint>
#include <vector>

#include "SkinPixels.h"

// Every pixel that is exactly magenta takes the colour's low three bytes (a
// system colour value is not resolved).
void ReplaceMagenta(const TSkinPixels& bitmap, TColor colour);
void FlipHorizontal(const TSkinPixels& bitmap);
void FlipVertical(const TSkinPixels& bitmap);
// `out` (height x width of `in`) receives `in` turned 90 degrees counter-
// clockwise: (x, y) moves to (y, width - 1 - x). False when the sizes do not fit.
bool RotateLeftInto(const TSkinPixels& out, const TSkinPixels& in);
// Clockwise: (x, y) moves to (height - 1 - y, x).
bool RotateRightInto(const TSkinPixels& out, const TSkinPixels& in);

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
