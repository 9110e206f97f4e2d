// Where a dock site puts its docked clients: the frames they are laid out
// in, the grabber band and close box of each frame, and where among the
// clients a dropped client goes. Plain geometry (no windows), so that it
// is computed and tested without a display.
#pragma once

#include <vector>

namespace fw {

// A rectangle in a site's client coordinates (right and bottom exclusive).
struct TDockBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const TDockBox& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const TDockBox& o) const { return !(*this == o); }
};

// The frames of count clients laid out one after another in area: side by
// side (left to right) or stacked (top to bottom). Each takes an equal
// share of the length; the last one takes what the division leaves over.
std::vector<TDockBox> DockFrames(const TDockBox& area, int count, bool sideBySide);

// The grabber band of a frame: grabberSize pixels at its left (side by
// side) or at its top (stacked), never more than the frame.
TDockBox DockGrabberBand(const TDockBox& frame, bool sideBySide, int grabberSize);
// The frame less its grabber band: where the client itself goes.
TDockBox DockClientArea(const TDockBox& frame, bool sideBySide, int grabberSize);
// The framework's own close box: a square inside the grabber band, at the
// band's far end (its right end in a band at the top, its top end in a
// band at the left).
TDockBox DockCloseBox(const TDockBox& frame, bool sideBySide, int grabberSize);

// Where a client dropped at a point goes among the others, whose frames
// are given in order: before or after the client whose frame holds the
// point (the nearer half decides), or last when the point is in none.
struct TDockDropPlace {
  int index = -1;       // the frame the point is in (-1: none)
  bool before = false;  // before that client, else after it
};
TDockDropPlace DockDropPlaceAt(const std::vector<TDockBox>& frames, int x, int y, bool sideBySide);

// The position in the list of count clients where a client goes that is
// placed before or after the client at dropIndex (-1: none, then last).
int DockInsertIndex(int count, int dropIndex, bool before);

}  // namespace fw
