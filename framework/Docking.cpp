// Docking: a control docked in a dock site (laid out by the site's dock
// manager), floating in a tool window of its own, or neither.
#include "Docking.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "DockTree.h"
#include "FloatingHost.h"
#include "Form.h"

namespace fw {

namespace {

bool IsFloatingHost(const TWinControl* w) { return dynamic_cast<const TFloatingHost*>(w) != nullptr; }

RECT ScreenBounds(TControl* c) {
  const POINT o = c->Parent() ? c->Parent()->ClientToScreen(POINT{c->Left(), c->Top()}) : POINT{c->Left(), c->Top()};
  return RECT{o.x, o.y, o.x + c->Width(), o.y + c->Height()};
}

RECT ToScreen(TWinControl* site, const RECT& r) {
  const POINT o = site->ClientToScreen(POINT{0, 0});
  RECT s = r;
  OffsetRect(&s, o.x, o.y);
  return s;
}

// A dock site never takes the control itself, a control inside it, or a
// form (a window of its own).
bool CanDockInto(const TControl* client, const TWinControl* site) {
  if (!site || !client || site == client) return false;
  if (dynamic_cast<const TForm*>(client)) return false;
  if (const auto* w = dynamic_cast<const TWinControl*>(client); w && w->ContainsControl(site)) return false;
  return true;
}

// The controls one docking step holds, watched through free notification:
// a handler of the step that frees one of them stops the step.
class TDockHold : public TComponent {
 public:
  TDockHold(std::initializer_list<TControl*> held) : TComponent(nullptr) {
    for (TControl* c : held)
      if (c) {
        held_.push_back(c);
        FreeNotification(c);
      }
  }
  ~TDockHold() override {
    for (TControl* c : held_) RemoveFreeNotification(c);
  }
  // True while none of the held controls has been freed.
  bool Whole() const { return whole_; }
  // True while c (one of the held controls) has not been freed.
  bool Holds(const TControl* c) const { return std::find(held_.begin(), held_.end(), c) != held_.end(); }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    const size_t before = held_.size();
    held_.erase(std::remove(held_.begin(), held_.end(), component), held_.end());
    if (held_.size() != before) whole_ = false;
  }

 private:
  std::vector<TControl*> held_;
  bool whole_ = true;
};

}  // namespace

bool TDocking::AllowUnDock(TWinControl* site, TControl* client, TWinControl* newTarget) {
  if (!site || IsFloatingHost(site)) return true;
  bool allow = true;
  if (TUnDockEvent h = site->OnUnDock) h(site, client, newTarget, allow);
  return allow;
}

bool TDocking::Dock(TControl* client, TWinControl* site, TControl* dropControl, TAlign align, TDragDockObject* drag,
                    POINT screen) {
  if (!client || !site || !site->DockSite() || !CanDockInto(client, site)) return false;
  if (client->IsDestroying() || site->IsDestroying()) return false;
  TWinControl* old = client->hostDockSite_;
  // An OnUnDock that frees the client or a site stops here: nothing moves.
  TDockHold hold{client, site, old};
  if (old && old != site && (!AllowUnDock(old, client, site) || !hold.Whole())) return false;
  // The size it floats with: the size it had before it was first docked,
  // or the size of its floating window.
  if (!old || IsFloatingHost(old)) {
    client->undockWidth_ = client->Width();
    client->undockHeight_ = client->Height();
  }
  if (drag && !site->dockManager_) {
    // A site without a dock manager keeps the client where the outline was.
    const RECT r = drag->DockRect();
    const POINT p = site->ScreenToClient(POINT{r.left, r.top});
    client->SetBounds(p.x, p.y, client->Width(), client->Height());
  }
  auto& list = site->dockClients_;
  list.erase(std::remove(list.begin(), list.end(), client), list.end());
  // Leaves the old site's list; a floating window it leaves goes.
  if (client->Parent() != site) client->SetParent(site);
  if (client->Parent() != site) return false;
  std::vector<TControl*> others = list;
  const int index = site->dockManager_ ? site->dockManager_->InsertIndex(others, dropControl, align)
                                       : static_cast<int>(others.size());
  list.insert(list.begin() + index, client);
  client->hostDockSite_ = site;
  site->Realign();
  site->Invalidate();
  if (TDockDropEvent h = site->OnDockDrop) {
    TDragDockObject local;
    if (!drag) {
      local.control_ = client;
      local.dockRect_ = ScreenBounds(client);
      local.SetDropPlace(dropControl, align);
      local.floating_ = false;
      local.dropped_ = true;
      drag = &local;
      screen = POINT{local.dockRect_.left, local.dockRect_.top};
    }
    const POINT p = site->ScreenToClient(screen);
    h(site, drag, p.x, p.y);
    // A handler that freed the site (or the client) abandoned the drop.
    return hold.Holds(client) && hold.Holds(site);
  }
  return true;
}

