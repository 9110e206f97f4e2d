#include "Application.h"

#include <algorithm>

#include "Dialogs.h"
#include "Internal.h"
#include "Menus.h"
#include "Registration.h"
#include "Text.h"
#include "TextUtils.h"
#include "Threads.h"

namespace fw {

namespace {

constexpr UINT_PTR kHintShowTimer = kApplicationTimerBase + 1;
constexpr UINT_PTR kHintHideTimer = kApplicationTimerBase + 2;

HWND g_utility = nullptr;

LRESULT UtilityMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case CM_SYNCHRONIZE:
      CheckSynchronize();
      return 0;
    case WM_TIMER:
      if (wParam >= kApplicationTimerBase) Application().HintTimerTick(wParam);
      else DispatchTimer(wParam);
      return 0;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (HandleMenuOwnerDraw(hwnd, msg, lParam)) return TRUE;
      break;
    default: break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK UtilityWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    return UtilityMessage(hwnd, msg, wParam, lParam);
  } catch (...) {
    // A timer handler, synchronised call or menu painter failed: the
    // message ends here, the program goes on.
    return 0;
  }
}

}  // namespace

HWND UtilityWindow() {
  if (!g_utility) Application().Initialize();
  return g_utility;
}

TCursor ApplicationScreenCursor() { return Screen().Cursor(); }

void ApplicationMouseControlChanged(TControl* control) { Application().MouseControlChanged(control); }

// ---- TApplication ------------------------------------------------------

const TClassInfo& TApplication::StaticClass() {
  static const TClassInfo info("TApplication", &TComponent::StaticClass());
  return info;
}

TApplication::TApplication() : TComponent(nullptr) {}

TApplication& Application() {
  static TApplication* app = [] {
    auto* a = new TApplication;
    a->Initialize();
    return a;
  }();
  return *app;
}

void TApplication::Initialize() {
  if (initialized_) return;
  initialized_ = true;
  InitControls();
  RegisterStandardClasses();
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = UtilityWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TPUtilWindow";
  RegisterClassExW(&wc);
  // A hidden top-level window: it owns pop-up menus and receives posted
  // requests, which every message loop of this thread dispatches (also
  // the loops of message boxes and modal forms).
  g_utility = CreateWindowExW(WS_EX_TOOLWINDOW, L"TPUtilWindow", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  SetMainThread();
}

HWND TApplication::Handle() const { return mainForm_ ? mainForm_->HandleIfAllocated() : nullptr; }

void TApplication::Run() {
  if (mainForm_) mainForm_->SetVisible(true);
  while (!terminated_) HandleMessage();
  CancelHint();
  // The forms go with the application (their OnDestroy handlers run).
  DestroyComponents();
  mainForm_ = nullptr;
}

void TApplication::Terminate() {
  if (!terminated_) PostQuitMessage(0);
  terminated_ = true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    ProcessMessage(msg);
  }
  CheckSynchronize();
}

