// The check-box and radio-button skinners: framework check boxes painted
// wholly from the skin (glyph image by state, caption beside it, the
// parent's background for Tag 5555, the text on the left), plain "Button"
// windows with the skin's glyph over their own, a radio button and a
// data-aware box as stand-ins of kinds the framework lacks, real clicks
// and Space toggling exactly once, a skin without strip, and release.
#include <gtest/gtest.h>

#include <windows.h>

#include "Button.h"
#include "CheckSkinners.h"
#include "ControlSkinners.h"
#include "ControlTestSupport.h"
#include "Panel.h"
#include "SkinMessages.h"
#include "SkinPlatform.h"

using namespace fw;
using namespace skincheck;
using namespace skintest;
using namespace ctltest;

namespace {

// ---- which image, where ---------------------------------------------------------------

TEST(CheckGeometry, StatesMapToTheImagesOfEachStrip) {
  // A strip of twelve: unchecked, checked, mixed; each normal, hot,
  // pressed, disabled.
  EXPECT_EQ(CheckBoxFrame(kUnchecked, false, false, 12), 1);
  EXPECT_EQ(CheckBoxFrame(kChecked, false, false, 12), 5);
  EXPECT_EQ(CheckBoxFrame(kUnchecked, true, false, 12), 4);
  EXPECT_EQ(CheckBoxFrame(kChecked, true, false, 12), 8);
  EXPECT_EQ(CheckBoxFrame(kGrayed, false, true, 12), 9);
  EXPECT_EQ(CheckBoxFrame(kGrayed, true, true, 12), 12);
  EXPECT_EQ(CheckBoxFrame(kGrayed, false, false, 12), 8) << "grayed by its State only";
  EXPECT_EQ(CheckBoxFrame(kGrayed, true, false, 12), 8);
  // A strip of four: as the states count, never past its end.
  EXPECT_EQ(CheckBoxFrame(kChecked, false, false, 4), 2);
  EXPECT_EQ(CheckBoxFrame(kUnchecked, true, false, 4), 3);
  EXPECT_EQ(CheckBoxFrame(kGrayed, false, false, 4), 4);
  EXPECT_EQ(CheckBoxFrame(kGrayed, true, false, 4), 4) << "six is past a strip of four";
  EXPECT_EQ(CheckBoxFrame(kChecked, false, false, 1), 1);
  EXPECT_EQ(RadioButtonFrame(false, false, 8), 1);
  EXPECT_EQ(RadioButtonFrame(true, false, 8), 5);
  EXPECT_EQ(RadioButtonFrame(false, true, 8), 4);
  EXPECT_EQ(RadioButtonFrame(true, true, 8), 8);
  EXPECT_EQ(RadioButtonFrame(true, true, 4), 4);
  EXPECT_EQ(RadioButtonFrame(true, true, 3), 3);
}

TEST(CheckGeometry, TheGlyphIsCentredBesideItsText) {
  const RECT r = {0, 0, 100, 21};
  TCheckLayout l = PlaceCheck(r, SIZE{13, 13}, false, false, false);
  EXPECT_EQ(l.glyph.left, 0);
  EXPECT_EQ(l.glyph.top, 4);
  EXPECT_EQ(l.text.left, 15);
  EXPECT_EQ(l.flags, 0u);
  l = PlaceCheck(r, SIZE{13, 13}, true, false, true);
  EXPECT_EQ(l.glyph.right, 100);
  EXPECT_EQ(l.text.right, 100 - 13 - 2);
  EXPECT_EQ(l.flags, static_cast<UINT>(DT_RTLREADING | DT_RIGHT));
  l = PlaceCheck(r, SIZE{13, 13}, true, true, false);
  EXPECT_EQ(l.glyph.right, 99) << "a radio button one pixel further in";
  EXPECT_EQ(PlaceCheck(r, SIZE{13, 13}, false, false, true).flags, static_cast<UINT>(DT_RTLREADING));
}

// ---- stand-ins of kinds the framework lacks ----------------------------------------------

// A radio button: a BUTTON window with the automatic radio style.
class TTestRadioButton : public TButtonControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = [] {
      TClassInfo i = TClassInfo::Make<TTestRadioButton>("TRadioButton", &TButtonControl::StaticClass());
      PublishColorAndFont(i, clBtnFace);
      PublishCaption(i);
      i.Bool("Checked", &TTestRadioButton::Checked, &TTestRadioButton::SetChecked, false);
      return i;
    }();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TTestRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 120, 20); }
  bool Checked() const {
    return HandleIfAllocated() && SendMessageW(HandleIfAllocated(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  void SetChecked(bool v) {
    if (HandleIfAllocated()) SendMessageW(HandleIfAllocated(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  }

 protected:
  void CreateParams(TCreateParams& p) override {
    TButtonControl::CreateParams(p);
    p.baseClass = L"BUTTON";
    p.style |= BS_AUTORADIOBUTTON;
  }
};

// A data-aware check box: a check box with a data field.
class TTestDataCheckBox : public TCheckBox {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = [] {
      TClassInfo i = TClassInfo::Make<TTestDataCheckBox>("TDBCheckBox", &TCheckBox::StaticClass());
      i.Str("DataField", &TTestDataCheckBox::DataField, &TTestDataCheckBox::SetDataField);
      return i;
    }();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TTestDataCheckBox(TComponent* owner) : TCheckBox(owner) {}
  std::string DataField() const { return field_; }
  void SetDataField(const std::string& f) { field_ = f; }

 private:
  std::string field_;
};

const char kForm[] = R"(object FmChecks: TForm
  Caption = "Checks"
  Left = 200
  Top = 150
  ClientWidth = 320
  ClientHeight = 200
  object chkA: TCheckBox
    Left = 8
    Top = 8
    Width = 120
    Height = 21
    Caption = "Check A"
  end
  object chkLeft: TCheckBox
    Left = 8
    Top = 40
    Width = 120
    Height = 21
    Caption = "Left"
    Alignment = taLeftJustify
  end
  object pnlRed: TPanel
    Tag = 99
    Left = 150
    Top = 8
    Width = 160
    Height = 60
    Color = clRed
    object chkClear: TCheckBox
      Left = 4
      Top = 4
      Width = 140
      Height = 21
      Caption = "Clear"
      Tag = 5555
    end
    object chkFilled: TCheckBox
      Left = 4
      Top = 30
      Width = 140
      Height = 21
      Caption = "Filled"
    end
  end
  object edtFocus: TEdit
    Left = 8
    Top = 160
  end
end
)";

class CheckSkinners : public CodedSkinTest {
 protected:
  void TearDown() override {
    MoveMouseAway();
    skinplatform::SetVersionWordForTesting(0);
    CodedSkinTest::TearDown();
  }
  void Show(const std::function<void(TForm*)>& extra = nullptr) {
    form = ShowSkinnedForm(kForm, extra);
    ASSERT_NE(form, nullptr);
    SetFocus(Box("edtFocus")->Handle());
    PumpApp(20);
  }
  TWinControl* Box(const char* name) { return dynamic_cast<TWinControl*>(form->FindComponent(name)); }
  TCheckBox* Check(const char* name) { return dynamic_cast<TCheckBox*>(form->FindComponent(name)); }
  COLORREF CheckImage(int n) { return ImageColour(skin->Buttons->CheckBitmap, false, 12, n); }
  COLORREF RadioImage(int n) { return ImageColour(skin->Buttons->RadioBitmap, false, 8, n); }
  // The glyph shown by a box of height h with the glyph on the left.
  COLORREF Glyph(HWND box, UINT msg = SKM_PAINTCLIENTTO) {
    TCapture c = PaintInto(box, msg, msg == SKM_PAINTCLIENTTO ? kSkinMarker : 0);
    return c.At(6, c.height / 2);
  }
};

TEST_F(CheckSkinners, ACheckBoxShowsTheImageOfEachState) {
  Show();
  TCheckBox* a = Check("chkA");
  auto* s = SkinnerOf<TSkinCheckBox>(a);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Mode, kSkinnerPaints);
  HWND h = a->Handle();
  EXPECT_EQ(Glyph(h), CheckImage(1)) << "unchecked";
  a->SetChecked(true);
  PumpApp(10);
  EXPECT_EQ(Glyph(h), CheckImage(5)) << "checked";
  a->SetAllowGrayed(true);
  a->SetState(cbGrayed);
  PumpApp(10);
  EXPECT_EQ(Glyph(h), CheckImage(9)) << "grayed";
  a->SetEnabled(false);
  PumpApp(10);
  EXPECT_EQ(Glyph(h), CheckImage(12)) << "grayed and disabled";
  a->SetState(cbChecked);
  PumpApp(10);
  EXPECT_EQ(Glyph(h), CheckImage(8)) << "checked and disabled";
  a->SetState(cbUnchecked);
  PumpApp(10);
  EXPECT_EQ(Glyph(h), CheckImage(4)) << "unchecked and disabled";
  // Painted for real, the window shows the same.
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  TCapture screen = Screenshot(h);
  EXPECT_EQ(screen.At(6, screen.height / 2), CheckImage(4));
}

TEST_F(CheckSkinners, TheCaptionStandsBesideTheGlyphOnTheSkinsFace) {
  Show();
  HWND h = Check("chkA")->Handle();
  TCapture c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(c.width - 2, 1), FaceColour(skin));
  const RECT text = {15, 0, c.width, c.height};
  EXPECT_GT(CountColour(c, text, ColorToRGB(clWindowText)), 10) << "the font's colour";
  Check("chkA")->SetEnabled(false);
  PumpApp(10);
  c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_GT(CountColour(c, text, ColorToRGB(clBtnShadow)), 10) << "disabled text";
  EXPECT_EQ(CountColour(c, text, ColorToRGB(clWindowText)), 0);
  // Text on the left: the glyph at the right edge.
  TCapture l = PaintInto(Check("chkLeft")->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(l.At(l.width - 7, l.height / 2), CheckImage(1));
  EXPECT_EQ(l.At(1, 1), FaceColour(skin));
}

TEST_F(CheckSkinners, Tag5555KeepsTheParentsBackgroundUnderGlyphAndCaption) {
  Show();
  auto* clear = SkinnerOf<TSkinCheckBox>(Check("chkClear"));
  ASSERT_NE(clear, nullptr);
  EXPECT_TRUE(clear->Transparent);
  TCapture c = PaintInto(Check("chkClear")->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(c.width - 2, 1), RGB(255, 0, 0)) << "the red panel shows";
  EXPECT_EQ(c.At(6, c.height / 2), CheckImage(1));
  TCapture f = PaintInto(Check("chkFilled")->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(f.At(f.width - 2, 1), FaceColour(skin)) << "without the tag: the skin's face";
}

TEST_F(CheckSkinners, AClickAndSpaceToggleOnceAndThePressIsPaintedOver) {
  int clicks = 0;
  Show([&](TForm* f) { static_cast<TCheckBox*>(f->FindComponent("chkA"))->OnClick = [&](TObject*) { clicks++; }; });
  TCheckBox* a = Check("chkA");
  HWND h = a->Handle();
  ClickAt(h, 6, 10);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(a->Checked());
  EXPECT_EQ(Glyph(h), CheckImage(5));
  MoveMouseAway();
  SetFocus(h);
  PumpApp(10);
  KeyDown(VK_SPACE);
  // While Space is held the button has drawn its pushed look: painted over.
  TCapture screen = Screenshot(h);
  EXPECT_EQ(screen.At(6, screen.height / 2), CheckImage(5));
  KeyUp(VK_SPACE);
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(Glyph(h), CheckImage(1));
}

TEST_F(CheckSkinners, AFocusRectangleIsDrawnExceptOnSystemsOfVersionSix) {
  Show();
  HWND h = Check("chkA")->Handle();
  SetFocus(h);
  PumpApp(10);
  skinplatform::SetVersionWordForTesting(0x0106);  // 6.1
  TCapture six = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  skinplatform::SetVersionWordForTesting(0x0105);  // 5.1
  TCapture five = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  int differ = 0;
  for (int y = 0; y < six.height; y++)
    for (int x = 15; x < six.width; x++) differ += six.At(x, y) != five.At(x, y);
  EXPECT_GT(differ, 20) << "the dotted rectangle around the caption";
}

TEST_F(CheckSkinners, RadioButtonsAndDataAwareBoxesShowTheirOwnState) {
  TTestRadioButton* radio = nullptr;
  TTestDataCheckBox* data = nullptr;
  Show([&](TForm* f) {
    radio = new TTestRadioButton(f);
    radio->SetParent(f);
    radio->SetBounds(8, 80, 120, 21);
    radio->SetCaption("Radio");
    data = new TTestDataCheckBox(f);
    data->SetParent(f);
    data->SetBounds(8, 110, 120, 21);
    data->SetCaption("Data");
    data->SetDataField("Flag");
  });
  auto* r = SkinnerOf<TSkinRadioButton>(radio);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->Mode, kSkinnerPaints);
  EXPECT_EQ(Glyph(radio->Handle()), RadioImage(1));
  ClickAt(radio->Handle(), 6, 10);
  EXPECT_TRUE(radio->Checked());
  EXPECT_EQ(Glyph(radio->Handle()), RadioImage(5));
  radio->SetEnabled(false);
  PumpApp(10);
  EXPECT_EQ(Glyph(radio->Handle()), RadioImage(8));
  MoveMouseAway();

  ASSERT_NE(SkinnerOf<TSkinCheckBox>(data), nullptr);
  // The window was told "checked" behind the State property's back.
  SendMessageW(data->Handle(), BM_SETCHECK, BST_CHECKED, 0);
  ASSERT_EQ(data->State(), cbUnchecked);
  EXPECT_EQ(Glyph(data->Handle()), CheckImage(5)) << "what was last set on the window";
  SendMessageW(data->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(Glyph(data->Handle()), CheckImage(1));
}

TEST_F(CheckSkinners, PlainButtonWindowsGetTheSkinsGlyphOverTheirOwn) {
  TTestWindow w;
  HWND top = MakeTestWindow(&w, 300, 200);
  ASSERT_TRUE(WaitSkinned(top));
  HWND check = CreateWindowExW(0, L"BUTTON", L"Raw check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 10, 120, 21,
                               top, reinterpret_cast<HMENU>(5), nullptr, nullptr);
  HWND radio = CreateWindowExW(0, L"BUTTON", L"Raw radio", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 10, 40, 120,
                               21, top, reinterpret_cast<HMENU>(6), nullptr, nullptr);
  const LONG_PTR ownProc = GetWindowLongPtrW(check, GWLP_WNDPROC);
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(top);
  f->SkinWindowChildren(top);
  auto* cs = dynamic_cast<TSkinCheckBox*>(f->FindSkinnerByHandle(check));
  ASSERT_NE(cs, nullptr);
  ASSERT_NE(dynamic_cast<TSkinRadioButton*>(f->FindSkinnerByHandle(radio)), nullptr);
  EXPECT_EQ(cs->Mode, kControlPaints);
  EXPECT_EQ(Glyph(check, WM_PAINT), CheckImage(1));
  EXPECT_EQ(Glyph(radio, WM_PAINT), RadioImage(1));
  w.Clear();
  ClickAt(check, 6, 10);
  ClickAt(radio, 6, 10);
  Pump(20);
  EXPECT_EQ(w.commands.size(), 2u) << "each button tells its parent once";
  EXPECT_EQ(Glyph(check, WM_PAINT), CheckImage(5));
  EXPECT_EQ(Glyph(radio, WM_PAINT), RadioImage(5));
  MoveMouseAway();
  ASSERT_TRUE(SwitchSkinOff(skin, top));
  EXPECT_EQ(GetWindowLongPtrW(check, GWLP_WNDPROC), ownProc);
  EXPECT_NE(Glyph(check, WM_PAINT), CheckImage(5));
  DestroyWindow(top);
}

TEST_F(CheckSkinners, WithoutAStripTheBoxPaintsItselfAndSkinnersGoWhenSkinningStops) {
  Show();
  TCheckBox* a = Check("chkA");
  HWND h = a->Handle();
  auto* s = SkinnerOf<TSkinCheckBox>(a);
  ASSERT_NE(s, nullptr);
  TBitmap keep;
  keep.Assign(skin->Buttons->CheckBitmap);
  skin->Buttons->CheckBitmap.Clear();
  InvalidateRect(h, nullptr, TRUE);
  PumpApp(20);
  EXPECT_EQ(s->Mode, kControlPaints);
  TCapture own = PaintInto(h, WM_PAINT, 0);
  EXPECT_NE(own.At(own.width - 2, own.height / 2), 0x00563412u) << "the box painted itself";
  skin->Buttons->CheckBitmap.Assign(keep);
  // A strip count below 1 is one image: no division by zero.
  skin->Buttons->CheckButtonFrame = 0;
  TCapture one = PaintInto(h, WM_PAINT, 0);
  (void)one;

  ASSERT_TRUE(SwitchSkinOff(skin, form->Handle()));
  EXPECT_EQ(SkinnerCount(a), 0);
  EXPECT_EQ(SkinnerCount(Check("chkClear")), 0);
  EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 0);
  int clicks = 0;
  a->OnClick = [&](TObject*) { clicks++; };
  ClickAt(h, 6, 10);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
