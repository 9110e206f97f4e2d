#include "SkinDraw.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Monochrome mask: 1 (white) where the image has the key colour.
HBITMAP CreateKeyMask(const TSkinPixels& image, TColor key) {
  const int w = image.Width(), h = image.Height();
  const int stride = ((w + 15) / 16) * 2;  // rows of a device-dependent bitmap are WORD aligned
  std::vector<uint8_t> bits(static_cast<size_t>(stride) * h, 0);
  const uint32_t k = ColorToPixel(key);
  for (int y = 0; y < h; y++) {
    const uint32_t* row = image.ScanLine(y);
    for (int x = 0; x < w; x++)
      if ((row[x] & kPixelRGB) == k) bits[static_cast<size_t>(y) * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x & 7));
  }
  return CreateBitmap(w, h, 1, 1, bits.data());
}

// The work bitmap at the rectangle's top-left, as it is or without its
// key-coloured pixels.
void Blit(HDC dc, const TSkinRect& rect, fw::TBitmap& image, bool transparent) {
  if (image.Empty()) return;
  if (transparent)
    DrawTransparent(dc, rect, image, kMagenta);
  else
    BitBlt(dc, rect.Left, rect.Top, image.Width(), image.Height(), image.Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace

TSkinPixels PixelsOf(fw::TBitmap& bitmap) {
  if (bitmap.Empty() || !bitmap.Handle()) return TSkinPixels();
  if (bitmap.BitCount() != 32) bitmap.SetPixelFormat(fw::pf32bit);
  GdiFlush();
  uint8_t* top = bitmap.ScanLine(0);
  if (!top) return TSkinPixels();
  // The framework's DIB sections hold their rows bottom-up.
  return TSkinPixels(reinterpret_cast<uint32_t*>(top), bitmap.Width(), bitmap.Height(), -bitmap.Stride() / 4);
}

void SetSkinBitmapSize(fw::TBitmap& bitmap, int width, int height, TColor fill) {
  bitmap.Clear();
  bitmap.SetPixelFormat(fw::pf32bit);
  bitmap.SetSize(width, height);
  PixelsOf(bitmap).Fill(fill);
}

fw::TBitmap* MakeSkinImage(const TSkinRect& target, fw::TBitmap& bitmap, const TSkinRect& margins, bool vertical,
                           bool tile, int count, int n) {
  if (target.Inverted()) return nullptr;
  auto* out = new fw::TBitmap;
  SetSkinBitmapSize(*out, target.Width(), target.Height());
  MakeSkinImage(PixelsOf(*out), PixelsOf(bitmap), margins, vertical, tile, count, n);
  return out;
}

void DrawTransparent(HDC dc, const TSkinRect& rect, fw::TBitmap& bitmap, TColor key) {
  if (rect.Inverted()) return;
  TSkinPixels pixels = PixelsOf(bitmap);
  if (pixels.Empty()) return;
  // The masked blit of the NT family, which every target of this program
  // (and Wine) is.
  HBITMAP mask = CreateKeyMask(pixels, key);
  if (!mask) return;
  MaskBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), bitmap.Canvas()->Handle(), 0, 0, mask, 0, 0,
          MAKEROP4(0x00AA0029, SRCCOPY));
  DeleteObject(mask);
}

void DrawSkinImage(HDC dc, const TSkinRect& rect, fw::TBitmap& bitmap, bool vertical, bool tile, bool transparent,
                   int count, int n, const TSkinRect& margins) {
  if (rect.Inverted()) return;
  fw::TBitmap work;
  SetSkinBitmapSize(work, rect.Width(), rect.Height());
  MakeSkinImage(PixelsOf(work), PixelsOf(bitmap), margins, vertical, tile, count, n);
  Blit(dc, rect, work, transparent);
}

void DrawSkinImageH3(fw::TCanvas& canvas, const TSkinRect& rect, fw::TBitmap& bitmap, bool vertical,
                     bool transparent, int count, int n, const TSkinRect& margins) {
  if (rect.Inverted()) return;
  fw::TBitmap work;
  SetSkinBitmapSize(work, rect.Width(), rect.Height());
  if (work.Empty()) return;
  MakeSkinImageH3(PixelsOf(work), PixelsOf(bitmap), vertical, count, n, margins);
  if (transparent) {
    // The framework's transparent drawing of a bitmap, keyed on magenta.
    work.SetTransparentColor(kMagenta);
    work.SetTransparent(true);
    canvas.Draw(rect.Left, rect.Top, work);
  } else {
    BitBlt(canvas.Handle(), rect.Left, rect.Top, work.Width(), work.Height(), work.Canvas()->Handle(), 0, 0,
           SRCCOPY);
  }
}

void DrawSkinCell(HDC dc, const TSkinRect& rect, fw::TBitmap& bitmap, bool transparent, int count, int n) {
  if (rect.Inverted()) return;
  fw::TBitmap work;
  SetSkinBitmapSize(work, rect.Width(), rect.Height());
  MakeSkinCell(PixelsOf(work), PixelsOf(bitmap), count, n);
  Blit(dc, rect, work, transparent);
}

