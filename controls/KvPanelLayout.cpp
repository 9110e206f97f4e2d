// Panel and group box geometry and the group box's frames.
#include "KvPanelLayout.h"

namespace kv {

int FrameStyleWidth(TFrameStyleEx style, int bevelWidth) {
  switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return bevelWidth;
    default: return 2;  // fsGroove..fsButtonUp, fsFlatBold, fsFlatRounded
  }
}

TRect ShrinkByFrame(TRect r, const TPanelFrame& f, bool withBorderWidth) {
  if (withBorderWidth) r = InflateRect(r, -f.borderWidth, -f.borderWidth);
  r = ShrinkSides(r, f.sides, FrameStyleWidth(f.outer, f.bevelWidth));
  return ShrinkSides(r, f.sides, FrameStyleWidth(f.inner, f.bevelWidth));
}

void PaintGrid(PaintTarget& t, TRect r, TKvGridStyle style, int xs, int ys, TColor colour) {
  const int nx = xs > 0 ? (r.right - r.left) / xs : 0;
  const int ny = ys > 0 ? (r.bottom - r.top) / ys : 0;
  if (style == gsDots) {
    for (int i = 1; i <= nx; ++i)
      for (int j = 1; j <= ny; ++j) t.Pixel(r.left + i * xs - 1, r.top + j * ys - 1, colour);
    return;
  }
  // Dotted lines: every second pixel, from one after the start to before the end.
  auto dotted = [&](int x1, int y1, int x2, int y2) {
    if (x1 == x2)
      for (int y = y1 + 1; y < y2; y += 2) t.Pixel(x1, y, colour);
    else
      for (int x = x1 + 1; x < x2; x += 2) t.Pixel(x, y1, colour);
  };
  for (int i = 1; i <= nx; ++i) {
    const int x = r.left + i * xs - 1;
    if (style == gsSolidLines)
      t.Line(x, r.top, x, r.bottom, colour);
    else
      dotted(x, r.top, x, r.bottom);
  }
  for (int j = 1; j <= ny; ++j) {
    const int y = r.top + j * ys - 1;
    if (style == gsSolidLines)
      t.Line(r.left, y, r.right, y, colour);
    else
      dotted(r.left, y, r.right, y);
  }
}

TRect PlaceCaption(TRect r, int h, TAlignmentVertical av) {
  switch (av) {
    case avTop:
      if (r.top + h < r.bottom) r.bottom = r.top + h;
      break;
    case avCenter:
      r.top = (r.top + r.bottom - h) / 2;  // division towards zero
      if (r.top + h < r.bottom) r.bottom = r.top + h;
      break;
    case avBottom:
      if (r.bottom - h - 1 > r.top) r.top = r.bottom - h - 1;
      break;
  }
  return r;
}

std::vector<TRect> ResizeRepaintStrips(TRect oldOuter, TRect oldInner, int newWidth, int newHeight,
                                       TPoint margin) {
  std::vector<TRect> strips;
  if (newWidth != oldOuter.Width())
    strips.push_back(Rect(oldInner.right - margin.x, oldOuter.top, oldOuter.right, oldOuter.bottom));
  if (newHeight != oldOuter.Height())
    strips.push_back(Rect(oldOuter.left, oldInner.bottom - margin.y, oldOuter.right, oldOuter.bottom));
  return strips;
}

TRect KeepAlignedEdge(TAlignEdge align, TRect oldBounds, TRect newBounds) {
  if (align == aeBottom && newBounds.Height() != oldBounds.Height()) {
    const int h = newBounds.Height();
    newBounds.top = oldBounds.bottom - h;
    newBounds.bottom = oldBounds.bottom;
  }
  if (align == aeRight && newBounds.Width() != oldBounds.Width()) {
    const int w = newBounds.Width();
    newBounds.left = oldBounds.right - w;
    newBounds.right = oldBounds.right;
  }
  return newBounds;
}

TDockGrabber DockClientGrabber(TRect f, bool topOrBottom) {
  TDockGrabber g;
  g.vertical = topOrBottom;
  if (topOrBottom) {
    g.grabber = Rect(f.left, f.top, f.left + kDockGrabberSize, f.bottom);
    g.closeBox = Rect(f.left + 1, f.top + 1, f.left + 12, f.top + 12);
    g.caption = TPoint{g.grabber.right - 2, g.grabber.bottom - 3};
  } else {
    g.grabber = Rect(f.left, f.top, f.right, f.top + kDockGrabberSize);
    g.closeBox = Rect(f.right - 15, f.top + 1, f.right - 2, f.top + 12);
    g.caption = TPoint{f.left + 2, f.top};
  }
  return g;
}

