#include "FloatingHost.h"

#include "DragDrop.h"

namespace fw {

namespace {
constexpr DWORD kHostStyle = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU;
constexpr DWORD kHostExStyle = WS_EX_TOOLWINDOW;
}  // namespace

const TClassInfo& TFloatingHost::StaticClass() {
  static const TClassInfo info("TFloatingHost", &TForm::StaticClass());
  return info;
}

TFloatingHost::TFloatingHost(TComponent* owner) : TForm(owner) {
  SetBorderStyle(bsSizeToolWin);
  SetBorderIcons(1u << biSystemMenu);
}

RECT TFloatingHost::WindowRectFor(POINT topLeft, int width, int height) {
  RECT r = {0, 0, width, height};
  AdjustWindowRectEx(&r, kHostStyle, FALSE, kHostExStyle);
  return RECT{topLeft.x, topLeft.y, topLeft.x + (r.right - r.left), topLeft.y + (r.bottom - r.top)};
}

void TFloatingHost::Adopt(TControl* client) {
  client_ = client;
  FreeNotification(client);
  SetCaption(client->Caption());
  client->SetParent(this);
  client->hostDockSite_ = this;
  clientHook_.Install(client, [this](TMessage& m) { ClientMessage(m); });
  Realign();
}

void TFloatingHost::ClientMessage(TMessage& m) {
  clientHook_.CallPrevious(m);
  if (!client_) return;
  // The window shows and hides with its client and carries its caption.
  if (m.Msg == CM_VISIBLECHANGED) SetVisible(client_->Visible());
  if (m.Msg == CM_TEXTCHANGED) SetCaption(client_->Caption());
}

void TFloatingHost::Dismiss() {
  clientHook_.Remove();
  if (client_) RemoveFreeNotification(client_);
  client_ = nullptr;
  SetVisible(false);
  Release();
}

void TFloatingHost::BeforeDestruction() {
  clientHook_.Remove();
  if (TControl* c = client_) {
    client_ = nullptr;
    RemoveFreeNotification(c);
    if (c->Parent() == this) {
      // The client outlives its window: hidden and without a parent.
      c->hostDockSite_ = nullptr;
      c->SetParent(nullptr);
      c->Hide();
    }
  }
  TForm::BeforeDestruction();
}

void TFloatingHost::AlignControls(RECT& rect) {
  if (client_ && client_->Parent() == this)
    client_->SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void TFloatingHost::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      // Closing hides the client (and so this window); nothing is freed.
      if (client_)
        client_->Hide();
      else
        SetVisible(false);
      m.Result = 0;
      return;
    case WM_NCLBUTTONDOWN:
      if (m.WParam == HTCAPTION && client_) {
        // The caption drags the client: dropped on a dock site it docks.
        if (HWND h = HandleIfAllocated()) SetActiveWindow(h);
        BeginDragOf(client_, dkDock, false, -1);
        m.Result = 0;
        return;
      }
      break;
    default: break;
  }
  TForm::WndProc(m);
}

void TFloatingHost::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
  if (operation != opRemove || component != client_) return;
  // The client is freed: the window goes after it.
  client_ = nullptr;
  SetVisible(false);
  Release();
}

}  // namespace fw
