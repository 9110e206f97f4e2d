// Subclassing windows by their handle: raw windows of system classes in
// both character sets, procedures taken out in any order, somebody else's
// procedure put over ours, a window destroyed under its subclasses, a
// method that fails, and objects freed while their own handler runs.
// (Built into the lifetime test program, whose freed memory is never
// reused.)
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>

#include "Application.h"
#include "Subclass.h"

using namespace fw;

namespace {

constexpr UINT kProbe = WM_USER + 33;

LONG_PTR ProcOf(HWND w) {
  return IsWindowUnicode(w) ? GetWindowLongPtrW(w, GWLP_WNDPROC) : GetWindowLongPtrA(w, GWLP_WNDPROC);
}

class Subclass : public ::testing::Test {
 protected:
  void SetUp() override {
    Application();
    wide = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    narrow = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(wide && narrow);
    ASSERT_TRUE(IsWindowUnicode(wide));
    ASSERT_FALSE(IsWindowUnicode(narrow));
  }
  void TearDown() override {
    if (IsWindow(wide)) DestroyWindow(wide);
    if (IsWindow(narrow)) DestroyWindow(narrow);
  }
  // A method that notes its letter for the probe and passes everything on.
  TWndMethod Noting(TWindowSubclass& s, const char* letter) {
    return [this, &s, letter](TMessage& m) {
      if (m.Msg == kProbe) log += letter;
      s.CallPrevious(m);
    };
  }
  std::string Trace(HWND w) {
    log.clear();
    SendMessageW(w, kProbe, 0, 0);
    return log;
  }
  HWND wide = nullptr, narrow = nullptr;
  std::string log;
};

TEST_F(Subclass, ChainsNewestFirstAndGivesTheProcedureBackInAnyOrder) {
  const LONG_PTR original = ProcOf(wide);
  for (int order = 0; order < 3; order++) {
    TWindowSubclass a, b, c;
    ASSERT_TRUE(a.Install(wide, Noting(a, "a")));
    ASSERT_TRUE(b.Install(wide, Noting(b, "b")));
    ASSERT_TRUE(c.Install(wide, Noting(c, "c")));
    EXPECT_TRUE(IsWindowSubclassed(wide));
    EXPECT_EQ(Trace(wide), "cba");
    TWindowSubclass* first[3] = {&a, &b, &c};
    TWindowSubclass* second[3] = {&c, &a, &b};
    first[order]->Remove();
    EXPECT_FALSE(first[order]->Installed());
    EXPECT_NE(ProcOf(wide), original);
    second[order]->Remove();
    EXPECT_EQ(Trace(wide).size(), 1u);
    a.Remove();
    b.Remove();
    c.Remove();
    EXPECT_EQ(ProcOf(wide), original) << "order " << order;
    EXPECT_FALSE(IsWindowSubclassed(wide));
    EXPECT_EQ(Trace(wide), "");
  }
}

TEST_F(Subclass, TextsPassInTheWindowsOwnCharacterSet) {
  TWindowSubclass w, n;
  std::wstring seenWide;
  std::string seenNarrow;
  ASSERT_TRUE(w.Install(wide, [&](TMessage& m) {
    if (m.Msg == WM_SETTEXT) seenWide = reinterpret_cast<const wchar_t*>(m.LParam);
    w.CallPrevious(m);
  }));
  ASSERT_TRUE(n.Install(narrow, [&](TMessage& m) {
    if (m.Msg == WM_SETTEXT) seenNarrow = reinterpret_cast<const char*>(m.LParam);
    n.CallPrevious(m);
  }));
  EXPECT_TRUE(w.Unicode());
  EXPECT_FALSE(n.Unicode());
  const wchar_t kChinese[] = L"\x63D0\x793A ok";  // 提示 ok
  SetWindowTextW(wide, kChinese);
  EXPECT_EQ(seenWide, kChinese);
  wchar_t back[32] = {};
  GetWindowTextW(wide, back, 32);
  EXPECT_STREQ(back, kChinese);
  SetWindowTextA(narrow, "plain");
  EXPECT_EQ(seenNarrow, "plain");
  char backA[32] = {};
  GetWindowTextA(narrow, backA, 32);
  EXPECT_STREQ(backA, "plain");
}

TEST_F(Subclass, AProcedurePutOverOursKeepsTheWindowAndOursPassesOn) {
  const LONG_PTR original = ProcOf(narrow);
  TWindowSubclass a;
  ASSERT_TRUE(a.Install(narrow, Noting(a, "a")));
  // Somebody else subclasses the window the old way, on top of us.
  static WNDPROC previous = nullptr;
  static std::string* outerLog = nullptr;
  outerLog = &log;
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      narrow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == kProbe) *outerLog += "x";
        return CallWindowProcA(previous, h, m, wp, lp);
      })));
  EXPECT_EQ(Trace(narrow), "xa");
  a.Remove();
  // Ours may not write the original back: the outer procedure would be lost.
  EXPECT_NE(ProcOf(narrow), original);
  EXPECT_EQ(Trace(narrow), "x");
  SetWindowTextA(narrow, "still an edit");
  char back[32] = {};
  GetWindowTextA(narrow, back, 32);
  EXPECT_STREQ(back, "still an edit");
  // A later subclass joins the chain that stayed behind.
  TWindowSubclass b;
  ASSERT_TRUE(b.Install(narrow, Noting(b, "b")));
  EXPECT_EQ(Trace(narrow), "xb");
  b.Remove();
  SetWindowLongPtrA(narrow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
}

