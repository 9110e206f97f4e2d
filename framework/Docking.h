// Links between the drag loop, the dock sites and the floating windows
// (not for programs): docking and floating a control, finding the dock
// site under the pointer and placing a dock drag's outline.
#pragma once

#include <windows.h>

#include "Control.h"
#include "DragDrop.h"

namespace fw {

struct TDocking {
  // Docks client in site at the place dropControl and align say; the drag
  // object (nullptr for ManualDock) goes to the site's OnDockDrop. False
  // when nothing was docked, also when a handler freed the client or a
  // site (an OnUnDock: nothing moves; the OnDockDrop: the drop is
  // abandoned).
  static bool Dock(TControl* client, TWinControl* site, TControl* dropControl, TAlign align,
                   TDragDockObject* drag, POINT screen);
  static bool Float(TControl* client, const RECT& screenRect);
  // Asks the old site whether client may leave it for newTarget.
  static bool AllowUnDock(TWinControl* site, TControl* client, TWinControl* newTarget);
  // The dock site under the pointer that takes client: the nearest dock
  // site above the control under the pointer whose OnGetSiteInfo lets it
  // dock (never the client itself or a site inside it). A handler that
  // frees its site or the client ends the drag (nullptr).
  static TWinControl* FindSite(TControl* client, POINT screen);
  // Places the outline for site and asks its OnDockOver; true when it
  // takes the client there.
  static bool DockOver(TWinControl* site, TDragDockObject* drag, POINT screen, TDragState state);
  // The outline of the floating window the client would get at the pointer.
  static void FloatRect(TDragDockObject* drag, POINT screen);
  // The outline a dock drag starts from: the client's frame, floating
  // window or bounds on the screen.
  static void InitDockObject(TDragDockObject* drag, TControl* client, POINT start);
  static bool Drop(TDragDockObject* drag, TWinControl* site, POINT screen);
  // Takes every docked client out of a site that goes: each is left
  // hidden, without a parent, for its owner to free.
  static void ReleaseClients(TWinControl* site);
  // A child leaves its parent: it leaves the parent's docked clients too,
  // and a floating window it leaves goes. True when it was one of the
  // docked clients.
  static bool Forget(TWinControl* site, TControl* child);
  // Makes the children whose DragKind is dkDock docked clients of the site.
  static void AdoptDockChildren(TWinControl* site);
  static bool IsDockedIn(const TWinControl* site, const TControl* control) {
    return control->hostDockSite_ == site && control->Parent() == site;
  }
};

}  // namespace fw
