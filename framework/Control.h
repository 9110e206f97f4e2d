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
#include "SizeConstraints.h"

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
// ---- dragging and docking: types (DragDrop.h has the drag objects) ----
// The drag cursors are the framework's own images (DragDrop.cpp).
constexpr TCursor crDrag = -12, crNoDrop = -13, crMultiDrag = -16;
enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
const TEnumType& DragModeType();
const TEnumType& DragKindType();
class TControl;
class TDragObject;
class TDragDockObject;
class TDockTree;
using TStartDragEvent = std::function<void(TObject* sender, TDragObject*& dragObject)>;
using TStartDockEvent = std::function<void(TObject* sender, TDragDockObject*& dragObject)>;
// source: the dragged control, or the drag object a start handler gave.
using TDragOverEvent =
    std::function<void(TObject* sender, TObject* source, int x, int y, TDragState state, bool& accept)>;
using TDragDropEvent = std::function<void(TObject* sender, TObject* source, int x, int y)>;
// target: what took the drop (nullptr when the drag was cancelled or refused).
using TEndDragEvent = std::function<void(TObject* sender, TObject* target, int x, int y)>;
using TDockOverEvent =
    std::function<void(TObject* sender, TDragDockObject* source, int x, int y, TDragState state, bool& accept)>;
using TDockDropEvent = std::function<void(TObject* sender, TDragDockObject* source, int x, int y)>;
using TGetSiteInfoEvent = std::function<void(TObject* sender, TControl* dockClient, RECT& influenceRect,
                                             POINT mousePos, bool& canDock)>;
using TUnDockEvent = std::function<void(TObject* sender, TControl* client, TWinControl* newTarget, bool& allow)>;
// ---- end of dragging and docking types ----

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

// ---- size constraints, help, context pop-up: types --------------------------
// Asked before a control takes a new size; the handler may change the size
// or refuse it (resize = false: the control keeps its size).
using TCanResizeEvent = std::function<void(TObject* sender, int& newWidth, int& newHeight, bool& resize)>;
// Raised each time the size limits are applied, with the Constraints' values;
// the handler may change them for this one application.
using TConstrainedResizeEvent =
    std::function<void(TObject* sender, int& minWidth, int& minHeight, int& maxWidth, int& maxHeight)>;
