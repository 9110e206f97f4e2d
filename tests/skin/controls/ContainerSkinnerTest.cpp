// The container, page and glyph skinners: size grips on the face colour
// (other scroll bars of that class left alone), a page of a page control
// under its windowless controls, a child dialog whose static children
// stand on the face colour, a tab control with button tabs, a page
// control given its tab images and its scroll arrows skinned through the
// registry of kinds, check boxes and radio buttons fed glyph strips
// composed from the skin's, and the embossed picture of a disabled glyph.
// Kinds the framework lacks are stand-ins with the published properties
// those controls have.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <map>
#include <memory>

#include "ContainerSkinners.h"
#include "ControlSkinners.h"
#include "ControlTestSupport.h"
#include "DisabledGlyph.h"
#include "GlyphImageSkinner.h"
#include "Label.h"
#include "PageSkinners.h"
#include "SkinDraw.h"
#include "SkinMessages.h"

using namespace fw;
using namespace skintest;
using namespace ctltest;

namespace {

COLORREF PixelOf(TBitmap& b, int x, int y) { return GetPixel(b.Canvas()->Handle(), x, y) & 0xFFFFFF; }

// A strip of n images of w x h, image k (from 0) of colour inks(k).
void MakeStrip(TBitmap& b, int n, int w, int h, const std::function<COLORREF(int)>& inks) {
  SetSkinBitmapSize(b, n * w, h);
  HDC dc = b.Canvas()->Handle();
  for (int k = 0; k < n; k++) {
    RECT r = {k * w, 0, (k + 1) * w, h};
    HBRUSH brush = CreateSolidBrush(inks(k));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
}

COLORREF Ink(int k) { return RGB(20 + 30 * k, 200 - 20 * k, 60); }

// ---- the disabled glyph ------------------------------------------------------------------

TEST(DisabledGlyph, DarkPixelsAreEmbossedInShadowAndHighlight) {
  TBitmap glyph(10, 10, pf24bit);
  HDC dc = glyph.Canvas()->Handle();
  RECT all = {0, 0, 10, 10}, square = {2, 2, 6, 6}, grey = {7, 1, 9, 3};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  HBRUSH light = CreateSolidBrush(RGB(230, 230, 230));
  FillRect(dc, &grey, light);
  DeleteObject(light);
  std::unique_ptr<TBitmap> d(CreateDisabledGlyph(glyph));
  ASSERT_EQ(d->Width(), 10);
  ASSERT_EQ(d->Height(), 10);
  const COLORREF face = ColorToRGB(clBtnFace), shadow = ColorToRGB(clBtnShadow), hi = ColorToRGB(clBtnHighlight);
  EXPECT_EQ(PixelOf(*d, 3, 3), shadow);
  EXPECT_EQ(PixelOf(*d, 5, 5), shadow);
  EXPECT_EQ(PixelOf(*d, 6, 6), hi) << "one pixel down and right of the dark square";
  EXPECT_EQ(PixelOf(*d, 6, 3), hi);
  EXPECT_EQ(PixelOf(*d, 0, 0), face);
  EXPECT_EQ(PixelOf(*d, 8, 2), face) << "light pixels are left out";
  EXPECT_EQ(PixelOf(*d, 0, 9), face) << "the transparent corner stays face coloured";
  TBitmap empty;
  std::unique_ptr<TBitmap> none(CreateDisabledGlyph(empty));
  EXPECT_TRUE(none->Empty());
  // The glyph's transparent colour counts as light even when it is dark.
  EXPECT_TRUE(IsLightGlyphPixel(RGB(0, 128, 128), RGB(0, 128, 128)));
  EXPECT_FALSE(IsLightGlyphPixel(RGB(0, 0, 0), RGB(0, 128, 128)));
}

// ---- stand-ins ---------------------------------------------------------------------------

// A check box or radio button that draws its own glyphs from a strip.
class TGlyphBox : public TCustomControl {
 public:
  static const TClassInfo& Info(const char* name) {
    static std::map<std::string, std::unique_ptr<TClassInfo>> infos;
    auto& slot = infos[name];
    if (!slot) {
      slot.reset(new TClassInfo(TClassInfo::Make<TGlyphBox>(name, &TCustomControl::StaticClass())));
      slot->Obj("CustomGlyphs", &TGlyphBox::CustomGlyphs)
          .Bool("UseCustomGlyphs", &TGlyphBox::UseCustomGlyphs, &TGlyphBox::SetUseCustomGlyphs, false)
          .Int("TransparentColor", &TGlyphBox::TransparentColor, &TGlyphBox::SetTransparentColor, 0);
      PublishColorAndFont(*slot, clBtnFace);
    }
    return *slot;
  }
  TGlyphBox(TComponent* owner, const char* name) : TCustomControl(owner), info_(&Info(name)) {}
  const TClassInfo& ClassInfo() const override { return *info_; }
  TBitmap* CustomGlyphs() const { return glyphs_.get(); }
  bool UseCustomGlyphs() const { return use_; }
  void SetUseCustomGlyphs(bool v) {
    use_ = v;
    switches.push_back(v);
  }
  int32_t TransparentColor() const { return transparent_; }
  void SetTransparentColor(int32_t v) { transparent_ = v; }
  std::vector<bool> switches;

 private:
  const TClassInfo* info_;
  std::unique_ptr<TBitmap> glyphs_{new TBitmap};
  bool use_ = false;
  int32_t transparent_ = 0;
};

// The properties object of a check box that keeps its glyph there.
class TBoxProperties : public TPersistent {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = [] {
      TClassInfo i("TcxCheckBoxProperties", &TPersistent::StaticClass());
      i.Obj("Glyph", &TBoxProperties::Glyph);
      return i;
    }();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  TBitmap* Glyph() const { return glyph_.get(); }

 private:
  std::unique_ptr<TBitmap> glyph_{new TBitmap};
};

class TPropertiesBox : public TCustomControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = [] {
      TClassInfo i = TClassInfo::Make<TPropertiesBox>("TcxCheckBox", &TCustomControl::StaticClass());
      i.Obj("Properties", &TPropertiesBox::Properties);
      return i;
    }();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TPropertiesBox(TComponent* owner) : TCustomControl(owner) {}
  TBoxProperties* Properties() const { return properties_.get(); }

 private:
  std::unique_ptr<TBoxProperties> properties_{new TBoxProperties};
};

// A page control that is given its tab images.
class TAdvPages : public TCustomControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = [] {
      TClassInfo i = TClassInfo::Make<TAdvPages>("TAdvPageControl", &TCustomControl::StaticClass());
      i.Obj("TabBackGround", &TAdvPages::TabBackGround).Obj("TabBackGroundActive", &TAdvPages::TabBackGroundActive);
      PublishColorAndFont(i, clBtnFace);
      return i;
    }();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TAdvPages(TComponent* owner) : TCustomControl(owner) {}
  TBitmap* TabBackGround() const { return normal_.get(); }
  TBitmap* TabBackGroundActive() const { return active_.get(); }

