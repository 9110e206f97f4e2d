#include "KvPanel.h"

#include <algorithm>
#include <cstdlib>

#include "KvControlPaint.h"
#include "KvLine.h"

#include "ControlFixture.h"
#include "PropertyText.h"

using namespace kv;
using kvtest::ControlTest;

namespace {

class PanelTest : public ControlTest {
 protected:
  template <class T>
  T* Find(const char* name) {
    return dynamic_cast<T*>(form->FindComponent(name));
  }
  TKvPanel* LoadPanel(const std::string& props, const std::string& children = "") {
    Load("object F: TForm\n  object pnl: TKvPanel\n    Left = 10\n    Top = 10\n    Width = 100\n"
         "    Height = 40\n" +
         props + children + "  end\nend\n");
    return Find<TKvPanel>("pnl");
  }
  static std::string Child(const char* name, const char* cls = "TKvPanel", const char* more = "") {
    return std::string("    object ") + name + ": " + cls + "\n      Align = alClient\n      BorderOuter = fsNone\n" +
           more + "    end\n";
  }
};

}  // namespace

TEST_F(PanelTest, PublishedDefaults) {
  TKvPanel* p = LoadPanel("");
  ASSERT_NE(p, nullptr);
  const std::pair<const char*, const char*> expected[] = {
      {"AlignmentVertical", "avCenter"}, {"BorderOuter", "fsRaised"}, {"BorderInner", "fsNone"},
      {"BorderSides", "[sdLeft,sdTop,sdRight,sdBottom]"}, {"BorderColor", "clBtnFace"},
      {"BorderHighlight", "clBtnHighlight"}, {"BorderShadow", "clBtnShadow"}, {"FlatColor", "clBtnShadow"},
      {"FlatColorAdjustment", "30"}, {"FrameController", ""}, {"GradientColorStyle", "gcsSystem"},
      {"GradientColorStart", "clWhite"}, {"GradientColorStop", "clBtnFace"},
      {"GradientDirection", "gdHorizontalEnd"}, {"GridColor", "clBtnShadow"}, {"GridStyle", "gsDots"},
      {"GridXSize", "8"}, {"GridYSize", "8"}, {"PaintClientArea", "True"}, {"ShowDockClientCaptions", "True"},
      {"ShowGrid", "False"}, {"TextMargin", "0"}, {"Transparent", "False"}, {"VisualStyle", "vsWinXP"},
      {"WordWrap", "True"}, {"Alignment", "taCenter"}, {"BevelWidth", "1"}, {"BorderWidth", "0"},
      {"Color", "clBtnFace"}, {"FullRepaint", "True"}, {"UseDockManager", "True"}};
  std::string text;
  for (const auto& e : expected) {
    ASSERT_EQ(fw::GetPropText(p, e.first, text), fw::TPropStatus::Ok) << e.first;
    EXPECT_EQ(text, e.second) << e.first;
  }
  fw::GetPropText(p, "FrameControllerNotifications", text);
  EXPECT_EQ(text.substr(0, 20), "[fcpColor,fcpFocusCo");
  EXPECT_FALSE(fw::IsPublishedProp(p, "BevelOuter"));
}

TEST_F(PanelTest, RaisedFrameAndChildrenTwoInside) {
  TKvPanel* p = LoadPanel("    Color = $00C0FFC0\n", Child("inner", "TKvPanel", "      Color = $00FF8080\n"));
  TKvPanel* inner = Find<TKvPanel>("inner");
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Left(), 2);
  EXPECT_EQ(inner->Top(), 2);
  EXPECT_EQ(inner->Width(), 96);
  EXPECT_EQ(inner->Height(), 36);
  fw::TBitmap bmp(100, 40);
  PaintControl(p, bmp);
  EXPECT_EQ(At(bmp, 0, 20), Sys(cl3DLight));
  EXPECT_EQ(At(bmp, 1, 20), Sys(clBtnHighlight));
  EXPECT_EQ(At(bmp, 99, 20), Sys(cl3DDkShadow));
  EXPECT_EQ(At(bmp, 98, 20), Sys(clBtnShadow));
  EXPECT_EQ(At(bmp, 50, 0), Sys(cl3DLight));
  EXPECT_EQ(At(bmp, 50, 39), Sys(cl3DDkShadow));
  EXPECT_EQ(At(bmp, 2, 20), 0xC0FFC0);  // the fill (the child window paints itself)
}