bool TDocking::Float(TControl* client, const RECT& r) {
  if (!client || client->IsDestroying() || dynamic_cast<TForm*>(client)) return false;
  TWinControl* old = client->hostDockSite_;
  if (auto* host = dynamic_cast<TFloatingHost*>(old)) {
    host->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    return true;
  }
  TDockHold hold{client, old};
  if (old && (!AllowUnDock(old, client, nullptr) || !hold.Whole())) return false;
  if (!old) {
    client->undockWidth_ = client->Width();
    client->undockHeight_ = client->Height();
  }
  auto* host = new TFloatingHost(client->Owner());
  host->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  host->Adopt(client);
  if (client->Visible()) host->Show();
  return true;
}

TWinControl* TDocking::FindSite(TControl* client, POINT screen) {
  for (TControl* c = FindDragTarget(screen, true); c; c = c->Parent()) {
    auto* site = dynamic_cast<TWinControl*>(c);
    if (!site || !site->DockSite() || !CanDockInto(client, site)) continue;
    RECT influence = {0, 0, 0, 0};
    bool canDock = site->Showing() && site->HandleAllocated();
    if (canDock) GetWindowRect(site->HandleIfAllocated(), &influence);
    if (TGetSiteInfoEvent h = site->OnGetSiteInfo) {
      TDockHold hold{client, site};
      h(site, client, influence, screen, canDock);
      if (!hold.Whole()) {
        // The handler freed its site (or the client): the drag ends here.
        if (hold.Holds(client)) client->EndDrag(false);
        return nullptr;
      }
    }
    if (canDock && PtInRect(&influence, screen)) return site;
  }
  return nullptr;
}

bool TDocking::DockOver(TWinControl* site, TDragDockObject* drag, POINT screen, TDragState state) {
  const POINT p = site->ScreenToClient(screen);
  TControl* client = drag->Control();
  if (state != dsDragLeave && client) {
    if (TDockTree* tree = site->dockManager_.get()) {
      TControl* dropControl = nullptr;
      TAlign align = alNone;
      tree->DropPlaceAt(client, p, dropControl, align);
      drag->dockRect_ = ToScreen(site, tree->FrameAfterDrop(client, dropControl, align));
      drag->SetDropPlace(dropControl, align);
    } else {
      const POINT tl = {screen.x - drag->grabOffset_.x, screen.y - drag->grabOffset_.y};
      drag->dockRect_ = RECT{tl.x, tl.y, tl.x + client->Width(), tl.y + client->Height()};
      drag->SetDropPlace(nullptr, alNone);
    }
  }
  bool accept = true;
  if (TDockOverEvent h = site->OnDockOver) h(site, drag, p.x, p.y, state, accept);
  return accept;
}

void TDocking::FloatRect(TDragDockObject* drag, POINT screen) {
  TControl* client = drag->Control();
  if (!client) return;
  RECT r = TFloatingHost::WindowRectFor(POINT{0, 0}, client->UndockWidth(), client->UndockHeight());
  // The grabbed point stays within the floating window's caption.
  const int dx = std::min<int>(drag->grabOffset_.x, std::max<int>(0, r.right - 16));
  const int dy = std::min<int>(drag->grabOffset_.y, std::max<int>(0, GetSystemMetrics(SM_CYSMCAPTION) / 2));
  OffsetRect(&r, screen.x - dx, screen.y - dy);
  drag->dockRect_ = r;
  drag->SetDropPlace(nullptr, alNone);
}

