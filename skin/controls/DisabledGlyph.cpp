#include "DisabledGlyph.h"

#include <vector>

#include "Graphics.h"

using namespace fw;

namespace {

// Copies the brush where the source is set, keeps the destination elsewhere.
constexpr DWORD kRopBrushWhereSource = 0x00E20746;
// Light enough to be left out of the embossed picture (of 255).
constexpr int kLightLuminance = 192;

// One bit per pixel, set where the glyph is light, rows padded to words.
HBITMAP LightMask(TBitmap& glyph) {
  const int w = glyph.Width(), h = glyph.Height();
  HDC src = glyph.Canvas()->Handle();
  const COLORREF transparent = GetPixel(src, 0, h - 1);
  const int stride = ((w + 15) / 16) * 2;
  std::vector<BYTE> bits(static_cast<size_t>(stride) * h, 0);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++)
      if (IsLightGlyphPixel(GetPixel(src, x, y), transparent))
        bits[static_cast<size_t>(y) * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
  return CreateBitmap(w, h, 1, 1, bits.data());
}

void EmbossPass(HDC dst, HDC mask, int x, int y, int w, int h, TColor colour) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(colour));
  HGDIOBJ old = SelectObject(dst, brush);
  // The mask's clear (dark) pixels come in as the text colour: white, so
  // that the operation puts the brush there.
  const COLORREF oldText = SetTextColor(dst, RGB(255, 255, 255));
  const COLORREF oldBack = SetBkColor(dst, RGB(0, 0, 0));
  BitBlt(dst, x, y, w, h, mask, 0, 0, kRopBrushWhereSource);
  SetTextColor(dst, oldText);
  SetBkColor(dst, oldBack);
  SelectObject(dst, old);
  DeleteObject(brush);
}

}  // namespace

bool IsLightGlyphPixel(COLORREF pixel, COLORREF transparent) {
  if (pixel == transparent) return true;
  const int luminance = (GetRValue(pixel) * 30 + GetGValue(pixel) * 59 + GetBValue(pixel) * 11) / 100;
  return luminance >= kLightLuminance;
}

TBitmap* CreateDisabledGlyph(TBitmap& glyph) {
  const TPixelFormat format = glyph.PixelFormat() == pf32bit ? pf32bit : pf24bit;
  if (glyph.Empty()) return new TBitmap(0, 0, format);
  const int w = glyph.Width(), h = glyph.Height();
  auto* out = new TBitmap(w, h, format);
  HDC dst = out->Canvas()->Handle();
  RECT all = {0, 0, w, h};
  HBRUSH face = CreateSolidBrush(ColorToRGB(clBtnFace));
  FillRect(dst, &all, face);
  DeleteObject(face);
  HBITMAP mask = LightMask(glyph);
  HDC maskDc = CreateCompatibleDC(dst);
  HGDIOBJ oldMask = SelectObject(maskDc, mask);
  EmbossPass(dst, maskDc, 1, 1, w, h, clBtnHighlight);
  EmbossPass(dst, maskDc, 0, 0, w, h, clBtnShadow);
  SelectObject(maskDc, oldMask);
  DeleteDC(maskDc);
  DeleteObject(mask);
  return out;
}
