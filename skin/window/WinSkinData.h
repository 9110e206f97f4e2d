// The skin data component: a program drops one on its main window to give
// every window of its user-interface thread a skin. It holds the packed
// skin (the binary property SkinStream, or a skin file), reads it into the
// skin objects, carries the switches the skinners obey and the events
// through which the program may veto or replace skinning. Its Loaded step,
// run when the form that owns it has been read, starts the engine: it
// makes the one skin manager, registers itself and starts skinning.
//
// Also here: the few routines every skinner shares (wide-text drawing,
// the control of a window, the optional system entry points).
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Component.h"
#include "Control.h"
#include "Graphics.h"
#include "HintWindow.h"
#include "ImageList.h"
#include "SkinDataContent.h"
#include "StringList.h"

enum TSkinControlType {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
  xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
  xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = uint32_t;  // bit n = member n
enum TSkinOption {
  xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
  xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoCaptionButtonHint, xoFormScrollbar
};
using TSkinOptions = uint32_t;  // bit n = member n
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

const fw::TEnumType& SkinControlTypeType();
const fw::TEnumType& SkinOptionType();
const fw::TEnumType& SkinFormTypeType();

class TSkinData;
class TWinSkinForm;

using TOnFormSkin = std::function<void(fw::TObject* sender, const std::string& name, bool& doSkin)>;
using TOnSkinControl =
    std::function<void(fw::TComponent* sender, TSkinData* skinData, fw::TControl* form, fw::TControl* control,
                       const std::string& controlClass, fw::TComponent*& skinnedControl)>;
using TOnSkinForm = std::function<void(fw::TObject* sender, HWND window, const std::string& name)>;

// The rows of the class-name map given to a new component: ClassName=kind.
const std::vector<std::string>& DefaultSkin3rdMap();

class TSkinData : public fw::TComponent, public TSkinDataContent {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSkinData(fw::TComponent* owner);
  ~TSkinData() override;
  void BeforeDestruction() override;
  // The engine's start (see the header comment).
  void Loaded() override;
  // The binary property "SkinStream": the packed archive, after its size.
  void DefineProperties(fw::TFiler& filer) override;

  // ---- published ----
  bool Active() const { return active_; }
  void SetActive(bool value);
  int32_t DisableTag = 99;
  TSkinControlTypes SkinControls = 0;
  TSkinOptions Options = 0;
  fw::TStrings* Skin3rd() const { return skin3rd_.get(); }
  void SetSkin3rd(fw::TStrings* list);
  std::string SkinFile() const { return skinFile_; }
  void SetSkinFile(const std::string& file);
  // Reads "(none)" at run time; writing does nothing.
  std::string SkinStore() const { return "(none)"; }
  void SetSkinStore(const std::string&) {}
  TSkinFormType SkinFormtype = sfMainform;
  std::string Version() const { return "5.40.07.15"; }
  void SetVersion(const std::string&) {}
  bool MenuUpdate = true;
  bool MenuMerge = false;
  TOnFormSkin OnFormSkin;
  fw::TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;
  TOnSkinForm OnBeforeSkinForm;
  TOnSkinForm OnAfterSkinForm;

  // Accessors of the plain fields above for the property table.
  int32_t GetDisableTag() const { return DisableTag; }
  void SetDisableTag(int32_t v) { DisableTag = v; }
  uint32_t GetSkinControls() const { return SkinControls; }
  void SetSkinControls(uint32_t v) { SkinControls = v; }
  uint32_t GetOptions() const { return Options; }
  void SetOptions(uint32_t v) { Options = v; }
  TSkinFormType GetSkinFormtype() const { return SkinFormtype; }
  void SetSkinFormtype(TSkinFormType v) { SkinFormtype = v; }
  bool GetMenuUpdate() const { return MenuUpdate; }
  void SetMenuUpdate(bool v) { MenuUpdate = v; }
  bool GetMenuMerge() const { return MenuMerge; }
  void SetMenuMerge(bool v) { MenuMerge = v; }

  bool HasControl(TSkinControlType t) const { return (SkinControls & (1u << t)) != 0; }
  bool HasOption(TSkinOption o) const { return (Options & (1u << o)) != 0; }
  void RemoveControl(TSkinControlType t) { SkinControls &= ~(1u << t); }

  // ---- the engine's ----
  // The built-in rules whether a window of that class is skinned, or the
  // program's OnFormSkin; doSkin comes in with the manager's verdict.
  void AskFormSkin(HWND window, const std::string& className, bool& doSkin);
  // OnSkinChanged, after a skin change has been applied.
  void DoSkinChanged();
  // The caption-button hint (only with xoCaptionButtonHint): shown at
  // rect's top-left, once until it is closed.
  void ShowCaptionHint(const RECT& rect, const std::string& text);
  void CloseCaptionHint();
  // After a new skin file: tells the manager to apply it.
  void ApplyNewSkinFile();

  fw::THintWindow* HintWindow = nullptr;
  bool HintShown = false;
  int HintTicks = 0;
  // Restore, maximise, minimise and close glyphs (16 x 16) of the menus.
  fw::TImageList* MenuImages = nullptr;
  // The application's small icon on magenta, transparent.
  fw::TBitmap AppIcon;
  std::unique_ptr<fw::TFont> CaptionFont;
  int MaxWidth = 0, MaxHeight = 0;
  HWND QueryWindow = nullptr;
  bool FramePaintEnabled = true;

 private:
  void ReadCaptionFont();
  void ReadAppIcon();
  void LoadMenuImages();
  bool active_ = false;
  std::string skinFile_;
  std::unique_ptr<fw::TStrings> skin3rd_;
};

// ---- routines shared by the skinners ----

// GBK text as wide text (the system's ANSI code page).
std::wstring AnsiToWide(const std::string& text);
// The first count characters (-1: all).
std::wstring WideCopy(const std::wstring& text, int count);
// DrawTextW with the text's length; returns the height DrawText gives.
int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format);
// The framework control kept in the window's property, or nullptr.
fw::TWinControl* FindControlOfWindow(HWND window);
// GetScrollBarInfo where user32 has it; false where it does not.
bool GetScrollBarInfoOpt(HWND window, LONG objectId, SCROLLBARINFO& info);
// Asks for a WM_MOUSELEAVE where user32 has TrackMouseEvent.
void TrackMouseLeave(HWND window);

// Registers the skin engine's components (the skin data component and the
// skin store) so that form data can hold them.
void RegisterSkinDataClasses();