TEST_F(PanelTest, SideWithoutTopStartsChildrenAtTheTop) {
  LoadPanel("    BorderOuter = fsFlat\n    BorderSides = [sdLeft, sdRight, sdBottom]\n", Child("inner"));
  TKvPanel* inner = Find<TKvPanel>("inner");
  EXPECT_EQ(inner->Top(), 0);
  EXPECT_EQ(inner->Left(), 1);
  EXPECT_EQ(inner->Height(), 39);
  fw::TBitmap bmp(100, 40);
  PaintControl(Find<TKvPanel>("pnl"), bmp);
  EXPECT_EQ(At(bmp, 50, 0), Sys(clBtnFace));
  EXPECT_EQ(At(bmp, 50, 39), LightenColor(clBtnShadow, 30));
}

TEST_F(PanelTest, FlatColourWithAdjustmentAndRoundedCorners) {
  TKvPanel* p = LoadPanel("    BorderOuter = fsFlatRounded\n    FlatColor = $00D5AE7E\n    Color = clWhite\n");
  fw::TBitmap bmp(100, 40);
  PaintControl(p, bmp);
  EXPECT_EQ(At(bmp, 0, 0), kFormColour);  // the parent's colour in the cut corner
  EXPECT_EQ(At(bmp, 1, 1), LightenColor(0xD5AE7E, 30));
  EXPECT_EQ(At(bmp, 2, 0), LightenColor(0xD5AE7E, 30));
  EXPECT_EQ(At(bmp, 50, 20), clWhite);
}

TEST_F(PanelTest, TransparentPanelShowsItsParent) {
  TKvPanel* p = LoadPanel("    BorderOuter = fsFlat\n    Transparent = True\n    Caption = \"\"\n");
  fw::TBitmap bmp(100, 40);
  PaintControl(p, bmp);
  EXPECT_EQ(At(bmp, 50, 20), kFormColour);
  EXPECT_EQ(At(bmp, 0, 20), LightenColor(clBtnShadow, 30));
  // Opaque again: the fill returns.
  p->SetTransparent(false);
  PaintControl(p, bmp);
  EXPECT_EQ(At(bmp, 50, 20), Sys(clBtnFace));
}

TEST_F(PanelTest, TransparentPanelsParentBackgroundOffsetsToTheParent) {
  // A child panel over a two-coloured parent shows the right part of it.
  Load("object F: TForm\n  object host: TKvPanel\n    Width = 200\n    Height = 100\n    BorderOuter = fsNone\n"
       "    VisualStyle = vsGradient\n    GradientColorStyle = gcsCustom\n    GradientDirection = gdVerticalEnd\n"
       "    GradientColorStart = clWhite\n    GradientColorStop = clBlack\n"
       "    object see: TKvPanel\n      Left = 150\n      Top = 10\n      Width = 40\n      Height = 40\n"
       "      BorderOuter = fsNone\n      Transparent = True\n    end\n  end\nend\n");
  fw::TBitmap host(200, 100), see(40, 40);
  PaintControl(Find<TKvPanel>("host"), host);
  PaintControl(Find<TKvPanel>("see"), see);
  EXPECT_EQ(At(see, 0, 0), At(host, 150, 10));
  EXPECT_EQ(At(see, 39, 39), At(host, 189, 49));
  EXPECT_NE(At(see, 0, 0), At(host, 0, 10));
}

TEST_F(PanelTest, GradientFillBetweenStartAndStop) {
  TKvPanel* p = LoadPanel(
      "    BorderOuter = fsNone\n    VisualStyle = vsGradient\n    GradientColorStyle = gcsCustom\n"
      "    GradientColorStart = clWhite\n    GradientColorStop = $00808080\n");
  fw::TBitmap bmp(100, 40);
  PaintControl(p, bmp);
  EXPECT_EQ(At(bmp, 50, 39), 0x808080);  // the stop colour at the bottom
  EXPECT_EQ(At(bmp, 50, 0), clWhite);  // the start colour at the top
  EXPECT_EQ(At(bmp, 0, 20), At(bmp, 99, 20));
}

