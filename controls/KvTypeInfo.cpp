#include "KvTypeInfo.h"

namespace kv {

#define KV_ENUM_TYPE(fn, typeName, ...)              \
  const fw::TEnumType& fn() {                        \
    static const fw::TEnumType t{typeName, {__VA_ARGS__}}; \
    return t;                                        \
  }

KV_ENUM_TYPE(FrameStyleType, "TFrameStyle", "fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown",
             "fsRaised", "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold")
KV_ENUM_TYPE(FrameStyleExType, "TFrameStyleEx", "fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered",
             "fsButtonDown", "fsRaised", "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold", "fsFlatRounded")
KV_ENUM_TYPE(SideType, "TSide", "sdLeft", "sdTop", "sdRight", "sdBottom")
KV_ENUM_TYPE(AlignmentVerticalType, "TAlignmentVertical", "avTop", "avCenter", "avBottom")
KV_ENUM_TYPE(VisualStyleType, "TKvVisualStyle", "vsClassic", "vsWinXP", "vsGradient")
KV_ENUM_TYPE(GradientColorStyleType, "TKvGradientColorStyle", "gcsSystem", "gcsMSOffice", "gcsCustom")
KV_ENUM_TYPE(FramingPreferenceType, "TFramingPreference", "fpCustomFraming", "fpXPThemes")
KV_ENUM_TYPE(GradientDirectionType, "TGradientDirection", "gdDiagonalUp", "gdDiagonalDown", "gdHorizontalEnd",
             "gdHorizontalCenter", "gdHorizontalBox", "gdVerticalEnd", "gdVerticalCenter", "gdVerticalBox",
             "gdSquareBox", "gdBigSquareBox")
KV_ENUM_TYPE(GridStyleType, "TKvGridStyle", "gsDots", "gsDottedLines", "gsSolidLines")
KV_ENUM_TYPE(GroupBoxStyleType, "TKvGroupBoxStyle", "gsStandard", "gsCustom", "gsTopLine", "gsFlat", "gsBanner",
             "gsUnderline")
KV_ENUM_TYPE(LineSlopeType, "TKvLineSlope", "lsDown", "lsUp")
KV_ENUM_TYPE(ShowArrowsType, "TKvShowArrows", "saNone", "saStart", "saEnd", "saBoth")
KV_ENUM_TYPE(FrameControllerPropertyType, "TKvFrameControllerPropertyConnection", "fcpColor", "fcpFocusColor",
             "fcpDisabledColor", "fcpReadOnlyColor", "fcpReadOnlyColorOnFocus", "fcpParentColor",
             "fcpFlatButtonColor", "fcpFlatButtons", "fcpFrameColor", "fcpFrameHotColor", "fcpFrameHotTrack",
             "fcpFrameHotStyle", "fcpFrameSides", "fcpFrameStyle", "fcpFrameVisible", "fcpFramingPreference")

#undef KV_ENUM_TYPE

}  // namespace kv
