#include "DockTree.h"

#include <windowsx.h>

#include <algorithm>

#include "DragDrop.h"

namespace fw {

TDockTree::TDockTree(TWinControl* site) : site_(site), canvas_(new TCanvas) {}

TDockTree::~TDockTree() {
  if (closePressed_ && site_->HandleAllocated() && GetCapture() == site_->HandleIfAllocated()) ReleaseCapture();
}

void TDockTree::SetGrabberSize(int size) {
  grabberSize_ = std::max(0, size);
  site_->Realign();
}

bool TDockTree::SideBySide() const { return site_->Align() == alTop || site_->Align() == alBottom; }

RECT TDockTree::DockArea() const {
  RECT r = site_->ClientRect();
  site_->AdjustClientRect(r);
  return r;
}

std::vector<TDockTree::TDockedFrame> TDockTree::FramesOf(const std::vector<TControl*>& clients,
                                                         const TControl* shown) const {
  std::vector<TControl*> visible;
  for (TControl* c : clients)
    if (c->Visible() || c == shown) visible.push_back(c);
  const std::vector<TDockBox> boxes =
      DockFrames(ToDockBox(DockArea()), static_cast<int>(visible.size()), SideBySide());
  std::vector<TDockedFrame> frames;
  for (size_t i = 0; i < visible.size(); ++i) frames.push_back(TDockedFrame{visible[i], FromDockBox(boxes[i])});
  return frames;
}

std::vector<TDockTree::TDockedFrame> TDockTree::Frames() const { return FramesOf(site_->DockClientList(), nullptr); }

void TDockTree::AdjustDockRect(TControl*, RECT& rect) {
  rect = FromDockBox(DockClientArea(ToDockBox(rect), SideBySide(), grabberSize_));
}

void TDockTree::ResetBounds() {
  for (const TDockedFrame& f : Frames()) {
    RECT r = f.frame;
    AdjustDockRect(f.client, r);
    f.client->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  site_->Invalidate();
}

RECT TDockTree::GrabberRect(TControl*, const RECT& frame) {
  return FromDockBox(DockGrabberBand(ToDockBox(frame), SideBySide(), grabberSize_));
}

RECT TDockTree::CloseBoxRect(TControl*, const RECT& frame) {
  return FromDockBox(DockCloseBox(ToDockBox(frame), SideBySide(), grabberSize_));
}

TDockTree::THit TDockTree::HitTest(POINT p) {
  THit hit;
  for (const TDockedFrame& f : Frames()) {
    const RECT grabber = GrabberRect(f.client, f.frame);
    if (!PtInRect(&grabber, p)) continue;
    hit.client = f.client;
    const RECT close = CloseBoxRect(f.client, f.frame);
    hit.closeBox = PtInRect(&close, p) != FALSE;
    break;
  }
  return hit;
}

void TDockTree::DropPlaceAt(TControl* dragged, POINT p, TControl*& dropControl, TAlign& align) {
  std::vector<TControl*> others = site_->DockClientList();
  others.erase(std::remove(others.begin(), others.end(), dragged), others.end());
  const std::vector<TDockedFrame> frames = FramesOf(others, nullptr);
  std::vector<TDockBox> boxes;
  for (const TDockedFrame& f : frames) boxes.push_back(ToDockBox(f.frame));
  const TDockDropPlace place = DockDropPlaceAt(boxes, p.x, p.y, SideBySide());
  if (place.index < 0) {
    dropControl = nullptr;
    align = alNone;
    return;
  }
  dropControl = frames[static_cast<size_t>(place.index)].client;
  if (SideBySide())
    align = place.before ? alLeft : alRight;
  else
    align = place.before ? alTop : alBottom;
}

int TDockTree::InsertIndex(const std::vector<TControl*>& others, TControl* dropControl, TAlign align) const {
  const bool before = align == alTop || align == alLeft;
  const auto it = dropControl ? std::find(others.begin(), others.end(), dropControl) : others.end();
  const int count = static_cast<int>(others.size());
  if (it == others.end()) return before ? 0 : count;
  return DockInsertIndex(count, static_cast<int>(it - others.begin()), before);
}

RECT TDockTree::FrameAfterDrop(TControl* client, TControl* dropControl, TAlign align) {
  std::vector<TControl*> order = site_->DockClientList();
  order.erase(std::remove(order.begin(), order.end(), client), order.end());
  order.insert(order.begin() + InsertIndex(order, dropControl, align), client);
  for (const TDockedFrame& f : FramesOf(order, client))
    if (f.client == client) return f.frame;
  return DockArea();
}

void TDockTree::PaintSite(HDC dc) {
  const std::vector<TDockedFrame> frames = Frames();
  if (frames.empty()) return;
  canvas_->SetHandle(dc);
  for (const TDockedFrame& f : frames) {
    const int saved = SaveDC(dc);
    PaintDockFrame(*canvas_, f.client, f.frame);
    RestoreDC(dc, saved);
  }
  canvas_->SetHandle(nullptr);
}

void TDockTree::PaintDockFrame(TCanvas& canvas, TControl* client, const RECT& frame) {
  HDC dc = canvas.Handle();
  const RECT band = GrabberRect(client, frame);
  RECT close = CloseBoxRect(client, frame);
  canvas.Brush()->SetColor(clBtnFace);
  canvas.FillRect(band);
  // Two raised ridges along the band, up to the close box.
  for (int i = 0; i < 2; ++i) {
    RECT ridge;
    if (SideBySide())
      ridge = RECT{band.left + 3 + 4 * i, close.bottom + 2, band.left + 6 + 4 * i, band.bottom - 2};
    else
      ridge = RECT{band.left + 2, band.top + 3 + 4 * i, close.left - 2, band.top + 6 + 4 * i};
    if (ridge.right > ridge.left && ridge.bottom > ridge.top) DrawEdge(dc, &ridge, BDR_RAISEDINNER, BF_RECT);
  }
  DrawFrameControl(dc, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_FLAT);
}

bool TDockTree::MouseMessage(TMessage& m) {
  const POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const auto docked = [this](TControl* c) {
    const auto& list = site_->DockClientList();
    return std::find(list.begin(), list.end(), c) != list.end();
  };
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const THit hit = HitTest(p);
      if (!hit.client) return false;
      if (hit.closeBox) {
        closePressed_ = hit.client;
        SetCapture(site_->Handle());
      } else {
        BeginDragOf(hit.client, dkDock, false, -1);
      }
      m.Result = 0;
      return true;
    }
    case WM_MOUSEMOVE:
      if (!closePressed_) return false;
      m.Result = 0;
      return true;
    case WM_LBUTTONUP: {
      if (!closePressed_) return false;
      TControl* client = closePressed_;
      closePressed_ = nullptr;
      if (GetCapture() == site_->HandleIfAllocated()) ReleaseCapture();
      if (docked(client)) {
        for (const TDockedFrame& f : Frames()) {
          const RECT close = CloseBoxRect(f.client, f.frame);
          if (f.client == client && PtInRect(&close, p)) client->Hide();
        }
      }
      m.Result = 0;
      return true;
    }
    case WM_CAPTURECHANGED:
      closePressed_ = nullptr;
      return false;
    default: return false;
  }
}

}  // namespace fw
