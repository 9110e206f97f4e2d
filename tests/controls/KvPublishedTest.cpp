// Every property the extended controls publish (besides dragging and
// docking) loads from form data and reads back by name, class by class;
// the panel's AutoSize; a moved transparent panel shows its parent's image
// of its new place.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CheckedComboBox.h"
#include "ControlFixture.h"
#include "KvLine.h"
#include "KvPanel.h"
#include "PropertyText.h"

using namespace kv;

namespace {

// A form class with a published handler of each event type the controls
// publish, for form data to bind.
class TFmProps : public fw::TForm {
 public:
  static const fw::TClassInfo& StaticClass() {
    static const fw::TClassInfo info =
        fw::TClassInfo::Make<TFmProps>("TFmProps", &fw::TForm::StaticClass())
            .Method("Notify", &TFmProps::Notify)
            .Method("Mouse", &TFmProps::Mouse)
            .Method("MouseMove", &TFmProps::MouseMove)
            .Method("CanResize", &TFmProps::CanResize)
            .Method("Constrained", &TFmProps::Constrained)
            .Method("ContextPopup", &TFmProps::ContextPopup);
    return info;
  }
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFmProps(fw::TComponent* owner) : fw::TForm(owner) {}
  void Notify(fw::TObject*) {}
  void Mouse(fw::TObject*, fw::TMouseButton, fw::TShiftState, int, int) {}
  void MouseMove(fw::TObject*, fw::TShiftState, int, int) {}
  void CanResize(fw::TObject*, int&, int&, bool&) {}
  void Constrained(fw::TObject*, int&, int&, int&, int&) {}
  void ContextPopup(fw::TObject*, POINT, bool&) {}
};

// One published property: its form data value and what it reads back as
// (nullptr: not compared, as for sizes a control adjusts itself). Event
// values name a handler of TFmProps and must be bound after loading.
struct Prop {
  const char* name;
  const char* value;
  const char* readBack;
};

// What every control has, written for a control that is not aligned.
const std::vector<Prop>& EveryControl() {
  static const std::vector<Prop> props = {
      {"Tag", "7", "7"},
      {"Left", "12", nullptr},
      {"Top", "14", nullptr},
      {"Width", "150", nullptr},
      {"Height", "60", nullptr},
      {"Hint", "\"a hint\"", "a hint"},
      {"HelpType", "htKeyword", "htKeyword"},
      {"HelpKeyword", "\"topic\"", "topic"},
      {"HelpContext", "42", "42"},
  };
  return props;
}

// Republished by the panel, the group box and the combo box (windowed).
const std::vector<Prop>& WindowedCommon() {
  static const std::vector<Prop> props = {
      {"Ctl3D", "False", "False"},
      {"ParentCtl3D", "False", "False"},
      {"Enabled", "False", "False"},
      {"Font.Name", "\"Arial\"", "Arial"},
      {"Font.Size", "12", "12"},
      {"ParentColor", "False", "False"},
      {"ParentFont", "False", "False"},
      {"ParentShowHint", "False", "False"},
      {"ShowHint", "True", "True"},
      {"TabOrder", "0", "0"},
      {"TabStop", "True", "True"},
      {"Visible", "False", "False"},
      {"OnClick", "Notify", nullptr},
      {"OnEnter", "Notify", nullptr},
      {"OnExit", "Notify", nullptr},
      {"OnMouseDown", "Mouse", nullptr},
      {"OnMouseMove", "MouseMove", nullptr},
      {"OnMouseUp", "Mouse", nullptr},
      {"OnResize", "Notify", nullptr},
  };
  return props;
}

// Republished by the panel and the group box.
const std::vector<Prop>& PanelAndGroupBox() {
  static const std::vector<Prop> props = {
      {"Align", "alCustom", "alCustom"},
      {"Anchors", "[akLeft, akBottom]", "[akLeft,akBottom]"},
      {"BevelWidth", "3", "3"},
      {"BiDiMode", "bdRightToLeft", "bdRightToLeft"},
      {"ParentBiDiMode", "False", "False"},
      {"BorderColor", "clRed", "clRed"},
      {"BorderInner", "fsFlat", "fsFlat"},
      {"BorderOuter", "fsLowered", "fsLowered"},
      {"BorderSides", "[sdLeft, sdTop]", "[sdLeft,sdTop]"},
      {"BorderWidth", "2", "2"},
      {"Caption", "\"cap\"", "cap"},
      {"Color", "clYellow", "clYellow"},
      {"Constraints.MinWidth", "40", "40"},
      {"Constraints.MinHeight", "20", "20"},
      {"Constraints.MaxWidth", "400", "400"},
      {"Constraints.MaxHeight", "300", "300"},
      {"FlatColor", "clLime", "clLime"},
      {"FlatColorAdjustment", "10", "10"},
      {"FrameController", "fc", "fc"},
      {"FrameControllerNotifications", "[fcpColor]", "[fcpColor]"},
      {"GradientColorStyle", "gcsCustom", "gcsCustom"},
      {"GradientColorStart", "clBlue", "clBlue"},
      {"GradientColorStop", "clNavy", "clNavy"},
      {"GradientDirection", "gdVerticalEnd", "gdVerticalEnd"},
      {"PopupMenu", "pm", "pm"},
      {"Transparent", "True", "True"},
      {"VisualStyle", "vsGradient", "vsGradient"},
      {"OnContextPopup", "ContextPopup", nullptr},
      {"OnDblClick", "Notify", nullptr},
      {"OnMouseEnter", "Notify", nullptr},
      {"OnMouseLeave", "Notify", nullptr},
      {"OnPaint", "Notify", nullptr},
  };
  return props;
}

const std::vector<Prop>& PanelOnly() {
  static const std::vector<Prop> props = {
      {"Alignment", "taRightJustify", "taRightJustify"},
      {"AlignmentVertical", "avBottom", "avBottom"},
      {"AutoSize", "True", "True"},
      {"BorderHighlight", "clAqua", "clAqua"},
      {"BorderShadow", "clGray", "clGray"},
      {"FullRepaint", "False", "False"},
      {"GridColor", "clMaroon", "clMaroon"},
      {"GridStyle", "gsSolidLines", "gsSolidLines"},
      {"GridXSize", "5", "5"},
      {"GridYSize", "6", "6"},
      {"Locked", "True", "True"},
      {"PaintClientArea", "False", "False"},
      {"ShowGrid", "True", "True"},
      {"TextMargin", "3", "3"},
      {"WordWrap", "False", "False"},
      {"OnCanResize", "CanResize", nullptr},
      {"OnConstrainedResize", "Constrained", nullptr},
  };
  return props;
}

const std::vector<Prop>& GroupBoxOnly() {
  static const std::vector<Prop> props = {
      {"Alignment", "taCenter", "taCenter"},
      {"GroupStyle", "gsBanner", "gsBanner"},
  };
  return props;
}

const std::vector<Prop>& LineOnly() {
  static const std::vector<Prop> props = {
      {"Align", "alCustom", "alCustom"},
      {"Anchors", "[akTop, akRight]", "[akTop,akRight]"},
      {"Constraints.MinWidth", "30", "30"},
      {"Constraints.MinHeight", "30", "30"},
      {"Constraints.MaxWidth", "500", "500"},
      {"Constraints.MaxHeight", "200", "200"},
      {"ParentShowHint", "False", "False"},
      {"PopupMenu", "pm", "pm"},
      {"ShowHint", "True", "True"},
      {"Visible", "False", "False"},
      {"ArrowLength", "12", "12"},
      {"LineColor", "clRed", "clRed"},
      {"LineSlope", "lsUp", "lsUp"},
      {"LineStyle", "psDot", "psDot"},
      {"LineWidth", "3", "3"},
      {"ShowArrows", "saBoth", "saBoth"},
      {"OnClick", "Notify", nullptr},
      {"OnContextPopup", "ContextPopup", nullptr},
      {"OnDblClick", "Notify", nullptr},
      {"OnMouseDown", "Mouse", nullptr},
      {"OnMouseEnter", "Notify", nullptr},
      {"OnMouseLeave", "Notify", nullptr},
      {"OnMouseMove", "MouseMove", nullptr},
      {"OnMouseUp", "Mouse", nullptr},
      {"OnResize", "Notify", nullptr},
  };
  return props;
}

const std::vector<Prop>& ComboOnly() {
  static const std::vector<Prop> props = {
      {"Cursor", "crHandPoint", "crHandPoint"},
      {"Items", "(\"b\" \"a\")", nullptr},
      {"CapSelectAll", "\"all\"", "all"},
      {"CapDeSelectAll", "\"none\"", "none"},
      {"NotFocusColor", "clSilver", "clSilver"},
      {"Sorted", "True", "True"},
      {"Columns", "2", "2"},
      {"DropDownLines", "8", "8"},
      {"EmptyValue", "\"-\"", "-"},
      {"SortDisplay", "True", "True"},
      {"ItemHeight", "17", "17"},
      {"OnChange", "Notify", nullptr},
      {"OnCloseUp", "Notify", nullptr},
  };
  return props;
}

class PublishedTest : public kvtest::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    form->Free();
    form = new TFmProps(nullptr);
    form->SetBorderStyle(fw::bsNone);
    form->SetBounds(0, 0, 400, 300);
  }

  // Loads one control of the class with every property of the lists and
  // checks each one by name.
  void LoadsEveryProperty(const char* cls, const std::vector<const std::vector<Prop>*>& lists) {
    form->DestroyComponents();  // the previous class's objects
    std::string data = "object F: TFmProps\n  object pm: TPopupMenu\n  end\n  object fc: TKvFrameController\n  end\n"
                       "  object x: " + std::string(cls) + "\n";
    for (const auto* list : lists)
      for (const Prop& p : *list) data += "    " + std::string(p.name) + " = " + p.value + "\n";
    data += "  end\nend\n";
    Load(data);
    fw::TComponent* x = form->FindComponent("x");
    ASSERT_NE(x, nullptr) << cls;
    EXPECT_EQ(x->ClassName(), cls);
    std::string text;
    EXPECT_EQ(fw::GetPropText(x, "Name", text), fw::TPropStatus::Ok);
    EXPECT_EQ(text, "x");
    for (const auto* list : lists) {
      for (const Prop& p : *list) {
        const fw::TPropStatus status = fw::GetPropText(x, p.name, text);
        if (status == fw::TPropStatus::WrongKind) {  // an event: bound to the form's handler
          const fw::TPropInfo* info = x->ClassInfo().FindProp(p.name);
          ASSERT_NE(info, nullptr) << cls << "." << p.name;
          EXPECT_TRUE(info->methodAssigned(*x)) << cls << "." << p.name;
          continue;
        }
        ASSERT_EQ(status, fw::TPropStatus::Ok) << cls << "." << p.name;
        if (p.readBack) {
          EXPECT_EQ(text, p.readBack) << cls << "." << p.name;
        }
      }
    }
  }
};

}  // namespace

