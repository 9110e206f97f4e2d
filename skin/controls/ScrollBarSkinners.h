// The scroll-bar skinners. A window's own scroll bars lie in its
// non-client area, where a skinner in front of the window's procedure
// cannot simply paint over them; they are covered instead:
//   - TWScrollbar, an own-drawn overlay window laid exactly over one bar
//     (a sibling of the control, directly above it), painting the bar
//     from the skin and handing the user's presses on to the real bar
//     underneath, so that the system's own scroll tracking runs;
//   - TSkinScrollbar puts two overlays over a framework control (memo,
//     list box, list view, grid, tree) and draws a flat frame in the
//     control's border; TSkinScrollbarH does the same for a plain window
//     (the list of a simple combo box);
//   - TComboxScrollBar paints the vertical bar of a combo box's drop-down
//     list straight into the list's window, as no overlay can be placed in
//     that pop-up, and runs the thumb drag itself.
// All draw the "Scrollbar" strip (arrows and grippers), the tracks
// "HorzScroll" and "VertScroll" and the thumbs "HorzScrollThumb" and
// "VertScrollThumb". Where the skin lacks them or the system cannot tell
// where a bar is, nothing is drawn and the system's bar shows.
#pragma once
#include <windows.h>

#include <cstdint>

#include "Control.h"
#include "ScrollGeometry.h"
#include "SkinControl.h"

class TSkinData;

// What an overlay covers.
enum TOverlayMode : uint8_t {
  kOverlayHorzBar = 0,  // the target's horizontal window scroll bar
  kOverlayVertBar = 1,  // its vertical window scroll bar
  kOverlayControl = 2   // the target is itself a scroll-bar control
};

// What one paint of a bar shows.
struct TScrollBarLook {
  bool vertical = true;
  bool enabled = true;
  int arrow = 0;      // the system's arrow size
  int thickness = 0;  // across the bar
  int length = 0;     // along the bar
  int hotPart = kPartNone;
  bool pressed = false;
  TThumbSpan thumb;
  // Thumb and gripper are drawn only where they end before this (along the bar).
  int limit = 0;
};

// Draws a bar into dc from (0, 0): track, both arrows, thumb and gripper.
// Parts whose skin object is missing are left out.
void DrawScrollBarParts(TSkinData& skin, HDC dc, const TScrollBarLook& look);

class TWScrollbar : public fw::TCustomControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TWScrollbar(fw::TComponent* owner);

  void AttachToControl(TSkinControl* ownerSkinner, fw::TWinControl* control, int mode);
  void AttachToWindow(TSkinControl* ownerSkinner, HWND window, int mode);
  void HideBar();
  // Places the overlay over the target's bar, or hides it where the bar is
  // not shown.
  void UpdatePosition(HWND target);
  using fw::TCustomControl::HitTest;
  // The part under a point of the overlay's client area.
  int HitTest(POINT p) const;
  // Where the bar is (screen coordinates in modes 0 and 1, the parent's in
  // mode 2) and where its thumb is; false when it cannot be told.
  bool GetBarInfo(SCROLLBARINFO& info) const;
  // The skinner that made the overlay goes: nothing is painted any more.
  void ForgetOwner() { OwnerSkinner = nullptr; }
  HWND ParentWindow() const { return parentWindow_; }

  int32_t BarLength = 0;
  int32_t ThumbStart = 0;
  int32_t ThumbEnd = 0;
  POINT BarOrigin = {0, 0};
  POINT PressCursor = {0, 0};
  int32_t PressThumbStart = 0;
  bool Pressed = false;
  int32_t Orientation = 0;  // 0 horizontal, 1 vertical
  int32_t HotPart = kPartNone;
  int32_t ArrowSize = 0;
  HWND TargetWindow = nullptr;
  fw::TWinControl* TargetControl = nullptr;
  TSkinControl* OwnerSkinner = nullptr;
  uint8_t Mode = kOverlayHorzBar;
  // The covered bar in the target's client coordinates (mode 2: its bounds).
  RECT BarRect = {0, 0, 0, 0};
  bool Shown = false;

 protected:
  void CreateParams(fw::TCreateParams& params) override;
  void WndProc(fw::TMessage& m) override;
  void PaintWindow(HDC dc) override;

 private:
  void Attach(TSkinControl* ownerSkinner, HWND window, int mode);
  void MouseMoved(const fw::TMessage& m);
  void MouseLeft();
  void ButtonDown(const fw::TMessage& m);
  void ButtonUp(const fw::TMessage& m);
  bool Vertical() const { return Orientation != 0; }
  HWND parentWindow_ = nullptr;
};

class TSkinScrollbar : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSkinScrollbar(fw::TComponent* owner);
  void BeforeDestruction() override;

  // The control's own set-up stands in for the base's (a form skinner that
  // re-skins a re-created control calls this one).
  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  void InitScrollSkin(fw::TControl* control, TSkinData* skinData, TWinSkinForm* form,
                      fw::TCanvas* formCanvas) override;
  bool BeforeProc(fw::TMessage& m) override;
  void AfterProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;
  void ApplySkinChange() override;
  void Unskin() override;
  void RepositionBars();

  // Kept for the list view skinner, which derives from this one.
  int32_t ScrollKind = 1;
  TWScrollbar* HorzBar = nullptr;
  TWScrollbar* VertBar = nullptr;
  // Windows NT with a major version above 4 and a minor version above 0.
  bool NewSystem = false;
  // The flat frame is drawn in the control's border.
  bool FrameFlag = false;

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;
  // The control's window was made anew (the base adopted the new one).
  virtual void WindowAdopted();
  void DrawFrame(HDC dc) const;
  void FreeBars();

 private:
  void SaveAndReplaceFixedColor();
  void RestoreFixedColor();
  void InvalidateBars();
  HWND setupHandle_ = nullptr;
};

class TSkinScrollbarH : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSkinScrollbarH(fw::TComponent* owner);
  void BeforeDestruction() override;

  void InitSkinHandle(HWND window, TSkinData* skinData, TWinSkinForm* form, fw::TCanvas* formCanvas) override;
  void AfterProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;
  void Unskin() override;
  void RepositionBars();

  TWScrollbar* HorzBar = nullptr;
  TWScrollbar* VertBar = nullptr;

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  void FreeBars();
};

class TComboxScrollBar : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TComboxScrollBar(fw::TComponent* owner);

  bool BeforeProc(fw::TMessage& m) override;
  void AfterProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;

  int32_t ArrowSize = 0;
  int32_t BarLength = 0;
  int32_t ThumbStart = 0;
  int32_t ThumbEnd = 0;
  // The thumb drag is running (its loop dispatches the window's messages).
  bool Dragging() const { return dragging_; }

 private:
  // The drag of the thumb from a press on it; false when the press was
  // elsewhere (the system handles arrows and track).
  bool ThumbDrag(const fw::TMessage& press);
  void RunDragLoop(int startY, int thumbOffset, int track, int thumbLength, const SCROLLINFO& info);
  bool dragging_ = false;
  bool dragCancelled_ = false;
};

// The list box's internal message at the start of its own tracking.
constexpr UINT kListBoxStartTrack = 0x1AE;

void RegisterScrollBarSkinners();
