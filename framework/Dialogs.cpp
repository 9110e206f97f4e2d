#include "Dialogs.h"

#include <map>

#include "Text.h"
#include "Threads.h"

namespace fw {

namespace {

// The windows the modal windows hold, with how many hold each. Every
// change bumps the generation: a thread that enables or disables a window
// (outside the lock, as that talks to the window's own thread) looks again
// afterwards, and goes on until no other change came in between, so the
// window ends in the state of the last change.
struct THolds {
  TCriticalSection lock;
  std::map<HWND, int> count;
  unsigned generation = 0;
};

THolds& Holds() {
  static THolds* holds = new THolds;  // used by every thread until the end
  return *holds;
}

void ApplyHold(HWND window) {
  THolds& h = Holds();
  for (;;) {
    h.lock.Enter();
    const unsigned seen = h.generation;
    const auto it = h.count.find(window);
    const bool held = it != h.count.end();
    h.lock.Leave();
    if (IsWindow(window)) EnableWindow(window, held ? FALSE : TRUE);
    h.lock.Enter();
    const bool settled = h.generation == seen;
    h.lock.Leave();
    if (settled) return;
  }
}

// The program's top visible window that takes input and is no tool or
// hint window: with modal windows open, the modal window on top.
HWND TopModalWindow() {
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
    if (GetWindowLongW(h, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)) continue;
    return h;
  }
  return nullptr;
}

}  // namespace

TModalHold::TModalHold(const std::vector<HWND>& windows, bool disableNow) {
  THolds& h = Holds();
  for (HWND w : windows) {
    if (!w) continue;
    h.lock.Enter();
    auto it = h.count.find(w);
    bool take = it != h.count.end() || IsWindowEnabled(w);
    if (take) {
      ++h.count[w];
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
    auto it = h.count.find(w);
    if (it != h.count.end() && --it->second <= 0) h.count.erase(it);
    ++h.generation;
    h.lock.Leave();
    ApplyHold(w);
  }
  held_.clear();
}

void ActivateAfterModal(HWND preferred) {
  HWND target = preferred && IsWindowVisible(preferred) && IsWindowEnabled(preferred) ? preferred : TopModalWindow();
  if (!target || GetForegroundWindow() == target) return;
  // A window of this thread is activated as such; one of another of the
  // program's threads through the foreground request, which reaches it
  // there.
  if (GetWindowThreadProcessId(target, nullptr) == GetCurrentThreadId())
    SetActiveWindow(target);
  else
    SetForegroundWindow(target);
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  TModalHold hold(std::vector<HWND>{top}, false);
  // Under Wine without a window manager the order of the top-level windows
  // follows what the X server reports under the pointer (the window there
  // is on top), and a busy thread reads those reports late. Read once the
  // box is up, a report from before it (the pointer rested on the owner
  // where the box comes) would put the owner over the box: the box is still
  // drawn on top, but the clicks that go by the order land on the disabled
  // owner. The reports that are due are read now, before the box comes.
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
  const int answer = MessageBoxW(owner, ToWide(text).c_str(), ToWide(caption).c_str(), flags);
  // The box, closing, enabled and activated its owner whatever else is
  // still open: another modal window's hold is put back, and the
  // activation goes to the modal window that is still open.
  hold.Release();
  if (top) ActivateAfterModal(top);
  return answer;
}

}  // namespace fw