// Raised on a context menu request before the control's PopupMenu opens;
// mousePos in client coordinates, (-1, -1) when it came from the keyboard.
// Handled = true: no pop-up menu opens.
using TContextPopupEvent = std::function<void(TObject* sender, POINT mousePos, bool& handled)>;
// How a help request for the control would be looked up. No help system is
// called; the values are kept for the program to use.
enum THelpType { htKeyword, htContext };
const TEnumType& HelpTypeType();

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
  // Setting it clears ParentBiDiMode.
  void SetBiDiMode(TBiDiMode mode);

  // ---- size constraints, help, context pop-up, reading order ----
  // Limits held by SetBounds, alignment and (for windows sized by the
  // system) the border drag; applied anew when they change and when form
  // data has been read.
  TSizeConstraints* Constraints() const { return constraints_.get(); }
  // Holds a proposed size: asks OnCanResize when it differs from the
  // current one, then applies the limits. False when the resize was refused
  // (the control keeps its size). Does nothing while form data is read.
  bool CheckNewSize(int& width, int& height);
  // The limits in force now: Constraints as OnConstrainedResize leaves them.
  TSizeLimits SizeLimits();
  THelpType HelpType() const { return helpType_; }
  void SetHelpType(THelpType v) { helpType_ = v; }
  std::string HelpKeyword() const { return helpKeyword_; }
  void SetHelpKeyword(const std::string& v) { helpKeyword_ = v; }
  int32_t HelpContext() const { return helpContext_; }
  void SetHelpContext(int32_t v) { helpContext_ = v; }
  // While true, BiDiMode is the parent's (and follows it).
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool value);

  TCanResizeEvent OnCanResize;
  TConstrainedResizeEvent OnConstrainedResize;
  TContextPopupEvent OnContextPopup;

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

  // ---- dragging and docking (DragDrop.cpp, Docking.cpp) ----
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode mode) { dragMode_ = mode; }
  TDragKind DragKind() const { return dragKind_; }
  void SetDragKind(TDragKind kind) { dragKind_ = kind; }
  TCursor DragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor cursor) { dragCursor_ = cursor; }
  // Starts dragging this control (a drag or a dock drag, as DragKind
  // says): at once, or once the pointer has moved threshold pixels (-1:
  // the framework's threshold) with the button still down.
  void BeginDrag(bool immediate, int threshold = -1);
  // Ends this control's drag: dropped where the pointer is, or cancelled.
  void EndDrag(bool drop);
  bool Dragging() const;
  // The press the control took is no click any more (a drag took its
  // release or was cancelled, another window took the pointer): a release
  // that comes later is not one.
  void ForgetPress();
  // The control takes the thread's left press; the holder before it lost
  // its own. The control's own left press does this; code that handles
  // the control's press in front of its procedure (a skinner that takes
  // the press over) does it in the press's stead.
  void TakePress();
  // True while the left press under way on this thread is the control's
  // own: it took the press, and no release and no ForgetPress has ended it.
  bool PressHeld() const;
  // Docks the control in site, before or after dropControl (one of the
  // site's docked clients) as align says (alTop/alLeft: before, else
  // after); without dropControl alTop/alLeft put it first, anything else
  // last. False (nothing changed) when the site refuses it: not a dock
  // site, the control itself or inside it, or the old site's OnUnDock
  // says no (or frees the control or a site). False too when the site's
  // OnDockDrop frees the site or the control.
  bool ManualDock(TWinControl* site, TControl* dropControl = nullptr, TAlign align = alNone);
  // Puts the control in a floating tool window whose window takes the
  // screen rectangle. False when its site's OnUnDock says no (or frees
  // the control or the site).
  bool ManualFloat(const RECT& screenRect);
  // The dock site or floating window the control is docked in (nullptr:
  // not docked).
  TWinControl* HostDockSite() const { return hostDockSite_; }
  bool Floating() const;
  // The client size the control takes when it floats.
  int UndockWidth() const { return undockWidth_ > 0 ? undockWidth_ : width_; }
  int UndockHeight() const { return undockHeight_ > 0 ? undockHeight_ : height_; }

  TStartDragEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;
  TStartDockEvent OnStartDock;
  TEndDragEvent OnEndDock;
  // ---- end of dragging and docking ----

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
  // Copies colour, font and reading order from the parent where
  // ParentColor/ParentFont/ParentBiDiMode.
  void ParentChanged();

  // ---- size constraints, context pop-up, reading order: hooks ----
  // Raises OnCanResize; false refuses the size.
  virtual bool CanResize(int& newWidth, int& newHeight);
  // Raises OnConstrainedResize with the limits about to be applied.
  virtual void ConstrainedResize(TSizeLimits& limits);
  // Raises OnContextPopup; true when the handler took the request.
  virtual bool DoContextPopup(POINT mousePos);
  // After BiDiMode changed (also when taken from the parent).
  virtual void BiDiModeChanged();
  // Holds the current size within the limits again.
  void ApplyConstraints();
  bool DeferFree() override;
  // Told when the control's press ends without its release coming to it
  // (ForgetPress, or a press or release of another control came first),
  // by CM_PRESSLOST through WindowProc.
  virtual void PressLost() {}
  bool clickEvents_ = true;  // a press and release inside gives Click
  bool opaque_ = false;      // paints all of its area (no erase beneath)

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::string text_;

 private:
  friend class TWinControl;
  void HandleMouse(TMessage& m);
  // A left release came to the control: the press under way is over. True
  // when it was the control's own.
  bool EndPressByRelease();
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
  // ---- size constraints, help, reading order: state ----
  std::unique_ptr<TSizeConstraints> constraints_;
  THelpType helpType_ = htContext;
  std::string helpKeyword_;
  int32_t helpContext_ = 0;
  bool parentBiDiMode_ = true;
  std::unique_ptr<TCanvas> canvas_;
  bool pressed_ = false;
  bool mouseInside_ = false;
  // Distances kept by right/bottom anchors (to the parent's client edges).
  int anchorRight_ = -1, anchorBottom_ = -1;
  // The hooks put in front of WindowProc; told when the control goes.
  friend class TWindowProcHook;
  std::vector<std::weak_ptr<TWindowProcLink>> hookLinks_;
  // ---- dragging and docking ----
  friend class TDockTree;
  friend class TFloatingHost;
  friend struct TDocking;
  TDragMode dragMode_ = dmManual;
  TDragKind dragKind_ = dkDrag;
  TCursor dragCursor_ = crDrag;
  TWinControl* hostDockSite_ = nullptr;
  int undockWidth_ = 0, undockHeight_ = 0;
  // ---- end of dragging and docking ----

 protected:
  void UpdateAnchorRules();
};

