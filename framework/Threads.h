// Threads with synchronised calls, and critical sections.
//
// Synchronize runs a call in the user-interface thread and waits for it.
// The request is posted to the application's hidden window, so it runs
// from any message loop of that thread: the application's own, a modal
// form's, or the one inside a message box.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "Object.h"

namespace fw {

class TCriticalSection {
 public:
  TCriticalSection() { InitializeCriticalSection(&cs_); }
  ~TCriticalSection() { DeleteCriticalSection(&cs_); }
  TCriticalSection(const TCriticalSection&) = delete;
  TCriticalSection& operator=(const TCriticalSection&) = delete;
  void Enter() { EnterCriticalSection(&cs_); }
  void Leave() { LeaveCriticalSection(&cs_); }
  void Acquire() { Enter(); }
  void Release() { Leave(); }
  bool TryEnter() { return TryEnterCriticalSection(&cs_) != 0; }

 private:
  CRITICAL_SECTION cs_;
};

// A thread of the program: override Execute and poll Terminated().
//
// Free it with Free() (or FreeAndNil): a thread still running is told to
// terminate and waited for there, while the whole object (the derived
// class's members too) still exists, so Execute never runs on a half-gone
// object. A thread deleted directly (or left to go out of scope) skips
// that step: it must have ended before (WaitFor), or the derived class
// ends it in its own destructor; the base destructor's wait comes after
// the derived members are gone and is only a last resort.
class TThread : public TObject {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // The thread starts at once unless createSuspended (then Start).
  explicit TThread(bool createSuspended);
  ~TThread() override;
  // Tells a running thread to terminate and waits for it to end (a thread
  // never started is started so that it can end).
  void BeforeDestruction() override;

  void Start();
  // Asks Execute to end (it looks at Terminated()); from any thread.
  void Terminate() { terminated_.store(true); }
  bool Terminated() const { return terminated_.load(); }
  // True once Execute has returned.
  bool Finished() const { return finished_.load(); }
  // Waits for the thread to end; in the user-interface thread, pending
  // synchronised calls run meanwhile. Returns the thread's exit code.
  DWORD WaitFor();
  HANDLE Handle() const { return handle_; }
  DWORD ThreadID() const { return id_; }
  // Free the object when Execute returns (set before the thread starts).
  bool FreeOnTerminate = false;

  // Runs method in the user-interface thread and waits until it has run.
  static void Synchronize(const std::function<void()>& method);

 protected:
  virtual void Execute() = 0;

 private:
  static DWORD WINAPI ThreadProc(void* self);
  // Terminates a thread that has not finished and waits for it, unless
  // called from the thread itself.
  void TerminateAndWait();
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
  // Shared with the thread: written by one side, read by the other.
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  bool started_ = false;  // the creating thread's own record
};

// Runs the synchronised calls waiting now (user-interface thread only).
// Returns true when at least one ran.
bool CheckSynchronize();
// Records the calling thread as the user-interface thread (the
// application object does this when it starts).
void SetMainThread();
bool IsMainThread();

}  // namespace fw
