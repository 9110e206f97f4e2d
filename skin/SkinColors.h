// System colours and metrics as the skin sees them. On Windows they come
// from the system; in the native build a fixed classic scheme stands in, so
// the skin logic can be tested without a desktop.
#pragma once
#include "SkinBitmap.h"

// System colour constants as colour values (0xFF000000 | index).
constexpr TColor SysColor(int index) { return static_cast<TColor>(0xFF000000u | unsigned(index)); }
constexpr TColor clScrollBar = SysColor(0);
constexpr TColor clMenu = SysColor(4);
constexpr TColor clMenuText = SysColor(7);
constexpr TColor clWindowText = SysColor(8);
constexpr TColor clCaptionText = SysColor(9);
constexpr TColor clHighlight = SysColor(13);
constexpr TColor clHighlightText = SysColor(14);
constexpr TColor clBtnFace = SysColor(15);
constexpr TColor clBtnShadow = SysColor(16);
constexpr TColor clGrayText = SysColor(17);
constexpr TColor clBtnText = SysColor(18);
constexpr TColor clInactiveCaptionText = SysColor(19);
constexpr TColor clBtnHighlight = SysColor(20);
constexpr TColor cl3DDkShadow = SysColor(21);

// A colour value with system colours looked up (negative values are system
// colour number value & 0xFF).
TColor SkinColorToRGB(TColor c);
// Width of a horizontal scroll-bar arrow (SM_CXHSCROLL).
int SkinScrollArrowWidth();
