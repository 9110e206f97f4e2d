#include <windowsx.h>

#include <algorithm>
#include <map>

#include "Control.h"
#include "DockTree.h"
#include "Docking.h"
#include "Form.h"
#include "Internal.h"
#include "Menus.h"
#include "StringList.h"
#include "Text.h"
#include "TextUtils.h"

#include <commctrl.h>

namespace fw {

namespace {

// The control whose window is being created on this thread: its window
// is bound to it at the window's first message.
thread_local TWinControl* t_creating = nullptr;

// The control under the mouse (windowed or windowless).
TControl* g_mouseControl = nullptr;

ATOM ControlAtom() {
  static ATOM atom = GlobalAddAtomW(ControlAtomName());
  return atom;
}

// The window property key of the control atom.
LPCWSTR ControlAtomKey() { return reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(ControlAtom())); }

int NextControlId() {
  static int id = 100;
  return ++id;
}

// The procedure that messages of a framework window class fall back to
// (the system class's own for superclassed controls), by class atom.
std::map<ATOM, WNDPROC>& DefaultProcs() {
  static std::map<ATOM, WNDPROC> procs;
  return procs;
}

// Registers the framework window class of params (once) and returns the
// default window procedure its messages fall back to.
WNDPROC RegisterFrameworkClass(const TCreateParams& p) {
  static std::map<std::wstring, WNDPROC> registered;
  auto it = registered.find(p.className);
  if (it != registered.end()) return it->second;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  WNDPROC def = DefWindowProcW;
  if (p.baseClass) {
    if (!GetClassInfoExW(nullptr, p.baseClass, &wc)) return nullptr;
    def = wc.lpfnWndProc;
    wc.cbSize = sizeof wc;
  } else {
    wc.style = p.classStyle;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
  }
  wc.style &= ~CS_GLOBALCLASS;
  wc.lpfnWndProc = FrameworkWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = p.className.c_str();
  const ATOM atom = RegisterClassExW(&wc);
  if (!atom) return nullptr;
  registered[p.className] = def;
  DefaultProcs()[atom] = def;
  return def;
}

// The procedure a window of a framework class falls back to.
WNDPROC DefaultProcOf(HWND hwnd) {
  auto it = DefaultProcs().find(static_cast<ATOM>(GetClassLongW(hwnd, GCW_ATOM)));
  return it == DefaultProcs().end() ? DefWindowProcW : it->second;
}

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK; }

}  // namespace

const wchar_t* ControlAtomName() {
  static std::wstring name = [] {
    wchar_t buffer[64];
    wsprintfW(buffer, L"ControlOfs%.8X%.8X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
              static_cast<unsigned>(GetCurrentThreadId()));
    return std::wstring(buffer);
  }();
  return name.c_str();
}

TWinControl* ControlOfWindow(HWND window) {
  if (!window) return nullptr;
  return static_cast<TWinControl*>(GetPropW(window, ControlAtomKey()));
}

void InitControls() {
  static bool done = false;
  if (done) return;
  done = true;
  ControlAtomName();
  ControlAtom();
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
}

LRESULT CALLBACK FrameworkWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = ControlOfWindow(hwnd);
  if (!control && t_creating) {
    control = t_creating;
    t_creating = nullptr;
    control->handle_ = hwnd;
    SetPropW(hwnd, ControlAtomKey(), control);
  }
  // A window no control is bound to (made outside the framework) is served
  // by its class's own procedure: a superclassed edit stays an edit.
  if (!control) return CallWindowProcW(DefaultProcOf(hwnd), hwnd, msg, wParam, lParam);
  if (msg == CM_RELEASE) {
    control->Free();
    return 0;
  }
  TMessage m{msg, wParam, lParam, 0};
  TMessageScope scope(control);
  try {
    control->Dispatch(m);
  } catch (...) {
    // A handler failed: this message ends here, the program goes on.
  }
  if (msg == WM_NCDESTROY) control->WindowDestroyed();
  return m.Result;
}

TControl* FindDragTarget(POINT screen, bool allowDisabled) {
  HWND h = WindowFromPoint(screen);
  TWinControl* w = ControlOfWindow(h);
  if (!w) return nullptr;
  POINT p = screen;
  ScreenToClient(h, &p);
  if (TControl* c = w->ControlAtPos(p, allowDisabled)) return c;
  return w;
}

