#include "SkinImage.h"

#include <algorithm>

namespace {
// The widest a bar's cap needs to be: a cap is copied at its own width, so
// one as wide as both the target and the image draws the same as any wider
// one. Caps are held to it so that a description's margins near the int
// limit cannot overflow the coordinates.
int CapLimit(int targetWidth, int imageWidth) { return std::max(targetWidth, imageWidth); }
}  // namespace

TSkinRect SkinImageRect(int width, int height, bool vertical, int count, int n) {
  if (count < 1) count = 1;
  if (vertical) {
    int h = height / count;
    return SkinRect(0, (n - 1) * h, width, n * h);
  }
  int w = width / count;
  return SkinRect((n - 1) * w, 0, n * w, height);
}

void StretchCopy(const TSkinPixels& dst, const TSkinRect& to, const TSkinPixels& src, const TSkinRect& from) {
  const int dw = to.Width(), dh = to.Height(), sw = from.Width(), sh = from.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int y0 = std::max(0, -to.Top), y1 = std::min(dh, dst.Height() - to.Top);
  const int x0 = std::max(0, -to.Left), x1 = std::min(dw, dst.Width() - to.Left);
  for (int y = y0; y < y1; y++) {
    int sy = from.Top + static_cast<int>((int64_t(2 * y + 1) * sh) / (2 * int64_t(dh)));
    if (sy < 0 || sy >= src.Height()) continue;
    const uint32_t* in = src.ScanLine(sy);
    uint32_t* out = dst.ScanLine(to.Top + y);
    for (int x = x0; x < x1; x++) {
      int sx = from.Left + static_cast<int>((int64_t(2 * x + 1) * sw) / (2 * int64_t(dw)));
      if (sx < 0 || sx >= src.Width()) continue;
      out[to.Left + x] = in[sx];
    }
  }
}

void TileInto(const TSkinPixels& dst, const TSkinRect& to, const TSkinPixels& src, const TSkinRect& from) {
  const int pw = from.Width(), ph = from.Height();
  if (pw <= 0 || ph <= 0) return;
  for (int x = to.Left; x < to.Right; x += pw)
    for (int y = to.Top; y < to.Bottom; y += ph)
      StretchCopy(dst, SkinRect(x, y, x + pw, y + ph), src, from);
}

void PutImage(const TSkinPixels& dst, int x, int y, const TSkinPixels& src, bool transparent, TColor key) {
  const uint32_t k = ColorToPixel(key);
  for (int sy = std::max(0, -y); sy < src.Height() && y + sy < dst.Height(); sy++) {
    const uint32_t* in = src.ScanLine(sy);
    uint32_t* out = dst.ScanLine(y + sy);
    for (int sx = std::max(0, -x); sx < src.Width() && x + sx < dst.Width(); sx++)
      if (!transparent || (in[sx] & kPixelRGB) != k) out[x + sx] = in[sx];
  }
}

void MakeSkinImage(const TSkinPixels& out, const TSkinPixels& bitmap, const TSkinRect& margins, bool vertical,
                   bool tile, int count, int n) {
  out.Fill(kMagenta);
  const int w = out.Width(), h = out.Height();
  if (out.Empty()) return;
  const TSkinRect img = SkinImageRect(bitmap, vertical, count, n);
  const int iw = img.Width(), ih = img.Height(), sx = img.Left, sy = img.Top;
  int L = margins.Left, T = margins.Top, R = margins.Right, B = margins.Bottom;
  // (Summed in 64 bits: a description may give margins near the int limit.)
  if (w < int64_t(L) + R) L = R = 0;
  if (h < int64_t(T) + B) T = B = 0;
  // Image-relative source rectangle.
  auto S = [&](int l, int t, int r, int b) { return SkinRect(sx + l, sy + t, sx + r, sy + b); };
  // A corner is drawn when both of its margins are there.
  if (L > 0 && T > 0) StretchCopy(out, SkinRect(0, 0, L, T), bitmap, S(0, 0, L, T));
  if (L > 0 && B > 0) StretchCopy(out, SkinRect(0, h - B, L, h), bitmap, S(0, ih - B, L, ih));
  if (R > 0 && T > 0) StretchCopy(out, SkinRect(w - R, 0, w, T), bitmap, S(iw - R, 0, iw, T));
  if (L > 0) StretchCopy(out, SkinRect(0, T, L, h - B), bitmap, S(0, T, L, ih - B));
  if (T > 0) StretchCopy(out, SkinRect(L, 0, w - R, T), bitmap, S(L, 0, iw - R, T));
  if (tile)
    TileInto(out, SkinRect(L, T, w - R, h - B), bitmap, S(L, T, iw - R, ih - B));
  else
    StretchCopy(out, SkinRect(L, T, w - R, h - B), bitmap, S(L, T, iw - R, ih - B));
  if (R > 0 && B > 0) StretchCopy(out, SkinRect(w - R, h - B, w, h), bitmap, S(iw - R, ih - B, iw, ih));
  if (R > 0) StretchCopy(out, SkinRect(w - R, T, w, h - B), bitmap, S(iw - R, T, iw, ih - B));
  if (B > 0) StretchCopy(out, SkinRect(L, h - B, w - R, h), bitmap, S(L, ih - B, iw - R, ih));
}

