#include "DockLayout.h"

#include <algorithm>

namespace fw {

std::vector<TDockBox> DockFrames(const TDockBox& area, int count, bool sideBySide) {
  std::vector<TDockBox> frames;
  if (count <= 0) return frames;
  const int length = std::max(0, sideBySide ? area.Width() : area.Height());
  const int share = length / count;
  int at = sideBySide ? area.left : area.top;
  for (int i = 0; i < count; ++i) {
    const int end = i == count - 1 ? at + (length - share * (count - 1)) : at + share;
    TDockBox f = area;
    if (sideBySide) {
      f.left = at;
      f.right = end;
    } else {
      f.top = at;
      f.bottom = end;
    }
    frames.push_back(f);
    at = end;
  }
  return frames;
}

TDockBox DockGrabberBand(const TDockBox& frame, bool sideBySide, int grabberSize) {
  TDockBox b = frame;
  if (sideBySide)
    b.right = std::min(frame.right, frame.left + grabberSize);
  else
    b.bottom = std::min(frame.bottom, frame.top + grabberSize);
  return b;
}

TDockBox DockClientArea(const TDockBox& frame, bool sideBySide, int grabberSize) {
  const TDockBox band = DockGrabberBand(frame, sideBySide, grabberSize);
  TDockBox b = frame;
  if (sideBySide)
    b.left = band.right;
  else
    b.top = band.bottom;
  return b;
}

TDockBox DockCloseBox(const TDockBox& frame, bool sideBySide, int grabberSize) {
  const TDockBox band = DockGrabberBand(frame, sideBySide, grabberSize);
  const int side = std::max(0, grabberSize - 4);
  TDockBox b;
  if (sideBySide) {
    b.left = band.left + 2;
    b.top = band.top + 2;
  } else {
    b.left = band.right - 2 - side;
    b.top = band.top + 2;
  }
  b.right = b.left + side;
  b.bottom = b.top + side;
  return b;
}

TDockDropPlace DockDropPlaceAt(const std::vector<TDockBox>& frames, int x, int y, bool sideBySide) {
  TDockDropPlace place;
  for (size_t i = 0; i < frames.size(); ++i) {
    const TDockBox& f = frames[i];
    if (!f.Contains(x, y)) continue;
    place.index = static_cast<int>(i);
    place.before = sideBySide ? (x - f.left) * 2 < f.Width() : (y - f.top) * 2 < f.Height();
    break;
  }
  return place;
}

int DockInsertIndex(int count, int dropIndex, bool before) {
  if (dropIndex < 0 || dropIndex >= count) return count;
  return before ? dropIndex : dropIndex + 1;
}

}  // namespace fw
