// Size limits of a control: MinWidth, MinHeight, MaxWidth, MaxHeight, each
// 0 for "no limit". The control holds its size within them wherever the
// size changes (SetBounds, alignment, a user dragging a window's border).
//
// Limits are stored as given, so form data may name them in any order. A
// maximum below its minimum is kept as it is; when a size is held, it is
// first lowered to the maximum and then raised to the minimum, so the
// minimum wins. A negative limit is refused (the old value stays).
#pragma once

#include <cstdint>

#include "Component.h"

namespace fw {

// The limits one size is held within (0: no limit on that side).
struct TSizeLimits {
  int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
};

// Holds width and height within the limits (the minimum wins over a lower
// maximum); never gives a negative size.
void ConstrainSize(const TSizeLimits& limits, int& width, int& height);

class TSizeConstraints : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  int32_t MinWidth() const { return limits_.minWidth; }
  void SetMinWidth(int32_t v) { SetLimit(limits_.minWidth, v); }
  int32_t MinHeight() const { return limits_.minHeight; }
  void SetMinHeight(int32_t v) { SetLimit(limits_.minHeight, v); }
  int32_t MaxWidth() const { return limits_.maxWidth; }
  void SetMaxWidth(int32_t v) { SetLimit(limits_.maxWidth, v); }
  int32_t MaxHeight() const { return limits_.maxHeight; }
  void SetMaxHeight(int32_t v) { SetLimit(limits_.maxHeight, v); }

  const TSizeLimits& Limits() const { return limits_; }
  // True when no limit is set.
  bool Empty() const;
  bool Assign(const TPersistent& source) override;

  // Raised after a limit changed (the control holds its size anew).
  TNotifyEvent OnChange;

 private:
  void SetLimit(int& field, int32_t value);
  TSizeLimits limits_;
};

}  // namespace fw
