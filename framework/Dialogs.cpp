#include "Dialogs.h"

#include <atomic>
#include <map>

#include "Internal.h"
#include "Text.h"
#include "Threads.h"

namespace fw {

namespace {

// The windows the modal windows hold, with how many hold each. Every
// change bumps the generation: a thread that enables or disables a window
// (outside the lock, as that talks to the window's own thread) looks again
// afterwards, and goes on until no other change came in between, so the
// window ends in the state of the last change. A window stays listed while
// a thread is putting it in that state, also after its last hold ended: it
// is still disabled then, and a hold taken in that instant must join it
// rather than take it for a window disabled for another reason.
struct TWindowHolds {
  int holds = 0;     // the modal windows that hold it
  int applying = 0;  // the threads enabling or disabling it now
};

struct THolds {
  TCriticalSection lock;
  std::map<HWND, TWindowHolds> windows;
  unsigned generation = 0;
};

std::atomic<TModalReleaseProbe> g_releaseProbe{nullptr};

// The window a modal window of another thread last gave the activation
// back to, and when (GetTickCount).
std::atomic<HWND> g_givenBack{nullptr};
std::atomic<DWORD> g_givenBackAt{0};
constexpr DWORD kGivenBackMs = 1000;

THolds& Holds() {
  static THolds* holds = new THolds;  // used by every thread until the end
  return *holds;
}

// Disables the window while it is held, else enables it. The caller counted
// itself among the window's `applying` under the lock; the last one done
// with a window held by none takes it off the list.
void ApplyHold(HWND window) {
  THolds& h = Holds();
  h.lock.Enter();
  for (;;) {
    const unsigned seen = h.generation;
    const bool held = h.windows[window].holds > 0;
    h.lock.Leave();
    if (IsWindow(window)) EnableWindow(window, held ? FALSE : TRUE);
    h.lock.Enter();
    if (h.generation == seen) break;
  }
  TWindowHolds& entry = h.windows[window];
  if (--entry.applying <= 0 && entry.holds <= 0) h.windows.erase(window);
  h.lock.Leave();
}

// A window that is shown but never made active: one that says so, and the
// pop-ups without a caption that show over the others (hints, menus,
// drop-down lists, tool tips). A tool window with a caption (a form with a
// tool-window border) is made active as any other.
bool NeverActivated(HWND h) {
  const DWORD ex = static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE));
  if (ex & WS_EX_NOACTIVATE) return true;
  const DWORD style = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
  return (ex & WS_EX_TOOLWINDOW) && (style & WS_CAPTION) != WS_CAPTION;
}

// The program's top visible window that takes input and can be made
// active: with modal windows open, the modal window on top, whatever its
// border.
HWND TopModalWindow() {
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
    if (NeverActivated(h)) continue;
    return h;
  }
  return nullptr;
}

}  // namespace

TModalHold::TModalHold(const std::vector<HWND>& windows, bool disableNow) {
  // The modal window (or nothing) takes the release of a press under way.
  ForgetPressUnderWay();
  THolds& h = Holds();
  for (HWND w : windows) {
    if (!w) continue;
    h.lock.Enter();
    const bool take = h.windows.count(w) != 0 || IsWindowEnabled(w);
    if (take) {
      TWindowHolds& entry = h.windows[w];
      ++entry.holds;
      if (disableNow) ++entry.applying;
      ++h.generation;
    }
    h.lock.Leave();
    if (!take) continue;
    held_.push_back(w);
    if (disableNow) ApplyHold(w);
  }
}

void TModalHold::Release() {
  THolds& h = Holds();
  for (HWND w : held_) {
    h.lock.Enter();
    TWindowHolds& entry = h.windows[w];
    if (entry.holds > 0) --entry.holds;
    ++entry.applying;
    ++h.generation;
    h.lock.Leave();
    if (TModalReleaseProbe probe = g_releaseProbe.load()) probe(w);
    ApplyHold(w);
  }
  held_.clear();
}

void SetModalReleaseProbe(TModalReleaseProbe probe) { g_releaseProbe = probe; }

void ActivateAfterModal(HWND preferred) {
  HWND target = preferred && IsWindowVisible(preferred) && IsWindowEnabled(preferred) ? preferred : TopModalWindow();
  if (!target) return;
  const bool ownThread = GetWindowThreadProcessId(target, nullptr) == GetCurrentThreadId();
  if (!ownThread) {
    // Noted even where the window system has made it active already: the
    // report that undoes that may still be on its way.
    g_givenBackAt = GetTickCount();
    g_givenBack = target;
  }
  if (GetForegroundWindow() == target) return;
  // A window of this thread is activated as such; one of another of the
  // program's threads through the foreground request, which reaches it
  // there.
  if (ownThread)
    SetActiveWindow(target);
  else
    SetForegroundWindow(target);
}

bool LostActivationGivenBack(HWND window) {
  return window && g_givenBack.load() == window && GetTickCount() - g_givenBackAt.load() <= kGivenBackMs &&
         DesktopInFront();
}

bool DesktopInFront() {
  const HWND now = GetForegroundWindow();
  return !now || now == GetDesktopWindow();
}

void ReadPendingWindowReports() { MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT); }

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  TModalHold hold(std::vector<HWND>{top}, false);
  ReadPendingWindowReports();
  const int answer = MessageBoxW(owner, ToWide(text).c_str(), ToWide(caption).c_str(), flags);
  // The box, closing, enabled and activated its owner whatever else is
  // still open: another modal window's hold is put back, and the
  // activation goes to the modal window that is still open.
  hold.Release();
  if (top) ActivateAfterModal(top);
  return answer;
}

}  // namespace fw
