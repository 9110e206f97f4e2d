// Where the button skinners put glyph, caption and arrow, and which strip
// image each state shows; and the button with a drop-down arrow painted on
// a stand-in of that kind.
#include <gtest/gtest.h>

#include <windows.h>

#include "ButtonGeometry.h"
#include "ButtonSkinners.h"
#include "Buttons.h"
#include "ControlSkinners.h"
#include "ControlTestSupport.h"
#include "SkinMessages.h"

using namespace fw;
using namespace skinbutton;
using namespace skintest;
using namespace ctltest;

namespace {

TEST(ButtonGeometry, StatesPickTheirStripImages) {
  EXPECT_EQ(PushButtonFrame(false, false, false, true), kFrameNormal);
  EXPECT_EQ(PushButtonFrame(true, true, true, true), kFramePressed);
  EXPECT_EQ(PushButtonFrame(false, true, true, true), kFrameHot) << "a hot default button";
  EXPECT_EQ(PushButtonFrame(false, false, true, true), kFrameFocused);
  EXPECT_EQ(PushButtonFrame(true, true, true, false), kFrameDisabled);
  EXPECT_EQ(MenuButtonFrame(false, true, true), kFrameHot) << "no focused image";
  EXPECT_EQ(MenuButtonFrame(true, false, false), kFrameDisabled);
  EXPECT_EQ(SpeedButtonFrame(true, false, false, false), kFramePressed) << "Down wins even disabled";
  EXPECT_EQ(SpeedButtonFrame(false, false, true, true), kFrameDisabled);
  EXPECT_EQ(SpeedButtonFrame(false, true, false, true), kFrameHot);
  EXPECT_EQ(GlyphOfFrame(kFramePressed), kGlyphDown);
  EXPECT_EQ(GlyphOfFrame(kFrameDisabled), kGlyphDisabled);
  EXPECT_EQ(GlyphOfFrame(kFrameHot), kGlyphUp);
  EXPECT_EQ(SpeedGlyph(kFramePressed, true), kGlyphStaysDown);
}

TEST(ButtonGeometry, OnlyTheFirstDoubleBarBreaksTheCaption) {
  EXPECT_EQ(BreakCaption(L"One||Two||Three"), L"One\r\nTwo||Three");
  EXPECT_EQ(BreakCaption(L"Plain"), L"Plain");
  EXPECT_EQ(BreakCaption(L"|"), L"|");
  // Centred one pixel above the middle, or across the whole width.
  RECT r = {0, 0, 100, 30};
  RECT c = PlaceCaption(r, SIZE{40, 12}, DT_CENTER);
  EXPECT_EQ(c.left, 30);
  EXPECT_EQ(c.top, 8);
  EXPECT_EQ(c.right - c.left, 40);
  RECT l = PlaceCaption(r, SIZE{40, 12}, DT_LEFT);
  EXPECT_EQ(l.left, 0);
  EXPECT_EQ(l.right, 100);
  EXPECT_EQ(l.top, 8);
}

TEST(ButtonGeometry, GlyphAndCaptionAreSpacedByMarginAndSpacing) {
  TGlyphLayoutInput in;
  in.client = SIZE{120, 40};
  in.glyph = SIZE{16, 16};
  in.text = SIZE{44, 12};
  // Both -1: margin, glyph, gap and text in thirds of the free width.
  TGlyphPlacement p = PlaceGlyphAndText(in);
  EXPECT_EQ(p.margin, (120 - 60) / 3);
  EXPECT_EQ(p.spacing, p.margin);
  EXPECT_EQ(p.glyph.x, 20);
  EXPECT_EQ(p.text.x, 20 + 16 + 20);
  EXPECT_EQ(p.glyph.y, (40 - 16 + 1) / 2);
  EXPECT_EQ(p.text.y, (40 - 12 + 1) / 2);
  EXPECT_EQ(p.textFlags, static_cast<UINT>(DT_WORDBREAK));
  // A spacing given: the pair centred.
  in.spacing = 4;
  p = PlaceGlyphAndText(in);
  EXPECT_EQ(p.margin, (120 - 64) / 2);
  in.speedButton = true;
  EXPECT_EQ(PlaceGlyphAndText(in).margin, (120 - 64) / 2 + 1) << "the speed button's variant";
  in.speedButton = false;
  // A margin given with spacing -1: the rest shared.
  in.margin = 6;
  in.spacing = -1;
  p = PlaceGlyphAndText(in);
  EXPECT_EQ(p.spacing, (120 - 6 - 16 - 44) / 2);
  // taCenter ignores the margin.
  in.centred = true;
  EXPECT_EQ(PlaceGlyphAndText(in).margin, 20);
  in.centred = false;
  // Glyph on the right: text before it, right-aligned.
  in.layout = glRight;
  in.margin = 5;
  in.spacing = 3;
  p = PlaceGlyphAndText(in);
  EXPECT_EQ(p.glyph.x, 120 - 5 - 16);
  EXPECT_EQ(p.text.x, p.glyph.x - 3 - 44);
  EXPECT_TRUE(p.textFlags & DT_RIGHT);
  // Glyph on top and at the bottom: along the height, centred across.
  in.layout = glTop;
  p = PlaceGlyphAndText(in);
  EXPECT_EQ(p.glyph.y, 5);
  EXPECT_EQ(p.text.y, 5 + 16 + 3);
  EXPECT_EQ(p.glyph.x, (120 - 16 + 1) / 2);
  EXPECT_TRUE(p.textFlags & DT_CENTER);
  in.layout = glBottom;
  p = PlaceGlyphAndText(in);
  EXPECT_EQ(p.glyph.y, 40 - 5 - 16);
  EXPECT_EQ(p.text.y, p.glyph.y - 3 - 12);
  // No caption: no gap.
  in.layout = glLeft;
  in.text = SIZE{0, 0};
  in.margin = -1;
  in.spacing = 10;
  p = PlaceGlyphAndText(in);
  EXPECT_EQ(p.spacing, 0);
  EXPECT_EQ(p.glyph.x, (120 - 16) / 2);
  EXPECT_EQ(LayoutFromText("BLGLYPHTOP"), glTop);
  EXPECT_EQ(LayoutFromText("something else"), glLeft);
  RECT area = GlyphTextArea(RECT{0, 0, 120, 40}, glLeft, SIZE{16, 16});
  EXPECT_EQ(area.right, 118 - 18);
  area = GlyphTextArea(RECT{0, 0, 120, 40}, glBottom, SIZE{16, 16});
  EXPECT_EQ(area.bottom, 38 - 18);
}

TEST(ButtonGeometry, TheMenuButtonLeavesRoomForItsArrow) {
  TMenuButtonPlacement p = PlaceMenuButton(SIZE{100, 30}, SIZE{0, 0}, SIZE{40, 12}, -1, -1);
  EXPECT_EQ(p.margin, (100 - 48) / 4);
  EXPECT_EQ(p.text.x, 13 + 13);
  EXPECT_EQ(p.arrow.x, 26 + 40 + 26);
  EXPECT_EQ(p.arrow.y, (30 - 3) / 2);
  p = PlaceMenuButton(SIZE{100, 30}, SIZE{16, 16}, SIZE{40, 12}, -1, 2);
  EXPECT_EQ(p.margin, (100 - (16 + 40 + 4 + 8)) / 2);
  p = PlaceMenuButton(SIZE{100, 30}, SIZE{16, 16}, SIZE{40, 12}, 4, -1);
  EXPECT_EQ(p.spacing, ((100 + 8 - 8 - 16) - 40) / 2);
  EXPECT_EQ(p.glyph.y, 7);
  RECT area = MenuTextArea(RECT{0, 0, 100, 30}, SIZE{16, 16});
  EXPECT_EQ(area.right, 100 - 16 - 8 - 2);
}

// ---- the button with a drop-down arrow, on a stand-in of its kind -------------

class TKvMenuButton : public TButton {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info("TKvMenuButton", &TButton::StaticClass());
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TKvMenuButton(TComponent* owner) : TButton(owner) {}
};

const char kForm[] = R"(object FmMenuButton: TForm
  Caption = "Menu button"
  Left = 200
  Top = 150
  ClientWidth = 300
  ClientHeight = 120
  object edtFocus: TEdit
    Left = 8
    Top = 80
  end
end
)";