TEST_F(PanelTest, GridDotsAndNoGridForSizeZero) {
  TKvPanel* p = LoadPanel("    BorderOuter = fsNone\n    ShowGrid = True\n    GridColor = clRed\n");
  fw::TBitmap bmp(100, 40);
  PaintControl(p, bmp);
  EXPECT_EQ(At(bmp, 7, 7), 0x0000FF);
  EXPECT_EQ(At(bmp, 15, 31), 0x0000FF);
  EXPECT_EQ(At(bmp, 8, 7), Sys(clBtnFace));
  p->SetGridXSize(0);
  PaintControl(p, bmp);
  EXPECT_EQ(At(bmp, 7, 7), Sys(clBtnFace));
}

TEST_F(PanelTest, DisabledCaptionIsEtched) {
  // The text is smoothed, so its pixels are told apart by how they differ
  // from the fill: red ink, ink lighter than the fill (the highlight copy)
  // and grey ink darker than it (the shadow colour on top).
  TKvPanel* p = LoadPanel("    BorderOuter = fsNone\n    Color = $00C0FFC0\n    Caption = \"MMMM\"\n"
                          "    Font.Color = clRed\n");
  struct Ink {
    int red = 0, lighter = 0, darkerGrey = 0;
  };
  const auto ink = [](fw::TBitmap& bmp) {
    Ink n;
    const int fill = 0xC0 + 0xFF + 0xC0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 100; ++x) {
        const TColor c = At(bmp, x, y);
        const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
        n.red += r > g + 40;
        n.lighter += r + g + b > fill;
        n.darkerGrey += r + g + b < fill - 40 && std::abs(r - g) < 16 && std::abs(g - b) < 16;
      }
    return n;
  };
  fw::TBitmap bmp(100, 40);
  PaintControl(p, bmp);
  const Ink enabled = ink(bmp);
  EXPECT_GT(enabled.red, 0);
  EXPECT_EQ(enabled.lighter, 0);
  p->SetEnabled(false);
  PaintControl(p, bmp);
  const Ink disabled = ink(bmp);
  EXPECT_EQ(disabled.red, 0);
  EXPECT_GT(disabled.lighter, 0);
  EXPECT_GT(disabled.darkerGrey, 0);
}

TEST_F(PanelTest, DisabledChildStaysDisabled) {
  LoadPanel("", Child("a", "TKvPanel", "      Enabled = False\n") + "    object b: TKvPanel\n    end\n");
  TKvPanel* p = Find<TKvPanel>("pnl");
  TKvPanel* a = Find<TKvPanel>("a");
  TKvPanel* b = Find<TKvPanel>("b");
  p->SetEnabled(false);
  EXPECT_FALSE(a->Enabled());
  EXPECT_FALSE(b->Enabled());
  p->SetEnabled(true);
  EXPECT_FALSE(a->Enabled());
  EXPECT_TRUE(b->Enabled());
}

TEST_F(PanelTest, BottomAlignedPanelKeepsItsBottom) {
  Load("object F: TForm\n  object pnl: TKvPanel\n    Align = alBottom\n    Height = 40\n  end\nend\n");
  TKvPanel* p = Find<TKvPanel>("pnl");
  form->Handle();
  const int bottom = p->Top() + p->Height();
  p->SetHeight(60);
  EXPECT_EQ(p->Top() + p->Height(), bottom);
  EXPECT_EQ(p->Height(), 60);
}

TEST_F(PanelTest, OldFormDataStillLoads) {
  TKvPanel* p = LoadPanel("    FrameSides = [sdLeft, sdTop]\n    ThemeAware = True\n    UseGradients = True\n");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->VisualStyle(), vsGradient);
  EXPECT_EQ(p->BorderSides(), kAllSides);
}

