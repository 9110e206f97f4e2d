// The speed-button skinner on a shown, skinned form: a windowless button
// painted through its own canvas from the skin's button strip (flat ones
// only while hot or pressed), its Down property and glyph images, hover
// from the framework's mouse notices, its own click kept, drawn up after a
// modal form took its press, the checked combo box's drop-down button, a
// hidden button left unpainted, one skinner per button however often the
// form is walked, and release.
#include <gtest/gtest.h>

#include <windows.h>

#include "Buttons.h"
#include "CheckedComboBox.h"
#include "Dialogs.h"
#include "ControlSkinners.h"
#include "ControlTestSupport.h"
#include "KvRegistration.h"
#include "SkinMessages.h"
#include "SpeedButtonSkinner.h"

using namespace fw;
using namespace skintest;
using namespace ctltest;

namespace {

const char kForm[] = R"(object FmSpeed: TForm
  Caption = "Speed"
  Left = 200
  Top = 150
  ClientWidth = 320
  ClientHeight = 160
  object sbFlat: TSpeedButton
    Left = 10
    Top = 10
    Width = 60
    Height = 30
    Flat = True
    Caption = "Flat"
  end
  object sbPlain: TSpeedButton
    Left = 80
    Top = 10
    Width = 60
    Height = 30
    Caption = "Plain"
  end
  object sbGroup: TSpeedButton
    Left = 150
    Top = 10
    Width = 60
    Height = 30
    GroupIndex = 1
  end
  object sbOff: TSpeedButton
    Left = 220
    Top = 10
    Width = 60
    Height = 30
    Caption = "Off"
    Enabled = False
  end
  object ccbList: TCheckedComboBox
    Left = 10
    Top = 80
    Width = 150
    Items = ("a" "b" "c")
  end
end
)";

// A strip of n glyphs of 12 x 12, glyph k (from 0) of colour inks[k],
// each inside a frame of the transparent (bottom-left) colour.
void MakeGlyphStrip(TBitmap& b, const std::vector<COLORREF>& inks) {
  const int n = static_cast<int>(inks.size());
  b.SetPixelFormat(pf24bit);
  b.SetSize(12 * n, 12);
  HDC dc = b.Canvas()->Handle();
  RECT all = {0, 0, 12 * n, 12};
  HBRUSH key = CreateSolidBrush(RGB(0, 128, 128));
  FillRect(dc, &all, key);
  DeleteObject(key);
  for (int k = 0; k < n; k++) {
    RECT r = {12 * k + 1, 1, 12 * k + 11, 11};
    HBRUSH ink = CreateSolidBrush(inks[static_cast<size_t>(k)]);
    FillRect(dc, &r, ink);
    DeleteObject(ink);
  }
}

const std::vector<COLORREF> kInks = {RGB(200, 0, 0), RGB(0, 150, 0), RGB(0, 0, 210), RGB(210, 210, 0)};

class SpeedButtonSkinner : public CodedSkinTest {
 protected:
  void SetUp() override {
    kv::RegisterKvClasses();
    CodedSkinTest::SetUp();
  }
  void TearDown() override {
    MoveMouseAway();
    CodedSkinTest::TearDown();
  }
  void Show(const std::function<void(TForm*)>& extra = nullptr) { ShowSkinned(kForm, extra); }
  TSpeedButton* Button(const char* name) { return dynamic_cast<TSpeedButton*>(form->FindComponent(name)); }
  // The form's client area as painted now (windowless buttons with it).
  TCapture Client() {
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return PaintInto(form->Handle(), WM_PAINT, 0);
  }
  // The strip image a button shows: at its left edge, half way down.
  COLORREF Shown(TControl* b) { return Client().At(b->Left() + 2, b->Top() + b->Height() / 2); }
  COLORREF Frame(int n) { return ButtonFrameColour(skin, n); }
};

