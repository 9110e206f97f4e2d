// The tab skinners. TSkinTab draws a tab control (the system tab control
// "SysTabControl32" as a plain window, and the framework's tab and page
// controls) in the skin: the row of tabs from the "Tabs" strip (frame 1,
// the selected tab frame 2), the captions in the skin's tab colours, the
// pane from the pane image; its scroll arrows (the control's
// "msctls_updown32" child) get the up-down skinner. Tabs on the left and
// right are composed as a horizontal row and turned into place, so that
// their captions read along the row and the tabs face the pane.
// TSkinTab31 draws the older tab set (class name "TTabSet"), whose tabs
// hang from a line at its top.
//
// Both are made by discovery when the skin has a "Tabs" object and its
// SkinControls hold xcTab. The up-down skinner is made through the
// registry of kinds ("TSkinUpDown"): where that kind is not built the
// arrows stay as the control draws them.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "Bitmap.h"
#include "SkinControl.h"
#include "SkinImage.h"

// Where the tabs are.
enum TTabSide : uint8_t { tsideTop = 0, tsideBottom = 1, tsideLeft = 2, tsideRight = 3 };

// ---- geometry (no drawing) ----

// The side from the control's style: TCS_BOTTOM (also TCS_RIGHT) and
// TCS_VERTICAL give top for neither, bottom for the first alone, left for
// the second alone, right for both.
TTabSide TabSideFromStyle(LONG style);
// The pane: the display rectangle (TCM_ADJUSTRECT of the window
// rectangle) enlarged by 4 on every side, its edge on the tabs' side moved
// one pixel inward.
RECT TabPaneRect(TTabSide side, const RECT& display);
// The part of the window outside the pane on the tabs' side.
RECT TabStripRect(TTabSide side, const RECT& window, const RECT& pane);
// The strip bitmap's size: the strip's, turned for tabs on the left and right.
SIZE TabStripBitmapSize(TTabSide side, const RECT& strip);
// A tab's rectangle (window coordinates) in the strip bitmap, where the
// row lies horizontally with the pane below it (above it for tabs at the
// bottom, whose images are turned upside down): moved one pixel toward the
// pane, the pane's own move, and for tabs on the left and right turned
// with the strip so that the turn puts it back in place exactly.
RECT TabRectInStrip(TTabSide side, const RECT& item, const RECT& window, const RECT& pane, SIZE strip);
// Margins of an image turned as the pane image is for the side.
TSkinRect TurnTabMargins(TTabSide side, const TSkinRect& margins);

// One tab of a tab set and its place.
struct TTabSetTab {
  int Index;
  RECT Rect;
};
// The tabs of a tab set that are drawn: from firstIndex on, each tab is its
// text width plus 9 wide and needs 12 more while the scroller shows; it is
// drawn where it fits before width - endMargin, else skipped (a later,
// narrower one may still fit).
std::vector<TTabSetTab> LayoutTabSet(const std::vector<int>& textWidths, int firstIndex, int startMargin,
                                     int endMargin, int width, int height, bool scrollerVisible);

// ---- the tab control ----

class TSkinTab : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinTab(fw::TComponent* owner);
  void BeforeDestruction() override;

  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  void InitSkinHandle(HWND window, TSkinData* skinData, TWinSkinForm* form, fw::TCanvas* formCanvas) override;
  bool BeforeProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;
  void ApplySkinChange() override;

  // Rebuilds the tab and pane images from the skin for the tab side.
  void PrepareTabImages();
  // Skins the scroll arrows (once per arrows window); true while they show.
  bool SkinScrollArrows();
  TTabSide ReadTabSide() const;

  std::vector<RECT> CloseButtonRects;  // one per tab
  TTabSide TabSide = tsideTop;
  bool TabUnicode = false;   // the control's window is a Unicode window
  fw::TBitmap TabImage;      // the "Tabs" strip
  fw::TBitmap PaneImage;     // the pane, turned for the side
  TSkinRect PaneMargins;
  fw::TBitmap StripBitmap;   // the row of tabs, composed off-screen
  TSkinControl* UpDownSkinner = nullptr;
  bool CloseButtons = false;

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  // Set-up shared by both ways of skinning.
  void StartSkinning();
  // A window made anew or restyled: images, character set and arrows again.
  void FollowWindow();
  void FreeUpDownSkinner();
  HWND ArrowsWindow() const;
  TColor StripColour() const;
  void ComposeStrip(HDC target, const RECT& window, const RECT& pane);
  // Text and image index of tab i, the text at most 80 characters.
  bool ReadTab(int index, std::wstring& text, int& image) const;
  HWND preparedFor_ = nullptr;
};

// ---- the tab set ----

class TSkinTab31 : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinTab31(fw::TComponent* owner) : TSkinControl(owner) {}
  void BeforeDestruction() override;

  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  bool BeforeProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;
  void ApplySkinChange() override;

  fw::TBitmap TabImage;  // the "Tabs" strip upside down
  TSkinControl* UpDownSkinner = nullptr;
  fw::TWinControl* Scroller = nullptr;  // the tab set's scroll arrows

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  void PrepareTabImage();
  void SkinScroller();
  // The tab set's window made anew: a new skinner takes it, this one goes.
  void WatchRecreation(fw::TMessage& m);
  fw::TWindowProcHook recreateHook_;
};

// Registers TSkinTab and TSkinTab31.
void RegisterTabSkinners();
