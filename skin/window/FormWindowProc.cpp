// The form skinner's three message routines: the window procedure put in
// place of the window's own, the procedure in front of the form object's
// WindowProc, and the MDI client's procedure.
#include "Application.h"
#include "SkinControl.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

constexpr int kStateCreated = 0, kStateSkinned = 1, kStateChanging = 3, kStateDestroying = 4, kStateFitting = 5,
              kStateFinished = 6;

bool IsSystemCommand(WPARAM id) {
  switch (id) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE: return true;
    default: return false;
  }
}

}  // namespace

// Stage 1: for every message whatever the skinning state. Answers true
// when the message is finished; false lets the later stages run.
bool TWinSkinForm::Stage1(TMessage& m, bool& handled) {
  handled = true;
  switch (m.Msg) {
    case WM_NCPAINT:
      if (FState == kStateCreated) {
        m.Result = 0;  // nothing of the frame is drawn before the first skinning
        return true;
      }
      break;
    case WM_ERASEBKGND:
      PassOn(m);
      if (!FForm && FSkinData && FSkinData->FaceBrush) {
        RECT r;
        GetClientRect(FHandle, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, FSkinData->FaceBrush->Handle());
        m.Result = 1;
      }
      return true;
    case WM_NCDESTROY:
      FState = kStateDestroying;
      UnskinOnDestroy();
      PassOn(m);
      FState = kStateFinished;
      return true;
    case WM_NCACTIVATE:
      // Nothing of the caption is drawn before the first skinning. The
      // answer lets a deactivation go ahead (0 would keep the activation
      // from moving to another window).
      if (FState == kStateCreated && FFormKind != 2) {
        m.Result = m.WParam ? 0 : 1;
        return true;
      }
      break;
    case 0x00AE:  // a non-client repaint request of newer systems' themes
      m.Result = 0;
      return true;
    case WM_INITMENUPOPUP:
      if (TSkinManage* manager = SkinManager())
        manager->PopupKind = reinterpret_cast<HMENU>(m.WParam) == FSystemMenu ? 2 : 1;
      PassOn(m);
      return true;
    case WM_CTLCOLORBTN:
      PassOn(m);
      if (!FForm) SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
      return true;
    case WM_CTLCOLORSTATIC:
      PassOn(m);
      if (!FForm && FSkinData && FSkinData->FaceBrush) {
        SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
        m.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush->Handle());
      }
      return true;
    case SKM_FORMSKINNED:
      FirstSkinning();
      return true;
    case SKM_RESKINSCROLLBAR:
      ReskinScrollBar(reinterpret_cast<HWND>(m.WParam));
      return true;
    case SKM_ISSKINNED:
      m.Result = 1;
      PostToWindow(FHandle, SKM_FORMSKINNEDNOTIFY, 0, kSkinMarker);
      return true;
    case SKM_PAINTFRAMETO:
    case SKM_QUERYSKINFORM:
      // A plain window has no form object to answer these: the window does.
      if (!FForm) {
        if (m.Msg == SKM_QUERYSKINFORM) {
          m.Result = m.LParam == kSkinMarker ? kSkinMarker : 1;
        } else if (m.LParam == kSkinMarker) {
          if (m.WParam) PaintSkinFrame(reinterpret_cast<HDC>(m.WParam));
          m.Result = kSkinMarker;
        }
        return true;
      }
      break;
    default: break;
  }
  handled = false;
  if (!FSkinFrame) {
    PassOn(m);
    return true;
  }
  return false;
}

