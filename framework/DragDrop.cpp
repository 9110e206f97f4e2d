// The drag loop: a hidden window of the framework holds the mouse capture
// while a drag is under way and turns the pointer's moves into the drag
// and dock events; a keyboard hook of the thread takes Esc; a tool window
// shaped as a frame shows where a dock drag would put its client.
#include "DragDrop.h"

#include <windowsx.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "Docking.h"

namespace fw {

const TEnumType& DragModeType() {
  static const TEnumType t{"TDragMode", {"dmManual", "dmAutomatic"}};
  return t;
}
const TEnumType& DragKindType() {
  static const TEnumType t{"TDragKind", {"dkDrag", "dkDock"}};
  return t;
}

// ---- cursors ---------------------------------------------------------------

namespace {

constexpr int kCursorSize = 32;

// A cursor image: '.' lets the screen through, 'X' is black, 'o' white.
struct TCursorImage {
  char pixel[kCursorSize][kCursorSize];
  TCursorImage() {
    for (auto& row : pixel)
      for (char& p : row) p = '.';
  }
  void Put(int x, int y, char c) {
    if (x >= 0 && y >= 0 && x < kCursorSize && y < kCursorSize) pixel[y][x] = c;
  }
  void Art(int x0, int y0, const char* const* rows, int count) {
    for (int y = 0; y < count; ++y)
      for (int x = 0; rows[y][x]; ++x)
        if (rows[y][x] != '.') Put(x0 + x, y0 + y, rows[y][x]);
  }
  // A white box with a black edge.
  void Box(int left, int top, int right, int bottom) {
    for (int y = top; y <= bottom; ++y)
      for (int x = left; x <= right; ++x)
        Put(x, y, (x == left || x == right || y == top || y == bottom) ? 'X' : 'o');
  }
  HCURSOR Make(int hotX, int hotY) const {
    BYTE andBits[kCursorSize * kCursorSize / 8] = {};
    BYTE xorBits[kCursorSize * kCursorSize / 8] = {};
    for (int y = 0; y < kCursorSize; ++y)
      for (int x = 0; x < kCursorSize; ++x) {
        const int byte = y * kCursorSize / 8 + x / 8;
        const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
        if (pixel[y][x] == '.') andBits[byte] |= bit;
        if (pixel[y][x] == 'o') xorBits[byte] |= bit;
      }
    return CreateCursor(GetModuleHandleW(nullptr), hotX, hotY, kCursorSize, kCursorSize, andBits, xorBits);
  }
};

const char* const kArrow[] = {
    "X",           "XX",          "XoX",         "XooX",        "XoooX",       "XooooX",
    "XoooooX",     "XooooooX",    "XoooooooX",   "XooooooooX",  "XoooooXXXXX", "XooXooX",
    "XoX.XooX",    "XX..XooX",    "X....XooX",   ".....XooX",   "......XX"};

HCURSOR MakeDragCursor(bool multiple) {
  TCursorImage image;
  image.Art(0, 0, kArrow, static_cast<int>(sizeof kArrow / sizeof kArrow[0]));
  if (multiple) image.Box(11, 16, 22, 25);
  image.Box(8, 19, 19, 28);
  return image.Make(0, 0);
}

HCURSOR MakeNoDropCursor() {
  // A ring with a bar across it, from upper left to lower right.
  TCursorImage image;
  const int c = 15, outer = 11, inner = 7;
  for (int y = 0; y < kCursorSize; ++y)
    for (int x = 0; x < kCursorSize; ++x) {
      const int dx = x - c, dy = y - c, d2 = dx * dx + dy * dy;
      const bool ring = d2 <= outer * outer && d2 >= inner * inner;
      const bool bar = d2 <= inner * inner && std::abs(dx - dy) <= 2;
      if (ring || bar) image.Put(x, y, 'X');
      else if (d2 <= (outer + 1) * (outer + 1) && d2 > outer * outer) image.Put(x, y, 'o');
    }
  return image.Make(c, c);
}

}  // namespace

HCURSOR DragCursorHandle(TCursor cursor) {
  static HCURSOR drag = nullptr, noDrop = nullptr, multiDrag = nullptr;
  switch (cursor) {
    case crDrag:
      if (!drag) drag = MakeDragCursor(false);
      return drag;
    case crMultiDrag:
      if (!multiDrag) multiDrag = MakeDragCursor(true);
      return multiDrag;
    case crNoDrop:
      if (!noDrop) noDrop = MakeNoDropCursor();
      return noDrop;
    default: return nullptr;
  }
}

// ---- drag objects ------------------------------------------------------------

TCursor TDragObject::GetDragCursor(bool accepted, int, int) {
  if (!accepted) return crNoDrop;
  return control_ ? control_->DragCursor() : crDrag;
}

TCursor TDragDockObject::GetDragCursor(bool, int, int) { return crArrow; }

// ---- the outline window ------------------------------------------------------------

namespace {

const wchar_t kOutlineClass[] = L"FwDragOutline";
const wchar_t kCaptureClass[] = L"FwDragCapture";

HBRUSH HalftoneBrush() {
  static HBRUSH brush = [] {
    const WORD bits[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, bits);
    HBRUSH b = CreatePatternBrush(pattern);
    DeleteObject(pattern);
    return b;
  }();
  return brush;
}

// A hidden pop-up window of a class of the drag loop's own.
HWND MakeHelperWindow(const wchar_t* className, WNDPROC proc, DWORD exStyle) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  RegisterClassExW(&wc);
  return CreateWindowExW(exStyle, className, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

LRESULT CALLBACK OutlineWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCHITTEST: return HTTRANSPARENT;  // the pointer goes through to what lies beneath
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      RECT r;
      GetClientRect(hwnd, &r);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      FillRect(dc, &r, HalftoneBrush());
      return 1;
    }
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

// The frame shown where a dock drag would put its client.
class TDragOutline {
 public:
  void Show(const RECT& r, int frameWidth) {
    HWND h = Window();
    if (!h) return;
    const int w = r.right - r.left, ht = r.bottom - r.top;
    const bool resized = !shown_ || w != rect_.right - rect_.left || ht != rect_.bottom - rect_.top ||
                         frameWidth != frameWidth_;
    if (shown_ && !resized && r.left == rect_.left && r.top == rect_.top) return;
    if (resized) {
      HRGN outer = CreateRectRgn(0, 0, w, ht);
      HRGN inner = CreateRectRgn(frameWidth, frameWidth, w - frameWidth, ht - frameWidth);
      CombineRgn(outer, outer, inner, RGN_DIFF);
      DeleteObject(inner);
      SetWindowRgn(h, outer, FALSE);  // the window owns the region now
    }
    // Shown once on top of everything; after that it only moves (and
    // changes size when the place under the pointer does).
    const UINT flags = shown_ ? SWP_NOACTIVATE | SWP_NOZORDER | (resized ? 0 : SWP_NOSIZE)
                              : SWP_NOACTIVATE | SWP_SHOWWINDOW;
    SetWindowPos(h, HWND_TOPMOST, r.left, r.top, w, ht, flags);
    if (resized) InvalidateRect(h, nullptr, TRUE);
    rect_ = r;
    frameWidth_ = frameWidth;
    shown_ = true;
  }
  void Hide() {
    if (shown_ && window_) ShowWindow(window_, SW_HIDE);
    shown_ = false;
  }
  HWND Handle() const { return window_; }

