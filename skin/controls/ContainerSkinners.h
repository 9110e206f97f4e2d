// Small skinners of containers: the size grip of a skinned window, a page
// of a page control, and plain container windows (child dialogs, tool bar
// windows) whose static children are to stand on the skin's face colour.
#pragma once
#include <windows.h>

#include "SkinControl.h"

// A "scrollbar" child without tab stop: a size grip or size box is
// filled with the skin's face colour. A scroll bar of that class that is
// neither is left as it draws itself.
class TSkinSizer : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinSizer(fw::TComponent* owner) : TSkinControl(owner) {}
  void PaintControl(HDC dc, const RECT& rect) override;
  // The window is a size grip or size box.
  bool IsSizeGrip() const;
};

// A page of a page control: the skin's face colour under its windowless
// controls. In a Mode other than 0 the page paints and erases itself.
class TSkinTabSheet : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinTabSheet(fw::TComponent* owner) : TSkinControl(owner) {}
  bool BeforeProc(fw::TMessage& m) override;
  void PaintControl(HDC dc, const RECT& rect) override;

  static constexpr int kSkinnerPaints = 0;
};

// A plain container window: erased with the face colour, and its static
// children draw on the face colour too.
class TSkinBoxH : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinBoxH(fw::TComponent* owner) : TSkinControl(owner) {}
  bool BeforeProc(fw::TMessage& m) override;
};

void RegisterContainerSkinners();
