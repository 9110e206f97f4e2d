// Controls: TControl (position, size, visibility, colour, font, caption,
// mouse events and the replaceable window procedure), TGraphicControl
// (windowless, painted and fed mouse input by its parent) and
// TWinControl (owns a window; children, focus, tab order, alignment,
// reflected notifications).
//
// Every control object has WindowProc, a method that receives all of its
// messages. It starts as the control's own WndProc. Others may put their
// own in front: save WindowProc, install yours, call the saved one for
// the messages you pass on, and put the saved one back when done.
//
// A windowed control's window is created on demand (HandleNeeded), with a
// window class named after the control's class ("TButton", a superclass
// of the system BUTTON class). The control object of a window is kept as a
// window property, so that ControlOfWindow finds it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Component.h"
#include "Graphics.h"
#include "Messages.h"

namespace fw {

class TWinControl;
class TPopupMenu;
class TStrings;
struct TWindowProcLink;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = uint32_t;  // set of TAnchorKind
constexpr TAnchors kDefaultAnchors = (1u << akLeft) | (1u << akTop);
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = uint32_t;  // set of TShiftStateFlag
// The state of an owner-drawn item (list box entries, menu items): bit n =
// element n.
enum TOwnerDrawStateFlag { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight,
                           odInactive, odNoAccel, odNoFocusRect };
using TOwnerDrawState = uint32_t;  // set of TOwnerDrawStateFlag
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
using TCursor = int32_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

const TEnumType& AlignType();
const TEnumType& AnchorKindType();
const TEnumType& AlignmentType();
const TEnumType& BiDiModeType();
const TIdentMap& CursorIdents();
// The system cursor of a cursor value.
HCURSOR CursorHandle(TCursor cursor);

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

// Shift state from the key flags of a mouse message's wParam.
TShiftState KeysToShiftState(WPARAM keys);
// Shift state of the keyboard now.
TShiftState KeyboardShiftState();
// The state of a DRAWITEMSTRUCT's itemState (ODS_ flags).
TOwnerDrawState OwnerDrawStateFromODS(UINT itemState);
// True when the caption has ch as its accelerator ("&x"; "&&" is a plain &).
bool IsAccel(char ch, const std::string& caption);

class TControl : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TControl(TComponent* owner);
  ~TControl() override;
  void BeforeDestruction() override;

  // ---- message plumbing ----
  // Save, replace and put back as you like when procedures come and go in
  // reverse order; TWindowProcHook takes one out in any order.
  TWndMethod WindowProc;
  // Sends a message to this control's WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Passes a message record through WindowProc (a copy of it runs, so a
  // procedure may replace WindowProc, taking itself out, while it runs).
  void Dispatch(TMessage& message);
  // The control's own window procedure: handles what it knows, passes the
  // rest to DefaultHandler.
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  // ---- place and size ----
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect() const;
  int ClientWidth() const;
  int ClientHeight() const;
  void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
  void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
  virtual void SetClientSize(int width, int height);
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;
  // Client origin of this control in screen coordinates.
  virtual POINT ClientOrigin() const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors anchors);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  void SetParentComponent(TComponent* parent) override;
  // After form data: the anchors take the distances the data gave.
  void Loaded() override;

  // ---- state ----
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent up to a form is visible too.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  // The caption or text (the same thing; edits call it Text).
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& text) { SetText(text); }
  std::string Text() const { return GetText(); }
  virtual std::string GetText() const;
  virtual void SetText(const std::string& text);

  TColor Color() const { return color_; }
  virtual void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* font) { if (font) font_->Assign(*font); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  std::string Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode mode) { biDiMode_ = mode; }

  // ---- painting ----
  virtual void Invalidate();
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }
  // Brings the control to the front or back among its siblings.
  void BringToFront();
  void SendToBack();

  // ---- input ----
  virtual void Click();
  // Raises OnMouseDown (public so that others may forward a press they keep).
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  // True when the point (client coordinates) belongs to the control; lines
  // and other thin shapes answer only near their drawing.
  virtual bool HitTest(int x, int y);
  void Notification(TComponent* component, TOperation operation) override;
  bool MouseInside() const { return mouseInside_; }
  // True while a message of this control or of a control inside it is
  // being handled further up the stack (see TMessageScope); Free then
  // waits until that handling has ended.
  bool InMessage() const;
  // True when Free was called and waits for the handling to end.
  bool FreePending() const;

  virtual bool IsWindowed() const { return false; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

 protected:
  // Hooks of the subclasses.
  virtual void Resize();
  virtual void VisibleChanged();
  virtual void EnabledChanged();
  virtual void TextChanged();
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void MouseEnter();
  virtual void MouseLeave();
  // Windowless controls paint here (their parent hands a device context).
  virtual void Paint() {}
  // The canvas bound to the device context being painted (windowless
  // controls and custom-painted windows).
  TCanvas* Canvas() { return canvas_.get(); }
  // Copies colour and font from the parent where ParentColor/ParentFont.
  void ParentChanged();
  bool DeferFree() override;
  bool clickEvents_ = true;  // a press and release inside gives Click
  bool opaque_ = false;      // paints all of its area (no erase beneath)

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::string text_;

 private:
  friend class TWinControl;
  void HandleMouse(TMessage& m);
  void PaintForParent(TMessage& m);
  void FontOnChange();

  TWinControl* parent_ = nullptr;
  TAlign align_ = alNone;
  TAnchors anchors_ = kDefaultAnchors;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  bool settingParentFont_ = false;
  TCursor cursor_ = crDefault;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TPopupMenu* popupMenu_ = nullptr;
  TBiDiMode biDiMode_ = bdLeftToRight;
  std::unique_ptr<TCanvas> canvas_;
  bool pressed_ = false;
  bool mouseInside_ = false;
  // Distances kept by right/bottom anchors (to the parent's client edges).
  int anchorRight_ = -1, anchorBottom_ = -1;
  // The hooks put in front of WindowProc; told when the control goes.
  friend class TWindowProcHook;
  std::vector<std::weak_ptr<TWindowProcLink>> hookLinks_;

 protected:
  void UpdateAnchorRules();
};

