#include <gtest/gtest.h>

#include "Colors.h"
#include "FormReader.h"
#include "KvFrameController.h"
#include "KvTypeInfo.h"
#include "PropertyText.h"

using namespace kv;

namespace {

// A stand-in for the framework's control class: only its name matters here.
const fw::TClassInfo& ControlBase() {
  static const fw::TClassInfo info("TControl", &fw::TComponent::StaticClass());
  return info;
}

// A control publishing some of the controller's settings.
class TFakeEdit : public fw::TComponent {
 public:
  static const fw::TClassInfo& StaticClass() {
    using C = TFakeEdit;
    static const fw::TClassInfo info = fw::TClassInfo::Make<C>("TFakeEdit", &ControlBase())
                                           .Int("Color", &C::Color, &C::SetColor, clWindow, &fw::ColorIdents())
                                           .Bool("ParentColor", &C::ParentColor, &C::SetParentColor, false)
                                           .Enum("FrameStyle", FrameStyleType(), &C::FrameStyle, &C::SetFrameStyle,
                                                 fsNone)
                                           .Set("FrameSides", SideType(), &C::FrameSides, &C::SetFrameSides, 0u)
                                           .Bool("FrameVisible", &C::FrameVisible, &C::SetFrameVisible, false);
    return info;
  }
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFakeEdit(fw::TComponent* owner) : fw::TComponent(owner) {}

  TColor Color() const { return color; }
  void SetColor(TColor v) { color = v, ++colorWrites; }
  bool ParentColor() const { return parentColor; }
  void SetParentColor(bool v) { parentColor = v, ++writes; }
  TFrameStyle FrameStyle() const { return style; }
  void SetFrameStyle(TFrameStyle v) { style = v, ++writes; }
  uint32_t FrameSides() const { return sides; }
  void SetFrameSides(uint32_t v) { sides = v, ++writes; }
  bool FrameVisible() const { return visible; }
  void SetFrameVisible(bool v) { visible = v, ++writes; }

  TColor color = clWindow;
  bool parentColor = false, visible = false;
  TFrameStyle style = fsNone;
  uint32_t sides = 0;
  int colorWrites = 0, writes = 0;
};

// The same with a choice of settings it accepts.
class TPickyEdit : public TFakeEdit {
 public:
  static const fw::TClassInfo& StaticClass() {
    using C = TPickyEdit;
    static const fw::TClassInfo info =
        fw::TClassInfo::Make<C>("TPickyEdit", &TFakeEdit::StaticClass())
            .Set("FrameControllerNotifications", FrameControllerPropertyType(), &C::Notifications,
                 &C::SetNotifications, kAllFrameNotifications);
    return info;
  }
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TPickyEdit(fw::TComponent* owner) : TFakeEdit(owner) {}
  uint32_t Notifications() const { return notifications; }
  void SetNotifications(uint32_t v) { notifications = v; }
  uint32_t notifications = 1u << fcpFrameStyle;
};

// A control of the panel family: it is only told.
class TFakePanel : public fw::TComponent, public IKvFrameControllerNotify {
 public:
  static const fw::TClassInfo& StaticClass() {
    static const fw::TClassInfo info = fw::TClassInfo::Make<TFakePanel>("TFakePanel", &ControlBase());
    return info;
  }
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFakePanel(fw::TComponent* owner) : fw::TComponent(owner) {}
  void ApplyFrameControllerSettings() override { ++applied; }
  int applied = 0;
};

class TRoot : public fw::TComponent {
 public:
  static const fw::TClassInfo& StaticClass() {
    static const fw::TClassInfo info =
        fw::TClassInfo::Make<TRoot>("TRoot", &fw::TComponent::StaticClass()).Field("fc", &TRoot::fc);
    return info;
  }
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TRoot(fw::TComponent* owner) : fw::TComponent(owner) {}
  TKvFrameController* fc = nullptr;
};

}  // namespace

