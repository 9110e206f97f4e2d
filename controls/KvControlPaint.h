// Painting helpers of the panel family that work on the framework's
// controls: the parent's image under a transparent control, repainting
// transparent children, and rotated fonts.
#pragma once

#include <windows.h>

#include "Control.h"
#include "Graphics.h"

namespace kv {

// Paints the parent's background and contents into the control's device
// context, so that the control looks transparent; with invalidateParent,
// a parent that is neither custom-drawn nor a form is invalidated as well.
void DrawParentBackground(fw::TControl* control, HDC dc, bool invalidateParent);

// Invalidates every child control that publishes "Transparent" as True.
void InvalidateTransparentChildren(fw::TWinControl* panel);

// A font like the given one, turned by angle degrees (the caller deletes it).
HFONT CreateRotatedFont(fw::TFont& font, int angle);

}  // namespace kv
