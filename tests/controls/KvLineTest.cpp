#include "KvLine.h"

#include "ControlFixture.h"
#include "PropertyText.h"

using namespace kv;
using kvtest::ControlTest;

namespace {

constexpr TColor kLineColour = 0xDDA873;

class LineTest : public ControlTest {
 protected:
  TKvLine* LoadLine(const std::string& props) {
    Load("object F: TForm\n  object ln: TKvLine\n    Left = 20\n    Top = 30\n" + props + "  end\nend\n");
    return dynamic_cast<TKvLine*>(form->FindComponent("ln"));
  }
};

}  // namespace

TEST_F(LineTest, PublishedPropertiesWithDefaults) {
  TKvLine* ln = LoadLine("");
  ASSERT_NE(ln, nullptr);
  const std::pair<const char*, const char*> expected[] = {{"ArrowLength", "10"},   {"LineColor", "clWindowText"},
                                                          {"LineSlope", "lsDown"}, {"LineStyle", "psSolid"},
                                                          {"LineWidth", "1"},      {"ShowArrows", "saNone"}};
  std::string text;
  for (const auto& e : expected) {
    ASSERT_EQ(fw::GetPropText(ln, e.first, text), fw::TPropStatus::Ok) << e.first;
    EXPECT_EQ(text, e.second) << e.first;
  }
  EXPECT_TRUE(fw::IsPublishedProp(ln, "OnMouseEnter"));
  EXPECT_TRUE(fw::IsPublishedProp(ln, "PopupMenu"));
  EXPECT_FALSE(fw::IsPublishedProp(ln, "Enabled"));
  EXPECT_FALSE(fw::IsPublishedProp(ln, "Color"));
  // The width rule through the property text.
  ASSERT_EQ(fw::SetPropText(ln, "ShowArrows", "saBoth"), fw::TPropStatus::Ok);
  fw::SetPropText(ln, "LineWidth", "2");
  EXPECT_EQ(ln->LineWidth(), 3);
  fw::SetPropText(ln, "LineWidth", "2");  // coming from 3
  EXPECT_EQ(ln->LineWidth(), 1);
  fw::SetPropText(ln, "LineWidth", "-4");  // refused
  EXPECT_EQ(ln->LineWidth(), 1);
  fw::SetPropText(ln, "LineWidth", "0");   // would be -1: held at 1
  EXPECT_EQ(ln->LineWidth(), 1);
}

TEST_F(LineTest, SeparatorDrawsAlongItsCentre) {
  TKvLine* ln = LoadLine("    Width = 343\n    Height = 20\n    LineColor = $DDA873\n");
  ASSERT_NE(ln, nullptr);
  EXPECT_EQ(ln->Shape().p1, (TPoint{10, 10}));
  EXPECT_EQ(ln->Shape().p2, (TPoint{333, 10}));
  fw::TBitmap bmp(400, 300);
  PaintForm(bmp);
  EXPECT_EQ(At(bmp, 20 + 10, 30 + 10), kLineColour);
  EXPECT_EQ(At(bmp, 20 + 200, 30 + 10), kLineColour);
  EXPECT_EQ(At(bmp, 20 + 332, 30 + 10), kLineColour);
  EXPECT_EQ(At(bmp, 20 + 333, 30 + 10), kFormColour);  // the end point is left out
  EXPECT_EQ(At(bmp, 20 + 9, 30 + 10), kFormColour);
  EXPECT_EQ(At(bmp, 20 + 200, 30 + 9), kFormColour);
  EXPECT_EQ(At(bmp, 20 + 200, 30 + 11), kFormColour);
}

TEST_F(LineTest, SmallLinesGrowToTwiceTheMargin) {
  TKvLine* ln = LoadLine("    Width = 5\n    Height = 5\n");
  EXPECT_EQ(ln->Width(), 20);
  EXPECT_EQ(ln->Height(), 20);
  ln->SetBounds(0, 0, 40, 20);
  ln->SetArrowLength(30);
  EXPECT_EQ(ln->Shape().margin, 15);
  EXPECT_EQ(ln->Width(), 40);
  EXPECT_EQ(ln->Height(), 30);
}

TEST_F(LineTest, ArrowHeadsAreFilled) {
  TKvLine* ln = LoadLine("    Width = 100\n    Height = 20\n    LineColor = clRed\n    ShowArrows = saBoth\n");
  fw::TBitmap bmp(400, 300);
  PaintForm(bmp);
  // Tips at (10, 10) and (90, 10); heads reach back 9 pixels, 3 either side.
  EXPECT_EQ(At(bmp, 20 + 14, 30 + 8), 0x0000FF);
  EXPECT_EQ(At(bmp, 20 + 14, 30 + 12), 0x0000FF);
  EXPECT_EQ(At(bmp, 20 + 86, 30 + 8), 0x0000FF);
  EXPECT_EQ(At(bmp, 20 + 50, 30 + 10), 0x0000FF);
  EXPECT_EQ(At(bmp, 20 + 50, 30 + 8), kFormColour);
  EXPECT_EQ(At(bmp, 20 + 8, 30 + 10), kFormColour);
  (void)ln;
}

TEST_F(LineTest, RisingLine) {
  LoadLine("    Width = 60\n    Height = 40\n    LineColor = clRed\n    LineSlope = lsUp\n");
  fw::TBitmap bmp(400, 300);
  PaintForm(bmp);
  // From (10, 30) up to (50, 10).
  EXPECT_EQ(At(bmp, 20 + 10, 30 + 30), 0x0000FF);
  EXPECT_EQ(At(bmp, 20 + 30, 30 + 20), 0x0000FF);
  EXPECT_EQ(At(bmp, 20 + 10, 30 + 10), kFormColour);
}

TEST_F(LineTest, ClicksBesideTheLineReachTheParent) {
  TKvLine* ln = LoadLine("    Width = 100\n    Height = 60\n");
  int clicks = 0, enters = 0, leaves = 0;
  ln->OnClick = [&](fw::TObject*) { ++clicks; };
  ln->OnMouseEnter = [&](fw::TObject*) { ++enters; };
  ln->OnMouseLeave = [&](fw::TObject*) { ++leaves; };
  EXPECT_EQ(form->ControlAtPos(POINT{20 + 50, 30 + 30}), ln);
  EXPECT_EQ(form->ControlAtPos(POINT{20 + 50, 30 + 50}), nullptr);  // 20 pixels below the line
  HWND h = form->Handle();
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(20 + 50, 30 + 30));
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20 + 50, 30 + 30));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(20 + 50, 30 + 30));
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(20 + 50, 30 + 50));
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20 + 50, 30 + 50));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(20 + 50, 30 + 50));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
}
