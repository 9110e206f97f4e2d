#include "Subclass.h"

#include <algorithm>
#include <vector>

namespace fw {

struct TSubclassChain;

// One method's place in a window's chain.
struct TSubclassEntry {
  TWndMethod method;               // empty once taken out: passes everything on
  TSubclassChain* chain = nullptr;  // nullptr once it left the chain for good
};

// The procedures in front of one window, oldest first, and the window's
// own procedure behind them. Kept as a window property.
struct TSubclassChain {
  HWND window = nullptr;
  WNDPROC original = nullptr;
  bool unicode = false;
  std::vector<std::shared_ptr<TSubclassEntry>> entries;
  int running = 0;        // calls through the chain now on the stack
  bool detached = false;  // the window is gone: the chain waits for its calls to end
};

namespace {

const wchar_t kChainProperty[] = L"fwSubclassChain";

LRESULT CALLBACK ChainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

TSubclassChain* ChainOf(HWND window) {
  return window ? static_cast<TSubclassChain*>(GetPropW(window, kChainProperty)) : nullptr;
}

WNDPROC CurrentProc(const TSubclassChain& chain) {
  return reinterpret_cast<WNDPROC>(chain.unicode ? GetWindowLongPtrW(chain.window, GWLP_WNDPROC)
                                                 : GetWindowLongPtrA(chain.window, GWLP_WNDPROC));
}

void SetProc(const TSubclassChain& chain, WNDPROC proc) {
  if (chain.unicode)
    SetWindowLongPtrW(chain.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  else
    SetWindowLongPtrA(chain.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

// The window's own procedure, in the window's character set.
void CallOriginal(const TSubclassChain& chain, TMessage& m) {
  m.Result = chain.unicode ? CallWindowProcW(chain.original, chain.window, m.Msg, m.WParam, m.LParam)
                           : CallWindowProcA(chain.original, chain.window, m.Msg, m.WParam, m.LParam);
}

// Calls the newest method below position `below` that is still in, or
// the window's own procedure when there is none.
void CallBelow(TSubclassChain& chain, size_t below, TMessage& m) {
  for (size_t i = std::min(below, chain.entries.size()); i-- > 0;) {
    std::shared_ptr<TSubclassEntry> entry = chain.entries[i];
    if (!entry->method) continue;
    TWndMethod method = entry->method;  // a copy runs: it may take itself out
    method(m);
    return;
  }
  CallOriginal(chain, m);
}

// The window goes: its original procedure is put back (when ours is still
// in place) and every method learns that it is no longer installed.
void DetachChain(TSubclassChain& chain) {
  if (chain.detached) return;
  chain.detached = true;
  if (IsWindow(chain.window) && CurrentProc(chain) == ChainWindowProc) SetProc(chain, chain.original);
  RemovePropW(chain.window, kChainProperty);
  for (auto& entry : chain.entries) entry->chain = nullptr;
  chain.entries.clear();
}

// With no call running: drops the methods taken out; an empty chain gives
// the window its own procedure back when nobody replaced ours meanwhile
// (else it stays, passing messages on). True when the chain was freed.
bool Tidy(TSubclassChain* chain) {
  if (chain->running > 0) return false;
  if (chain->detached) {
    delete chain;
    return true;
  }
  auto& list = chain->entries;
  for (auto it = list.begin(); it != list.end();) {
    if ((*it)->method) {
      ++it;
      continue;
    }
    (*it)->chain = nullptr;
    it = list.erase(it);
  }
  if (!list.empty()) return false;
  if (!IsWindow(chain->window)) {
    delete chain;
    return true;
  }
  if (CurrentProc(*chain) != ChainWindowProc) return false;
  SetProc(*chain, chain->original);
  RemovePropW(chain->window, kChainProperty);
  delete chain;
  return true;
}

LRESULT CALLBACK ChainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TSubclassChain* chain = ChainOf(hwnd);
  if (!chain) return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, msg, wParam, lParam)
                                           : DefWindowProcA(hwnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  ++chain->running;
  try {
    CallBelow(*chain, chain->entries.size(), m);
  } catch (...) {
    // A method failed: this message ends here, the window goes on.
  }
  --chain->running;
  if (msg == WM_NCDESTROY) DetachChain(*chain);
  Tidy(chain);
  return m.Result;
}

}  // namespace

bool TWindowSubclass::Install(HWND window, TWndMethod method) {
  Remove();
  entry_.reset();
  if (!window || !IsWindow(window) || !method) return false;
  TSubclassChain* chain = ChainOf(window);
  if (!chain) {
    chain = new TSubclassChain;
    chain->window = window;
    chain->unicode = IsWindowUnicode(window) != FALSE;
    chain->original = CurrentProc(*chain);
    if (!SetPropW(window, kChainProperty, chain)) {
      delete chain;
      return false;
    }
    SetProc(*chain, ChainWindowProc);
  }
  entry_ = std::make_shared<TSubclassEntry>();
  entry_->method = std::move(method);
  entry_->chain = chain;
  chain->entries.push_back(entry_);
  return true;
}

void TWindowSubclass::Remove() {
  // The entry is kept: while its method runs it stays in the chain (which
  // drops it once the call has ended), so the method can still pass on.
  if (!entry_ || !entry_->method) return;
  entry_->method = nullptr;
  if (entry_->chain) Tidy(entry_->chain);
}

bool TWindowSubclass::Installed() const { return entry_ && entry_->chain && entry_->method; }

HWND TWindowSubclass::Window() const { return Installed() ? entry_->chain->window : nullptr; }

bool TWindowSubclass::Unicode() const { return Installed() && entry_->chain->unicode; }

void TWindowSubclass::CallPrevious(TMessage& m) {
  if (!entry_ || !entry_->chain) return;
  TSubclassChain& chain = *entry_->chain;
  auto it = std::find(chain.entries.begin(), chain.entries.end(), entry_);
  if (it == chain.entries.end()) return;
  CallBelow(chain, static_cast<size_t>(it - chain.entries.begin()), m);
}

bool IsWindowSubclassed(HWND window) {
  TSubclassChain* chain = ChainOf(window);
  if (!chain) return false;
  for (auto& e : chain->entries)
    if (e->method) return true;
  return false;
}

}  // namespace fw