TEST_F(PanelTest, FrameControllerSettingsAreTaken) {
  Load("object F: TForm\n  object fc: TKvFrameController\n    FrameVisible = True\n    FrameStyle = fsBump\n"
       "    FrameColor = clRed\n    Color = clYellow\n  end\n"
       "  object pnl: TKvPanel\n    FrameController = fc\n  end\n"
       "  object other: TKvPanel\n    FrameController = fc\n    FrameControllerNotifications = [fcpFrameColor]\n"
       "  end\n  object hidden: TKvFrameController\n    FrameStyle = fsBump\n    Color = clYellow\n  end\n"
       "  object plain: TKvPanel\n    FrameController = hidden\n  end\nend\n");
  TKvPanel* p = Find<TKvPanel>("pnl");
  TKvPanel* other = Find<TKvPanel>("other");
  EXPECT_EQ(p->BorderOuter(), fsBump);
  EXPECT_EQ(p->FlatColor(), clRed);
  EXPECT_EQ(p->FlatColorAdjustment(), 0);
  EXPECT_EQ(p->Color(), 0x00FFFF);
  EXPECT_EQ(p->BorderHighlight(), LightenColor(0x00FFFF, 100));
  EXPECT_EQ(other->BorderOuter(), fsRaised);
  EXPECT_EQ(other->FlatColor(), clRed);
  // A controller whose frame is not visible gives nothing.
  TKvPanel* plain = Find<TKvPanel>("plain");
  EXPECT_EQ(plain->BorderOuter(), fsRaised);
  EXPECT_EQ(plain->Color(), clBtnFace);
  // A freed controller leaves the panels with no reference.
  Find<TKvFrameController>("fc")->Free();
  EXPECT_EQ(p->FrameController(), nullptr);
}

// ---- Group box -------------------------------------------------------------------

namespace {

class GroupBoxTest : public PanelTest {
 protected:
  TKvGroupBox* LoadGroup(const std::string& props, const std::string& children = "") {
    Load("object F: TForm\n  object grp: TKvGroupBox\n    Left = 10\n    Top = 10\n    Width = 150\n" + props +
         children + "  end\nend\n");
    return Find<TKvGroupBox>("grp");
  }
  int TextHeight(TKvGroupBox* g, const char* s) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, g->Font()->Handle());
    SIZE size;
    GetTextExtentPoint32A(dc, s, 2, &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size.cy;
  }
};

}  // namespace

TEST_F(GroupBoxTest, Defaults) {
  TKvGroupBox* g = LoadGroup("");
  std::string text;
  const std::pair<const char*, const char*> expected[] = {{"GroupStyle", "gsFlat"},   {"Height", "105"},
                                                          {"BorderOuter", "fsNone"},  {"Alignment", "taLeftJustify"},
                                                          {"Transparent", "False"},   {"FlatColor", "clBtnShadow"}};
  for (const auto& e : expected) {
    ASSERT_EQ(fw::GetPropText(g, e.first, text), fw::TPropStatus::Ok) << e.first;
    EXPECT_EQ(text, e.second) << e.first;
  }
  for (const char* hidden : {"AlignmentVertical", "ShowGrid", "WordWrap", "TextMargin", "BorderShadow"})
    EXPECT_FALSE(fw::IsPublishedProp(g, hidden)) << hidden;
  EXPECT_EQ(g->Height(), 105);
}

TEST_F(GroupBoxTest, ChildrenStartBelowTheCaption) {
  TKvGroupBox* g = LoadGroup("    Caption = \"Keys\"\n    Font.Height = -12\n", Child("inner"));
  const int h = TextHeight(g, "Yy");
  TKvPanel* inner = Find<TKvPanel>("inner");
  EXPECT_EQ(inner->Top(), h + 1);
  EXPECT_EQ(inner->Left(), 1);
  // gsCustom with no caption reserves nothing above the children.
  g->SetCaption("");
  g->SetGroupStyle(gsCustom);
  EXPECT_EQ(inner->Top(), 2);
}

