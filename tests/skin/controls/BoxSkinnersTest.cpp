// The status bar, group box and box skinners on a skinned framework form
// (stand-ins over the common status bar for the kind the framework lacks)
// and on plain windows: panel frames by bevel, texts in the skin's colour
// and alignment, the last panel stretched, the size grip, simple mode,
// classic bevels without the skin's edges, owner-drawn panels, group box
// frames and captions, panels taking the face colour and giving it back,
// and every skinner released with its control and when skinning stops.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "Application.h"
#include "BoxSkinners.h"
#include "CaptureProbes.h"
#include "CommonControlStandIns.h"
#include "ControlSkinners.h"
#include "FileIO.h"
#include "Form.h"
#include "Graphics.h"
#include "KvPanel.h"
#include "Panel.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinTestSupport.h"
#include "SkinnedFormFixture.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace skintest;

namespace {

constexpr COLORREF kCaptionColour = RGB(200, 0, 0);

class BoxSkinners : public SkinnedFormTest {
 protected:
  void SetUp() override {
    SkinnedFormTest::SetUp();
    if (HasFatalFailure()) return;
    form = new TForm(nullptr);
    form->SetBounds(100, 100, 460, 320);
  }
  void AfterFormFreed() override {
    if (raw.hwnd) DestroyWindow(raw.hwnd);
  }
  void Show() {
    form->Show();
    ASSERT_TRUE(Activate(form->Handle()));
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    formSkinner = SkinManager()->FindSkinnedForm(form->Handle());
    ASSERT_NE(formSkinner, nullptr);
  }
  COLORREF Edge(int frame) { return ImageColour(skin->StatusBarEdges->Bitmap, false, 3, frame); }
  COLORREF Face() { return ColorToRGB(skin->Colors[sc::ButtonFace]); }
  COLORREF Shadow() { return ColorToRGB(skin->Colors[sc::ButtonShadow]); }
  COLORREF StatusText() { return ColorToRGB(skin->StatusBarEdges->NormalColour2); }
  // A status bar on the form with three panels: lowered "left", raised
  // and centred "mid", and one without bevel.
  TStatusBarStandIn* ThreePanelBar(DWORD style = SBARS_SIZEGRIP) {
    auto* bar = new TStatusBarStandIn(form, style);
    bar->SetParent(form);
    HWND h = bar->Handle();
    int parts[3] = {120, 240, -1};
    SendMessageW(h, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    SendMessageW(h, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"left"));
    SendMessageW(h, SB_SETTEXTW, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>(L"\tmid"));
    SendMessageW(h, SB_SETTEXTW, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(L""));
    return bar;
  }
  static RECT PartRect(HWND bar, int i) {
    RECT r = {};
    SendMessageW(bar, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  TWinSkinForm* formSkinner = nullptr;
  TTestWindow raw;
};

// ---- status bar -----------------------------------------------------------

TEST_F(BoxSkinners, StatusPanelsAreFramedByTheirBevelsWithTextInTheSkinsColour) {
  TStatusBarStandIn* bar = ThreePanelBar();
  Show();
  ASSERT_NE(SkinnerOf<TSkinStatusBar>(bar), nullptr) << "discovery gives a status bar its skinner";
  HWND h = bar->Handle();
  const TCapture c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  const RECT r0 = PartRect(h, 0), r1 = PartRect(h, 1);
  EXPECT_EQ(c.At(r0.left + 3, r0.top + 1), Edge(1)) << "lowered";
  EXPECT_EQ(c.At(r1.left + 3, r1.top + 1), Edge(2)) << "raised";
  // The last panel, without bevel, reaches the bar's right edge.
  EXPECT_EQ(c.At(r1.right + 20, r1.top + 1), Edge(3));
  EXPECT_EQ(c.At(c.width - 2, r1.top + 1), Edge(3));
  // A panel's frame is two pixels wider than its part.
  EXPECT_EQ(c.At(r0.right + 1, r0.top + 1), Edge(1));

  const RECT ink0 = InkBounds(c, r0, {Edge(1)});
  ASSERT_GT(ink0.right, ink0.left) << "the panel's text";
  EXPECT_TRUE(HasColour(c, r0, StatusText())) << "in the colour of the skin's status bar edges";
  EXPECT_LE(ink0.left, r0.left + 4) << "left-aligned from 2 pixels in";
  const RECT ink1 = InkBounds(c, r1, {Edge(2)});
  ASSERT_GT(ink1.right, ink1.left);
  const int middle = (ink1.left + ink1.right) / 2, panelMiddle = (r1.left + r1.right + 2) / 2;
  EXPECT_LE(abs(middle - panelMiddle), 3) << "a leading tab centres the text";
}

TEST_F(BoxSkinners, TheSizeGripIsDrawnOnlyForAStatusBarWithTheGripStyle) {
  const COLORREF grip = ImageColour(skin->ExtraImages->Bitmap, false, skin->ExtraImages->Frame, 5);
  const int gw = skin->ExtraImages->FrameWidth(), gh = skin->ExtraImages->Bitmap.Height();
  TStatusBarStandIn* with = ThreePanelBar(SBARS_SIZEGRIP);
  TStatusBarStandIn* without = ThreePanelBar(0);
  Show();
  for (TStatusBarStandIn* bar : {with, without}) {
    const TCapture c = PaintInto(bar->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
    // The grip's middle (the image's middle) lies its bottom-right corner
    // one pixel inside the bar's.
    const COLORREF at = c.At(c.width - 1 - gw + gw / 2, c.height - 1 - gh + gh / 2);
    if (bar == with)
      EXPECT_EQ(at, grip);
    else
      EXPECT_EQ(at, Edge(3));
  }
}

TEST_F(BoxSkinners, AGripStripWithoutTheGripsImageOrWithNoFrameCountDrawsNoGrip) {
  const int gw = skin->ExtraImages->FrameWidth(), gh = skin->ExtraImages->Bitmap.Height();
  TStatusBarStandIn* bar = ThreePanelBar(SBARS_SIZEGRIP);
  Show();
  auto at = [&] {
    const TCapture c = PaintInto(bar->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
    return c.At(c.width - 1 - gw + gw / 2, c.height - 1 - gh + gh / 2);
  };
  skin->ExtraImages->Frame = 0;  // counts as one image: no fifth to show
  EXPECT_EQ(at(), Edge(3));
  skin->ExtraImages->Frame = 4;
  EXPECT_EQ(at(), Edge(3));
  skin->ExtraImages.reset();
  EXPECT_EQ(at(), Edge(3));
}

TEST_F(BoxSkinners, SimpleModeShowsOneLoweredFrameAndItsTextOnItsReadingSide) {
  auto* bar = new TStatusBarStandIn(form);
  bar->SetParent(form);
  bar->SetSimplePanel(true);
  Show();
  HWND h = bar->Handle();
  TCapture c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  const RECT all = {0, 0, c.width, c.height};
  EXPECT_EQ(c.At(1, 1), Edge(1));
  EXPECT_EQ(c.At(c.width - 2, c.height - 2), Edge(1));
  RECT ink = InkBounds(c, all, {Edge(1)});
  EXPECT_EQ(ink.right, ink.left) << "an empty simple text shows no text";

  bar->SetSimpleText("ready");
  c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  ink = InkBounds(c, all, {Edge(1)});
  ASSERT_GT(ink.right, ink.left);
  EXPECT_LE(ink.left, 5);
  bar->SetBiDiMode(bdRightToLeft);
  c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  ink = InkBounds(c, all, {Edge(1)});
  ASSERT_GT(ink.right, ink.left);
  EXPECT_GE(ink.right, c.width - 5) << "right-to-left: the text at the right";
}

TEST_F(BoxSkinners, WithoutTheSkinsEdgesPanelsGetClassicBevels) {
  TStatusBarStandIn* bar = ThreePanelBar(0);
  Show();
  skin->StatusBarEdges.reset();
  HWND h = bar->Handle();
  const TCapture c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  const RECT r0 = PartRect(h, 0), r1 = PartRect(h, 1);
  const COLORREF shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
  EXPECT_EQ(c.At(r0.left, r0.top + 3), shadow) << "lowered: dark at the top left";
  EXPECT_EQ(c.At(r0.right + 1, r0.top + 3), light);
  EXPECT_EQ(c.At(r1.left, r1.top + 3), light) << "raised: light at the top left";
  EXPECT_EQ(c.At(r1.right + 1, r1.top + 3), shadow);
  EXPECT_EQ(c.At(r1.right + 2, r1.top + 3), Face()) << "a panel without bevel has no frame";
  EXPECT_EQ(c.At(c.width - 1, r1.top + 3), Face());
}

TEST_F(BoxSkinners, OwnerDrawnPanelsAreDrawnByTheEventOrByTheParent) {
  TStatusBarStandIn* bar = ThreePanelBar(0);
  std::vector<RECT> asked;
  bar->OnDrawPanel = [&](TObject* sender, TCanvas* canvas, int panel, const RECT& r) {
    EXPECT_EQ(sender, bar);
    EXPECT_EQ(panel, static_cast<int>(asked.size()));
    asked.push_back(r);
    canvas->Brush()->SetColor(RGB(1, 200, 3));
    canvas->FillRect(r);
  };
  Show();
  HWND h = bar->Handle();
  asked.clear();
  const TCapture c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  ASSERT_EQ(asked.size(), 3u) << "every panel, whatever its style";
  RECT r0 = PartRect(h, 0);
  r0.right += 2;
  InflateRect(&r0, -2, -2);
  EXPECT_EQ(asked[0].left, r0.left);
  EXPECT_EQ(asked[0].right, r0.right);
  EXPECT_EQ(asked[0].top, r0.top);
  EXPECT_EQ(asked[2].right, c.width - 2) << "the last panel up to the bar's edge";
  EXPECT_EQ(c.At(r0.left + 1, r0.top + 1), RGB(1, 200, 3));

  // A status bar of no framework object: its owner-drawn panel is drawn by
  // its parent, as the control itself asks.
  HWND parent = MakeTestWindow(&raw, 300, 100);
  ASSERT_TRUE(WaitSkinned(parent));
  HWND plain = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr,
                               nullptr, nullptr);
  int parts[2] = {100, -1};
  SendMessageW(plain, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  SendMessageW(plain, SB_SETTEXTW, 0 | SBT_OWNERDRAW, 1234);
  SendMessageW(plain, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"plain"));
  auto* s = new TSkinStatusBar(nullptr);
  s->InitSkinHandle(plain, skin, nullptr, nullptr);
  raw.Clear();
  const TCapture p = PaintInto(plain, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(raw.Count(WM_DRAWITEM), 1);
  EXPECT_EQ(p.At(3, PartRect(plain, 0).top + 1), Edge(1));
  EXPECT_TRUE(HasColour(p, PartRect(plain, 1), StatusText()));
  s->Free();
}

TEST_F(BoxSkinners, ARightToLeftPanelAlignedLeftDrawsItsTextAtTheRight) {
  HWND parent = MakeTestWindow(&raw, 300, 100);
  ASSERT_TRUE(WaitSkinned(parent));
  HWND plain = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr,
                               nullptr, nullptr);
  int parts[2] = {150, -1};
  SendMessageW(plain, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  SendMessageW(plain, SB_SETTEXTW, 0 | SBT_RTLREADING, reinterpret_cast<LPARAM>(L"ab"));
  SendMessageW(plain, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"\t\tab"));
  auto* s = new TSkinStatusBar(nullptr);
  s->InitSkinHandle(plain, skin, nullptr, nullptr);
  EXPECT_EQ(s->Panel(0).alignment, 1);
  EXPECT_EQ(s->Panel(1).alignment, 1) << "two leading tabs right-align";
  const TCapture c = PaintInto(plain, SKM_PAINTCLIENTTO, kSkinMarker);
  const RECT r0 = PartRect(plain, 0);
  const RECT ink = InkBounds(c, r0, {Edge(1)});
  ASSERT_GT(ink.right, ink.left);
  EXPECT_GT(ink.left, (r0.left + r0.right) / 2);
  s->Free();
}

// ---- group box ------------------------------------------------------------------

TEST_F(BoxSkinners, AFrameworkGroupBoxIsARoundedShadowFrameWithItsCaptionOnTheFace) {
  auto* box = new TGroupBoxStandIn(form);
  box->SetParent(form);
  box->SetBounds(10, 10, 200, 120);
  box->SetParentFont(false);
  box->Font()->SetColor(kCaptionColour);
  box->SetText("");
  box->SetPublishedCaption("Group");
  Show();
  TSkinGroupBox* s = SkinnerOf<TSkinGroupBox>(box);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Mode, 1);
  const TCapture c = PaintInto(box->Handle(), WM_PAINT, 0);
  EXPECT_EQ(c.At(100, 60), Face()) << "filled with the skin's face colour";
  EXPECT_EQ(c.At(1, 60), Shadow()) << "the frame's left line";
  EXPECT_EQ(c.At(c.width - 2, 60), Shadow());
  EXPECT_EQ(c.At(100, c.height - 2), Shadow());
  EXPECT_EQ(c.At(0, 60), Face());
  const RECT top = {0, 0, c.width, 24};
  const RECT ink = PixelBounds(c, top, [](COLORREF p) { return p == kCaptionColour; });
  ASSERT_GT(ink.right, ink.left) << "an empty window text shows the Caption property, in the font's colour";
  EXPECT_GE(ink.left, 8);
  EXPECT_LE(ink.left, 10);
  // The frame line runs under the caption's row only where the caption is not.
  int lineY = -1;
  for (int y = 0; y < 24 && lineY < 0; y++)
    if (c.At(100, y) == Shadow()) lineY = y;
  ASSERT_GE(lineY, 0);
  EXPECT_NE(c.At(ink.left + 1, lineY), Shadow()) << "the caption is drawn opaque over the line";

  SetWindowLongW(box->Handle(), GWL_EXSTYLE, GetWindowLongW(box->Handle(), GWL_EXSTYLE) | WS_EX_RIGHT);
  const TCapture r = PaintInto(box->Handle(), WM_PAINT, 0);
  const RECT right = PixelBounds(r, top, [](COLORREF p) { return p == kCaptionColour; });
  ASSERT_GT(right.right, right.left);
  EXPECT_LE(right.right, r.width - 8) << "right-aligned: ending 8 pixels from the right";
  EXPECT_GE(right.right, r.width - 10);
}

TEST_F(BoxSkinners, APlainGroupBoxPaintsItselfAndIsPaintedOver) {
  HWND parent = MakeTestWindow(&raw, 300, 200);
  ASSERT_TRUE(WaitSkinned(parent));
  HWND box = CreateWindowExW(0, L"BUTTON", L"Plain", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 10, 200, 120, parent,
                             nullptr, nullptr, nullptr);
  SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  auto* s = new TSkinGroupBox(nullptr);
  s->InitSkinHandle(box, skin, nullptr, nullptr);
  EXPECT_EQ(s->Mode, 0);
  const TCapture c = PaintInto(box, WM_PAINT, 0);
  EXPECT_EQ(c.At(0, 60), Face()) << "the system's 3-D frame is covered";
  EXPECT_EQ(c.At(1, 60), Shadow());
  EXPECT_EQ(c.At(100, c.height - 2), Shadow());
  EXPECT_TRUE(HasColour(c, RECT{8, 0, 60, 20}, ColorToRGB(skin->Colors[sc::ButtonText])));
  s->Free();
  DestroyWindow(box);
}

// ---- box ------------------------------------------------------------------------

TEST_F(BoxSkinners, APanelTakesTheFaceColourKeepsItsPaintingAndGetsItsOwnColourBack) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 150, 80);
  panel->SetColor(clRed);
  auto* group = new kv::TKvGroupBox(form);
  group->SetParent(form);
  group->SetBounds(200, 10, 150, 80);
  auto* kvPanel = new kv::TKvPanel(form);
  kvPanel->SetParent(form);
  kvPanel->SetBounds(200, 100, 150, 80);
  const TColor groupColour = group->Color();
  Show();
  TSkinBox* s = SkinnerOf<TSkinBox>(panel);
  ASSERT_NE(s, nullptr);
  EXPECT_NE(SkinnerOf<TSkinBox>(group), nullptr) << "the extended group box is a panel";
  EXPECT_NE(SkinnerOf<TSkinBox>(kvPanel), nullptr);
  EXPECT_EQ(panel->Color(), skin->Colors[sc::ButtonFace]);
  EXPECT_EQ(group->Color(), skin->Colors[sc::ButtonFace]);
  EXPECT_EQ(SendMessageW(panel->Handle(), SKM_ISSKINNED, 0, 0), 0) << "the box does not stand in the procedure";
  const TCapture c = PaintInto(panel->Handle(), WM_PAINT, 0);
  EXPECT_EQ(c.At(75, 40), Face()) << "the panel paints itself in its new colour";
  // A second set-up changes nothing.
  s->InitSkin(formSkinner, skin, nullptr, true);
  EXPECT_EQ(s->SavedColour, clRed);

