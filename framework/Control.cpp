#include "Control.h"

#include <windowsx.h>

#include <algorithm>

#include "DragDrop.h"
#include "Internal.h"
#include "Menus.h"
#include "Text.h"

namespace fw {

// ---- enumerations ------------------------------------------------------

const TEnumType& AlignType() {
  static const TEnumType t{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}};
  return t;
}
const TEnumType& AnchorKindType() {
  static const TEnumType t{"TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"}};
  return t;
}
const TEnumType& AlignmentType() {
  static const TEnumType t{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
  return t;
}
const TEnumType& BiDiModeType() {
  static const TEnumType t{"TBiDiMode",
                           {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"}};
  return t;
}
const TEnumType& HelpTypeType() {
  static const TEnumType t{"THelpType", {"htKeyword", "htContext"}};
  return t;
}
const TIdentMap& CursorIdents() {
  static const TIdentMap map{{{crDefault, "crDefault"},   {crNone, "crNone"},       {crArrow, "crArrow"},
                              {crCross, "crCross"},       {crIBeam, "crIBeam"},     {crSizeNESW, "crSizeNESW"},
                              {crSizeNS, "crSizeNS"},     {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
                              {crUpArrow, "crUpArrow"},   {crHourGlass, "crHourGlass"}, {crNo, "crNo"},
                              {crAppStart, "crAppStart"}, {crHelp, "crHelp"},     {crHandPoint, "crHandPoint"},
                              {crSizeAll, "crSizeAll"},
                              // the drag cursors
                              {crDrag, "crDrag"}, {crNoDrop, "crNoDrop"}, {crMultiDrag, "crMultiDrag"}}};
  return map;
}

HCURSOR CursorHandle(TCursor cursor) {
  const wchar_t* id = MAKEINTRESOURCEW(32512);  // IDC_ARROW
  switch (cursor) {
    case crNone: return nullptr;
    case crCross: id = MAKEINTRESOURCEW(32515); break;
    case crIBeam: id = MAKEINTRESOURCEW(32513); break;
    case crSizeNESW: id = MAKEINTRESOURCEW(32643); break;
    case crSizeNS: id = MAKEINTRESOURCEW(32645); break;
    case crSizeNWSE: id = MAKEINTRESOURCEW(32642); break;
    case crSizeWE: id = MAKEINTRESOURCEW(32644); break;
    case crUpArrow: id = MAKEINTRESOURCEW(32516); break;
    case crHourGlass: id = MAKEINTRESOURCEW(32514); break;
    case crNo: id = MAKEINTRESOURCEW(32648); break;
    case crAppStart: id = MAKEINTRESOURCEW(32650); break;
    case crHelp: id = MAKEINTRESOURCEW(32651); break;
    case crHandPoint: id = MAKEINTRESOURCEW(32649); break;
    case crSizeAll: id = MAKEINTRESOURCEW(32646); break;
    case crDrag:
    case crNoDrop:
    case crMultiDrag: return DragCursorHandle(cursor);
    default: break;
  }
  return LoadCursorW(nullptr, id);
}

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= 1u << ssShift;
  if (keys & MK_CONTROL) s |= 1u << ssCtrl;
  if (keys & MK_LBUTTON) s |= 1u << ssLeft;
  if (keys & MK_RBUTTON) s |= 1u << ssRight;
  if (keys & MK_MBUTTON) s |= 1u << ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= 1u << ssAlt;
  return s;
}

TShiftState KeyboardShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= 1u << ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= 1u << ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= 1u << ssAlt;
  return s;
}

TOwnerDrawState OwnerDrawStateFromODS(UINT s) {
  static const struct {
    UINT ods;
    TOwnerDrawStateFlag flag;
  } kMap[] = {{ODS_SELECTED, odSelected}, {ODS_GRAYED, odGrayed},   {ODS_DISABLED, odDisabled},
              {ODS_CHECKED, odChecked},   {ODS_FOCUS, odFocused},   {ODS_DEFAULT, odDefault},
              {ODS_HOTLIGHT, odHotLight}, {ODS_INACTIVE, odInactive}, {ODS_NOACCEL, odNoAccel},
              {ODS_NOFOCUSRECT, odNoFocusRect}};
  TOwnerDrawState state = 0;
  for (const auto& m : kMap)
    if (s & m.ods) state |= 1u << m.flag;
  return state;
}

bool IsAccel(char ch, const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(caption[i]);
    if (c >= 0x81 && c <= 0xFE) {
      ++i;  // a GBK character
      continue;
    }
    if (c != '&') continue;
    char next = caption[i + 1];
    if (next == '&') {
      ++i;
      continue;
    }
    auto lower = [](char x) { return (x >= 'A' && x <= 'Z') ? char(x + 32) : x; };
    return lower(next) == lower(ch);
  }
  return false;
}

// ---- controls handling a message --------------------------------------

namespace {

// Controls whose messages are being handled on this thread, innermost
// last (an entry is cleared when its control goes regardless).
thread_local std::vector<TControl*> t_handling;
// Controls whose Free waits for the end of that handling.
thread_local std::vector<TControl*> t_freeLater;

// Frees the waiting controls that no message holds any more.
void FreeWaitingControls() {
  static thread_local bool running = false;
  if (running) return;
  running = true;
  for (size_t i = 0; i < t_freeLater.size();) {
    TControl* c = t_freeLater[i];
    if (c->InMessage()) {
      ++i;
      continue;
    }
    t_freeLater.erase(t_freeLater.begin() + static_cast<std::ptrdiff_t>(i));
    c->Free();  // may free others of the list with it: start again
    i = 0;
  }
  running = false;
}

}  // namespace

TMessageScope::TMessageScope(TControl* control) { t_handling.push_back(control); }

TMessageScope::~TMessageScope() {
  t_handling.pop_back();
  FreeWaitingControls();
}

bool TControl::InMessage() const {
  for (const TControl* handled : t_handling)
    for (const TControl* c = handled; c; c = c->Parent())
      if (c == this) return true;
  return false;
}

bool TControl::FreePending() const {
  return std::find(t_freeLater.begin(), t_freeLater.end(), this) != t_freeLater.end();
}

bool TControl::DeferFree() {
  if (!InMessage()) return false;
  if (!FreePending()) t_freeLater.push_back(this);
  return true;
}

// ---- the left press under way --------------------------------------------

namespace {

// The control that took the left press under way on this thread (nullptr:
// none). Only its own release makes the press a click. A press whose
// release goes elsewhere (another window took the pointer, a modal window
// opened, a drag took it) is forgotten, and so is one that another
// control's press or release followed.
thread_local TControl* t_pressHolder = nullptr;

}  // namespace

bool TControl::PressHeld() const { return t_pressHolder == this; }

void TControl::TakePress() {
  if (t_pressHolder && t_pressHolder != this) t_pressHolder->ForgetPress();
  t_pressHolder = this;
}

bool TControl::EndPressByRelease() {
  const bool own = t_pressHolder == this;
  if (t_pressHolder && !own) t_pressHolder->ForgetPress();
  t_pressHolder = nullptr;
  return own;
}

void TControl::ForgetPress() {
  pressed_ = false;
  if (t_pressHolder != this) return;
  t_pressHolder = nullptr;
  // Through WindowProc, so that what stands in front of the control (a
  // skinner that draws it pressed) hears of it too; a control on its way
  // out (its window going) is drawn no more.
  if (!IsDestroying()) Perform(CM_PRESSLOST);
}

namespace {
// The innermost capture hand-over of this thread.
thread_local TCaptureHandOver* t_captureHandOver = nullptr;
}  // namespace

TCaptureHandOver::TCaptureHandOver(TControl* control) : control_(control), outer_(t_captureHandOver) {
  t_captureHandOver = this;
}

TCaptureHandOver::~TCaptureHandOver() { t_captureHandOver = outer_; }

bool TCaptureHandOver::Covers(const TControl* control) {
  for (const TCaptureHandOver* h = t_captureHandOver; h; h = h->outer_)
    if (control && h->control_ == control) return true;
  return false;
}

void ForgetPressUnderWay() {
  if (t_pressHolder) t_pressHolder->ForgetPress();
}

// ---- window procedure hooks ---------------------------------------------

// One hook's place in a control's chain of window procedures.
struct TWindowProcLink {
  TControl* control = nullptr;  // nullptr once taken out or the control went
  TWndMethod method;            // empty once taken out: passes everything on
  TWndMethod previous;          // what stood in front before
};

namespace {

// What stands in WindowProc (or in another link's previous) for a hook.
struct THookCall {
  std::shared_ptr<TWindowProcLink> link;
  void operator()(TMessage& m) const {
    // Copies run: the hook may take itself out meanwhile.
    TWndMethod call = link->method ? link->method : link->previous;
    if (call) call(m);
  }
};

}  // namespace

void TWindowProcHook::Install(TControl* control, TWndMethod method) {
  Remove();
  if (!control || !method) return;
  link_ = std::make_shared<TWindowProcLink>();
  link_->control = control;
  link_->method = std::move(method);
  link_->previous = control->WindowProc;
  control->WindowProc = THookCall{link_};
  control->hookLinks_.push_back(link_);
}

void TWindowProcHook::Remove() {
  if (!link_ || !link_->method) return;
  link_->method = nullptr;
  TControl* control = link_->control;
  link_->control = nullptr;
  if (!control) return;
  auto& links = control->hookLinks_;
  links.erase(std::remove_if(links.begin(), links.end(),
                             [this](const std::weak_ptr<TWindowProcLink>& w) { return w.lock() == link_; }),
              links.end());
  // Unlink it where it stands, as far as only hooks stand in front of it.
  for (TWndMethod* slot = &control->WindowProc;;) {
    auto* call = slot->target<THookCall>();
    if (!call) return;  // a plain procedure in front: the link stays, passing on
    if (call->link == link_) {
      *slot = link_->previous;
      return;
    }
    slot = &call->link->previous;
  }
}

bool TWindowProcHook::Installed() const { return link_ && link_->method && link_->control; }

TControl* TWindowProcHook::Control() const { return Installed() ? link_->control : nullptr; }

void TWindowProcHook::CallPrevious(TMessage& m) {
  if (!link_) return;
  TWndMethod previous = link_->previous;
  if (previous) previous(m);
}

// ---- TControl ----------------------------------------------------------

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo info =
      TClassInfo::Make<TControl>("TControl", &TComponent::StaticClass())
          .Enum("Align", AlignType(), &TControl::Align, &TControl::SetAlign, alNone)
          .Set("Anchors", AnchorKindType(), &TControl::Anchors, &TControl::SetAnchors, kDefaultAnchors)
          .IntNoDefault("Left", &TControl::Left, &TControl::SetLeft)
          .IntNoDefault("Top", &TControl::Top, &TControl::SetTop)
          .IntNoDefault("Width", &TControl::Width, &TControl::SetWidth)
          .IntNoDefault("Height", &TControl::Height, &TControl::SetHeight)
          .Int("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault, &CursorIdents())
          .Str("Hint", &TControl::Hint, &TControl::SetHint)
          .Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true)
          .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false)
          .Obj("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
          .Bool("Visible", &TControl::Visible, &TControl::SetVisible, true)
          .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
          .Enum("BiDiMode", BiDiModeType(), &TControl::BiDiMode, &TControl::SetBiDiMode, bdLeftToRight)
          .Bool("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode, true)
          .Enum("HelpType", HelpTypeType(), &TControl::HelpType, &TControl::SetHelpType, htContext)
          .Str("HelpKeyword", &TControl::HelpKeyword, &TControl::SetHelpKeyword)
          .Int("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext, 0)
          .Event("OnContextPopup", &TControl::OnContextPopup)
          // ---- dragging and docking ----
          .Int("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor, crDrag, &CursorIdents())
          .Enum("DragKind", DragKindType(), &TControl::DragKind, &TControl::SetDragKind, dkDrag)
          .Enum("DragMode", DragModeType(), &TControl::DragMode, &TControl::SetDragMode, dmManual)
          .Event("OnDragDrop", &TControl::OnDragDrop)
          .Event("OnDragOver", &TControl::OnDragOver)
          .Event("OnEndDock", &TControl::OnEndDock)
          .Event("OnEndDrag", &TControl::OnEndDrag)
          .Event("OnStartDock", &TControl::OnStartDock)
          .Event("OnStartDrag", &TControl::OnStartDrag)
          // ---- end of dragging and docking ----
          .Event("OnClick", &TControl::OnClick)
          .Event("OnDblClick", &TControl::OnDblClick)
          .Event("OnMouseDown", &TControl::OnMouseDown)
          .Event("OnMouseMove", &TControl::OnMouseMove)
          .Event("OnMouseUp", &TControl::OnMouseUp)
          .Event("OnResize", &TControl::OnResize);
  return info;
}

TControl::TControl(TComponent* owner)
    : TComponent(owner), font_(new TFont), constraints_(new TSizeConstraints), canvas_(new TCanvas) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = [this](TObject*) { FontOnChange(); };
  constraints_->OnChange = [this](TObject*) { ApplyConstraints(); };
}

TControl::~TControl() {
  if (!IsDestroying()) TControl::BeforeDestruction();
  for (const auto& weak : hookLinks_)
    if (auto link = weak.lock()) link->control = nullptr;
  t_freeLater.erase(std::remove(t_freeLater.begin(), t_freeLater.end(), this), t_freeLater.end());
  if (t_pressHolder == this) t_pressHolder = nullptr;
  std::replace(t_handling.begin(), t_handling.end(), static_cast<TControl*>(this), static_cast<TControl*>(nullptr));
}

void TControl::BeforeDestruction() {
  TComponent::BeforeDestruction();
  ForgetMouseControl(this);
  if (t_pressHolder == this) t_pressHolder = nullptr;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = nullptr;
  if (parent_) parent_->RemoveControl(this);
  parent_ = nullptr;
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  Dispatch(m);
  return m.Result;
}

void TControl::Dispatch(TMessage& m) {
  TWndMethod proc = WindowProc;
  if (proc) proc(m);
  else WndProc(m);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      HandleMouse(m);
      return;
    case WM_PAINT:
      if (!IsWindowed()) {
        PaintForParent(m);
        return;
      }
      break;
    case CM_MOUSEENTER:
      mouseInside_ = true;
      MouseEnter();
      return;
    case CM_MOUSELEAVE:
      mouseInside_ = false;
      MouseLeave();
      return;
    case CM_PRESSLOST:
      PressLost();
      return;
    case CM_HITTEST:
      m.Result = HitTest(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)) ? HTCLIENT : HTNOWHERE;
      return;
    case CM_ENABLEDCHANGED:
      EnabledChanged();
      return;
    case CM_VISIBLECHANGED:
      VisibleChanged();
      return;
    case CM_TEXTCHANGED:
      TextChanged();
      return;
    case CM_FONTCHANGED:
      FontChanged();
      return;
    case CM_COLORCHANGED:
      ColorChanged();
      return;
    case CM_PARENTFONTCHANGED:
    case CM_PARENTCOLORCHANGED:
    case CM_PARENTBIDIMODECHANGED:
      ParentChanged();
      return;
    case CM_BIDIMODECHANGED:
      BiDiModeChanged();
      return;
    case CM_DIALOGCHAR:
    case CM_DIALOGKEY:
      m.Result = 0;
      return;
    default:
      break;
  }
  DefaultHandler(m);
}