TEST_F(GroupBoxTest, StandardWithoutOuterStyleIsEtched) {
  TKvGroupBox* g = LoadGroup("    GroupStyle = gsStandard\n    VisualStyle = vsClassic\n    Color = clWhite\n");
  fw::TBitmap bmp(150, 105);
  PaintControl(g, bmp);
  const int y0 = GroupFrameTop(TextHeight(g, "Pp"));
  EXPECT_EQ(At(bmp, 0, 60), Sys(clBtnShadow));
  EXPECT_EQ(At(bmp, 1, 60), Sys(clBtnHighlight));
  EXPECT_EQ(At(bmp, 148, 60), Sys(clBtnShadow));
  EXPECT_EQ(At(bmp, 149, 60), Sys(clBtnHighlight));
  EXPECT_EQ(At(bmp, 60, y0), Sys(clBtnShadow));
  EXPECT_EQ(At(bmp, 60, y0 - 1), clWhite);
}

TEST_F(GroupBoxTest, TopLineDrawsOnlyTheTop) {
  TKvGroupBox* g = LoadGroup("    GroupStyle = gsTopLine\n    BorderOuter = fsFlat\n    FlatColor = clRed\n"
                             "    FlatColorAdjustment = 0\n    Color = clWhite\n");
  fw::TBitmap bmp(150, 105);
  PaintControl(g, bmp);
  const int y0 = GroupFrameTop(TextHeight(g, "Pp"));
  EXPECT_EQ(At(bmp, 60, y0), 0x0000FF);
  EXPECT_EQ(At(bmp, 0, 60), clWhite);
  EXPECT_EQ(At(bmp, 149, 60), clWhite);
  EXPECT_EQ(At(bmp, 60, 104), clWhite);
}

TEST_F(GroupBoxTest, TransparentFlatFrameSparesTheCaption) {
  // A caption of blanks: its box holds no ink, so what shows there is the parent.
  TKvGroupBox* g = LoadGroup("    Caption = \"      \"\n    Transparent = True\n    FlatColor = clRed\n"
                             "    FlatColorAdjustment = 0\n    VisualStyle = vsClassic\n");
  fw::TBitmap bmp(150, 105);
  PaintControl(g, bmp);
  const int y0 = GroupFrameTop(TextHeight(g, "Pp"));
  const TRect box = g->CaptionBox();
  ASSERT_GT(box.Width(), 4);
  EXPECT_EQ(At(bmp, box.left + 2, y0), kFormColour);   // no frame line across the caption
  EXPECT_EQ(At(bmp, box.right + 2, y0), 0x0000FF);     // the line resumes after it
  EXPECT_EQ(At(bmp, 60, 60), kFormColour);             // and nothing is filled
  EXPECT_EQ(At(bmp, 0, 60), 0x0000FF);
  EXPECT_EQ(At(bmp, 0, y0), kFormColour);              // the rounded corner
}

TEST_F(GroupBoxTest, OnPaintOnlyInTheCustomStyle) {
  TKvGroupBox* g = LoadGroup("    Caption = \"x\"\n");
  int paints = 0;
  g->OnPaint = [&](fw::TObject*) { ++paints; };
  fw::TBitmap bmp(150, 105);
  PaintControl(g, bmp);
  EXPECT_EQ(paints, 0);
  g->SetGroupStyle(gsCustom);
  PaintControl(g, bmp);
  EXPECT_EQ(paints, 1);
}

TEST_F(GroupBoxTest, BannerHasAGradientCaptionBar) {
  TKvGroupBox* g = LoadGroup("    Caption = \"\"\n    GroupStyle = gsBanner\n    GradientColorStyle = gcsCustom\n"
                             "    GradientColorStart = clWhite\n    GradientColorStop = clBlack\n"
                             "    FlatColor = clRed\n    FlatColorAdjustment = 0\n");
  g->SetCaption(" ");
  fw::TBitmap bmp(150, 105);
  PaintControl(g, bmp);
  const TRect box = g->CaptionBox();
  EXPECT_EQ(box, Rect(0, 0, 150, TextHeight(g, "  ") + 6));
  EXPECT_EQ(At(bmp, 60, 0), 0x0000FF);                // the outline
  EXPECT_EQ(At(bmp, 60, box.bottom - 2), clBlack);    // stop colour at the bar's bottom
  EXPECT_EQ(At(bmp, 60, 1), clWhite);                 // start colour at its top
}

