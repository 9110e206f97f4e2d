// The form skinner's creation and set-up, its register of control
// skinners, owner drawing of a form's menus, the MDI client's hook and
// destruction.
#include <algorithm>

#include "Application.h"
#include "PropertyText.h"
#include "SkinControl.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinPlatform.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

constexpr int kStateCreated = 0, kStateSkinned = 1, kStateDestroying = 4;

}  // namespace

TWinSkinForm::TWinSkinForm(TComponent* owner)
    : TComponent(owner), FFrameCanvas(new TCanvas), FControlCanvas(new TCanvas) {
  FCaptionPrefix = L"  ";
  FCaptionSuffix = FCaptionPrefix;
  FCaptionSuffix = L" ";
  FDoubleClickTime = GetDoubleClickTime();
  CreateCaptionFont();
  FActive = true;
  FState = kStateCreated;
}

TWinSkinForm::~TWinSkinForm() {
  if (!IsDestroying()) TWinSkinForm::BeforeDestruction();
}

void TWinSkinForm::BeforeDestruction() {
  if (!IsDestroying()) {
    SetDestroying();
    FreeAllSkinners();
    FreeSysButtons();
    // The window procedures go back if the window still carries them (a
    // form skinner freed without unskinning).
    frameworkHook_.Remove();
    windowSubclass_.Remove();
    clientSubclass_.Remove();
    FreeAndNil(FHoverTimer);
    FreeAndNil(FMenuBar);
    FreeAndNil(FSysMenuPopup);
    delete FCaptionFont;
    FCaptionFont = nullptr;
    if (FWindowRegion && !FRegionSet) DeleteObject(FWindowRegion);
    FWindowRegion = nullptr;
    if (TSkinManage* manager = SkinManager()) {
      manager->RemoveSkinnedForm(this);
      if (FFormKind == 1 && manager->MdiClientWnd == FClientWnd) {
        manager->MdiClientWnd = nullptr;
        manager->MdiFrameControl = nullptr;
        manager->MdiChildMaximized = false;
      }
    }
  }
  TComponent::BeforeDestruction();
}

bool TWinSkinForm::DeferFree() { return DeferFreeWhileBusy(this); }

TWinControl* TWinSkinForm::FormControl() const { return dynamic_cast<TWinControl*>(FForm); }

void TWinSkinForm::CreateCaptionFont() {
  delete FCaptionFont;
  FCaptionFont = new TFont;
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = 340;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0))
    FCaptionFont->SetHandle(CreateFontIndirectA(&metrics.lfCaptionFont));
}

void TWinSkinForm::SetupFrameworkForm(TSkinData* skinData, TControl* form) {
  FForm = form;
  FOldColor = form->Color();  // saved first: a failing set-up gives it back
  if (skinData->OnBeforeSkinForm) skinData->OnBeforeSkinForm(form, FHandle, FName);
  if (skinData->HasControl(xcMenuItem)) SetPropByName(form, "AutoScroll", "False");
  SetupWindow(skinData);
  if (FSkinFrame)
    frameworkHook_.Install(form, [this](TMessage& m) { FormFrameworkWindowProc(m); });
  form->SetColor(skinData->Colors[sc::ButtonFace]);
  if (skinData->HasControl(xcMenuItem)) SetMainMenusOwnerDraw(form, true);
}