// Stage 2: the frame is skinned. continueOn tells stage 3 that the
// message is still open.
bool TWinSkinForm::Stage2(TMessage& m, bool& continueOn) {
  continueOn = false;
  if (FFormKind != 2 && (FStyle & WS_CHILD)) {
    PassOn(m);
    return true;
  }
  switch (m.Msg) {
    case WM_SIZE:
      SizeHandler(m);
      return true;
    case WM_ACTIVATE: {
      const WORD how = LOWORD(m.WParam);
      FActive = how == WA_ACTIVE || how == WA_CLICKACTIVE;
      continueOn = true;
      return false;
    }
    case WM_NCACTIVATE:
      FActive = m.WParam != 0;
      continueOn = true;
      return false;
    case WM_GETMINMAXINFO:
      PassOn(m);
      ReadWindowState();
      return true;
    case WM_WINDOWPOSCHANGED:
      ReadWindowState();
      PassOn(m);
      return true;
    case WM_SETICON:
      PassOn(m);
      UpdateIconBitmap();
      return true;
    case WM_COMMAND:
      // Items of the skinned system menu arrive as commands; a control's
      // notification (lParam its window) is not one of them.
      if (m.LParam == 0 && IsSystemCommand(LOWORD(m.WParam)))
        PostToWindow(FHandle, WM_SYSCOMMAND, LOWORD(m.WParam), 0);
      else
        PassOn(m);
      return true;
    case WM_SYSCOMMAND:
      SysCommand(m);
      return true;
    case SKM_MENUBARCLICK:
      MenuButtonFromMessage(m);
      m.Result = 0;
      return true;
    case kCmMenuChanged:
      MenuChanged(m, [this](TMessage& msg) { PassOn(msg); });
      return true;
    default: continueOn = true; return false;
  }
}

void TWinSkinForm::Stage3(TMessage& m, bool stage2Continue) {
  const bool maximisedChild = FFormKind == 2 && FWindowState == 1;
  if (FState == kStateCreated || maximisedChild) {
    if (stage2Continue) PassOn(m);
    return;
  }
  switch (m.Msg) {
    case WM_DRAWITEM: OnDrawMenuItem(m); break;
    case WM_MEASUREITEM: OnMeasureMenuItem(m); break;
    case WM_WINDOWPOSCHANGING: PassOn(m); break;
    case WM_NCCALCSIZE: CalcSizeHandler(m); break;
    case WM_NCHITTEST: HitTestHandler(m); break;
    case WM_NCPAINT: FramePaintHandler(m); break;
    case WM_NCACTIVATE: ActivationHandler(m); break;
    case WM_NCMOUSEMOVE: NcMouseMove(m); break;
    case WM_NCLBUTTONDOWN: NcLButtonDown(m); break;
    case WM_NCLBUTTONUP: NcLButtonUp(m); break;
    case WM_NCLBUTTONDBLCLK: NcLButtonDblClk(m); break;
    case WM_NCRBUTTONDOWN: NcRButtonDown(m); break;
    case SKM_REPAINTFRAME: PaintSkinFrame(nullptr); break;
    default:
      if (stage2Continue) PassOn(m);
      break;
  }
}

void TWinSkinForm::SkinFormWindowProc(TMessage& m) {
  bool handled = false;
  if (Stage1(m, handled)) return;
  bool continueOn = false;
  if (Stage2(m, continueOn)) return;
  Stage3(m, continueOn);
}

// ---- handlers ---------------------------------------------------------------

void TWinSkinForm::FirstSkinning() {
  if (FSkinned && FState != kStateCreated) return;  // once
  FSkinned = true;
  FSystemMenu = GetSystemMenu(FHandle, FALSE);
  UpdateIconBitmap();
  if (FForm)
    SkinFormControls(FForm);
  else
    SkinWindowChildren(FHandle);
  if (FState == kStateCreated) {
    if (FFormKind == 2) {
      if (FWindowState == 1) {
        if (TSkinManage* manager = SkinManager())
          PostToWindow(manager->MdiClientWnd, SKM_REDRAWFRAMEWINDOW, reinterpret_cast<WPARAM>(FHandle), 0);
      } else if (FWindowState == 0) {
        FState = kStateFitting;
        AdjustWindowToSkin(true);
        FState = kStateSkinned;
        UpdateWindowRegion();
      }
    } else if (!(FStyle & WS_CHILD) && FFrameStyle != 2 && FWindowState != 2) {
      FState = kStateFitting;
      AdjustWindowToSkin(false);
      FState = kStateSkinned;
      if (FWindowState == 1)
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      else
        UpdateWindowRegion();
    }
  }
  NotifySkinned();
  FState = kStateSkinned;
  if (FHoverTimer) FHoverTimer->SetEnabled(true);
}

