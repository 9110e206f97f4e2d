#include "SkinDataContent.h"

#include <gtest/gtest.h>

#include "ArchiveBuilder.h"
#include "ImgUtil.h"
#include "SkinColors.h"
#include "SkinDraw.h"
#include "SkinMessage.h"
#include "SkinPaint.h"

using namespace fw;

namespace {

std::vector<uint8_t> Bmp(const TSkinPixels& b) { return paint::BmpFile(b); }

TPixelBuffer Solid(int w, int h, TColor c) { return TPixelBuffer(w, h, c); }

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) { v[at] = uint8_t(x); v[at + 1] = uint8_t(x >> 8); }
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) { Put16(v, at, x & 0xFFFF); Put16(v, at + 2, x >> 16); }

// A 3 x 2 image with a 4-entry palette at 8 bits per pixel (black, magenta,
// green, white), rows bottom-up: top row 0 1 2, bottom row 3 2 1.
std::vector<uint8_t> PaletteBmp() {
  std::vector<uint8_t> v(14 + 40 + 16 + 8, 0);
  v[0] = 'B';
  v[1] = 'M';
  Put32(v, 2, uint32_t(v.size()));
  Put32(v, 10, 14 + 40 + 16);
  Put32(v, 14, 40);
  Put32(v, 18, 3);
  Put32(v, 22, 2);
  Put16(v, 26, 1);
  Put16(v, 28, 8);
  Put32(v, 46, 4);  // colours used
  const uint8_t pal[16] = {0, 0, 0, 0, 255, 0, 255, 0, 0, 255, 0, 0, 255, 255, 255, 0};
  std::copy(pal, pal + 16, v.begin() + 54);
  const uint8_t rows[8] = {3, 2, 1, 0, 0, 1, 2, 0};
  std::copy(rows, rows + 8, v.begin() + 70);
  return v;
}

// A pixel of a skin object's image.
TColor Px(TBitmap& b, int x, int y) { return PixelsOf(b).Pixel(x, y); }

// A strip of `frames` images of w x h, image i in colour colours[i].
TPixelBuffer Frames(int frames, int w, int h, std::vector<TColor> colours) {
  TPixelBuffer b(frames * w, h);
  for (int i = 0; i < frames; i++) b.FillRect(i * w, 0, (i + 1) * w, h, colours[i % colours.size()]);
  return b;
}

struct Loaded {
  TSkinDataContent skin;
  std::vector<std::string> messages;
  bool ok = false;
};

std::unique_ptr<Loaded> Load(const std::string& ini, std::vector<TestPart> bitmaps = {}) {
  auto l = std::make_unique<Loaded>();
  bitmaps.insert(bitmaps.begin(), TestPart{"skin.ini", Bytes(ini)});
  l->skin.SkinArchive = TSkinMemoryStream(PackedArchive(70000, 69, bitmaps));
  Loaded* raw = l.get();
  TSkinMessageHandler old = SetSkinMessageHandler([raw](const std::string& t) { raw->messages.push_back(t); });
  l->ok = l->skin.LoadSkin();
  SetSkinMessageHandler(old);
  return l;
}

}  // namespace

