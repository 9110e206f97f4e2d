// Message boxes, and the modality of the program's windows across its
// threads.
//
// A form shown modally and a message box (of any thread) each hold the
// windows they disable for as long as they are open. A window stays
// disabled while any modal window holds it, so one that closes (the box a
// worker thread shows, say) cannot give the operator a window that another
// modal window still keeps from him; the last one to close enables it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace fw {

// Texts and captions are GBK; flags are the MB_ flags (MB_OK |
// MB_ICONWARNING ...). Returns the button pressed (IDOK ...). Owned by the
// given window; usable from any thread. The owner's top-level window is
// held while the box is open, and afterwards the modal window still open
// above it, else the owner, is made active.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

// Holds windows disabled for a modal window of the program. A window that
// is disabled and held by no modal window (nor still being enabled by a
// hold that has just ended) was disabled for another reason: it is left
// alone, now and when the hold ends. Taking a hold ends the left press
// under way on the calling thread: its release goes to the modal window,
// and a release that comes later is no click. `disableNow` false is for
// the system's own modal windows (message boxes), which disable their owner
// themselves and enable it again as they close: the hold only counts the
// box among the owner's holds, and when it ends the owner is put back as
// the other holds want it.
class TModalHold {
 public:
  explicit TModalHold(const std::vector<HWND>& windows, bool disableNow = true);
  ~TModalHold() { Release(); }
  TModalHold(const TModalHold&) = delete;
  TModalHold& operator=(const TModalHold&) = delete;
  // Ends the hold now: each window no other modal window holds is enabled.
  void Release();

 private:
  std::vector<HWND> held_;
};

// For tests: a call that Release makes, on the releasing thread, for each
// window it lets go, after the window's count went down and before the
// window is enabled again (a test takes another hold in that instant).
// Not set in the program; nullptr takes it away.
using TModalReleaseProbe = void (*)(HWND window);
void SetModalReleaseProbe(TModalReleaseProbe probe);

// Reads the reports of the window system that are due, before a modal
// window comes. Under Wine without a window manager the order of the
// top-level windows follows what the X server reports under the pointer
// (the window there goes on top), and a busy thread reads those reports
// late: read once the modal window is up, a report from before it (the
// pointer rested on the owner where the modal window comes) puts the owner
// over it. The modal window is still drawn on top, but the clicks, which go
// by the order, land on the disabled owner. Elsewhere it does nothing.
void ReadPendingWindowReports();

// After a modal window closed: activates `preferred` (a top-level window)
// when it takes input again, else the modal window of the program still
// open on top.
void ActivateAfterModal(HWND preferred);

// True when `window` lost the activation to the desktop right after a modal
// window of another of the program's threads gave it back (within a
// second). Under Wine without a window manager the modal window, closing,
// takes the keyboard for an instant; the window's own thread may read the
// report that it lost the keyboard only after it was made active again,
// and the window system then gives the activation to the desktop, where
// the keys reach no window. The window takes it back (TForm does).
bool LostActivationGivenBack(HWND window);
// True when no window is in front: none, or the desktop.
bool DesktopInFront();

}  // namespace fw
