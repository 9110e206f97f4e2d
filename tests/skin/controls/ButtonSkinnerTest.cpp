// The push-button skinners on a shown, skinned framework form and on plain
// "Button" windows: every state from its image of the skin's button strip
// (pixels read back at points where only the strip's image shows), the
// caption colours of the skin, real mouse and keyboard input giving
// exactly one click, none for a press that a modal window took (the
// button drawn up after it), the click of a plain window reaching its parent,
// a message box's buttons, a glyph placed beside the caption, a skin
// without button strip, and the skinners released when their controls go
// and when skinning is switched off.
#include <gtest/gtest.h>

#include <windows.h>

#include "ButtonSkinners.h"
#include "Buttons.h"
#include "ControlSkinners.h"
#include "ControlTestSupport.h"
#include "Dialogs.h"
#include "Edit.h"
#include "ImageList.h"
#include "Panel.h"
#include "SkinMessages.h"
#include "Subclass.h"

using namespace fw;
using namespace skintest;
using namespace ctltest;

namespace {

const char kForm[] = R"(object FmButtons: TForm
  Caption = "Buttons"
  Left = 200
  Top = 150
  ClientWidth = 420
  ClientHeight = 260
  object edtFocus: TEdit
    Left = 8
    Top = 220
    Width = 100
  end
  object btnPlain: TButton
    Left = 8
    Top = 8
    Width = 100
    Height = 30
    Caption = "Plain"
  end
  object btnDefault: TButton
    Left = 120
    Top = 8
    Width = 100
    Height = 30
    Caption = "Default"
    Default = True
  end
  object btnGlyph: TBitBtn
    Left = 8
    Top = 60
    Width = 140
    Height = 40
    Caption = "Glyph"
  end
  object btnOff: TButton
    Left = 240
    Top = 8
    Width = 100
    Height = 30
    Caption = "Off"
    Enabled = False
  end
end
)";

// A glyph of one colour inside a one-pixel frame of the transparent
// (bottom-left) colour.
constexpr COLORREF kGlyphInk = RGB(200, 30, 40);
void MakeGlyph(TBitmap& b, int w, int h, COLORREF ink = kGlyphInk) {
  b.SetPixelFormat(pf24bit);
  b.SetSize(w, h);
  HDC dc = b.Canvas()->Handle();
  RECT all = {0, 0, w, h}, inner = {1, 1, w - 1, h - 1};
  HBRUSH frame = CreateSolidBrush(RGB(0, 128, 128)), fill = CreateSolidBrush(ink);
  FillRect(dc, &all, frame);
  FillRect(dc, &inner, fill);
  DeleteObject(frame);
  DeleteObject(fill);
}

class ButtonSkinners : public CodedSkinTest {
 protected:
  void TearDown() override {
    MoveMouseAway();
    CodedSkinTest::TearDown();
  }
  void Show(const std::function<void(TForm*)>& extra = nullptr) {
    ASSERT_NO_FATAL_FAILURE(ShowSkinned(kForm, extra));
    Focus("edtFocus");
  }
  TWinControl* Control(const char* name) { return dynamic_cast<TWinControl*>(form->FindComponent(name)); }
  HWND Window(const char* name) { return Control(name)->Handle(); }
  void Focus(const char* name) {
    SetFocus(Window(name));
    PumpApp(20);
  }
  // The strip image shown: the colour at the left edge, half way down.
  COLORREF Shown(HWND button) {
    TCapture c = PaintInto(button, SKM_PAINTCLIENTTO, kSkinMarker);
    return c.At(2, c.height / 2);
  }
  COLORREF Frame(int n) { return ButtonFrameColour(skin, n); }
};

