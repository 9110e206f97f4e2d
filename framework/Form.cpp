#include "Form.h"

#include <windowsx.h>

#include <algorithm>

#include "Application.h"
#include "Dialogs.h"
#include "FormReader.h"
#include "Internal.h"
#include "Menus.h"
#include "Resources.h"
#include "Text.h"
#include "TextUtils.h"

namespace fw {

const TEnumType& FormBorderStyleType() {
  static const TEnumType t{"TFormBorderStyle",
                           {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
  return t;
}
const TEnumType& BorderIconType() {
  static const TEnumType t{"TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
  return t;
}
const TEnumType& PositionType() {
  static const TEnumType t{"TPosition",
                           {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                            "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}};
  return t;
}
const TEnumType& WindowStateType() {
  static const TEnumType t{"TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}};
  return t;
}

const TClassInfo& TForm::StaticClass() {
  static const TClassInfo info =
      TClassInfo::Make<TForm>("TForm", &TWinControl::StaticClass())
          .Str("Caption", &TControl::Caption, &TControl::SetCaption)
          .Int("Color", &TControl::Color, &TControl::SetColor, clBtnFace, &ColorIdents())
          .Obj("Font", &TControl::Font, &TControl::SetFont)
          .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, false)
          .Enum("BorderStyle", FormBorderStyleType(), &TForm::BorderStyle, &TForm::SetBorderStyle, bsSizeable)
          .Set("BorderIcons", BorderIconType(), &TForm::BorderIcons, &TForm::SetBorderIcons, kDefaultBorderIcons)
          .Enum("Position", PositionType(), &TForm::Position, &TForm::SetPosition, poDesigned)
          .Enum("WindowState", WindowStateType(), &TForm::WindowState, &TForm::SetWindowState, wsNormal)
          .Bool("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview, false)
          .Obj("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl)
          .Obj("Menu", &TForm::Menu, &TForm::SetMenu)
          .IntNoDefault("ClientWidth", &TForm::ClientWidthProp, &TForm::SetClientWidthProp)
          .IntNoDefault("ClientHeight", &TForm::ClientHeightProp, &TForm::SetClientHeightProp)
          .Bool("Visible", &TControl::Visible, &TControl::SetVisible, false)
          .Event("OnCreate", &TForm::OnCreate)
          .Event("OnDestroy", &TForm::OnDestroy)
          .Event("OnShow", &TForm::OnShow)
          .Event("OnHide", &TForm::OnHide)
          .Event("OnActivate", &TForm::OnActivate)
          .Event("OnDeactivate", &TForm::OnDeactivate)
          .Event("OnPaint", &TForm::OnPaint)
          .Event("OnClose", &TForm::OnClose)
          .Event("OnCloseQuery", &TForm::OnCloseQuery);
  return info;
}

TForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->Parent()) c = c->Parent();
  return const_cast<TForm*>(dynamic_cast<const TForm*>(c));
}

void ShowFormDataError(const std::string& formClass, const std::string& error) {
  std::wstring text = ToWide("Form data of " + formClass + " cannot be read:\n" + error);
  MessageBoxW(nullptr, text.c_str(), ToWide(Application().Title()).c_str(), MB_OK | MB_ICONERROR);
}

// Watches the control a form remembers as focused and makes the form forget
// it when it is freed: a freed component tells its owner, and only the
// components that asked, and the remembered control may belong to anyone
// (a panel, nothing, the main form while it sits in a floating window). A
// component of its own, so that its link comes and goes without touching
// the links the form has for other reasons (a floating window's client, a
// menu).
class TFormFocusWatch : public TComponent {
 public:
  explicit TFormFocusWatch(TForm* form) : TComponent(nullptr), form_(form) {}
  void Watch(TWinControl* control) {
    if (control == watched_) return;
    if (watched_) RemoveFreeNotification(watched_);
    watched_ = control;
    if (watched_) FreeNotification(watched_);
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != opRemove || component != watched_) return;
    watched_ = nullptr;
    if (form_->activeControl_ == component) form_->activeControl_ = nullptr;
  }

 private:
  TForm* form_;
  TWinControl* watched_ = nullptr;
};

TForm::TForm(TComponent* owner) : TWinControl(owner), focusWatch_(new TFormFocusWatch(this)) {
  ownPaint_ = true;
  TControl::SetVisible(false);
  SetBounds(0, 0, 320, 240);
  Font()->SetName(DefaultFontName());
  Screen().AddForm(this);
}

TForm::~TForm() {
  focusWatch_->Watch(nullptr);
  delete focusWatch_;
  focusWatch_ = nullptr;
  activeControl_ = nullptr;
  DetachMenu(true);
  Screen().RemoveForm(this);
  if (Application().MainForm() == this) Application().SetMainForm(nullptr);
}

void TForm::BeforeDestruction() {
  if (!IsDestroying()) {
    if (OnDestroy) OnDestroy(this);
  }
  Screen().RemoveForm(this);
  if (Application().MainForm() == this) Application().SetMainForm(nullptr);
  DetachMenu(true);
  TWinControl::BeforeDestruction();
}

bool TForm::LoadFromResource(std::string& error) {
  std::string text;
  std::string name = UpperCase(ClassName());
  if (!LoadResourceText(name, text)) {
    error = "no form data resource " + name;
    return false;
  }
  return LoadFromText(text, error);
}

bool TForm::LoadFromText(const std::string& text, std::string& error) {
  return ReadFormData(this, text, error);
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
  if (Visible()) {
    // Visible = True in the form data shows the form after creation.
    TControl::SetVisible(false);
    SetVisible(true);
  }
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  if (hasClientSize_ && !HandleAllocated()) RecalcFromClientSize();
  RecreateWnd();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == borderIcons_) return;
  borderIcons_ = icons;
  RecreateWnd();
}

TWindowState TForm::WindowState() const {
  if (HWND h = HandleIfAllocated()) {
    if (IsIconic(h)) return wsMinimized;
    if (IsZoomed(h)) return wsMaximized;
    return wsNormal;
  }
  return windowState_;
}

void TForm::SetWindowState(TWindowState state) {
  windowState_ = state;
  if (HWND h = HandleIfAllocated(); h && Visible())
    ShowWindow(h, state == wsMinimized ? SW_MINIMIZE : state == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TForm::FocusSelfForControl() {
  HWND h = HandleIfAllocated();
  if (!h) return;
  keepActiveControl_ = true;
  ::SetFocus(h);
  keepActiveControl_ = false;
}

TWinControl* TForm::ActiveControl() const {
  return activeControl_ && GetParentForm(activeControl_) == this ? activeControl_ : nullptr;
}

void TForm::RememberControl(TWinControl* control) {
  activeControl_ = control;
  if (focusWatch_) focusWatch_->Watch(control);
}

TWinControl* TForm::RememberedControl() {
  if (activeControl_ && GetParentForm(activeControl_) != this) RememberControl(nullptr);
  return activeControl_;
}

void TForm::SetActiveControl(TWinControl* control) {
  RememberControl(control);
  if (control && Visible() && control->CanFocus()) control->SetFocus();
}

DWORD TForm::WindowStyle() const {
  DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  bool sys = (borderIcons_ & (1u << biSystemMenu)) != 0;
  switch (borderStyle_) {
    case bsNone: style |= WS_POPUP; break;
    case bsSingle: style |= WS_CAPTION; break;
    case bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: style |= WS_POPUP | WS_CAPTION; break;
    case bsToolWindow: style |= WS_CAPTION; break;
    case bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; break;
  }
  if (borderStyle_ != bsNone && sys) {
    style |= WS_SYSMENU;
    if (borderStyle_ == bsSingle || borderStyle_ == bsSizeable) {
      if (borderIcons_ & (1u << biMinimize)) style |= WS_MINIMIZEBOX;
      if (borderIcons_ & (1u << biMaximize)) style |= WS_MAXIMIZEBOX;
    }
  }
  return style;
}

DWORD TForm::WindowExStyle() const {
  DWORD ex = 0;
  if (borderStyle_ == bsDialog) ex |= WS_EX_DLGMODALFRAME;
  if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) ex |= WS_EX_TOOLWINDOW;
  if ((borderIcons_ & (1u << biHelp)) && borderStyle_ == bsDialog) ex |= WS_EX_CONTEXTHELP;
  return ex;
}

void TForm::RecalcFromClientSize() {
  RECT r = {0, 0, clientWidth_, clientHeight_};
  AdjustWindowRectEx(&r, WindowStyle(), menu_ ? TRUE : FALSE, WindowExStyle());
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
}

void TForm::SetClientSize(int width, int height) {
  if (!HandleAllocated()) {
    hasClientSize_ = true;
    clientWidth_ = width;
    clientHeight_ = height;
    RecalcFromClientSize();
    return;
  }
  TWinControl::SetClientSize(width, height);
}

RECT TForm::ClientRect() const {
  if (HandleAllocated()) return TWinControl::ClientRect();
  RECT frame = {0, 0, 0, 0};
  AdjustWindowRectEx(&frame, WindowStyle(), menu_ ? TRUE : FALSE, WindowExStyle());
  return RECT{0, 0, std::max<int>(0, width_ - (frame.right - frame.left)),
              std::max<int>(0, height_ - (frame.bottom - frame.top))};
}

HWND TForm::OwnerWindow() const {
  for (TComponent* o = Owner(); o; o = o->Owner()) {
    if (auto* f = dynamic_cast<TForm*>(o)) return f->Handle();
    if (auto* c = dynamic_cast<TControl*>(o)) {
      if (TForm* f = GetParentForm(c)) return f->Handle();
    }
  }
  TForm* main = Application().MainForm();
  if (main && main != this) return main->Handle();
  return nullptr;
}

void TForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.style = WindowStyle();
  p.exStyle = WindowExStyle();
  p.parent = OwnerWindow();
  p.id = nullptr;
  p.baseClass = nullptr;
}

void TForm::WindowCreated() {
  // The menu bar first: it takes its height from the client area.
  if (menu_) Perform(CM_MENUCHANGED, 1, reinterpret_cast<LPARAM>(menu_));
  if (hasClientSize_) {
    // Make the client area exactly the size the form data asked for.
    hasClientSize_ = false;
    TWinControl::SetClientSize(clientWidth_, clientHeight_);
  }
}

void TForm::ApplyPosition() {
  if (positioned_) return;
  positioned_ = true;
  RECT area;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT around = area;
  auto centre = [&](const RECT& r) {
    SetBounds(r.left + (r.right - r.left - Width()) / 2, r.top + (r.bottom - r.top - Height()) / 2, Width(), Height());
  };
  switch (position_) {
    case poScreenCenter:
    case poDesktopCenter: centre(area); break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TForm* other = nullptr;
      if (position_ == poOwnerFormCenter) other = dynamic_cast<TForm*>(Owner());
      if (!other) other = Application().MainForm();
      if (other && other != this && other->HandleAllocated()) GetWindowRect(other->HandleIfAllocated(), &around);
      centre(around);
      break;
    }
    default: break;
  }
}

void TForm::SetVisible(bool visible) {
  if (visible == Visible() && (!visible || HandleAllocated())) return;
  if (IsLoading()) {
    TControl::SetVisible(visible);
    return;
  }
  if (visible) {
    HWND h = Handle();
    if (!h) return;
    ApplyPosition();
    TControl::SetVisible(true);
    if (OnShow) OnShow(this);
    int cmd = windowState_ == wsMinimized ? SW_SHOWMINIMIZED : windowState_ == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOW;
    ShowWindow(h, cmd);
    // The visibility change above showed the window without activating
    // it; a form that is shown becomes the active window.
    if (cmd != SW_SHOWMINIMIZED) SetActiveWindow(h);
    UpdateWindow(h);
    if (TWinControl* control = RememberedControl(); control && control->CanFocus()) control->SetFocus();
  } else {
    if (OnHide) OnHide(this);
    TControl::SetVisible(false);
  }
}

void TForm::BringToFront() {
  if (HWND h = HandleIfAllocated()) SetForegroundWindow(h);
}

namespace {
BOOL CALLBACK CollectShownWindow(HWND w, LPARAM p) {
  auto* list = reinterpret_cast<std::vector<HWND>*>(p);
  if (IsWindowVisible(w)) list->push_back(w);
  return TRUE;
}
}  // namespace

TModalResult TForm::ShowModal() {
  if (modal_ || Visible()) return mrCancel;
  HWND previous = GetActiveWindow();
  HWND self = Handle();
  if (!self) return mrCancel;
  // Every other window of the program's thread is held disabled while we
  // run (with the holds of modal windows of other threads).
  std::vector<HWND> others;
  EnumThreadWindows(GetCurrentThreadId(), CollectShownWindow, reinterpret_cast<LPARAM>(&others));
  others.erase(std::remove(others.begin(), others.end(), self), others.end());
  TModalHold hold(others);
  // A window of this thread that holds the pointer (a press whose release
  // opened this form) would keep every click from the modal window.
  if (GetCapture()) ReleaseCapture();
  modal_ = true;
  modalResult_ = mrNone;
  ReadPendingWindowReports();
  SetVisible(true);
  SetActiveWindow(self);
  // The form stays whole while its loop runs: freeing or releasing it from
  // a handler ends the loop, and the form goes when ShowModal returns.
  TMessageScope scope(this);
  TCloseAction action = caHide;
  for (;;) {
    Application().HandleMessage();
    if (FreePending()) {
      if (modalResult_ == mrNone) modalResult_ = mrCancel;
      break;
    }
    if (Application().Terminated()) modalResult_ = mrCancel;
    if (modalResult_ == mrNone) continue;
    // A result was set: the form may still refuse to close.
    if (!Application().Terminated() && !CloseQuery()) {
      modalResult_ = mrNone;
      continue;
    }
    action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone && !Application().Terminated()) {
      modalResult_ = mrNone;
      continue;
    }
    break;
  }
  hold.Release();
  // The window we were opened over, or the modal window of another thread
  // that is still open over it.
  if (previous && IsWindow(previous)) ActivateAfterModal(previous);
  SetVisible(false);
  modal_ = false;
  TModalResult result = modalResult_;
  if (action == caFree) Release();
  return result;
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  bool isMain = Application().MainForm() == this;
  TCloseAction action = isMain ? caFree : caHide;
  if (OnClose) OnClose(this, action);
  switch (action) {
    case caNone: return;
    case caHide: SetVisible(false); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
  }
  if (isMain) Application().Terminate();
}

void TForm::Release() {
  if (released_) return;
  released_ = true;
  if (HWND h = Handle()) PostMessageW(h, CM_RELEASE, 0, 0);
}

void TForm::WndProc(TMessage& m) {
  if (WmMenuMessage(m)) return;
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      m.Result = 0;
      return;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) != WA_INACTIVE) {
        // The focus goes back to the control that had it when the form
        // was left (for a message box, say) while that control is still on
        // the form, else to the first control. The default handling, which
        // focuses the form's own window, runs only when no control takes
        // the focus; a remembered control that cannot take it now (still
        // disabled for its operation) stays the form's control meanwhile.
        TWinControl* target = RememberedControl();
        if (!target) target = FindNextControl(nullptr, true, true);
        if (target && target->CanFocus()) {
          target->SetFocus();
          m.Result = 0;
        } else {
          const bool keep = keepActiveControl_;
          keepActiveControl_ = keep || (target && target == activeControl_);
          DefaultHandler(m);
          keepActiveControl_ = keep;
        }
        if (OnActivate) OnActivate(this);
      } else {
        DefaultHandler(m);
        if (OnDeactivate) OnDeactivate(this);
        if (LostActivationGivenBack(HandleIfAllocated())) PostMessageW(Handle(), CM_TAKEACTIVATIONBACK, 0, 0);
      }
      return;
    case CM_TAKEACTIVATIONBACK: {
      // Still nothing of another program in front, and the form can take
      // the keys.
      const HWND self = HandleIfAllocated();
      if (self && DesktopInFront() && IsWindowVisible(self) && IsWindowEnabled(self))
        SetForegroundWindow(self);
      m.Result = 0;
      return;
    }
    case CM_FOCUSCHANGED: {
      auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
      if (focused != this) RememberControl(focused);
      else if (!keepActiveControl_) RememberControl(nullptr);
      m.Result = 0;
      return;
    }
    case WM_SHOWWINDOW:
      DefaultHandler(m);
      return;
    case WM_SYSCOMMAND:
      // A border that cannot be dragged is not sized by a command either
      // (a menu's Size, or one sent to the window).
      if ((m.WParam & 0xFFF0) == SC_SIZE && HandleAllocated() &&
          !(GetWindowLongW(Handle(), GWL_STYLE) & WS_THICKFRAME)) {
        m.Result = 0;
        return;
      }
      break;
    default: break;
  }
  TWinControl::WndProc(m);
}

void TForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == activeControl_) RememberControl(nullptr);
  if (operation == opRemove && component && component == menu_) {
    // The menu is being freed: its bar leaves the window.
    DetachMenu(false);
    if (HandleAllocated() && !IsDestroying()) {
      Realign();
      Perform(CM_MENUCHANGED, 1, 0);
    }
  }
}

// ---- the menu bar ------------------------------------------------------

void TForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu && menu->form_ && menu->form_ != this) menu->form_->SetMenu(nullptr);
  const bool hadMenu = menu_ != nullptr;
  DetachMenu(false);
  menu_ = menu;
  if (menu_) {
    menu_->form_ = this;
    menu_->FreeNotification(this);
  }
  if (hasClientSize_ && !HandleAllocated()) RecalcFromClientSize();
  if (HandleAllocated() && !IsDestroying()) {
    if (hadMenu && !menu_) Realign();
    Perform(CM_MENUCHANGED, 1, reinterpret_cast<LPARAM>(menu_));
  }
}

void TForm::DetachMenu(bool windowGoes) {
  if (!menu_) return;
  TMainMenu* menu = menu_;
  ReleaseMenuBar(windowGoes);
  menu_ = nullptr;
  if (menu->form_ == this) menu->form_ = nullptr;
  menu->RemoveFreeNotification(this);
}