void TApplication::HandleMessage() {
  MSG msg;
  if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      return;
    }
    ProcessMessage(msg);
    return;
  }
  CheckSynchronize();
  if (!terminated_) WaitMessage();
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN || msg.message == WM_LBUTTONDOWN ||
      msg.message == WM_RBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN)
    CancelHint();
  if (IsKeyMessage(msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

namespace {
// The framework control that has the focus (a system control's inner
// window, such as a combo box's edit, counts as its framework control).
TWinControl* FocusedControl() {
  for (HWND h = GetFocus(); h; h = GetParent(h))
    if (TWinControl* c = ControlOfWindow(h)) return c;
  return nullptr;
}
}  // namespace

// The keyboard handling of forms: a key that is the shortcut of an item
// of the form's menu runs the item (before the focused control sees the
// key), Tab moves the focus in tab order, Enter and Esc go to the default
// and cancel buttons, Alt with a letter (or a letter where the focused
// control takes no characters) to the control whose caption has it as
// accelerator; Alt with a letter no control takes opens the menu bar (the
// system's own handling).
bool TApplication::IsKeyMessage(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSCHAR &&
      msg.message != WM_CHAR)
    return false;
  TWinControl* focus = FocusedControl();
  if (!focus) return false;
  TForm* form = GetParentForm(focus);
  if (!form || !IsWindowEnabled(form->HandleIfAllocated())) return false;
  // A key may click a button whose handler frees the form.
  TMessageScope scope(form);
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    if (form->IsShortCut(static_cast<WORD>(msg.wParam), KeyboardShiftState())) return true;
    if (msg.message == WM_SYSKEYDOWN) return false;
  }
  UINT code = static_cast<UINT>(SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)));
  if (msg.message == WM_KEYDOWN) {
    TShiftState shift = KeyboardShiftState();
    if (msg.wParam == VK_TAB && !(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) &&
        !(shift & ((1u << ssCtrl) | (1u << ssAlt)))) {
      // The form's own window holds the focus for its control while that
      // one is disabled or hidden: the tab order goes on from that control.
      TWinControl* from = focus == form && form->ActiveControl() ? form->ActiveControl() : focus;
      form->SelectNext(from, !(shift & (1u << ssShift)), true);
      return true;
    }
    if ((msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) && !(code & DLGC_WANTALLKEYS)) {
      if (form->Perform(CM_DIALOGKEY, msg.wParam, 0)) return true;
    }
    return false;
  }
  if (msg.message == WM_CHAR && (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS))) return false;
  wchar_t wc = static_cast<wchar_t>(msg.wParam);
  if (wc < 32 || wc > 126) return false;
  return form->Perform(CM_DIALOGCHAR, msg.wParam, 0) != 0;
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
  HWND owner = GetActiveWindow();
  if (!owner) owner = Handle();
  CancelHint();
  return ShowMessageBox(owner, text, caption, flags);
}

// ---- hints -------------------------------------------------------------

void TApplication::SetShowHint(bool value) {
  showHint_ = value;
  if (!value) CancelHint();
}

namespace {
bool EffectiveShowHint(const TControl* c) {
  while (c && c->ParentShowHint() && c->Parent()) c = c->Parent();
  return c && c->ShowHint();
}
}  // namespace

void TApplication::MouseControlChanged(TControl* control) {
  if (control == hintControl_) return;
  CancelHint();
  hintControl_ = control;
  hint_ = control ? control->Hint() : std::string();
  if (OnHint) OnHint(this);
  if (showHint_ && control && !hint_.empty() && EffectiveShowHint(control))
    SetTimer(UtilityWindow(), kHintShowTimer, static_cast<UINT>(hintPause_), nullptr);
}

void TApplication::HintTimerTick(UINT_PTR id) {
  KillTimer(g_utility, id);
  if (id == kHintShowTimer && hintControl_) ShowHintFor(hintControl_);
  else if (id == kHintHideTimer && hintWindow_) hintWindow_->ReleaseHint();
}

void TApplication::ShowHintFor(TControl* control) {
  if (!hintWindow_) hintWindow_ = new THintWindow(this);
  hintWindow_->SetColor(hintColor_);
  RECT r = hintWindow_->CalcHintRect(300, control->Hint());
  POINT p;
  GetCursorPos(&p);
  OffsetRect(&r, p.x, p.y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4);
  hintWindow_->ActivateHint(r, control->Hint());
  SetTimer(g_utility, kHintHideTimer, static_cast<UINT>(hintHidePause_), nullptr);
}

void TApplication::CancelHint() {
  if (g_utility) {
    KillTimer(g_utility, kHintShowTimer);
    KillTimer(g_utility, kHintHideTimer);
  }
  if (hintWindow_) hintWindow_->ReleaseHint();
}

// ---- THintWindow -------------------------------------------------------

const TClassInfo& THintWindow::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<THintWindow>("THintWindow", &TCustomControl::StaticClass());
  return info;
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetColor(clInfoBk);
  Font()->SetColor(clInfoText);
  TControl::SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.style = WS_POPUP | WS_BORDER;
  p.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  p.parent = nullptr;
  p.id = nullptr;
}

