// Composition of skin images from image strips, on pixels: locating one
// state image in a strip, nine-part scaling with fixed corners, three-part
// bars, tiling, key-colour transparency and the opaque runs of a window
// region. The drawing routines onto device contexts (SkinDraw.h) compose
// their work bitmaps here. Each Make routine fills the whole of `out` (its
// size is the target's): parts it does not draw are key-coloured.
#pragma once
#include <vector>

#include "SkinPixels.h"

struct TSkinRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Inverted() const { return Right < Left || Bottom < Top; }
  bool operator==(const TSkinRect& o) const {
    return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
  }
};
inline TSkinRect SkinRect(int l, int t, int r, int b) { return TSkinRect{l, t, r, b}; }

// The rectangle of image n (from 1) of a strip of `count` images laid side by
// side (or stacked when vertical). A count below 1 counts as 1.
TSkinRect SkinImageRect(int width, int height, bool vertical, int count, int n);
inline TSkinRect SkinImageRect(const TSkinPixels& bitmap, bool vertical, int count, int n) {
  return SkinImageRect(bitmap.Width(), bitmap.Height(), vertical, count, n);
}

// Nearest-pixel copy of `from` in `src` onto `to` in `dst` (the stretching of
// a colour-on-colour stretch mode). A part with no area on either side copies
// nothing; pixels outside either image are skipped.
void StretchCopy(const TSkinPixels& dst, const TSkinRect& to, const TSkinPixels& src, const TSkinRect& from);
// `from` repeated over `to`, starting at its top-left; the last row and column
// of tiles may run past `to` (up to the image's edge).
void TileInto(const TSkinPixels& dst, const TSkinRect& to, const TSkinPixels& src, const TSkinRect& from);
// `src` placed at (x, y); with `transparent`, pixels of the key colour are left out.
void PutImage(const TSkinPixels& dst, int x, int y, const TSkinPixels& src, bool transparent,
              TColor key = kMagenta);

// Image n of the strip scaled to `out`: corners kept, edges stretched, the
// middle tiled or stretched. Margins that do not fit the target are dropped
// in pairs.
void MakeSkinImage(const TSkinPixels& out, const TSkinPixels& bitmap, const TSkinRect& margins, bool vertical,
                   bool tile, int count, int n);
// Image n as a bar: left cap, middle repeated at its own width, right cap,
// all stretched to the height. A middle with no width is left out.
void MakeSkinImageH3(const TSkinPixels& out, const TSkinPixels& bitmap, bool vertical, int count, int n,
                     const TSkinRect& margins);
// Image n as a bar with a stretched middle; the whole image stretched when
// the target is narrower than the image.
void MakeStretchedH3(const TSkinPixels& out, const TSkinPixels& bitmap, bool vertical, int count, int n,
                     const TSkinRect& margins);
// Image n (horizontal strip) stretched to `out`.
void MakeSkinCell(const TSkinPixels& out, const TSkinPixels& bitmap, int count, int n);

// Maximal runs of pixels outside the key range (each channel from the key's
// value up to value + tolerance), one rectangle per run and row, moved by
// the offsets; rows from the top, runs from the left.
std::vector<TSkinRect> OpaqueRuns(const TSkinPixels& bitmap, int xOffset, int yOffset, int blueTolerance,
                                  int greenTolerance, int redTolerance, TColor key);
