// The frame controller and the settings store component.
#include "KvFrameController.h"

#include <algorithm>

#include "Colors.h"
#include "KvTypeInfo.h"
#include "PropertyText.h"

namespace kv {

namespace {

// The published property each setting is written to, by index.
const char* const kSettingNames[kFrameSettingCount] = {
    "Color",         "FocusColor",    "DisabledColor", "ReadOnlyColor", "ReadOnlyColorOnFocus", "ParentColor",
    "FlatButtonColor", "FlatButtons", "FrameColor",    "FrameHotColor", "FrameHotTrack",        "FrameHotStyle",
    "FrameSides",    "FrameStyle",    "FrameVisible",  "FramingPreference"};

// The order in which "all settings" are written.
const TKvFrameControllerProperty kPushAllOrder[kFrameSettingCount] = {
    fcpParentColor,     fcpColor,         fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus,
    fcpFocusColor,      fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor,    fcpFrameHotColor,
    fcpFrameHotTrack,   fcpFrameHotStyle, fcpFrameSides,    fcpFrameStyle,    fcpFrameVisible,
    fcpFramingPreference};

const char kNotificationsProp[] = "FrameControllerNotifications";

const fw::TEnumType& PathTypeType() {
  static const fw::TEnumType t{"TKvPathType", {"ptIniFile", "ptRegistry"}};
  return t;
}
const fw::TEnumType& RegKeyType() {
  static const fw::TEnumType t{"TKvRegKey",
                               {"hkeyClassesRoot", "hkeyCurrentUser", "hkeyLocalMachine", "hkeyUsers",
                                "hkeyPerformanceData", "hkeyCurrentConfig", "hkeyDynData"}};
  return t;
}
const fw::TEnumType& RegAccessType() {
  static const fw::TEnumType t{"TKvRegAccessItem",
                               {"keyQueryValue", "keySetValue", "keyCreateSubKey", "keyEnumerateSubKeys",
                                "keyNotify", "keyCreateLink", "keyRead", "keyWrite", "keyExecute", "keyAllAccess"}};
  return t;
}

}  // namespace

// ---- Settings store --------------------------------------------------------

const fw::TClassInfo& TKvRegIniFile::StaticClass() {
  using C = TKvRegIniFile;
  static const fw::TClassInfo info = fw::TClassInfo::Make<C>("TKvRegIniFile", &fw::TComponent::StaticClass())
                                         .Str("Path", &C::Path, &C::SetPath)
                                         .Enum("PathType", PathTypeType(), &C::PathType, &C::SetPathType, ptIniFile)
                                         .Enum("RegKey", RegKeyType(), &C::RegKey, &C::SetRegKey, hkeyCurrentUser)
                                         .Set("RegAccess", RegAccessType(), &C::RegAccess, &C::SetRegAccess,
                                              1u << keyAllAccess);
  return info;
}

// ---- Frame controller ------------------------------------------------------

const fw::TClassInfo& TKvFrameController::StaticClass() {
  using C = TKvFrameController;
  const fw::TIdentMap* colours = &fw::ColorIdents();
  static const fw::TClassInfo info =
      fw::TClassInfo::Make<C>("TKvFrameController", &fw::TComponent::StaticClass())
          .Int("Color", &C::Color, &C::SetColor, clWindow, colours)
          .Int("FocusColor", &C::FocusColor, &C::SetFocusColor, clWindow, colours)
          .Int("DisabledColor", &C::DisabledColor, &C::SetDisabledColor, clBtnFace, colours)
          .Int("ReadOnlyColor", &C::ReadOnlyColor, &C::SetReadOnlyColor, clInfoBk, colours)
          .Bool("ReadOnlyColorOnFocus", &C::ReadOnlyColorOnFocus, &C::SetReadOnlyColorOnFocus, false)
          .Bool("ParentColor", &C::ParentColor, &C::SetParentColor, false)
          .Int("FlatButtonColor", &C::FlatButtonColor, &C::SetFlatButtonColor, clBtnFace, colours)
          .Bool("FlatButtons", &C::FlatButtons, &C::SetFlatButtons, true)
          .Int("FrameColor", &C::FrameColor, &C::SetFrameColor, clBtnShadow, colours)
          .Int("FrameHotColor", &C::FrameHotColor, &C::SetFrameHotColor, clBtnShadow, colours)
          .Bool("FrameHotTrack", &C::FrameHotTrack, &C::SetFrameHotTrack, false)
          .Enum("FrameHotStyle", FrameStyleType(), &C::FrameHotStyle, &C::SetFrameHotStyle, fsFlatBold)
          .Set("FrameSides", SideType(), &C::FrameSides, &C::SetFrameSides, kAllSides)
          .Enum("FrameStyle", FrameStyleType(), &C::FrameStyle, &C::SetFrameStyle, fsFlat)
          .Bool("FrameVisible", &C::FrameVisible, &C::SetFrameVisible, false)
          .Enum("FramingPreference", FramingPreferenceType(), &C::FramingPreference, &C::SetFramingPreference,
                fpXPThemes)
          .Obj("RegIniFile", &C::RegIniFile, &C::SetRegIniFile);
  return info;
}

TKvFrameController::~TKvFrameController() {
  for (fw::TComponent* c : controls_) RemoveFreeNotification(c);
  controls_.clear();
}

void TKvFrameController::RegisterControl(fw::TComponent* control) {
  if (!control || std::find(controls_.begin(), controls_.end(), control) != controls_.end()) return;
  controls_.push_back(control);
  // A control freed while registered is dropped from the list.
  FreeNotification(control);
  PushSettingToControl(control, fcpAll);
}

void TKvFrameController::UnregisterControl(fw::TComponent* control) {
  const auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  controls_.erase(it);
  if (controls_.empty()) controls_.shrink_to_fit();
}

void TKvFrameController::ReleaseUpdates() {
  if (--updateCount_ > 0) return;
  updateCount_ = 0;
  PushSetting(fcpAll);
}

void TKvFrameController::PushSetting(TKvFrameControllerProperty index) {
  if (updateCount_ > 0 || controls_.empty()) return;
  const std::vector<fw::TComponent*> controls = controls_;
  for (fw::TComponent* c : controls) PushSettingToControl(c, index);
}

void TKvFrameController::PushSettingToControl(fw::TComponent* control, TKvFrameControllerProperty index) {
  if (!control || !control->InheritsFrom("TControl")) return;
  if (auto* notify = dynamic_cast<IKvFrameControllerNotify*>(control)) {
    notify->ApplyFrameControllerSettings();
    return;
  }
  int32_t bits = kAllFrameNotifications;
  if (fw::GetOrdProp(control, kNotificationsProp, bits) != fw::TPropStatus::Ok) bits = kAllFrameNotifications;
  auto write = [&](TKvFrameControllerProperty i) {
    if (!(bits & (1 << i))) return;
    const char* name = kSettingNames[i];
    if (!fw::IsPublishedProp(control, name)) return;
    if (i == fcpFrameSides) {
      std::string text;
      if (fw::GetPropText(this, name, text) == fw::TPropStatus::Ok) fw::SetPropText(control, name, text);
      return;
    }
    int32_t value = 0;
    if (fw::GetOrdProp(this, name, value) == fw::TPropStatus::Ok) fw::SetOrdProp(control, name, value);
  };
  if (index == fcpAll) {
    for (TKvFrameControllerProperty i : kPushAllOrder)
      if (i != fcpColor || !parentColor_) write(i);
  } else if (index >= 0 && index < kFrameSettingCount) {
    write(index);
  }
}

void TKvFrameController::CopySettings(const TKvFrameController& o) {
  SetColor(o.color_);
  SetFocusColor(o.focusColor_);
  SetDisabledColor(o.disabledColor_);
  SetReadOnlyColor(o.readOnlyColor_);
  SetReadOnlyColorOnFocus(o.readOnlyColorOnFocus_);
  SetParentColor(o.parentColor_);
  SetFlatButtonColor(o.flatButtonColor_);
  SetFlatButtons(o.flatButtons_);
  SetFrameColor(o.frameColor_);
  SetFrameHotColor(o.frameHotColor_);
  SetFrameHotTrack(o.frameHotTrack_);
  SetFrameHotStyle(o.frameHotStyle_);
  SetFrameSides(o.frameSides_);
  SetFrameStyle(o.frameStyle_);
  SetFrameVisible(o.frameVisible_);
  SetFramingPreference(o.framingPreference_);
}

bool TKvFrameController::Assign(const fw::TPersistent& source) {
  const auto* other = dynamic_cast<const TKvFrameController*>(&source);
  if (!other) return fw::TComponent::Assign(source);
  HoldUpdates();
  CopySettings(*other);
  ReleaseUpdates();
  return true;
}

void TKvFrameController::Loaded() {
  fw::TComponent::Loaded();
  PushSetting(fcpAll);
}

void TKvFrameController::DefineProperties(fw::TFiler& filer) {
  // Older form data: "FrameFlat" became FrameHotTrack (and chose the status
  // and lowered styles), "FrameFocusStyle" became FrameHotStyle.
  filer.DefineProperty("FrameFlat", [this](const fw::TFormValue& v, std::string& error) {
    bool flat = false;
    if (!fw::ReadBooleanValue(v, flat, error)) return false;
    SetFrameHotTrack(flat);
    if (flat) {
      SetFrameStyle(fsStatus);
      SetFrameHotStyle(fsLowered);
    }
    return true;
  });
  filer.DefineProperty("FrameFocusStyle", [this](const fw::TFormValue& v, std::string& error) {
    const int style = v.kind == fw::TFormValue::Ident ? FrameStyleType().IndexOf(v.text) : -1;
    if (style < 0) {
      error = "a frame style is expected";
      return false;
    }
    SetFrameHotStyle(static_cast<TFrameStyle>(style));
    return true;
  });
  filer.DefineProperty("FrameFlatStyle", TKvOldPropReader::ReadIdent());
}

void TKvFrameController::Notification(fw::TComponent* component, fw::TOperation operation) {
  fw::TComponent::Notification(component, operation);
  if (operation != fw::opRemove) return;
  if (component == regIniFile_) regIniFile_ = nullptr;
  UnregisterControl(component);
}

template <class T>
bool TKvFrameController::Store(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

void TKvFrameController::SetColor(TColor v) {
  if (color_ == v) return;
  if (focusColor_ == color_) focusColor_ = v;
  color_ = v;
  parentColor_ = false;
  PushSetting(fcpColor);
}

void TKvFrameController::SetParentColor(bool v) {
  if (!Store(parentColor_, v)) return;
  PushSetting(fcpParentColor);
  if (!v) PushSetting(fcpColor);
}

void TKvFrameController::SetFrameHotTrack(bool v) {
  if (!Store(frameHotTrack_, v)) return;
  if (v) {
    SetFrameVisible(true);
    if (!IsLoading()) frameSides_ = kAllSides;
  }
  PushSetting(fcpFrameHotTrack);
}

void TKvFrameController::SetRegIniFile(TKvRegIniFile* v) {
  if (regIniFile_ == v) return;
  if (regIniFile_) RemoveFreeNotification(regIniFile_);
  regIniFile_ = v;
  if (v) FreeNotification(v);
}

#define KV_SETTING_SETTER(Setter, Type, field, index) \
  void TKvFrameController::Setter(Type v) {           \
    if (Store(field, v)) PushSetting(index);          \
  }
KV_SETTING_SETTER(SetFocusColor, TColor, focusColor_, fcpFocusColor)
KV_SETTING_SETTER(SetDisabledColor, TColor, disabledColor_, fcpDisabledColor)
KV_SETTING_SETTER(SetReadOnlyColor, TColor, readOnlyColor_, fcpReadOnlyColor)
KV_SETTING_SETTER(SetReadOnlyColorOnFocus, bool, readOnlyColorOnFocus_, fcpReadOnlyColorOnFocus)
KV_SETTING_SETTER(SetFlatButtonColor, TColor, flatButtonColor_, fcpFlatButtonColor)
KV_SETTING_SETTER(SetFlatButtons, bool, flatButtons_, fcpFlatButtons)
KV_SETTING_SETTER(SetFrameColor, TColor, frameColor_, fcpFrameColor)
KV_SETTING_SETTER(SetFrameHotColor, TColor, frameHotColor_, fcpFrameHotColor)
KV_SETTING_SETTER(SetFrameHotStyle, TFrameStyle, frameHotStyle_, fcpFrameHotStyle)
KV_SETTING_SETTER(SetFrameSides, TSides, frameSides_, fcpFrameSides)
KV_SETTING_SETTER(SetFrameStyle, TFrameStyle, frameStyle_, fcpFrameStyle)
KV_SETTING_SETTER(SetFrameVisible, bool, frameVisible_, fcpFrameVisible)
KV_SETTING_SETTER(SetFramingPreference, TFramingPreference, framingPreference_, fcpFramingPreference)
#undef KV_SETTING_SETTER

}  // namespace kv
