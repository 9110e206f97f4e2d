#include "SkinDraw.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ImgUtil.h"
#include "SkinColors.h"

namespace {

BITMAPINFO DibInfo(int width, int height) {
  BITMAPINFO bi;
  std::memset(&bi, 0, sizeof bi);
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

// A memory DC with a DIB section of the bitmap selected, released on scope exit.
class SourceDC {
 public:
  explicit SourceDC(const TSkinBitmap& bitmap) {
    dc_ = CreateCompatibleDC(nullptr);
    dib_ = CreateSkinDib(bitmap);
    old_ = dib_ ? SelectObject(dc_, dib_) : nullptr;
  }
  ~SourceDC() {
    if (old_) SelectObject(dc_, old_);
    if (dib_) DeleteObject(dib_);
    DeleteDC(dc_);
  }
  bool Ok() const { return dc_ && dib_; }
  HDC Get() const { return dc_; }
 private:
  HDC dc_ = nullptr;
  HBITMAP dib_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// Monochrome mask: 1 (white) where the bitmap has the key colour.
HBITMAP CreateKeyMask(const TSkinBitmap& bitmap, TColor key) {
  const int w = bitmap.Width(), h = bitmap.Height();
  const int stride = ((w + 15) / 16) * 2;  // rows of a device-dependent bitmap are WORD aligned
  std::vector<uint8_t> bits(static_cast<size_t>(stride) * h, 0);
  const uint32_t k = ColorToPixel(key);
  for (int y = 0; y < h; y++) {
    const uint32_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < w; x++)
      if (row[x] == k) bits[static_cast<size_t>(y) * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x & 7));
  }
  return CreateBitmap(w, h, 1, 1, bits.data());
}

void Blit(HDC dc, const TSkinRect& rect, const TSkinBitmap& image, bool transparent) {
  if (transparent)
    DrawTransparent(dc, rect, image, kMagenta);
  else
    DrawOpaque(dc, rect.Left, rect.Top, image);
}

}  // namespace

HBITMAP CreateSkinDib(const TSkinBitmap& bitmap) {
  if (bitmap.Empty()) return nullptr;
  BITMAPINFO bi = DibInfo(bitmap.Width(), bitmap.Height());
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) return dib;
  std::memcpy(bits, bitmap.Bits(), static_cast<size_t>(bitmap.Width()) * bitmap.Height() * 4);
  GdiFlush();
  return dib;
}

TSkinBitmap ReadBackPixels(HDC dc, int x, int y, int width, int height) {
  TSkinBitmap out(width, height);
  if (out.Empty()) return out;
  TSkinBitmap blank(width, height);
  SourceDC target(blank);
  if (!target.Ok()) return TSkinBitmap();
  BitBlt(target.Get(), 0, 0, width, height, dc, x, y, SRCCOPY);
  BITMAPINFO bi = DibInfo(width, height);
  HBITMAP dib = static_cast<HBITMAP>(GetCurrentObject(target.Get(), OBJ_BITMAP));
  GetDIBits(target.Get(), dib, 0, static_cast<UINT>(height), out.Bits(), &bi, DIB_RGB_COLORS);
  for (int i = 0; i < width * height; i++) out.Bits()[i] &= 0xFFFFFF;
  return out;
}

void DrawOpaque(HDC dc, int x, int y, const TSkinBitmap& bitmap) {
  SourceDC src(bitmap);
  if (!src.Ok()) return;
  BitBlt(dc, x, y, bitmap.Width(), bitmap.Height(), src.Get(), 0, 0, SRCCOPY);
}

void DrawTransparent(HDC dc, const TSkinRect& rect, const TSkinBitmap& bitmap, TColor key) {
  if (rect.Inverted() || bitmap.Empty()) return;
  SourceDC src(bitmap);
  HBITMAP mask = CreateKeyMask(bitmap, key);
  if (src.Ok() && mask)
    MaskBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), src.Get(), 0, 0, mask, 0, 0,
            MAKEROP4(0x00AA0029, SRCCOPY));
  if (mask) DeleteObject(mask);
}

void DrawSkinImage(HDC dc, const TSkinRect& rect, const TSkinBitmap& bitmap, bool vertical, bool tile,
                   bool transparent, int count, int n, const TSkinRect& margins) {
  if (rect.Inverted()) return;
  Blit(dc, rect, MakeSkinImage(rect.Width(), rect.Height(), bitmap, margins, vertical, tile, count, n),
       transparent);
}

void DrawSkinImageH3(HDC canvas, const TSkinRect& rect, const TSkinBitmap& bitmap, bool vertical,
                     bool transparent, int count, int n, const TSkinRect& margins) {
  if (rect.Inverted()) return;
  Blit(canvas, rect, MakeSkinImageH3(rect.Width(), rect.Height(), bitmap, vertical, count, n, margins),
       transparent);
}