RECT THintWindow::CalcHintRect(int maxWidth, const std::string& text) {
  RECT r = {0, 0, maxWidth, 0};
  HDC dc = GetDC(nullptr);
  TCanvas c;
  c.SetHandle(dc);
  c.Font()->Assign(*Font());
  c.DrawText(text, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  c.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  r.right += 6;
  r.bottom += 4;
  return r;
}

void THintWindow::ActivateHint(const RECT& rect, const std::string& text) {
  SetText(text);
  HWND h = Handle();
  if (!h) return;
  SetWindowPos(h, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  showing_ = true;
  InvalidateRect(h, nullptr, TRUE);
}

void THintWindow::ReleaseHint() {
  if (HWND h = HandleIfAllocated()) ShowWindow(h, SW_HIDE);
  showing_ = false;
}

void THintWindow::Paint() {
  RECT r = ClientRect();
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  r.left += 2;
  r.top += 1;
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(Font()->Color());
  c->DrawText(Caption(), r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

// ---- TScreen -----------------------------------------------------------

const TClassInfo& TScreen::StaticClass() {
  static const TClassInfo info("TScreen", &TComponent::StaticClass());
  return info;
}

TScreen::TScreen() : TComponent(nullptr) {}

TScreen& Screen() {
  static TScreen* screen = new TScreen;
  return *screen;
}

TForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount()) return nullptr;
  return forms_[static_cast<size_t>(index)];
}

TForm* TScreen::ActiveForm() const {
  HWND active = GetActiveWindow();
  for (TForm* f : forms_)
    if (f->HandleIfAllocated() == active) return f;
  return nullptr;
}

TWinControl* TScreen::ActiveControl() const {
  for (HWND h = GetFocus(); h; h = GetParent(h))
    if (TWinControl* c = ControlOfWindow(h)) return c;
  return nullptr;
}

void TScreen::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  if (cursor == crDefault) {
    // Let the window under the pointer choose again.
    POINT p;
    GetCursorPos(&p);
    SetCursorPos(p.x, p.y);
    ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
  } else {
    ::SetCursor(CursorHandle(cursor));
  }
}

RECT TScreen::WorkAreaRect() const {
  RECT r;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

namespace {
int CALLBACK CollectFont(const LOGFONTW* f, const TEXTMETRICW*, DWORD, LPARAM p) {
  auto* list = reinterpret_cast<std::vector<std::string>*>(p);
  std::string name = FromWide(f->lfFaceName, lstrlenW(f->lfFaceName));
  if (std::find(list->begin(), list->end(), name) == list->end()) list->push_back(name);
  return 1;
}
}  // namespace

const std::vector<std::string>& TScreen::Fonts() {
  if (fonts_.empty()) {
    HDC dc = GetDC(nullptr);
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &lf, CollectFont, reinterpret_cast<LPARAM>(&fonts_), 0);
    ReleaseDC(nullptr, dc);
    std::sort(fonts_.begin(), fonts_.end(), [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  }
  return fonts_;
}

namespace {
NONCLIENTMETRICSW NonClientMetrics() {
  NONCLIENTMETRICSW m = {};
  m.cbSize = sizeof m;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0)) m.cbSize = 0;
  return m;
}

// A font of the non-client metrics; the default font when they cannot be
// read.
std::unique_ptr<TFont> MetricsFont(LOGFONTW NONCLIENTMETRICSW::*member) {
  auto font = std::make_unique<TFont>();
  NONCLIENTMETRICSW m = NonClientMetrics();
  if (m.cbSize && (m.*member).lfFaceName[0]) font->AssignLogFont(m.*member);
  return font;
}
}  // namespace

TFont* TScreen::MenuFont() {
  if (!menuFont_) menuFont_ = MetricsFont(&NONCLIENTMETRICSW::lfMenuFont);
  return menuFont_.get();
}

TFont* TScreen::CaptionFont() {
  if (!captionFont_) captionFont_ = MetricsFont(&NONCLIENTMETRICSW::lfCaptionFont);
  return captionFont_.get();
}

void TScreen::AddForm(TForm* form) {
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TScreen::RemoveForm(TForm* form) { forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end()); }

}  // namespace fw
