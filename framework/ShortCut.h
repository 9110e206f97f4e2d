// Menu shortcuts: a virtual key code with modifier bits, and their text
// ("Ctrl+S", "Alt+F4", "Shift+Ins"). Touches no Win32 (the key codes are
// the Windows virtual key numbers), so it builds on both sides.
#pragma once

#include <cstdint>
#include <string>

namespace fw {

// Virtual key in the low byte, modifiers in the high bits; 0 is no shortcut.
using TShortCut = uint16_t;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// The shortcut of a key with modifiers (a key above 0xFF gives none).
TShortCut MakeShortCut(uint16_t key, bool shift, bool ctrl, bool alt);

// "Shift+Ctrl+Alt+Key" with the modifiers that are set, in that order; an
// empty text for no shortcut or a key that has no name here.
std::string ShortCutToText(TShortCut shortCut);
// The reverse, ignoring letter case and blanks around the parts ("ALT+F4",
// "ctrl + s"); 0 for a text that names no key.
TShortCut TextToShortCut(const std::string& text);

}  // namespace fw
