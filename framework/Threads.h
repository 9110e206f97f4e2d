// Threads with synchronised calls, and critical sections.
//
// Synchronize runs a call in the user-interface thread and waits for it.
// The request is posted to the application's hidden window, so it runs
// from any message loop of that thread: the application's own, a modal
// form's, or the one inside a message box.
#pragma once

#include <windows.h>

#include <functional>

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

class TThread {
 public:
  // The thread starts at once unless createSuspended (then Start).
  explicit TThread(bool createSuspended);
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  void Start();
  // Asks Execute to end (it looks at Terminated()).
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  bool Finished() const { return finished_; }
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
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
  volatile bool terminated_ = false;
  volatile bool finished_ = false;
  bool started_ = false;
};

// Runs the synchronised calls waiting now (user-interface thread only).
// Returns true when at least one ran.
bool CheckSynchronize();
// Records the calling thread as the user-interface thread (the
// application object does this when it starts).
void SetMainThread();
bool IsMainThread();

}  // namespace fw
