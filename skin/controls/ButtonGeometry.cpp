#include "ButtonGeometry.h"

#include "TextUtils.h"

namespace skinbutton {

int PushButtonFrame(bool down, bool hot, bool focusedOrDefault, bool enabled) {
  if (!enabled) return kFrameDisabled;
  if (down) return kFramePressed;
  if (hot) return kFrameHot;
  if (focusedOrDefault) return kFrameFocused;
  return kFrameNormal;
}

int MenuButtonFrame(bool down, bool hotOrFocused, bool enabled) {
  if (!enabled) return kFrameDisabled;
  if (down) return kFramePressed;
  if (hotOrFocused) return kFrameHot;
  return kFrameNormal;
}

int SpeedButtonFrame(bool downProperty, bool enabled, bool pressed, bool hot) {
  if (downProperty) return kFramePressed;
  if (!enabled) return kFrameDisabled;
  if (pressed) return kFramePressed;
  if (hot) return kFrameHot;
  return kFrameNormal;
}

int GlyphOfFrame(int frame) {
  if (frame == kFramePressed) return kGlyphDown;
  if (frame == kFrameDisabled) return kGlyphDisabled;
  return kGlyphUp;
}

int SpeedGlyph(int frame, bool downProperty) { return downProperty ? kGlyphStaysDown : GlyphOfFrame(frame); }

std::wstring BreakCaption(const std::wstring& caption) {
  std::wstring text = caption;
  const size_t at = text.find(L"||");
  if (at != std::wstring::npos) text.replace(at, 2, L"\r\n");
  return text;
}

RECT PlaceCaption(const RECT& r, SIZE measured, UINT alignment) {
  const int rw = r.right - r.left, rh = r.bottom - r.top;
  RECT t = {0, 0, measured.cx, measured.cy};
  const int dy = (rh - measured.cy) / 2 - 1;
  if (alignment == DT_CENTER) {
    OffsetRect(&t, (rw - measured.cx) / 2, dy);
  } else {
    OffsetRect(&t, 0, dy);
    t.left = r.left;
    t.right = r.right;
  }
  return t;
}

TGlyphLayout LayoutFromText(const std::string& text) {
  const std::string l = fw::LowerCase(text);
  if (l == "blglyphright") return glRight;
  if (l == "blglyphtop") return glTop;
  if (l == "blglyphbottom") return glBottom;
  return glLeft;
}

RECT GlyphTextArea(const RECT& r, TGlyphLayout layout, SIZE glyph) {
  RECT a = r;
  InflateRect(&a, -2, -2);
  if (IsHorizontal(layout))
    a.right -= glyph.cx + 2;
  else
    a.bottom -= glyph.cy + 2;
  return a;
}

TGlyphPlacement PlaceGlyphAndText(const TGlyphLayoutInput& in) {
  TGlyphPlacement p;
  const bool horizontal = IsHorizontal(in.layout);
  const int cw = in.client.cx, ch = in.client.cy;
  // Across the layout axis both parts are centred.
  if (horizontal) {
    p.glyph.y = (ch - in.glyph.cy + 1) / 2;
    p.text.y = (ch - in.text.cy + 1) / 2;
  } else {
    p.glyph.x = (cw - in.glyph.cx + 1) / 2;
    p.text.x = (cw - in.text.cx + 1) / 2;
  }
  int margin = in.margin, spacing = in.spacing;
  if (in.text.cx == 0 || in.glyph.cx == 0) spacing = 0;
  // Along the layout axis.
  const int c = horizontal ? cw : ch;
  const int g = horizontal ? in.glyph.cx : in.glyph.cy;
  const int t = horizontal ? in.text.cx : in.text.cy;
  if (margin == -1 || in.centred) {
    if (spacing == -1) {
      margin = (c - (g + t)) / 3;
      spacing = margin;
    } else {
      margin = (c - (g + spacing + t)) / 2;
      if (in.speedButton) margin += 1;
    }
  } else if (spacing == -1) {
    const int rest = c - margin - g;
    spacing = (rest - t) / 2;
  }
  p.margin = margin;
  p.spacing = spacing;
  switch (in.layout) {
    case glLeft:
      p.glyph.x = margin;
      p.text.x = margin + in.glyph.cx + spacing;
      break;
    case glRight:
      p.glyph.x = cw - margin - in.glyph.cx;
      p.text.x = p.glyph.x - spacing - in.text.cx;
      p.textFlags |= DT_RIGHT;
      break;
    case glTop:
      p.glyph.y = margin;
      p.text.y = margin + in.glyph.cy + spacing;
      p.textFlags |= DT_CENTER;
      break;
    case glBottom:
      p.glyph.y = ch - margin - in.glyph.cy;
      p.text.y = p.glyph.y - spacing - in.text.cy;
      p.textFlags |= DT_CENTER;
      break;
  }
  return p;
}

RECT MenuTextArea(const RECT& r, SIZE glyph) {
  RECT a = {0, 0, (r.right - r.left) - glyph.cx - kMenuArrow.cx, r.bottom - r.top};
  InflateRect(&a, -2, -2);
  return a;
}

TMenuButtonPlacement PlaceMenuButton(SIZE client, SIZE glyph, SIZE text, int margin, int spacing) {
  TMenuButtonPlacement p;
  const int w = client.cx, h = client.cy;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (w - (glyph.cx + text.cx + kMenuArrow.cx)) / 4;
      spacing = margin;
    } else {
      margin = (w - (glyph.cx + text.cx + 2 * spacing + kMenuArrow.cx)) / 2;
    }
  } else if (spacing == -1) {
    spacing = ((w + kMenuArrow.cx - 2 * margin - glyph.cx) - text.cx) / 2;
  }
  p.margin = margin;
  p.spacing = spacing;
  p.glyph = POINT{margin, (h - glyph.cy) / 2};
  p.text = POINT{margin + glyph.cx + spacing, (h - text.cy + 1) / 2};
  p.arrow = POINT{p.text.x + text.cx + 2 * spacing, (h - kMenuArrow.cy) / 2};
  return p;
}

}  // namespace skinbutton
