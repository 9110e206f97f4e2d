// The control skinner base, through a skinner kind of the tests: where it
// stands in a control's chain (before and after the control's own
// procedure, on framework controls and on plain windows), switching it off
// and on, painting into a given device context, the query that marks a
// skinned window, the window's destruction and re-creation, and the
// skinner going with its control or being freed while its own procedure
// runs. (Built into a program whose freed memory is never reused.)
#include <gtest/gtest.h>

#include <windows.h>

#include "Application.h"
#include "Edit.h"
#include "Form.h"
#include "SkinMessages.h"
#include "SkinTestSupport.h"

using namespace fw;
using namespace skintest;

namespace {

constexpr UINT kProbe = WM_USER + 77;

// An edit that notes the probe reaching its own procedure.
class TProbeEdit : public TEdit {
 public:
  explicit TProbeEdit(TComponent* owner) : TEdit(owner) {}
  int probes = 0;
  std::function<void()> onProbe;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == kProbe) {
      probes++;
      if (onProbe) onProbe();
    }
    TEdit::WndProc(m);
  }
};

class SkinnerBase : public ::testing::Test {
 protected:
  void SetUp() override {
    skin = StartCodedSkin();
    ASSERT_NE(skin, nullptr);
    form = new TForm(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(50, 50, 200, 100);
    edit = new TProbeEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 120, 24);
    ASSERT_NE(edit->Handle(), nullptr);
  }
  void TearDown() override {
    form->Free();
    StopSkin(skin);
  }
  TRecordingSkinner* SkinEdit() {
    auto* s = new TRecordingSkinner(edit, "test");
    s->InitSkin(nullptr, skin, nullptr, false);
    return s;
  }
  int Seen(const std::vector<UINT>& list, UINT msg) {
    int n = 0;
    for (UINT m : list) n += m == msg;
    return n;
  }
  TSkinData* skin = nullptr;
  TForm* form = nullptr;
  TProbeEdit* edit = nullptr;
};

TEST_F(SkinnerBase, SeesAMessageBeforeAndAfterTheControlsOwnProcedure) {
  TRecordingSkinner* s = SkinEdit();
  std::vector<UINT>* afterAtProbe = nullptr;
  size_t afterCountAtProbe = 99;
  edit->onProbe = [&] { afterCountAtProbe = static_cast<size_t>(Seen(s->after, kProbe)); };
  (void)afterAtProbe;
  SendMessageW(edit->Handle(), kProbe, 0, 0);
  EXPECT_EQ(Seen(s->before, kProbe), 1);
  EXPECT_EQ(edit->probes, 1);
  EXPECT_EQ(afterCountAtProbe, 0u) << "AfterProc ran before the control's procedure";
  EXPECT_EQ(Seen(s->after, kProbe), 1);
  EXPECT_TRUE(s->Skinned);
  EXPECT_EQ(s->State, 1);
  // A second InitSkin changes nothing: the skinner stands in front once.
  s->InitSkin(nullptr, skin, nullptr, false);
  SendMessageW(edit->Handle(), kProbe, 0, 0);
  EXPECT_EQ(Seen(s->before, kProbe), 2);
  EXPECT_EQ(edit->probes, 2);
}