TEST_F(PublishedTest, EveryPublishedPropertyLoadsFromFormDataAndReadsBack) {
  {
    SCOPED_TRACE("panel");
    LoadsEveryProperty("TKvPanel", {&EveryControl(), &WindowedCommon(), &PanelAndGroupBox(), &PanelOnly()});
  }
  {
    SCOPED_TRACE("group box");
    LoadsEveryProperty("TKvGroupBox", {&EveryControl(), &WindowedCommon(), &PanelAndGroupBox(), &GroupBoxOnly()});
    // What the group box keeps internal stays unpublished.
    fw::TComponent* x = form->FindComponent("x");
    for (const char* name : {"AlignmentVertical", "AutoSize", "BorderHighlight", "BorderShadow", "FullRepaint",
                             "GridColor", "GridStyle", "Locked", "PaintClientArea", "ShowGrid", "TextMargin",
                             "WordWrap", "OnCanResize", "OnConstrainedResize"})
      EXPECT_FALSE(fw::IsPublishedProp(x, name)) << name;
  }
  {
    SCOPED_TRACE("line");
    LoadsEveryProperty("TKvLine", {&EveryControl(), &LineOnly()});
  }
  {
    SCOPED_TRACE("checked combo box");
    LoadsEveryProperty("TCheckedComboBox", {&EveryControl(), &WindowedCommon(), &ComboOnly()});
    auto* c = dynamic_cast<TCheckedComboBox*>(form->FindComponent("x"));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Items()->Count(), 2);
    EXPECT_EQ(c->Items()->Strings(0), "a");  // sorted
  }
}

