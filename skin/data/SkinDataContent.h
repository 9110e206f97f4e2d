// What a loaded skin consists of, and how its description becomes it: the
// packed archive, the skin objects every skinner draws with, the colour
// tables, and the reading of the description into them. The skin data
// component derives from this and adds the switches and events of the engine.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Graphics.h"
#include "SkinObjects.h"
#include "SkinRead.h"
#include "SkinStream.h"
#include "WinSkinIni.h"

// Slots of TSkinDataContent::Colors.
struct sc {
  enum {
    WindowText = 0,
    TitleTextActive = 1,
    TitleTextNoActive = 2,
    ButtonFace = 3,
    ButtonText = 4,
    ButtonHilight = 5,
    Buttonlight = 6,
    ButtonShadow = 7,
    ButtonDkShadow = 8,
    HilightText = 11,
    Hilight = 12,
    Menubar = 13,
    MenuBarText = 14,
    MenuText = 15,
    Menu = 16,
    WindowColor = 17,
    Scrollbar = 18,
    Count = 19
  };
};

class TSkinDataContent {
 public:
  TSkinDataContent();
  virtual ~TSkinDataContent();

  // The packed archive (length word and LZHUF stream).
  TSkinMemoryStream SkinArchive;
  bool NotLoaded = true;

  // Made once and refilled on every load.
  std::unique_ptr<TDataSkinBorder> BorderLeft, BorderRight, BorderTop, BorderBottom;
  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinButton> Buttons;
  // Made anew on every load; null when the skin does not describe them.
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> ProgressChunk;
  std::unique_ptr<TDataSkinObject> MenuBar;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinObject> StatusBarEdges;
  std::unique_ptr<TDataSkinObject> TabPane;
  std::unique_ptr<TDataSkinObject> ToolBars;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> SunkEdge;
  std::unique_ptr<TDataSkinObject> ExtraImages;
  std::unique_ptr<TDataSkinObject> HeaderBar;
  std::unique_ptr<TDataSkinObject> MenuItem;
  std::unique_ptr<TDataSkinObject> MenuBackground;
  std::unique_ptr<TDataSkinObject> ScrollBar;
  std::unique_ptr<TDataSkinObject> HorzScroll, VertScroll;
  std::unique_ptr<TDataSkinObject> HorzScrollThumb, VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackThumbHorz, TrackThumbVert, TrackThumbLeft, TrackThumbRight,
      TrackThumbUp, TrackThumbDown;
  std::unique_ptr<TDataSkinBorder> UpDownHorz, UpDownVert;
  std::unique_ptr<TDataSkinObject> Track, TrackVert;
  std::unique_ptr<TDataSkinObject> ComboArrow;  // built: "ComboxArrow"
  std::unique_ptr<TDataSkinObject> Toolbar;     // built: "Toolbar"

  TColor Colors[sc::Count] = {};
  bool ColorSet[sc::Count] = {};
  std::vector<TColor> SectionColors;
  TColor CustomColors[10] = {};
  std::string SkinName;
  // A solid brush of the ButtonFace colour, made anew with every skin read.
  std::unique_ptr<fw::TBrush> FaceBrush;

  // Unpacks SkinArchive and reads its description. Never throws: a damaged
  // archive or description leaves the skin not loaded (after a message to the
  // operator) and returns false.
  bool LoadSkin();
  // Reads `Description` (loaded) into the objects and colours above.
  void ReadSkinDescription();
  // The colour a third into the top border's first image, or ButtonFace.
  TColor GetWindowColor();

  // Present only while a skin is loaded.
  TSkinReader* Reader = nullptr;
  TSkinMemoryStream* PartStream = nullptr;
  TQuickIni* Description = nullptr;
  std::vector<std::string>* Sections = nullptr;

  // Reading routines.
  void LoadSkinBitmap(fw::TBitmap& bitmap, const std::string& value);
  TColor ReadColourText(const std::string& text, TColor defaultColour) const;
  void ReadColourSlot(int slot, const std::string& key, TColor defaultColour);
  void ReadSkinObject(std::unique_ptr<TDataSkinObject>& object, const std::string& section);
  void ReadBorderObject(std::unique_ptr<TDataSkinBorder>& object, const std::string& section,
                        const std::string& secondImageKey);
  void ReadProgressObject(std::unique_ptr<TDataSkinBorder>& object, const std::string& section);
  void ReadBoxLabelObject(std::unique_ptr<TDataSkinBoxLabel>& object, const std::string& section);
  void ReadMenuBar();
  void ReadTitle();
  void ReadButtons();
  void ReadBorders();
  void ReadTextColour(const std::string& section, const std::string& prefix, TColor& colour) const;
  void ReadColours();
  void ReadSysButtons();
  void ReadMdiButtons();
  void SetFrameCounts();
  void BuildComboFrame();
  void BuildComboArrow();
  void BuildToolbar();

 private:
  std::string Str(const std::string& section, const std::string& key) const;
  int32_t Int(const std::string& section, const std::string& key, int32_t defaultValue) const;
  void ReadCommonKeys(TDataSkinObject& o, const std::string& section, bool frame);
  void FreeLoadedObjects();
};

// The plain track images used when a skin has none: 16 x 4 horizontal and
// 4 x 16 vertical, a sunken groove. (The program carries them as data: its
// resources hold form data only.)
void BuiltInTrackBitmap(fw::TBitmap& bitmap, bool vertical);
