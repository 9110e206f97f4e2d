// Dragging and docking with the mouse: the drag objects handed to the
// drag and dock events, and the drag loop that moves them.
//
// A drag starts with TControl::BeginDrag (or a press on a control whose
// DragMode is dmAutomatic, or on a grabber of a dock site). The pointer is
// then captured by the framework's drag window: once it has moved past the
// threshold the drag starts (OnStartDrag / OnStartDock); every move finds
// the target under the pointer (FindDragTarget) and asks it (OnDragOver,
// or for a dock drag the site's OnGetSiteInfo and OnDockOver, which place
// the outline of where the client would go); releasing the button drops
// (OnDragDrop, or ManualDock / ManualFloat), Esc, the right button or a
// lost capture cancel. Either way the source hears OnEndDrag / OnEndDock.
// Controls freed during a drag are forgotten at once: a freed source ends
// the drag, a freed target is left.
#pragma once

#include <windows.h>

#include "Control.h"

namespace fw {

// One drag under way: what is dragged and where it is.
class TDragObject : public TObject {
 public:
  TDragObject() = default;
  // The dragged control (nullptr once it is freed).
  TControl* Control() const { return control_; }
  // The control now under the pointer that accepts the drop (nullptr: none).
  TControl* DragTarget() const { return dragTarget_; }
  // The pointer, in screen coordinates.
  POINT DragPos() const { return dragPos_; }
  // True once the drop was made (in the end handlers).
  bool Dropped() const { return dropped_; }
  // The cursor shown while the target accepts (or refuses) the drop.
  virtual TCursor GetDragCursor(bool accepted, int x, int y);

 private:
  friend class TDragSession;
  friend struct TDocking;
  TControl* control_ = nullptr;
  TControl* dragTarget_ = nullptr;
  POINT dragPos_ = {0, 0};
  bool dropped_ = false;
};

// A plain drag of a control (the drag object the framework makes).
class TDragControlObject : public TDragObject {};

// A dock drag: where the client would go, shown as an outline on the screen.
class TDragDockObject : public TDragObject {
 public:
  // The outline, in screen coordinates: the frame the client would get in
  // the site under the pointer, or the floating window it would get.
  RECT DockRect() const { return dockRect_; }
  void SetDockRect(const RECT& r) { dockRect_ = r; }
  // Where among the site's clients it goes (see ManualDock).
  TControl* DropOnControl() const { return dropOnControl_; }
  TAlign DropAlign() const { return dropAlign_; }
  void SetDropPlace(TControl* dropOnControl, TAlign align) {
    dropOnControl_ = dropOnControl;
    dropAlign_ = align;
  }
  // True when no site takes it: dropped, it floats.
  bool Floating() const { return floating_; }
  // The outline's width in pixels.
  int FrameWidth() const { return frameWidth_; }
  TCursor GetDragCursor(bool accepted, int x, int y) override;

 private:
  friend class TDragSession;
  friend struct TDocking;
  RECT dockRect_ = {0, 0, 0, 0};
  TControl* dropOnControl_ = nullptr;
  TAlign dropAlign_ = alNone;
  bool floating_ = true;
  int frameWidth_ = 3;
  // The pointer's distance from the outline's corner when the drag began.
  POINT grabOffset_ = {0, 0};
};

// The framework's threshold of BeginDrag(false), in pixels.
constexpr int kDragThreshold = 5;

// The drag object of the drag under way (nullptr: none).
TDragObject* CurrentDragObject();
// Starts a drag of control of the given kind for a press that was not the
// control's own (a grabber of a dock site or a floating window's caption
// starts a dock drag): released before the drag begins, the control hears
// of neither. (BeginDrag starts one for the control's own press: released
// before the drag begins, the control gets its release, as a click.)
void BeginDragOf(TControl* control, TDragKind kind, bool immediate, int threshold);
// The outline window shown during a dock drag (nullptr when none was
// shown yet); hidden when no dock drag is under way.
HWND DragOutlineWindow();
// The cursor images of crDrag, crNoDrop and crMultiDrag.
HCURSOR DragCursorHandle(TCursor cursor);

}  // namespace fw