TEST(SkinSchema, EmptyDescriptionTakesEveryDefault) {
  auto l = Load("");
  ASSERT_TRUE(l->ok);
  const TSkinDataContent& s = l->skin;
  EXPECT_FALSE(s.NotLoaded);
  const std::pair<int, TColor> defaults[] = {
      {sc::WindowText, clWindowText}, {sc::TitleTextActive, clCaptionText},
      {sc::TitleTextNoActive, clInactiveCaptionText}, {sc::ButtonFace, clBtnFace},
      {sc::ButtonText, clBtnText}, {sc::ButtonHilight, clBtnHighlight}, {sc::Buttonlight, clBtnHighlight},
      {sc::ButtonShadow, clBtnShadow}, {sc::ButtonDkShadow, cl3DDkShadow}, {9, 0}, {10, 0},
      {sc::HilightText, clHighlightText}, {sc::Hilight, clHighlight}, {sc::Menubar, clBtnFace},
      {sc::MenuBarText, clMenuText}, {sc::MenuText, clMenuText}, {sc::Menu, clMenu},
      {sc::WindowColor, clBtnFace}, {sc::Scrollbar, clScrollBar}};
  for (auto [slot, colour] : defaults) {
    EXPECT_EQ(s.Colors[slot], colour) << slot;
    EXPECT_FALSE(s.ColorSet[slot]) << slot;
  }
  EXPECT_TRUE(s.SectionColors.empty());
  for (TColor c : s.CustomColors) EXPECT_EQ(c, kWhite);
  EXPECT_EQ(s.SkinName, "");

  // The caption buttons are only the three of the MDI child.
  ASSERT_EQ(s.SysButtons.size(), 3u);
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(s.SysButtons[i]->Action, 7 + i);
    EXPECT_EQ(s.SysButtons[i]->Align, 100);
    EXPECT_EQ(s.SysButtons[i]->Visibility, 100);
    EXPECT_EQ(s.SysButtons[i]->Visibility1, 100);
    EXPECT_EQ(s.SysButtons[i]->Frame, 4);
    EXPECT_TRUE(s.SysButtons[i]->Bitmap.Empty());
  }
  for (const auto* b : {s.BorderLeft.get(), s.BorderRight.get(), s.BorderTop.get(), s.BorderBottom.get()}) {
    EXPECT_EQ(b->Frame, 1);
    EXPECT_EQ(b->Tile, 1);
    EXPECT_EQ(b->Trans, 1);
    EXPECT_TRUE(b->Bitmap.Empty());
  }
  EXPECT_EQ(s.Title->FontHeight, 14);
  EXPECT_EQ(s.Title->ActiveTextColor, 0x1FFFFFFF);
  EXPECT_EQ(s.Title->InactiveTextColor, 0x1FFFFFFF);
  EXPECT_EQ(s.Title->Frame, 2);
  EXPECT_EQ(s.Buttons->Frame, 5);
  EXPECT_EQ(s.Buttons->RadioFrame, 4);
  EXPECT_EQ(s.Buttons->CheckButtonFrame, 4);
  EXPECT_EQ(s.Buttons->NormalColour, -1);
  EXPECT_FALSE(s.Buttons->HasNormalColour2);
  EXPECT_EQ(s.Buttons->NormalColour2, clBtnText);

  for (const TDataSkinObject* o : std::initializer_list<const TDataSkinObject*>{s.Progress.get(), s.ProgressChunk.get(), s.GroupBoxEdge.get(), s.Tabs.get(),
                        s.MenuBar.get(), s.StatusBarEdges.get(), s.TabPane.get(), s.ToolBars.get(),
                        s.ComboButton.get(), s.SunkEdge.get(), s.ExtraImages.get(), s.HeaderBar.get(),
                        s.MenuItem.get(), s.MenuBackground.get(), s.ScrollBar.get(), s.HorzScroll.get(),
                        s.VertScroll.get(), s.HorzScrollThumb.get(), s.VertScrollThumb.get(),
                        s.TrackThumbHorz.get(), s.TrackThumbDown.get(), s.UpDownHorz.get(), s.UpDownVert.get()})
    EXPECT_EQ(o, nullptr);
  EXPECT_EQ(s.GroupBox, nullptr);

  // Tracks fall back to the built-in grooves.
  ASSERT_NE(s.Track, nullptr);
  EXPECT_EQ(s.Track->Bitmap.Width(), 16);
  EXPECT_EQ(s.Track->Bitmap.Height(), 4);
  EXPECT_EQ(s.Track->Margins(), SkinRect(3, 3, 3, 3));
  EXPECT_EQ(s.Track->Frame, 1);
  ASSERT_NE(s.TrackVert, nullptr);
  EXPECT_EQ(s.TrackVert->Bitmap.Width(), 4);

  // Built images always exist.
  ASSERT_NE(s.ComboArrow, nullptr);
  EXPECT_EQ(s.ComboArrow->Name, "ComboxArrow");
  EXPECT_TRUE(s.ComboArrow->Bitmap.Empty());
  ASSERT_NE(s.Toolbar, nullptr);
  EXPECT_EQ(s.Toolbar->Bitmap.Width(), 10);
  EXPECT_EQ(s.Toolbar->Bitmap.Height(), 40);
  // Top: 15 % button face, 85 % white. Bottom: 15 % grey on the window
  // colour, unless that colour is pale and saturated.
  const TColor face = SkinColorToRGB(clBtnFace);
  auto mix = [](int a, int b) { return (b * 850 + a * 150 + 500) / 1000; };
  EXPECT_EQ(Px(s.Toolbar->Bitmap, 5, 0),
            RGBColor(mix(RedOf(face), 255), mix(GreenOf(face), 255), mix(BlueOf(face), 255)));
  if (ColorSaturation(face) <= 110) {
    EXPECT_EQ(Px(s.Toolbar->Bitmap, 5, 39),
              RGBColor(mix(128, RedOf(face)), mix(128, GreenOf(face)), mix(128, BlueOf(face))));
  }
}