void DrawSkinCellCentered(HDC dc, const TSkinRect& rect, fw::TBitmap& bitmap, bool transparent, int count,
                          int n) {
  if (rect.Inverted()) return;
  const TSkinPixels source = PixelsOf(bitmap);
  const TSkinRect image = SkinImageRect(source, false, count, n);
  fw::TBitmap cell;
  SetSkinBitmapSize(cell, image.Width(), image.Height());
  StretchCopy(PixelsOf(cell), SkinRect(0, 0, image.Width(), image.Height()), source, image);
  const int left = rect.Left + (rect.Width() - image.Width()) / 2;
  const int top = rect.Top + (rect.Height() - image.Height()) / 2;
  Blit(dc, SkinRect(left, top, left + image.Width(), top + image.Height()), cell, transparent);
}

void StretchSkinImageH3(HDC dc, const TSkinRect& rect, fw::TBitmap& bitmap, bool vertical, int count, int n,
                        const TSkinRect& margins) {
  if (rect.Inverted() || bitmap.Empty()) return;
  HDC src = bitmap.Canvas()->Handle();
  if (!src) return;
  const TSkinRect img = SkinImageRect(bitmap.Width(), bitmap.Height(), vertical, count, n);
  const int iw = img.Width(), ih = img.Height(), sx = img.Left, sy = img.Top;
  const int h = rect.Height();
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  // A part with no area on either side is left out, never drawn mirrored.
  auto part = [&](int x, int w, int fromX, int fromW) {
    if (w > 0 && h > 0 && fromW > 0 && ih > 0) StretchBlt(dc, x, rect.Top, w, h, src, fromX, sy, fromW, ih, SRCCOPY);
  };
  if (rect.Width() < iw) {
    part(rect.Left, rect.Width(), sx, iw);
  } else {
    // Caps are held to the wider of the target and the image: a cap that
    // wide draws the same as any wider one, and a description's margins
    // near the int limit cannot overflow the coordinates.
    const int cap = std::max(rect.Width(), iw);
    const int L = std::min(std::max(margins.Left, 0), cap), R = std::min(std::max(margins.Right, 0), cap);
    part(rect.Left, L, sx, L);
    part(rect.Left + L, rect.Width() - L - R, sx + L, iw - L - R);
    part(rect.Right - R, R, sx + iw - R, R);
  }
  SetStretchBltMode(dc, oldMode);
}

void TileImage(fw::TCanvas& canvas, const TSkinRect& target, fw::TBitmap& bitmap, const TSkinRect& source) {
  if (target.Inverted() || source.Width() <= 0 || source.Height() <= 0) return;
  fw::TBitmap part;
  SetSkinBitmapSize(part, source.Width(), source.Height());
  StretchCopy(PixelsOf(part), SkinRect(0, 0, source.Width(), source.Height()), PixelsOf(bitmap), source);
  HDC dc = canvas.Handle();
  HDC src = part.Canvas()->Handle();
  if (!dc || !src) return;
  for (int x = target.Left; x < target.Right; x += part.Width())
    for (int y = target.Top; y < target.Bottom; y += part.Height())
      BitBlt(dc, x, y, part.Width(), part.Height(), src, 0, 0, SRCCOPY);
}

HRGN RegionFromBitmap(fw::TBitmap& bitmap, int xOffset, int yOffset, int blueTolerance, int greenTolerance,
                      int redTolerance, TColor key) {
  const std::vector<TSkinRect> runs =
      OpaqueRuns(PixelsOf(bitmap), xOffset, yOffset, blueTolerance, greenTolerance, redTolerance, key);
  // One ExtCreateRegion call never gets more than this many rectangles.
  const size_t kBlock = 2000;
  HRGN result = nullptr;
  for (size_t first = 0; first < runs.size(); first += kBlock) {
    const size_t count = std::min(kBlock, runs.size() - first);
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    RGNDATAHEADER* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    RECT* rects = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
    RECT bound = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (size_t i = 0; i < count; i++) {
      const TSkinRect& r = runs[first + i];
      rects[i] = RECT{r.Left, r.Top, r.Right, r.Bottom};
      bound.left = std::min<LONG>(bound.left, r.Left);
      bound.top = std::min<LONG>(bound.top, r.Top);
      bound.right = std::max<LONG>(bound.right, r.Right);
      bound.bottom = std::max<LONG>(bound.bottom, r.Bottom);
    }
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(count);
    header->nRgnSize = 0;
    header->rcBound = bound;
    HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    if (!part) continue;
    if (!result) {
      result = part;
    } else {
      CombineRgn(result, result, part, RGN_OR);
      DeleteObject(part);
    }
  }
  return result ? result : CreateRectRgn(0, 0, 0, 0);
}

void PaintParentBackground(fw::TControl* control, HDC dc) {
  if (!control || !control->Parent()) return;
  RECT client = control->ClientRect();
  const int saved = SaveDC(dc);
  POINT origin;
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
  OffsetRect(&client, control->Left(), control->Top());
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  fw::TWinControl* parent = control->Parent();
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  RestoreDC(dc, saved);
}
