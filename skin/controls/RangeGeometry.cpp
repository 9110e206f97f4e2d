// Where the track bar, up-down and progress skinners draw: parts, states,
// fills and channel pieces, apart from the drawing itself.
#include <algorithm>

#include "RangeSkinners.h"

namespace {

constexpr int kEditMargin = 3;
constexpr int kStatesPerButton = 4;
enum { kNormal = 1, kPressed = 2, kDisabled = 3, kHot = 4 };

bool HasArea(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

}  // namespace

void UpDownParts(const RECT& r, bool horizontal, RECT& first, RECT& second) {
  first = second = r;
  if (horizontal) {
    first.right = r.left + (r.right - r.left) / 2;
    second.left = first.right;
  } else {
    first.bottom = r.top + (r.bottom - r.top) / 2;
    second.top = first.bottom;
  }
}

int UpDownPartState(bool enabled, bool underCursor, bool down, bool hot) {
  if (!enabled) return kDisabled;
  if (!underCursor) return kNormal;
  if (down) return kPressed;
  return hot ? kHot : kNormal;
}

int UpDownFrame(int state, int part) {
  const int button = part >= 2 ? part - 2 : part;
  return state + kStatesPerButton * button;
}

RECT AttachedUpDownRect(const RECT& rect, const RECT& window, const RECT& parent) {
  RECT r = rect;
  const int above = window.top - parent.top;
  const int below = parent.bottom - window.bottom;
  const int right = parent.right - window.right;
  if (above < kEditMargin) r.top += kEditMargin - above;
  if (below < kEditMargin) r.bottom -= kEditMargin - below;
  if (right < kEditMargin) r.right -= kEditMargin - right;
  return r;
}

int ProgressFillRight(const RECT& bar, int pos, int low, int high) {
  if (high <= 0 || pos <= 0 || high <= low) return bar.left;
  pos = std::min(std::max(pos, low), high);
  return bar.left + MulDiv(bar.right - bar.left, pos - low, high - low);
}

int ChunkFillRight(const RECT& bar, int pos, int high) {
  if (high <= 0 || pos <= 0) return bar.left;
  return bar.left + MulDiv(bar.right - bar.left, std::min(pos, high), high);
}

RECT TrackChannelRect(const RECT& reported, bool vertical) {
  // Reported as for a horizontal bar: lying along x. A system that gives a
  // vertical bar's channel standing already needs no turn.
  const bool lying = (reported.right - reported.left) > (reported.bottom - reported.top);
  if (!vertical || !lying) return reported;
  return RECT{reported.top, reported.left, reported.bottom, reported.right};
}

int TrackChannelPieces(const RECT& channel, int imageWidth, int imageHeight, int firstCap, int lastCap,
                       bool vertical, TTrackPiece pieces[3]) {
  // Along the channel: the image's length; across it: its thickness.
  const int length = vertical ? imageHeight : imageWidth;
  const int thickness = vertical ? imageWidth : imageHeight;
  const int channelLength = vertical ? channel.bottom - channel.top : channel.right - channel.left;
  const int channelThickness = vertical ? channel.right - channel.left : channel.bottom - channel.top;
  if (length <= 0 || thickness <= 0 || channelLength <= 0) return 0;
  // Caps that do not fit the channel or the image are dropped: the whole
  // image is stretched.
  if (firstCap < 0 || lastCap < 0 || firstCap + lastCap > channelLength || firstCap + lastCap > length)
    firstCap = lastCap = 0;
  const int across = thickness < channelThickness ? (channelThickness - thickness) / 2 : 0;
  const int start = vertical ? channel.top : channel.left;
  const int end = vertical ? channel.bottom : channel.right;
  const int side = (vertical ? channel.left : channel.top) + across;
  struct TSpan {
    int from, to, sourceFrom, sourceTo;
  } spans[3] = {{start, start + firstCap, 0, firstCap},
                {start + firstCap, end - lastCap, firstCap, length - lastCap},
                {end - lastCap, end, length - lastCap, length}};
  int n = 0;
  for (const TSpan& s : spans) {
    TTrackPiece p;
    if (vertical) {
      p.target = RECT{side, s.from, side + thickness, s.to};
      p.source = RECT{0, s.sourceFrom, thickness, s.sourceTo};
    } else {
      p.target = RECT{s.from, side, s.to, side + thickness};
      p.source = RECT{s.sourceFrom, 0, s.sourceTo, thickness};
    }
    if (HasArea(p.target) && HasArea(p.source)) pieces[n++] = p;
  }
  return n;
}