TEST_F(PublishedTest, AutoSizedPanelFollowsItsChildWithinItsConstraints) {
  Load("object F: TFmProps\n  object p: TKvPanel\n    Left = 10\n    Top = 10\n    Width = 200\n"
       "    Height = 100\n    AutoSize = True\n    Constraints.MaxWidth = 60\n"
       "    object c: TKvPanel\n      Left = 2\n      Top = 2\n      Width = 30\n      Height = 10\n    end\n"
       "  end\nend\n");
  auto* p = dynamic_cast<TKvPanel*>(form->FindComponent("p"));
  auto* c = dynamic_cast<TKvPanel*>(form->FindComponent("c"));
  ASSERT_NE(p, nullptr);
  form->Handle();
  // The raised frame is 2 pixels on each side.
  EXPECT_EQ(p->Width(), 2 + 30 + 2);
  EXPECT_EQ(p->Height(), 2 + 10 + 2);
  c->SetBounds(20, 15, 30, 10);  // moved: the panel follows
  EXPECT_EQ(p->Width(), 20 + 30 + 2);
  EXPECT_EQ(p->Height(), 15 + 10 + 2);
  c->SetWidth(50);  // wider than the panel may grow
  EXPECT_EQ(p->Width(), 60);
  p->SetBorderOuter(fsNone);  // a thinner frame: smaller again
  EXPECT_EQ(p->Height(), 15 + 10);
}

