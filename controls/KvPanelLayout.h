// Where the panel and the group box put their frame, grid, caption and
// children, and the drawing of the group box's frames; the controls paint
// with these through a PaintTarget.
#pragma once

#include <vector>

#include "KvCommon.h"

namespace kv {

enum TKvGridStyle { gsDots, gsDottedLines, gsSolidLines };
enum TKvGroupBoxStyle { gsStandard, gsCustom, gsTopLine, gsFlat, gsBanner, gsUnderline };

// ---- Panel -------------------------------------------------------------------

// Pixels a frame style takes from each selected side.
int FrameStyleWidth(TFrameStyleEx style, int bevelWidth);

struct TPanelFrame {
  TFrameStyleEx outer = fsRaised, inner = fsNone;
  TSides sides = kAllSides;
  int borderWidth = 0;
  int bevelWidth = 1;
};
// Moves the rectangle's selected sides in by the frame widths (first by the
// border width on all four sides when asked to).
TRect ShrinkByFrame(TRect r, const TPanelFrame& f, bool withBorderWidth);

// The grid: dots or lines every xs / ys pixels inside the rectangle.
void PaintGrid(PaintTarget& t, TRect r, TKvGridStyle style, int xs, int ys, TColor colour);

// The caption's rectangle for a text of height h in rect (already moved in
// by the text margin).
TRect PlaceCaption(TRect r, int textHeight, TAlignmentVertical av);

// What a change of size invalidates when the panel does not repaint whole:
// a strip at the right (width changed) and one at the bottom (height
// changed), measured on the old outer rectangle.
std::vector<TRect> ResizeRepaintStrips(TRect oldOuter, TRect oldInner, int newWidth, int newHeight,
                                       TPoint margin);

enum TAlignEdge { aeNone, aeTop, aeBottom, aeLeft, aeRight, aeClient };
// New bounds that keep the aligned edge in place: a bottom-aligned panel
// keeps its bottom, a right-aligned one its right edge.
TRect KeepAlignedEdge(TAlignEdge align, TRect oldBounds, TRect newBounds);

// ---- Docked clients ------------------------------------------------------------

constexpr int kDockGrabberSize = 14;

// The grabber of a client docked in a panel: at the top of the client's
// frame, or at its left when the panel is aligned to the top or bottom
// (then the caption runs upwards in a rotated font).
struct TDockGrabber {
  TRect grabber;
  TRect closeBox;
  TPoint caption;  // where the caption is drawn
  bool vertical = false;
};
TDockGrabber DockClientGrabber(TRect frame, bool panelAlignedTopOrBottom);
// The client's own area inside its docking frame.
TRect DockClientArea(TRect frame, bool panelAlignedTopOrBottom);

// ---- Group box ---------------------------------------------------------------

// The children's area after the panel's adjustment; h is the text height of
// "Yy" in the group box's font.
TRect GroupClientRect(TRect r, TKvGroupBoxStyle style, int h, int borderWidth, bool captionEmpty);
// The caption's box for a caption measuring w x h; width is the control's.
TRect GroupCaptionBox(TKvGroupBoxStyle style, int w, int h, int width, bool rightToLeft);
// The frame's top for the text height of "Pp".
inline int GroupFrameTop(int hp) { return hp / 2 - 1; }

struct TGroupFrame {
  TKvGroupBoxStyle style = gsFlat;
  TFrameStyleEx borderOuter = fsNone;
  TColor flatColor = clBtnShadow;  // already shifted by the adjustment
};
// The frame of gsStandard, gsTopLine, gsFlat and gsUnderline around F (the
// control less the text's upper half); box is the caption box.
void DrawGroupFrame(PaintTarget& t, const TGroupFrame& g, TRect F, TRect box);
// The banner's outline around the caption box.
void DrawBannerOutline(PaintTarget& t, TRect box, TColor pen);

}  // namespace kv