// ---- TWinControl -------------------------------------------------------

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TWinControl>("TWinControl", &TControl::StaticClass())
                                     .IntNoDefault("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
                                     .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false)
                                     .Event("OnEnter", &TWinControl::OnEnter)
                                     .Event("OnExit", &TWinControl::OnExit)
                                     .Event("OnKeyDown", &TWinControl::OnKeyDown)
                                     .Event("OnKeyPress", &TWinControl::OnKeyPress)
                                     .Event("OnKeyUp", &TWinControl::OnKeyUp)
                                     // ---- docking ----
                                     .Bool("DockSite", &TWinControl::DockSite, &TWinControl::SetDockSite, false)
                                     .Bool("UseDockManager", &TWinControl::UseDockManager,
                                           &TWinControl::SetUseDockManager, false)
                                     .Event("OnDockDrop", &TWinControl::OnDockDrop)
                                     .Event("OnDockOver", &TWinControl::OnDockOver)
                                     .Event("OnGetSiteInfo", &TWinControl::OnGetSiteInfo)
                                     .Event("OnUnDock", &TWinControl::OnUnDock);
  // ---- end of docking ----
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(new TBrush) {
  brush_->SetColor(Color());
}

TWinControl::~TWinControl() {
  // Deleted without Free: the window and the children go while this part
  // of the object is still whole (the children leave its lists).
  if (!IsDestroying()) TWinControl::BeforeDestruction();
  if (handle_) {
    RemovePropW(handle_, ControlAtomKey());
    HWND h = handle_;
    handle_ = nullptr;
    DestroyWindow(h);
  }
}

void TWinControl::BeforeDestruction() {
  // The window goes first, taking every child window with it in one call
  // (destroying child windows one by one is slow); the children's objects
  // keep their texts and follow.
  SetDestroying();
  DestroyWnd();
  // Docked clients outlive their site (hidden, for their owners to free).
  dockManager_.reset();
  TDocking::ReleaseClients(this);
  TComponent::BeforeDestruction();
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    child->Free();
    // A child that must outlive this call (its message is being handled)
    // leaves without its parent and goes when that handling ends.
    if (!controls_.empty() && controls_.back() == child) RemoveControl(child);
  }
  captureChild_ = nullptr;
  TControl::BeforeDestruction();
}

HWND TWinControl::Handle() {
  if (!handle_ && !creating_ && !IsDestroying()) CreateWnd();
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.caption = ToWide(text_);
  p.style = WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible()) p.style |= WS_VISIBLE;
  if (tabStop_) p.style |= WS_TABSTOP;
  if (!Enabled()) p.style |= WS_DISABLED;
  p.x = left_;
  p.y = top_;
  p.width = width_;
  p.height = height_;
  p.parent = Parent() ? Parent()->handle_ : nullptr;
  p.id = reinterpret_cast<HMENU>(static_cast<intptr_t>(NextControlId()));
  p.className = ToWide(ClassName());
}

void TWinControl::CreateWnd() {
  InitControls();
  if (Parent() && !Parent()->Handle()) return;
  // Making the parent's window makes its children's windows too, this one
  // among them: a second window would be left behind, bound to this object.
  if (handle_) return;
  TCreateParams p;
  CreateParams(p);
  if (!(p.style & WS_CHILD)) p.id = nullptr;
  WNDPROC def = RegisterFrameworkClass(p);
  if (!def) return;
  defWndProc_ = def;
  creating_ = true;
  TWinControl* outer = t_creating;
  t_creating = this;
  HWND h = CreateWindowExW(p.exStyle, p.className.c_str(), p.caption.c_str(), p.style, p.x, p.y, p.width, p.height,
                           p.parent, p.id, GetModuleHandleW(nullptr), nullptr);
  t_creating = outer;
  creating_ = false;
  if (!h) {
    handle_ = nullptr;
    return;
  }
  CreateWindowHandle(p);
}

void TWinControl::CreateWindowHandle(const TCreateParams&) {
  UpdateFontIntoWindow();
  ApplyBoundsFromWindow();
  // Child windows follow in tab order, so the window order matches it.
  for (TWinControl* child : tabList_) child->HandleNeeded();
  WindowCreated();
  Realign();
}

void TWinControl::DestroyWnd() {
  if (!handle_) return;
  HWND h = handle_;
  DestroyWindow(h);
  handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  bool hadFocus = Focused();
  DestroyWnd();
  HandleNeeded();
  if (handle_) Perform(CM_RECREATEWND, 0, 0);
  if (hadFocus && CanFocus()) SetFocus();
}