TEST_F(GroupBoxTest, AcceleratorFocusesTheFirstChild) {
  LoadGroup("    Caption = \"&Group\"\n",
            "    object a: TKvPanel\n      TabStop = True\n      TabOrder = 1\n    end\n"
            "    object b: TKvPanel\n      TabStop = True\n      TabOrder = 0\n    end\n");
  form->Show();
  EXPECT_EQ(form->Perform(fw::CM_DIALOGCHAR, 'g', 0), 1);
  EXPECT_TRUE(Find<TKvPanel>("b")->Focused());
  EXPECT_EQ(form->Perform(fw::CM_DIALOGCHAR, 'x', 0), 0);
}

namespace {

// A windowed container that paints nothing of its own (neither
// custom-drawn nor a form).
class TPlainContainer : public fw::TWinControl {
 public:
  explicit TPlainContainer(fw::TComponent* owner) : fw::TWinControl(owner) {}
};

bool HasUpdateRegion(HWND h) {
  RECT r;
  return GetUpdateRect(h, &r, FALSE) != 0;
}

}  // namespace

TEST_F(PanelTest, ParentBackgroundInvalidatesOnlyPlainContainers) {
  auto* plain = new TPlainContainer(form);
  plain->SetParent(form);
  plain->SetBounds(0, 0, 200, 100);
  auto* child = new TKvPanel(form);
  child->SetParent(plain);
  child->SetBounds(10, 10, 50, 30);
  auto* onForm = new TKvPanel(form);
  onForm->SetParent(form);
  onForm->SetBounds(250, 10, 50, 30);
  form->Show();
  UpdateWindow(form->Handle());
  UpdateWindow(plain->Handle());
  ASSERT_FALSE(HasUpdateRegion(plain->Handle()));
  fw::TBitmap bmp(50, 30);
  DrawParentBackground(child, bmp.Canvas()->Handle(), false);
  EXPECT_FALSE(HasUpdateRegion(plain->Handle()));
  DrawParentBackground(child, bmp.Canvas()->Handle(), true);
  EXPECT_TRUE(HasUpdateRegion(plain->Handle()));
  ValidateRect(form->Handle(), nullptr);
  DrawParentBackground(onForm, bmp.Canvas()->Handle(), true);
  EXPECT_FALSE(HasUpdateRegion(form->Handle()));
}