void TForm::ReleaseMenuBar(bool windowGoes) {
  inMenuLoop_ = false;
  menuChangePending_ = false;
  if (!menu_ || !menu_->Handle()) return;
  HWND h = HandleIfAllocated();
  const bool onWindow = h && GetMenu(h) == menu_->Handle();
  if (onWindow && windowGoes) {
    // The window destroys its menu bar with itself.
    menu_->ForgetHandle();
    return;
  }
  if (onWindow) ::SetMenu(h, nullptr);
  menu_->DestroyHandle();
}

void TForm::UpdateMenuBar() {
  HWND h = HandleIfAllocated();
  if (!h || !menu_) return;
  if (inMenuLoop_) {
    // A menu of the window is open (tracked by the system): its handle
    // must stay until the menu closes.
    menuChangePending_ = true;
    return;
  }
  HMENU old = menu_->Handle();
  HMENU fresh = menu_->BuildHandle(false);
  ::SetMenu(h, fresh);
  if (old) DestroyMenu(old);
  DrawMenuBar(h);
  // The bar's height comes off the client area.
  Realign();
}

bool TForm::IsShortCut(WORD key, TShiftState shift) {
  if (!menu_) return false;
  const TShortCut shortCut = MakeShortCut(key, (shift & (1u << ssShift)) != 0, (shift & (1u << ssCtrl)) != 0,
                                          (shift & (1u << ssAlt)) != 0);
  TMenuItem* item = menu_->FindShortCut(shortCut);
  if (!item) return false;
  try {
    item->Click();
  } catch (...) {
    // A key is handled inside a message loop: nothing may unwind from it.
  }
  return true;
}