TRect DockClientArea(TRect f, bool topOrBottom) {
  if (topOrBottom) f.left += kDockGrabberSize;
  else f.top += kDockGrabberSize;
  return f;
}

TRect GroupClientRect(TRect r, TKvGroupBoxStyle style, int h, int borderWidth, bool captionEmpty) {
  switch (style) {
    case gsStandard:
    case gsFlat: {
      const int a = h / 2 - 1;
      r.top += a < borderWidth ? a : h - borderWidth;
      return InflateRect(r, style == gsStandard ? -2 : -1, style == gsStandard ? -2 : -1);
    }
    case gsCustom:
      if (!captionEmpty) r.top += h;
      return InflateRect(r, -2, -2);
    case gsTopLine: r.top += h; return r;
    case gsBanner: r.top += h + 8; return r;
    case gsUnderline: r.top += h + 4; return r;
  }
  return r;
}

TRect GroupCaptionBox(TKvGroupBoxStyle style, int w, int h, int width, bool rtl) {
  switch (style) {
    case gsStandard:
    case gsFlat: return rtl ? Rect(width - w - 8, 0, width - 8, h) : Rect(8, 0, 8 + w, h);
    case gsTopLine: return rtl ? Rect(width - w - 4, 0, width - 4, h) : Rect(0, 0, w + 4, h);
    case gsBanner: return Rect(0, 0, width, h + 6);
    case gsUnderline: return Rect(0, 0, width, h + 2);
    case gsCustom: break;
  }
  return TRect{};
}

void DrawGroupFrame(PaintTarget& t, const TGroupFrame& g, TRect F, TRect box) {
  const TColor fc = g.flatColor;
  switch (g.style) {
    case gsStandard:
      switch (g.borderOuter) {
        case fsNone: DrawStyledFrame(t, F, fsGroove, kAllSides); break;
        case fsFlat: DrawFlatRectangle(t, F, fc); break;
        case fsFlatBold: DrawBevelLines(t, F, fc, fc, kAllSides, 2); break;
        case fsFlatRounded: DrawCutCornerBorder(t, F, fc, kAllSides); break;
        default: DrawStyledFrame(t, F, g.borderOuter, kAllSides); break;
      }
      break;
    case gsTopLine:
      switch (g.borderOuter) {
        case fsNone: DrawStyledFrame(t, F, fsGroove, sdTop); break;
        case fsFlat: t.Line(F.left + 2, F.top, F.right - 2, F.top, fc); break;
        case fsFlatBold:
          t.Line(F.left + 2, F.top, F.right - 2, F.top, fc);
          t.Line(F.left + 2, F.top + 1, F.right - 2, F.top + 1, fc);
          break;
        default: DrawStyledFrame(t, F, g.borderOuter, sdTop); break;
      }
      break;
    case gsFlat:
      t.Line(F.left, F.top + 2, F.left, F.bottom - 2, fc);
      t.Line(F.left + 2, F.top, F.right - 2, F.top, fc);
      t.Line(F.right - 1, F.top + 2, F.right - 1, F.bottom - 2, fc);
      t.Line(F.left + 2, F.bottom - 1, F.right - 2, F.bottom - 1, fc);
      t.Pixel(F.left + 1, F.top + 1, fc);
      t.Pixel(F.right - 2, F.top + 1, fc);
      t.Pixel(F.right - 2, F.bottom - 2, fc);
      t.Pixel(F.left + 1, F.bottom - 2, fc);
      break;
    case gsUnderline:
      t.Line(box.left, box.bottom, box.right, box.bottom, fc);
      break;
    case gsBanner:
    case gsCustom:
      break;
  }
}

void DrawBannerOutline(PaintTarget& t, TRect b, TColor pen) {
  t.Line(b.left, b.top + 1, b.left, b.bottom - 1, pen);
  t.Line(b.left + 1, b.top, b.right - 1, b.top, pen);
  t.Line(b.right - 1, b.top + 1, b.right - 1, b.bottom - 1, pen);
  t.Line(b.left + 1, b.bottom - 1, b.right - 1, b.bottom - 1, pen);
}

}  // namespace kv