void TWinControl::WindowDestroyed() {
  if (handle_) RemovePropW(handle_, ControlAtomKey());
  handle_ = nullptr;
}

std::string TWinControl::GetText() const {
  if (!handle_) return text_;
  int n = GetWindowTextLengthW(handle_);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(handle_, &w[0], n + 1);
  return FromWide(w.c_str(), n);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (handle_ && defWndProc_) m.Result = CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::FillItems(const TStrings& items, UINT reset, UINT initStorage, UINT add) {
  if (!handle_) return;
  std::vector<std::wstring> texts;
  texts.reserve(static_cast<size_t>(items.Count()));
  size_t bytes = 0;
  for (int i = 0; i < items.Count(); ++i) {
    texts.push_back(ToWide(items.Strings(i)));
    bytes += (texts.back().size() + 1) * sizeof(wchar_t);
  }
  SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(handle_, reset, 0, 0);
  SendMessageW(handle_, initStorage, texts.size(), static_cast<LPARAM>(bytes));
  for (const auto& text : texts) {
    TMessage m{add, 0, reinterpret_cast<LPARAM>(text.c_str()), 0};
    DefaultHandler(m);
  }
  SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: WmPaint(m); return;
    case WM_ERASEBKGND: WmEraseBkgnd(m); return;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: ReflectNotify(m); return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
      m.Result = reinterpret_cast<LRESULT>(ControlColor(reinterpret_cast<HDC>(m.WParam)));
      return;
    case WM_DESTROY: WmDestroy(m); return;
    case WM_SETFOCUS: WmSetFocus(m); return;
    case WM_KILLFOCUS: WmKillFocus(m); return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (WmKey(m)) return;
      break;
    case WM_CHAR:
      if (WmChar(m)) return;
      break;
    case WM_GETDLGCODE: WmGetDlgCode(m); return;
    case WM_SETCURSOR:
      if (WmSetCursor(m)) return;
      break;
    case WM_MOUSELEAVE: WmMouseLeave(m); return;
    case WM_CONTEXTMENU:
      if (WmContextMenu(m)) return;
      break;
    // ---- docking ----
    case WM_CAPTURECHANGED:
      // Another window took the pointer (a pop-up menu, a modal loop): the
      // press under way here, the window's own or a windowless child's,
      // gets no release. A drag the press started hands its release on,
      // and so does code that moves the pointer on the control's behalf.
      if (reinterpret_cast<HWND>(m.LParam) != handle_)
        for (TControl* c : {static_cast<TControl*>(this), captureChild_})
          if (c && c->PressHeld() && !c->Dragging() && !TCaptureHandOver::Covers(c)) c->ForgetPress();
      captureChild_ = nullptr;  // no press is routed any more
      if (dockManager_) dockManager_->MouseMessage(m);
      break;
    // ---- end of docking ----
    case WM_WINDOWPOSCHANGED: WmWindowPosChanged(m); return;
    case WM_WINDOWPOSCHANGING: WmWindowPosChanging(m); return;
    case WM_GETMINMAXINFO: WmGetMinMaxInfo(m); return;
    case CM_BIDIMODECHANGED:
      TControl::WndProc(m);
      for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTBIDIMODECHANGED);
      return;
    case CM_CTL3DCHANGED:
      Ctl3DChanged();
      for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTCTL3DCHANGED);
      return;
    case CM_PARENTCTL3DCHANGED:
      if (parentCtl3d_ && Parent() && Parent()->Ctl3D() != ctl3d_) {
        ctl3d_ = Parent()->Ctl3D();
        Perform(CM_CTL3DCHANGED);
      }
      return;
    case CM_DIALOGCHAR:
    case CM_DIALOGKEY: OfferToChildren(m); return;
    default:
      // A press on a docked client's grabber or close box is the dock manager's.
      if (IsMouseMessage(m.Msg) && dockManager_ && dockManager_->MouseMessage(m)) return;
      if (IsMouseMessage(m.Msg) && WmMouse(m)) return;
      break;
  }
  TControl::WndProc(m);
}

void TWinControl::WmDestroy(TMessage& m) {
  // The window's text outlives the window.
  text_ = GetText();
  DefaultHandler(m);
}

void TWinControl::WmSetFocus(TMessage& m) {
  DefaultHandler(m);
  TWinControl* top = this;
  while (top->Parent()) top = top->Parent();
  top->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
  DoEnter();
}

void TWinControl::WmKillFocus(TMessage& m) {
  DefaultHandler(m);
  DoExit();
}