// The messages of the menu bar. True when the message was handled.
bool TForm::WmMenuMessage(TMessage& m) {
  switch (m.Msg) {
    case CM_MENUCHANGED:
      // wParam 0: only the look of the items changed.
      if (m.WParam || !menu_ || !menu_->Handle()) UpdateMenuBar();
      else if (HWND h = HandleIfAllocated()) DrawMenuBar(h);
      m.Result = 0;
      return true;
    case WM_COMMAND:
      // A menu's command: no control window, notification code 0.
      if (m.LParam == 0 && HIWORD(m.WParam) == 0 && menu_) {
        if (TMenuItem* item = menu_->FindItem(LOWORD(m.WParam), fkCommand)) {
          try {
            item->Click();
          } catch (...) {
            // No exception may unwind through the window procedure.
          }
          m.Result = 0;
          return true;
        }
      }
      return false;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (menu_ && HandleMenuOwnerDraw(HandleIfAllocated(), m.Msg, m.LParam, menu_)) {
        m.Result = TRUE;
        return true;
      }
      return false;
    case WM_ENTERMENULOOP:
      inMenuLoop_ = true;
      return false;
    case WM_EXITMENULOOP:
      inMenuLoop_ = false;
      TWinControl::WndProc(m);
      if (menuChangePending_) {
        menuChangePending_ = false;
        Perform(CM_MENUCHANGED, 1, reinterpret_cast<LPARAM>(menu_));
      }
      return true;
    case WM_DESTROY:
      // The menu bar goes with the window (re-created, the window gets a
      // new one).
      ReleaseMenuBar(true);
      return false;
    default: return false;
  }
}

void TForm::PaintWindow(HDC dc) {
  if (!OnPaint) return;
  TCanvas* c = Canvas();
  c->SetHandle(dc);
  c->Font()->Assign(*Font());
  c->Brush()->SetColor(Color());
  OnPaint(this);
  c->SetHandle(nullptr);
}

}  // namespace fw