 private:
  std::unique_ptr<TBitmap> normal_{new TBitmap}, active_{new TBitmap};
};

const TClassInfo& TabSheetKind() {
  static const TClassInfo info = [] {
    TClassInfo i("TTabSheet", &TCustomControl::StaticClass());
    PublishColorAndFont(i, clBtnFace);
    return i;
  }();
  return info;
}

const char kForm[] = R"(object FmContainers: TForm
  Caption = "Containers"
  Left = 200
  Top = 150
  ClientWidth = 400
  ClientHeight = 300
end
)";

// A kind of the tests made where the real one is not built (the up-down).
class TUpDownStandIn : public TSkinControl {
 public:
  explicit TUpDownStandIn(TComponent* owner) : TSkinControl(owner) { made++; }
  ~TUpDownStandIn() override { freed++; }
  static int made, freed;
};
int TUpDownStandIn::made = 0;
int TUpDownStandIn::freed = 0;

class ContainerSkinners : public CodedSkinTest {
 protected:
  void Show(const std::function<void(TForm*)>& extra) { ShowSkinned(kForm, extra); }
  COLORREF CheckImage(int n) {
    return ImageColour(skin->Buttons->CheckBitmap, false, skin->Buttons->CheckButtonFrame, n);
  }
  COLORREF RadioImage(int n) { return ImageColour(skin->Buttons->RadioBitmap, false, skin->Buttons->RadioFrame, n); }
};

// ---- size grips, pages, child dialogs ------------------------------------------------------

