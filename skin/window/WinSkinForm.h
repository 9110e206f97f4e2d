// The form skinner: the skinner of one top-level window (a framework
// form, a standard dialog "#32770" or another window of the program's own
// module). It takes over the window's procedure, paints the whole frame
// from the skin (borders, caption, caption buttons and a menu bar of its
// own), answers the mouse over them, draws the window's menus, and gives
// each control of the window a control skinner.
//
// The work is spread over files by concern:
//   FormSkinner.cpp     creation, set-up, the register of control skinners,
//                       owner drawing of a form's menus, destruction
//   Discovery.cpp       which skinner each control of the window gets
//   FormWindowProc.cpp  the window procedure, the form object's procedure
//                       and the MDI client's procedure
//   FormFrame.cpp       frame geometry, painting and the window region
//   CaptionInput.cpp    the mouse over the caption, the system menu, hints
//                       and the window state
//   MenuBar.cpp         caption buttons and menu-bar items, the menu bar,
//                       its pop-ups and their keyboard and mouse tracking
//   MenuItemDraw.cpp    menu items and tool bars drawn in the skin
//   SkinChange.cpp      a new skin, unskinning, the shared work bitmap
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Canvas.h"
#include "Component.h"
#include "Control.h"
#include "Form.h"
#include "Menus.h"
#include "SkinObjects.h"
#include "Subclass.h"
#include "Timer.h"

class TSkinData;
class TSkinControl;

// The custom-draw events a tool bar publishes as "OnCustomDraw" and
// "OnCustomDrawButton"; the form skinner gives unassigned ones its painters.
using TToolBarCustomDrawEvent =
    std::function<void(fw::TObject* sender, fw::TCanvas* canvas, const RECT& rect, bool& defaultDraw)>;
using TToolBarCustomDrawButtonEvent = std::function<void(fw::TObject* sender, fw::TCanvas* canvas,
                                                         const RECT& bounds, UINT state, bool& defaultDraw)>;
class TWinSkinForm;
class TWinSkinMenu;

// One clickable item of the non-client area (a caption button or a
// menu-bar item), in window coordinates.
class TNCObject {
 public:
  explicit TNCObject(TWinSkinForm* form) : Form(form) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  TWinSkinForm* Form;
  RECT Rect = {0, 0, 0, 0};
  bool Visible = true;
  int State = 1;  // 1 normal, 2 pressed, 3 hot
  bool Enabled = true;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}
  virtual bool IsMenuButton() const { return false; }
};

// A caption button: one entry of the skin's caption-button list.
class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TWinSkinForm* form, TDataSkinSysButton* skinButton) : TNCObject(form), SkinButton(skinButton) {}
  TDataSkinSysButton* SkinButton;
  void Paint() override;
};

// One top-level item of the menu bar.
class TMenuBtn : public TNCObject {
 public:
  explicit TMenuBtn(TWinSkinForm* form) : TNCObject(form) {}
  fw::TMenuItem* MenuItem = nullptr;
  TSkinData* SkinData = nullptr;
  int Index = 0;
  std::wstring Caption;  // with its "&" accelerator marks
  bool ItemEnabled = true;
  HMENU SubMenu = nullptr;
  UINT Command = 0;
  void Paint() override;
  bool IsMenuButton() const override { return true; }
};

// The menu bar painted by the form skinner in place of the window's own.
class TWinSkinMenu : public fw::TComponent {
 public:
  TWinSkinMenu(TWinSkinForm* form, TSkinData* skin);
  ~TWinSkinMenu() override;

  std::vector<std::unique_ptr<TMenuBtn>> Buttons;
  fw::TMenu* Menu = nullptr;  // the form's main menu; nullptr for a plain window
  RECT BarRect = {0, 0, 0, 0};
  TSkinData* SkinData;
  TWinSkinForm* Form;
  fw::TBitmap BarBitmap;
  int ItemCount = 0;
  bool Painting = false;
  HMENU MenuHandle = nullptr;

  // Makes the buttons from the window's menu and takes the menu off the
  // window (SetMenu 0).
  void Build();
  // Makes the buttons again from the menu handle and lays them out.
  void Refresh();
  void Layout();
  void Paint(HDC dc, const RECT& rect);
  // The button under the point (window coordinates) with a caption.
  TMenuBtn* HitTest(POINT p) const;
  bool IsRightToLeft() const;