void TControl::HandleMouse(TMessage& m) {
  const bool windowed = IsWindowed();
  // A release ends the press under way before the window's own procedure
  // hears of it (which may give up the pointer meanwhile).
  const bool ownPress = m.Msg == WM_LBUTTONUP && EndPressByRelease();
  if (windowed) DefaultHandler(m);
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  TShiftState shift = KeysToShiftState(m.WParam);
  switch (m.Msg) {
    case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    case WM_LBUTTONDBLCLK:
      TakePress();
      if (OnDblClick) OnDblClick(this);
      MouseDown(mbLeft, shift | (1u << ssDouble), x, y);
      break;
    case WM_LBUTTONDOWN:
      TakePress();
      pressed_ = true;
      MouseDown(mbLeft, shift, x, y);
      if (dragMode_ == dmAutomatic) BeginDrag(false);  // a release before the threshold is still a click
      break;
    case WM_LBUTTONUP: {
      bool wasPressed = pressed_ && ownPress;
      pressed_ = false;
      MouseUp(mbLeft, shift, x, y);
      RECT r = ClientRect();
      POINT p = {x, y};
      if (wasPressed && clickEvents_ && PtInRect(&r, p)) Click();
      break;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift, x, y); break;
    case WM_RBUTTONUP:
      MouseUp(mbRight, shift, x, y);
      // Windowed controls get their menu through WM_CONTEXTMENU.
      if (!windowed && !DoContextPopup(POINT{x, y}) && popupMenu_) {
        POINT p = ClientToScreen(POINT{x, y});
        popupMenu_->PopupComponent = this;
        popupMenu_->Popup(p.x, p.y);
      }
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, shift, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); break;
  }
  if (!windowed) m.Result = 0;
}

