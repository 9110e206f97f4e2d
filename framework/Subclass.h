// Subclassing of any window by its handle, also of windows the framework
// did not make (message boxes and their buttons, drop-down lists, headers,
// menu windows). Several parties may put procedures in front of one window
// and take them out again in any order.
//
// The platform's own subclass chain cannot be used for this: when its last
// procedure is taken out it writes the window's original procedure back
// whether or not somebody else has replaced the window procedure since, and
// that somebody then loses the window. This chain puts the original back
// only while the window exists and its procedure is still ours; otherwise
// it stays in place and passes every message on.
//
// Messages reach the methods in the character set of the window (Unicode
// windows in their wide form) and are passed on to the original procedure
// in that same form, so texts are never converted twice. No exception
// leaves the window procedure: one thrown by a method ends that message.
#pragma once

#include <windows.h>

#include <memory>

#include "Messages.h"

namespace fw {

struct TSubclassEntry;

class TWindowSubclass {
 public:
  TWindowSubclass() = default;
  ~TWindowSubclass() { Remove(); }
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // Puts method in front of the window's procedure (taking this subclass
  // out of wherever it was first). False, with nothing installed, when the
  // window does not exist.
  bool Install(HWND window, TWndMethod method);
  // Takes the method out; also allowed from inside the method, which may
  // still pass the message on.
  void Remove();
  // True from Install until Remove or until the window is destroyed (its
  // WM_NCDESTROY has gone through the methods).
  bool Installed() const;
  HWND Window() const;
  // The window takes its messages in the wide form.
  bool Unicode() const;
  // Passes the message to what stood in front before this method: the
  // next method installed earlier, at last the window's own procedure.
  void CallPrevious(TMessage& message);

 private:
  std::shared_ptr<TSubclassEntry> entry_;
};

// True when a method of this facility stands in front of the window.
bool IsWindowSubclassed(HWND window);

}  // namespace fw
