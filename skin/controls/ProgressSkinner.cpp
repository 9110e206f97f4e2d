// The progress bar skinner: the bar from the skin's "Progress" image (empty
// frame, then the filled part over it), or with the image's style 1 a row
// of chunks from "Progress.Chunk". A vertical bar is composed lying down
// and turned, so that it fills upward.
#include <algorithm>
#include <memory>

#include "BoxSkinners.h"
#include "Graphics.h"
#include "ImgUtilGdi.h"
#include "RangeSkinners.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "SkinMessages.h"
#include "WinSkinData.h"

using namespace fw;

namespace {

constexpr int kBarFrames = 2;
constexpr int kEmptyFrame = 1, kFilledFrame = 2;
constexpr int kChunkStyle = 1;
// The chunks keep this far from the bar's edges.
constexpr int kChunkInset = 2;

TSkinRect ToSkinRect(const RECT& r) { return SkinRect(r.left, r.top, r.right, r.bottom); }

// Image n of count of the object, nine-part scaled over r, magenta left out.
void DrawImageOver(HDC dc, const RECT& r, TDataSkinObject& object, int count, int n) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  std::unique_ptr<TBitmap> image(MakeSkinImage(SkinRect(0, 0, r.right - r.left, r.bottom - r.top), object.Bitmap,
                                               object.Margins(), false, object.Tile == 1, count, n));
  if (image) DrawTransparent(dc, ToSkinRect(r), *image, static_cast<TColor>(kSkinKeyColour));
}

}  // namespace

const TClassInfo& TSkinProgress::StaticClass() {
  static const TClassInfo info("TSkinProgress", &TSkinControl::StaticClass());
  return info;
}

bool TSkinProgress::CanPaint() const {
  if (!SkinData || !SkinData->Progress || SkinData->Progress->Bitmap.Empty()) return false;
  if (SkinData->Progress->Style != kChunkStyle) return true;
  return SkinData->ProgressChunk && !SkinData->ProgressChunk->Bitmap.Empty();
}

bool TSkinProgress::BeforeProc(TMessage& m) {
  if (CanPaint() && PaintClientToAlone(this, m)) return false;
  switch (m.Msg) {
    case WM_PAINT:
      if (!CanPaint()) return true;  // the control paints itself
      PaintMessage(this, m);
      m.Result = 0;
      return false;
    case WM_ERASEBKGND: m.Result = 1; return false;
    default: return TSkinControl::BeforeProc(m);
  }
}

void TSkinProgress::PaintBar(HDC dc, const RECT& bar, int pos, int low, int high) {
  TDataSkinObject& progress = *SkinData->Progress;
  DrawImageOver(dc, bar, progress, kBarFrames, kEmptyFrame);
  RECT filled = bar;
  filled.right = ProgressFillRight(bar, pos, low, high);
  DrawImageOver(dc, filled, progress, kBarFrames, kFilledFrame);
}

void TSkinProgress::PaintChunks(HDC dc, const RECT& bar, int pos, int high) {
  DrawImageOver(dc, bar, *SkinData->Progress, 1, 1);
  const int fill = ChunkFillRight(bar, pos, high) - bar.left;
  if (fill <= 0) return;
  TDataSkinObject& chunk = *SkinData->ProgressChunk;
  const int wc = chunk.Bitmap.Width(), hc = chunk.Bitmap.Height();
  if (wc <= 0 || hc <= 0) return;
  if (chunk.Tile == 1) {
    const int x = chunk.LeftWidth + kChunkInset;
    const int y = bar.top + (bar.bottom - hc) / 2;
    // The row ends inside the bar however full it is.
    const int width = std::min<int>(fill, bar.right - kChunkInset - x);
    if (width <= 0) return;
    TBitmap strip;
    SetSkinBitmapSize(strip, width, hc);
    HDC s = strip.Canvas()->Handle();
    for (int i = 0; i <= fill / wc && i * wc < width; i++)
      BitBlt(s, i * wc, 0, wc, hc, chunk.Bitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
    DrawTransparent(dc, SkinRect(x, y, x + width, y + hc), strip, static_cast<TColor>(kSkinKeyColour));
    return;
  }
  const int width = std::min<int>(fill, (bar.right - bar.left) - 2 * kChunkInset);
  const int height = (bar.bottom - bar.top) - 2 * kChunkInset;
  if (width <= 0 || height <= 0) return;
  TBitmap image;
  SetSkinBitmapSize(image, width, height);
  StretchSkinImageH3(image.Canvas()->Handle(), SkinRect(0, 0, width, height), chunk.Bitmap, false, 1, 1,
                     chunk.Margins());
  BitBlt(dc, kChunkInset, kChunkInset, width, height, image.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinProgress::PaintControl(HDC dc, const RECT& rect) {
  if (!CanPaint()) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  const bool vertical = (GetLong(Handle, GWL_STYLE) & PBS_VERTICAL) != 0;
  // A vertical bar is composed lying down.
  const RECT bar = vertical ? RECT{0, 0, h, w} : RECT{0, 0, w, h};
  TBitmap work;
  SetSkinBitmapSize(work, bar.right, bar.bottom, static_cast<TColor>(ColorToRGB(SkinData->Colors[sc::ButtonFace])));
  HDC mem = work.Canvas()->Handle();
  const int pos = static_cast<int>(SendMessageW(Handle, PBM_GETPOS, 0, 0));
  const int high = static_cast<int>(SendMessageW(Handle, PBM_GETRANGE, FALSE, 0));
  const int low = static_cast<int>(SendMessageW(Handle, PBM_GETRANGE, TRUE, 0));
  if (SkinData->Progress->Style == kChunkStyle)
    PaintChunks(mem, bar, pos, high);
  else
    PaintBar(mem, bar, pos, low, high);
  if (vertical) RotateLeft(work);
  BitBlt(dc, rect.left, rect.top, w, h, work.Canvas()->Handle(), 0, 0, SRCCOPY);
}
