// Draws the bitmaps of the program's skin.
//
//   skingen <output folder> default   the program's own skin: bevels,
//                                     gradients, magenta where the frame is cut
//   skingen <output folder> menuglyphs  the program's four menu glyphs
//   skingen <output folder> mpglyphs    the 27 media player button glyphs
//                                     (EN_, DI_ and CL_ of MPPLAY ... MPEJECT)
//   skingen <output folder> coded     the same strips with every frame one
//                                     solid colour where the default skin is
//                                     not magenta, for pixel tests
//
// Output is deterministic: the same bytes on every run.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "SkinPixels.h"
#include "SkinPaint.h"

using namespace paint;

namespace {

// States of button-like strips.
enum State { Normal = 0, Pressed = 1, Disabled = 2, Hot = 3, Focused = 4 };

const TColor kCaptionTop = RGBColor(84, 130, 214), kCaptionBottom = RGBColor(34, 80, 170);
const TColor kIdleTop = RGBColor(182, 190, 206), kIdleBottom = RGBColor(146, 156, 176);
const TColor kFrameActive = RGBColor(40, 86, 172), kFrameIdle = RGBColor(146, 156, 176);
const TColor kFace = RGBColor(236, 239, 245);
const TColor kEdge = RGBColor(112, 130, 160);
const TColor kGlyph = RGBColor(40, 52, 74);
const TColor kGlyphOff = RGBColor(160, 166, 178);

struct Look { TColor top, bottom, border; };
Look LookOf(int state) {
  switch (state) {
    case Pressed: return {RGBColor(196, 208, 230), RGBColor(226, 232, 244), RGBColor(70, 100, 150)};
    case Disabled: return {RGBColor(244, 244, 246), RGBColor(232, 233, 236), RGBColor(186, 190, 198)};
    case Hot: return {RGBColor(255, 251, 238), RGBColor(250, 222, 160), RGBColor(214, 150, 50)};
    case Focused: return {RGBColor(255, 255, 255), RGBColor(212, 222, 240), RGBColor(40, 86, 172)};
    default: return {RGBColor(255, 255, 255), RGBColor(212, 220, 234), kEdge};
  }
}

// A raised face with a gradient, a border and rounded corners.
void Face(TPixelBuffer& b, int l, int t, int r, int btm, int state, int radius = 2) {
  Look k = LookOf(state);
  VGradient(b, l, t, r, btm, k.top, k.bottom);
  Frame(b, l, t, r, btm, k.border);
  if (state != Pressed) b.FillRect(l + 1, t + 1, r - 1, t + 2, Lighter(k.top, 60));
  RoundCorners(b, l, t, r, btm, radius);
}

TColor GlyphColour(int state) { return state == Disabled ? kGlyphOff : kGlyph; }

struct Image {
  std::string name;
  int frames, fw, fh;
  bool vertical;
  // Paints frame k (0-based) into the rectangle at (l, t) of fw x fh.
  std::function<void(TPixelBuffer&, int k, int l, int t, int w, int h)> paint;
};

void Caption(TPixelBuffer& b, int k, int l, int t, int w, int h) {
  bool active = k == 0;
  VGradient(b, l, t, l + w, t + h, active ? kCaptionTop : kIdleTop, active ? kCaptionBottom : kIdleBottom);
  b.FillRect(l, t, l + w, t + 1, Lighter(active ? kCaptionTop : kIdleTop, 40));
  b.FillRect(l, t + h - 1, l + w, t + h, active ? kFrameActive : kFrameIdle);
}

// Side border: the caption's gradient along its top 30 rows, the frame below,
// the outer top corner cut round.
void Side(TPixelBuffer& b, int k, int l, int t, int w, int h, bool left) {
  bool active = k == 0;
  VGradient(b, l, t, l + w, t + 30, active ? kCaptionTop : kIdleTop, active ? kCaptionBottom : kIdleBottom);
  TColor frame = active ? kFrameActive : kFrameIdle;
  b.FillRect(l, t + 30, l + w, t + h, frame);
  TColor outer = Darker(frame, 30), inner = Lighter(frame, 30);
  b.FillRect(left ? l : l + w - 1, t, left ? l + 1 : l + w, t + h, outer);
  b.FillRect(left ? l + w - 1 : l, t + 30, left ? l + w : l + 1, t + h - 4, inner);
  b.FillRect(l, t + h - 1, l + w, t + h, outer);
  b.FillRect(l, t, l + w, t + 1, Lighter(active ? kCaptionTop : kIdleTop, 40));
  // Round top corner: 3, 1, 1 pixels cut on the outer side.
  const int cut[3] = {3, 1, 1};
  for (int i = 0; i < 3; i++) {
    if (left)
      b.FillRect(l, t + i, l + cut[i], t + i + 1, kMagenta);
    else
      b.FillRect(l + w - cut[i], t + i, l + w, t + i + 1, kMagenta);
  }
}

void Bottom(TPixelBuffer& b, int k, int l, int t, int w, int h) {
  TColor frame = k == 0 ? kFrameActive : kFrameIdle;
  b.FillRect(l, t, l + w, t + h, frame);
  b.FillRect(l, t, l + w, t + 1, Lighter(frame, 30));
  b.FillRect(l, t + h - 1, l + w, t + h, Darker(frame, 30));
}

// Caption button: 1 normal, 2 pressed, 3 hot, 4 inactive window.
void CaptionButton(TPixelBuffer& b, int k, int l, int t, int w, int h, char glyph) {
  b.FillRect(l, t, l + w, t + h, kMagenta);
  TColor top, bottom;
  bool close = glyph == 'x';
  switch (k) {
    case 1: top = close ? RGBColor(170, 40, 30) : RGBColor(30, 64, 140); bottom = close ? RGBColor(210, 80, 60) : RGBColor(60, 100, 180); break;
    case 2: top = close ? RGBColor(250, 130, 110) : RGBColor(140, 180, 245); bottom = close ? RGBColor(220, 70, 50) : RGBColor(70, 120, 210); break;
    case 3: top = RGBColor(196, 202, 214); bottom = RGBColor(160, 168, 184); break;
    default: top = close ? RGBColor(230, 110, 90) : RGBColor(110, 156, 230); bottom = close ? RGBColor(190, 50, 35) : RGBColor(46, 96, 186); break;
  }
  VGradient(b, l + 1, t + 1, l + w - 1, t + h - 1, top, bottom);
  Frame(b, l, t, l + w, t + h, k == 3 ? RGBColor(130, 138, 156) : RGBColor(255, 255, 255));
  RoundCorners(b, l, t, l + w, t + h, 2);
  TColor g = k == 3 ? RGBColor(236, 238, 242) : kWhite;
  int cx = l + w / 2, cy = t + h / 2;
  switch (glyph) {
    case 'x': Cross(b, cx - 1, cy, 4, g); break;
    case 'm': Frame(b, cx - 5, cy - 5, cx + 5, cy + 5, g); b.FillRect(cx - 5, cy - 4, cx + 5, cy - 2, g); break;
    case 'r':
      Frame(b, cx - 2, cy - 5, cx + 5, cy + 2, g);
      b.FillRect(cx - 5, cy - 2, cx + 2, cy + 5, top);
      Frame(b, cx - 5, cy - 2, cx + 2, cy + 5, g);
      b.FillRect(cx - 5, cy - 2, cx + 2, cy, g);
      break;
    case '_': b.FillRect(cx - 5, cy + 3, cx + 3, cy + 5, g); break;
  }
}

void Arrow(TPixelBuffer& b, char dir, int cx, int cy, int size, TColor c) {
  switch (dir) {
    case 'l': ArrowLeft(b, cx, cy, size, c); break;
    case 'r': ArrowRight(b, cx, cy, size, c); break;
    case 'u': ArrowUp(b, cx, cy, size, c); break;
    default: ArrowDown(b, cx, cy, size, c); break;
  }
}

// Button-like strips in the order normal, pressed, disabled, hot (4 frames).
int FourState(int k) {
  static const int map[4] = {Normal, Pressed, Disabled, Hot};
  return map[k & 3];
}

void ScrollPart(TPixelBuffer& b, int k, int l, int t, int w, int h) {
  if (k < 16) {  // arrows: left, right, up, down; 4 states each
    int state = FourState(k % 4);
    Face(b, l, t, l + w, t + h, state, 1);
    const char dirs[4] = {'l', 'r', 'u', 'd'};
    int shift = state == Pressed ? 1 : 0;
    Arrow(b, dirs[k / 4], l + w / 2 + shift, t + h / 2 + shift, 4, GlyphColour(state));
  } else if (k < 22) {  // grippers: horizontal, vertical; normal, pressed, hot
    b.FillRect(l, t, l + w, t + h, kMagenta);
    bool vertical = k >= 19;
    int s = (k - 16) % 3;
    TColor c = s == 0 ? kEdge : s == 1 ? RGBColor(60, 90, 150) : RGBColor(214, 150, 50);
    for (int i = 0; i < 4; i++) {
      int p = 4 + 2 * i;
      if (vertical)
        b.FillRect(l + 4, t + p, l + w - 4, t + p + 1, c);
      else
        b.FillRect(l + p, t + 4, l + p + 1, t + h - 4, c);
    }
  } else {  // size box
    b.FillRect(l, t, l + w, t + h, kFace);
    for (int i = 0; i < 3; i++) Line(b, l + w - 2, t + 5 + 4 * i, l + 5 + 4 * i, t + h - 2, kEdge);
  }
}

void Track(TPixelBuffer& b, int k, int l, int t, int w, int h, bool vertical) {
  TColor c = k == 2 ? RGBColor(244, 244, 246) : RGBColor(226, 231, 240);
  b.FillRect(l, t, l + w, t + h, c);
  if (vertical) {
    b.FillRect(l, t, l + 1, t + h, Darker(c, 10));
    b.FillRect(l + w - 1, t, l + w, t + h, Darker(c, 10));
  } else {
    b.FillRect(l, t, l + w, t + 1, Darker(c, 10));
    b.FillRect(l, t + h - 1, l + w, t + h, Darker(c, 10));
  }
}

void Thumb(TPixelBuffer& b, int k, int l, int t, int w, int h) {
  static const int map[3] = {Normal, Pressed, Hot};
  Face(b, l, t, l + w, t + h, map[k % 3], 2);
}

// Track-bar thumb pointing `dir` (0 none), 5 states.
void TrackThumb(TPixelBuffer& b, int k, int l, int t, int w, int h, char dir) {
  b.FillRect(l, t, l + w, t + h, kMagenta);
  Look look = LookOf(k);
  int inset = 4;
  int L = l, T = t, R = l + w, B = t + h;
  if (dir == 'd') B -= inset;
  if (dir == 'u') T += inset;
  if (dir == 'r') R -= inset;
  if (dir == 'l') L += inset;
  VGradient(b, L, T, R, B, look.top, look.bottom);
  Frame(b, L, T, R, B, look.border);
  for (int i = 0; i < inset; i++) {
    switch (dir) {
      case 'd': b.FillRect(L + i + 1, B + i, R - i - 1, B + i + 1, look.bottom); b.SetPixel(L + i + 1, B + i, look.border); b.SetPixel(R - i - 2, B + i, look.border); break;
      case 'u': b.FillRect(L + i + 1, T - i - 1, R - i - 1, T - i, look.top); b.SetPixel(L + i + 1, T - i - 1, look.border); b.SetPixel(R - i - 2, T - i - 1, look.border); break;
      case 'r': b.FillRect(R + i, T + i + 1, R + i + 1, B - i - 1, look.bottom); b.SetPixel(R + i, T + i + 1, look.border); b.SetPixel(R + i, B - i - 2, look.border); break;
      case 'l': b.FillRect(L - i - 1, T + i + 1, L - i, B - i - 1, look.top); b.SetPixel(L - i - 1, T + i + 1, look.border); b.SetPixel(L - i - 1, B - i - 2, look.border); break;
    }
  }
}

std::vector<Image> Images() {
  std::vector<Image> v;
  auto add = [&](std::string name, int frames, int fw, int fh, bool vertical,
                 std::function<void(TPixelBuffer&, int, int, int, int, int)> p) {
    v.push_back({std::move(name), frames, fw, fh, vertical, std::move(p)});
  };
  add("top.bmp", 2, 120, 30, true, Caption);
  add("left.bmp", 2, 4, 48, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) { Side(b, k, l, t, w, h, true); });
  add("right.bmp", 2, 4, 48, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) { Side(b, k, l, t, w, h, false); });
  add("bottom.bmp", 2, 40, 4, true, Bottom);
  add("menubar.bmp", 2, 20, 20, true, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    VGradient(b, l, t, l + w, t + h, k == 0 ? RGBColor(246, 248, 252) : RGBColor(240, 240, 242),
              k == 0 ? RGBColor(222, 229, 242) : RGBColor(228, 229, 232));
    b.FillRect(l, t + h - 1, l + w, t + h, RGBColor(196, 204, 220));
  });
  const char* captionGlyphs = "xmr_";
  const char* captionNames[4] = {"close.bmp", "max.bmp", "restore.bmp", "min.bmp"};
  for (int i = 0; i < 4; i++) {
    char g = captionGlyphs[i];
    add(captionNames[i], 4, 21, 21, false,
        [g](TPixelBuffer& b, int k, int l, int t, int w, int h) { CaptionButton(b, k, l, t, w, h, g); });
  }
  add("mdi.bmp", 12, 16, 14, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    // Minimise, restore, close; each normal, pressed, hot, inactive.
    const char glyphs[3] = {'_', 'r', 'x'};
    TPixelBuffer cell(21, 21);
    CaptionButton(cell, k % 4, 0, 0, 21, 21, glyphs[k / 4]);
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++) b.SetPixel(l + x, t + y, cell.Pixel(x * 21 / w, y * 21 / h));
  });
  add("button.bmp", 5, 24, 22, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    static const int map[5] = {Normal, Pressed, Disabled, Hot, Focused};
    Face(b, l, t, l + w, t + h, map[k], 3);
    if (k == 4) Frame(b, l + 1, t + 1, l + w - 1, t + h - 1, RGBColor(150, 180, 230));
  });
  add("check.bmp", 12, 13, 13, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    // Unchecked, checked, mixed; each normal, hot, pressed, disabled.
    static const int map[4] = {Normal, Hot, Pressed, Disabled};
    int state = map[k % 4];
    Look look = LookOf(state);
    VGradient(b, l, t, l + w, t + h, look.bottom, look.top);
    Frame(b, l, t, l + w, t + h, state == Hot ? look.border : state == Disabled ? look.border : RGBColor(28, 81, 128));
    TColor mark = state == Disabled ? kGlyphOff : RGBColor(33, 161, 33);
    if (k / 4 == 1) CheckMark(b, l + 3, t + 3, mark);
    if (k / 4 == 2) b.FillRect(l + 3, t + 3, l + w - 3, t + h - 3, mark);
  });
  add("radio.bmp", 8, 13, 13, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    static const int map[4] = {Normal, Hot, Pressed, Disabled};
    int state = map[k % 4];
    Look look = LookOf(state);
    b.FillRect(l, t, l + w, t + h, kMagenta);
    Disc(b, l + 6.5, t + 6.5, 6.5, state == Hot ? look.border : state == Disabled ? look.border : RGBColor(28, 81, 128));
    Disc(b, l + 6.5, t + 6.5, 5.5, look.top);
    Disc(b, l + 6.5, t + 7.5, 3.5, look.bottom);
    if (k >= 4) Disc(b, l + 6.5, t + 6.5, 2.6, state == Disabled ? kGlyphOff : RGBColor(33, 161, 33));
  });
  add("progress.bmp", 2, 20, 16, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    VGradient(b, l, t, l + w, t + h, RGBColor(220, 224, 232), RGBColor(248, 249, 251));
    Frame(b, l, t, l + w, t + h, kEdge);
    RoundCorners(b, l, t, l + w, t + h, 1);
  });
  add("chunk.bmp", 1, 10, 14, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    VGradient(b, l, t, l + w, t + h, RGBColor(150, 230, 140), RGBColor(40, 160, 50));
    b.FillRect(l + w - 1, t, l + w, t + h, RGBColor(236, 239, 245));
  });
  add("groupedge.bmp", 2, 20, 20, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    b.FillRect(l, t, l + w, t + h, kMagenta);
    Frame(b, l, t, l + w, t + h, k == 0 ? RGBColor(170, 184, 206) : RGBColor(200, 204, 212));
    RoundCorners(b, l, t, l + w, t + h, 2);
  });
  add("groupbox.bmp", 1, 30, 20, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    VGradient(b, l, t, l + w, t + h, RGBColor(230, 236, 246), RGBColor(210, 220, 238));
    Frame(b, l, t, l + w, t + h, RGBColor(170, 184, 206));
    RoundCorners(b, l, t, l + w, t + h, 2, true, false);
  });
  add("tabs.bmp", 5, 30, 22, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    // Normal, selected, disabled, hot, focused.
    static const int map[5] = {Normal, Focused, Disabled, Hot, Focused};
    Look look = LookOf(map[k]);
    b.FillRect(l, t, l + w, t + h, kMagenta);
    VGradient(b, l, t, l + w, t + h, look.top, k == 1 ? kFace : look.bottom);
    Frame(b, l, t, l + w, t + h + 1, look.border);
    if (k == 1) b.FillRect(l + 1, t, l + w - 1, t + 2, RGBColor(250, 190, 70));
    RoundCorners(b, l, t, l + w, t + h, 2, true, false);
  });
  add("tabborder.bmp", 1, 30, 22, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    b.FillRect(l, t, l + w, t + h, kMagenta);
    Frame(b, l, t, l + w, t + h + 1, kEdge);
    RoundCorners(b, l, t, l + w, t + h, 2, true, false);
  });
  add("statusbar.bmp", 3, 12, 12, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    // Lowered, raised, none.
    b.FillRect(l, t, l + w, t + h, kFace);
    if (k == 0) Bevel(b, l, t, l + w, t + h, RGBColor(170, 178, 194), kWhite);
    if (k == 1) Bevel(b, l, t, l + w, t + h, kWhite, RGBColor(170, 178, 194));
  });
  add("tabpane.bmp", 1, 20, 20, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    VGradient(b, l, t, l + w, t + h, kFace, RGBColor(226, 232, 242));
    Frame(b, l, t, l + w, t + h, kEdge);
  });
  add("toolbars.bmp", 5, 22, 22, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    // Normal (nothing), pressed, disabled (nothing), hot, checked.
    b.FillRect(l, t, l + w, t + h, kMagenta);
    if (k == 1 || k == 3 || k == 4) Face(b, l, t, l + w, t + h, k == 3 ? Hot : Pressed, 2);
  });
  add("combobutton.bmp", 4, 17, 21, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    int state = FourState(k);
    Face(b, l, t, l + w, t + h, state, 1);
  });
  add("sunkedge.bmp", 4, 20, 21, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    int state = FourState(k);
    b.FillRect(l, t, l + w, t + h, state == Disabled ? RGBColor(244, 244, 246) : kWhite);
    Frame(b, l, t, l + w, t + h, state == Hot ? RGBColor(214, 150, 50) : state == Pressed ? kFrameActive : kEdge);
  });
  add("extra.bmp", 5, 12, 12, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    // Drop-down arrow: normal, pressed, disabled, hot; then the size grip.
    b.FillRect(l, t, l + w, t + h, kMagenta);
    if (k < 4) {
      ArrowDown(b, l + 6, t + 6, 4, GlyphColour(FourState(k)));
    } else {
      for (int i = 0; i < 3; i++)
        for (int j = 0; j <= i; j++) {
          int x = l + w - 3 - 3 * j, y = t + h - 3 - 3 * (i - j);
          b.FillRect(x, y, x + 2, y + 2, kEdge);
          b.SetPixel(x, y, kWhite);
        }
    }
  });
  add("header.bmp", 5, 20, 20, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    // Normal, hot, pressed, disabled, sorted.
    static const int map[5] = {Normal, Hot, Pressed, Disabled, Focused};
    Look look = LookOf(map[k]);
    VGradient(b, l, t, l + w, t + h, look.top, look.bottom);
    b.FillRect(l, t + h - 1, l + w, t + h, look.border);
    b.FillRect(l + w - 1, t + 3, l + w, t + h - 3, RGBColor(190, 198, 214));
    if (k == 1) b.FillRect(l, t + h - 3, l + w, t + h - 1, RGBColor(250, 190, 70));
  });
  add("menuitem.bmp", 5, 20, 20, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    // 1 normal, 2 separator, 4 selected.
    b.FillRect(l, t, l + w, t + h, kMagenta);
    if (k == 1) {
      b.FillRect(l + 2, t + h - 3, l + w - 2, t + h - 2, RGBColor(190, 198, 214));
      b.FillRect(l + 2, t + h - 2, l + w - 2, t + h - 1, kWhite);
    }
    if (k == 3) Face(b, l, t, l + w, t + h, Hot, 2);
    if (k == 2 || k == 4) Face(b, l, t, l + w, t + h, Pressed, 2);
  });
  add("menubg.bmp", 1, 20, 20, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    b.FillRect(l, t, l + w, t + h, RGBColor(250, 251, 253));
    HGradient(b, l, t, l + 6, t + h, RGBColor(226, 233, 246), RGBColor(240, 244, 251));
  });
  add("scrollbar.bmp", 23, 16, 16, false, ScrollPart);
  add("hscroll.bmp", 4, 16, 16, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) { Track(b, k, l, t, w, h, false); });
  add("vscroll.bmp", 4, 16, 16, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) { Track(b, k, l, t, w, h, true); });
  add("hthumb.bmp", 3, 16, 16, false, Thumb);
  add("vthumb.bmp", 3, 16, 16, false, Thumb);
  const char* thumbNames[6] = {"thumbhorz.bmp", "thumbvert.bmp", "thumbleft.bmp", "thumbright.bmp", "thumbup.bmp", "thumbdown.bmp"};
  const char thumbDirs[6] = {0, 0, 'l', 'r', 'u', 'd'};
  for (int i = 0; i < 6; i++) {
    bool upright = i == 0 || i == 4 || i == 5;
    char dir = thumbDirs[i];
    add(thumbNames[i], 5, upright ? 11 : 20, upright ? 20 : 11, false,
        [dir](TPixelBuffer& b, int k, int l, int t, int w, int h) { TrackThumb(b, k, l, t, w, h, dir); });
  }
  for (int vertical = 0; vertical < 2; vertical++) {
    // Up-down buttons: first arrow 4 states, second arrow 4 states.
    add(vertical ? "updownv.bmp" : "updownh.bmp", 8, 16, 16, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
      Face(b, l, t, l + w, t + h, FourState(k % 4), 1);
    });
    add(vertical ? "updownvglyph.bmp" : "updownhglyph.bmp", 8, 16, 16, false,
        [vertical](TPixelBuffer& b, int k, int l, int t, int w, int h) {
          b.FillRect(l, t, l + w, t + h, kMagenta);
          char dir = vertical ? (k < 4 ? 'u' : 'd') : (k < 4 ? 'l' : 'r');
          Arrow(b, dir, l + w / 2, t + h / 2, 3, GlyphColour(FourState(k % 4)));
        });
  }
  add("track.bmp", 1, 16, 4, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    b.FillRect(l, t, l + w, t + h, RGBColor(214, 220, 232));
    Bevel(b, l, t, l + w, t + h, RGBColor(150, 160, 180), kWhite);
  });
  add("trackvert.bmp", 1, 4, 16, false, [](TPixelBuffer& b, int k, int l, int t, int w, int h) {
    b.FillRect(l, t, l + w, t + h, RGBColor(214, 220, 232));
    Bevel(b, l, t, l + w, t + h, RGBColor(150, 160, 180), kWhite);
  });
  return v;
}