  // A new skin: the new face colour; the panel's own colour is still kept.
  skin->SetSkinFile(std::string(CARDINIT_SKIN_DIR) + "/TavrinBlue.skn");
  ASSERT_TRUE(PumpUntil([&] { return skin->SkinName == "Tavrin Blue" && SkinManager()->PendingSkinData == nullptr; }));
  EXPECT_EQ(panel->Color(), skin->Colors[sc::ButtonFace]);
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinnedForm(form->Handle()) == nullptr; }));
  EXPECT_EQ(panel->Color(), clRed);
  EXPECT_EQ(group->Color(), groupColour);
  EXPECT_EQ(SkinnerOf<TSkinBox>(panel), nullptr) << "released when skinning stops";
}

// ---- release ----------------------------------------------------------------------

TEST_F(BoxSkinners, EverySkinnerGoesWithItsControlAndWhenSkinningStops) {
  TStatusBarStandIn* bar = ThreePanelBar();
  TStatusBarStandIn* second = ThreePanelBar();
  auto* box = new TGroupBoxStandIn(form);
  box->SetParent(form);
  box->SetBounds(10, 10, 200, 120);
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(220, 10, 100, 60);
  Show();
  TSkinStatusBar* s = SkinnerOf<TSkinStatusBar>(second);
  TSkinBox* b = SkinnerOf<TSkinBox>(panel);
  ASSERT_NE(s, nullptr);
  ASSERT_NE(b, nullptr);
  const size_t before = formSkinner->FSkinners.size();
  second->Free();
  panel->Free();
  EXPECT_EQ(formSkinner->FSkinners.size(), before - 2);
  for (TSkinControl* k : formSkinner->FSkinners) {
    EXPECT_NE(k, s);
    EXPECT_NE(k, static_cast<TSkinControl*>(b));
  }

  HWND h = bar->Handle();
  EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 1);
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinnedForm(form->Handle()) == nullptr; }));
  EXPECT_EQ(SkinnerOf<TSkinStatusBar>(bar), nullptr);
  EXPECT_EQ(SkinnerOf<TSkinGroupBox>(box), nullptr);
  EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(SendMessageW(box->Handle(), SKM_ISSKINNED, 0, 0), 0);
  // The status bar paints itself again.
  const TCapture c = PaintInto(h, WM_PAINT, 0);
  EXPECT_NE(c.At(PartRect(h, 0).left + 3, 1), Edge(1));
}

