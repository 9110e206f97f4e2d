// Where the parts of a skinned button go and which image of the skin's
// button strip (and of the button's own glyph strip) it shows: the choices
// the button skinners make, kept apart from their drawing.
#pragma once
#include <windows.h>

#include <string>

namespace skinbutton {

// Images of the skin's button strip, counted from 1.
constexpr int kFrameNormal = 1;
constexpr int kFramePressed = 2;
constexpr int kFrameDisabled = 3;
constexpr int kFrameHot = 4;
constexpr int kFrameFocused = 5;  // also the default button's

// Images of a button's own glyph strip, counted from 1.
constexpr int kGlyphUp = 1;
constexpr int kGlyphDisabled = 2;
constexpr int kGlyphDown = 3;
constexpr int kGlyphStaysDown = 4;

// A push button: pressed, else hot, else focused or default, else normal;
// disabled whatever the mouse does.
int PushButtonFrame(bool down, bool hot, bool focusedOrDefault, bool enabled);
// A button with a drop-down arrow: it has no focused image; focus shows hot.
int MenuButtonFrame(bool down, bool hotOrFocused, bool enabled);
// A speed button: its Down property keeps it pressed; otherwise the mouse
// decides while it is enabled.
int SpeedButtonFrame(bool downProperty, bool enabled, bool pressed, bool hot);
// The glyph shown with a strip image: down when pressed, disabled when
// disabled, else up.
int GlyphOfFrame(int frame);
// The speed button's glyph: the one that stays down while its Down
// property is set.
int SpeedGlyph(int frame, bool downProperty);

// The caption with its first "||" made a line break (CR LF); later ones stay.
std::wstring BreakCaption(const std::wstring& caption);

// Where a caption measured at `measured` is drawn in r: centred
// (alignment DT_CENTER), else across r's width; one pixel above the middle.
RECT PlaceCaption(const RECT& r, SIZE measured, UINT alignment);

// Where the glyph stands beside the caption.
enum TGlyphLayout { glLeft = 0, glRight = 1, glTop = 2, glBottom = 3 };
// From the Layout property's text ("blGlyphTop", any letter case); any
// other text is left.
TGlyphLayout LayoutFromText(const std::string& text);
inline bool IsHorizontal(TGlyphLayout l) { return l == glLeft || l == glRight; }

// The area a caption beside a glyph is measured in: r less 2 on each side
// and less the glyph (and 2 pixels) on the glyph's axis.
RECT GlyphTextArea(const RECT& r, TGlyphLayout layout, SIZE glyph);

struct TGlyphLayoutInput {
  TGlyphLayout layout = glLeft;
  SIZE client = {0, 0};
  SIZE glyph = {0, 0};
  SIZE text = {0, 0};
  int margin = -1;   // -1: centred
  int spacing = -1;  // -1: spread evenly
  // The Alignment property is taCenter: placed as for margin -1.
  bool centred = false;
  // The speed button's variant: one pixel further in when only the spacing
  // is given.
  bool speedButton = false;
};
struct TGlyphPlacement {
  POINT glyph = {0, 0};
  POINT text = {0, 0};
  int margin = 0;
  int spacing = 0;
  UINT textFlags = DT_WORDBREAK;  // plus the alignment of the layout
};
TGlyphPlacement PlaceGlyphAndText(const TGlyphLayoutInput& in);

// ---- the button with a drop-down arrow ----
// The arrow's width and height.
constexpr SIZE kMenuArrow = {8, 3};
// The area its caption is measured in: the button less glyph and arrow.
RECT MenuTextArea(const RECT& r, SIZE glyph);
struct TMenuButtonPlacement {
  POINT glyph = {0, 0};
  POINT text = {0, 0};
  POINT arrow = {0, 0};  // the centre of the arrow's top edge
  int margin = 0;
  int spacing = 0;
};
TMenuButtonPlacement PlaceMenuButton(SIZE client, SIZE glyph, SIZE text, int margin, int spacing);

}  // namespace skinbutton
