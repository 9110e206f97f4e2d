// The drawing routines of the box skinners, shared with the caption buttons
// and the tab skinners.
#include <memory>

#include "BoxSkinners.h"
#include "Panel.h"
#include "SkinDraw.h"
#include "SkinMessages.h"
#include "WinSkinData.h"

using namespace fw;

namespace {

constexpr int kStatusFrames = 3;

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

}  // namespace

bool PaintClientToAlone(TSkinControl* skinner, TMessage& m) {
  if (m.Msg != SKM_PAINTCLIENTTO || m.LParam != kSkinMarker) return false;
  if (HDC dc = reinterpret_cast<HDC>(m.WParam)) skinner->PaintFrame(dc);
  m.Result = kSkinMarker;
  return true;
}

UINT AlignmentFlags(int alignment) {
  switch (alignment) {
    case 1: return DT_RIGHT;
    case 2: return DT_CENTER;
    default: return DT_LEFT;
  }
}

void DrawStatusPanel(TSkinData* skin, HDC dc, const RECT& rect, int frame) {
  if (Inverted(rect) || !skin || !skin->StatusBarEdges || skin->StatusBarEdges->Bitmap.Empty()) return;
  TDataSkinObject& edges = *skin->StatusBarEdges;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w == 0 || h == 0) return;  // a piece with no area
  if (frame < 1 || frame > kStatusFrames) frame = 1;
  std::unique_ptr<TBitmap> image(
      MakeSkinImage(SkinRect(0, 0, w, h), edges.Bitmap, edges.Margins(), false, edges.Tile == 1, kStatusFrames, frame));
  if (image) BitBlt(dc, rect.left, rect.top, w, h, image->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void DrawBevel(TCanvas& canvas, const RECT& rect, int style) {
  RECT r = rect;
  if (style == 1)
    Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
  else if (style == 2)
    Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
}

int TextHeight(HDC dc, const std::wstring& text) {
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cy;
}

void DrawCenteredText(TCanvas& canvas, const RECT& rect, const std::wstring& text, int alignment, bool enabled) {
  const UINT align = AlignmentFlags(alignment);
  SetBkMode(canvas.Handle(), TRANSPARENT);
  canvas.Brush()->SetStyle(bsClear);
  canvas.Font()->SetStyle(0);
  RECT t = rect;
  canvas.DrawTextWide(text, t, align | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
  OffsetRect(&t, ((rect.right - rect.left) - (t.right - t.left)) / 2,
             ((rect.bottom - rect.top) - (t.bottom - t.top)) / 2);
  if (!enabled) canvas.Font()->SetColor(clBtnShadow);
  canvas.DrawTextWide(text, t, align | DT_EXPANDTABS | DT_SINGLELINE);
}

void DrawArrowGlyph(TCanvas& canvas, int x, int y, int direction) {
  struct TSegment {
    int x1, y1, x2, y2;
  };
  auto segments = [&](std::initializer_list<TSegment> list) {
    for (const TSegment& s : list) {
      canvas.MoveTo(x + s.x1, y + s.y1);
      canvas.LineTo(x + s.x2, y + s.y2);
    }
  };
  switch (direction) {
    case 0:
      segments({{0, 0, 0, -1}, {1, 1, 4, 4}, {0, 1, 3, 4}, {0, 2, 2, 4}, {-1, 1, -4, 4}, {0, 2, -3, 4}, {0, 1, -2, 4}});
      break;
    case 1:
      segments({{0, 3, 0, 4}, {1, 2, 4, -1}, {0, 2, 3, -1}, {0, 1, 2, 0}, {-1, 2, -4, -1}, {0, 2, -3, -1}, {0, 1, -2, 0}});
      break;
    case 2: canvas.Polyline({{x, y}, {x + 1, y + 2}, {x + 1, y - 2}, {x - 1, y}, {x + 1, y + 2}}); break;
    case 3: canvas.Polyline({{x, y}, {x - 1, y + 2}, {x - 1, y - 2}, {x + 1, y}, {x - 1, y + 2}}); break;
    default: break;
  }
}