TEST(SkinSchema, ReadersTakeTheirKeys) {
  const std::string ini =
      "[TitlebarSkin]\nSkinName=Test Skin\n"
      "[Personality]\nLeft=left.bmp\nLeftTopHeight=5\nLeftBotHeight=6\nLeftFrame=2\nLeftStretch=7\n"
      "Top=art\\top.bmp\nTopTopHeight=8\nTopBotHeight=9\nTopTrans=0\n"
      "menuBar=menubar.bmp\nTileLeftMenu=4\n"
      "TextBack=top.bmp\nTextShift=11\nTextShiftVert=12\nTextRightClip=13\nTXTBackleft=2\n"
      "ActiveTextR=300\nActiveTextG=2\nActiveTextB=3\nInActiveTextR=1\nInActiveTextG=-1\nInActiveTextB=3\n"
      "[Fonts]\nFontHeight=17\n"
      "[Colours]\nButtonFace=10,20,30\nWindowText=1 2 3 4 5\nHilight=99999999999999999999 1 2\n"
      "[Colour1]\ncolor=4 5 6\n[COLOURx]\n[Customcolors]\nColor3=7 8 9\n"
      "[Buttons]\nBitmap=button.bmp\nCheckButtonFrame=12\nRadioButtonFrame=8\nNormalColour=0x10\n"
      "MouseOverColour2=1 1 1\nTile=3\n"
      "[Progress]\nBitmap=button.bmp\nStyle=1\nTile=5\n"
      "[Tab.Pane]\nImage=button.bmp\nLeftWidth=7\nTopHeight=2\nRightWidth=5\nBottomHeight=4\n"
      "[Headerbar]\nImage=button.bmp\nFrame=5\n"
      "[MenuItem]\nImage=button.bmp\nFrame=2\nLeftWidth=-3\n"
      "[HorzScrollThumb]\nImage=button.bmp\nFrameCount=4\n"
      "[VertScrollThumb]\nImage=button.bmp\n"
      "[GroupBox]\nImage=button.bmp\nBackgroundLeftShift=6\nTile=2\n"
      "[Tabs]\nImage=button.bmp\nBorder=top.bmp\n"
      "[UpDown.Horz]\nImage=button.bmp\n"
      "[ToolBars]\nImage=UPPER.BMP\n"
      "[Track]\nImage=button.bmp\nFrame=0\n";
  auto l = Load(ini, {{"left.bmp", Bmp(Solid(4, 30, RGBColor(1, 1, 1)))},
                      {"top.bmp", Bmp(Frames(2, 30, 9, {RGBColor(11, 12, 13), RGBColor(0, 0, 0)}))},
                      {"menubar.bmp", Bmp(Solid(10, 20, 0))},
                      {"button.bmp", Bmp(Solid(50, 20, 0))},
                      {"upper.bmp", Bmp(Solid(5, 5, 0))}});
  ASSERT_TRUE(l->ok);
  const TSkinDataContent& s = l->skin;
  EXPECT_EQ(s.SkinName, "Test Skin");
  EXPECT_EQ(s.BorderLeft->Bitmap.Width(), 4);
  EXPECT_EQ(s.BorderLeft->Margins(), SkinRect(0, 5, 0, 6));
  EXPECT_EQ(s.BorderLeft->Frame, 2);
  EXPECT_EQ(s.BorderLeft->Tile, 1);
  EXPECT_EQ(s.BorderTop->Bitmap.Width(), 60);  // folder in front of the name is dropped
  EXPECT_EQ(s.BorderTop->Margins(), SkinRect(8, 0, 9, 0));
  EXPECT_EQ(s.BorderTop->Trans, 0);
  EXPECT_TRUE(s.BorderRight->Bitmap.Empty());
  // Window colour from the top border: pixel (60 / 3, (9 / 1) / 3).
  EXPECT_EQ(s.Colors[sc::WindowColor], RGBColor(11, 12, 13));
  ASSERT_NE(s.MenuBar, nullptr);
  EXPECT_EQ(s.MenuBar->Margins(), SkinRect(4, 0, 1, 0));
  EXPECT_EQ(s.MenuBar->Tile, 1);
  EXPECT_EQ(s.MenuBar->Frame, 2);
  EXPECT_EQ(s.Title->Margins(), SkinRect(11, 12, 13, 0));
  EXPECT_EQ(s.Title->TextBackLeft, 2);
  EXPECT_EQ(s.Title->FontHeight, 17);
  EXPECT_EQ(s.Title->ActiveTextColor, RGBColor(44, 2, 3));
  EXPECT_EQ(s.Title->InactiveTextColor, 0x1FFFFFFF);

  EXPECT_EQ(s.Colors[sc::ButtonFace], RGBColor(10, 20, 30));
  EXPECT_TRUE(s.ColorSet[sc::ButtonFace]);
  EXPECT_EQ(s.Colors[sc::Menubar], RGBColor(10, 20, 30));  // falls back to this skin's face
  EXPECT_FALSE(s.ColorSet[sc::Menubar]);
  EXPECT_EQ(s.Colors[sc::WindowText], RGBColor(1, 2, 3));
  EXPECT_EQ(s.Colors[sc::Hilight], RGBColor(255, 1, 2));
  EXPECT_EQ(s.SectionColors, (std::vector<TColor>{RGBColor(4, 5, 6), clWindowText}));
  EXPECT_EQ(s.CustomColors[3], RGBColor(7, 8, 9));
  EXPECT_EQ(s.CustomColors[4], kWhite);

  EXPECT_EQ(s.Buttons->CheckButtonFrame, 12);
  EXPECT_EQ(s.Buttons->RadioFrame, 8);
  EXPECT_EQ(s.Buttons->NormalColour, 16);
  EXPECT_TRUE(s.Buttons->HasMouseOverColour2);
  EXPECT_FALSE(s.Buttons->HasPressedColour2);
  EXPECT_EQ(s.Buttons->MouseOverColour2, RGBColor(1, 1, 1));
  EXPECT_EQ(s.Buttons->Tile, 0);
  ASSERT_NE(s.Progress, nullptr);
  EXPECT_EQ(s.Progress->Frame, 1);
  EXPECT_EQ(s.Progress->Tile, 1);
  EXPECT_EQ(s.TabPane->Margins(), SkinRect(4, 2, 4, 4));
  EXPECT_EQ(s.HeaderBar->Frame, 5);
  EXPECT_EQ(s.MenuItem->Frame, 5);
  EXPECT_EQ(s.MenuItem->LeftWidth, 0);  // negative margins become 0
  EXPECT_EQ(s.HorzScrollThumb->Frame, 4);
  EXPECT_EQ(s.VertScrollThumb->Frame, 3);
  EXPECT_EQ(s.GroupBox->BackgroundLeftShift, 6);
  EXPECT_EQ(s.GroupBox->Tile, 0);
  EXPECT_EQ(s.GroupBox->Frame, 1);
  EXPECT_EQ(s.Tabs->Bitmap2.Width(), 60);
  EXPECT_EQ(s.Tabs->Frame, 5);
  EXPECT_TRUE(s.UpDownHorz->Bitmap2.Empty());
  EXPECT_EQ(s.UpDownHorz->Frame, 8);
  ASSERT_NE(s.ToolBars, nullptr);          // the section exists...
  EXPECT_TRUE(s.ToolBars->Bitmap.Empty());  // ...but ".BMP" in capitals loads nothing
  EXPECT_EQ(s.Track->Frame, 1);             // 0 from the description, made safe
  EXPECT_EQ(s.Track->Bitmap.Width(), 50);
}

