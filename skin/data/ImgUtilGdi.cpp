#include "ImgUtilGdi.h"

#include <algorithm>

#include "SkinColors.h"
#include "SkinDraw.h"

void ReplaceMagenta(fw::TBitmap& bitmap, TColor colour) { ReplaceMagenta(PixelsOf(bitmap), colour); }

void FlipHorizontal(fw::TBitmap& bitmap) { FlipHorizontal(PixelsOf(bitmap)); }

void FlipVertical(fw::TBitmap& bitmap) { FlipVertical(PixelsOf(bitmap)); }

namespace {

// The bitmap replaced by its pixels turned a quarter.
template <class Turn>
void Rotate(fw::TBitmap& bitmap, Turn turn) {
  const TSkinPixels in = PixelsOf(bitmap);
  if (in.Empty()) return;
  fw::TBitmap out;
  SetSkinBitmapSize(out, in.Height(), in.Width());
  if (!turn(PixelsOf(out), in)) return;
  bitmap.Assign(out);
}

}  // namespace

void RotateLeft(fw::TBitmap& bitmap) { Rotate(bitmap, RotateLeftInto); }

void RotateRight(fw::TBitmap& bitmap) { Rotate(bitmap, RotateRightInto); }

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
  // A copy: painting never refills the cache, but the ramp must not move
  // under the loop whatever a later change does.
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