TEST_F(SpeedButtonSkinner, FlatAndPlainButtonsShowTheStripByState) {
  int clicks = 0;
  Show([&](TForm* f) { static_cast<TSpeedButton*>(f->FindComponent("sbFlat"))->OnClick = [&](TObject*) { clicks++; }; });
  TSpeedButton* flat = Button("sbFlat");
  auto* s = SkinnerOf<TSkinSpeedButton>(flat);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->PaintTarget, flat);
  EXPECT_EQ(s->Control, nullptr);
  EXPECT_EQ(s->Handle, nullptr);
  EXPECT_EQ(Shown(flat), FaceColour(skin)) << "a flat button shows no strip image while idle";
  EXPECT_EQ(Shown(Button("sbPlain")), Frame(1));
  MoveMouseTo(form->Handle(), flat->Left() + 30, flat->Top() + 15);
  EXPECT_EQ(Shown(flat), Frame(4)) << "hot";
  MouseDown();
  EXPECT_EQ(Shown(flat), Frame(2)) << "pressed";
  MouseUp();
  EXPECT_EQ(clicks, 1) << "the button's own click, once";
  EXPECT_EQ(Shown(flat), Frame(4));
  MoveMouseAway();
  EXPECT_EQ(Shown(flat), FaceColour(skin));
  // On the screen too.
  TCapture screen = Screenshot(form->Handle());
  POINT at = {flat->Left() + 2, flat->Top() + 15};
  ClientToScreen(form->Handle(), &at);
  RECT w;
  GetWindowRect(form->Handle(), &w);
  EXPECT_EQ(screen.At(at.x - w.left, at.y - w.top), FaceColour(skin));

  TSpeedButton* off = Button("sbOff");
  EXPECT_EQ(Shown(off), Frame(3)) << "disabled";
  TCapture c = Client();
  EXPECT_GT(CountColour(c, RECT{off->Left() + 4, off->Top() + 4, off->Left() + 56, off->Top() + 26},
                        ColorToRGB(clBtnShadow)),
            0)
      << "disabled text in the shadow colour";
}

TEST_F(SpeedButtonSkinner, ADownButtonShowsThePressedImageAndTheGlyphThatStaysDown) {
  Show([&](TForm* f) {
    auto* b = static_cast<TSpeedButton*>(f->FindComponent("sbGroup"));
    TBitmap strip;
    MakeGlyphStrip(strip, kInks);
    b->SetGlyph(&strip);
    b->SetNumGlyphs(4);
    b->SetDown(true);
  });
  TSpeedButton* b = Button("sbGroup");
  ASSERT_TRUE(b->Down());
  EXPECT_EQ(Shown(b), Frame(2));
  const RECT inside = {b->Left(), b->Top(), b->Left() + b->Width(), b->Top() + b->Height()};
  TCapture c = Client();
  EXPECT_GT(CountColour(c, inside, kInks[3]), 50) << "glyph 4";
  EXPECT_EQ(CountColour(c, inside, RGB(0, 128, 128)), 0) << "the glyphs' key colour";
  EXPECT_EQ(CountColour(c, inside, kInks[0]), 0);
  // With fewer glyphs the first one stands in.
  b->SetNumGlyphs(2);
  c = Client();
  EXPECT_GT(CountColour(c, inside, kInks[0]), 50);
  // Disabled and up: the disabled glyph.
  b->SetDown(false);
  b->SetAllowAllUp(true);
  b->SetDown(false);
  b->SetNumGlyphs(4);
  b->SetEnabled(false);
  ASSERT_FALSE(b->Down());
  c = Client();
  EXPECT_EQ(c.At(b->Left() + 2, b->Top() + 15), Frame(3));
  EXPECT_GT(CountColour(c, inside, kInks[1]), 50) << "glyph 2";
}

TEST_F(SpeedButtonSkinner, AButtonWhoseDoubleClickOpenedAModalFormIsUpAfterIt) {
  // The double click's second press opens a modal form that Enter closes
  // with the mouse button still held.
  int clicks = 0, doubles = 0;
  TForm* dialog = nullptr;
  Show([&](TForm* f) {
    dialog = MakeEnterDialog(f);
    auto* b = static_cast<TSpeedButton*>(f->FindComponent("sbPlain"));
    b->OnClick = [&](TObject*) { clicks++; };
    b->OnDblClick = [&](TObject*) {
      doubles++;
      TEnterAnswer::Start(form->Handle());
      dialog->ShowModal();
    };
  });
  TSpeedButton* b = Button("sbPlain");
  MoveMouseTo(form->Handle(), b->Left() + 30, b->Top() + 15);
  MouseDown();
  MouseUp();
  MouseDown();
  ASSERT_TRUE(PumpAppUntil([&] { return doubles == 1; }));
  EXPECT_TRUE(TEnterAnswer::answered);
  PumpApp(50);
  EXPECT_NE(Shown(b), Frame(2)) << "drawn pressed by the press the form took";
  MouseUp();
  EXPECT_NE(Shown(b), Frame(2));
  EXPECT_EQ(clicks, 1);
  // Its own presses still show and click.
  Sleep(GetDoubleClickTime() + 50);
  MouseDown();
  EXPECT_EQ(Shown(b), Frame(2));
  MouseUp();
  EXPECT_EQ(clicks, 2);
}

