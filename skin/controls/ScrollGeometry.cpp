#include "ScrollGeometry.h"

#include <algorithm>
#include <cstdint>

namespace {

// A range of 0 divides by this instead, which keeps the thumb at the first arrow.
constexpr int kEmptyRange = 9999999;
// The shortest thumb of a scroll-bar control.
constexpr int kMinControlThumb = 8;
// The strip's thickness is used unless it differs from the system's by more.
constexpr int kThicknessTolerance = 2;

}  // namespace

int ScrollHitTest(int pos, int arrow, int thumbStart, int thumbEnd, int barLength) {
  if (pos < arrow) return kPartFirstArrow;
  if (pos < thumbStart) return kPartTrackBefore;
  if (pos < thumbEnd) return kPartThumb;
  if (pos < barLength - arrow) return kPartTrackAfter;
  return kPartSecondArrow;
}

int SystemMulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t multiplicand = a;
  int64_t divisor = c;
  if (divisor < 0) {
    multiplicand = -multiplicand;
    divisor = -divisor;
  }
  const int64_t product = multiplicand * b;
  const int64_t result = product >= 0 ? (product + divisor / 2) / divisor : (product - divisor / 2) / divisor;
  if (result > 2147483647LL || result < -2147483647LL) return -1;
  return static_cast<int>(result);
}

TThumbSpan TrackThumbSpan(int pressThumbStart, int delta, int thumbLength, int arrow, int barLength) {
  int start = pressThumbStart + delta;
  start = std::max(start, arrow);
  start = std::min(start, barLength - arrow - thumbLength);
  return TThumbSpan{start, start + thumbLength};
}

TThumbSpan ControlThumbSpan(int barLength, int arrow, int nMin, int nMax, int nPage, int nPos) {
  const int range = nMax == nMin ? kEmptyRange : nMax - nMin;
  const int track = barLength - 2 * arrow;
  int thumb = 0, start = arrow;
  if (nPage != 0) {
    thumb = SystemMulDiv(track, nPage - 1, range);
    if (thumb >= kMinControlThumb) {
      if (nPos != nMin) start = arrow + SystemMulDiv(track, nPos - nMin, range);
    } else {
      thumb = kMinControlThumb;
      if (nPos != nMin) start = arrow + SystemMulDiv(track - kMinControlThumb, nPos - nMin, range);
    }
  } else {
    thumb = arrow;
    if (nPos != nMin) start = arrow + SystemMulDiv(barLength - 3 * arrow, nPos - nMin, range);
  }
  return TThumbSpan{start, start + thumb};
}

int ArrowLength(int arrow, int barLength) { return barLength < 2 * arrow ? barLength / 2 : arrow; }

int BarThickness(int stripHeight, int arrow) {
  const int difference = stripHeight > arrow ? stripHeight - arrow : arrow - stripHeight;
  return difference > kThicknessTolerance ? arrow : stripHeight;
}

bool GripperSpan(const TThumbSpan& thumb, int g, TThumbSpan& out) {
  const int length = thumb.Length();
  if (g >= length + 2) return false;
  const int offset = (length - g) / 2;
  out = TThumbSpan{thumb.start + offset, thumb.start + offset + g};
  return true;
}

int DragScrollPosition(int n, int track, int thumbLength, int nMin, int nMax, int nPage) {
  n = std::max(n, 0);
  const int room = track - thumbLength;
  int position = nMin;
  if (nPage != 0) {
    // A thumb that fills the whole track has nowhere to go.
    if (room <= 0) return nMin;
    if (n > room) n = room + 1;
    position = nMin + SystemMulDiv(n, nMax - nMin - static_cast<int>(nPage), room);
    const int last = nMax - nPage;
    if (position >= last) position = last + 1;
  } else {
    if (track <= 0) return nMin;
    position = nMin + SystemMulDiv(std::min(n, room), nMax - nMin, track);
    position = std::min(position, nMax);
  }
  return std::max(position, nMin);
}

int SafeFrame(int frame, int count) {
  if (count < 1) count = 1;
  return std::min(std::max(frame, 1), count);
}
