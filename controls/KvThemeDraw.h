// Drawing with the platform's visual theme (when themes are enabled).
#pragma once

#include <windows.h>

#include <string>

namespace kv {

// The themed group box: its frame in `frame`, then its caption in `box`
// (the caller has excluded the caption box from clipping for the frame and
// removes that clipping before the caption). False when no theme is there.
bool DrawThemedGroupBoxFrame(HWND window, HDC dc, const RECT& frame, bool enabled);
bool DrawThemedGroupBoxText(HWND window, HDC dc, const RECT& box, const std::string& caption, UINT flags,
                            bool enabled);

}  // namespace kv
