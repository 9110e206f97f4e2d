// The mouse over a skinned window's caption and menu bar: which caption
// button or menu-bar item is under it, their hover and pressed states, the
// buttons' actions, the skinned system menu, the caption-button hint, and
// the window state kept in step with the system.
#include "Application.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinPlatform.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

// The message is finished here: no later step treats it.
void Handled(TMessage& m) {
  m.Result = 0;
  m.Msg = 0;
}

// A press on this part of the frame starts a move or a size of the window.
bool StartsMoveOrSize(WPARAM hit) {
  return hit == HTCAPTION || hit == HTSIZE || (hit >= HTSIZEFIRST && hit <= HTSIZELAST);
}

// The release of the left button already waits in the thread's queue
// (over a client area or a frame): the press being handled is over. The
// queue is asked, not the button's state: the system's answer for the
// button itself may be some milliseconds old. Only input is looked at:
// messages sent from other threads wait for the thread's own loop rather
// than run in the middle of the press.
bool LeftReleaseQueued() {
  MSG msg;
  const UINT flags = PM_NOREMOVE | PM_NOYIELD | PM_QS_INPUT;
  return PeekMessageW(&msg, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, flags) ||
         PeekMessageW(&msg, nullptr, WM_NCLBUTTONUP, WM_NCLBUTTONUP, flags);
}

}  // namespace

TWinSysButton* TWinSkinForm::FindCaptionButton(POINT p) const {
  for (const auto& b : FSysButtons)
    if (b->Visible && b->SkinButton->Action >= 0 && PtInRect(&b->Rect, p)) return b.get();
  return nullptr;
}

TNCObject* TWinSkinForm::HitNCObject(POINT p) const {
  if (TWinSysButton* b = FindCaptionButton(p)) return b;
  return FMenuBar ? FMenuBar->HitTest(p) : nullptr;
}

std::string TWinSkinForm::CaptionHintText(int action) {
  switch (action) {
    case 0:
    case 9:
    case 62: return "Close";
    case 1:
    case 22: return "Maximize";
    case 2:
    case 23:
    case 7:
    case 60: return "Minimize";
    case 8:
    case 61: return "Restore";
    default: return std::string();
  }
}

void TWinSkinForm::HideCaptionHint() {
  if (!FSkinData) return;
  FSkinData->HintTicks = 0;
  FSkinData->CloseCaptionHint();
}