TEST_F(ButtonSkinners, EachStateShowsItsImageOfTheButtonStrip) {
  Show();
  HWND plain = Window("btnPlain");
  ASSERT_NE(SkinnerOf<TSkinButton>(Control("btnPlain")), nullptr);
  EXPECT_EQ(Shown(plain), Frame(1)) << "normal";
  MoveMouseTo(plain, 50, 15);
  EXPECT_EQ(Shown(plain), Frame(4)) << "hot";
  MouseDown();
  EXPECT_EQ(Shown(plain), Frame(2)) << "pressed";
  EXPECT_EQ(GetFocus(), plain) << "a press takes the focus";
  MouseUp();
  EXPECT_EQ(Shown(plain), Frame(4)) << "released, still hot";
  MoveMouseAway();
  EXPECT_EQ(Shown(plain), Frame(5)) << "focused";
  // The skinned window on the screen shows the same.
  TCapture screen = Screenshot(plain);
  EXPECT_EQ(screen.At(2, screen.height / 2), Frame(5));

  HWND def = Window("btnDefault");
  EXPECT_EQ(Shown(def), Frame(5)) << "a default button shows the focused image while idle";
  MoveMouseTo(def, 50, 15);
  EXPECT_EQ(Shown(def), Frame(4)) << "and the hot image while hot";
  MoveMouseAway();

  HWND off = Window("btnOff");
  EXPECT_EQ(Shown(off), Frame(3)) << "disabled";
  MoveMouseTo(off, 50, 15);
  EXPECT_EQ(Shown(off), Frame(3)) << "disabled whatever the mouse does";
  MoveMouseAway();
  // The corners of the strip are transparent: the skin's face colour shows.
  TCapture c = PaintInto(plain, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(0, 0), FaceColour(skin));
}

TEST_F(ButtonSkinners, CaptionColoursComeFromTheSkinsButtonObject) {
  Show();
  TDataSkinButton& b = *skin->Buttons;
  b.HasNormalColour2 = b.HasMouseOverColour2 = b.HasPressedColour2 = true;
  b.NormalColour2 = RGB(250, 0, 0);
  b.MouseOverColour2 = RGB(0, 200, 0);
  b.PressedColour2 = RGB(0, 0, 250);
  HWND plain = Window("btnPlain");
  auto ink = [&](COLORREF colour) {
    TCapture c = PaintInto(plain, SKM_PAINTCLIENTTO, kSkinMarker);
    return CountColour(c, RECT{10, 4, c.width - 10, c.height - 4}, colour);
  };
  EXPECT_GT(ink(b.NormalColour2), 0);
  MoveMouseTo(plain, 50, 15);
  EXPECT_GT(ink(b.MouseOverColour2), 0);
  EXPECT_EQ(ink(b.NormalColour2), 0);
  MouseDown();
  EXPECT_GT(ink(b.PressedColour2), 0);
  MouseUp();
  MoveMouseAway();
  // Disabled text is the shadow colour, whatever the skin gives.
  Control("btnPlain")->SetEnabled(false);
  PumpApp(20);
  EXPECT_GT(ink(ColorToRGB(clBtnShadow)), 0);
  EXPECT_EQ(ink(b.NormalColour2), 0);
}

TEST_F(ButtonSkinners, AClickGivesOneOnClickAndADragOffNone) {
  int clicks = 0;
  Show([&](TForm* f) {
    static_cast<TButton*>(f->FindComponent("btnPlain"))->OnClick = [&](TObject*) { clicks++; };
  });
  HWND plain = Window("btnPlain");
  ClickAt(plain, 50, 15);
  EXPECT_EQ(clicks, 1);
  // Pressed, dragged off and released elsewhere: no click.
  MoveMouseTo(plain, 50, 15);
  MouseDown();
  MoveMouseAway();
  MouseUp();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Shown(plain), Frame(5)) << "no longer pressed";
  // A double click is two clicks, as on the button itself.
  MoveMouseTo(plain, 50, 15);
  MouseDown();
  MouseUp();
  MouseDown();
  MouseUp();
  EXPECT_EQ(clicks, 3);
  // A click sent as a message (what a test driver does) is one click too.
  MoveMouseAway();
  SendMessageW(plain, BM_CLICK, 0, 0);
  PumpApp(20);
  EXPECT_EQ(clicks, 4);
}

