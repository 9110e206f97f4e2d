// The published enumeration and set types of the extended controls, by the
// names form data and the skin engine use for their values.
#pragma once

#include "TypeInfo.h"

namespace kv {

const fw::TEnumType& FrameStyleType();     // TFrameStyle: fsNone..fsFlatBold
const fw::TEnumType& FrameStyleExType();   // TFrameStyleEx: ..fsFlatRounded
const fw::TEnumType& SideType();           // elements of TSides
const fw::TEnumType& AlignmentVerticalType();
const fw::TEnumType& VisualStyleType();
const fw::TEnumType& GradientColorStyleType();
const fw::TEnumType& FramingPreferenceType();
const fw::TEnumType& GradientDirectionType();
const fw::TEnumType& GridStyleType();
const fw::TEnumType& GroupBoxStyleType();
const fw::TEnumType& LineSlopeType();
const fw::TEnumType& ShowArrowsType();
const fw::TEnumType& FrameControllerPropertyType();  // elements of the notification set

}  // namespace kv
