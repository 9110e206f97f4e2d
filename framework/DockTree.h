// The framework's dock tree: the dock manager of a dock site. It lays the
// site's docked clients out one after another (stacked top to bottom, or
// side by side in a site aligned to the top or bottom), each in a frame
// whose grabber band AdjustDockRect keeps free; paints the frames; starts
// a dock drag on a press on a grabber and hides the client on a click on
// its close box; and says where a client dragged over the site would go.
//
// Classes that draw their dock site their own way derive from it and
// override the geometry (AdjustDockRect, GrabberRect, CloseBoxRect) and
// PaintDockFrame.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "Control.h"
#include "DockLayout.h"

namespace fw {

class TDockTree {
 public:
  explicit TDockTree(TWinControl* site);
  virtual ~TDockTree();
  TDockTree(const TDockTree&) = delete;
  TDockTree& operator=(const TDockTree&) = delete;

  TWinControl* Site() const { return site_; }
  int GrabberSize() const { return grabberSize_; }
  void SetGrabberSize(int size);
  // True when the clients stand side by side (the site is aligned to the
  // top or bottom), false when they are stacked.
  bool SideBySide() const;

  // ---- layout ----
  struct TDockedFrame {
    TControl* client;
    RECT frame;  // site client coordinates
  };
  // The frames of the visible docked clients, in order.
  std::vector<TDockedFrame> Frames() const;
  // The area the frames share: the site's client rectangle less its
  // borders (AdjustClientRect).
  RECT DockArea() const;
  // Moves a frame in to the client's own rectangle (its grabber band free).
  virtual void AdjustDockRect(TControl* client, RECT& rect);
  // Places every visible docked client in its frame and repaints the site.
  void ResetBounds();

  // ---- geometry and hit tests (site client coordinates) ----
  virtual RECT GrabberRect(TControl* client, const RECT& frame);
  virtual RECT CloseBoxRect(TControl* client, const RECT& frame);
  struct THit {
    TControl* client = nullptr;  // the client whose grabber holds the point
    bool closeBox = false;       // the point is on its close box
  };
  THit HitTest(POINT p);

  // ---- dropping ----
  // Where a client dropped at the point (site client coordinates) goes:
  // the client it goes before or after and the side, as ManualDock takes
  // them. The dragged client itself is left out of the others.
  void DropPlaceAt(TControl* dragged, POINT p, TControl*& dropControl, TAlign& align);
  // The frame (site client coordinates) the client gets when docked there.
  RECT FrameAfterDrop(TControl* client, TControl* dropControl, TAlign align);
  // The index in the site's docked clients (without client) where client
  // goes for dropControl and align.
  int InsertIndex(const std::vector<TControl*>& others, TControl* dropControl, TAlign align) const;

  // ---- painting ----
  // Paints the frame of every visible docked client (site client
  // coordinates).
  void PaintSite(HDC dc);
  // The framework's own frame: a plain grabber (two ridges along the band)
  // with a close box.
  virtual void PaintDockFrame(TCanvas& canvas, TControl* client, const RECT& frame);

  // A mouse message of the site's window: a press on a grabber starts a
  // dock drag of its client, a click on a close box hides the client. True
  // when the message was taken.
  bool MouseMessage(TMessage& m);

 private:
  // The frames of the visible clients of the list (shown counts as visible).
  std::vector<TDockedFrame> FramesOf(const std::vector<TControl*>& clients, const TControl* shown) const;
  TWinControl* site_;
  std::unique_ptr<TCanvas> canvas_;
  int grabberSize_ = 12;
  TControl* closePressed_ = nullptr;  // the client whose close box is held down
};

// Conversions between the site's RECT and the layout's boxes.
inline TDockBox ToDockBox(const RECT& r) { return TDockBox{r.left, r.top, r.right, r.bottom}; }
inline RECT FromDockBox(const TDockBox& b) { return RECT{b.left, b.top, b.right, b.bottom}; }

}  // namespace fw