 private:
  HWND Window() {
    if (!window_)
      window_ = MakeHelperWindow(kOutlineClass, OutlineWindowProc,
                                 WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT);
    return window_;
  }
  HWND window_ = nullptr;
  RECT rect_ = {0, 0, 0, 0};
  int frameWidth_ = 0;
  bool shown_ = false;
};

LRESULT CALLBACK CaptureWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DragKeyHook(int code, WPARAM key, LPARAM flags);

}  // namespace

// ---- the drag under way ------------------------------------------------------------

// The one drag of the thread. A component, so that it hears when the
// source, the target or a drop control is freed.
class TDragSession : public TComponent {
 public:
  TDragSession() : TComponent(nullptr) {}

  static TDragSession& Get() {
    // Lives as long as the program: it is never freed under a drag.
    static TDragSession* session = new TDragSession;
    return *session;
  }

  bool Active() const { return active_; }
  TControl* Source() const { return source_; }
  TDragObject* Object() const { return started_ ? object_ : nullptr; }
  bool ReleasingCapture() const { return releasingCapture_; }
  HWND OutlineWindow() const { return outline_.Handle(); }

  // pressTaken: the control itself took the press that starts the drag
  // (BeginDrag); a press on a grabber or a floating caption is not its own.
  void Begin(TControl* control, TDragKind kind, bool immediate, int threshold, bool pressTaken) {
    if (active_ || !control || control->IsDestroying()) return;
    active_ = true;
    started_ = false;
    pressTaken_ = pressTaken;
    source_ = control;
    Track(control);
    kind_ = kind;
    GetCursorPos(&startPos_);
    lastPos_ = startPos_;
    threshold_ = threshold < 0 ? kDragThreshold : threshold;
    SetCapture(CaptureWindow());
    keyHook_ = SetWindowsHookExW(WH_KEYBOARD, DragKeyHook, nullptr, GetCurrentThreadId());
    if (immediate) Start();
  }

