// Docking: a dock drag across a site that holds 10 docked clients, and that
// site repainted double-buffered against not, in one run:
//  - per mouse move of a dock drag (the site under the pointer found, its
//    OnGetSiteInfo and OnDockOver asked, where the client would go worked
//    out, the outline moved), over the site, over another site and over
//    no site;
//  - per drop: the client docked, both sites laid out and repainted;
//  - per full repaint of the site with its 10 clients and their grabbers,
//    double-buffered and not.
// The drag is driven through the drag loop's own window, as the pointer
// moves would drive it.
//
// usage: dock_bench [MOVES [REPAINTS]]   (defaults 400 and 100)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Application.h"
#include "BenchClock.h"
#include "DragDrop.h"
#include "Form.h"
#include "KvPanel.h"
#include "KvRegistration.h"

using namespace fw;

namespace {

kv::TKvPanel* MakeSite(TForm* form, TAlign align, int size) {
  auto* site = new kv::TKvPanel(form);
  site->SetParent(form);
  site->SetBounds(0, 0, size, size);
  site->SetBorderOuter(kv::fsFlat);
  site->SetAlign(align);
  site->SetDockSite(true);
  return site;
}

// Sends a pointer move to the window that holds the capture, as the system
// would; returns the time it took to handle.
double MoveTo(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  HWND capture = GetCapture();
  POINT p = screen;
  ScreenToClient(capture, &p);
  const double start = NowMs();
  SendMessageW(capture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  return NowMs() - start;
}

struct TStats {
  double mean = 0, max = 0;
};
TStats Of(const std::vector<double>& v) {
  TStats s;
  for (double x : v) {
    s.mean += x;
    s.max = std::max(s.max, x);
  }
  if (!v.empty()) s.mean /= static_cast<double>(v.size());
  return s;
}

// The site repainted count times, with its clients' windows or alone (its
// frame, fill and the grabbers of the 10 clients).
double Repaints(TWinControl* site, int count, bool withClients) {
  const UINT children = withClients ? RDW_ALLCHILDREN : RDW_NOCHILDREN;
  const double start = NowMs();
  for (int i = 0; i < count; ++i)
    RedrawWindow(site->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | children | RDW_UPDATENOW);
  GdiFlush();
  return (NowMs() - start) / count;
}

}  // namespace

int main(int argc, char** argv) {
  const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400;
  const int repaints = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;
  Application();
  kv::RegisterKvClasses();
  auto* form = new TForm(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 1000, 700);
  kv::TKvPanel* top = MakeSite(form, alTop, 100);
  kv::TKvPanel* left = MakeSite(form, alLeft, 300);
  std::vector<kv::TKvPanel*> clients;
  for (int i = 0; i < 10; ++i) {
    auto* c = new kv::TKvPanel(form);
    c->SetParent(form);
    c->SetBounds(400, 200, 160, 60);
    c->SetCaption("client " + std::to_string(i + 1));
    c->SetColor(clWindow);
    c->ManualDock(left);
    clients.push_back(c);
  }
  form->Show();
  SetForegroundWindow(form->Handle());
  Application().ProcessMessages();

  // Dock drags of the middle client: across the site of 10, over the other
  // site and over no site, then dropped into the other site and back.
  std::vector<double> overSite, overOther, overNothing, drops;
  const POINT siteOrigin = left->ClientToScreen(POINT{0, 0});
  const POINT otherOrigin = top->ClientToScreen(POINT{0, 0});
  const int rounds = std::max(1, moves / 100);
  for (int round = 0; round < rounds; ++round) {
    kv::TKvPanel* dragged = clients[5];
    SetCursorPos(siteOrigin.x + 40, siteOrigin.y + dragged->Top() - 7);
    BeginDragOf(dragged, dkDock, true, 0);
    for (int i = 0; i < 50; ++i)
      overSite.push_back(MoveTo(POINT{siteOrigin.x + 20 + (i * 7) % 260, siteOrigin.y + (i * 37) % left->Height()}));
    for (int i = 0; i < 25; ++i)
      overOther.push_back(MoveTo(POINT{otherOrigin.x + 20 + i * 30, otherOrigin.y + 50}));
    for (int i = 0; i < 25; ++i) overNothing.push_back(MoveTo(POINT{siteOrigin.x + 400 + i * 10, siteOrigin.y + 300}));
    // Dropped into the other site: docked, both sites laid out, repainted.
    const POINT drop = {otherOrigin.x + 50, otherOrigin.y + 50};
    MoveTo(drop);
    POINT p = drop;
    ScreenToClient(GetCapture(), &p);
    double start = NowMs();
    SendMessageW(GetCapture(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    UpdateWindow(form->Handle());
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    drops.push_back(NowMs() - start);
    // And back, by code, for the next round.
    dragged->ManualDock(left, clients[4], alBottom);
    Application().ProcessMessages();
  }
  if (left->DockClientCount() != 10) {
    std::printf("the site lost a client: %d docked\n", left->DockClientCount());
    return 1;
  }
  const TStats site = Of(overSite), other = Of(overOther), nothing = Of(overNothing), drop = Of(drops);
  std::printf("dock drag, per mouse move over the site of 10 clients: %.3f ms (max %.3f)\n", site.mean, site.max);
  std::printf("dock drag, per mouse move over another site:         %.3f ms (max %.3f)\n", other.mean, other.max);
  std::printf("dock drag, per mouse move over no site (floating):   %.3f ms (max %.3f)\n", nothing.mean,
              nothing.max);
  std::printf("drop (dock, layout of both sites, repaint):          %.3f ms (max %.3f)\n", drop.mean, drop.max);

  for (const bool withClients : {true, false}) {
    left->SetDoubleBuffered(true);
    const double buffered = Repaints(left, repaints, withClients);
    left->SetDoubleBuffered(false);
    const double direct = Repaints(left, repaints, withClients);
    const char* what = withClients ? "with its 10 clients" : "alone (grabbers)";
    std::printf("full repaint of the site %s, double-buffered: %.3f ms\n", what, buffered);
    std::printf("full repaint of the site %s, direct:          %.3f ms\n", what, direct);
  }
  form->Free();
  return 0;
}