TEST(FrameController, PublishedDefaults) {
  TKvFrameController fc(nullptr);
  std::string text;
  const std::pair<const char*, const char*> expected[] = {
      {"Color", "clWindow"},          {"FocusColor", "clWindow"},     {"DisabledColor", "clBtnFace"},
      {"ReadOnlyColor", "clInfoBk"},  {"ReadOnlyColorOnFocus", "False"}, {"ParentColor", "False"},
      {"FlatButtonColor", "clBtnFace"}, {"FlatButtons", "True"},      {"FrameColor", "clBtnShadow"},
      {"FrameHotColor", "clBtnShadow"}, {"FrameHotTrack", "False"},   {"FrameHotStyle", "fsFlatBold"},
      {"FrameSides", "[sdLeft,sdTop,sdRight,sdBottom]"}, {"FrameStyle", "fsFlat"},
      {"FrameVisible", "False"},      {"FramingPreference", "fpXPThemes"}, {"RegIniFile", ""}};
  for (const auto& e : expected) {
    ASSERT_EQ(fw::GetPropText(&fc, e.first, text), fw::TPropStatus::Ok) << e.first;
    EXPECT_EQ(text, e.second) << e.first;
    const fw::TPropInfo* p = fc.ClassInfo().FindProp(e.first);
    if (p->kind != fw::TPropKind::Class) {
      int32_t ord = 0;
      fw::GetOrdProp(&fc, e.first, ord);
      EXPECT_TRUE(p->hasDefault && p->defaultOrd == ord) << e.first;
    }
  }
  TKvRegIniFile store(nullptr);
  fw::GetPropText(&store, "RegAccess", text);
  EXPECT_EQ(text, "[keyAllAccess]");
  fw::GetPropText(&store, "RegKey", text);
  EXPECT_EQ(text, "hkeyCurrentUser");
}

TEST(FrameController, RegisteringTwicePushesOnce) {
  TKvFrameController fc(nullptr);
  TFakeEdit edit(nullptr);
  fc.SetColor(clYellow);
  fc.RegisterControl(&edit);
  fc.RegisterControl(&edit);
  EXPECT_EQ(edit.colorWrites, 1);
  EXPECT_EQ(edit.color, clYellow);
  EXPECT_EQ(edit.style, fsFlat);
  EXPECT_EQ(edit.sides, kAllSides);
  EXPECT_EQ(fc.Controls().size(), 1u);
}

TEST(FrameController, HeldUpdatesArePushedOnceOnRelease) {
  TKvFrameController fc(nullptr);
  TFakeEdit edit(nullptr);
  fc.RegisterControl(&edit);
  edit.colorWrites = edit.writes = 0;
  fc.HoldUpdates();
  fc.SetColor(clRed);
  fc.SetFrameStyle(fsRaised);
  fc.SetFrameSides(sdTop);
  fc.SetFrameVisible(true);
  fc.SetParentColor(false);
  fc.SetDisabledColor(clGray);
  EXPECT_EQ(edit.colorWrites + edit.writes, 0);
  fc.ReleaseUpdates();
  EXPECT_EQ(edit.colorWrites, 1);
  EXPECT_EQ(edit.color, clRed);
  EXPECT_EQ(edit.style, fsRaised);
  EXPECT_EQ(edit.sides, TSides(sdTop));
  EXPECT_TRUE(edit.visible);
  EXPECT_EQ(edit.writes, 4);  // ParentColor, FrameSides, FrameStyle, FrameVisible
  // Nested holds push only when the last one is released.
  fc.HoldUpdates();
  fc.HoldUpdates();
  fc.SetColor(clBlue);
  fc.ReleaseUpdates();
  EXPECT_EQ(edit.color, clRed);
  fc.ReleaseUpdates();
  EXPECT_EQ(edit.color, clBlue);
  // An extra release does not drive the counter below zero.
  fc.ReleaseUpdates();
  fc.SetFrameStyle(fsBump);
  EXPECT_EQ(edit.style, fsBump);
}

TEST(FrameController, OnlyPublishedAndAcceptedSettingsAreWritten) {
  TKvFrameController fc(nullptr);
  TFakeEdit edit(nullptr);
  TPickyEdit picky(nullptr);
  fw::TComponent notAControl(nullptr);
  fc.RegisterControl(&edit);
  fc.RegisterControl(&picky);
  fc.RegisterControl(&notAControl);
  edit.writes = edit.colorWrites = 0;
  fc.SetFocusColor(clRed);  // no "FocusColor" on either
  EXPECT_EQ(edit.writes + edit.colorWrites, 0);
  fc.SetColor(clBlue);
  EXPECT_EQ(edit.color, clBlue);
  EXPECT_EQ(picky.color, clWindow);  // not accepted
  fc.SetFrameStyle(fsGroove);
  EXPECT_EQ(picky.style, fsGroove);
}

