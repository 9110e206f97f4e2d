#include "SkinDataContent.h"

#include <algorithm>
#include <exception>

#include "ImgUtilGdi.h"
#include "SkinColors.h"
#include "SkinDraw.h"
#include "SkinMessage.h"

namespace {

std::string UpperAscii(std::string s) {
  for (char& ch : s)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return s;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

void BuiltInTrackBitmap(fw::TBitmap& bitmap, bool vertical) {
  // Across the groove: shadow, dark shadow, face, highlight.
  const TColor across[4] = {RGBColor(128, 128, 128), RGBColor(64, 64, 64), RGBColor(212, 208, 200),
                            RGBColor(255, 255, 255)};
  SetSkinBitmapSize(bitmap, vertical ? 4 : 16, vertical ? 16 : 4);
  const TSkinPixels b = PixelsOf(bitmap);
  for (int i = 0; i < 16; i++)
    for (int j = 0; j < 4; j++) {
      if (vertical)
        b.SetPixel(j, i, across[j]);
      else
        b.SetPixel(i, j, across[j]);
    }
}

TSkinDataContent::TSkinDataContent()
    : BorderLeft(new TDataSkinBorder("Left")),
      BorderRight(new TDataSkinBorder("Right")),
      BorderTop(new TDataSkinBorder("Top")),
      BorderBottom(new TDataSkinBorder("Bottom")),
      Title(new TDataSkinTitle("Title")),
      Buttons(new TDataSkinButton("Buttons")) {}

TSkinDataContent::~TSkinDataContent() = default;

std::string TSkinDataContent::Str(const std::string& section, const std::string& key) const {
  return Description->ReadString(section, key, "");
}

int32_t TSkinDataContent::Int(const std::string& section, const std::string& key, int32_t def) const {
  return Description->ReadInteger(section, key, def);
}

bool TSkinDataContent::LoadSkin() {
  NotLoaded = true;
  TSkinReader reader;
  TSkinMemoryStream partStream;
  TQuickIni description;
  std::vector<std::string> sections;
  bool ok = false;
  try {
    Reader = &reader;
    PartStream = &partStream;
    ok = reader.UnpackSkin(SkinArchive);
    if (ok) {
      Description = &description;
      Sections = &sections;
      std::string name;
      reader.FindPart(".ini", partStream, name);
      partStream.Seek(0);
      description.LoadFromStream(&partStream);
      ReadSkinDescription();
    }
  } catch (const std::exception& e) {
    // A skin that cannot be read leaves the program unskinned, never down.
    ok = false;
    NotLoaded = true;
    ShowSkinMessage(std::string(kDamagedSkinMessage) + "\r" + e.what());
  } catch (...) {
    ok = false;
    NotLoaded = true;
    ShowSkinMessage(kDamagedSkinMessage);
  }
  Reader = nullptr;
  PartStream = nullptr;
  Description = nullptr;
  Sections = nullptr;
  return ok && !NotLoaded;
}

// --- reading routines --------------------------------------------------------

void TSkinDataContent::LoadSkinBitmap(fw::TBitmap& bitmap, const std::string& value) {
  size_t sep = value.find_last_of("\\/:");
  std::string file = sep == std::string::npos ? value : value.substr(sep + 1);
  size_t dot = file.rfind('.');
  std::string ext = dot == std::string::npos ? std::string() : file.substr(dot);
  bitmap.Clear();
  if (file.empty() || ext != ".bmp" || !Reader || !PartStream) return;
  Reader->ExtractPart(file, *PartStream);
  if (PartStream->Size() == 0) return;
  // A file that is not a valid BMP leaves the bitmap empty. A valid one, of
  // whatever depth, palette or colour masks, is drawn into a plain 32-bit
  // image, the form every pixel routine reads.
  const fw::TBytes bytes(PartStream->Bytes().begin() + PartStream->Position(), PartStream->Bytes().end());
  fw::TBitmap loaded;
  if (!loaded.LoadFromBytes(bytes)) return;
  SetSkinBitmapSize(bitmap, loaded.Width(), loaded.Height());
  BitBlt(bitmap.Canvas()->Handle(), 0, 0, loaded.Width(), loaded.Height(), loaded.Canvas()->Handle(), 0, 0, SRCCOPY);
}

TColor TSkinDataContent::ReadColourText(const std::string& text, TColor defaultColour) const {
  return text.empty() ? defaultColour : ParseColourText(text);
}

void TSkinDataContent::ReadColourSlot(int slot, const std::string& key, TColor defaultColour) {
  std::string value = Str("Colours", key);
  ColorSet[slot] = !value.empty();
  Colors[slot] = value.empty() ? defaultColour : ParseColourText(value);
}

void TSkinDataContent::ReadCommonKeys(TDataSkinObject& o, const std::string& s, bool frame) {
  ReadSkinObjectValues(*Description, s, frame, Colors[sc::ButtonText], o);
}

void TSkinDataContent::ReadSkinObject(std::unique_ptr<TDataSkinObject>& object, const std::string& section) {
  object.reset();
  std::string image = Str(section, "Image");
  if (image.empty()) return;
  object.reset(new TDataSkinObject(section));
  LoadSkinBitmap(object->Bitmap, image);
  ReadCommonKeys(*object, section, true);
}

void TSkinDataContent::ReadBorderObject(std::unique_ptr<TDataSkinBorder>& object, const std::string& section,
                                        const std::string& secondImageKey) {
  object.reset();
  std::string image = Str(section, "Image");
  if (image.empty()) return;
  object.reset(new TDataSkinBorder(section));
  LoadSkinBitmap(object->Bitmap, image);
  std::string second = Str(section, secondImageKey);
  if (!second.empty()) LoadSkinBitmap(object->Bitmap2, second);
  ReadCommonKeys(*object, section, false);
}

void TSkinDataContent::ReadProgressObject(std::unique_ptr<TDataSkinBorder>& object, const std::string& s) {
  object.reset();
  std::string image = Str(s, "Bitmap");
  if (image.empty()) return;
  object.reset(new TDataSkinBorder(s));
  LoadSkinBitmap(object->Bitmap, image);
  object->Style = Int(s, "Style", 0);
  object->LeftWidth = Int(s, "LeftWidth", 0);
  object->RightWidth = Int(s, "RightWidth", 0);
  object->TopHeight = Int(s, "TopHeight", 0);
  object->BottomHeight = Int(s, "BottomHeight", 0);
  object->Trans = Int(s, "Trans", 0);
  object->Tile = Int(s, "Tile", 0);
  if (object->Tile > 1) object->Tile = 1;
}

void TSkinDataContent::ReadBoxLabelObject(std::unique_ptr<TDataSkinBoxLabel>& object, const std::string& s) {
  object.reset();
  std::string image = Str(s, "Image");
  if (image.empty()) return;
  object.reset(new TDataSkinBoxLabel(s));
  LoadSkinBitmap(object->Bitmap, image);
  ReadCommonKeys(*object, s, false);
  object->BackgroundAlignment = Int(s, "BackgroundAlignment", 0);
  object->BackgroundLeftShift = Int(s, "BackgroundLeftShift", 0);
  object->BackgroundRightShift = Int(s, "BackgroundRightShift", 0);
}

void TSkinDataContent::ReadMenuBar() {
  const std::string s = "Personality";
  MenuBar.reset();
  std::string image = Str(s, "menuBar");
  if (image.empty()) return;
  MenuBar.reset(new TDataSkinObject(s));
  LoadSkinBitmap(MenuBar->Bitmap, image);
  MenuBar->TopHeight = 0;
  MenuBar->BottomHeight = 0;
  MenuBar->Tile = Int(s, "TileMenu", 1);
  MenuBar->LeftWidth = Int(s, "TileLeftMenu", 1);
  MenuBar->RightWidth = Int(s, "TileRightMenu", 1);
  if (MenuBar->Tile > 1) MenuBar->Tile = 1;
}

void TSkinDataContent::ReadTextColour(const std::string& section, const std::string& prefix,
                                      TColor& colour) const {
  ReadSkinTextColour(*Description, section, prefix, colour);
}

void TSkinDataContent::ReadTitle() {
  const std::string s = "Personality";
  TDataSkinTitle& t = *Title;
  LoadSkinBitmap(t.Bitmap, Str(s, "TextBack"));
  t.LeftWidth = Int(s, "TextShift", 0);
  t.TopHeight = Int(s, "TextShiftVert", 0);
  t.RightWidth = Int(s, "TextRightClip", 0);
  t.BottomHeight = 0;
  t.TextAlignment = Int(s, "TextAlignment", 0);
  t.TextBackground = Int(s, "Textbackground", 0);
  t.TextBackLeft = Int(s, "TXTBackleft", 0);
  t.TextBackRight = Int(s, "TXTBackRight", 0);
  t.FontHeight = Int("Fonts", "FontHeight", 14);
  t.ActiveTextColor = 0x1FFFFFFF;
  t.InactiveTextColor = 0x1FFFFFFF;
  ReadTextColour(s, "ActiveText", t.ActiveTextColor);
  ReadTextColour(s, "InActiveText", t.InactiveTextColor);
}

void TSkinDataContent::ReadButtons() {
  const std::string s = "Buttons";
  TDataSkinButton& b = *Buttons;
  LoadSkinBitmap(b.Bitmap, Str(s, "Bitmap"));
  LoadSkinBitmap(b.CheckBitmap, Str(s, "CheckButton"));
  LoadSkinBitmap(b.RadioBitmap, Str(s, "RadioButton"));
  b.LeftWidth = Int(s, "LeftWidth", 0);
  b.RightWidth = Int(s, "RightWidth", 0);
  b.TopHeight = Int(s, "TopHeight", 0);
  b.BottomHeight = Int(s, "BottomHeight", 0);
  b.Trans = Int(s, "Trans", 0);
  b.Tile = Int(s, "Tile", 0);
  b.NormalColour = Int(s, "NormalColour", -1);
  b.MouseOverColour = Int(s, "MouseOverColour", -1);
  b.PressedColour = Int(s, "PressedColour", -1);
  b.RadioFrame = Int(s, "RadioButtonFrame", 0);
  b.CheckButtonFrame = Int(s, "CheckButtonFrame", 0);
  const std::string n2 = Str(s, "NormalColour2"), m2 = Str(s, "MouseOverColour2"), p2 = Str(s, "PressedColour2");
  b.HasNormalColour2 = !n2.empty();
  b.HasMouseOverColour2 = !m2.empty();
  b.HasPressedColour2 = !p2.empty();
  const TColor second = Colors[sc::ButtonText];
  b.NormalColour2 = ReadColourText(n2, second);
  b.MouseOverColour2 = ReadColourText(m2, second);
  b.PressedColour2 = ReadColourText(p2, second);
  if (b.Tile > 1) b.Tile = 0;
}

void TSkinDataContent::ReadBorders() {
  const std::string s = "Personality";
  TDataSkinBorder* borders[4] = {BorderLeft.get(), BorderRight.get(), BorderTop.get(), BorderBottom.get()};
  for (int i = 0; i < 4; i++) {
    TDataSkinBorder& o = *borders[i];
    const std::string& p = o.Name;
    LoadSkinBitmap(o.Bitmap, Str(s, p));
    if (i < 2) {
      o.TopHeight = Int(s, p + "TopHeight", 0);
      o.BottomHeight = Int(s, p + "BotHeight", 0);
      o.LeftWidth = o.RightWidth = 0;
    } else {
      o.LeftWidth = Int(s, p + "TopHeight", 0);
      o.RightWidth = Int(s, p + "BotHeight", 0);
      o.TopHeight = o.BottomHeight = 0;
    }
    o.Frame = Int(s, p + "Frame", 1);
    o.Tile = Int(s, p + "Stretch", 1);
    o.Trans = Int(s, p + "Trans", 1);
    if (o.Tile > 1) o.Tile = 1;
  }
}

void TSkinDataContent::ReadColours() {
  ReadColourSlot(sc::WindowText, "WindowText", fw::clWindowText);
  ReadColourSlot(sc::ButtonFace, "ButtonFace", fw::clBtnFace);
  ReadColourSlot(sc::Scrollbar, "Scrollbar", fw::clScrollBar);
  ReadColourSlot(sc::HilightText, "HilightText", fw::clHighlightText);
  ReadColourSlot(sc::Hilight, "Hilight", fw::clHighlight);
  ReadColourSlot(sc::Menubar, "Menubar", Colors[sc::ButtonFace]);
  ReadColourSlot(sc::Menu, "Menu", fw::clMenu);
  ReadColourSlot(sc::MenuText, "MenuText", fw::clMenuText);
  ReadColourSlot(sc::ButtonText, "ButtonText", fw::clBtnText);
  ReadColourSlot(sc::ButtonHilight, "ButtonHilight", fw::clBtnHighlight);
  ReadColourSlot(sc::Buttonlight, "Buttonlight", fw::clBtnHighlight);
  ReadColourSlot(sc::ButtonShadow, "ButtonShadow", fw::clBtnShadow);
  ReadColourSlot(sc::ButtonDkShadow, "ButtonDkShadow", fw::cl3DDkShadow);
  ReadColourSlot(sc::MenuBarText, "MenuBarText", fw::clMenuText);
  ReadColourSlot(sc::TitleTextActive, "TitleTextActive", fw::clCaptionText);
  ReadColourSlot(sc::TitleTextNoActive, "TitleTextNoActive", fw::clInactiveCaptionText);

  SectionColors.clear();
  for (const std::string& name : *Sections) {
    std::string upper = UpperAscii(name);
    if (StartsWith(upper, "COLOUR") && upper != "COLOURS")
      SectionColors.push_back(ReadColourText(Str(name, "color"), fw::clWindowText));
  }
  for (int i = 0; i < 10; i++)
    CustomColors[i] = ReadColourText(Str("Customcolors", "Color" + std::to_string(i)), kWhite);
}

void TSkinDataContent::ReadSysButtons() {
  SysButtons.clear();
  std::vector<std::string> kept;
  for (const std::string& name : *Sections) {
    std::string upper = UpperAscii(name);
    if (!StartsWith(upper, "BUTTON") || upper == "BUTTON" || upper == "BUTTONS" ||
        upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX")
      continue;
    if (Int(name, "Action", 0) == -1 && Int(name, "Visibility", -1) != 0) continue;
    kept.push_back(name);
  }

  bool havePlace = false;
  int32_t placeX = 0, placeY = 0;
  for (const std::string& s : kept) {
    std::unique_ptr<TDataSkinSysButton> b(new TDataSkinSysButton(UpperAscii(s)));
    b->Action = Int(s, "Action", 0);
    b->Align = Int(s, "Align", 0);
    b->XCoord = Int(s, "Xcoord", 0);
    b->YCoord = Int(s, "Ycoord", 0);
    b->Visibility = Int(s, "Visibility", 0);
    b->Visibility1 = Int(s, "Visibility1", b->Action == -1 ? -1 : 0);
    b->CombineOp = Int(s, "CombineOp", -1);
    b->Frame = Int(s, "frame", 0);
    LoadSkinBitmap(b->Bitmap, Str(s, "ButtonImage"));

    // The restore button sits where the maximise button of the same caption
    // does; one that comes first keeps its own place.
    if (b->Action == 1 && b->Visibility == 2) {
      havePlace = true;
      placeX = b->XCoord;
      placeY = b->YCoord;
    } else if (b->Action == 4 && havePlace) {
      b->XCoord = placeX;
      b->YCoord = placeY;
    }

    if (b->Frame == 0) {
      b->Frame = 6;
      if (!b->Bitmap.Empty()) {
        b->Frame = SysButtonFrameCount(b->Action, b->Bitmap.Width(), b->Bitmap.Height());
        if (b->Action == 3 || b->Action == 11) b->Bitmap.Clear();
      }
    }
    SysButtons.push_back(std::move(b));
  }

  for (int action = 7; action <= 9; action++) {
    std::unique_ptr<TDataSkinSysButton> b(new TDataSkinSysButton(""));
    b->Action = action;
    b->Align = b->Visibility = b->Visibility1 = 100;
    b->Frame = 4;
    SysButtons.push_back(std::move(b));
  }
  ReadMdiButtons();
}

void TSkinDataContent::ReadMdiButtons() {
  fw::TBitmap source;
  LoadSkinBitmap(source, Str("MDICONTROLS", "Image"));
  if (source.Empty()) return;
  const int w = source.Width() / 12;
  const size_t first = SysButtons.size() - 3;
  for (int i = 0; i < 3; i++) {
    TDataSkinSysButton& b = *SysButtons[first + i];
    SetSkinBitmapSize(b.Bitmap, w * 4, source.Height());
    StretchCopy(PixelsOf(b.Bitmap), SkinRect(0, 0, w * 4, source.Height()), PixelsOf(source),
                SkinRect(4 * i * w, 0, 4 * (i + 1) * w, source.Height()));
    b.XCoord = (w + 4) * (3 - i);
  }
}

void TSkinDataContent::SetFrameCounts() {
  auto set = [](auto& object, int32_t frame) {
    if (object) object->Frame = frame;
  };
  set(Title, 2);
  set(Buttons, 5);
  if (Progress) Progress->Frame = Progress->Style != 0 ? 1 : 2;
  set(MenuBar, 2);
  set(GroupBoxEdge, 2);
  set(GroupBox, 1);
  set(Tabs, 5);
  set(StatusBarEdges, 3);
  set(TabPane, 1);
  set(ToolBars, 5);
  set(ComboButton, 4);
  set(SunkEdge, 4);
  set(ExtraImages, 5);
  if (HeaderBar && HeaderBar->Frame == 0) HeaderBar->Frame = 5;
  set(MenuItem, 5);
  set(MenuBackground, 1);
  set(ScrollBar, 23);
  set(HorzScroll, 4);
  set(VertScroll, 4);
  set(HorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
  set(VertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));
  for (auto* thumb : {&TrackThumbHorz, &TrackThumbVert, &TrackThumbLeft, &TrackThumbRight, &TrackThumbUp,
                      &TrackThumbDown})
    set(*thumb, 5);
  set(UpDownHorz, 8);
  set(UpDownVert, 8);

  auto glyphFrames = [](int32_t& frames, const fw::TBitmap& strip) {
    if (frames == 0) frames = GlyphFrameCount(strip.Width(), strip.Height());
  };
  glyphFrames(Buttons->RadioFrame, Buttons->RadioBitmap);
  glyphFrames(Buttons->CheckButtonFrame, Buttons->CheckBitmap);
  if (Buttons->RadioFrame < 1) Buttons->RadioFrame = 1;
  if (Buttons->CheckButtonFrame < 1) Buttons->CheckButtonFrame = 1;

  // Frame counts and margins are made safe here, once, for every object.
  TDataSkinObject* all[] = {
      BorderLeft.get(), BorderRight.get(), BorderTop.get(), BorderBottom.get(), Title.get(), Buttons.get(),
      Progress.get(), ProgressChunk.get(), MenuBar.get(), GroupBoxEdge.get(), GroupBox.get(), Tabs.get(),
      StatusBarEdges.get(), TabPane.get(), ToolBars.get(), ComboButton.get(), SunkEdge.get(),
      ExtraImages.get(), HeaderBar.get(), MenuItem.get(), MenuBackground.get(), ScrollBar.get(),
      HorzScroll.get(), VertScroll.get(), HorzScrollThumb.get(), VertScrollThumb.get(), TrackThumbHorz.get(),
      TrackThumbVert.get(), TrackThumbLeft.get(), TrackThumbRight.get(), TrackThumbUp.get(),
      TrackThumbDown.get(), UpDownHorz.get(), UpDownVert.get(), Track.get(), TrackVert.get()};
  for (TDataSkinObject* o : all)
    if (o) o->Normalise();
  for (auto& b : SysButtons) b->Normalise();
}

void TSkinDataContent::BuildComboFrame() {
  if (!SunkEdge || !ComboButton) return;
  const int b = SkinScrollArrowWidth() + 2;
  const int frames = SunkEdge->Frame;
  fw::TBitmap strip, cell;
  SetSkinBitmapSize(strip, 50 * frames, 21);
  for (int k = 1; k <= frames; k++) {
    SetSkinBitmapSize(cell, 50, 21);
    HDC dc = cell.Canvas()->Handle();
    DrawSkinImage(dc, SkinRect(0, 0, 50, 21), SunkEdge->Bitmap, false, false, SunkEdge->Trans != 0, SunkEdge->Frame,
                  k, SunkEdge->Margins());
    const TSkinRect button = SkinRect(50 - b, 0, 50, 21);
    DrawSkinImage(dc, button, ComboButton->Bitmap, false, false, true, ComboButton->Frame, k,
                  ComboButton->Margins());
    if (ExtraImages) DrawSkinCellCentered(dc, button, ExtraImages->Bitmap, true, ExtraImages->Frame, k);
    const TSkinPixels pixels = PixelsOf(cell);
    pixels.FillRect(2, 2, 49 - b, 18, kMagenta);
    PutImage(PixelsOf(strip), 50 * (k - 1), 0, pixels, false);
  }
  ComboButton->Style = 2;
  ComboButton->TopHeight = SunkEdge->TopHeight;
  ComboButton->BottomHeight = SunkEdge->BottomHeight;
  ComboButton->LeftWidth = 2;
  ComboButton->RightWidth = b + 2;
  ComboButton->Bitmap.Assign(strip);
  FlipHorizontal(strip);
  SunkEdge->Bitmap.Assign(strip);
  SunkEdge->LeftWidth = b + 2;
  SunkEdge->RightWidth = 2;
}

void TSkinDataContent::BuildComboArrow() {
  if (!ComboArrow) ComboArrow.reset(new TDataSkinObject("ComboxArrow"));
  if (!SunkEdge) {
    if (ComboButton) {
      ComboArrow->Bitmap.Assign(ComboButton->Bitmap);
      ReplaceMagenta(ComboArrow->Bitmap, Colors[sc::ButtonFace]);
      ComboArrow->Frame = ComboButton->Frame;
    }
    return;
  }
  if (!ComboButton || ComboButton->Style != 2) return;
  const int frames = SunkEdge->Frame;
  const int fw = ComboButton->Bitmap.Width() / frames;
  SetSkinBitmapSize(ComboArrow->Bitmap, 17 * frames, 17);
  const TSkinPixels strip = PixelsOf(ComboArrow->Bitmap);
  for (int i = 0; i < frames; i++)
    StretchCopy(strip, SkinRect(17 * i, 0, 17 * (i + 1), 17), PixelsOf(ComboButton->Bitmap),
                SkinRect(fw * (i + 1) - 19, 2, fw * (i + 1) - 2, 19));
  ComboArrow->Frame = frames;
}

void TSkinDataContent::BuildToolbar() {
  const TColor w = GetWindowColor();
  TColor c2 = Blend(0x808080, w, 150);
  const int s = ColorSaturation(SkinColorToRGB(w));
  if (s > 110) c2 = Blend(w, kWhite, (5625 - 25 * s) / 140 + 50);
  if (!Toolbar) Toolbar.reset(new TDataSkinObject("Toolbar"));
  SetSkinBitmapSize(Toolbar->Bitmap, 10, 40);
  const RECT all = {0, 0, 10, 40};
  GradientFill(Toolbar->Bitmap.Canvas()->Handle(), all, Blend(Colors[sc::ButtonFace], kWhite, 150), 1, c2);
  Toolbar->Frame = 1;
}

TColor TSkinDataContent::GetWindowColor() {
  if (BorderTop && !BorderTop->Bitmap.Empty()) {
    const TSkinPixels b = PixelsOf(BorderTop->Bitmap);
    const int frames = BorderTop->Frame < 1 ? 1 : BorderTop->Frame;
    return b.Pixel(b.Width() / 3, (b.Height() / frames) / 3);
  }
  return Colors[sc::ButtonFace];
}
void TSkinDataContent::ReadSkinDescription() {
  Description->ReadSections(Sections);
  SkinName = Description->ReadString("TitlebarSkin", "SkinName", "");
  ReadBorders();
  ReadColours();
  ReadSysButtons();

  ReadButtons();
  ReadTitle();
  ReadProgressObject(Progress, "Progress");
  ReadSkinObject(ProgressChunk, "Progress.Chunk");
  ReadMenuBar();
  ReadSkinObject(GroupBoxEdge, "GroupBoxEdge");
  ReadBoxLabelObject(GroupBox, "GroupBox");
  ReadBorderObject(Tabs, "Tabs", "Border");
  ReadSkinObject(StatusBarEdges, "StatusBarEdges");
  ReadSkinObject(TabPane, "Tab.Pane");
  if (TabPane) {
    TabPane->LeftWidth = std::min(TabPane->LeftWidth, 4);
    TabPane->TopHeight = std::min(TabPane->TopHeight, 4);
    TabPane->RightWidth = std::min(TabPane->RightWidth, 4);
    TabPane->BottomHeight = std::min(TabPane->BottomHeight, 4);
  }
  ReadSkinObject(ToolBars, "ToolBars");
  ReadBorderObject(ComboButton, "ComboButton", "****");
  ReadSkinObject(SunkEdge, "SunkEdge");

  if (ComboButton && !ComboButton->Bitmap.Empty()) {
    ComboButton->Bitmap2.Assign(ComboButton->Bitmap);
    FlipHorizontal(ComboButton->Bitmap2);
  }

  ReadSkinObject(ExtraImages, "ExtraImages");
  ReadSkinObject(HeaderBar, "Headerbar");
  ReadSkinObject(MenuItem, "MenuItem");
  ReadSkinObject(MenuBackground, "MenuBackground");
  ReadSkinObject(ScrollBar, "Scrollbar");
  ReadSkinObject(HorzScroll, "HorzScroll");
  ReadSkinObject(VertScroll, "VertScroll");
  ReadSkinObject(HorzScrollThumb, "HorzScrollThumb");
  ReadSkinObject(VertScrollThumb, "VertScrollThumb");
  ReadSkinObject(TrackThumbHorz, "Trackbar.ThumbHorz");
  ReadSkinObject(TrackThumbVert, "Trackbar.ThumbVert");
  ReadSkinObject(TrackThumbLeft, "Trackbar.ThumbLeft");
  ReadSkinObject(TrackThumbRight, "Trackbar.ThumbRight");
  ReadSkinObject(TrackThumbUp, "Trackbar.ThumbUp");
  ReadSkinObject(TrackThumbDown, "Trackbar.ThumbDown");
  ReadBorderObject(UpDownHorz, "UpDown.Horz", "GlyphImage");
  ReadBorderObject(UpDownVert, "UpDown.Vert", "GlyphImage");
  ReadSkinObject(Track, "Track");
  ReadSkinObject(TrackVert, "TRACKVERT");

  for (int vertical = 0; vertical < 2; vertical++) {
    std::unique_ptr<TDataSkinObject>& track = vertical ? TrackVert : Track;
    if (track) continue;
    track.reset(new TDataSkinObject(vertical ? "TRACKVERT" : "TRACK"));
    BuiltInTrackBitmap(track->Bitmap, vertical != 0);
    track->LeftWidth = track->TopHeight = track->RightWidth = track->BottomHeight = 3;
    track->Tile = 0;
    track->Frame = 1;
  }

  SetFrameCounts();
  BuildComboFrame();
  BuildComboArrow();
  BuildToolbar();
  Colors[sc::WindowColor] = GetWindowColor();
  FaceBrush.reset(new fw::TBrush);
  FaceBrush->SetColor(Colors[sc::ButtonFace]);
  NotLoaded = false;
}