bool TWinControl::WmKey(TMessage& m) {
  WORD key = static_cast<WORD>(m.WParam);
  const bool down = m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN;
  const bool consumed = down ? DoKeyDown(key, KeyboardShiftState()) : DoKeyUp(key, KeyboardShiftState());
  if (consumed || key == 0) {
    m.Result = 0;
    return true;
  }
  m.WParam = key;
  return false;
}

bool TWinControl::WmChar(TMessage& m) {
  // Handlers see the character as a program (GBK) character: ASCII as
  // itself, a Chinese character as its first byte (so filters can refuse
  // it). Left as it was, the character passes whole; 0 swallows it;
  // another byte becomes the character it is in GBK, and a byte that is no
  // character by itself swallows it too.
  const char original = FirstGbkByte(static_cast<wchar_t>(m.WParam));
  char key = original;
  wchar_t replacement = 0;
  if (DoKeyPress(key) || key == 0 || (key != original && !WideOfGbkByte(key, replacement))) {
    m.Result = 0;
    return true;
  }
  if (key != original) m.WParam = replacement;
  return false;
}

void TWinControl::WmGetDlgCode(TMessage& m) {
  DefaultHandler(m);
  m.Result |= DialogCode();
}

bool TWinControl::WmSetCursor(TMessage& m) {
  if (LOWORD(m.LParam) != HTCLIENT || reinterpret_cast<HWND>(m.WParam) != handle_) return false;
  const TCursor cursor = CursorUnderPointer();
  if (cursor == crDefault) return false;
  ::SetCursor(CursorHandle(cursor));
  m.Result = TRUE;
  return true;
}

TCursor TWinControl::CursorUnderPointer() const {
  // The screen's cursor (an hourglass, say) wins over the controls'.
  const TCursor screen = ApplicationScreenCursor();
  if (screen != crDefault) return screen;
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(handle_, &p);
  const TControl* target = ControlAtPos(p);
  return target ? target->Cursor() : Cursor();
}

void TWinControl::WmMouseLeave(TMessage& m) {
  // The pointer left this window (for another window or the desktop).
  // Only what this window tracks leaves with it: itself and its windowless
  // children. A windowed child tracks itself, and may be where the pointer
  // went (its mouse move can come first).
  if (g_mouseControl == this || (g_mouseControl && !g_mouseControl->IsWindowed() && g_mouseControl->Parent() == this))
    UpdateMouseTracking(nullptr);
  DefaultHandler(m);
}

bool TWinControl::WmContextMenu(TMessage& m) {
  POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const bool fromKeyboard = m.LParam == -1;
  if (DoContextPopup(fromKeyboard ? POINT{-1, -1} : ScreenToClient(p))) {
    m.Result = 0;
    return true;  // the handler took it: no menu opens
  }
  if (!PopupMenu()) return false;
  // From the keyboard: the menu opens over the control's middle.
  if (fromKeyboard) p = ClientToScreen(POINT{width_ / 2, height_ / 2});
  PopupMenu()->PopupComponent = this;
  PopupMenu()->Popup(p.x, p.y);
  m.Result = 0;
  return true;
}

void TWinControl::WmWindowPosChanged(TMessage& m) {
  DefaultHandler(m);
  ApplyBoundsFromWindow();
}

void TWinControl::OfferToChildren(TMessage& m) {
  // The first visible, enabled child that takes the key or accelerator.
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (!c->Visible() || !c->Enabled()) continue;
    if (c->Perform(m.Msg, m.WParam, m.LParam)) {
      m.Result = 1;
      return;
    }
  }
  m.Result = 0;
}

bool TWinControl::WmMouse(TMessage& m) {
  if (RouteMouseToChild(m)) return true;
  if (m.Msg == WM_MOUSEMOVE) UpdateMouseTracking(this);
  return false;
}

void TWinControl::ReflectNotify(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom; break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (dis->CtlType != ODT_MENU) child = dis->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mis->CtlType != ODT_MENU && handle_) child = GetDlgItem(handle_, static_cast<int>(mis->CtlID));
      break;
    }
    default: child = reinterpret_cast<HWND>(m.LParam); break;
  }
  TWinControl* target = ControlOfWindow(child);
  if (target && target != this) {
    m.Result = target->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return;
  }
  DefaultHandler(m);
}

HBRUSH TWinControl::ControlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  SetBkColor(dc, ColorToRGB(Color()));
  return brush_->Handle();
}