  void MouseMove(POINT screen) {
    if (!active_) return;
    lastPos_ = screen;
    if (!started_) {
      if (std::abs(screen.x - startPos_.x) < threshold_ && std::abs(screen.y - startPos_.y) < threshold_) return;
      Start();
      return;
    }
    MoveTo(screen);
  }

  // Ends the drag: a drop where the pointer is, or a cancel.
  void Finish(bool drop) {
    if (!active_ || ending_) return;
    ending_ = true;
    outline_.Hide();
    releasingCapture_ = true;
    if (GetCapture() == captureWindow_) ReleaseCapture();
    releasingCapture_ = false;
    if (keyHook_) UnhookWindowsHookEx(keyHook_);
    keyHook_ = nullptr;
    if (!started_) {
      // Released before the drag began: the press was a click after all,
      // the control's own when it took the press (else neither the press
      // nor the release is the control's).
      if (drop && source_ && pressTaken_) {
        const POINT p = source_->ScreenToClient(lastPos_);
        TControl* source = source_;
        Reset();
        source->Perform(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        return;
      }
      if (source_) source_->ForgetPress();
      Reset();
      return;
    }
    // The release was the drag's: the press is no click of the control's.
    if (source_) source_->ForgetPress();
    if (kind_ == dkDrag)
      FinishDrag(drop);
    else
      FinishDock(drop);
    Reset();
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == target_) {
      target_ = nullptr;
      accepted_ = false;
      if (object_) object_->dragTarget_ = nullptr;
    }
    if (auto* dock = dynamic_cast<TDragDockObject*>(object_); dock && component == dock->dropOnControl_)
      dock->dropOnControl_ = nullptr;
    if (component == source_) {
      // The dragged control goes: the drag ends here, without events.
      source_ = nullptr;
      if (object_) object_->control_ = nullptr;
      Finish(false);
    }
  }

 private:
  void Track(TComponent* c) {
    if (c) FreeNotification(c);
  }
  void Untrack(TComponent* c) {
    if (c && c != source_ && c != target_) RemoveFreeNotification(c);
  }

  HWND CaptureWindow() {
    // No class cursor: the drag sets the cursor itself.
    if (!captureWindow_) captureWindow_ = MakeHelperWindow(kCaptureClass, CaptureWindowProc, WS_EX_TOOLWINDOW);
    return captureWindow_;
  }

  // The source as the events see it: the control, or the object a start
  // handler gave.
  TObject* SourceArg() const { return ownsObject_ ? static_cast<TObject*>(source_) : object_; }

  void Start() {
    started_ = true;
    TControl* source = source_;
    if (kind_ == dkDrag) {
      TDragObject* given = nullptr;
      if (TStartDragEvent h = source->OnStartDrag) h(source, given);
      Adopt(given, new TDragControlObject);
    } else {
      TDragDockObject* given = nullptr;
      if (TStartDockEvent h = source->OnStartDock) h(source, given);
      Adopt(given, new TDragDockObject);
    }
    if (!active_ || !source_) return;
    object_->control_ = source_;
    object_->dragPos_ = startPos_;
    if (auto* dock = dynamic_cast<TDragDockObject*>(object_)) TDocking::InitDockObject(dock, source_, startPos_);
    MoveTo(lastPos_);
  }