TEST(SkinSchema, CaptionButtons) {
  const std::string ini =
      "[Button0]\nAction=0\nButtonImage=wide.bmp\nXcoord=20\n"
      "[Button1]\nAction=1\nVisibility=2\nXcoord=40\nYcoord=3\nButtonImage=square.bmp\n"
      "[BUTTON.RADIO]\nAction=0\n[Buttons]\n[Button]\n"
      "[Button2]\nAction=-1\n"
      "[Button3]\nAction=-1\nVisibility=0\nButtonImage=square.bmp\n"
      "[Button4]\nAction=4\nXcoord=1\nframe=2\nButtonImage=square.bmp\n"
      "[Button5]\nAction=3\nButtonImage=square.bmp\nCombineOp=2\n"
      "[button6]\nAction=2\nframe=-4\n"
      "[MDICONTROLS]\nImage=mdi.bmp\n";
  TPixelBuffer mdi(36, 9);
  for (int i = 0; i < 12; i++) mdi.FillRect(3 * i, 0, 3 * i + 3, 9, RGBColor(i, 0, 0));
  auto l = Load(ini, {{"wide.bmp", Bmp(Solid(78, 20, 0))}, {"square.bmp", Bmp(Solid(60, 20, 0))},
                      {"mdi.bmp", Bmp(mdi)}});
  ASSERT_TRUE(l->ok);
  const auto& b = l->skin.SysButtons;
  ASSERT_EQ(b.size(), 9u);  // Button0, 1, 3, 4, 5, button6 and three MDI buttons
  EXPECT_EQ(b[0]->Name, "BUTTON0");
  EXPECT_EQ(b[0]->Frame, 6);          // 78 / 20 = 3.9
  EXPECT_EQ(b[1]->Frame, 3);          // 60 / 20 = 3
  EXPECT_EQ(b[2]->Name, "BUTTON3");
  EXPECT_EQ(b[2]->Frame, 6);          // negative action
  EXPECT_EQ(b[2]->Visibility1, -1);
  EXPECT_EQ(b[3]->XCoord, 40);        // restore takes the maximise button's place
  EXPECT_EQ(b[3]->YCoord, 3);
  EXPECT_EQ(b[3]->Frame, 2);
  EXPECT_EQ(b[1]->Visibility1, 0);
  EXPECT_TRUE(b[4]->Bitmap.Empty());  // the icon button draws the icon, not its image
  EXPECT_EQ(b[4]->CombineOp, 2);
  EXPECT_EQ(b[0]->CombineOp, -1);
  EXPECT_EQ(b[5]->Frame, 1);          // negative frame count made safe
  for (int i = 0; i < 3; i++) {
    TDataSkinSysButton& m = *b[5 + 1 + i];
    EXPECT_EQ(m.Action, 7 + i);
    EXPECT_EQ(m.Bitmap.Width(), 12);
    EXPECT_EQ(m.Bitmap.Height(), 9);
    EXPECT_EQ(Px(m.Bitmap, 0, 0), RGBColor(4 * i, 0, 0));
    EXPECT_EQ(Px(m.Bitmap, 11, 8), RGBColor(4 * i + 3, 0, 0));
    EXPECT_EQ(m.XCoord, 7 * (3 - i));
  }
}