void TControl::PaintForParent(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc) return;
  canvas_->SetHandle(dc);
  canvas_->Font()->Assign(*font_);
  canvas_->Brush()->SetColor(color_);
  Paint();
  canvas_->SetHandle(nullptr);
  m.Result = 0;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (!CheckNewSize(width, height)) {
    width = width_;
    height = height_;
  }
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  bool resized = width != width_ || height != height_;
  if (visible_) Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (visible_) Invalidate();
  UpdateAnchorRules();
  if (parent_ && align_ != alNone && !parent_->aligning_) parent_->Realign();
  if (parent_) parent_->AdjustSizeToChildren();
  if (resized) Resize();
}

RECT TControl::ClientRect() const { return RECT{0, 0, width_, height_}; }
int TControl::ClientWidth() const {
  RECT r = ClientRect();
  return r.right - r.left;
}
int TControl::ClientHeight() const {
  RECT r = ClientRect();
  return r.bottom - r.top;
}

void TControl::SetClientSize(int width, int height) {
  RECT r = ClientRect();
  SetBounds(left_, top_, width_ + width - (r.right - r.left), height_ + height - (r.bottom - r.top));
}

POINT TControl::ClientOrigin() const {
  if (!parent_) return POINT{left_, top_};
  POINT p = parent_->ClientOrigin();
  return POINT{p.x + left_, p.y + top_};
}

