// The non-visual companions of the panel family: the frame controller,
// which holds one set of frame and colour settings and pushes it to every
// control registered with it by published property name; the settings
// store naming a registry key or an ini file; and the readers of obsolete
// properties that older form data may still hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Component.h"
#include "FormReader.h"
#include "KvCommon.h"

namespace kv {

// The settings by index; fcpAll means every one of them.
enum TKvFrameControllerProperty {
  fcpColor, fcpFocusColor, fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpParentColor,
  fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle,
  fcpFrameSides, fcpFrameStyle, fcpFrameVisible, fcpFramingPreference, fcpAll
};
constexpr int kFrameSettingCount = 16;
// A set of the sixteen settings (bit i for setting i): what a control accepts.
using TKvFrameControllerNotifications = uint32_t;
constexpr TKvFrameControllerNotifications kAllFrameNotifications = 0xFFFF;

class TKvFrameController;

// Implemented by controls that take the controller's settings themselves
// (the panel family) instead of having them written property by property.
class IKvFrameControllerNotify {
 public:
  virtual ~IKvFrameControllerNotify() = default;
  virtual void ApplyFrameControllerSettings() = 0;
};

enum TKvPathType { ptIniFile, ptRegistry };
enum TKvRegKey {
  hkeyClassesRoot, hkeyCurrentUser, hkeyLocalMachine, hkeyUsers, hkeyPerformanceData, hkeyCurrentConfig,
  hkeyDynData
};
enum TKvRegAccessItem {
  keyQueryValue, keySetValue, keyCreateSubKey, keyEnumerateSubKeys, keyNotify, keyCreateLink, keyRead, keyWrite,
  keyExecute, keyAllAccess
};
using TKvRegAccess = uint32_t;  // a set of TKvRegAccessItem

// Names a registry key or an ini file as a settings store.
class TKvRegIniFile : public fw::TComponent {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TKvRegIniFile(fw::TComponent* owner) : fw::TComponent(owner) {}

  std::string Path() const { return path_; }
  void SetPath(const std::string& v) { if (v != path_) path_ = v; }
  TKvPathType PathType() const { return pathType_; }
  void SetPathType(TKvPathType v) { if (v != pathType_) pathType_ = v; }
  TKvRegKey RegKey() const { return regKey_; }
  void SetRegKey(TKvRegKey v) { if (v != regKey_) regKey_ = v; }
  TKvRegAccess RegAccess() const { return regAccess_; }
  void SetRegAccess(TKvRegAccess v) { if (v != regAccess_) regAccess_ = v; }

 private:
  std::string path_;
  TKvPathType pathType_ = ptIniFile;
  TKvRegKey regKey_ = hkeyCurrentUser;
  TKvRegAccess regAccess_ = 1u << keyAllAccess;
};

class TKvFrameController : public fw::TComponent {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TKvFrameController(fw::TComponent* owner) : fw::TComponent(owner) {}
  ~TKvFrameController() override;

  // Registers a control once and pushes every setting to it at once.
  void RegisterControl(fw::TComponent* control);
  void UnregisterControl(fw::TComponent* control);
  const std::vector<fw::TComponent*>& Controls() const { return controls_; }

  void HoldUpdates() { ++updateCount_; }
  void ReleaseUpdates();
  // Pushes one setting (or fcpAll) to every registered control, unless
  // updates are held.
  void PushSetting(TKvFrameControllerProperty index);
  // Writes one setting (or all) to one control.
  void PushSettingToControl(fw::TComponent* control, TKvFrameControllerProperty index);

  bool Assign(const fw::TPersistent& source) override;
  void Loaded() override;
  void DefineProperties(fw::TFiler& filer) override;

  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TColor FocusColor() const { return focusColor_; }
  void SetFocusColor(TColor v);
  TColor DisabledColor() const { return disabledColor_; }
  void SetDisabledColor(TColor v);
  TColor ReadOnlyColor() const { return readOnlyColor_; }
  void SetReadOnlyColor(TColor v);
  bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
  void SetReadOnlyColorOnFocus(bool v);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TColor FlatButtonColor() const { return flatButtonColor_; }
  void SetFlatButtonColor(TColor v);
  bool FlatButtons() const { return flatButtons_; }
  void SetFlatButtons(bool v);
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor v);
  TColor FrameHotColor() const { return frameHotColor_; }
  void SetFrameHotColor(TColor v);
  bool FrameHotTrack() const { return frameHotTrack_; }
  void SetFrameHotTrack(bool v);
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  void SetFrameHotStyle(TFrameStyle v);
  TSides FrameSides() const { return frameSides_; }
  void SetFrameSides(TSides v);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyle v);
  bool FrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool v);
  TFramingPreference FramingPreference() const { return framingPreference_; }
  void SetFramingPreference(TFramingPreference v);
  TKvRegIniFile* RegIniFile() const { return regIniFile_; }
  void SetRegIniFile(TKvRegIniFile* v);

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  template <class T>
  bool Store(T& field, T value);
  void CopySettings(const TKvFrameController& other);

  std::vector<fw::TComponent*> controls_;
  int updateCount_ = 0;
  TColor color_ = clWindow;
  TColor focusColor_ = clWindow;
  TColor disabledColor_ = clBtnFace;
  TColor readOnlyColor_ = clInfoBk;
  bool readOnlyColorOnFocus_ = false;
  bool parentColor_ = false;
  TColor flatButtonColor_ = clBtnFace;
  bool flatButtons_ = true;
  TColor frameColor_ = clBtnShadow;
  TColor frameHotColor_ = clBtnShadow;
  bool frameHotTrack_ = false;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  TSides frameSides_ = kAllSides;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
  TKvRegIniFile* regIniFile_ = nullptr;
};

// Readers that take an obsolete property's value from form data and drop it.
struct TKvOldPropReader {
  static fw::TFiler::TReadProc ReadBoolean() { return fw::DropBoolean(); }
  static fw::TFiler::TReadProc ReadIdent() { return fw::DropIdent(); }
  static fw::TFiler::TReadProc ReadSet() { return fw::DropSet(); }
};

}  // namespace kv