TEST_F(Subclass, ADestroyedWindowEndsItsSubclassesAfterTheirLastMessage) {
  TWindowSubclass a, b;
  bool aSawEnd = false, bSawEnd = false;
  ASSERT_TRUE(a.Install(wide, [&](TMessage& m) {
    if (m.Msg == WM_NCDESTROY) aSawEnd = true;
    a.CallPrevious(m);
  }));
  ASSERT_TRUE(b.Install(wide, [&](TMessage& m) {
    if (m.Msg == WM_NCDESTROY) bSawEnd = true;
    b.CallPrevious(m);
  }));
  DestroyWindow(wide);
  EXPECT_TRUE(aSawEnd);
  EXPECT_TRUE(bSawEnd);
  EXPECT_FALSE(a.Installed());
  EXPECT_FALSE(b.Installed());
  EXPECT_EQ(a.Window(), nullptr);
  a.Remove();  // nothing left to do, and nothing touched
  EXPECT_FALSE(a.Install(wide, Noting(a, "a")));
}

TEST_F(Subclass, AMethodMayTakeItselfOutAndStillPassTheMessageOn) {
  TWindowSubclass a, b;
  ASSERT_TRUE(a.Install(wide, Noting(a, "a")));
  ASSERT_TRUE(b.Install(wide, [&](TMessage& m) {
    if (m.Msg == kProbe) {
      log += "b";
      b.Remove();
    }
    b.CallPrevious(m);
  }));
  EXPECT_EQ(Trace(wide), "ba");
  EXPECT_FALSE(b.Installed());
  EXPECT_EQ(Trace(wide), "a");
}

TEST_F(Subclass, AFailingMethodEndsOnlyItsMessage) {
  TWindowSubclass a;
  ASSERT_TRUE(a.Install(wide, [&](TMessage& m) {
    if (m.Msg == kProbe) throw std::runtime_error("painting failed");
    a.CallPrevious(m);
  }));
  EXPECT_EQ(SendMessageW(wide, kProbe, 0, 0), 0);
  SetWindowTextW(wide, L"alive");
  wchar_t back[16] = {};
  GetWindowTextW(wide, back, 16);
  EXPECT_STREQ(back, L"alive");
}

// An object that waits while one of its handlers runs.
class TBusyObject : public TComponent {
 public:
  explicit TBusyObject(bool* freed) : TComponent(nullptr), freed_(freed) {}
  ~TBusyObject() override { *freed_ = true; }

 protected:
  bool DeferFree() override { return DeferFreeWhileBusy(this); }

 private:
  bool* freed_;
};

TEST(BusyScope, AnObjectFreedInItsOwnHandlerGoesWhenTheHandlerEnds) {
  bool freed = false;
  auto* o = new TBusyObject(&freed);
  {
    TBusyScope outer(o);
    {
      TBusyScope inner(o);
      o->Free();
      EXPECT_FALSE(freed);
      EXPECT_TRUE(IsFreePending(o));
    }
    EXPECT_FALSE(freed);
  }
  EXPECT_TRUE(freed);
  bool freedAtOnce = false;
  (new TBusyObject(&freedAtOnce))->Free();
  EXPECT_TRUE(freedAtOnce);
}

}  // namespace
