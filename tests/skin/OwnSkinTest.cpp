// The skins the build packs from the source tree: every element the schema
// reads is there, loads, and has whole frames.
#include <gtest/gtest.h>

#include <set>

#include "FileIO.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "SkinMessage.h"

namespace {

// The whole file; nothing when it cannot be read.
std::vector<uint8_t> ReadFile(const std::string& path) {
  std::string bytes;
  if (!fw::LoadFileBytes(path, bytes)) bytes.clear();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::unique_ptr<TSkinDataContent> LoadSkin(const char* file) {
  auto skin = std::make_unique<TSkinDataContent>();
  skin->SkinArchive = TSkinMemoryStream(ReadFile(std::string(CARDINIT_SKIN_DIR) + "/" + file));
  EXPECT_GT(skin->SkinArchive.Size(), 0u) << file;
  TSkinMessageHandler old = SetSkinMessageHandler([](const std::string& t) { ADD_FAILURE() << t; });
  EXPECT_TRUE(skin->LoadSkin());
  SetSkinMessageHandler(old);
  return skin;
}

// Every object the schema makes from a section, with the way its frames are
// laid out.
std::vector<std::pair<TDataSkinObject*, bool>> Objects(TSkinDataContent& s) {
  std::vector<std::pair<TDataSkinObject*, bool>> v = {
      {s.BorderTop.get(), true}, {s.BorderBottom.get(), true}, {s.BorderLeft.get(), false},
      {s.BorderRight.get(), false}, {s.MenuBar.get(), true}, {s.Buttons.get(), false},
      {s.Progress.get(), false}, {s.ProgressChunk.get(), false}, {s.GroupBoxEdge.get(), false},
      {s.GroupBox.get(), false}, {s.Tabs.get(), false}, {s.StatusBarEdges.get(), false},
      {s.TabPane.get(), false}, {s.ToolBars.get(), false}, {s.ComboButton.get(), false},
      {s.SunkEdge.get(), false}, {s.ExtraImages.get(), false}, {s.HeaderBar.get(), false},
      {s.MenuItem.get(), false}, {s.MenuBackground.get(), false}, {s.ScrollBar.get(), false},
      {s.HorzScroll.get(), false}, {s.VertScroll.get(), false}, {s.HorzScrollThumb.get(), false},
      {s.VertScrollThumb.get(), false}, {s.TrackThumbHorz.get(), false}, {s.TrackThumbVert.get(), false},
      {s.TrackThumbLeft.get(), false}, {s.TrackThumbRight.get(), false}, {s.TrackThumbUp.get(), false},
      {s.TrackThumbDown.get(), false}, {s.UpDownHorz.get(), false}, {s.UpDownVert.get(), false},
      {s.Track.get(), false}, {s.TrackVert.get(), false}, {s.ComboArrow.get(), false}};
  return v;
}

}  // namespace

TEST(OwnSkin, EveryElementIsThereWithWholeFrames) {
  auto skin = LoadSkin("TavrinBlue.skn");
  TSkinDataContent& s = *skin;
  EXPECT_EQ(s.SkinName, "Tavrin Blue");
  for (auto [o, vertical] : Objects(s)) {
    ASSERT_NE(o, nullptr);
    SCOPED_TRACE(o->Name);
    ASSERT_FALSE(o->Bitmap.Empty());
    if (vertical)
      EXPECT_EQ(o->Bitmap.Height() % o->Frame, 0);
    else
      EXPECT_EQ(o->Bitmap.Width() % o->Frame, 0);
  }
  EXPECT_EQ(s.Buttons->CheckButtonFrame, 12);
  EXPECT_EQ(s.Buttons->RadioFrame, 8);
  EXPECT_EQ(s.Buttons->CheckBitmap.Width(), 12 * 13);
  EXPECT_EQ(s.Buttons->RadioBitmap.Width(), 8 * 13);
  EXPECT_FALSE(s.Tabs->Bitmap2.Empty());
  EXPECT_FALSE(s.UpDownHorz->Bitmap2.Empty());
  EXPECT_FALSE(s.UpDownVert->Bitmap2.Empty());
  // Caption: 30 pixels high; the top-left corner of the left border is cut.
  EXPECT_EQ(s.BorderTop->Bitmap.Height() / s.BorderTop->Frame, 30);
  EXPECT_EQ(PixelsOf(s.BorderLeft->Bitmap).Pixel(0, 0), kMagenta);
  EXPECT_NE(PixelsOf(s.BorderLeft->Bitmap).Pixel(3, 0), kMagenta);
  // Close, maximise, restore, minimise, icon, and the MDI child's three.
  ASSERT_EQ(s.SysButtons.size(), 8u);
  EXPECT_EQ(s.SysButtons[2]->Action, 1);
  EXPECT_EQ(s.SysButtons[2]->Visibility, 1);
  EXPECT_EQ(s.SysButtons[2]->XCoord, s.SysButtons[1]->XCoord);
  for (int i = 0; i < 4; i++) EXPECT_EQ(s.SysButtons[i]->Frame, 4);
  EXPECT_TRUE(s.SysButtons[4]->Bitmap.Empty());
  for (int i = 5; i < 8; i++) EXPECT_FALSE(s.SysButtons[i]->Bitmap.Empty());
  for (int slot : {sc::WindowText, sc::ButtonFace, sc::Menubar, sc::MenuText, sc::TitleTextActive})
    EXPECT_TRUE(s.ColorSet[slot]) << slot;
  EXPECT_EQ(s.Colors[sc::ButtonFace], RGBColor(236, 239, 245));
  // The window colour is a caption pixel.
  EXPECT_EQ(s.Colors[sc::WindowColor], PixelsOf(s.BorderTop->Bitmap).Pixel(40, 10));
}

TEST(OwnSkin, ColourCodedSkinHasOneSolidColourPerFrameAndTheCutsOfTheOwnSkin) {
  auto skin = LoadSkin("ColourCoded.skn");
  auto own = LoadSkin("TavrinBlue.skn");
  TSkinDataContent& s = *skin;
  EXPECT_EQ(s.SkinName, "Colour Coded");
  std::set<TColor> seen;
  const auto ownObjects = Objects(*own);
  const auto objects = Objects(s);
  ASSERT_EQ(objects.size(), ownObjects.size());
  // Objects the engine built or rebuilt after reading are not coded strips.
  for (size_t i = 0; i < objects.size(); i++) {
    auto [o, vertical] = objects[i];
    if (o == s.ComboArrow.get() || o == s.ComboButton.get() || o == s.SunkEdge.get()) continue;
    SCOPED_TRACE(o->Name);
    const TSkinPixels b = PixelsOf(o->Bitmap);
    const TSkinPixels ownPixels = PixelsOf(ownObjects[i].first->Bitmap);
    ASSERT_EQ(b.Width(), ownPixels.Width());
    ASSERT_EQ(b.Height(), ownPixels.Height());
    for (int k = 1; k <= o->Frame; k++) {
      TSkinRect r = SkinImageRect(b, vertical, o->Frame, k);
      TColor c = kMagenta;
      bool uniform = true;
      for (int y = r.Top; y < r.Bottom; y++)
        for (int x = r.Left; x < r.Right; x++) {
          const TColor p = b.Pixel(x, y);
          // Magenta exactly where the own skin has it (cut corners, gaps).
          EXPECT_EQ(p == kMagenta, ownPixels.Pixel(x, y) == kMagenta) << x << "," << y;
          if (p == kMagenta) continue;
          if (c == kMagenta) c = p;
          uniform = uniform && p == c;
        }
      // A frame the own skin leaves all transparent stays so.
      if (c == kMagenta) continue;
      EXPECT_TRUE(uniform) << "frame " << k;
      EXPECT_TRUE(seen.insert(c).second) << "frame " << k << " repeats a colour";
    }
  }
}
