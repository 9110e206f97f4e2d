// Skinners of the controls that show or step a value, and of edits: the
// track bar (channel and thumb through its custom-draw notifications), the
// up-down buttons (standalone, in an edit, or as a tab control's scroll
// arrows), the progress bar (a filled bar or a row of chunks) and the edit
// (a skinned border; it also skins its spin buttons).
//
// The geometry the painters use is kept apart from their drawing, as free
// routines.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "SkinControl.h"

class TSkinTrackBar : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinTrackBar(fw::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeProc(fw::TMessage& m) override;
  void ApplySkinChange() override;

  // The answer to a custom-draw notification of the track bar.
  LRESULT CustomDraw(NMCUSTOMDRAW& draw);

 private:
  void DrawThumb(HDC dc);
  // False when the skin has no channel image (the control draws its own).
  bool DrawChannel(HDC dc);
};

class TSkinUpDown : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinUpDown(fw::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;
  // "AttachedToEdit" and "Horizontal" ("1" or "0").
  void Configure(const std::string& key, const std::string& value) override;

  // The buttons stand inside an edit (set by the edit's skinner).
  bool AttachedToEdit = false;
  // Laid side by side (set by the tab skinner; UDS_HORZ does the same).
  bool Horizontal = false;

  bool IsHorizontal() const;

 private:
  void MouseMove(const fw::TMessage& m);
  void MouseLeave();
  void PaintPart(HDC dc, const RECT& part, int partNumber, int state, TDataSkinObject* object);
  // The part under the cursor when the buttons were last painted.
  int hotPart_ = -1;
};

class TSkinProgress : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinProgress(fw::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;
  // The skin has what the bar's look needs (else the control paints).
  bool CanPaint() const;

 private:
  void PaintBar(HDC dc, const RECT& bar, int pos, int low, int high);
  void PaintChunks(HDC dc, const RECT& bar, int pos, int high);
};

class TSkinEdit : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinEdit(fw::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeProc(fw::TMessage& m) override;
  void AfterProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

  // The skinner of the edit's spin buttons, when the edit made it.
  TSkinUpDown* SpinButtons = nullptr;
  // The spin child found (skinned by this edit or already skinned before).
  HWND SpinWindow = nullptr;

 private:
  void SkinSpinButtons();
  void PaintPrintedFrame(HDC dc);
};

// ---- geometry ----

// The up-down parts of a rectangle: vertical, the upper half (height div
// 2) is part 0 and the rest part 1; horizontal, the left half is part 2
// and the rest part 3.
void UpDownParts(const RECT& rect, bool horizontal, RECT& first, RECT& second);
// The state frame of a part (1 normal, 2 pressed, 3 disabled, 4 hot).
int UpDownPartState(bool enabled, bool underCursor, bool down, bool hot);
// The image of a part's state in its strip: each strip holds the first
// button's four states, then the second's.
int UpDownFrame(int state, int part);
// Buttons inside an edit keep at least 3 pixels of the edit above, below
// and to their right (rectangles in one coordinate system).
RECT AttachedUpDownRect(const RECT& rect, const RECT& window, const RECT& parentWindow);

// The right edge of a bar's fill for the position in low..high, clamped to
// the bar; an empty range, a position at or below 0 or a high end at or
// below 0 fill nothing.
int ProgressFillRight(const RECT& bar, int pos, int low, int high);
// The right edge of the chunks' fill (the range's low end is not used).
int ChunkFillRight(const RECT& bar, int pos, int high);

// The channel of a track bar from the rectangle the control reports, which
// is given as for a horizontal bar: a vertical bar's is turned back.
RECT TrackChannelRect(const RECT& reported, bool vertical);
// One of the three pieces of a channel image drawn across a channel.
struct TTrackPiece {
  RECT target;
  RECT source;
};
// The caps and the stretched middle of a channel image (w x h, margins
// first and last along the channel) drawn at its own thickness, centred
// across a wider channel. Pieces with no area are left out.
int TrackChannelPieces(const RECT& channel, int imageWidth, int imageHeight, int firstCap, int lastCap,
                       bool vertical, TTrackPiece pieces[3]);

// Registers TSkinTrackBar, TSkinUpDown, TSkinProgress and TSkinEdit.
void RegisterRangeSkinners();