TEST_F(ContainerSkinners, SizeGripsTakeTheFaceColourAndOtherScrollBarsStayTheirOwn) {
  TTestWindow w;
  HWND top = MakeTestWindow(&w, 300, 200);
  ASSERT_TRUE(WaitSkinned(top));
  HWND grip = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 280, 180, 20, 20, top,
                              nullptr, nullptr, nullptr);
  HWND bar = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, 10, 10, 17, 150, top,
                             nullptr, nullptr, nullptr);
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(top);
  f->SkinWindowChildren(top);
  auto* g = dynamic_cast<TSkinSizer*>(f->FindSkinnerByHandle(grip));
  auto* b = dynamic_cast<TSkinSizer*>(f->FindSkinnerByHandle(bar));
  ASSERT_NE(g, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(g->IsSizeGrip());
  EXPECT_FALSE(b->IsSizeGrip());
  TCapture gc = PaintInto(grip, WM_PAINT, 0);
  EXPECT_EQ(CountColour(gc, RECT{0, 0, gc.width, gc.height}, FaceColour(skin)), gc.width * gc.height);
  TCapture bc = PaintInto(bar, WM_PAINT, 0);
  EXPECT_LT(CountColour(bc, RECT{0, 0, bc.width, bc.height}, FaceColour(skin)), bc.width * bc.height / 2)
      << "a scroll bar keeps its arrows and thumb";
  ASSERT_TRUE(SwitchSkinOff(skin, top));
  EXPECT_EQ(SendMessageW(grip, SKM_ISSKINNED, 0, 0), 0);
  DestroyWindow(top);
}

TEST_F(ContainerSkinners, APageShowsTheFaceColourUnderItsWindowlessControls) {
  TCustomStandIn* sheet = nullptr;
  Show([&](TForm* f) {
    sheet = new TCustomStandIn(f, TabSheetKind());
    sheet->SetParent(f);
    sheet->SetBounds(10, 10, 200, 120);
    sheet->SetColor(clRed);
    auto* label = new TLabel(f);
    label->SetParent(sheet);
    label->SetBounds(10, 10, 100, 20);
    label->SetCaption("Label on the page");
  });
  auto* s = SkinnerOf<TSkinTabSheet>(sheet);
  ASSERT_NE(s, nullptr);
  HWND h = sheet->Handle();
  TCapture c = PaintInto(h, WM_PAINT, 0);
  EXPECT_EQ(c.At(150, 100), FaceColour(skin));
  EXPECT_GT(CountColour(c, RECT{10, 10, 110, 30}, ColorToRGB(clWindowText)), 5) << "the label painted on it";
  TCapture e = PaintInto(h, WM_ERASEBKGND, 0);
  EXPECT_EQ(e.At(150, 100), FaceColour(skin));
  // In another mode the page paints and erases itself.
  s->Configure("Mode", "2");
  e = PaintInto(h, WM_ERASEBKGND, 0);
  EXPECT_EQ(e.At(150, 100), RGB(255, 0, 0));
  s->Configure("Mode", "0");
  ASSERT_TRUE(SwitchSkinOff(skin, form->Handle()));
  EXPECT_EQ(SkinnerCount(sheet), 0);
  e = PaintInto(h, WM_ERASEBKGND, 0);
  EXPECT_EQ(e.At(150, 100), RGB(255, 0, 0));
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return 0; }

// A child dialog with one static text.
HWND ChildDialog(HWND parent) {
  struct {
    DLGTEMPLATE dlg;
    WORD menu, cls, title;  // the item follows on a four-byte boundary
    DLGITEMTEMPLATE item;
    WORD itemClass[2];
    WCHAR text[8];
    WORD extra;
  } t = {};
  static_assert(offsetof(decltype(t), item) % 4 == 0, "items start on four-byte boundaries");
  t.dlg.style = WS_CHILD | WS_VISIBLE | DS_CONTROL;
  t.dlg.cdit = 1;
  t.dlg.cx = 120;
  t.dlg.cy = 60;
  t.item.style = WS_CHILD | WS_VISIBLE | SS_LEFT;
  t.item.x = 5;
  t.item.y = 5;
  t.item.cx = 100;
  t.item.cy = 12;
  t.item.id = 100;
  t.itemClass[0] = 0xFFFF;
  t.itemClass[1] = 0x0082;  // static
  wcscpy(t.text, L"Static");
  return CreateDialogIndirectParamW(nullptr, &t.dlg, parent, QuietDialog, 0);
}

