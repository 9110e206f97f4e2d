// Where the parts of a skinned scroll bar lie, and which scroll position a
// dragged thumb stands for: the arithmetic the scroll-bar skinners share,
// kept apart from their drawing so that it can be tested on its own.
// Lengths are pixels along the bar, from the bar's start (its left or top
// edge); A is the length of one arrow.
#pragma once

// Parts of a scroll bar, numbered with the scroll request codes, so that a
// code received from a control names the part to highlight.
enum TScrollPart {
  kPartNone = -1,
  kPartFirstArrow = 0,   // SB_LINEUP / SB_LINELEFT
  kPartSecondArrow = 1,  // SB_LINEDOWN / SB_LINERIGHT
  kPartTrackBefore = 2,  // SB_PAGEUP
  kPartTrackAfter = 3,   // SB_PAGEDOWN
  kPartThumb = 5         // SB_THUMBTRACK
};

// Images of the "Scrollbar" strip (numbered from 1).
enum : int {
  kScrollStripFrames = 23,
  kArrowLeftFrame = 1,
  kArrowRightFrame = 5,
  kArrowUpFrame = 9,
  kArrowDownFrame = 13,
  kGripperHorzFrame = 17,
  kGripperVertFrame = 20,
  // Added to an arrow's image: pressed, hot.
  kArrowPressedStep = 1,
  kArrowHotStep = 3,
  // Added to a gripper's image: pressed, hot.
  kGripperPressedStep = 1,
  kGripperHotStep = 2,
  // Track strips: normal and disabled images of four.
  kTrackFrames = 4,
  kTrackNormalFrame = 1,
  kTrackDisabledFrame = 3,
  // Thumb images: normal, pressed, hot.
  kThumbNormalFrame = 1,
  kThumbPressedFrame = 2,
  kThumbHotFrame = 3
};

// The part under a point at pos along the bar.
int ScrollHitTest(int pos, int arrow, int thumbStart, int thumbEnd, int barLength);

// The system's MulDiv: a * b / c rounded half away from zero, -1 when c is 0.
int SystemMulDiv(int a, int b, int c);

struct TThumbSpan {
  int start = 0, end = 0;
  int Length() const { return end - start; }
};

// The thumb dragged by delta pixels from where it stood at the press: it
// keeps its length and stays between the arrows.
TThumbSpan TrackThumbSpan(int pressThumbStart, int delta, int thumbLength, int arrow, int barLength);

// The thumb of a scroll-bar control from its scroll information: a page
// thumb is never shorter than 8 pixels; without a page it is one arrow
// long. A range of 0 counts as a very large one (the thumb stays at the
// first arrow).
TThumbSpan ControlThumbSpan(int barLength, int arrow, int nMin, int nMax, int nPage, int nPos);

// The length of each arrow: A, or half the bar when the bar is shorter than
// two arrows.
int ArrowLength(int arrow, int barLength);

// The thickness of the drawn bar: the skin strip's height, or the system's
// arrow size when the two differ by more than 2 pixels.
int BarThickness(int stripHeight, int arrow);

// The gripper of length g centred on the thumb; false when it does not fit
// (g not below the thumb's length plus 2).
bool GripperSpan(const TThumbSpan& thumb, int g, TThumbSpan& out);

// The scroll position a dragged combo box list thumb stands for: n is the
// thumb's offset from the first arrow, track the bar less both arrows.
// Never divides by a track with no room for the thumb.
int DragScrollPosition(int n, int track, int thumbLength, int nMin, int nMax, int nPage);

// A frame number made safe for a strip of count frames (a count below 1
// counts as 1; a frame outside 1..count becomes the nearest one), so that
// no image is read past the strip's end.
int SafeFrame(int frame, int count);
