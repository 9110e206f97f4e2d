// The header and list view skinners. TSkinHeader paints a header control
// (a list view's column header or one of its own) from the skin's
// "HeaderBar" strip: each column in the first image, the column under the
// mouse in the second, the rest of the bar after the last column in the
// first, each with its icon and text. TSkinListView is the scroll-bar
// skinner of a list view that also gives the list view's header window a
// TSkinHeader.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "ScrollBarSkinners.h"
#include "SkinControl.h"

class TSkinHeader : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSkinHeader(fw::TComponent* owner);

  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  void InitSkinHandle(HWND window, TSkinData* skinData, TWinSkinForm* form, fw::TCanvas* formCanvas) override;
  bool BeforeProc(fw::TMessage& m) override;
  void AfterProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;

  // Each column's rectangle less 3 pixels at both sides (for hot tracking),
  // as the last paint found them.
  std::vector<RECT> ItemRects;
  // The column under the mouse; -1 when none.
  int HotIndex = -1;

 private:
  bool HasHeaderImage() const;
  void HotTrack(POINT p);
  void DrawHeaderItem(HDC dc, int index, const RECT& rect, HIMAGELIST images);
  void DrawHeaderText(HDC dc, const RECT& rect, int alignment, const std::wstring& text, int image,
                      HIMAGELIST images);
  TColor TextColour() const;
};

class TSkinListView : public TSkinScrollbar {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSkinListView(fw::TComponent* owner);
  void BeforeDestruction() override;

  void InitScrollSkin(fw::TControl* control, TSkinData* skinData, TWinSkinForm* form,
                      fw::TCanvas* formCanvas) override;

  // The skinner of the list view's header window; nullptr without header.
  TSkinHeader* Header = nullptr;

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;
  void WindowAdopted() override;

 private:
  void SkinHeaderWindow();
  void FreeHeader();
};

// Alignments of a column's icon and text.
enum THeaderAlignment { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

void RegisterHeaderSkinners();