// ---- drawing routines ---------------------------------------------------------

TEST(BoxDrawing, CentredTextArrowGlyphsAndAlignmentFlags) {
  EXPECT_EQ(AlignmentFlags(0), static_cast<UINT>(DT_LEFT));
  EXPECT_EQ(AlignmentFlags(1), static_cast<UINT>(DT_RIGHT));
  EXPECT_EQ(AlignmentFlags(2), static_cast<UINT>(DT_CENTER));
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(60, 30);
  TCanvas& c = *b.Canvas();
  c.Brush()->SetColor(clWhite);
  c.FillRect(RECT{0, 0, 60, 30});
  c.Font()->SetColor(clBlack);
  DrawCenteredText(c, RECT{0, 0, 60, 30}, L"ab", 0, true);
  int minX = 60, maxX = -1, minY = 30, maxY = -1;
  for (int y = 0; y < 30; y++)
    for (int x = 0; x < 60; x++)
      if (c.Pixel(x, y) != RGB(255, 255, 255)) {
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
  ASSERT_GE(maxX, 0);
  EXPECT_LE(abs((minX + maxX) / 2 - 30), 3) << "centred across";
  EXPECT_LE(abs((minY + maxY) / 2 - 15), 4) << "and down";

  c.Brush()->SetStyle(bsSolid);
  c.FillRect(RECT{0, 0, 60, 30});
  c.Pen()->SetColor(clBlack);
  DrawArrowGlyph(c, 10, 10, 0);  // up: the tip above, widening below
  EXPECT_EQ(c.Pixel(10, 10), RGB(0, 0, 0));
  EXPECT_EQ(c.Pixel(13, 13), RGB(0, 0, 0));
  EXPECT_EQ(c.Pixel(7, 13), RGB(0, 0, 0));
  EXPECT_EQ(c.Pixel(13, 8), RGB(255, 255, 255));
  DrawArrowGlyph(c, 40, 10, 7);  // no such direction: nothing
  for (int y = 0; y < 30; y++)
    for (int x = 30; x < 60; x++) ASSERT_EQ(c.Pixel(x, y), RGB(255, 255, 255));
}

}  // namespace