 private:
  void FreeButtons();
  void ButtonsFromHandle(bool refresh);
  int LeftMargin(int barWidth) const;
  // The widths of the visible items, in the menu font.
  void PlaceButtons(HDC dc, const RECT& bar, bool paint);
};

class TWinSkinForm : public fw::TComponent {
 public:
  explicit TWinSkinForm(fw::TComponent* owner);
  ~TWinSkinForm() override;
  void BeforeDestruction() override;

  // ---- creation and set-up (FormSkinner.cpp) ----
  void SetupFrameworkForm(TSkinData* skinData, fw::TControl* form);
  void SetupWindow(TSkinData* skinData);
  void CreateCaptionFont();
  bool RegisterSkinner(TSkinControl* skinner);
  void UnregisterSkinner(TSkinControl* skinner);
  void PurgeDeadSkinners();
  void FreeAllSkinners();
  bool IsControlRegistered(fw::TControl* control);
  TSkinControl* FindSkinnerByHandle(HWND window) const;
  void SetMenuItemsOwnerDraw(fw::TMenuItem* item, bool on);
  void SetMainMenusOwnerDraw(fw::TComponent* owner, bool on);
  void SkinPopupMenus(fw::TComponent* owner, bool on, bool recurse);
  void HookClientWindow();
  void UnhookClientWindow();
  void CallClientProc(fw::TMessage& m);
  void RecordNativeFrame();
  void AdjustWindowToSkin(bool keepClient);
  static void RepaintWindowNow(HWND window);

  // ---- discovery (Discovery.cpp) ----
  void SkinFormControls(fw::TControl* form);
  void SkinComponents(fw::TComponent* owner);
  void SkinChildControls(fw::TWinControl* parent);
  void SkinFrameworkControls(fw::TControl* control, fw::TComponent* owner);
  bool CreateSkinner(const std::string& className, fw::TControl* control);
  void SkinChildWindows(HWND window);
  void SkinWindowChildren(HWND window);
  void DisableGroupItems(fw::TControl* control);
  bool IsControlExcluded(fw::TControl* control);
  static bool HasScrollBars(fw::TControl* control);
  void SkinBorderedEdit(fw::TControl* control);
  // The custom-draw painters of a tool bar, given where its events are
  // unassigned, and taken back on unskinning where they are still ours.
  void InstallToolbarPainters(fw::TControl* toolbar);
  void RestoreToolbarPainters();
  std::vector<fw::TControl*> FToolbars;

  // ---- window procedures (FormWindowProc.cpp) ----
  void SkinFormWindowProc(fw::TMessage& m);
  void FormFrameworkWindowProc(fw::TMessage& m);
  void MdiClientWindowProc(fw::TMessage& m);
  void MenuChanged(fw::TMessage& m, const std::function<void(fw::TMessage&)>& passOn);
  // The window's own procedure.
  void PassOn(fw::TMessage& m) { windowSubclass_.CallPrevious(m); }
  bool WindowProcReplaced() const { return windowSubclass_.Installed(); }

  // ---- non-client frame (FormFrame.cpp) ----
  void BuildFrame();
  void PaintSkinFrame(HDC dc);
  void PaintCaption(HDC dc);
  void PaintCaptionText(fw::TCanvas& canvas, const RECT& captionRect);
  void LayoutCaptionButtons();
  void PaintCaptionButtons(fw::TCanvas& canvas);
  void PaintCaptionButton(TWinSysButton* button, int state);
  bool IsCaptionButtonVisible(int index);
  void PaintBorder(int side, const RECT& rect, HDC dc);
  void UpdateWindowRegion();
  void DropWindowRegion();
  void UpdateIconBitmap();
  void DrawCaptionIcon(HDC dc, const RECT& rect);
  POINT ScreenToFrame(POINT screen) const;
  void ReadWindowState();
  void FindMdiClient();
  void SetSysMenuStyle(bool remove);
  void FreeSysButtons();
  bool MdiChildMaximizedInFrame() const;