POINT TControl::ClientToScreen(POINT p) const {
  POINT o = ClientOrigin();
  return POINT{p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) const {
  POINT o = ClientOrigin();
  return POINT{p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->Realign();
}

void TControl::SetAnchors(TAnchors anchors) {
  anchors_ = anchors;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!parent_ || IsLoading() || parent_->aligning_) return;
  RECT r = parent_->ClientRect();
  anchorRight_ = r.right - (left_ + width_);
  anchorBottom_ = r.bottom - (top_ + height_);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) return;
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
  ParentChanged();
  if (parent && IsWindowed()) Perform(CM_PARENTCTL3DCHANGED);
  UpdateAnchorRules();
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

void TControl::Loaded() {
  TComponent::Loaded();
  ApplyConstraints();
  UpdateAnchorRules();
}

bool TControl::Showing() const {
  if (!visible_) return false;
  return parent_ ? parent_->Showing() : true;
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) Invalidate();
  visible_ = visible;
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
  if (visible) Invalidate();
  // A docked client's site lays its clients out anew.
  if (parent_ && (align_ != alNone || hostDockSite_ == parent_)) parent_->Realign();
  if (parent_) parent_->AdjustSizeToChildren();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Perform(CM_ENABLEDCHANGED);
}

std::string TControl::GetText() const { return text_; }