TEST_F(PublishedTest, AMovedTransparentPanelShowsItsParentAtItsNewPlace) {
  // A gradient behind a transparent panel that only moves.
  Load("object F: TFmProps\n  object host: TKvPanel\n    Width = 200\n    Height = 200\n    BorderOuter = fsNone\n"
       "    VisualStyle = vsGradient\n    GradientColorStyle = gcsCustom\n    GradientDirection = gdVerticalEnd\n"
       "    GradientColorStart = clWhite\n    GradientColorStop = clBlack\n"
       "    object see: TKvPanel\n      Left = 10\n      Top = 10\n      Width = 40\n      Height = 40\n"
       "      BorderOuter = fsNone\n      Transparent = True\n    end\n  end\nend\n");
  auto* host = dynamic_cast<TKvPanel*>(form->FindComponent("host"));
  auto* see = dynamic_cast<TKvPanel*>(form->FindComponent("see"));
  ASSERT_NE(see, nullptr);
  // The host's own image (its children are windows of their own).
  fw::TBitmap hostImage(200, 200);
  PaintControl(host, hostImage);
  const kv::TColor oldPlace = At(hostImage, 30, 30), newPlace = At(hostImage, 150, 150);
  ASSERT_NE(oldPlace, newPlace);
  form->Show();
  const auto shown = [see] {
    HWND h = see->Handle();
    HDC dc = GetDC(h);
    const auto c = static_cast<kv::TColor>(GetPixel(dc, 20, 20));
    ReleaseDC(h, dc);
    return c;
  };
  // Handles messages until the panel shows the colour (or 2 seconds pass).
  const auto showsAfterPainting = [&shown](kv::TColor expected) {
    const DWORD end = GetTickCount() + 2000;
    do {
      fw::Application().ProcessMessages();
      if (shown() == expected) return true;
      Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
    return false;
  };
  EXPECT_TRUE(showsAfterPainting(oldPlace));
  see->SetBounds(130, 130, 40, 40);  // the same size, elsewhere
  EXPECT_TRUE(showsAfterPainting(newPlace)) << std::hex << shown() << " shown, " << newPlace << " expected";
}