  void Adopt(TDragObject* given, TDragObject* made) {
    if (given) {
      delete made;
      object_ = given;
      ownsObject_ = false;
    } else {
      object_ = made;
      ownsObject_ = true;
    }
  }

  void SetTarget(TControl* target) {
    TControl* old = target_;
    target_ = target;
    Untrack(old);
    Track(target);
  }

  bool AskDragOver(TControl* target, TDragState state, POINT screen) {
    const POINT p = target->ScreenToClient(screen);
    TDragOverEvent h = target->OnDragOver;
    bool accept = static_cast<bool>(h);
    if (h) h(target, SourceArg(), p.x, p.y, state, accept);
    return accept;
  }

  void MoveTo(POINT screen) {
    object_->dragPos_ = screen;
    if (kind_ == dkDrag)
      DragTo(screen);
    else
      DockTo(screen);
  }

  void DragTo(POINT screen) {
    TControl* t = FindDragTarget(screen, false);
    TDragState state = dsDragMove;
    if (t != target_) {
      if (target_) AskDragOver(target_, dsDragLeave, screen);
      if (!active_) return;
      SetTarget(t);
      state = dsDragEnter;
    }
    accepted_ = target_ && AskDragOver(target_, state, screen);
    if (!active_) return;
    object_->dragTarget_ = accepted_ ? target_ : nullptr;
    const POINT p = target_ ? target_->ScreenToClient(screen) : screen;
    ::SetCursor(CursorHandle(object_->GetDragCursor(accepted_, p.x, p.y)));
  }

  void DockTo(POINT screen) {
    auto* dock = static_cast<TDragDockObject*>(object_);
    TWinControl* site = TDocking::FindSite(source_, screen);
    if (!active_) return;  // a site's handler ended the drag
    TDragState state = dsDragMove;
    if (site != target_) {
      if (auto* old = dynamic_cast<TWinControl*>(target_)) TDocking::DockOver(old, dock, screen, dsDragLeave);
      if (!active_) return;
      SetTarget(site);
      state = dsDragEnter;
    }
    accepted_ = site && TDocking::DockOver(site, dock, screen, state);
    if (!active_) return;
    if (dock->dropOnControl_) Track(dock->dropOnControl_);
    dock->floating_ = !accepted_;
    if (!accepted_) TDocking::FloatRect(dock, screen);
    dock->dragTarget_ = accepted_ ? target_ : nullptr;
    outline_.Show(dock->dockRect_, dock->frameWidth_);
    ::SetCursor(CursorHandle(dock->GetDragCursor(accepted_, screen.x, screen.y)));
  }

  void FinishDrag(bool drop) {
    const POINT screen = lastPos_;
    const bool accepted = drop && accepted_ && target_;
    // A source that went hears nothing and its target is not asked again.
    if (target_ && source_) AskDragOver(target_, dsDragLeave, screen);
    if (accepted && target_ && source_) {
      object_->dropped_ = true;
      const POINT p = target_->ScreenToClient(screen);
      if (TDragDropEvent h = target_->OnDragDrop) h(target_, SourceArg(), p.x, p.y);
    }
    if (!source_) return;
    TControl* endTarget = accepted ? target_ : nullptr;
    const POINT p = endTarget ? endTarget->ScreenToClient(screen) : screen;
    if (TEndDragEvent h = source_->OnEndDrag) h(source_, endTarget, p.x, p.y);
  }