  // ---- caption input, system menu, hints, window state (CaptionInput.cpp) ----
  TWinSysButton* FindCaptionButton(POINT p) const;
  TNCObject* HitNCObject(POINT p) const;
  void DoButtonAction(POINT screen);
  void ToggleMaximize();
  void ToggleMinimize();
  void RestoreWindow();
  void ShowSystemMenu(POINT screen);
  static std::string CaptionHintText(int action);
  void HideCaptionHint();
  void HoverTimerTick(fw::TObject* sender);
  void SysMenuItemClick(fw::TObject* item);
  void SysMenuCommandClick(fw::TObject* item);
  void NcMouseMove(fw::TMessage& m);
  void NcLButtonDown(fw::TMessage& m);
  void NcLButtonUp(fw::TMessage& m);
  void NcLButtonDblClk(fw::TMessage& m);
  void NcRButtonDown(fw::TMessage& m);
  void SysCommand(fw::TMessage& m);
  // Makes the object hot (the old hot one leaves first) or clears it.
  void SetHotObject(TNCObject* object) { FHotObject = object; }

  // ---- menu bar and system menu (MenuBar.cpp) ----
  void ClickMenuButton(TMenuBtn* button);
  bool OpenMenuButton(TMenuBtn* button);
  void MenuButtonFromMessage(fw::TMessage& m);
  TMenuBtn* FindAccelButton(wchar_t ch) const;
  void HandleDialogChar(fw::TMessage& m);
  void ClearMenuTracking() { FMenuTracking = false; }
  std::wstring ReadWindowTextWide(HWND window) const;
  static std::string ReadWindowText(HWND window);
  void BuildSysMenuPopup();
  void BuildPlainSysMenuPopup();
  void AddSysMenuItem(const std::string& caption, int tag);
  bool HasCloseItem() const;

  // ---- menu items and tool bars (MenuItemDraw.cpp) ----
  void OnMeasureMenuItem(fw::TMessage& m);
  void OnDrawMenuItem(fw::TMessage& m);
  // Makes every item of the menu and its sub-menus owner-drawn, noting the
  // items it changed; UnmarkMenus gives them their own drawing back.
  void MarkMenuOwnerDraw(HMENU menu);
  void UnmarkMenus();
  std::vector<std::pair<HMENU, UINT>> FMarkedItems;
  fw::TMenuItem* MakeMenuItemFromHandle(HMENU menu, UINT id);
  void MeasureFormMenuItem(fw::TMenuItem* item, fw::TCanvas* canvas, int& width, int& height);
  void MeasureSysMenuItem(fw::TObject* item, fw::TCanvas* canvas, int& width, int& height);
  void MeasurePopupMenuItem(fw::TObject* item, fw::TCanvas* canvas, int& width, int& height);
  void DrawSkinMenuItem(fw::TObject* item, fw::TCanvas* canvas, RECT rect, bool selected);
  void DrawSkinMenuItemFromHandle(HMENU menu, fw::TMenuItem* item, fw::TCanvas* canvas, RECT rect,
                                  bool selected);
  void DrawPlainMenuItem(fw::TMenuItem* item, fw::TCanvas* canvas, RECT rect, bool selected);
  void DrawMenuItemContent(fw::TMenuItem* item, fw::TCanvas* canvas, RECT rect, bool selected);
  // Measuring (DT_CALCRECT), rect receives the text's extent.
  void DrawMenuText(fw::TMenuItem* item, fw::TCanvas* canvas, RECT& rect, const std::string& text, UINT flags,
                    bool selected);
  void DrawMenuSeparator(fw::TCanvas* canvas, const RECT& rect);
  void ToolbarCustomDraw(fw::TCanvas& canvas, const RECT& rect, bool& defaultDraw);
  // state: CDIS_ flags of the button.
  void ToolbarCustomDrawButton(fw::TCanvas& canvas, const RECT& bounds, UINT state, bool& defaultDraw);

  // ---- skin change and unskinning (SkinChange.cpp) ----
  void ApplyNewSkin();
  void UnskinWindow();
  void UnskinOnDestroy();
  // Takes the form skinner off its window (procedures, hooks, control
  // skinners); false when there was nothing of the frame to take off.
  bool DetachFromWindow();
  void UnskinControlsOnly();
  void NotifySkinned();
  // Frees the system menu copy, or closes it when it is open.
  void FreeSysMenuPopup();
  void Start(TSkinData* skinData) { SetupWindow(skinData); }