TEST_F(SkinnerBase, AnswersTheSkinnedQueryWithoutTheControl) {
  SkinEdit();
  int queries = 0;
  TWindowProcHook below;
  // A procedure installed before the skinner would see what is passed on.
  below.Install(edit, [&](TMessage& m) {
    if (m.Msg == SKM_ISSKINNED) queries++;
    below.CallPrevious(m);
  });
  TRecordingSkinner* s = SkinEdit();
  (void)s;
  EXPECT_EQ(SendMessageW(edit->Handle(), SKM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(queries, 0);
}

TEST_F(SkinnerBase, SwitchedOffItPassesEverythingOnAndPaintsNothing) {
  TRecordingSkinner* s = SkinEdit();
  SendMessageW(edit->Handle(), SKM_SKINSTATE, 0, 0);
  EXPECT_FALSE(s->Active);
  SendMessageW(edit->Handle(), kProbe, 0, 0);
  EXPECT_EQ(Seen(s->before, kProbe), 0);
  EXPECT_EQ(edit->probes, 1);
  EXPECT_EQ(Seen(s->before, SKM_SKINSTATE), 0) << "the switch is the skinner's own, not a message to see";
  TCapture off = PaintInto(edit->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_NE(off.At(5, 5), TRecordingSkinner::kPaint);
  SendMessageW(edit->Handle(), SKM_SKINSTATE, 1, 0);
  EXPECT_TRUE(s->Active);
  SendMessageW(edit->Handle(), kProbe, 0, 0);
  EXPECT_EQ(Seen(s->before, kProbe), 1);
  TCapture on = PaintInto(edit->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(on.At(5, 5), TRecordingSkinner::kPaint);
}

TEST_F(SkinnerBase, PaintsIntoTheDeviceContextItIsGiven) {
  SkinEdit();
  RECT r;
  GetWindowRect(edit->Handle(), &r);
  TCapture c = PaintInto(edit->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(0, 0), TRecordingSkinner::kPaint);
  EXPECT_EQ(c.At(c.width - 1, c.height - 1), TRecordingSkinner::kPaint);
  EXPECT_EQ(c.width, r.right - r.left);
  // Without the marker the message is not the engine's.
  TCapture other = PaintInto(edit->Handle(), SKM_PAINTCLIENTTO, 0);
  EXPECT_NE(other.At(0, 0), TRecordingSkinner::kPaint);
  // WM_PAINT with a device context: the control paints, the skinner over it.
  TCapture paint = PaintInto(edit->Handle(), WM_PAINT, 0);
  EXPECT_EQ(paint.At(3, 3), TRecordingSkinner::kPaint);
}

TEST_F(SkinnerBase, GoesWithItsControlAndGivesTheProcedureBack) {
  std::vector<std::string> freed;
  TRecordingSkinner::freedLog = &freed;
  SkinEdit();
  edit->Free();
  edit = nullptr;
  EXPECT_EQ(freed.size(), 1u);
  TRecordingSkinner::freedLog = nullptr;

  // Freed on its own, the skinner leaves the control as it was.
  auto* other = new TProbeEdit(form);
  other->SetParent(form);
  auto* s = new TRecordingSkinner(other, "test");
  s->InitSkin(nullptr, skin, nullptr, false);
  s->Free();
  SendMessageW(other->Handle(), kProbe, 0, 0);
  EXPECT_EQ(other->probes, 1);
  EXPECT_EQ(SendMessageW(other->Handle(), SKM_ISSKINNED, 0, 0), 0);
}

TEST_F(SkinnerBase, FreedWhileItsOwnProcedureRunsItGoesWhenThatReturns) {
  std::vector<std::string> freed;
  TRecordingSkinner::freedLog = &freed;
  TRecordingSkinner* s = SkinEdit();
  // The control's handler frees the skinner (as a modal loop switching the
  // skin off would): the skinner's own procedure is still on the stack.
  edit->onProbe = [&] {
    s->Free();
    EXPECT_TRUE(freed.empty());
  };
  SendMessageW(edit->Handle(), kProbe, 0, 0);
  EXPECT_EQ(freed.size(), 1u);
  edit->onProbe = nullptr;
  SendMessageW(edit->Handle(), kProbe, 0, 0);
  EXPECT_EQ(edit->probes, 2);
  TRecordingSkinner::freedLog = nullptr;
}

TEST_F(SkinnerBase, ADestroyedWindowLeavesItsColourAndARecreatedOneIsSkinnedAgain) {
  auto* s = new TRecordingSkinner(edit, "test");
  edit->SetColor(clRed);
  s->InitSkin(nullptr, skin, nullptr, true);
  EXPECT_NE(edit->Color(), clRed) << "the control takes the skin's face colour";
  edit->RecreateWnd();
  EXPECT_EQ(s->State, 1);
  EXPECT_TRUE(s->Active);
  EXPECT_EQ(s->Handle, edit->Handle());
  EXPECT_EQ(SendMessageW(edit->Handle(), SKM_ISSKINNED, 0, 0), 1);
  s->Unskin();
  EXPECT_EQ(edit->Color(), clRed) << "unskinning gives the colour back";
}

TEST_F(SkinnerBase, OnAPlainWindowItSubclassesByHandle) {
  HWND w = CreateWindowExA(0, "EDIT", "raw", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  const LONG_PTR original = GetWindowLongPtrA(w, GWLP_WNDPROC);
  auto* s = new TRecordingSkinner(nullptr, "raw");
  s->InitSkinHandle(w, skin, nullptr, nullptr);
  EXPECT_FALSE(s->IsUnicode);
  EXPECT_EQ(s->Caption, L"raw");
  EXPECT_EQ(SendMessageW(w, SKM_ISSKINNED, 0, 0), 1);
  SetWindowTextA(w, "changed");
  char back[16] = {};
  GetWindowTextA(w, back, 16);
  EXPECT_STREQ(back, "changed");
  EXPECT_GE(Seen(s->after, WM_SETTEXT), 1);
  // A second set-up on the same window changes nothing.
  s->InitSkinHandle(w, skin, nullptr, nullptr);
  s->before.clear();
  SendMessageW(w, kProbe, 0, 0);
  EXPECT_EQ(Seen(s->before, kProbe), 1);
  s->Free();
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), original);
  DestroyWindow(w);
}

TEST_F(SkinnerBase, ReadsAndWritesForeignPropertiesByName) {
  EXPECT_EQ(GetOrdPropByName(edit, "MaxLength"), 0);
  EXPECT_EQ(GetOrdPropByName(edit, "NoSuchProperty"), -1);
  EXPECT_EQ(GetOrdPropByName(nullptr, "MaxLength"), -1);
  std::string text;
  GetEnumPropByName(edit, "ReadOnly", text);
  EXPECT_EQ(text, "False");
  SetPropByName(edit, "ReadOnly", "True");
  GetEnumPropByName(edit, "ReadOnly", text);
  EXPECT_EQ(text, "True");
  SetPropByName(edit, "MaxLength", "not a number");  // left alone, no exception
  EXPECT_EQ(GetOrdPropByName(edit, "MaxLength"), 0);
  SetPropByName(edit, "Text", "\xCC\xE1\xCA\xBE");  // 提示
  std::wstring wide;
  GetWideStrPropByName(edit, "Text", wide);
  EXPECT_EQ(wide, L"\x63D0\x793A");
  SetPropByName(edit, "NoSuchProperty", "1");
}

}  // namespace
