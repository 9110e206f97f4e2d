// The one skin manager of the program. It decides which top-level windows
// of the user-interface thread are skinned and makes a form skinner for
// each, skins the thread's pop-up menu windows, watches window creation,
// activation and destruction through a WH_CBT thread hook, and runs the
// start, stop and skin-change requests of the skin data components from a
// one-shot timer. Everything here runs in the user-interface thread.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Control.h"
#include "Form.h"
#include "Subclass.h"
#include "Timer.h"

class TSkinData;
class TWinSkinForm;

// The skinner of one pop-up menu window ("#32768"): paints the window's
// background and frame from the skin's menu background image. The menu
// items themselves are owner-drawn by the form skinner, which copies each
// item's background out of this skinner's bitmap.
class TWinSkinPopMenu {
 public:
  TWinSkinPopMenu();
  ~TWinSkinPopMenu();
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  void Attach(HWND window, TSkinData* skin, HMENU ownerTag);
  void Detach();
  bool Attached() const { return subclass_.Installed(); }

  HWND Wnd = nullptr;
  TSkinData* MenuSkinData = nullptr;
  // The window-sized background image, made anew on every paint.
  fw::TBitmap Bitmap;
  // The menu shown in this window; 0 until the form skinner hands it over.
  HMENU OwnerTag = nullptr;

 private:
  void PopMenuWindowProc(fw::TMessage& m);
  void CallDefault(fw::TMessage& m) { subclass_.CallPrevious(m); }
  void EraseBackground(fw::TMessage& m);
  void PaintNonClient(fw::TMessage& m);
  void PaintPrint(fw::TMessage& m);
  // The background image for the window's present size; false when the
  // skin has no usable menu background.
  bool MakeBackground();
  fw::TWindowSubclass subclass_;
};

class TSkinManage {
 public:
  TSkinManage();
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  std::unique_ptr<fw::TTimer> Timer;
  // The form skinners of all skinned windows, in creation order. Each is
  // owned by its form (or by the manager for a plain window) and takes
  // itself off this list when it goes, so the list holds no dead entry.
  std::vector<TWinSkinForm*> SkinnedForms;
  std::vector<std::unique_ptr<TWinSkinPopMenu>> PopupMenus;
  std::vector<TSkinData*> SkinDataList;
  bool SkinningOn = false;
  bool StartPass = false;
  // 0 at creation; 1 once a window was activated (or a form skinner set
  // up, or skinning switched on at run time); 4 while being destroyed.
  int State = 0;
  // Kind of the next pop-up menu window: 0 a pop-up menu, 1 a menu of the
  // menu bar, 2 the system menu.
  uint8_t PopupKind = 0;
  bool MenuTracking = false;
  bool MdiChildMaximized = false;
  HWND MdiClientWnd = nullptr;
  fw::TControl* MdiFrameControl = nullptr;
  int PendingMode = 0;  // 1 start, 2 stop, 3 skin changed
  TSkinData* PendingSkinData = nullptr;
  TSkinData* MainSkinData = nullptr;
  // Copied into every form skinner; the manager frees only its own.
  void* Stamp = nullptr;

  void InstallSkinHook();
  void RegisterSkinData(TSkinData* skin);
  void UnregisterSkinData(TSkinData* skin);
  void PostSkinRequest(int mode, int interval);
  bool SkinWindow(HWND window);
  TWinSkinForm* FindSkinnedForm(HWND window) const;
  void RemoveSkinnedForm(HWND window);
  void RemoveSkinnedForm(TWinSkinForm* form);
  void SetMdiChildMaximized(bool flag);
  void ResetCaptionButtons();
  bool ShouldSkinWindow(HWND window, const std::string& className);
  TSkinData* ChooseSkinData(HWND window) const;
  void SkinForm(fw::TForm* form);
  void PurgeSkinnedForms();
  void SkinManageTimer();
  // The screen form whose window this is, else the framework control of
  // the window.
  static fw::TControl* FindFrameworkForm(HWND window);

  // Pop-up menu windows.
  void SkinPopupMenuWindow(HWND window);
  bool ReleasePopupMenuWindow(HWND window);
  bool IsPopupMenuSkinned(HWND window) const;
  void AssignPopupMenuOwner(HMENU menu);
  fw::TBitmap* PopupMenuBitmap(HMENU menu);
  void FreePopupMenus();

  // The hook's work for one notification (the hook procedure calls it; no
  // exception gets out).
  void HookNotification(int code, WPARAM wParam, LPARAM lParam);
  // The manager's timer or hook work is running further up the stack.
  bool Busy() const { return busy_ > 0; }
  void FreeWhenIdle() { freeWhenIdle_ = true; }

 private:
  // Marks the manager busy for its lifetime; frees it at the end when that
  // was asked for meanwhile.
  struct TWork {
    explicit TWork(TSkinManage* m);
    ~TWork();
    TSkinManage* manager;
  };
  void OnHook(int code, WPARAM wParam, LPARAM lParam);
  int busy_ = 0;
  bool freeWhenIdle_ = false;
  void StopForms(TSkinData* only);
  void ChangeSkin(TSkinData* only);
  // Unskins, repaints, takes off the list and frees one form skinner.
  void Unskin(TWinSkinForm* form);
  HHOOK hook_ = nullptr;
};

// The manager, or nullptr before the first skin data component started.
TSkinManage* SkinManager();
// The manager, made when it does not exist yet. It goes with the last skin
// data component that registered with it.
TSkinManage& EnsureSkinManager();
// Frees the manager now.
void FreeSkinManager();

// The window's class name (at most 100 characters).
std::string WindowClassName(HWND window);
// PostMessage that never posts to window 0.
void PostToWindow(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