TEST_F(PanelTest, ThemeChangeRereadsTheColourScheme) {
  TKvPanel* p = LoadPanel("");
  HKEY scratch, tm;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\CardInitTest\\PanelScheme", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &scratch, nullptr),
            ERROR_SUCCESS);
  RegCreateKeyExA(scratch, "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", 0, nullptr, 0,
                  KEY_ALL_ACCESS, nullptr, &tm, nullptr);
  const char name[] = "Homestead";
  RegSetValueExA(tm, "ColorName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name), sizeof name);
  RegCloseKey(tm);
  RegOverridePredefKey(HKEY_CURRENT_USER, scratch);
  p->Perform(WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(ColorScheme(), xcsHomestead);
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(scratch);
  p->Perform(WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(ColorScheme(), GetXpColorScheme());
  std::string path = "Software\\CardInitTest\\PanelScheme\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
  for (;;) {
    RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    const size_t cut = path.rfind('\\');
    if (cut == std::string::npos) break;
    path.resize(cut);
  }
}

TEST_F(PanelTest, DockSiteDrawsGrabbersOverItsClients) {
  // The line is a plain child; the inner panel is a docked client (its
  // DragKind is dkDock) and takes the site's area less its grabber.
  Load("object F: TForm\n  object dock: TKvPanel\n    Width = 200\n    Height = 120\n    BorderOuter = fsNone\n"
       "    DockSite = True\n    Color = clWhite\n"
       "    object ln: TKvLine\n      Left = 20\n      Top = 40\n      Width = 100\n      Height = 40\n    end\n"
       "    object inner: TKvPanel\n      Left = 130\n      Top = 40\n      Width = 60\n      Height = 40\n"
       "      Caption = \"dock\"\n      DragKind = dkDock\n    end\n  end\nend\n");
  TKvPanel* dock = Find<TKvPanel>("dock");
  ASSERT_NE(dock->DockManager(), nullptr);
  ASSERT_EQ(dock->DockClientCount(), 1);
  TKvPanel* inner = Find<TKvPanel>("inner");
  EXPECT_EQ(inner->Top(), 14);
  EXPECT_EQ(inner->Width(), 200);
  fw::TBitmap bmp(200, 120);
  PaintControl(dock, bmp);
  // An unfocused windowed client's grabber is inactive; the plain child
  // gets none.
  EXPECT_EQ(At(bmp, 60, 7), Sys(clInactiveCaption));
  EXPECT_EQ(At(bmp, 1, 1), Sys(clInactiveCaption));
  EXPECT_EQ(At(bmp, 60, 28), clWhite);  // where a grabber over the line would be
  // A windowless client counts as active.
  Find<TKvLine>("ln")->SetDragKind(fw::dkDock);
  dock->SetDockSite(false);
  dock->SetDockSite(true);
  ASSERT_EQ(dock->DockClientCount(), 2);
  PaintControl(dock, bmp);
  EXPECT_EQ(At(bmp, 60, 7), Sys(clActiveCaption));
  EXPECT_EQ(At(bmp, 60, 67), Sys(clInactiveCaption));
  // Aligned to the top, the grabber stands at the left of each client.
  dock->SetAlign(fw::alTop);  // the form's width, 400
  fw::TBitmap wide(400, 120);
  PaintControl(dock, wide);
  EXPECT_EQ(At(wide, 5, 45), Sys(clActiveCaption));
  EXPECT_EQ(At(wide, 205, 45), Sys(clInactiveCaption));
  EXPECT_EQ(inner->Left(), 214);
  // Commands to the site repaint it while the manager is in front; without
  // the manager the window procedure is the panel's own again.
  form->Show();
  UpdateWindow(form->Handle());
  ValidateRect(dock->Handle(), nullptr);
  dock->Perform(WM_MOUSEACTIVATE, 0, 0);
  RECT r;
  EXPECT_TRUE(GetUpdateRect(dock->Handle(), &r, FALSE));
  dock->SetDockSite(false);
  EXPECT_EQ(dock->DockManager(), nullptr);
  ValidateRect(dock->Handle(), nullptr);
  dock->Perform(WM_MOUSEACTIVATE, 0, 0);
  EXPECT_FALSE(GetUpdateRect(dock->Handle(), &r, FALSE));
}

TEST_F(PanelTest, DockCloseBoxIsTheGlyphFontsCross) {
  Load("object F: TForm\n  object dock: TKvPanel\n    Width = 200\n    Height = 120\n    BorderOuter = fsNone\n"
       "    DockSite = True\n    Color = clWhite\n"
       "    object ln: TKvLine\n      Left = 20\n      Top = 40\n      Width = 100\n      Height = 40\n"
       "      DragKind = dkDock\n    end\n  end\nend\n");
  TKvPanel* dock = Find<TKvPanel>("dock");
  ASSERT_NE(dock->DockManager(), nullptr);
  // The glyph font is the symbol font itself, not a stand-in for it.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dock->DockManager()->GlyphFont().Handle());
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  DeleteDC(dc);
  EXPECT_STREQ(face, L"Marlett");
  // Its "r" is a cross: ink at all four corners of the glyph's ink, where a
  // letter r has none at its lower right. The line, docked alone, has the
  // frame (0, 0, 200, 120) and so the close box (185, 1, 198, 12).
  fw::TBitmap bmp(200, 120);
  PaintControl(dock, bmp);
  const TColor grabber = Sys(clActiveCaption);
  int left = 200, top = 120, right = -1, bottom = -1;
  for (int y = 1; y < 12; ++y)
    for (int x = 185; x < 198; ++x)
      if (At(bmp, x, y) != grabber) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  ASSERT_GT(right - left, 2);
  ASSERT_GT(bottom - top, 2);
  for (const TPoint p : {TPoint{left, top}, TPoint{right, top}, TPoint{left, bottom}, TPoint{right, bottom}})
    EXPECT_NE(At(bmp, p.x, p.y), grabber) << p.x << "," << p.y;
}