void TWinSkinForm::RestoreWindow() {
  FWindowState = 0;
  PostToWindow(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::ToggleMaximize() {
  if (FWindowState == 1) {
    RestoreWindow();
    return;
  }
  if (FFormKind == 2)
    if (TSkinManage* manager = SkinManager()) manager->SetMdiChildMaximized(true);
  FWindowState = 1;
  PostToWindow(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  FHotObject = nullptr;
}

void TWinSkinForm::ToggleMinimize() {
  if (FWindowState == 2) {
    RestoreWindow();
    return;
  }
  FWindowState = 2;
  SetSysMenuStyle(false);
  PostToWindow(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::DoButtonAction(POINT screen) {
  auto* button = dynamic_cast<TWinSysButton*>(FHotObject);
  if (!button) return;
  const int action = button->SkinButton->Action;
  auto toActiveChild = [this](UINT command) {
    if (FFormKind != 1 || !FClientWnd) return;
    HWND child = reinterpret_cast<HWND>(SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0, 0));
    if (child) SendMessageW(child, WM_SYSCOMMAND, command, 0);
  };
  switch (action) {
    case 0:
      if (HasCloseItem()) {
        if (FHoverTimer) FHoverTimer->SetEnabled(false);
        PostToWindow(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      break;
    case 1:
    case 22:
      if (button->Enabled) ToggleMaximize();
      break;
    case 2:
    case 23:
      if (button->Enabled) ToggleMinimize();
      break;
    case 3:
    case 11:
    case 12: ShowSystemMenu(POINT{screen.x + 1, screen.y + 1}); break;
    case 4: PostToWindow(FHandle, WM_SYSCOMMAND, SC_CONTEXTHELP, 0); break;
    case 7:
    case 60: toActiveChild(SC_MINIMIZE); break;
    case 8:
    case 61: toActiveChild(SC_RESTORE); break;
    case 9:
    case 62: toActiveChild(SC_CLOSE); break;
    default: PostToWindow(FHandle, SKM_CAPTIONACTION, static_cast<WPARAM>(action), 0); break;
  }
}

void TWinSkinForm::ShowSystemMenu(POINT p) {
  TBusyScope busy(this);  // the menu's loop may unskin the window meanwhile
  const DWORD now = GetTickCount();
  if (now - FLastClickTime >= FDoubleClickTime) {
    if (TSkinManage* manager = SkinManager()) manager->PopupKind = 2;
    FLastClickTime = now;
    BuildSysMenuPopup();
    if (FSysMenuPopup) FSysMenuPopup->Popup(p.x, p.y);
    return;
  }
  if (FHotObject) {
    if (FHoverTimer) FHoverTimer->SetEnabled(false);
    PostToWindow(FHandle, WM_CLOSE, 0, 0);
  }
}

void TWinSkinForm::SysMenuItemClick(TObject* item) {
  if (auto* i = dynamic_cast<TMenuItem*>(item))
    PostToWindow(FHandle, WM_SYSCOMMAND, static_cast<WPARAM>(static_cast<uint32_t>(i->Tag())), 0);
}

void TWinSkinForm::SysMenuCommandClick(TObject* item) {
  auto* i = dynamic_cast<TMenuItem*>(item);
  if (!i) return;
  switch (i->Tag()) {
    case 0: RestoreWindow(); break;
    case 1: ToggleMaximize(); break;
    case 2: ToggleMinimize(); break;
    case 3:
      if (FHoverTimer) FHoverTimer->SetEnabled(false);
      PostToWindow(FHandle, WM_CLOSE, 0, 0);
      break;
    default: break;
  }
}

void TWinSkinForm::NcMouseMove(TMessage& m) {
  if (!FActive) {
    Handled(m);  // an inactive window's caption does not answer the mouse
    return;
  }
  // A press whose release went elsewhere (off the window) is over.
  if (FPressedButton && GetKeyState(VK_LBUTTON) >= 0) FPressedButton = nullptr;
  TNCObject* o = HitNCObject(ScreenToFrame(PointOf(m.LParam)));
  if (FPressedButton) {
    // While a caption button is held no other object takes the mouse; the
    // held one shows pressed over it and up away from it.
    if (o == FPressedButton) {
      if (FHotObject != o) o->MouseDown();
    } else if (FHotObject) {
      FHotObject->MouseLeave();
      FHotObject = nullptr;
    }
    if (o) {
      Handled(m);
      return;
    }
    PassOn(m);
    return;
  }
  if (o) {
    o->MouseEnter();
    Handled(m);
    return;
  }
  if (FHotObject) FHotObject->MouseLeave();
  FHotObject = nullptr;
  PassOn(m);
}

void TWinSkinForm::NcLButtonDown(TMessage& m) {
  HideCaptionHint();
  TNCObject* o = HitNCObject(ScreenToFrame(PointOf(m.LParam)));
  FPressedButton = o && !o->IsMenuButton() ? static_cast<TWinSysButton*>(o) : nullptr;
  if (o) {
    if (!FActive) SetForegroundWindow(FHandle);
    o->MouseDown();
    if (o->IsMenuButton()) {
      OpenMenuButton(static_cast<TMenuBtn*>(o));
      // The pop-up may have rebuilt the bar: the item is hot only if it is
      // still one of the bar's.
      if (FMenuBar)
        for (auto& b : FMenuBar->Buttons)
          if (b.get() == o) FHotObject = o;
    }
    Handled(m);
    return;
  }
  if (FWindowState == 1 && FActive && m.WParam == HTCAPTION) m.WParam = HTMENU;
  if (StartsMoveOrSize(m.WParam) && LeftReleaseQueued()) {
    // A press handled only after its release (the window's thread was busy
    // meanwhile) starts nothing: a move or size started now would follow
    // the pointer with no button held, until the next click ended it. The
    // window is brought forward as the press would have brought it.
    if (!FActive) SetForegroundWindow(FHandle);
    Handled(m);
    return;
  }
  PassOn(m);
}

void TWinSkinForm::NcLButtonUp(TMessage& m) {
  HideCaptionHint();
  TNCObject* o = HitNCObject(ScreenToFrame(PointOf(m.LParam)));
  // The action is the pressed button's, and only when released over it.
  TWinSysButton* pressed = FPressedButton;
  FPressedButton = nullptr;
  if (!o) {
    PassOn(m);
    return;
  }
  if (o == pressed) {
    FHotObject = o;
    o->MouseUp();
    DoButtonAction(PointOf(m.LParam));
  }
  Handled(m);
}

void TWinSkinForm::NcLButtonDblClk(TMessage& m) {
  TWinSysButton* b = FindCaptionButton(ScreenToFrame(PointOf(m.LParam)));
  if (b) {
    const int action = b->SkinButton->Action;
    if (action == 3 || action == 11) {
      if (FHoverTimer) FHoverTimer->SetEnabled(false);
      PostToWindow(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
      FPressedButton = b;  // the second click of a double click is a press too
    }
    Handled(m);
    return;
  }
  if (FWindowState == 1 || FWindowState == 2) {
    RestoreWindow();
    Handled(m);
  } else if (FBorderIcons & 1) {
    ToggleMaximize();
    Handled(m);
  } else {
    PassOn(m);
  }
}

void TWinSkinForm::NcRButtonDown(TMessage& m) {
  HideCaptionHint();
  if (m.WParam == HTCAPTION && FFormKind != 2) {
    ShowSystemMenu(PointOf(m.LParam));
    Handled(m);
    return;
  }
  PassOn(m);
}

void TWinSkinForm::SysCommand(TMessage& m) {
  const WPARAM command = m.WParam & 0xFFF0;
  if (!FMenuTracking && command == SC_KEYMENU) {
    const WPARAM ch = static_cast<WPARAM>(m.LParam);
    if (ch != ' ' && ch != '-' && !GetCapture()) {
      TMenuBtn* button = nullptr;
      if (ch == 0 && FMenuBar && !FMenuBar->Buttons.empty())
        button = FMenuBar->Buttons.front().get();
      else if (ch != 0)
        button = FindAccelButton(static_cast<wchar_t>(ch));
      if (button) {
        OpenMenuButton(button);
        m.Result = 1;
        return;
      }
    } else if (ch == ' ') {
      POINT origin = {0, 0};
      ClientToScreen(FHandle, &origin);
      ShowSystemMenu(origin);
    }
  }
  switch (command) {
    case SC_MINIMIZE: FWindowState = 2; break;
    case SC_MAXIMIZE: FWindowState = 1; break;
    case SC_RESTORE:
      FWindowState = 0;
      if (FFormKind == 2)
        if (TSkinManage* manager = SkinManager())
          if (manager->MdiChildMaximized) manager->SetMdiChildMaximized(false);
      break;
    default: break;
  }
  PassOn(m);
}

void TWinSkinForm::HoverTimerTick(TObject*) {
  if (FMenuTracking || !FHotObject || !FSkinData) return;
  POINT cursor;
  GetCursorPos(&cursor);
  const POINT p = ScreenToFrame(cursor);
  if (!PtInRect(&FHotObject->Rect, p)) {
    TNCObject* o = FHotObject;
    FHotObject = nullptr;
    o->MouseLeave();
    HideCaptionHint();
    return;
  }
  auto* button = dynamic_cast<TWinSysButton*>(FHotObject);
  if (!button) return;
  FSkinData->HintTicks += FHoverTimer ? FHoverTimer->Interval() : 250;
  const int pause = Application().HintPause(), hide = Application().HintHidePause();
  if (FSkinData->HintTicks < 2 * pause) return;
  if (FSkinData->HintTicks < 2 * pause + hide) {
    GetWindowRect(FHandle, &FWindowRect);
    const std::string text = CaptionHintText(button->SkinButton->Action);
    if (!text.empty()) {
      const RECT at = {button->Rect.left + FWindowRect.left, cursor.y + 24, 0, 0};
      FSkinData->ShowCaptionHint(at, text);
    }
  } else {
    FSkinData->CloseCaptionHint();
  }
}

// ---- the non-client objects ----------------------------------------------------

void TNCObject::MouseDown() {
  if (Form->FHotObject && Form->FHotObject != this) Form->FHotObject->MouseLeave();
  if (!Visible) return;
  Form->FHotObject = this;
  State = 2;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = 3;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Form->FHotObject == this) return;
  if (Form->FHotObject) Form->FHotObject->MouseLeave();
  if (!Visible) return;
  Form->FHotObject = this;
  State = 3;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  if (Form->FHotObject == this) Form->FHotObject = nullptr;
  State = 1;
  Paint();
  Form->HideCaptionHint();
}

void TWinSysButton::Paint() { Form->PaintCaptionButton(this, State); }