void TWinControl::WmPaint(TMessage& m) {
  bool hasGraphicChildren = std::any_of(controls_.begin(), controls_.end(), [](TControl* c) { return !c->IsWindowed(); });
  if (!ownPaint_ && !hasGraphicChildren && !dockManager_) {
    DefaultHandler(m);
    return;
  }
  if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {
    PaintContent(dc);
    m.Result = 0;
    return;
  }
  PAINTSTRUCT ps;
  const bool buffered = doubleBuffered_ && ownPaint_;
  skipScreenErase_ = buffered;
  HDC dc = BeginPaint(handle_, &ps);
  skipScreenErase_ = false;
  if (buffered)
    PaintBuffered(dc, ps.rcPaint);
  else
    PaintContent(dc);
  EndPaint(handle_, &ps);
  m.Result = 0;
}

void TWinControl::PaintContent(HDC dc) {
  if (ownPaint_) {
    int saved = SaveDC(dc);
    PaintWindow(dc);
    RestoreDC(dc, saved);
  } else {
    // A system control with windowless children: it paints first.
    TMessage inner{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(inner);
  }
  // ---- docking ----
  if (dockManager_) dockManager_->PaintSite(dc);
  PaintControls(dc);
}

// ---- double buffering ----
namespace {

// The memory bitmap of double-buffered painting: one for the thread, kept
// and grown as windows need (painting one window does not nest in painting
// another; should it, the inner paint gets a bitmap of its own).
class TPaintBuffer {
 public:
  ~TPaintBuffer() { Drop(); }
  // A memory DC of at least w x h compatible with screen (nullptr: none).
  HDC Acquire(HDC screen, int w, int h) {
    if (busy_) return nullptr;
    if (!dc_ || w > width_ || h > height_) {
      Drop();
      dc_ = CreateCompatibleDC(screen);
      bitmap_ = CreateCompatibleBitmap(screen, w, h);
      if (!dc_ || !bitmap_) {
        Drop();
        return nullptr;
      }
      old_ = SelectObject(dc_, bitmap_);
      width_ = w;
      height_ = h;
    }
    busy_ = true;
    return dc_;
  }
  void Release() { busy_ = false; }

 private:
  void Drop() {
    if (dc_) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    width_ = height_ = 0;
  }
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int width_ = 0, height_ = 0;
  bool busy_ = false;
};

thread_local TPaintBuffer t_paintBuffer;

}  // namespace

void TWinControl::PaintBuffered(HDC screen, const RECT& area) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  HDC mem = t_paintBuffer.Acquire(screen, w, h);
  if (!mem) {
    PaintContent(screen);  // no buffer to be had: straight onto the screen
    return;
  }
  const int memSaved = SaveDC(mem);
  // The bitmap stands for the area: the window paints in its own
  // coordinates, erase first.
  SetViewportOrgEx(mem, -area.left, -area.top, nullptr);
  IntersectClipRect(mem, area.left, area.top, area.right, area.bottom);
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), reinterpret_cast<LPARAM>(mem));
  PaintContent(mem);
  RestoreDC(mem, memSaved);
  // Child windows paint themselves: the copy leaves them alone.
  const int saved = SaveDC(screen);
  for (TControl* c : controls_) {
    auto* child = dynamic_cast<TWinControl*>(c);
    if (!child || !child->handle_ || !IsWindowVisible(child->handle_)) continue;
    ExcludeClipRect(screen, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
  }
  BitBlt(screen, area.left, area.top, w, h, mem, 0, 0, SRCCOPY);
  RestoreDC(screen, saved);
  t_paintBuffer.Release();
}
// ---- end of double buffering ----