TEST(SkinSchema, ComboImagesWithoutSunkEdge) {
  TPixelBuffer combo = Frames(4, 17, 21, {RGBColor(1, 0, 0), RGBColor(2, 0, 0), RGBColor(3, 0, 0), RGBColor(4, 0, 0)});
  combo.SetPixel(0, 0, kMagenta);
  auto l = Load("[Colours]\nButtonFace=9 9 9\n[ComboButton]\nImage=combo.bmp\n", {{"combo.bmp", Bmp(combo)}});
  const TSkinDataContent& s = l->skin;
  EXPECT_EQ(s.ComboButton->Frame, 4);
  EXPECT_EQ(Px(s.ComboButton->Bitmap2, 67, 0), kMagenta);  // mirrored copy
  EXPECT_EQ(s.ComboArrow->Frame, 4);
  EXPECT_EQ(Px(s.ComboArrow->Bitmap, 0, 0), RGBColor(9, 9, 9));
  EXPECT_EQ(Px(s.ComboArrow->Bitmap, 40, 5), RGBColor(3, 0, 0));
  EXPECT_EQ(s.SunkEdge, nullptr);
}

TEST(SkinSchema, ComboFrameBuiltFromSunkEdge) {
  TPixelBuffer edge = Frames(4, 10, 21, {RGBColor(1, 1, 1), RGBColor(2, 2, 2), RGBColor(3, 3, 3), RGBColor(4, 4, 4)});
  TPixelBuffer button = Frames(4, 18, 21, {RGBColor(10, 0, 0), RGBColor(20, 0, 0), RGBColor(30, 0, 0), RGBColor(40, 0, 0)});
  TPixelBuffer glyph(25, 3, kMagenta);
  for (int i = 0; i < 5; i++) glyph.SetPixel(5 * i + 2, 1, RGBColor(0, 0, 100 + i));
  auto l = Load("[ComboButton]\nImage=button.bmp\n[SunkEdge]\nImage=edge.bmp\nTopHeight=2\nBottomHeight=2\n"
                "[ExtraImages]\nImage=glyph.bmp\n",
                {{"button.bmp", Bmp(button)}, {"edge.bmp", Bmp(edge)}, {"glyph.bmp", Bmp(glyph)}});
  ASSERT_TRUE(l->ok);
  const TSkinDataContent& s = l->skin;
  const int b = SkinScrollArrowWidth() + 2;
  EXPECT_EQ(s.ComboButton->Style, 2);
  EXPECT_EQ(s.ComboButton->Margins(), SkinRect(2, 2, b + 2, 2));
  ASSERT_EQ(s.ComboButton->Bitmap.Width(), 200);
  ASSERT_EQ(s.ComboButton->Bitmap.Height(), 21);
  // Cell 3: the edge image at its left, the button at its right b pixels with
  // the glyph centred on it, the inside cut out in magenta.
  EXPECT_EQ(Px(s.ComboButton->Bitmap, 100, 0), RGBColor(3, 3, 3));
  EXPECT_EQ(Px(s.ComboButton->Bitmap, 100 + 10, 10), kMagenta);
  EXPECT_EQ(Px(s.ComboButton->Bitmap, 150 - 1, 0), RGBColor(30, 0, 0));
  EXPECT_EQ(Px(s.ComboButton->Bitmap, 150 - b + (b - 5) / 2 + 2, 10), RGBColor(0, 0, 102));
  // The edge takes the mirrored strip.
  EXPECT_EQ(s.SunkEdge->Margins(), SkinRect(b + 2, 2, 2, 2));
  EXPECT_EQ(Px(s.SunkEdge->Bitmap, 199 - 149, 0), RGBColor(30, 0, 0));
  // The boxed arrow: 17 x 17 cells cut from each button cell.
  EXPECT_EQ(s.ComboArrow->Frame, 4);
  EXPECT_EQ(s.ComboArrow->Bitmap.Width(), 68);
  EXPECT_EQ(Px(s.ComboArrow->Bitmap, 17 * 2 + 16, 0), RGBColor(30, 0, 0));
}