TEST_F(ButtonSkinners, SpaceAndEnterClickOnceAndShowThePress) {
  int clicks = 0;
  Show([&](TForm* f) {
    static_cast<TButton*>(f->FindComponent("btnPlain"))->OnClick = [&](TObject*) { clicks++; };
  });
  HWND plain = Window("btnPlain");
  Focus("btnPlain");
  KeyDown(VK_SPACE);
  EXPECT_EQ(Shown(plain), Frame(2)) << "Space held shows the press";
  KeyUp(VK_SPACE);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Shown(plain), Frame(5));
  PressKey(VK_RETURN);
  EXPECT_EQ(clicks, 2);
  // Enter on the edit goes to the default button, not to this one.
  int defaults = 0;
  static_cast<TButton*>(Control("btnDefault"))->OnClick = [&](TObject*) { defaults++; };
  Focus("edtFocus");
  PressKey(VK_RETURN);
  EXPECT_EQ(defaults, 1);
  EXPECT_EQ(clicks, 2);
}

TEST_F(ButtonSkinners, APressIsStillTheControlsOnMouseDown) {
  int downs = 0, x = -1;
  Show([&](TForm* f) {
    static_cast<TButton*>(f->FindComponent("btnPlain"))->OnMouseDown =
        [&](TObject*, TMouseButton, TShiftState, int px, int) {
          downs++;
          x = px;
        };
  });
  MoveMouseTo(Window("btnPlain"), 40, 15);
  MouseDown();
  MouseUp();
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(x, 40);
}

TEST_F(ButtonSkinners, APressThatAModalWindowTookIsNoClick) {
  // The first press's OnMouseDown opens a modal form or a message box, or
  // a message box opens while the button is held (a timer's, say); Enter
  // closes it with the mouse button still held.
  enum TOpen { kForm, kBox, kBoxWhileHeld };
  int clicks = 0, presses = 0;
  TOpen open = kForm;
  TForm* dialog = nullptr;
  const auto showBox = [&] {
    TEnterAnswer::Start(form->Handle());
    ShowMessageBox(form->Handle(), "Box", "Box", MB_OK);
  };
  Show([&](TForm* f) {
    dialog = MakeEnterDialog(f);
    auto* b = static_cast<TButton*>(f->FindComponent("btnPlain"));
    b->OnClick = [&](TObject*) { clicks++; };
    b->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
      if (++presses > 1 || open == kBoxWhileHeld) return;
      if (open == kBox) return showBox();
      TEnterAnswer::Start(form->Handle());
      dialog->ShowModal();
    };
  });
  HWND plain = Window("btnPlain");
  for (const TOpen o : {kForm, kBox, kBoxWhileHeld}) {
    SCOPED_TRACE(o == kForm ? "modal form" : o == kBox ? "message box" : "message box while held");
    open = o;
    clicks = presses = 0;
    MoveMouseTo(plain, 50, 15);
    MouseDown();
    ASSERT_TRUE(PumpAppUntil([&] { return presses == 1; }));
    if (o == kBoxWhileHeld) showBox();
    EXPECT_TRUE(TEnterAnswer::answered);
    PumpApp(50);
    EXPECT_NE(Shown(plain), Frame(2)) << "drawn pressed by the press the window took";
    MouseUp();
    EXPECT_EQ(clicks, 0) << "the release after the window closed clicked the button";
    Sleep(GetDoubleClickTime() + 50);
    MouseDown();
    EXPECT_EQ(Shown(plain), Frame(2));
    MouseUp();
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(clicks, 1) << "the button's own click";
    Sleep(GetDoubleClickTime() + 50);
  }
}

// A push button of a library whose buttons raise OnMouseDown themselves.
class TRzButton : public TButton {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info("TRzButton", &TButton::StaticClass());
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TRzButton(TComponent* owner) : TButton(owner) {}
};

