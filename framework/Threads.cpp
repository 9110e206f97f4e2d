#include "Threads.h"

#include <deque>

#include "Internal.h"
#include "TypeInfo.h"
#include "Messages.h"

namespace fw {

namespace {

struct SyncRequest {
  const std::function<void()>* method;
  HANDLE done;
};

DWORD g_mainThread = 0;
HWND g_syncWindow = nullptr;

TCriticalSection& QueueLock() {
  static TCriticalSection lock;
  return lock;
}

std::deque<SyncRequest>& Queue() {
  static std::deque<SyncRequest> queue;
  return queue;
}

}  // namespace

void SetMainThread() {
  g_mainThread = GetCurrentThreadId();
  g_syncWindow = UtilityWindow();
}

bool IsMainThread() { return g_mainThread == 0 || GetCurrentThreadId() == g_mainThread; }

bool CheckSynchronize() {
  if (!IsMainThread()) return false;
  bool ran = false;
  for (;;) {
    QueueLock().Enter();
    if (Queue().empty()) {
      QueueLock().Leave();
      return ran;
    }
    SyncRequest r = Queue().front();
    Queue().pop_front();
    QueueLock().Leave();
    (*r.method)();
    SetEvent(r.done);
    ran = true;
  }
}

void TThread::Synchronize(const std::function<void()>& method) {
  if (IsMainThread() || !g_syncWindow) {
    method();
    return;
  }
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  QueueLock().Enter();
  Queue().push_back(SyncRequest{&method, done});
  QueueLock().Leave();
  PostMessageW(g_syncWindow, CM_SYNCHRONIZE, 0, 0);
  WaitForSingleObject(done, INFINITE);
  CloseHandle(done);
}

const TClassInfo& TThread::StaticClass() {
  static const TClassInfo info("TThread", &TObject::StaticClass());
  return info;
}

TThread::TThread(bool createSuspended) {
  handle_ = CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id_);
  if (!createSuspended) Start();
}

TThread::~TThread() {
  // Deleted without Free: the last resort (the derived part is gone).
  TerminateAndWait();
  if (handle_) CloseHandle(handle_);
}

void TThread::BeforeDestruction() {
  TerminateAndWait();
  TObject::BeforeDestruction();
}

void TThread::TerminateAndWait() {
  if (!handle_ || finished_.load() || GetCurrentThreadId() == id_) return;
  Terminate();
  if (!started_) Start();
  WaitFor();
}

void TThread::Start() {
  if (started_ || !handle_) return;
  started_ = true;
  ResumeThread(handle_);
}

DWORD TThread::WaitFor() {
  if (!handle_) return 0;
  if (IsMainThread()) {
    // Keep serving synchronised calls (which the thread may be waiting
    // on) and messages sent from other threads (a message box the thread
    // opens over one of our windows sends some).
    for (;;) {
      DWORD r = MsgWaitForMultipleObjects(1, &handle_, FALSE, 10, QS_SENDMESSAGE);
      if (r == WAIT_OBJECT_0) break;
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
      CheckSynchronize();
    }
  } else {
    WaitForSingleObject(handle_, INFINITE);
  }
  DWORD code = 0;
  GetExitCodeThread(handle_, &code);
  return code;
}

DWORD WINAPI TThread::ThreadProc(void* self) {
  auto* t = static_cast<TThread*>(self);
  t->Execute();
  const bool freeIt = t->FreeOnTerminate;
  // Once finished is seen the object may go: it is not touched after this
  // unless the thread frees it itself.
  t->finished_.store(true);
  if (freeIt) t->Free();
  return 0;
}

}  // namespace fw