void TWinSkinForm::ReskinScrollBar(HWND control) {
  for (size_t i = FSkinners.size(); i-- > 0;) {
    TSkinControl* old = FSkinners[i];
    if (old->Handle != control) continue;
    const bool listView = old->InheritsFrom("TSkinListView");
    TControl* target = old->Control;
    UnregisterSkinner(old);
    old->Free();
    if (!target) return;
    TSkinControl* fresh = MakeSkinner(listView ? "TSkinListView" : "TSkinScrollbar", target);
    if (fresh) fresh->InitScrollSkin(target, FSkinData, this, FControlCanvas.get());
    return;
  }
}

void TWinSkinForm::SizeHandler(TMessage& m) {
  // The window's own procedure sees WM_SIZE once.
  PassOn(m);
  switch (m.WParam) {
    case SIZE_RESTORED: FWindowState = 0; break;
    case SIZE_MINIMIZED: FWindowState = 2; break;
    case SIZE_MAXIMIZED: FWindowState = 1; break;
    default: break;
  }
  if (FWindowState == 2) return;
  if (FFormKind == 2) {
    TSkinManage* manager = SkinManager();
    if ((manager && manager->MdiChildMaximized) || FWindowState != 0) return;
  }
  if (FState == kStateSkinned || FState == kStateChanging) UpdateWindowRegion();
}

void TWinSkinForm::ActivationHandler(TMessage& m) {
  FActive = m.WParam != 0;
  if (FHoverTimer) FHoverTimer->SetEnabled(FActive);
  if (FFormKind == 1 && FClientWnd) SendMessageW(FClientWnd, WM_NCACTIVATE, m.WParam, 0);
  if (FFormKind == 2) PassOn(m);
  if (!(FFormKind == 2 && FWindowState == 1)) PaintSkinFrame(nullptr);
  m.Result = 1;
}

void TWinSkinForm::FramePaintHandler(TMessage& m) {
  if (!(FBorderIcons & 0x10)) {
    FStyle = GetWindowLongW(FHandle, GWL_STYLE);
    if (FStyle & WS_SYSMENU) {
      FStyle &= ~WS_SYSMENU;
      SetWindowLongW(FHandle, GWL_STYLE, FStyle);
    }
  }
  if (!FSkinData->FramePaintEnabled) {
    m.Result = 0;
    return;
  }
  if ((FFormKind == 2 && FWindowState == 1) || FFrameStyle == 2) {
    PassOn(m);
    return;
  }
  PaintSkinFrame(nullptr);
  m.Result = 0;
}