TEST(SkinSchema, ImagesOfAnyBitDepthAreHeldAt32BitsWithExactColours) {
  std::vector<uint8_t> top = Bmp(Solid(9, 3, RGBColor(1, 2, 3)));
  auto l = Load("[Scrollbar]\nImage=p.bmp\n[MenuItem]\nImage=t.bmp\n", {{"p.bmp", PaletteBmp()}, {"t.bmp", top}});
  ASSERT_TRUE(l->ok);
  TBitmap& p = l->skin.ScrollBar->Bitmap;
  EXPECT_EQ(p.BitCount(), 32);
  EXPECT_EQ(Px(p, 0, 0), 0);
  EXPECT_EQ(Px(p, 1, 0), kMagenta);  // the key colour survives the conversion exactly
  EXPECT_EQ(Px(p, 2, 0), RGBColor(0, 255, 0));
  EXPECT_EQ(Px(p, 0, 1), kWhite);
  EXPECT_EQ(Px(l->skin.MenuItem->Bitmap, 8, 2), RGBColor(1, 2, 3));

  // 32 bits with colour masks of their own (red in the top byte, blue in the
  // second lowest): a 1 x 1 image of red 10, green 20, blue 30.
  std::vector<uint8_t> masked(14 + 40 + 12 + 4, 0);
  masked[0] = 'B';
  masked[1] = 'M';
  Put32(masked, 2, uint32_t(masked.size()));
  Put32(masked, 10, 14 + 40 + 12);
  Put32(masked, 14, 40);
  Put32(masked, 18, 1);
  Put32(masked, 22, 1);
  Put16(masked, 26, 1);
  Put16(masked, 28, 32);
  Put32(masked, 30, 3);  // BI_BITFIELDS
  Put32(masked, 54, 0xFF000000u);
  Put32(masked, 58, 0x00FF0000u);
  Put32(masked, 62, 0x0000FF00u);
  Put32(masked, 66, 10u << 24 | 20u << 16 | 30u << 8);
  l = Load("[Scrollbar]\nImage=m.bmp\n", {{"m.bmp", masked}});
  EXPECT_EQ(Px(l->skin.ScrollBar->Bitmap, 0, 0), RGBColor(10, 20, 30));
  // Masks said to be inside a header too short to hold them: refused.
  std::vector<uint8_t> shortHeader = masked;
  Put32(shortHeader, 14, 44);
  shortHeader.resize(14 + 44 + 4);
  Put32(shortHeader, 10, 14 + 44);
  l = Load("[Scrollbar]\nImage=m.bmp\n", {{"m.bmp", shortHeader}});
  EXPECT_TRUE(l->skin.ScrollBar->Bitmap.Empty());
}