TEST_F(ButtonSkinners, OtherLibrariesButtonsKeepTheirPressAndTag5555ShowsTheParent) {
  TRzButton* rz = nullptr;
  TButton* clear = nullptr;
  int downs = 0, clicks = 0;
  Show([&](TForm* f) {
    rz = new TRzButton(f);
    rz->SetParent(f);
    rz->SetBounds(160, 60, 100, 30);
    rz->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { downs++; };
    rz->OnClick = [&](TObject*) { clicks++; };
    auto* panel = new TPanel(f);
    panel->SetParent(f);
    panel->SetBounds(160, 110, 140, 60);
    panel->SetColor(clRed);
    panel->SetTag(99);  // the panel keeps its own colour (no panel skinner)
    clear = new TButton(panel);
    clear->SetParent(panel);
    clear->SetBounds(10, 10, 100, 30);
    clear->SetTag(5555);
  });
  auto* s = SkinnerOf<TSkinButton>(rz);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Mode, TSkinButton::kKeepMouseDown);
  ClickAt(rz->Handle(), 30, 15);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(downs, 0) << "the press is not forwarded to such a button";
  auto* t = SkinnerOf<TSkinButton>(clear);
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(t->TransparentBackground);
  TCapture c = PaintInto(clear->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0)) << "the strip's cut corner shows the parent";
  EXPECT_EQ(c.At(2, c.height / 2), Frame(1));
  // Without the tag the corner shows the skin's face.
  EXPECT_FALSE(s->TransparentBackground);
  TCapture own = PaintInto(rz->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(own.At(0, 0), FaceColour(skin));
}

TEST_F(ButtonSkinners, AGlyphStandsBesideTheCaptionAndIsEmbossedWhenDisabled) {
  Show([&](TForm* f) {
    auto* b = static_cast<TBitBtn*>(f->FindComponent("btnGlyph"));
    TBitmap glyph;
    MakeGlyph(glyph, 18, 18);
    b->SetGlyph(&glyph);
    b->SetMargin(-1);
    b->SetSpacing(-1);
  });
  auto* button = static_cast<TBitBtn*>(Control("btnGlyph"));
  ASSERT_NE(SkinnerOf<TSkinBitButton>(button), nullptr);
  HWND h = button->Handle();
  TCapture c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  // Margin and spacing -1: margin, glyph, gap and caption in thirds.
  RECT glyphArea = {0, 0, c.width, c.height};
  int left = c.width, top = c.height;
  for (int y = 0; y < c.height; y++)
    for (int x = 0; x < c.width; x++)
      if (c.At(x, y) == kGlyphInk) {
        left = std::min(left, x);
        top = std::min(top, y);
      }
  ASSERT_LT(left, c.width) << "the glyph is drawn";
  HDC dc = GetDC(h);
  HGDIOBJ old = SelectObject(dc, button->Font()->Handle());
  SIZE text;
  GetTextExtentPoint32W(dc, L"Glyph", 5, &text);
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  const int margin = (c.width - (18 + text.cx)) / 3;
  EXPECT_NEAR(left, margin + 1, 1) << "the glyph's transparent frame is left out";
  EXPECT_EQ(top, (c.height - 18 + 1) / 2 + 1);
  (void)glyphArea;
  EXPECT_EQ(c.At(2, c.height / 2), Frame(1));

  button->SetEnabled(false);
  PumpApp(20);
  TCapture d = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(d.At(2, d.height / 2), Frame(3));
  EXPECT_EQ(CountColour(d, RECT{0, 0, d.width, d.height}, kGlyphInk), 0) << "no coloured glyph while disabled";
  EXPECT_GT(CountColour(d, RECT{left, top, left + 16, top + 16}, ColorToRGB(clBtnShadow)), 100)
      << "the embossed glyph in the shadow colour";
}