void TControl::SetText(const std::string& text) {
  if (text == GetText() && text == text_) return;
  text_ = text;
  Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor color) {
  if (color == color_ && !parentColor_) return;
  color_ = color;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  parentColor_ = value;
  if (value) ParentChanged();
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value) ParentChanged();
}

void TControl::ParentChanged() {
  if (!parent_) return;
  if (parentColor_ && color_ != parent_->Color()) {
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED);
  }
  if (parentFont_ && !font_->Equals(*parent_->Font())) {
    settingParentFont_ = true;
    font_->Assign(*parent_->Font());
    settingParentFont_ = false;
  }
  if (parentBiDiMode_ && biDiMode_ != parent_->BiDiMode()) {
    biDiMode_ = parent_->BiDiMode();
    Perform(CM_BIDIMODECHANGED);
  }
}

void TControl::FontOnChange() {
  if (!settingParentFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetCursor(TCursor cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool value) {
  showHint_ = value;
  parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool value) {
  parentShowHint_ = value;
  if (value && parent_) showHint_ = parent_->ShowHint();
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = menu;
  if (popupMenu_) popupMenu_->FreeNotification(this);
}

void TControl::Invalidate() {
  if (!parent_ || !visible_) return;
  HWND h = parent_->HandleIfAllocated();
  if (!h) return;
  RECT r = BoundsRect();
  InvalidateRect(h, &r, opaque_ ? FALSE : TRUE);
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
    SetWindowPos(w->HandleIfAllocated(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
    SetWindowPos(w->HandleIfAllocated(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

bool TControl::HitTest(int, int) { return true; }

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::VisibleChanged() {}
void TControl::EnabledChanged() { Invalidate(); }
void TControl::TextChanged() { Invalidate(); }
void TControl::FontChanged() { Invalidate(); }
void TControl::ColorChanged() { Invalidate(); }
void TControl::MouseEnter() {}
void TControl::MouseLeave() {}

// ---- size constraints, help, context pop-up, reading order -------------

void TControl::SetBiDiMode(TBiDiMode mode) {
  parentBiDiMode_ = false;
  if (mode == biDiMode_) return;
  biDiMode_ = mode;
  Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool value) {
  parentBiDiMode_ = value;
  if (value) ParentChanged();
}

void TControl::BiDiModeChanged() { Invalidate(); }

bool TControl::CanResize(int& newWidth, int& newHeight) {
  bool resize = true;
  if (OnCanResize) OnCanResize(this, newWidth, newHeight, resize);
  return resize;
}

void TControl::ConstrainedResize(TSizeLimits& l) {
  if (OnConstrainedResize) OnConstrainedResize(this, l.minWidth, l.minHeight, l.maxWidth, l.maxHeight);
}

TSizeLimits TControl::SizeLimits() {
  TSizeLimits l = constraints_->Limits();
  ConstrainedResize(l);
  return l;
}

bool TControl::CheckNewSize(int& width, int& height) {
  if (IsLoading()) return true;
  int w = width, h = height;
  if ((w != width_ || h != height_) && !CanResize(w, h)) return false;
  if (!constraints_->Empty() || OnConstrainedResize) ConstrainSize(SizeLimits(), w, h);
  width = w < 0 ? 0 : w;
  height = h < 0 ? 0 : h;
  return true;
}

void TControl::ApplyConstraints() {
  if (IsLoading() || (constraints_->Empty() && !OnConstrainedResize)) return;
  SetBounds(left_, top_, width_, height_);
}

bool TControl::DoContextPopup(POINT mousePos) {
  bool handled = false;
  if (OnContextPopup) OnContextPopup(this, mousePos, handled);
  return handled;
}

void PublishConstraints(TClassInfo& info, bool resizeEvents) {
  info.Obj("Constraints", &TControl::Constraints);  // an owned sub-object: "Constraints.MinWidth = 100"
  if (resizeEvents)
    info.Event("OnCanResize", &TControl::OnCanResize).Event("OnConstrainedResize", &TControl::OnConstrainedResize);
}

void PublishColorAndFont(TClassInfo& info, TColor defaultColor) {
  info.Int("Color", &TControl::Color, &TControl::SetColor, defaultColor, &ColorIdents())
      .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, false)
      .Obj("Font", &TControl::Font, &TControl::SetFont)
      .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
}

void PublishCaption(TClassInfo& info) { info.Str("Caption", &TControl::Caption, &TControl::SetCaption); }
void PublishText(TClassInfo& info) { info.Str("Text", &TControl::Text, &TControl::SetText); }

// ---- TGraphicControl ---------------------------------------------------

const TClassInfo& TGraphicControl::StaticClass() {
  static const TClassInfo info("TGraphicControl", &TControl::StaticClass());
  return info;
}

}  // namespace fw
