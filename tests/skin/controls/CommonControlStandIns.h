// Stand-ins for the control kinds the framework has no class for: a
// framework control over a common control's window class (status bar,
// track bar, progress bar), carrying the kind's class name and the few
// published properties the skinners read. Their framework parent reflects
// the common control's notifications to them, as it does for every
// framework control.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <memory>
#include <string>

#include "BoxSkinners.h"
#include "Control.h"
#include "TypeInfo.h"

namespace skintest {

// A windowed control of any class name over a system window class.
class TCommonStandIn : public fw::TWinControl {
 public:
  TCommonStandIn(fw::TComponent* owner, const fw::TClassInfo& info, const wchar_t* baseClass, DWORD style = 0)
      : fw::TWinControl(owner), info_(&info), base_(baseClass), style_(style) {}
  const fw::TClassInfo& ClassInfo() const override { return *info_; }

 protected:
  void CreateParams(fw::TCreateParams& p) override {
    fw::TWinControl::CreateParams(p);
    p.baseClass = base_;
    p.style |= style_;
  }

 private:
  const fw::TClassInfo* info_;
  const wchar_t* base_;
  DWORD style_;
};

// The class information of a kind (made once per name).
inline const fw::TClassInfo& StandInKind(const std::string& name,
                                         const fw::TClassInfo* parent = &fw::TWinControl::StaticClass()) {
  static std::map<std::string, std::unique_ptr<fw::TClassInfo>> kinds;
  auto& slot = kinds[name];
  if (!slot) slot.reset(new fw::TClassInfo(name, parent));
  return *slot;
}

// A status bar with the simple-panel flag, its text and the panel-drawing
// event published.
class TStatusBarStandIn : public TCommonStandIn {
 public:
  static const fw::TClassInfo& StaticClass() {
    static const fw::TClassInfo info =
        fw::TClassInfo::Make<TStatusBarStandIn>("TStatusBar", &fw::TWinControl::StaticClass())
            .Bool("SimplePanel", &TStatusBarStandIn::SimplePanel, &TStatusBarStandIn::SetSimplePanel, false)
            .Str("SimpleText", &TStatusBarStandIn::SimpleText, &TStatusBarStandIn::SetSimpleText)
            .Event("OnDrawPanel", &TStatusBarStandIn::OnDrawPanel);
    return info;
  }
  explicit TStatusBarStandIn(fw::TComponent* owner, DWORD style = 0)
      : TCommonStandIn(owner, StaticClass(), STATUSCLASSNAMEW, style) {}
  bool SimplePanel() const { return simple_; }
  void SetSimplePanel(bool v) { simple_ = v; }
  std::string SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& v) { simpleText_ = v; }
  TStatusBarDrawPanelEvent OnDrawPanel;

 private:
  bool simple_ = false;
  std::string simpleText_;
};

// A framework group box: a plain window whose published Caption is its
// own, apart from the window text.
class TGroupBoxStandIn : public TCommonStandIn {
 public:
  static const fw::TClassInfo& StaticClass() {
    static const fw::TClassInfo info =
        fw::TClassInfo::Make<TGroupBoxStandIn>("TGroupBox", &StandInKind("TCustomGroupBox"))
            .Str("Caption", &TGroupBoxStandIn::PublishedCaption, &TGroupBoxStandIn::SetPublishedCaption);
    return info;
  }
  explicit TGroupBoxStandIn(fw::TComponent* owner, DWORD style = 0)
      : TCommonStandIn(owner, StaticClass(), nullptr, style) {}
  std::string PublishedCaption() const { return caption_; }
  void SetPublishedCaption(const std::string& v) { caption_ = v; }

 private:
  std::string caption_;
};

}  // namespace skintest