void TWinSkinForm::CalcSizeHandler(TMessage& m) {
  PassOn(m);
  if (!m.WParam) {
    m.Result = 0;
    return;
  }
  auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
  const bool keepSystem = (FFormKind == 2 && FWindowState != 0) || FFrameStyle == 2;
  if (keepSystem) {
    p->rgrc[1] = p->rgrc[0];
  } else if (p->lppos) {
    const WINDOWPOS& w = *p->lppos;
    RECT r = {w.x + FBorderLeft, w.y + FBorderTop + FMenuBarHeight, w.x + w.cx - FBorderRight,
              w.y + w.cy - FBorderBottom};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    p->rgrc[0] = r;
    p->rgrc[1] = r;
  }
  m.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::HitTestHandler(TMessage& m) {
  PassOn(m);
  if (m.Result != HTNOWHERE && m.Result != HTCAPTION) return;
  POINT screen = {static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  RECT w;
  GetWindowRect(FHandle, &w);
  const int y = screen.y - w.top;
  // Only the caption band is the caption, only the menu row the menu.
  if (y > 3 && y < FBorderTop) m.Result = HTCAPTION;
  if (y >= FBorderTop && FMenuBarHeight > 0 && y < FBorderTop + FMenuBarHeight) m.Result = HTMENU;
}

// The window's menu changed: the window keeps no menu bar of its own, the
// skinned bar takes the new menu. The framework tells its form object
// (through WindowProc), other windows get the message itself.
void TWinSkinForm::MenuChanged(TMessage& m, const std::function<void(TMessage&)>& passOn) {
  const bool was = FSkinData->FramePaintEnabled;
  FSkinData->FramePaintEnabled = false;
  passOn(m);
  FSkinData->FramePaintEnabled = was;
  if (HMENU menu = GetMenu(FHandle)) {
    if (FMenuBar && FSkinData->MenuUpdate) {
      FMenuBar->MenuHandle = menu;
      FMenuBar->Build();
    }
    SetMenu(FHandle, nullptr);
  }
  if (FMenuBar) PaintSkinFrame(nullptr);
}

// ---- the form object's procedure ---------------------------------------------

void TWinSkinForm::FormFrameworkWindowProc(TMessage& m) {
  TBusyScope busy(this);
  switch (m.Msg) {
    case WM_SETTEXT:
      frameworkHook_.CallPrevious(m);
      if (IsWindowVisible(FHandle)) {
        if (FWindowState == 1)
          if (TSkinManage* manager = SkinManager())
            PostToWindow(manager->MdiClientWnd, SKM_REDRAWFRAMEWINDOW, reinterpret_cast<WPARAM>(FHandle), 0);
        if (FWindowState == 2)
          PaintSkinFrame(nullptr);
        else
          SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      }
      break;
    case SKM_APPLYNEWSKIN: ApplyNewSkin(); break;
    case kCmMenuChanged:
      if (FSkinFrame)
        MenuChanged(m, [this](TMessage& msg) { frameworkHook_.CallPrevious(msg); });
      else
        frameworkHook_.CallPrevious(m);
      break;
    case kCmDialogChar: HandleDialogChar(m); break;
    case SKM_PAINTFRAMETO:
      if (m.LParam == kSkinMarker) {
        if (m.WParam) PaintSkinFrame(reinterpret_cast<HDC>(m.WParam));
        m.Result = kSkinMarker;
      }
      break;
    case SKM_QUERYSKINFORM: m.Result = m.LParam == kSkinMarker ? kSkinMarker : 1; break;
    default: frameworkHook_.CallPrevious(m); break;
  }
}

// ---- the MDI client's procedure ---------------------------------------------------

void TWinSkinForm::MdiClientWindowProc(TMessage& m) {
  TSkinManage* manager = SkinManager();
  switch (m.Msg) {
    case WM_NCDESTROY:
      CallClientProc(m);
      UnhookClientWindow();
      break;
    case WM_NCCALCSIZE:
      if (FSkinFrame && !FSkinData->HasOption(xoMDIScrollbar)) {
        LONG style = GetWindowLongW(FClientWnd, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL)) SetWindowLongW(FClientWnd, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
      }
      CallClientProc(m);
      break;
    case WM_MDICREATE:
      FSkinData->MenuUpdate = false;
      CallClientProc(m);
      break;
    case WM_MDIDESTROY:
      CallClientProc(m);
      if (FSkinFrame) {
        BOOL maximised = FALSE;
        HWND active = reinterpret_cast<HWND>(SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0,
                                                          reinterpret_cast<LPARAM>(&maximised)));
        if (manager) manager->SetMdiChildMaximized(active && maximised);
        if (FMenuBar && !active) {
          FSkinData->MenuUpdate = FMenuUpdate;
          FMenuBar->Build();
        }
      }
      break;
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (FSkinFrame && manager && manager->MdiChildMaximized) manager->SetMdiChildMaximized(false);
      CallClientProc(m);
      break;
    case WM_MDISETMENU:
      CallClientProc(m);
      if (FSkinFrame) {
        if (m.WParam && FMenuBar) {
          FMenuBar->MenuHandle = reinterpret_cast<HMENU>(m.WParam);
          FMenuBar->Refresh();
        }
        SetMenu(FHandle, nullptr);
      }
      break;
    case SKM_REDRAWFRAMEWINDOW:
      RedrawWindow(FHandle, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      break;
    default: CallClientProc(m); break;
  }
}