// The colour of frame k of image i in the colour-coded skin: every (image,
// frame) pair distinct, never the key colour.
TColor Code(int image, int frame) {
  return RGBColor(8 + 6 * image, 8 + 10 * frame, 250 - 5 * image);
}

// The program's menu glyphs: restore (two overlapping windows), maximise
// (one window), minimise (a bar) and close (a cross), 16 x 16 each, black
// on white, as a 64 x 16 BMP of one bit per pixel.
std::vector<uint8_t> MenuGlyphs() {
  bool ink[16][64] = {};
  auto rect = [&](int l, int t, int r, int b, bool fill) {
    for (int y = t; y < b; y++)
      for (int x = l; x < r; x++)
        if (fill || y == t || y == b - 1 || x == l || x == r - 1 || y == t + 1) ink[y][x] = true;
  };
  rect(6, 3, 13, 9, false);        // restore: the window behind
  for (int y = 6; y < 13; y++)     // and the one in front, over it
    for (int x = 3; x < 10; x++) ink[y][x] = false;
  rect(3, 6, 10, 13, false);
  rect(16 + 3, 3, 16 + 13, 13, false);  // maximise
  rect(32 + 4, 10, 32 + 11, 12, true);  // minimise
  for (int i = 0; i < 8; i++) {          // close
    ink[4 + i][48 + 4 + i] = ink[4 + i][48 + 5 + i] = true;
    ink[4 + i][48 + 11 - i] = ink[4 + i][48 + 12 - i] = true;
  }
  const int stride = 8;  // 64 bits, a multiple of four bytes
  std::vector<uint8_t> f(62 + stride * 16, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  put32(2, static_cast<uint32_t>(f.size()));
  put32(10, 62);
  put32(14, 40);
  put32(18, 64);
  put32(22, 16);
  f[26] = 1;
  f[28] = 1;
  put32(34, stride * 16);
  put32(46, 2);
  // Palette: 0 black, 1 white.
  f[58] = f[59] = f[60] = 0xFF;
  for (int row = 0; row < 16; row++) {
    const int y = 15 - row;  // bottom-up
    for (int x = 0; x < 64; x++)
      if (!ink[y][x]) f[62 + row * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  }
  return f;
}

// The media player's button glyphs, 16 x 14 on olive (the colour the
// skinned panel leaves out): enabled in black, disabled in grey with a white
// relief, coloured in each button's own colour.
const TColor kOlive = RGBColor(128, 128, 0);
constexpr int kMpGlyphW = 16, kMpGlyphH = 14;
const char* const kMpButtons[9] = {"MPPLAY", "MPPAUSE", "MPSTOP", "MPNEXT", "MPPREV",
                                   "MPSTEP", "MPBACK", "MPRECORD", "MPEJECT"};

void MpGlyph(TPixelBuffer& b, int button, int dx, int dy, TColor c) {
  auto bar = [&](int l, int t, int r, int btm) { b.FillRect(l + dx, t + dy, r + dx, btm + dy, c); };
  const int cy = 7 + dy;
  switch (button) {
    case 0: ArrowRight(b, 8 + dx, cy, 6, c); break;  // play
    case 1: bar(4, 2, 7, 12); bar(9, 2, 12, 12); break;  // pause
    case 2: bar(3, 2, 13, 12); break;  // stop
    case 3: ArrowRight(b, 4 + dx, cy, 5, c); ArrowRight(b, 8 + dx, cy, 5, c); bar(11, 2, 13, 12); break;  // next
    case 4: bar(3, 2, 5, 12); ArrowLeft(b, 8 + dx, cy, 5, c); ArrowLeft(b, 12 + dx, cy, 5, c); break;  // previous
    case 5: ArrowRight(b, 7 + dx, cy, 5, c); bar(10, 2, 12, 12); break;  // step
    case 6: bar(4, 2, 6, 12); ArrowLeft(b, 10 + dx, cy, 5, c); break;  // back
    case 7: Disc(b, 8 + dx, 7 + dy, 4.5, c); break;  // record
    default: ArrowUp(b, 8 + dx, 5 + dy, 5, c); bar(3, 10, 13, 12); break;  // eject
  }
}

// State 0 enabled, 1 disabled, 2 coloured.
std::vector<uint8_t> MpGlyphFile(int button, int state) {
  static const TColor coloured[9] = {RGBColor(0, 150, 0),   RGBColor(0, 70, 200), RGBColor(0, 70, 200),
                                     RGBColor(0, 150, 0),   RGBColor(0, 70, 200), RGBColor(0, 150, 0),
                                     RGBColor(0, 70, 200),  RGBColor(200, 0, 0),  RGBColor(0, 70, 200)};
  TPixelBuffer b(kMpGlyphW, kMpGlyphH, kOlive);
  if (state == 1) {
    MpGlyph(b, button, 1, 1, kWhite);
    MpGlyph(b, button, 0, 0, RGBColor(128, 128, 128));
  } else {
    MpGlyph(b, button, 0, 0, state == 2 ? coloured[button] : RGBColor(0, 0, 0));
  }
  return BmpFile(b);
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 3 ? argv[2] : "";
  if (mode != "default" && mode != "coded" && mode != "menuglyphs" && mode != "mpglyphs") {
    std::fprintf(stderr, "usage: skingen <output folder> default|coded|menuglyphs|mpglyphs\n");
    return 2;
  }
  const std::string dir = argv[1];
  if (mode == "menuglyphs") {
    if (WriteFile(dir + "/menuglyphs.bmp", MenuGlyphs())) return 0;
    std::fprintf(stderr, "skingen: cannot write %s/menuglyphs.bmp\n", dir.c_str());
    return 1;
  }
  if (mode == "mpglyphs") {
    const char* const prefixes[3] = {"EN", "DI", "CL"};
    for (int button = 0; button < 9; button++)
      for (int state = 0; state < 3; state++) {
        const std::string path = dir + "/" + prefixes[state] + "_" + kMpButtons[button] + ".bmp";
        if (!WriteFile(path, MpGlyphFile(button, state))) {
          std::fprintf(stderr, "skingen: cannot write %s\n", path.c_str());
          return 1;
        }
      }
    return 0;
  }
  const bool coded = std::string(argv[2]) == "coded";
  std::vector<Image> images = Images();
  for (size_t i = 0; i < images.size(); i++) {
    const Image& im = images[i];
    int w = im.vertical ? im.fw : im.fw * im.frames;
    int h = im.vertical ? im.fh * im.frames : im.fh;
    TPixelBuffer b(w, h, kMagenta);
    for (int k = 0; k < im.frames; k++) {
      int l = im.vertical ? 0 : k * im.fw, t = im.vertical ? k * im.fh : 0;
      im.paint(b, k, l, t, im.fw, im.fh);
      // The coded skin keeps the key-coloured pixels (cut corners, the
      // space around glyphs) and makes every other pixel the frame's colour.
      if (coded)
        for (int y = t; y < t + im.fh; y++)
          for (int x = l; x < l + im.fw; x++)
            if (b.Pixel(x, y) != kMagenta) b.SetPixel(x, y, Code(static_cast<int>(i), k));
    }
    std::string path = dir + "/" + im.name;
    if (!WriteFile(path, paint::BmpFile(b))) {
      std::fprintf(stderr, "skingen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
