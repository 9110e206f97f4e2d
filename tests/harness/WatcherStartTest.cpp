// The test framework as built for Windows starts a watcher thread for each
// thread that first uses one of its thread-locals (a SCOPED_TRACE, a
// failure reported). A process that ends while such a thread is still
// starting can be taken down with it under Wine, after all its tests
// passed: the framework must not return from that first use before the
// watcher runs. A thread's start is made slow here (a TLS callback of the
// program sleeps in each thread's attach while the test asks for it), so
// that a watcher not waited for is seen still starting.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

namespace {

std::atomic<bool> g_slowStart{false};
// Threads that finished their attach while the start was slow.
std::atomic<int> g_started{0};

constexpr DWORD kAttachMs = 200;

void NTAPI OnThreadEvent(PVOID, DWORD reason, PVOID) {
  if (reason != DLL_THREAD_ATTACH || !g_slowStart.load()) return;
  Sleep(kAttachMs);
  g_started.fetch_add(1);
}

}  // namespace

// The program's TLS callbacks run in each new thread before its function.
extern "C" __attribute__((section(".CRT$XLY"), used)) const PIMAGE_TLS_CALLBACK g_watcherStartProbe = OnThreadEvent;

TEST(TestFramework, AThreadsFirstTraceReturnsOnlyOnceTheWatcherRuns) {
  int startedBeforeReturn = -1;
  DWORD took = 0;
  // A thread of its own: the framework has met it in no thread-local yet.
  std::thread user([&] {
    g_slowStart = true;
    const DWORD start = GetTickCount();
    {
      SCOPED_TRACE("the thread's first use of the framework's thread-locals");
      startedBeforeReturn = g_started.load();
    }
    took = GetTickCount() - start;
    g_slowStart = false;
  });
  user.join();
  EXPECT_GE(startedBeforeReturn, 1) << "the watcher was still starting when the first trace returned";
  EXPECT_GE(took + 20, kAttachMs);
}
