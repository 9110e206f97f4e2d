// The small tool window a floating client lives in. It is captioned with
// the client's caption and laid out to the client alone; closing it hides
// the client (and so the window) and frees nothing; showing the client
// again shows it. Dragging its caption drags the client (a dock drag:
// dropped on a dock site it docks there, elsewhere it floats there).
// The window goes when the client leaves it or is freed; if the window is
// freed first, the client is left hidden and without a parent.
#pragma once

#include "Form.h"

namespace fw {

class TFloatingHost : public TForm {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFloatingHost(TComponent* owner);
  void BeforeDestruction() override;

  TControl* Client() const { return client_; }
  // Takes the client in (its parent becomes this window).
  void Adopt(TControl* client);
  // Lets the client go (it stays where it is put next), hides the window
  // and frees it once the messages now waiting are handled.
  void Dismiss();

  // The window rectangle of a floating window whose client area is
  // width x height with its top-left corner at topLeft (screen).
  static RECT WindowRectFor(POINT topLeft, int width, int height);

  void AlignControls(RECT& rect) override;

 protected:
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void ClientMessage(TMessage& m);
  TControl* client_ = nullptr;
  TWindowProcHook clientHook_;
};

}  // namespace fw