// Marks a control as handling a message for the scope's lifetime: a
// handler that frees the control (or a form freeing itself from its own
// button's click) then leaves it whole until the outermost scope of it
// ends, when it is freed. The window procedure of framework windows, the
// mouse routing to windowless children, the keyboard handling of forms
// and modal loops open one.
class TMessageScope {
 public:
  explicit TMessageScope(TControl* control);
  ~TMessageScope();
  TMessageScope(const TMessageScope&) = delete;
  TMessageScope& operator=(const TMessageScope&) = delete;
};

// A procedure put in front of a control's WindowProc that can be taken out
// again whatever other procedures came or went meanwhile (saving and
// restoring WindowProc by hand works only in reverse order). The method
// passes what it does not handle on with CallPrevious; it may take itself
// out while it runs (and still pass the message on). A hook taken out
// while a plain procedure stands in front of it stays in the chain and
// passes everything on. The hook is taken out when it goes; when the
// control goes first, the hook merely forgets it.
class TWindowProcHook {
 public:
  TWindowProcHook() = default;
  ~TWindowProcHook() { Remove(); }
  TWindowProcHook(const TWindowProcHook&) = delete;
  TWindowProcHook& operator=(const TWindowProcHook&) = delete;

  // Puts method in front of control's WindowProc (taking this hook out of
  // wherever it was first).
  void Install(TControl* control, TWndMethod method);
  void Remove();
  bool Installed() const;
  // The control the hook is on (nullptr when taken out or the control went).
  TControl* Control() const;
  // Passes the message to the procedure that stood in front before.
  void CallPrevious(TMessage& message);

 private:
  std::shared_ptr<TWindowProcLink> link_;
};

// A control without a window of its own.
class TGraphicControl : public TControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
  using TControl::Canvas;
};

struct TCreateParams {
  std::wstring caption;
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  HWND parent = nullptr;
  HMENU id = nullptr;
  std::wstring className;       // the framework class of the window
  const wchar_t* baseClass = nullptr;  // system class it extends; nullptr: a plain window
  UINT classStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  void BeforeDestruction() override;

  // The window; created (with the parents' windows) when first asked for.
  HWND Handle();
  HWND HandleIfAllocated() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys and creates the window again (after a style change).
  void RecreateWnd();
  bool IsWindowed() const override { return true; }

  void WndProc(TMessage& message) override;
  std::string GetText() const override;
  // Passes the message to the window's default procedure (the system
  // class's procedure for superclassed controls).
  void DefaultHandler(TMessage& message) override;

  // ---- children ----
  const std::vector<TControl*>& Controls() const { return controls_; }
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* ControlAt(int index) const;
  // The visible, enabled windowless child under the point (client
  // coordinates), topmost first; nullptr when there is none.
  TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;
  bool ContainsControl(const TControl* control) const;
  // Lays out the aligned children.
  void Realign();
  virtual void AlignControls(RECT& rect);
  // The area children are aligned in (the client area less borders).
  virtual void AdjustClientRect(RECT& rect);