void MakeSkinImageH3(const TSkinPixels& out, const TSkinPixels& bitmap, bool vertical, int count, int n,
                     const TSkinRect& margins) {
  out.Fill(kMagenta);
  const int w = out.Width(), h = out.Height();
  if (out.Empty()) return;
  const TSkinRect img = SkinImageRect(bitmap, vertical, count, n);
  const int iw = img.Width(), sx = img.Left;
  const int C = CapLimit(w, iw);
  const int L = std::min(std::max(margins.Left, 0), C), R = std::min(std::max(margins.Right, 0), C);
  StretchCopy(out, SkinRect(0, 0, L, h), bitmap, SkinRect(sx, img.Top, sx + L, img.Bottom));
  const int M = iw - L - R;
  if (M > 0)
    for (int x = L; x < w - R; x += M)
      StretchCopy(out, SkinRect(x, 0, x + M, h), bitmap, SkinRect(sx + L, img.Top, sx + L + M, img.Bottom));
  StretchCopy(out, SkinRect(w - R, 0, w, h), bitmap, SkinRect(sx + iw - R, img.Top, sx + iw, img.Bottom));
}

void MakeStretchedH3(const TSkinPixels& out, const TSkinPixels& bitmap, bool vertical, int count, int n,
                     const TSkinRect& margins) {
  out.Fill(kMagenta);
  const int w = out.Width(), h = out.Height();
  if (out.Empty()) return;
  const TSkinRect img = SkinImageRect(bitmap, vertical, count, n);
  const int iw = img.Width(), sx = img.Left;
  if (w < iw) {
    StretchCopy(out, SkinRect(0, 0, w, h), bitmap, img);
    return;
  }
  const int C = CapLimit(w, iw);
  const int L = std::min(margins.Left, C), R = std::min(margins.Right, C);
  StretchCopy(out, SkinRect(0, 0, L, h), bitmap, SkinRect(sx, img.Top, sx + L, img.Bottom));
  StretchCopy(out, SkinRect(L, 0, w - R, h), bitmap, SkinRect(sx + L, img.Top, sx + iw - R, img.Bottom));
  StretchCopy(out, SkinRect(w - R, 0, w, h), bitmap, SkinRect(sx + iw - R, img.Top, sx + iw, img.Bottom));
}

void MakeSkinCell(const TSkinPixels& out, const TSkinPixels& bitmap, int count, int n) {
  out.Fill(kMagenta);
  StretchCopy(out, SkinRect(0, 0, out.Width(), out.Height()), bitmap, SkinImageRect(bitmap, false, count, n));
}

std::vector<TSkinRect> OpaqueRuns(const TSkinPixels& bitmap, int xOffset, int yOffset, int blueTolerance,
                                  int greenTolerance, int redTolerance, TColor key) {
  const int kr = RedOf(key), kg = GreenOf(key), kb = BlueOf(key);
  const int rHi = std::min(255, kr + redTolerance), gHi = std::min(255, kg + greenTolerance),
            bHi = std::min(255, kb + blueTolerance);
  auto keyed = [&](uint32_t p) {
    int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r >= kr && r <= rHi && g >= kg && g <= gHi && b >= kb && b <= bHi;
  };
  std::vector<TSkinRect> runs;
  for (int y = 0; y < bitmap.Height(); y++) {
    const uint32_t* row = bitmap.ScanLine(y);
    int x = 0;
    while (x < bitmap.Width()) {
      while (x < bitmap.Width() && keyed(row[x])) x++;
      int x0 = x;
      while (x < bitmap.Width() && !keyed(row[x])) x++;
      if (x > x0) runs.push_back(SkinRect(x0 + xOffset, y + yOffset, x + xOffset, y + yOffset + 1));
    }
  }
  return runs;
}