// While it lives, the mouse capture leaving the control's window does not
// end the control's press: code that moves the capture on the control's
// behalf (a panel laid over the control, which passes it the press and
// then takes the mouse over to pass it the release) keeps the press the
// control's own. Scopes nest; each covers one control.
class TCaptureHandOver {
 public:
  explicit TCaptureHandOver(TControl* control);
  ~TCaptureHandOver();
  TCaptureHandOver(const TCaptureHandOver&) = delete;
  TCaptureHandOver& operator=(const TCaptureHandOver&) = delete;
  // True while a scope covers `control`.
  static bool Covers(const TControl* control);

 private:
  TControl* control_;
  TCaptureHandOver* outer_;
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

  // ---- 3-D look, sizing to the children ----
  // Ctl3D: the control draws itself in the 3-D style (what that changes is
  // each class's own); while ParentCtl3D it is the parent's and follows it.
  bool Ctl3D() const { return ctl3d_; }
  void SetCtl3D(bool value);
  bool ParentCtl3D() const { return parentCtl3d_; }
  void SetParentCtl3D(bool value);
  // AutoSize: the control takes the size its children need (see
  // CanAutoSize), again whenever a child moves, resizes, shows, hides, comes
  // or goes, and after alignment; the size still passes the constraints.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  // After form data: the size the children need (with AutoSize).
  void Loaded() override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // ---- docking and double buffering (Docking.cpp, DockTree.cpp) ----
  bool DockSite() const { return dockSite_; }
  void SetDockSite(bool value);
  bool UseDockManager() const { return useDockManager_; }
  void SetUseDockManager(bool value);
  // The dock tree that lays out, paints and hit-tests the docked clients
  // (made when DockSite and UseDockManager are both on).
  TDockTree* DockManager() const { return dockManager_.get(); }
  int DockClientCount() const { return static_cast<int>(dockClients_.size()); }
  TControl* DockClients(int index) const;
  const std::vector<TControl*>& DockClientList() const { return dockClients_; }
  // Paints into a memory bitmap first and puts it on the screen in one
  // copy (only where the window paints itself, not into a given DC).
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }

  TDockOverEvent OnDockOver;
  TDockDropEvent OnDockDrop;
  TGetSiteInfoEvent OnGetSiteInfo;
  TUnDockEvent OnUnDock;
  // ---- end of docking and double buffering ----

 protected:
  // ---- docking ----
  // The dock manager this site gets; the framework's dock tree unless a
  // class draws its dock site its own way.
  virtual TDockTree* CreateDockManager();
  // True while a double-buffered window begins painting on the screen:
  // that erase is skipped (the buffered paint erases into its bitmap).
  bool SkipsScreenErase() const { return skipScreenErase_; }
  // ---- end of docking ----
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
  // Moves the keyboard focus to the form when it is in this control, which
  // is about to be hidden or disabled.
  void HandFocusToForm();
  void TextChanged() override;
  void FontChanged() override;
  void ColorChanged() override;
  void Resize() override;
  void UpdateFontIntoWindow();

  // ---- 3-D look, sizing to the children: hooks ----
  virtual void Ctl3DChanged() {}
  // The size the children need: the extent of the visible children that
  // are not aligned (aligned ones follow this control) plus the frame
  // around the children's area (AdjustClientRect) and the non-client area.
  // False when there is no such child (the size stays).
  virtual bool CanAutoSize(int& width, int& height);
  // Takes that size (with AutoSize, outside loading and alignment).
  void AdjustSizeToChildren();

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
  // Size limits and OnCanResize for sizes the system gives the window (a
  // user dragging its border).
  void WmGetMinMaxInfo(TMessage& m);
  void WmWindowPosChanging(TMessage& m);

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
  // ---- 3-D look, sizing to the children: state ----
  bool ctl3d_ = true, parentCtl3d_ = true;
  bool autoSize_ = false, autoSizing_ = false;
  // ---- docking and double buffering ----
  friend class TDockTree;
  friend struct TDocking;
  void UpdateDockManager();
  void LoadedDockSite();
  void PaintBuffered(HDC screen, const RECT& area);
  void PaintContent(HDC dc);
  bool dockSite_ = false;
  bool useDockManager_ = false;
  bool doubleBuffered_ = false;
  bool skipScreenErase_ = false;
  std::vector<TControl*> dockClients_;
  std::unique_ptr<TDockTree> dockManager_;
  // ---- end of docking and double buffering ----
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
// Publishes Constraints; with resizeEvents also OnCanResize and
// OnConstrainedResize.
void PublishConstraints(TClassInfo& info, bool resizeEvents);
// Publishes Ctl3D and ParentCtl3D of a windowed control class.
void PublishCtl3D(TClassInfo& info);

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