void TWinControl::WmEraseBkgnd(TMessage& m) {
  if (!ownPaint_) {
    DefaultHandler(m);
    return;
  }
  if (SkipsScreenErase()) {
    m.Result = 1;
    return;
  }
  if (Color() != clNone) {
    RECT r;
    GetClientRect(handle_, &r);
    ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_->Handle());
  }
  m.Result = 1;
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  bool started = first == nullptr;
  for (TControl* c : controls_) {
    if (!started) {
      started = c == first;
      if (!started) continue;
    }
    if (c->IsWindowed() || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    int saved = SaveDC(dc);
    POINT org;
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.x + c->Left(), org.y + c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

TControl* TWinControl::ControlAt(int index) const {
  if (index < 0 || index >= ControlCount()) return nullptr;
  return controls_[static_cast<size_t>(index)];
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (c->IsWindowed() || !c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
    RECT r = c->BoundsRect();
    if (!PtInRect(&r, p)) continue;
    if (c->Perform(CM_HITTEST, 0, MAKELPARAM(p.x - c->Left(), p.y - c->Top())) == HTNOWHERE) continue;
    return c;
  }
  return nullptr;
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

bool TWinControl::RouteMouseToChild(TMessage& m) {
  POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = captureChild_ ? captureChild_ : ControlAtPos(p);
  if (!target) return false;
  if (m.Msg == WM_MOUSEMOVE) UpdateMouseTracking(target);
  bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
              m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
  bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
  if (down) {
    captureChild_ = target;
    SetCapture(handle_);
  }
  // The pointer is free again before the child hears of the release: its
  // click may open a modal window (a form, a message box), whose loop would
  // otherwise run with the pointer captured by this disabled window, and
  // no click would reach the modal window.
  if (up && captureChild_) {
    captureChild_ = nullptr;
    if (GetCapture() == handle_) ReleaseCapture();
  }
  {
    TMessageScope scope(target);
    target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
  }
  m.Result = 0;
  return true;
}

void TWinControl::UpdateMouseTracking(TControl* target) {
  if (target == this && handle_) {
    TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&tme);
  } else if (target && handle_) {
    TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&tme);
  }
  if (target == g_mouseControl) return;
  TControl* old = g_mouseControl;
  g_mouseControl = target;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (target) target->Perform(CM_MOUSEENTER);
  ApplicationMouseControlChanged(target);
}

// Called when a control goes away: forget it as the mouse control.
void ForgetMouseControl(TControl* control) {
  if (g_mouseControl != control) return;
  g_mouseControl = nullptr;
  ApplicationMouseControlChanged(nullptr);
}

void TWinControl::ApplyBoundsFromWindow() {
  if (!handle_ || settingBounds_) return;
  RECT r;
  GetWindowRect(handle_, &r);
  if (Parent() && Parent()->handle_) MapWindowPoints(nullptr, Parent()->handle_, reinterpret_cast<POINT*>(&r), 2);
  int w = r.right - r.left, h = r.bottom - r.top;
  bool resized = w != width_ || h != height_;
  const bool moved = r.left != left_ || r.top != top_;
  left_ = r.left;
  top_ = r.top;
  width_ = w;
  height_ = h;
  if (Parent() && (moved || resized)) Parent()->AdjustSizeToChildren();
  if (resized) {
    Realign();
    Resize();
  }
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (!CheckNewSize(width, height)) {
    width = width_;
    height = height_;
  }
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (handle_) {
    settingBounds_ = true;
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    settingBounds_ = false;
  }
  UpdateAnchorRules();
  if (Parent() && Align() != alNone && !Parent()->aligning_) Parent()->Realign();
  if (Parent()) Parent()->AdjustSizeToChildren();
  if (resized) {
    Realign();
    Resize();
  }
}

RECT TWinControl::ClientRect() const {
  RECT r = {0, 0, width_, height_};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

POINT TWinControl::ClientOrigin() const {
  POINT p = {0, 0};
  if (handle_) {
    ::ClientToScreen(handle_, &p);
    return p;
  }
  return TControl::ClientOrigin();
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::AdjustClientRect(RECT&) {}

void TWinControl::Realign() {
  RECT r = ClientRect();
  AdjustClientRect(r);
  AlignControls(r);
  AdjustSizeToChildren();
}

void TWinControl::AlignControls(RECT& rect) {
  if (aligning_) return;
  aligning_ = true;
  // ---- docking: the dock manager places the docked clients ----
  if (dockManager_) dockManager_->ResetBounds();
  const auto docked = [this](const TControl* c) { return TDocking::IsDockedIn(this, c); };
  auto place = [&](TAlign which) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->Visible() && c->Align() == which && !docked(c)) list.push_back(c);
    // Keep the designed order along the edge.
    std::stable_sort(list.begin(), list.end(), [which](TControl* a, TControl* b) {
      switch (which) {
        case alTop: return a->Top() < b->Top();
        case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft: return a->Left() < b->Left();
        case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
        default: return false;
      }
    });
    for (TControl* c : list) {
      int w = rect.right - rect.left, h = rect.bottom - rect.top;
      switch (which) {
        case alTop:
          c->SetBounds(rect.left, rect.top, w, c->Height());
          rect.top += c->Height();
          break;
        case alBottom:
          c->SetBounds(rect.left, rect.bottom - c->Height(), w, c->Height());
          rect.bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(rect.left, rect.top, c->Width(), h);
          rect.left += c->Width();
          break;
        case alRight:
          c->SetBounds(rect.right - c->Width(), rect.top, c->Width(), h);
          rect.right -= c->Width();
          break;
        case alClient: c->SetBounds(rect.left, rect.top, w, h); break;
        default: break;
      }
    }
  };
  place(alTop);
  place(alBottom);
  place(alLeft);
  place(alRight);
  place(alClient);
  // Children anchored to the right or bottom keep their distance to it.
  RECT client = ClientRect();
  for (TControl* c : controls_) {
    if (c->Align() != alNone || docked(c) || (c->anchorRight_ < 0 && c->anchorBottom_ < 0)) continue;
    TAnchors a = c->Anchors();
    int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
    if ((a & (1u << akRight)) && c->anchorRight_ >= 0) {
      if (a & (1u << akLeft)) w = client.right - c->anchorRight_ - l;
      else l = client.right - c->anchorRight_ - w;
    }
    if ((a & (1u << akBottom)) && c->anchorBottom_ >= 0) {
      if (a & (1u << akTop)) h = client.bottom - c->anchorBottom_ - t;
      else t = client.bottom - c->anchorBottom_ - h;
    }
    c->SetBounds(l, t, w, h);
  }
  aligning_ = false;
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    tabList_.push_back(w);
    if (handle_) w->HandleNeeded();
  }
  if (control->Align() != alNone) Realign();
  control->Invalidate();
  AdjustSizeToChildren();
}