// A glyph button that takes its picture from an image list.
class TImageButton : public TBitBtn {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = [] {
      TClassInfo i = TClassInfo::Make<TImageButton>("TImageButton", &TBitBtn::StaticClass());
      i.Obj("Images", &TImageButton::Images, &TImageButton::SetImages)
          .Int("ImageIndex", &TImageButton::ImageIndex, &TImageButton::SetImageIndex, -1)
          .Int("DisabledIndex", &TImageButton::DisabledIndex, &TImageButton::SetDisabledIndex, -1);
      return i;
    }();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TImageButton(TComponent* owner) : TBitBtn(owner) {}
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* l) { images_ = l; }
  int32_t ImageIndex() const { return index_; }
  void SetImageIndex(int32_t i) { index_ = i; }
  int32_t DisabledIndex() const { return disabled_; }
  void SetDisabledIndex(int32_t i) { disabled_ = i; }

 private:
  TImageList* images_ = nullptr;
  int32_t index_ = -1, disabled_ = -1;
};

// A button with a picture property of its own (the class-name map's
// "pngbitbtn" kind).
class TPictureButton : public TBitBtn {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = [] {
      TClassInfo i = TClassInfo::Make<TPictureButton>("TPngBitBtn", &TBitBtn::StaticClass());
      i.Obj("PngImage", &TPictureButton::PngImage);
      return i;
    }();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TPictureButton(TComponent* owner) : TBitBtn(owner) {}
  TBitmap* PngImage() const { return picture_.get(); }

 private:
  std::unique_ptr<TBitmap> picture_{new TBitmap(16, 16, pf24bit)};
};