  void FinishDock(bool drop) {
    const POINT screen = lastPos_;
    auto* dock = static_cast<TDragDockObject*>(object_);
    auto* site = dynamic_cast<TWinControl*>(target_);
    const bool accepted = drop && accepted_ && site;
    if (site && source_) TDocking::DockOver(site, dock, screen, dsDragLeave);
    TWinControl* endTarget = nullptr;
    if (drop && source_) {
      site = dynamic_cast<TWinControl*>(target_);
      if (accepted && site) {
        // The end names where the client is: a drop handler may have
        // docked it elsewhere.
        if (TDocking::Drop(dock, site, screen)) endTarget = source_ ? source_->HostDockSite() : nullptr;
      } else if (source_->ManualFloat(dock->dockRect_)) {
        endTarget = source_ ? source_->HostDockSite() : nullptr;
      }
    }
    if (!source_) return;
    dock->dropped_ = endTarget != nullptr;
    const POINT p = endTarget ? endTarget->ScreenToClient(screen) : screen;
    if (TEndDragEvent h = source_->OnEndDock) h(source_, endTarget, p.x, p.y);
  }

  void Reset() {
    TControl* source = source_;
    TControl* target = target_;
    source_ = nullptr;
    target_ = nullptr;
    if (source) RemoveFreeNotification(source);
    if (target) RemoveFreeNotification(target);
    if (auto* dock = dynamic_cast<TDragDockObject*>(object_); dock && dock->dropOnControl_)
      RemoveFreeNotification(dock->dropOnControl_);
    // The object may still be in the hands of a handler up the stack: it
    // is kept until the next drag ends.
    retired_.reset(ownsObject_ ? object_ : nullptr);
    object_ = nullptr;
    ownsObject_ = false;
    accepted_ = false;
    started_ = false;
    active_ = false;
    ending_ = false;
  }

  bool active_ = false, started_ = false, ending_ = false, releasingCapture_ = false, pressTaken_ = false;
  TControl* source_ = nullptr;
  TControl* target_ = nullptr;
  bool accepted_ = false;
  TDragKind kind_ = dkDrag;
  POINT startPos_ = {0, 0}, lastPos_ = {0, 0};
  int threshold_ = kDragThreshold;
  TDragObject* object_ = nullptr;
  bool ownsObject_ = false;
  std::unique_ptr<TDragObject> retired_;
  HWND captureWindow_ = nullptr;
  HHOOK keyHook_ = nullptr;
  TDragOutline outline_;
};

namespace {

POINT ScreenPointOf(HWND hwnd, LPARAM lParam) {
  POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(hwnd, &p);
  return p;
}

LRESULT CALLBACK CaptureWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TDragSession& s = TDragSession::Get();
  try {
    switch (msg) {
      case WM_MOUSEMOVE:
        s.MouseMove(ScreenPointOf(hwnd, lParam));
        return 0;
      case WM_LBUTTONUP:
        s.MouseMove(ScreenPointOf(hwnd, lParam));
        s.Finish(true);
        return 0;
      case WM_RBUTTONDOWN:
      case WM_CANCELMODE:
        s.Finish(false);
        return 0;
      case WM_CAPTURECHANGED:
        if (!s.ReleasingCapture()) s.Finish(false);
        return 0;
      default: break;
    }
  } catch (...) {
    // A handler failed: the drag ends, the program goes on.
    s.Finish(false);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK DragKeyHook(int code, WPARAM key, LPARAM flags) {
  if (code == HC_ACTION && key == VK_ESCAPE && TDragSession::Get().Active()) {
    const bool down = (flags & 0x80000000) == 0;
    if (down) {
      try {
        TDragSession::Get().Finish(false);
      } catch (...) {
      }
    }
    return 1;  // the key is the drag's
  }
  return CallNextHookEx(nullptr, code, key, flags);
}

}  // namespace

TDragObject* CurrentDragObject() { return TDragSession::Get().Object(); }

void BeginDragOf(TControl* control, TDragKind kind, bool immediate, int threshold) {
  TDragSession::Get().Begin(control, kind, immediate, threshold, false);
}

HWND DragOutlineWindow() { return TDragSession::Get().OutlineWindow(); }

// ---- TControl ------------------------------------------------------------------

void TControl::BeginDrag(bool immediate, int threshold) {
  TDragSession::Get().Begin(this, dragKind_, immediate, threshold, true);
}

void TControl::EndDrag(bool drop) {
  if (Dragging()) TDragSession::Get().Finish(drop);
}

bool TControl::Dragging() const {
  const TDragSession& s = TDragSession::Get();
  return s.Active() && s.Source() == this;
}

}  // namespace fw