  // ---- fields ----
  fw::TFont* FCaptionFont = nullptr;
  bool FSkinned = false;
  fw::TTimer* FHoverTimer = nullptr;
  std::wstring FCaptionPrefix;
  std::wstring FCaptionSuffix;
  std::string FWindowClassName;
  bool FMenuUpdate = false;
  bool FSkinFrame = false;
  RECT FClientRect = {0, 0, 0, 0};
  DWORD FLastClickTime = 0;
  DWORD FDoubleClickTime = 0;
  int FCaptionTextWidth = 0;
  HWND FOwnerWnd = nullptr;
  HICON FIconHandle = nullptr;
  int FIconWidth = 0;
  std::wstring FCaptionText;
  int FBorderLeft = 0, FBorderTop = 0, FBorderRight = 0, FBorderBottom = 0;
  RECT FWindowRect = {0, 0, 0, 0};
  RECT FCaptionTextRect = {0, 0, 0, 0};
  RECT FNativeFrame = {0, 0, 0, 0};
  int FMenuBarHeight = 0;
  int FSysButtonCount = 0;
  bool FMenuTracking = false;
  bool FLeftScrollBar = false;
  bool FUnicode = false;
  bool FIsDialog = false;
  bool FIsChild = false;
  fw::TPopupMenu* FSysMenuPopup = nullptr;
  HWND FClientWnd = nullptr;
  HMENU FMenuHandle = nullptr;
  HMENU FSystemMenu = nullptr;
  HMENU FTrackedMenu = nullptr;
  TColor FOldColor = 0;
  LONG FStyle = 0;
  int FCaptionTextMax = 0;
  TNCObject* FHotObject = nullptr;
  // The caption button the left button went down on, while it is held: its
  // action is carried out only when the button comes up over it.
  TWinSysButton* FPressedButton = nullptr;
  bool FRegionSet = false;
  HRGN FWindowRegion = nullptr;
  fw::TControl* FForm = nullptr;
  HWND FHandle = nullptr;
  std::unique_ptr<fw::TCanvas> FFrameCanvas;
  std::unique_ptr<fw::TCanvas> FControlCanvas;
  TSkinData* FSkinData = nullptr;
  TWinSkinMenu* FMenuBar = nullptr;
  std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;
  fw::TBitmap FIconBitmap;
  fw::TBitmap FFrameBitmap;
  std::vector<TSkinControl*> FSkinners;
  int FWindowWidth = 0, FWindowHeight = 0;
  int FRegionWidth = 0, FRegionHeight = 0;
  bool FActive = true;
  uint8_t FFormKind = 0;    // 0 ordinary, 1 MDI frame, 2 MDI child
  uint8_t FFrameStyle = 0;  // 0 sizeable, 1 single, 2 without caption, 3 dialog
  uint8_t FBorderIcons = 0;  // 1 max, 2 min, 4 help, 8 system menu, 16 taskbar under Windows 2000
  uint8_t FWindowState = 0;  // 0 normal, 1 maximised, 2 minimised
  // 0 created, 1 skinned, 3 applying a skin change, 4 being destroyed,
  // 5 fitting the frame at the first skinning, 6 finished.
  int FState = 0;
  void* FManagerStamp = nullptr;
  std::string FName;

  // Framework form or not.
  fw::TWinControl* FormControl() const;

 protected:
  bool DeferFree() override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  friend class TWinSkinMenu;
  void FirstSkinning();
  void ReskinScrollBar(HWND control);
  void SizeHandler(fw::TMessage& m);
  void ActivationHandler(fw::TMessage& m);
  void FramePaintHandler(fw::TMessage& m);
  void CalcSizeHandler(fw::TMessage& m);
  void HitTestHandler(fw::TMessage& m);
  bool Stage1(fw::TMessage& m, bool& handled);
  bool Stage2(fw::TMessage& m, bool& continueOn);
  void Stage3(fw::TMessage& m, bool stage2Continue);
  // Frees the caption buttons and menu-bar items' hot state with them.
  void ForgetHotObject(const TNCObject* goingOrAll);
  fw::TWindowSubclass windowSubclass_;
  fw::TWindowProcHook frameworkHook_;
  fw::TWindowSubclass clientSubclass_;
};

// The form skinners' shared work bitmap (frame painting waits for it).
fw::TBitmap* SharedBitmap();