// A press lost while the button is held, after its press was handled: a
// message box opens (a timer's, say) and Enter closes it, or another window
// takes the pointer. The button is drawn up at once, with the mouse button
// still held over it, and its release clicks nothing.
TEST_F(SpeedButtonSkinner, AButtonWhosePressWasLostWhileHeldIsDrawnUp) {
  int clicks = 0;
  Show([&](TForm* f) {
    static_cast<TSpeedButton*>(f->FindComponent("sbPlain"))->OnClick = [&](TObject*) { clicks++; };
  });
  TSpeedButton* b = Button("sbPlain");
  HWND other = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10,
                               nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  MoveMouseTo(form->Handle(), b->Left() + 30, b->Top() + 15);
  for (const bool box : {true, false}) {
    SCOPED_TRACE(box ? "a message box" : "another window took the pointer");
    MouseDown();
    ASSERT_EQ(Shown(b), Frame(2));
    if (box) {
      TEnterAnswer::Start(form->Handle());
      ShowMessageBox(form->Handle(), "Box", "Box", MB_OK);
      EXPECT_TRUE(TEnterAnswer::answered);
    } else {
      SetCapture(other);
    }
    PumpApp(50);
    EXPECT_NE(Shown(b), Frame(2)) << "drawn pressed after its press was lost";
    MouseUp();
    if (GetCapture() == other) ReleaseCapture();
    PumpApp(30);
    EXPECT_EQ(clicks, 0);
    Sleep(GetDoubleClickTime() + 50);
  }
  DestroyWindow(other);
  // Its own presses still show and click.
  MouseDown();
  EXPECT_EQ(Shown(b), Frame(2));
  MouseUp();
  EXPECT_EQ(clicks, 1);
}

TEST_F(SpeedButtonSkinner, TheCheckedComboBoxsButtonIsSkinnedAndOpensTheList) {
  Show();
  auto* combo = dynamic_cast<kv::TCheckedComboBox*>(form->FindComponent("ccbList"));
  ASSERT_NE(combo, nullptr);
  TSpeedButton* b = combo->ButtonPart();
  auto* s = SkinnerOf<TSkinSpeedButton>(b);
  ASSERT_NE(s, nullptr);
  // However often the form is walked, one skinner paints the button.
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  f->SkinFormControls(form);
  int painting = 0;
  for (TSkinControl* r : f->FSkinners) painting += r->PaintTarget == b;
  EXPECT_EQ(painting, 1);
  TCapture c = PaintInto(combo->Handle(), WM_PAINT, 0);
  EXPECT_EQ(c.At(b->Left() + 2, b->Top() + b->Height() / 2), Frame(1));
  // The drop-down glyph over it, its key colour left out.
  const RECT inside = {b->Left(), b->Top(), b->Left() + b->Width(), b->Top() + b->Height()};
  EXPECT_GT(CountColour(c, inside, RGB(0, 0, 0)), 5) << "the arrow";
  EXPECT_EQ(CountColour(c, inside, ColorToRGB(clOlive)), 0) << "the glyph's key colour";
  ClickAt(combo->Handle(), b->Left() + b->Width() / 2, b->Top() + b->Height() / 2);
  EXPECT_TRUE(PumpAppUntil([&] { return combo->PopupShown(); })) << "the button's click opens the list";
  combo->PopupForm()->Hide();
  PumpApp(30);
}

TEST_F(SpeedButtonSkinner, AHiddenButtonIsNotPaintedAndANestedPaintIsDropped) {
  Show([&](TForm* f) { static_cast<TSpeedButton*>(f->FindComponent("sbPlain"))->SetTag(5555); });
  TSpeedButton* b = Button("sbPlain");
  auto* s = SkinnerOf<TSkinSpeedButton>(b);
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(s->TransparentBackground);
  // Over the parent's background (the form's face) the strip's cut corners
  // show the form; painting the parent under the button does not recurse.
  TCapture c = Client();
  EXPECT_EQ(c.At(b->Left() + 2, b->Top() + 15), Frame(1));
  EXPECT_EQ(c.At(b->Left(), b->Top()), FaceColour(skin));
  EXPECT_FALSE(s->Painting);
  b->SetVisible(false);
  c = Client();
  EXPECT_NE(c.At(b->Left() + 2, b->Top() + 15), Frame(1));
  // Asked to paint anyway, it draws nothing.
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 60, 30);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT all = {0, 0, 60, 30};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  s->PaintFrame(dc);
  EXPECT_EQ(GetPixel(dc, 2, 15), RGB(0, 0, 0));
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST_F(SpeedButtonSkinner, SkinnersGoWithTheirButtonsAndWhenSkinningIsSwitchedOff) {
  Show();
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  const size_t registered = f->FSkinners.size();
  Button("sbFlat")->Free();
  EXPECT_EQ(f->FSkinners.size(), registered - 1);
  TSpeedButton* plain = Button("sbPlain");
  ASSERT_TRUE(SwitchSkinOff(skin, form->Handle()));
  EXPECT_EQ(SkinnerCount(plain), 0);
  EXPECT_NE(Shown(plain), Frame(1)) << "the button paints itself again";
  int clicks = 0;
  plain->OnClick = [&](TObject*) { clicks++; };
  ClickAt(form->Handle(), plain->Left() + 30, plain->Top() + 15);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