TEST_F(ButtonSkinners, PicturesComeFromAnImageListOrTheButtonsOwnPictureProperty) {
  TImageButton* images = nullptr;
  TPictureButton* picture = nullptr;
  TImageList* list = nullptr;
  Show([&](TForm* f) {
    list = new TImageList(f);
    TBitmap strip(32, 16, pf24bit);
    RECT a = {0, 0, 16, 16}, b = {16, 0, 32, 16};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(strip.Canvas()->Handle(), &a, red);
    FillRect(strip.Canvas()->Handle(), &b, blue);
    DeleteObject(red);
    DeleteObject(blue);
    list->AddMasked(strip, clFuchsia);
    images = new TImageButton(f);
    images->SetParent(f);
    images->SetBounds(160, 60, 120, 40);
    images->SetCaption("Images");
    images->SetImages(list);
    images->SetImageIndex(0);
    images->SetDisabledIndex(1);
    picture = new TPictureButton(f);
    picture->SetParent(f);
    picture->SetBounds(160, 110, 120, 40);
    picture->SetCaption("Picture");
    picture->SetDefault(true);
    RECT all = {0, 0, 16, 16};
    HBRUSH green = CreateSolidBrush(RGB(0, 180, 0));
    FillRect(picture->PngImage()->Canvas()->Handle(), &all, green);
    DeleteObject(green);
  });
  ASSERT_NE(SkinnerOf<TSkinBitButton>(images), nullptr);
  TCapture c = PaintInto(images->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_GT(CountColour(c, RECT{0, 0, c.width, c.height}, RGB(255, 0, 0)), 200) << "image 0";
  images->SetEnabled(false);
  PumpApp(20);
  c = PaintInto(images->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(CountColour(c, RECT{0, 0, c.width, c.height}, RGB(255, 0, 0)), 0);
  int bluish = 0;
  for (int y = 0; y < c.height; y++)
    for (int x = 0; x < c.width; x++) bluish += GetBValue(c.At(x, y)) > GetRValue(c.At(x, y)) + 60;
  EXPECT_GT(bluish, 100) << "the disabled index, in the list's disabled style";

  auto* ps = SkinnerOf<TSkinBitButton>(picture);
  ASSERT_NE(ps, nullptr);
  EXPECT_EQ(ps->PngPropertyName, "PngImage");
  HWND h = picture->Handle();
  TCapture p = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(CountColour(p, RECT{0, 0, p.width, p.height}, RGB(0, 180, 0)), 256) << "drawn unchanged";
  EXPECT_EQ(p.At(2, p.height / 2), Frame(1)) << "a default button of this kind shows no focused image";
  SetFocus(h);
  PumpApp(20);
  p = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(p.At(2, p.height / 2), Frame(5));
}

TEST_F(ButtonSkinners, PlainButtonWindowsTellTheirParentOfTheClick) {
  TTestWindow w;
  HWND top = MakeTestWindow(&w, 300, 200);
  ASSERT_TRUE(WaitSkinned(top));
  // A "TButton" class window without a control object (a plain window of
  // that class) posts no identifier.
  TButton registersClass(nullptr);
  registersClass.Handle();
  HWND button = CreateWindowExW(0, L"BUTTON", L"Raw", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 90, 28, top,
                                reinterpret_cast<HMENU>(1234), nullptr, nullptr);
  HWND framework = CreateWindowExW(0, L"TButton", L"Fw", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 110, 10, 90, 28,
                                   top, reinterpret_cast<HMENU>(77), nullptr, nullptr);
  ASSERT_NE(framework, nullptr);
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(top);
  ASSERT_NE(f, nullptr);
  // The button's own procedure, seen below the skinner.
  int ownTimers = 0;
  TWindowSubclass below;
  below.Install(button, [&](TMessage& m) {
    if (m.Msg == WM_TIMER) ownTimers++;
    below.CallPrevious(m);
  });
  f->SkinWindowChildren(top);
  auto* s = dynamic_cast<TSkinButton*>(f->FindSkinnerByHandle(button));
  ASSERT_NE(s, nullptr);
  ASSERT_NE(dynamic_cast<TSkinButton*>(f->FindSkinnerByHandle(framework)), nullptr);
  Pump(30);
  EXPECT_EQ(Shown(button), Frame(1));

  w.Clear();
  ClickAt(button, 40, 14);
  Pump(30);
  ASSERT_EQ(w.commands.size(), 1u);
  EXPECT_EQ(w.commands[0], 1234u);
  EXPECT_EQ(Shown(button), Frame(4));
  MoveMouseAway();
  EXPECT_EQ(Shown(button), Frame(5));
  w.Clear();
  ClickAt(framework, 40, 14);
  Pump(30);
  ASSERT_EQ(w.commands.size(), 1u);
  EXPECT_EQ(w.commands[0], 0u);
  MoveMouseAway();

  // A timer message is not passed on, whatever its number, and timer 1 goes.
  SetTimer(button, 1, 10000, nullptr);
  SendMessageW(button, WM_TIMER, 9, 0);
  EXPECT_EQ(ownTimers, 0);
  EXPECT_FALSE(KillTimer(button, 1)) << "timer 1 was killed already";

  // Switched off: the windows have their own procedures again.
  below.Remove();
  ASSERT_TRUE(SwitchSkinOff(skin, top));
  EXPECT_EQ(SendMessageW(button, SKM_ISSKINNED, 0, 0), 0);
  w.Clear();
  SendMessageW(button, BM_CLICK, 0, 0);
  Pump(30);
  EXPECT_EQ(w.commands.size(), 1u) << "the button clicks by itself, once";
  DestroyWindow(top);
}

// ---- message boxes ----------------------------------------------------------------------

struct TBoxVisit {
  static TBoxVisit* current;
  COLORREF okImage = 0, cancelImage = 0;
  bool skinned = false;
  int tries = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    TBoxVisit* v = current;
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!v || !box) return;
    HWND ok = GetDlgItem(box, IDOK), cancel = GetDlgItem(box, IDCANCEL);
    const bool ready = ok && cancel && SendMessageW(ok, SKM_ISSKINNED, 0, 0) == 1;
    if (!ready && ++v->tries < 60) return;
    KillTimer(nullptr, id);
    v->skinned = ready;
    TCapture o = PaintInto(ok, SKM_PAINTCLIENTTO, kSkinMarker);
    TCapture c = PaintInto(cancel, SKM_PAINTCLIENTTO, kSkinMarker);
    v->okImage = o.At(2, o.height / 2);
    v->cancelImage = c.At(2, c.height / 2);
    // Cancel clicked as a user clicks it.
    RECT r;
    GetClientRect(cancel, &r);
    POINT p = {r.right / 2, r.bottom / 2};
    ClientToScreen(cancel, &p);
    SetCursorPos(p.x, p.y);
    SendMouse(MOUSEEVENTF_MOVE);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
  }
};
TBoxVisit* TBoxVisit::current = nullptr;

