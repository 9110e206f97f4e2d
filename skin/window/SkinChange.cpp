// A new skin for a window that stays, the window given back exactly as it
// was when skinning stops, letting go of a window that is destroyed, and
// the work bitmap shared by the frame painting and the control skinners.
#include <algorithm>

#include "Application.h"
#include "SkinControl.h"
#include "SkinDraw.h"
#include "PropertyText.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

constexpr int kStateSkinned = 1, kStateChanging = 3, kStateDestroying = 4;

}  // namespace

TBitmap* SharedBitmap() {
  // Made at first use and kept for the program's life.
  static TBitmap* bitmap = [] {
    auto* b = new TBitmap;
    SetSkinBitmapSize(*b, 1, 1);
    SetStretchBltMode(b->Canvas()->Handle(), COLORONCOLOR);
    return b;
  }();
  return bitmap;
}

void TWinSkinForm::FreeSysMenuPopup() {
  if (!FSysMenuPopup) return;
  // Open (this window's procedure is tracking it further up the stack): it
  // is closed now and goes with the form skinner, which waits for that.
  if (FSysMenuPopup->Handle()) {
    EndMenu();
    return;
  }
  FreeAndNil(FSysMenuPopup);
}

void TWinSkinForm::NotifySkinned() {
  SendMessageW(FHandle, SKM_FORMSKINNEDNOTIFY, 0, kSkinMarker);
  if (FSkinData && FSkinData->OnAfterSkinForm) FSkinData->OnAfterSkinForm(FForm, FHandle, FName);
}

void TWinSkinForm::ApplyNewSkin() {
  if (!FSkinData) return;
  const TColor face = FSkinData->Colors[sc::ButtonFace];
  if (FForm) {
    FForm->SetColor(face);
    for (TComponent* c : FForm->Components()) {
      if (auto* f = dynamic_cast<TForm*>(c)) f->SetColor(face);
      if (c->InheritsFrom("TTabSet")) {
        int32_t current = 0;
        if (GetOrdProp(c, "BackgroundColor", current) == TPropStatus::Ok && current != static_cast<int32_t>(face)) {
          SetOrdProp(c, "BackgroundColor", static_cast<int32_t>(face));
          if (auto* control = dynamic_cast<TControl*>(c)) control->Invalidate();
        }
      }
    }
  }
  // Copy: a skinner may go while it re-applies its skin.
  const std::vector<TSkinControl*> skinners = FSkinners;
  for (TSkinControl* s : skinners)
    if (std::find(FSkinners.begin(), FSkinners.end(), s) != FSkinners.end()) s->ApplySkinChange();
  FState = kStateChanging;
  if (FSkinFrame && FForm) {
    SkinPopupMenus(FForm, true, true);
    GetClientRect(FHandle, &FClientRect);
    AdjustWindowToSkin(true);
    const int h = FForm->Height();
    FForm->SetHeight(h + 1);
    FForm->SetHeight(h);
  }
  UpdateWindowRegion();
  PaintSkinFrame(nullptr);
  NotifySkinned();
  FState = kStateSkinned;
}

void TWinSkinForm::UnskinControlsOnly() {
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  FreeAllSkinners();
  if (FForm) {
    SkinPopupMenus(FForm, false, true);
    if (FSkinData && FSkinData->HasControl(xcMenuItem)) SetMainMenusOwnerDraw(FForm, false);
    if (FState != kStateDestroying) FForm->SetColor(FOldColor);
  }
  windowSubclass_.Remove();
  clientSubclass_.Remove();
  if (FForm && FState != kStateDestroying)
    for (TComponent* c : FForm->Components())
      if (auto* control = dynamic_cast<TControl*>(c)) control->Invalidate();
}

bool TWinSkinForm::DetachFromWindow() {
  if (!FSkinFrame) {
    UnskinControlsOnly();
    return false;
  }
  FreeSysMenuPopup();
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  if (!windowSubclass_.Installed()) return false;
  frameworkHook_.Remove();
  windowSubclass_.Remove();
  FreeAllSkinners();
  return true;
}

void TWinSkinForm::UnskinWindow() {
  if (!DetachFromWindow()) return;
  if (FForm) {
    SkinPopupMenus(FForm, false, true);
    if (FSkinData && FSkinData->HasControl(xcMenuItem)) SetMainMenusOwnerDraw(FForm, false);
    if (FState != kStateDestroying) FForm->SetColor(FOldColor);
  }
  SetSysMenuStyle(false);
  UnmarkMenus();
  if (FMenuBar) {
    if (FMenuBar->MenuHandle && IsMenu(FMenuBar->MenuHandle)) SetMenu(FHandle, FMenuBar->MenuHandle);
    FreeAndNil(FMenuBar);
  }
  clientSubclass_.Remove();
  // The client area stays as it is: the window gets its own frame back.
  RECT w;
  if (FState != kStateDestroying && GetWindowRect(FHandle, &w) && (FFormKind == 2 || !(FStyle & WS_CHILD))) {
    POINT p = {w.left, w.top};
    if (FFormKind == 2) {
      TSkinManage* manager = SkinManager();
      HWND parent = manager && manager->MdiClientWnd ? manager->MdiClientWnd : GetParent(FHandle);
      ScreenToClient(parent, &p);
    }
    const int width = (w.right - w.left) + FNativeFrame.right - FBorderLeft - FBorderRight;
    const int height = (w.bottom - w.top) + FNativeFrame.bottom - FBorderTop - FBorderBottom - FMenuBarHeight;
    SetWindowPos(FHandle, nullptr, p.x, p.y, width, height, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  SetWindowRgn(FHandle, nullptr, TRUE);
  FRegionSet = false;
  FWindowRegion = nullptr;
}

void TWinSkinForm::UnskinOnDestroy() {
  if (!DetachFromWindow()) return;
  // A form whose window is only made anew (it is not being freed) keeps
  // its own colour, so that the skinner of its new window saves that one.
  if (FForm && !FForm->IsDestroying()) FForm->SetColor(FOldColor);
  FreeAndNil(FMenuBar);
}
