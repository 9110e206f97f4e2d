#include "SizeConstraints.h"

namespace fw {

void ConstrainSize(const TSizeLimits& l, int& width, int& height) {
  if (l.maxWidth > 0 && width > l.maxWidth) width = l.maxWidth;
  if (l.maxHeight > 0 && height > l.maxHeight) height = l.maxHeight;
  if (l.minWidth > 0 && width < l.minWidth) width = l.minWidth;
  if (l.minHeight > 0 && height < l.minHeight) height = l.minHeight;
  if (width < 0) width = 0;
  if (height < 0) height = 0;
}

const TClassInfo& TSizeConstraints::StaticClass() {
  using C = TSizeConstraints;
  static const TClassInfo info = TClassInfo::Make<C>("TSizeConstraints", &TPersistent::StaticClass())
                                     .Int("MaxHeight", &C::MaxHeight, &C::SetMaxHeight, 0)
                                     .Int("MaxWidth", &C::MaxWidth, &C::SetMaxWidth, 0)
                                     .Int("MinHeight", &C::MinHeight, &C::SetMinHeight, 0)
                                     .Int("MinWidth", &C::MinWidth, &C::SetMinWidth, 0);
  return info;
}

bool TSizeConstraints::Empty() const {
  return limits_.minWidth == 0 && limits_.minHeight == 0 && limits_.maxWidth == 0 && limits_.maxHeight == 0;
}

void TSizeConstraints::SetLimit(int& field, int32_t value) {
  if (value < 0 || value == field) return;
  field = value;
  if (OnChange) OnChange(this);
}

bool TSizeConstraints::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TSizeConstraints*>(&source);
  if (!other) return false;
  if (other == this) return true;
  limits_ = other->limits_;
  if (OnChange) OnChange(this);
  return true;
}

}  // namespace fw