void TWinSkinForm::SetupWindow(TSkinData* skinData) {
  if (windowSubclass_.Installed()) return;
  if (TSkinManage* manager = SkinManager()) manager->State = 1;
  FSkinData = skinData;
  FHoverTimer = new TTimer(this);
  FHoverTimer->SetInterval(250);
  FHoverTimer->SetEnabled(false);
  FHoverTimer->OnTimer = [this](TObject* sender) { HoverTimerTick(sender); };
  FSkinFrame = skinData->HasControl(xcMainMenu);

  FStyle = GetWindowLongW(FHandle, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(FHandle, GWL_EXSTYLE);
  FLeftScrollBar = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  FIsChild = (FStyle & WS_CHILD) != 0;
  FWindowClassName = WindowClassName(FHandle);
  FOwnerWnd = GetWindow(FHandle, GW_OWNER);

  FBorderIcons = ((FStyle & WS_SYSMENU) || FSystemMenu) ? 8 : 0;
  if (FStyle & WS_MINIMIZEBOX) FBorderIcons += 2;
  if (FStyle & WS_MAXIMIZEBOX) FBorderIcons += 1;
  if (exStyle & WS_EX_CONTEXTHELP) FBorderIcons += 4;
  ReadWindowState();
  FindMdiClient();
  if (exStyle & WS_EX_MDICHILD) {
    FFormKind = 2;
    if (skinData->HasOption(xoMDIChildBorder)) FSkinFrame = false;
  }

  FFrameStyle = 1;
  if ((FStyle & WS_CAPTION) != WS_CAPTION)
    FFrameStyle = 2;
  else if (FStyle & WS_THICKFRAME)
    FFrameStyle = 0;
  else if (FStyle & DS_MODALFRAME)
    FFrameStyle = 3;
  if (exStyle & WS_EX_DLGMODALFRAME) FFrameStyle = 3;

  if (skinplatform::IsWin2000()) {
    if (exStyle & WS_EX_APPWINDOW) FBorderIcons |= 16;
    else if (!FOwnerWnd && FFormKind != 2) FBorderIcons |= 16;
  }
  FUnicode = IsWindowUnicode(FHandle) != FALSE;
  FIsDialog = false;
  if (FWindowClassName == "#32770" || FWindowClassName == "TMessageForm") {
    FFrameStyle = 3;
    FIsDialog = true;
  }
  if (skinplatform::IsWin9x()) skinData->RemoveControl(xcSystemMenu);
  if (FFormKind == 1) {
    FMenuUpdate = skinData->MenuUpdate;
    HookClientWindow();
  }
  windowSubclass_.Install(FHandle, [this](TMessage& m) {
    TBusyScope busy(this);
    SkinFormWindowProc(m);
  });

  // The client area as the window has it now, with its own frame and menu
  // bar: the skinned frame is fitted around it, and unskinning puts this
  // frame back (the menu bar is taken off the window just below).
  RecordNativeFrame();
  if (FSkinFrame) {
    FMenuHandle = GetMenu(FHandle);
    if (FMenuHandle && FFormKind != 2) {
      FMenuBar = new TWinSkinMenu(this, FSkinData);
      FMenuBarHeight = GetSystemMetrics(SM_CYMENU);
      if (auto* form = dynamic_cast<TForm*>(FForm)) FMenuBar->Menu = form->Menu();
      FMenuBar->Build();
    }
    BuildFrame();
  } else {
    FState = kStateSkinned;
  }
  if (FFormKind == 2) {
    const int native = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    if (FBorderTop < native) FMenuBarHeight = native - FBorderTop;
    if (FWindowState == 1)
      if (TSkinManage* manager = SkinManager())
        if (!manager->MdiChildMaximized) manager->SetMdiChildMaximized(true);
  }
}

// ---- register of control skinners ------------------------------------------

bool TWinSkinForm::RegisterSkinner(TSkinControl* skinner) {
  if (std::find(FSkinners.begin(), FSkinners.end(), skinner) != FSkinners.end()) return true;
  FSkinners.push_back(skinner);
  return false;
}

void TWinSkinForm::UnregisterSkinner(TSkinControl* skinner) {
  for (size_t i = FSkinners.size(); i-- > 0;)
    if (FSkinners[i] == skinner) {
      FSkinners.erase(FSkinners.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
}

void TWinSkinForm::PurgeDeadSkinners() {
  for (size_t i = FSkinners.size(); i-- > 0;) {
    if (i >= FSkinners.size()) continue;
    TSkinControl* s = FSkinners[i];
    if (s->State == 6) s->Free();  // leaves the register itself
  }
}

void TWinSkinForm::FreeAllSkinners() {
  RestoreToolbarPainters();
  while (!FSkinners.empty()) {
    TSkinControl* s = FSkinners.front();
    if (FState != kStateDestroying && s->State != 6) s->Unskin();
    // Freeing takes it off the register; make sure it is off even if the
    // skinner defers its freeing.
    UnregisterSkinner(s);
    s->Free();
  }
  FSkinners.clear();
}

bool TWinSkinForm::IsControlRegistered(TControl* control) {
  if (!control) return false;
  if (auto* w = dynamic_cast<TWinControl*>(control))
    if (w->HandleIfAllocated() && SendMessageW(w->HandleIfAllocated(), SKM_ISSKINNED, 0, 0) == 1) return true;
  // A windowless control's skinner paints through it (its PaintTarget).
  for (TSkinControl* s : FSkinners)
    if (s->Control == control || s->PaintTarget == control) return true;
  return false;
}

TSkinControl* TWinSkinForm::FindSkinnerByHandle(HWND window) const {
  for (TSkinControl* s : FSkinners)
    if (s->Handle == window) return s;
  return nullptr;
}

// ---- menus of the form -----------------------------------------------------------

void TWinSkinForm::SetMenuItemsOwnerDraw(TMenuItem* item, bool on) {
  if (!item) return;
  if (on) {
    item->OnDrawItem = [this](TObject* sender, TCanvas* canvas, RECT rect, bool selected) {
      DrawSkinMenuItem(sender, canvas, rect, selected);
    };
    item->OnMeasureItem = [this](TObject* sender, TCanvas* canvas, int& w, int& h) {
      MeasureFormMenuItem(static_cast<TMenuItem*>(sender), canvas, w, h);
    };
  } else {
    item->OnDrawItem = nullptr;
  }
  for (int i = 0; i < item->Count(); i++) SetMenuItemsOwnerDraw(item->Items(i), on);
}

namespace {

void WalkMainMenuItems(TWinSkinForm* form, TMenuItem* item, int depth, bool on) {
  for (int i = 0; i < item->Count(); i++) {
    TMenuItem* child = item->Items(i);
    if (on) {
      if (depth + 1 >= 2 && !child->OnDrawItem) {
        child->OnDrawItem = [form](TObject* sender, TCanvas* canvas, RECT rect, bool selected) {
          form->DrawSkinMenuItem(sender, canvas, rect, selected);
        };
        child->OnMeasureItem = [form](TObject* sender, TCanvas* canvas, int& w, int& h) {
          form->MeasureFormMenuItem(static_cast<TMenuItem*>(sender), canvas, w, h);
        };
      }
    } else {
      child->OnDrawItem = nullptr;
      child->OnMeasureItem = nullptr;
    }
    WalkMainMenuItems(form, child, depth + 1, on);
  }
}

void WalkPopupItems(TWinSkinForm* form, TMenuItem* item, bool on) {
  for (int i = 0; i < item->Count(); i++) {
    TMenuItem* child = item->Items(i);
    if (on) {
      child->OnDrawItem = [form](TObject* sender, TCanvas* canvas, RECT rect, bool selected) {
        form->DrawSkinMenuItem(sender, canvas, rect, selected);
      };
      if (!child->OnMeasureItem)
        child->OnMeasureItem = [form](TObject* sender, TCanvas* canvas, int& w, int& h) {
          form->MeasurePopupMenuItem(sender, canvas, w, h);
        };
    } else {
      child->OnDrawItem = nullptr;
      child->OnMeasureItem = nullptr;
    }
    WalkPopupItems(form, child, on);
  }
}

}  // namespace

void TWinSkinForm::SetMainMenusOwnerDraw(TComponent* owner, bool on) {
  if (!owner) return;
  for (TComponent* c : owner->Components()) {
    auto* menu = dynamic_cast<TMainMenu*>(c);
    if (!menu) continue;
    menu->SetOwnerDraw(on);
    WalkMainMenuItems(this, menu->Items(), 0, on);
  }
}

void TWinSkinForm::SkinPopupMenus(TComponent* owner, bool on, bool recurse) {
  if (!owner || !FSkinData) return;
  if (FForm && FForm->ClassName() == "TwwRichEditForm") return;
  for (TComponent* c : owner->Components()) {
    if (c->InheritsFrom("TFrame") || dynamic_cast<TForm*>(c)) {
      if (recurse) SkinPopupMenus(c, on, recurse);
      continue;
    }
    auto* menu = dynamic_cast<TPopupMenu*>(c);
    if (!menu || menu->Tag() == FSkinData->DisableTag || menu == FSysMenuPopup) continue;
    if (!FSkinData->HasControl(xcPopupMenu)) continue;
    menu->SetOwnerDraw(on);
    WalkPopupItems(this, menu->Items(), on);
  }
}

// ---- MDI client ---------------------------------------------------------------------

void TWinSkinForm::HookClientWindow() {
  if (!FClientWnd || clientSubclass_.Installed()) return;
  clientSubclass_.Install(FClientWnd, [this](TMessage& m) {
    TBusyScope busy(this);
    MdiClientWindowProc(m);
  });
}

void TWinSkinForm::UnhookClientWindow() { clientSubclass_.Remove(); }

void TWinSkinForm::CallClientProc(TMessage& m) { clientSubclass_.CallPrevious(m); }

// ---- geometry -----------------------------------------------------------------------

void TWinSkinForm::RecordNativeFrame() {
  GetClientRect(FHandle, &FClientRect);
  RECT w;
  GetWindowRect(FHandle, &w);
  FNativeFrame = RECT{0, 0, (w.right - w.left) - FClientRect.right, (w.bottom - w.top) - FClientRect.bottom};
}

void TWinSkinForm::AdjustWindowToSkin(bool keepClient) {
  if (FWindowState == 1) {
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  RECT w;
  GetWindowRect(FHandle, &w);
  if (FIsDialog || FState == 3) GetClientRect(FHandle, &FClientRect);
  // The client area recorded before the window's menu bar was taken off
  // (a framework form's and a plain window's alike), so that the client
  // area keeps its size under the skinned frame.
  int width = FClientRect.right + FBorderLeft + FBorderRight;
  const int clientBottom = FClientRect.bottom;
  if (keepClient) GetClientRect(FHandle, &FClientRect);
  int height = clientBottom + FBorderTop + FBorderBottom + FMenuBarHeight;
  if (FIsDialog && !keepClient) {
    FCaptionText = ReadWindowTextWide(FHandle);
    HDC dc = GetWindowDC(FHandle);
    if (dc) {
      TCanvas canvas;
      canvas.SetHandle(dc);
      canvas.SetFont(FCaptionFont);
      SIZE size = {};
      canvas.SelectObjects();
      GetTextExtentPoint32W(dc, FCaptionText.c_str(), static_cast<int>(FCaptionText.size()), &size);
      canvas.SetHandle(nullptr);
      ReleaseDC(FHandle, dc);
      FCaptionTextWidth = size.cx;
    }
    const int needed = FSkinData->Title->LeftWidth + FCaptionTextWidth + FSkinData->Title->RightWidth;
    if (width < needed) {
      const int shift = (needed - width) / 2;
      for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT c;
        GetWindowRect(child, &c);
        POINT p = {c.left, c.top};
        ScreenToClient(FHandle, &p);
        SetWindowPos(child, nullptr, p.x + shift, p.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
      }
      width = needed;
    }
  }
  SetWindowPos(FHandle, nullptr, w.left, w.top, width, height,
               SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

void TWinSkinForm::RepaintWindowNow(HWND window) {
  if (!window) return;
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
}