TEST(MenuButtonSkinner, ShowsItsStateAndAnArrowBesideTheCaption) {
  RegisterControlSkinners();
  TSkinData* skin = StartCodedSkin();
  ASSERT_NE(skin, nullptr);
  TKvMenuButton* b = nullptr;
  int clicks = 0;
  TForm* form = ShowSkinnedForm(kForm, [&](TForm* f) {
    b = new TKvMenuButton(f);
    b->SetParent(f);
    b->SetBounds(8, 8, 120, 30);
    b->SetCaption("Menu");
    b->OnClick = [&](TObject*) { clicks++; };
  });
  ASSERT_NE(form, nullptr);
  auto* s = SkinnerOf<TSkinMenuButton>(b);
  ASSERT_NE(s, nullptr) << "the class-name map makes it a menu button";
  SetFocus(static_cast<TWinControl*>(form->FindComponent("edtFocus"))->Handle());
  PumpApp(20);
  TCapture c = PaintInto(b->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(2, 15), ButtonFrameColour(skin, 1));
  // The arrow where the placement puts it, in the window text colour.
  HDC dc = GetDC(b->Handle());
  HGDIOBJ old = SelectObject(dc, b->Font()->Handle());
  RECT t = MenuTextArea(RECT{0, 0, 120, 30}, SIZE{0, 0});
  DrawTextW(dc, L"Menu", 4, &t, DT_CALCRECT | DT_WORDBREAK);
  SelectObject(dc, old);
  ReleaseDC(b->Handle(), dc);
  const TMenuButtonPlacement p =
      PlaceMenuButton(SIZE{120, 30}, SIZE{0, 0}, SIZE{t.right - t.left, t.bottom - t.top}, -1, -1);
  EXPECT_EQ(c.At(p.arrow.x, p.arrow.y), ColorToRGB(clWindowText));
  EXPECT_EQ(c.At(p.arrow.x, p.arrow.y + 1), ColorToRGB(clWindowText));
  EXPECT_NE(c.At(p.arrow.x + 4, p.arrow.y + 2), ColorToRGB(clWindowText));
  // Focused shows the hot image: the kind has no focused one.
  SetFocus(b->Handle());
  PumpApp(20);
  c = PaintInto(b->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(2, 15), ButtonFrameColour(skin, 4));
  ClickAt(b->Handle(), 30, 15);
  EXPECT_EQ(clicks, 1);
  b->SetEnabled(false);
  PumpApp(20);
  c = PaintInto(b->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(2, 15), ButtonFrameColour(skin, 3));
  EXPECT_EQ(c.At(p.arrow.x, p.arrow.y), ColorToRGB(clBtnShadow)) << "a disabled arrow";
  MoveMouseAway();
  form->Free();
  StopSkin(skin);
}

}  // namespace
