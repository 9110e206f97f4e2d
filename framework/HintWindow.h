// The small pop-up window that shows a hint text.
#pragma once

#include <string>

#include "Control.h"

namespace fw {

class THintWindow : public TCustomControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit THintWindow(TComponent* owner);

  // The rectangle (at the origin) the text needs, lines broken at maxWidth.
  RECT CalcHintRect(int maxWidth, const std::string& text);
  // Shows the text in rect (screen coordinates) without taking activation.
  void ActivateHint(const RECT& rect, const std::string& text);
  void ReleaseHint();
  bool IsShowing() const { return showing_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  bool showing_ = false;
};

}  // namespace fw
