// System colours and metrics as the skin sees them. On Windows they come
// from the system; in the native build a fixed classic scheme stands in, so
// the skin's colour arithmetic can be tested without a desktop.
#pragma once
#include "SkinPixels.h"

// A colour value with system colours looked up (values with the top byte
// 0xFF are system colour number value & 0xFF).
TColor SkinColorToRGB(TColor c);
// Width of a horizontal scroll-bar arrow (SM_CXHSCROLL).
int SkinScrollArrowWidth();