TEST_F(ContainerSkinners, AChildDialogsStaticTextStandsOnTheFaceColour) {
  TTestWindow w;
  HWND top = MakeTestWindow(&w, 300, 200);
  ASSERT_TRUE(WaitSkinned(top));
  HWND dialog = ChildDialog(top);
  ASSERT_NE(dialog, nullptr);
  HWND text = GetDlgItem(dialog, 100);
  ASSERT_NE(text, nullptr);
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(top);
  f->SkinWindowChildren(top);
  ASSERT_NE(dynamic_cast<TSkinBoxH*>(f->FindSkinnerByHandle(dialog)), nullptr);
  TCapture e = PaintInto(dialog, WM_ERASEBKGND, 0);
  EXPECT_EQ(e.At(e.width - 2, e.height - 2), FaceColour(skin));
  EXPECT_EQ(SendMessageW(dialog, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(text)),
            reinterpret_cast<LRESULT>(skin->FaceBrush->Handle()));
  TCapture s = PaintInto(text, WM_PAINT, 0);
  EXPECT_EQ(s.At(s.width - 2, s.height - 2), FaceColour(skin)) << "the static fills with the face brush";
  ASSERT_TRUE(SwitchSkinOff(skin, top));
  EXPECT_NE(SendMessageW(dialog, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(text)),
            reinterpret_cast<LRESULT>(skin->FaceBrush->Handle()));
  DestroyWindow(top);
}

// ---- tabs as buttons, the page control given its tab images ---------------------------------

TEST_F(ContainerSkinners, ButtonTabsAreButtonImagesTheFocusedOnePressed) {
  TTestWindow w;
  HWND top = MakeTestWindow(&w, 360, 200);
  ASSERT_TRUE(WaitSkinned(top));
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, nullptr, WS_CHILD | WS_VISIBLE | TCS_BUTTONS, 10, 10, 320, 120, top,
                              nullptr, nullptr, nullptr);
  ASSERT_NE(tabs, nullptr);
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  const wchar_t* names[3] = {L"First", L"Second", L"Third"};
  for (int i = 0; i < 3; i++) {
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(names[i]);
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(top);
  TSkinControl* s = MakeSkinner("TSkinTabBtn", f);
  ASSERT_NE(s, nullptr);
  s->InitSkinHandle(tabs, skin, f, nullptr);
  auto probe = [&](int index) {
    RECT r;
    SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    TCapture c = PaintInto(tabs, WM_PAINT, 0);
    return c.At(r.left + 2, r.top + 1 + (r.bottom - r.top) / 2);
  };
  EXPECT_EQ(probe(0), ButtonFrameColour(skin, 2)) << "the focused tab";
  EXPECT_EQ(probe(1), ButtonFrameColour(skin, 1));
  SendMessageW(tabs, TCM_SETCURFOCUS, 2, 0);
  EXPECT_EQ(probe(2), ButtonFrameColour(skin, 2));
  EXPECT_EQ(probe(0), ButtonFrameColour(skin, 1));
  // Captions drawn on them.
  RECT r;
  SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  TCapture c = PaintInto(tabs, WM_PAINT, 0);
  int dark = 0;
  for (int y = r.top + 3; y < r.bottom - 1; y++)
    for (int x = r.left + 3; x < r.right - 3; x++) {
      const COLORREF p = c.At(x, y);
      dark += GetRValue(p) + GetGValue(p) + GetBValue(p) < 200;
    }
  EXPECT_GT(dark, 5) << "black text";
  // Without the button strip the control paints itself.
  skin->Buttons->Bitmap.Clear();
  EXPECT_NE(probe(2), ButtonFrameColour(skin, 2));
  s->Free();
  DestroyWindow(top);
}

