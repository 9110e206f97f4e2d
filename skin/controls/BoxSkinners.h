// Skinners of the boxes of a window: the status bar (panels, bevels, size
// grip), the group box (a rounded frame in the skin's shadow colour with
// the caption on the face colour) and the box, which only gives a panel
// the skin's face colour and leaves its window procedure alone. Also the
// small drawing routines they share with the caption buttons and the tab
// skinners (panel frames, bevels, centred text, arrow glyphs).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Canvas.h"
#include "SkinControl.h"

// A status bar's panel as its window holds it.
struct TStatusPanelInfo {
  int alignment = 0;  // 0 left, 1 right, 2 centre
  int bevel = 1;      // 0 none, 1 lowered, 2 raised
  bool rightToLeft = false;
  bool ownerDraw = false;
  std::wstring text;
  LPARAM data = 0;  // an owner-drawn panel's value
};

// The published event a status bar may carry for its owner-drawn panels
// ("OnDrawPanel"): called with the status bar, a canvas on the device
// context painted, the panel's index and its rectangle.
using TStatusBarDrawPanelEvent =
    std::function<void(fw::TObject* statusBar, fw::TCanvas* canvas, int panel, const RECT& rect)>;

class TSkinStatusBar : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinStatusBar(fw::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;

  // ---- what the painter reads of the status bar ----
  bool IsSimple() const;
  std::wstring SimpleText() const;
  bool RightToLeft() const;
  int PanelCount() const;
  TStatusPanelInfo Panel(int index) const;
  // The panel's rectangle as the painter frames it (false when the window
  // cannot tell it): two pixels wider to the right, the last panel to the
  // bar's right edge.
  bool PanelRect(int index, int count, const RECT& bar, RECT& rect) const;

 private:
  // The frame of a panel: the skin's edges, else classic bevels.
  void DrawPanelFrame(fw::TCanvas& canvas, const RECT& rect, int frame);
  void DrawSizeGrip(HDC dc, const RECT& bar);
  void PaintPanels(fw::TCanvas& canvas, const RECT& bar);
  void PaintSimple(fw::TCanvas& canvas, const RECT& bar);
  // Owner-drawn panels: the program's event, or the parent's WM_DRAWITEM
  // for a status bar without framework object.
  void DrawOwnerPanels(HDC dc, const RECT& bar);
  void SelectFont(fw::TCanvas& canvas);
};

class TSkinGroupBox : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinGroupBox(fw::TComponent* owner) : TSkinControl(owner) {}

  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  bool BeforeProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;

  // The top of the frame line for a font whose "0" is h pixels high.
  static int FrameTop(int textHeight) { return textHeight / 2 - 1; }
  // Where the caption goes: from 8 pixels in at the left, or ending 8
  // pixels from the right edge when right-aligned.
  static RECT CaptionRect(const RECT& box, bool rightAligned);

 private:
  static constexpr int kCaptionIndent = 8;
  static constexpr int kCorner = 5;
  void ReadCaption();
};

class TSkinBox : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinBox(fw::TComponent* owner) : TSkinControl(owner) {}

  // Takes the control's colour and registers; the window procedure is not
  // replaced, so the box sees no messages. A second call changes nothing.
  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  void Unskin() override;
  void AfterProc(fw::TMessage&) override {}

  static constexpr int kUnskinned = 2;
};

// ---- drawing routines ----

// SKM_PAINTCLIENTTO with the marker for a kind that paints its control
// alone (the control's own painting never runs while it is skinned): the
// skinner paints into the given device context. True when it was that
// message.
bool PaintClientToAlone(TSkinControl* skinner, fw::TMessage& m);

// DrawText alignment flags of an alignment (0 left, 1 right, 2 centre).
UINT AlignmentFlags(int alignment);
// Frame n (1 lowered, 2 raised, 3 none) of the skin's status bar edges,
// nine-part scaled into the rectangle; nothing for an inverted rectangle
// or a skin without them.
void DrawStatusPanel(TSkinData* skin, HDC dc, const RECT& rect, int frame);
// A classic 1-pixel bevel: style 1 lowered (shadow at the top left), 2
// raised; any other style nothing.
void DrawBevel(fw::TCanvas& canvas, const RECT& rect, int style);
int TextHeight(HDC dc, const std::wstring& text);
// The text centred in the rectangle both ways, in the shadow colour when
// not enabled.
void DrawCenteredText(fw::TCanvas& canvas, const RECT& rect, const std::wstring& text, int alignment,
                      bool enabled);
// A small arrow with the canvas pen, its tip at (x, y): direction 0 up, 1
// down, 2 left, 3 right; any other direction nothing.
void DrawArrowGlyph(fw::TCanvas& canvas, int x, int y, int direction);

// Registers TSkinStatusBar, TSkinGroupBox and TSkinBox.
void RegisterBoxSkinners();
