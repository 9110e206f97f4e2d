// The media player skinner. A media player draws its row of buttons (play,
// pause, stop ...) itself; rather than paint over it, the skinner lays a
// panel of its own exactly over the player, paints the skinned buttons on
// that panel in their states and passes the clicks through to the player
// underneath. TSkinMP makes, places and removes the panel; TWMediaPlayer is
// the panel.
//
// The player is reached only through its published properties: the sets
// VisibleButtons, EnabledButtons and ColoredButtons of its button type,
// read again at every paint. The button pictures are bitmap resources of
// the program named "<state>_<button>": EN_ (enabled), DI_ (disabled), CL_
// (coloured) of MPPLAY, MPPAUSE, MPSTOP, MPNEXT, MPPREV, MPSTEP, MPBACK,
// MPRECORD, MPEJECT; olive pixels are left out when they are drawn.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Panel.h"
#include "SkinControl.h"

class TSkinData;
class TSkinMP;

// The button types, in the order of the player's row.
enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
constexpr int kMediaButtonCount = 9;
// "No button" of the hit test.
constexpr uint8_t kNoMediaButton = 9;
// The colour left out of the button pictures.
constexpr TColor kMediaPictureKey = 0x008080;  // olive

// ---- geometry and the button sets (no drawing) ----

// The button types' names as the player's sets spell them.
const std::vector<std::string>& MediaButtonTypeNames();
// Which of the names are members of a set given as text ("[btPlay,btStop]"):
// flags[i] is true when names[i] is one (whole names, any letter case).
void ReadButtonSet(const std::string& text, const std::vector<std::string>& names, bool flags[kMediaButtonCount]);
// The visible button under x, counting only visible buttons, each
// buttonWidth wide from x = 0 with both ends inclusive; kNoMediaButton when
// none.
uint8_t MediaButtonAt(const bool visible[kMediaButtonCount], int buttonWidth, int x);

// One button type: its states and its three pictures.
struct TMediaButtonInfo {
  bool Visible = false;
  bool Enabled = false;
  bool Colored = false;
  fw::TBitmap EnabledPicture;
  fw::TBitmap DisabledPicture;
  fw::TBitmap ColoredPicture;
};

// The panel laid over a media player.
class TWMediaPlayer : public fw::TCustomPanel {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  // Loads the 27 pictures from the program's module (a picture the module
  // does not hold stays empty).
  explicit TWMediaPlayer(fw::TComponent* owner);

  TMediaButtonInfo ButtonInfo[kMediaButtonCount];
  int VisibleCount = 0;           // visible buttons at the last paint
  TSkinData* SkinData = nullptr;  // the skinner's
  bool MouseIsDown = false;
  uint8_t PressedIndex = kNoMediaButton;  // under the mouse at the last press or release
  uint8_t HitIndex = kNoMediaButton;      // found by the last hit test
  int ButtonWidth = 0;                    // at the last paint
  fw::TControl* MediaPlayer = nullptr;    // the player underneath

  // Takes the player and the skinner's skin; the panel is never skinned
  // itself (its Tag is the skin's DisableTag) and goes into the player's
  // parent at the player's place.
  void Attach(TSkinMP* skinner, fw::TControl* mediaPlayer);
  // The player's bounds become the panel's.
  void Place(fw::TControl* mediaPlayer);
  // The button under x (MediaButtonAt with the states of the last paint).
  uint8_t HitTest(int x) const;
  using fw::TCustomPanel::HitTest;
  // The player's press ended without its release: no button is held.
  void PlayerPressLost();

 protected:
  void Paint() override;
  void WndProc(fw::TMessage& m) override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  void LoadPictures();
  // The player's three sets into ButtonInfo and VisibleCount.
  void ReadButtonStates();
  void DrawButton(HDC dc, int index, const RECT& r);
  void MouseDownMessage(fw::TMessage& m);
  void MouseUpMessage(fw::TMessage& m);
  void PassToPlayer(fw::TMessage& m);
  void CaptureChanged(fw::TMessage& m);
  bool pressing_ = false;  // inside the press handling
};

class TSkinMP : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinMP(fw::TComponent* owner) : TSkinControl(owner) {}
  void BeforeDestruction() override;

  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  // Switched off, the panel goes out of the way; on again, it comes back.
  void SkinStateChanged() override;
  void Unskin() override;
  bool BeforeProc(fw::TMessage& m) override;
  void AfterProc(fw::TMessage& m) override;

  TWMediaPlayer* Overlay = nullptr;

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  void FreeOverlay();
  // The panel directly above the player among their siblings.
  void KeepOverlayAbove();
  // The player's window was made anew (the panel is under it now) or the
  // player went into another parent.
  bool OverlayStale() const;
  void RefreshOverlay();
  HWND overlaidWindow_ = nullptr;
};

// Registers TSkinMP.
void RegisterMediaPlayerSkinners();