void DrawSkinCell(HDC dc, const TSkinRect& rect, const TSkinBitmap& bitmap, bool transparent, int count, int n) {
  if (rect.Inverted()) return;
  Blit(dc, rect, MakeSkinCell(rect.Width(), rect.Height(), bitmap, count, n), transparent);
}

void DrawSkinCellCentered(HDC dc, const TSkinRect& rect, const TSkinBitmap& bitmap, bool transparent,
                          int count, int n) {
  if (rect.Inverted()) return;
  TSkinBitmap cell = CopySkinCell(bitmap, count, n);
  const int left = rect.Left + (rect.Width() - cell.Width()) / 2;
  const int top = rect.Top + (rect.Height() - cell.Height()) / 2;
  Blit(dc, SkinRect(left, top, left + cell.Width(), top + cell.Height()), cell, transparent);
}

void StretchSkinImageH3(HDC dc, const TSkinRect& rect, const TSkinBitmap& bitmap, bool vertical, int count,
                        int n, const TSkinRect& margins) {
  if (rect.Inverted()) return;
  SourceDC src(bitmap);
  if (!src.Ok()) return;
  const TSkinRect img = SkinImageRect(bitmap, vertical, count, n);
  const int iw = img.Width(), ih = img.Height(), sx = img.Left, sy = img.Top;
  const int h = rect.Height();
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  // A part with no area on either side is left out, never drawn mirrored.
  auto part = [&](int x, int w, int fromX, int fromW) {
    if (w > 0 && h > 0 && fromW > 0 && ih > 0)
      StretchBlt(dc, x, rect.Top, w, h, src.Get(), fromX, sy, fromW, ih, SRCCOPY);
  };
  if (rect.Width() < iw) {
    part(rect.Left, rect.Width(), sx, iw);
  } else {
    const int L = margins.Left, R = margins.Right;
    part(rect.Left, L, sx, L);
    part(rect.Left + L, rect.Width() - L - R, sx + L, iw - L - R);
    part(rect.Right - R, R, sx + iw - R, R);
  }
  SetStretchBltMode(dc, oldMode);
}

void TileImage(HDC canvas, const TSkinRect& target, const TSkinBitmap& bitmap, const TSkinRect& source) {
  if (target.Inverted() || source.Width() <= 0 || source.Height() <= 0) return;
  TSkinBitmap part(source.Width(), source.Height());
  StretchCopy(part, SkinRect(0, 0, source.Width(), source.Height()), bitmap, source);
  SourceDC src(part);
  if (!src.Ok()) return;
  for (int x = target.Left; x < target.Right; x += part.Width())
    for (int y = target.Top; y < target.Bottom; y += part.Height())
      BitBlt(canvas, x, y, part.Width(), part.Height(), src.Get(), 0, 0, SRCCOPY);
}

HRGN RegionFromBitmap(const TSkinBitmap& bitmap, int xOffset, int yOffset, int blueTolerance,
                      int greenTolerance, int redTolerance, TColor key) {
  const std::vector<TSkinRect> runs =
      OpaqueRuns(bitmap, xOffset, yOffset, blueTolerance, greenTolerance, redTolerance, key);
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

void PaintParentBackground(HWND control, HDC dc) {
  HWND parent = control ? GetParent(control) : nullptr;
  if (!parent) return;
  RECT client;
  GetClientRect(control, &client);
  RECT place;
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  OffsetViewportOrgEx(dc, -place.left, -place.top, nullptr);
  OffsetRect(&client, place.left, place.top);
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(parent, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  RestoreDC(dc, saved);
}

void GradientFill(HDC dc, const RECT& rect, TColor c1, int vertical, TColor c2) {
  if (!RectVisible(dc, &rect)) return;
  c1 = SkinColorToRGB(c1);
  c2 = SkinColorToRGB(c2);
  RECT clip;
  GetClipBox(dc, &clip);
  const int n = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  if (n <= 0) return;
  const int start = vertical ? rect.top : rect.left;
  const int clipStart = vertical ? clip.top : clip.left;
  const int clipEnd = vertical ? clip.bottom : clip.right;
  const int first = std::max(0, clipStart - start);
  const int last = std::min(n - 1, clipEnd - 1 - start);
  if (last < first) return;
  const std::vector<TColor> ramp = GradientRamp(GetGradient(n, c1, c2));
  RECT band = rect;
  if (vertical) {
    band.top = rect.top + first;
    band.bottom = band.top + 1;
  } else {
    band.left = rect.left + first;
    band.right = band.left + 1;
  }
  for (int i = first; i <= last; i++) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ramp[i]));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
    if (vertical)
      OffsetRect(&band, 0, 1);
    else
      OffsetRect(&band, 1, 0);
  }
}