TEST(SkinSchema, DamagedInputLeavesTheSkinNotLoaded) {
  TSkinDataContent skin;
  std::vector<std::string> messages;
  TSkinMessageHandler old = SetSkinMessageHandler([&](const std::string& t) { messages.push_back(t); });
  skin.SkinArchive = TSkinMemoryStream(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3});
  EXPECT_FALSE(skin.LoadSkin());
  EXPECT_TRUE(skin.NotLoaded);
  skin.SkinArchive = TSkinMemoryStream(PackedArchive(60000, 117, {{"x.ini", Bytes("[A]")}}));
  EXPECT_TRUE(skin.LoadSkin());
  EXPECT_FALSE(skin.NotLoaded);
  skin.SkinArchive.Clear();
  EXPECT_FALSE(skin.LoadSkin());
  EXPECT_TRUE(skin.NotLoaded);
  SetSkinMessageHandler(old);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], kOlderSkinMessage);

  // A broken bitmap part gives an empty image; the skin still loads.
  std::vector<uint8_t> broken = Bmp(Solid(4, 4, 0));
  broken[28] = 3;  // bit count
  auto l = Load("[Scrollbar]\nImage=s.bmp\n", {{"s.bmp", broken}});
  EXPECT_TRUE(l->ok);
  ASSERT_NE(l->skin.ScrollBar, nullptr);
  EXPECT_TRUE(l->skin.ScrollBar->Bitmap.Empty());

  // So does a part that claims more pixels than it carries, or none at all.
  std::vector<uint8_t> shortFile = Bmp(Solid(4, 4, 0));
  shortFile.resize(shortFile.size() - 8);
  std::vector<uint8_t> noPixels = Bmp(Solid(4, 4, 0));
  noPixels[18] = 0;  // width 0
  l = Load("[Scrollbar]\nImage=s.bmp\n[Menuitem]\nImage=m.bmp\n", {{"s.bmp", shortFile}, {"m.bmp", noPixels}});
  EXPECT_TRUE(l->ok);
  EXPECT_TRUE(l->skin.ScrollBar->Bitmap.Empty());
  EXPECT_TRUE(l->skin.MenuItem->Bitmap.Empty());
}