TEST(FrameController, ParentColorKeepsColourOut) {
  TKvFrameController fc(nullptr);
  fc.SetColor(clRed);
  fc.SetParentColor(true);
  TFakeEdit edit(nullptr);
  fc.RegisterControl(&edit);
  EXPECT_EQ(edit.colorWrites, 0);
  EXPECT_TRUE(edit.parentColor);
  fc.SetParentColor(false);  // pushes ParentColor, then Color
  EXPECT_FALSE(edit.parentColor);
  EXPECT_EQ(edit.color, clRed);
}

TEST(FrameController, SetterSideEffects) {
  TKvFrameController fc(nullptr);
  fc.SetColor(clRed);
  EXPECT_EQ(fc.FocusColor(), clRed);  // it followed the colour
  fc.SetFocusColor(clBlue);
  fc.SetColor(clGreen);
  EXPECT_EQ(fc.FocusColor(), clBlue);
  fc.SetParentColor(true);
  fc.SetColor(clWhite);
  EXPECT_FALSE(fc.ParentColor());
  fc.SetFrameSides(sdLeft);
  fc.SetFrameHotTrack(true);
  EXPECT_TRUE(fc.FrameVisible());
  EXPECT_EQ(fc.FrameSides(), kAllSides);
}

TEST(FrameController, PanelsAreOnlyTold) {
  TKvFrameController fc(nullptr);
  TFakePanel panel(nullptr);
  fc.RegisterControl(&panel);
  EXPECT_EQ(panel.applied, 1);
  fc.SetFrameColor(clRed);
  EXPECT_EQ(panel.applied, 2);
}

TEST(FrameController, FreedControlsLeaveTheList) {
  TKvFrameController fc(nullptr);
  auto* edit = new TFakeEdit(nullptr);
  fc.RegisterControl(edit);
  edit->Free();
  EXPECT_TRUE(fc.Controls().empty());
  fc.SetColor(clRed);  // nothing left to write to
  TKvRegIniFile* store = new TKvRegIniFile(nullptr);
  fc.SetRegIniFile(store);
  store->Free();
  EXPECT_EQ(fc.RegIniFile(), nullptr);
}

TEST(FrameController, AssignCopiesTheSettings) {
  TKvFrameController a(nullptr), b(nullptr);
  a.SetFrameStyle(fsBump);
  a.SetFocusColor(clRed);
  a.SetColor(clGreen);
  a.SetParentColor(true);
  a.SetFrameSides(sdRight);
  TFakeEdit edit(nullptr);
  b.RegisterControl(&edit);
  edit.colorWrites = 0;
  EXPECT_TRUE(b.Assign(a));
  EXPECT_EQ(b.FrameStyle(), fsBump);
  EXPECT_EQ(b.FocusColor(), clRed);
  EXPECT_EQ(b.Color(), clGreen);
  EXPECT_TRUE(b.ParentColor());
  EXPECT_EQ(b.FrameSides(), TSides(sdRight));
  EXPECT_EQ(edit.style, fsBump);
  EXPECT_EQ(edit.colorWrites, 0);  // ParentColor is on
}

TEST(FrameController, OldFormDataStillLoads) {
  fw::RegisterComponentClass(TKvFrameController::StaticClass());
  TRoot root(nullptr);
  std::string error;
  ASSERT_TRUE(fw::ReadFormData(&root, R"(object Root: TRoot
  object fc: TKvFrameController
    FrameSides = [sdLeft]
    FrameFlat = True
    FrameFocusStyle = fsBump
    FrameFlatStyle = fsWhatever
  end
end
)", error)) << error;
  ASSERT_NE(root.fc, nullptr);
  EXPECT_TRUE(root.fc->FrameHotTrack());
  EXPECT_EQ(root.fc->FrameStyle(), fsStatus);
  EXPECT_EQ(root.fc->FrameHotStyle(), fsBump);  // read after FrameFlat
  EXPECT_TRUE(root.fc->FrameVisible());
  EXPECT_EQ(root.fc->FrameSides(), TSides(sdLeft));  // kept while loading
  TRoot other(nullptr);
  EXPECT_FALSE(fw::ReadFormData(&other, R"(object Root: TRoot
  object fc: TKvFrameController
    FrameFocusStyle = 3
  end
end
)", error));
  EXPECT_NE(error.find("FrameFocusStyle"), std::string::npos) << error;
}