  // ---- focus and tab order ----
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  // Windowed descendants in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  // The next (or previous) control that can take focus after current.
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

  RECT ClientRect() const override;
  POINT ClientOrigin() const override;
  void SetBounds(int left, int top, int width, int height) override;
  void Invalidate() override;
  void Update() override;
  // Paints the windowless children into a device context (origin at this
  // control's client origin).
  void PaintControls(HDC dc, TControl* first = nullptr);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void DestroyWnd();
  // Fills the window of a list control (a combo box, a list box) with the
  // texts of items anew: reset, room made for all, then each item handed
  // with `add` straight to the class's own procedure (nothing above it has
  // business with each item, and a message through the handlers above
  // costs a look-up of the window's properties), painted once at the end.
  void FillItems(const TStrings& items, UINT reset, UINT initStorage, UINT add);
  // Runs after the window exists (set texts, fonts, lists into it).
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void WindowCreated() {}
  // Custom-painted windows paint here; the default fills nothing.
  virtual void PaintWindow(HDC dc);
  // Set by classes that paint their own window (no system control).
  bool ownPaint_ = false;
  // Answer for WM_GETDLGCODE (DLGC_ flags) used by the keyboard handling.
  virtual UINT DialogCode() const { return 0; }
  // Key handling; return true when the key was consumed.
  virtual bool DoKeyDown(WORD& key, TShiftState shift);
  virtual bool DoKeyPress(char& key);
  virtual bool DoKeyUp(WORD& key, TShiftState shift);
  virtual void DoEnter();
  virtual void DoExit();
  // Colour of a child's CTLCOLOR message: sets text and background into
  // dc and returns the brush.
  virtual HBRUSH ControlColor(HDC dc);
  TBrush* Brush() const { return brush_.get(); }
  void VisibleChanged() override;
  void EnabledChanged() override;
  void TextChanged() override;
  void FontChanged() override;
  void ColorChanged() override;
  void Resize() override;
  void UpdateFontIntoWindow();

 private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // Handlers of WndProc. Those returning bool answer true when the
  // message was handled, false to pass it on.
  void WmPaint(TMessage& m);
  void WmEraseBkgnd(TMessage& m);
  void WmDestroy(TMessage& m);
  void WmSetFocus(TMessage& m);
  void WmKillFocus(TMessage& m);
  bool WmKey(TMessage& m);   // key down and up: OnKeyDown, OnKeyUp
  bool WmChar(TMessage& m);  // OnKeyPress
  void WmGetDlgCode(TMessage& m);
  bool WmSetCursor(TMessage& m);
  void WmMouseLeave(TMessage& m);
  bool WmContextMenu(TMessage& m);
  void WmWindowPosChanged(TMessage& m);
  bool WmMouse(TMessage& m);
  // Hands a dialog key or character to the children until one takes it.
  void OfferToChildren(TMessage& m);
  // The cursor for the point under the mouse pointer (crDefault: the
  // class's own).
  TCursor CursorUnderPointer() const;
  bool RouteMouseToChild(TMessage& m);
  void ReflectNotify(TMessage& m);
  void UpdateMouseTracking(TControl* target);
  void WindowDestroyed();
  void ApplyBoundsFromWindow();

  friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  bool tabStop_ = false;
  std::unique_ptr<TBrush> brush_;
  bool creating_ = false;
  bool settingBounds_ = false;
  bool aligning_ = false;
  TControl* captureChild_ = nullptr;
};

// A windowed control that paints itself on a canvas.
class TCustomControl : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TCustomControl(TComponent* owner);
  using TControl::Canvas;

 protected:
  void PaintWindow(HDC dc) override;
};

// Publishes the usual look properties of a control class: Color (with its
// default), ParentColor, Font, ParentFont; and Caption or Text.
void PublishColorAndFont(TClassInfo& info, TColor defaultColor);
void PublishCaption(TClassInfo& info);
void PublishText(TClassInfo& info);

// The window procedure of every framework window class.
LRESULT CALLBACK FrameworkWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The framework control object of a window (nullptr for other windows).
TWinControl* ControlOfWindow(HWND window);
// The name of the window property that holds it.
const wchar_t* ControlAtomName();
// The topmost control (windowed, or windowless inside it) under a screen
// point; nullptr outside the program's windows.
TControl* FindDragTarget(POINT screen, bool allowDisabled);

// Registers the framework's window classes and common controls (called
// by the application object; harmless to call twice).
void InitControls();

}  // namespace fw