void TWinControl::RemoveControl(TControl* control) {
  if (captureChild_ == control) captureChild_ = nullptr;
  control->Invalidate();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
  control->parent_ = nullptr;
  const bool wasDocked = TDocking::Forget(this, control);  // docking
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->handle_ && !w->IsDestroying()) w->DestroyWnd();
  if ((control->Align() != alNone || wasDocked) && !IsDestroying()) Realign();
  if (!IsDestroying()) AdjustSizeToChildren();
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_) return;
  tabStop_ = value;
  if (handle_) {
    LONG style = GetWindowLongW(handle_, GWL_STYLE);
    SetWindowLongW(handle_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() {
  if (HWND h = Handle()) ::SetFocus(h);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : tabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
  if (start >= n) start = forward ? n - 1 : 0;
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = forward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c->CanFocus() && (!checkTabStop || c->TabStop())) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

bool TWinControl::DoKeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
  return key == 0;
}

bool TWinControl::DoKeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
  return key == 0;
}

bool TWinControl::DoKeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
  return key == 0;
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::UpdateFontIntoWindow() {
  if (handle_)
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), IsWindowVisible(handle_) ? TRUE : FALSE);
}

void TWinControl::VisibleChanged() {
  if (!Visible()) HandFocusToForm();
  if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::EnabledChanged() {
  if (!Enabled()) HandFocusToForm();
  if (handle_) EnableWindow(handle_, Enabled() ? TRUE : FALSE);
  Invalidate();
}

void TWinControl::HandFocusToForm() {
  // The system takes the focus from a window that is disabled or hidden
  // and gives it to no window at all: the keyboard would then reach no
  // control, Tab included. The form keeps it instead (Tab and Shift+Tab go
  // on from the control in tab order), and gives it back to the control
  // when the form is made active again (after the box that ends an
  // operation for which the control was disabled) and the control can take
  // it.
  HWND focus = GetFocus();
  if (!handle_ || !focus || (focus != handle_ && !IsChild(handle_, focus))) return;
  TForm* form = GetParentForm(this);
  if (form && form != this) form->FocusSelfForControl();
}

void TWinControl::TextChanged() {
  if (handle_) SetWindowTextW(handle_, ToWide(text_).c_str());
}

void TWinControl::FontChanged() {
  UpdateFontIntoWindow();
  for (TControl* c : controls_) c->Perform(CM_PARENTFONTCHANGED);
  Invalidate();
}

void TWinControl::ColorChanged() {
  brush_->SetColor(Color() == clNone ? clBtnFace : Color());
  for (TControl* c : controls_) c->Perform(CM_PARENTCOLORCHANGED);
  Invalidate();
}

void TWinControl::Resize() { TControl::Resize(); }

void TWinControl::Loaded() {
  TControl::Loaded();
  LoadedDockSite();
  AdjustSizeToChildren();
}

// ---- size limits for system sizing, 3-D look, sizing to the children ----

void TWinControl::WmGetMinMaxInfo(TMessage& m) {
  DefaultHandler(m);
  auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
  if (!info) return;
  const TSizeLimits l = SizeLimits();
  if (l.minWidth > 0) info->ptMinTrackSize.x = l.minWidth;
  if (l.minHeight > 0) info->ptMinTrackSize.y = l.minHeight;
  // The minimum wins over a lower maximum.
  if (l.maxWidth > 0) {
    info->ptMaxTrackSize.x = std::max<LONG>(l.maxWidth, info->ptMinTrackSize.x);
    info->ptMaxSize.x = std::min(info->ptMaxSize.x, info->ptMaxTrackSize.x);
  }
  if (l.maxHeight > 0) {
    info->ptMaxTrackSize.y = std::max<LONG>(l.maxHeight, info->ptMinTrackSize.y);
    info->ptMaxSize.y = std::min(info->ptMaxSize.y, info->ptMaxTrackSize.y);
  }
  m.Result = 0;
}

void TWinControl::WmWindowPosChanging(TMessage& m) {
  DefaultHandler(m);
  auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
  // Only a top-level window is sized by the user; a child window is sized by
  // SetBounds (held there already) or by its system class itself (a combo
  // box's window holds its dropped-down list). A minimised window keeps its
  // icon size.
  if (!wp || settingBounds_ || creating_ || (wp->flags & SWP_NOSIZE) || !handle_ || IsIconic(handle_) ||
      (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD))
    return;
  int w = wp->cx, h = wp->cy;
  if (!CheckNewSize(w, h)) {
    // Refused: the window keeps its place and size.
    wp->flags |= SWP_NOSIZE | SWP_NOMOVE;
    return;
  }
  if (w == wp->cx && h == wp->cy) return;
  // A window sized from its left or top edge keeps its right or bottom edge.
  RECT r;
  GetWindowRect(handle_, &r);
  if (Parent() && Parent()->handle_) MapWindowPoints(nullptr, Parent()->handle_, reinterpret_cast<POINT*>(&r), 2);
  if (!(wp->flags & SWP_NOMOVE)) {
    if (wp->x != r.left && wp->x + wp->cx == r.right) wp->x = r.right - w;
    if (wp->y != r.top && wp->y + wp->cy == r.bottom) wp->y = r.bottom - h;
  }
  wp->cx = w;
  wp->cy = h;
}

void TWinControl::SetCtl3D(bool value) {
  parentCtl3d_ = false;
  if (value == ctl3d_) return;
  ctl3d_ = value;
  Perform(CM_CTL3DCHANGED);
}

void TWinControl::SetParentCtl3D(bool value) {
  parentCtl3d_ = value;
  if (value) Perform(CM_PARENTCTL3DCHANGED);
}

void TWinControl::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustSizeToChildren();
}