void TDocking::InitDockObject(TDragDockObject* drag, TControl* client, POINT start) {
  RECT r = ScreenBounds(client);
  TWinControl* host = client->hostDockSite_;
  if (IsFloatingHost(host) && host->HandleAllocated()) {
    GetWindowRect(host->HandleIfAllocated(), &r);
  } else if (host && host->dockManager_) {
    for (const auto& f : host->dockManager_->Frames())
      if (f.client == client) r = ToScreen(host, f.frame);
  }
  drag->dockRect_ = r;
  drag->grabOffset_ = POINT{start.x - r.left, start.y - r.top};
  drag->floating_ = IsFloatingHost(host);
}

bool TDocking::Drop(TDragDockObject* drag, TWinControl* site, POINT screen) {
  TControl* client = drag->Control();
  if (!client) return false;
  return Dock(client, site, drag->DropOnControl(), drag->DropAlign(), drag, screen);
}

void TDocking::ReleaseClients(TWinControl* site) {
  const std::vector<TControl*> clients = site->dockClients_;
  site->dockClients_.clear();
  for (TControl* c : clients) {
    if (c->hostDockSite_ != site) continue;
    c->hostDockSite_ = nullptr;
    if (c->IsDestroying()) continue;
    c->SetParent(nullptr);
    c->Hide();
  }
}

bool TDocking::Forget(TWinControl* site, TControl* child) {
  auto& list = site->dockClients_;
  const auto it = std::find(list.begin(), list.end(), child);
  if (child->hostDockSite_ == site) {
    child->hostDockSite_ = nullptr;
    // A floating window whose client leaves it, by whatever way, goes.
    if (auto* host = dynamic_cast<TFloatingHost*>(site); host && host->Client() == child) host->Dismiss();
  }
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

void TDocking::AdoptDockChildren(TWinControl* site) {
  for (TControl* c : site->Controls()) {
    if (c->DragKind() != dkDock || c->hostDockSite_ == site || !CanDockInto(c, site)) continue;
    c->undockWidth_ = c->Width();
    c->undockHeight_ = c->Height();
    c->hostDockSite_ = site;
    site->dockClients_.push_back(c);
  }
}

// ---- TControl ------------------------------------------------------------------

bool TControl::ManualDock(TWinControl* site, TControl* dropControl, TAlign align) {
  return TDocking::Dock(this, site, dropControl, align, nullptr, POINT{0, 0});
}

bool TControl::ManualFloat(const RECT& screenRect) { return TDocking::Float(this, screenRect); }

bool TControl::Floating() const { return IsFloatingHost(hostDockSite_); }

// ---- TWinControl ---------------------------------------------------------------

TControl* TWinControl::DockClients(int index) const {
  if (index < 0 || index >= DockClientCount()) return nullptr;
  return dockClients_[static_cast<size_t>(index)];
}

void TWinControl::SetDockSite(bool value) {
  if (value == dockSite_) return;
  dockSite_ = value;
  if (IsLoading()) return;
  if (value) {
    TDocking::AdoptDockChildren(this);
  } else {
    // The clients stay where they are, as plain children.
    for (TControl* c : dockClients_)
      if (c->hostDockSite_ == this) c->hostDockSite_ = nullptr;
    dockClients_.clear();
  }
  UpdateDockManager();
}

void TWinControl::SetUseDockManager(bool value) {
  if (value == useDockManager_) return;
  useDockManager_ = value;
  UpdateDockManager();
}

TDockTree* TWinControl::CreateDockManager() { return new TDockTree(this); }

void TWinControl::UpdateDockManager() {
  if (IsLoading() || IsDestroying()) return;
  const bool wanted = dockSite_ && useDockManager_;
  if (wanted && !dockManager_)
    dockManager_.reset(CreateDockManager());
  else if (!wanted && dockManager_)
    dockManager_.reset();
  Realign();
  Invalidate();
}

// After form data: the children that form data placed in a dock site
// become its docked clients.
void TWinControl::LoadedDockSite() {
  if (!dockSite_) return;
  TDocking::AdoptDockChildren(this);
  UpdateDockManager();
}

}  // namespace fw