TEST_F(ButtonSkinners, AMessageBoxsButtonsAreSkinnedAndAnswerWhatIsClicked) {
  TTestWindow w;
  HWND owner = MakeTestWindow(&w, 300, 200);
  ASSERT_TRUE(WaitSkinned(owner));
  TBoxVisit visit;
  TBoxVisit::current = &visit;
  SetTimer(nullptr, 0, 50, TBoxVisit::Tick);
  const int answer = MessageBoxW(owner, L"A question of the test", L"\x63D0\x793A", MB_OKCANCEL | MB_ICONQUESTION);
  TBoxVisit::current = nullptr;
  EXPECT_TRUE(visit.skinned);
  EXPECT_EQ(visit.okImage, Frame(5)) << "the focused button";
  EXPECT_EQ(visit.cancelImage, Frame(1));
  EXPECT_EQ(answer, IDCANCEL);
  DestroyWindow(owner);
}

// ---- the skin without strip, frame counts, release ---------------------------------------

TEST_F(ButtonSkinners, WithoutAButtonStripTheButtonsPaintThemselvesAndStillClick) {
  int clicks = 0;
  Show([&](TForm* f) {
    static_cast<TButton*>(f->FindComponent("btnPlain"))->OnClick = [&](TObject*) { clicks++; };
  });
  HWND plain = Window("btnPlain");
  TBitmap keep;
  keep.Assign(skin->Buttons->Bitmap);
  skin->Buttons->Bitmap.Clear();
  InvalidateRect(plain, nullptr, TRUE);
  PumpApp(20);
  TCapture own = PaintInto(plain, WM_PAINT, 0);
  for (int n = 1; n <= 5; n++) EXPECT_NE(own.At(2, own.height / 2), Frame(n == 5 ? 1 : n));
  EXPECT_NE(own.At(2, own.height / 2), 0x00123456u) << "the button painted itself";
  ClickAt(plain, 50, 15);
  EXPECT_EQ(clicks, 1);
  // A frame count below 1 counts as one image.
  skin->Buttons->Bitmap.Assign(keep);
  skin->Buttons->Frame = 0;
  TCapture one = PaintInto(plain, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_NE(one.At(2, one.height / 2), 0x00123456u);
}

TEST_F(ButtonSkinners, SkinnersGoWithTheirControlsAndWhenSkinningIsSwitchedOff) {
  Show();
  TWinControl* plain = Control("btnPlain");
  ASSERT_EQ(SkinnerCount(plain), 1);
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  const size_t registered = f->FSkinners.size();
  plain->Free();
  EXPECT_EQ(f->FSkinners.size(), registered - 1) << "the skinner left the register with its control";

  TWinControl* glyph = Control("btnGlyph");
  HWND h = glyph->Handle();
  const TColor colour = glyph->Color();
  ASSERT_TRUE(SwitchSkinOff(skin, form->Handle()));
  EXPECT_EQ(SkinnerCount(glyph), 0);
  EXPECT_EQ(SkinnerCount(Control("btnDefault")), 0);
  EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(glyph->Color(), colour);
  TCapture own = PaintInto(h, WM_PAINT, 0);
  EXPECT_NE(own.At(2, own.height / 2), Frame(1)) << "the bitmap button draws itself again";
}

}  // namespace