bool TWinControl::CanAutoSize(int& width, int& height) {
  RECT client = ClientRect();
  RECT inner = client;
  AdjustClientRect(inner);
  int right = 0, bottom = 0;
  bool any = false;
  for (const TControl* c : controls_) {
    if (!c->Visible() || c->Align() != alNone) continue;
    right = std::max(right, c->Left() + c->Width());
    bottom = std::max(bottom, c->Top() + c->Height());
    any = true;
  }
  if (!any) return false;
  // What lies right of and below the children's area: the frame inside the
  // client area and the non-client border.
  width = right + (width_ - inner.right);
  height = bottom + (height_ - inner.bottom);
  return true;
}

void TWinControl::AdjustSizeToChildren() {
  if (!autoSize_ || autoSizing_ || aligning_ || IsLoading() || IsDestroying()) return;
  int w = width_, h = height_;
  if (!CanAutoSize(w, h)) return;
  autoSizing_ = true;
  SetBounds(left_, top_, w, h);
  autoSizing_ = false;
}

void PublishCtl3D(TClassInfo& info) {
  info.Bool("Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D, true)
      .Bool("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D, true);
}

// ---- TCustomControl ----------------------------------------------------

const TClassInfo& TCustomControl::StaticClass() {
  static const TClassInfo info("TCustomControl", &TWinControl::StaticClass());
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) { ownPaint_ = true; }

void TCustomControl::PaintWindow(HDC dc) {
  TCanvas* c = Canvas();
  c->SetHandle(dc);
  c->Font()->Assign(*Font());
  c->Brush()->SetColor(Color());
  Paint();
  c->SetHandle(nullptr);
}

}  // namespace fw