TEST_F(ContainerSkinners, APageControlIsGivenItsTabImagesAndItsArrowsAreSkinnedOnce) {
  // The up-down kind is another's: a stand-in is registered if it is not built.
  const TSkinnerMaker real = FindSkinnerMaker("TSkinUpDown");
  if (!real)
    RegisterSkinnerClass("TSkinUpDown", [](TComponent* owner) -> TSkinControl* { return new TUpDownStandIn(owner); });
  TUpDownStandIn::made = TUpDownStandIn::freed = 0;
  skin->Skin3rd()->Add("TAdvPageControl=advpagecontrol");
  TAdvPages* pages = nullptr;
  Show([&](TForm* f) {
    pages = new TAdvPages(f);
    pages->SetParent(f);
    pages->SetBounds(10, 10, 300, 150);
  });
  auto* s = SkinnerOf<TSkinAdvPage>(pages);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->PageStyle, TSkinAdvPage::kSuppliedTabImages);
  TDataSkinBorder& tabs = *skin->Tabs;
  ASSERT_EQ(pages->TabBackGround()->Width(), 100);
  ASSERT_EQ(pages->TabBackGround()->Height(), 21);
  EXPECT_EQ(PixelOf(*pages->TabBackGround(), 50, 10), ImageColour(tabs.Bitmap, false, tabs.Frame, 1));
  EXPECT_EQ(PixelOf(*pages->TabBackGroundActive(), 50, 10), ImageColour(tabs.Bitmap, false, tabs.Frame, 2));
  EXPECT_EQ(pages->Color(), skin->Colors[sc::ButtonFace]) << "it takes the skin's face colour";
  EXPECT_EQ(s->UpDown, nullptr);
  // The arrows appear (the tabs no longer fit): skinned at the next paint, once.
  HWND arrows = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 260, 2, 30, 18, pages->Handle(),
                                nullptr, nullptr, nullptr);
  ASSERT_NE(arrows, nullptr);
  RedrawWindow(pages->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpApp(20);
  ASSERT_NE(s->UpDown, nullptr);
  EXPECT_EQ(s->UpDown->Handle, arrows);
  TSkinControl* first = s->UpDown;
  RedrawWindow(pages->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpApp(20);
  EXPECT_EQ(s->UpDown, first);
  if (!real) {
    EXPECT_EQ(TUpDownStandIn::made, 1);
  }
  // Switched off: the images are taken back and no pointer to a freed
  // skinner is kept.
  ASSERT_TRUE(SwitchSkinOff(skin, form->Handle()));
  EXPECT_TRUE(pages->TabBackGround()->Empty());
  EXPECT_TRUE(pages->TabBackGroundActive()->Empty());
  EXPECT_EQ(SkinnerCount(pages), 0);
  if (!real) {
    EXPECT_EQ(TUpDownStandIn::freed, 1);
  }
  if (!real) UnregisterSkinnerClass("TSkinUpDown");
}

TEST_F(ContainerSkinners, APageControlOfAnotherStyleGetsNoTabImagesButItsArrowsAreSkinned) {
  const TSkinnerMaker real = FindSkinnerMaker("TSkinUpDown");
  if (!real)
    RegisterSkinnerClass("TSkinUpDown", [](TComponent* owner) -> TSkinControl* { return new TUpDownStandIn(owner); });
  TAdvPages* pages = nullptr;
  Show([&](TForm* f) {
    pages = new TAdvPages(f);
    pages->SetParent(f);
    pages->SetBounds(10, 10, 300, 150);
  });
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  auto* s = static_cast<TSkinAdvPage*>(MakeSkinner("TSkinAdvPage", pages));
  s->InitSkin(f, skin, nullptr, true);
  EXPECT_TRUE(pages->TabBackGround()->Empty());
  CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 260, 2, 30, 18, pages->Handle(), nullptr, nullptr,
                  nullptr);
  RedrawWindow(pages->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpApp(20);
  EXPECT_NE(s->UpDown, nullptr);
  // The arrows' skinner freed on its own: the page's pointer is cleared.
  s->UpDown->Free();
  EXPECT_EQ(s->UpDown, nullptr);
  pages->Free();
  if (!real) UnregisterSkinnerClass("TSkinUpDown");
}

// ---- glyph strips ---------------------------------------------------------------------------

TEST_F(ContainerSkinners, ControlsThatDrawTheirOwnGlyphsAreFedStripsFromTheSkin) {
  TGlyphBox* check = nullptr;
  TGlyphBox* radio = nullptr;
  TPropertiesBox* props = nullptr;
  Show([&](TForm* f) {
    check = new TGlyphBox(f, "TKvCheckBox");
    check->SetParent(f);
    check->SetBounds(10, 10, 100, 20);
    check->SetColor(clRed);
    radio = new TGlyphBox(f, "TKvRadioButton");
    radio->SetParent(f);
    radio->SetBounds(10, 40, 100, 20);
    props = new TPropertiesBox(f);
    props->SetParent(f);
    props->SetBounds(10, 70, 100, 20);
  });
  auto* cs = SkinnerOf<TSkinObjImage>(check);
  ASSERT_NE(cs, nullptr);
  EXPECT_EQ(cs->GlyphKind, gkCheckCustomGlyphs);
  EXPECT_EQ(SkinnerOf<TSkinObjImage>(radio)->GlyphKind, gkRadioCustomGlyphs);
  EXPECT_EQ(SkinnerOf<TSkinObjImage>(props)->GlyphKind, gkCheckPropertiesGlyph);
  // Nine images from the skin's twelve: f0 f1 - f0 f1 - f2 f3 -, the
  // fifth-image slots blank because the skin's strip has not five.
  TBitmap& g = *check->CustomGlyphs();
  const int w = skin->Buttons->CheckBitmap.Width() / skin->Buttons->CheckButtonFrame;
  ASSERT_EQ(g.Width(), 9 * w);
  const int order[9] = {1, 2, 0, 1, 2, 0, 3, 4, 0};
  for (int i = 0; i < 9; i++)
    EXPECT_EQ(PixelOf(g, i * w + w / 2, w / 2), order[i] ? CheckImage(order[i]) : kSkinKeyColour) << "slot " << i;
  EXPECT_TRUE(check->UseCustomGlyphs());
  ASSERT_GE(check->switches.size(), 2u);
  EXPECT_FALSE(check->switches[check->switches.size() - 2]) << "switched off and on to reload";
  EXPECT_EQ(check->TransparentColor(), static_cast<int32_t>(kSkinKeyColour));
  // Six from the radio strip: f0 f1 f0 f1 f2 f3.
  TBitmap& r = *radio->CustomGlyphs();
  const int rw = skin->Buttons->RadioBitmap.Width() / skin->Buttons->RadioFrame;
  const int radioOrder[6] = {1, 2, 1, 2, 3, 4};
  for (int i = 0; i < 6; i++)
    EXPECT_EQ(PixelOf(r, i * rw + rw / 2, rw / 2), RadioImage(radioOrder[i])) << "slot " << i;
  // Six into the properties' glyph, magenta its transparent colour.
  TBitmap& p = *props->Properties()->Glyph();
  EXPECT_EQ(p.Width(), 6 * w);
  EXPECT_EQ(p.TransparentColor(), static_cast<TColor>(kSkinKeyColour));
  EXPECT_FALSE(p.Transparent());

  ASSERT_TRUE(SwitchSkinOff(skin, form->Handle()));
  EXPECT_FALSE(check->UseCustomGlyphs());
  EXPECT_FALSE(radio->UseCustomGlyphs());
  EXPECT_TRUE(props->Properties()->Glyph()->Empty());
  EXPECT_EQ(check->Color(), clRed) << "no colour of the control is written back";
  EXPECT_EQ(SkinnerCount(check), 0);
}

TEST(GlyphStrips, FifthImagesComeOnlyFromStripsOfFiveAndNothingIsReadPastTheStrip) {
  TBitmap five, two, out;
  MakeStrip(five, 5, 10, 10, Ink);
  ASSERT_TRUE(ComposeGlyphStrip(five, 5, gkCheckCustomGlyphs, out));
  const int order[9] = {0, 1, 4, 0, 1, 4, 2, 3, 4};
  for (int i = 0; i < 9; i++) EXPECT_EQ(PixelOf(out, i * 10 + 5, 5), Ink(order[i])) << "slot " << i;
  // A strip of two: the images it lacks stay blank.
  MakeStrip(two, 2, 10, 10, Ink);
  ASSERT_TRUE(ComposeGlyphStrip(two, 2, gkRadioCustomGlyphs, out));
  EXPECT_EQ(out.Width(), 60);
  EXPECT_EQ(PixelOf(out, 15, 5), Ink(1));
  EXPECT_EQ(PixelOf(out, 45, 5), kSkinKeyColour);
  EXPECT_EQ(PixelOf(out, 55, 5), kSkinKeyColour);
  // A count below one is one image; an empty strip or no kind gives none.
  ASSERT_TRUE(ComposeGlyphStrip(two, 0, gkCheckPropertiesGlyph, out));
  EXPECT_EQ(out.Width(), 6 * 20);
  TBitmap empty;
  EXPECT_FALSE(ComposeGlyphStrip(empty, 5, gkCheckCustomGlyphs, out));
  EXPECT_FALSE(ComposeGlyphStrip(five, 5, gkNone, out));
}

}  // namespace
