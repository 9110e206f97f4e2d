// The media player skinner on a stand-in player (the framework has none):
// a control of the class name the engine looks for, publishing the three
// button sets, painting itself in one colour and recording every press and
// release it gets with the button its own row has there. The skinned panel
// over it: where it lies, its buttons in each state against the colour-
// coded skin, the button glyphs the program carries, clicks by the real
// mouse reaching the player once each, a press released over another
// button, the right button left to the player, moving and hiding with the
// player, a re-created player window or one that went, and the panel gone
// with the player and when skinning is switched off.
#include <gtest/gtest.h>

#include <windows.h>

#include "Application.h"
#include "ControlSkinners.h"
#include "ControlTestSupport.h"
#include "Dialogs.h"
#include "Form.h"
#include "MediaPlayerSkinner.h"
#include "Panel.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinTestSupport.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace skintest;

namespace {

constexpr uint32_t kAllButtons = (1u << kMediaButtonCount) - 1;
constexpr COLORREF kPlayerColour = RGB(200, 30, 30);
// The glyph colours the skin generator draws with.
constexpr COLORREF kGlyphEnabled = RGB(0, 0, 0), kGlyphDisabled = RGB(128, 128, 128), kGlyphPlay = RGB(0, 150, 0);
constexpr COLORREF kOlive = RGB(128, 128, 0);

const TEnumType& ButtonType() {
  static const TEnumType t{"TMPBtnType", {"btPlay", "btPause", "btStop", "btNext", "btPrev", "btStep", "btBack",
                                          "btRecord", "btEject"}};
  return t;
}

struct TPress {
  UINT msg;
  int x, y;
  int button;  // by the player's own row
};

// The stand-in player.
class TTestMediaPlayer : public TCustomControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TTestMediaPlayer>("TMediaPlayer", &TCustomControl::StaticClass())
                                       .Set("VisibleButtons", ButtonType(), &TTestMediaPlayer::VisibleButtons,
                                            &TTestMediaPlayer::SetVisibleButtons, kAllButtons)
                                       .Set("EnabledButtons", ButtonType(), &TTestMediaPlayer::EnabledButtons,
                                            &TTestMediaPlayer::SetEnabledButtons, kAllButtons)
                                       .Set("ColoredButtons", ButtonType(), &TTestMediaPlayer::ColoredButtons,
                                            &TTestMediaPlayer::SetColoredButtons, 0);
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TTestMediaPlayer(TComponent* owner) : TCustomControl(owner) {}

  uint32_t VisibleButtons() const { return visible_; }
  void SetVisibleButtons(uint32_t v) { visible_ = v; Invalidate(); }
  uint32_t EnabledButtons() const { return enabled_; }
  void SetEnabledButtons(uint32_t v) { enabled_ = v; Invalidate(); }
  uint32_t ColoredButtons() const { return colored_; }
  void SetColoredButtons(uint32_t v) { colored_ = v; Invalidate(); }

  std::vector<TPress> presses;
  std::vector<UINT> others;  // right button and context menu
  int Count(UINT msg) const {
    int n = 0;
    for (const TPress& p : presses) n += p.msg == msg;
    return n;
  }
  // The player's own row: Width div the visible count per button.
  int ButtonAt(int x) const {
    int count = 0;
    for (int i = 0; i < kMediaButtonCount; i++) count += (visible_ >> i) & 1;
    if (count == 0) return -1;
    const int w = Width() / count;
    int slot = w > 0 ? x / w : 0;
    for (int i = 0; i < kMediaButtonCount; i++)
      if ((visible_ >> i) & 1 && slot-- == 0) return i;
    return -1;
  }

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_CONTEXTMENU || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_RBUTTONUP) others.push_back(m.Msg);
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONUP || m.Msg == WM_LBUTTONDBLCLK) {
      const int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
      presses.push_back({m.Msg, x, y, ButtonAt(x)});
      // A player takes the mouse on its press, as a button does.
      if (m.Msg != WM_LBUTTONUP) SetCapture(Handle());
    }
    TCustomControl::WndProc(m);
  }
  void Paint() override {
    RECT r = ClientRect();
    HBRUSH b = CreateSolidBrush(kPlayerColour);
    FillRect(Canvas()->Handle(), &r, b);
    DeleteObject(b);
  }

 private:
  uint32_t visible_ = kAllButtons, enabled_ = kAllButtons, colored_ = 0;
};

void ClickAt(POINT screen, bool down, bool up, bool right = false) {
  SetCursorPos(screen.x, screen.y);
  Pump(20);
  INPUT in[2] = {};
  int n = 0;
  if (down) {
    in[n].type = INPUT_MOUSE;
    in[n++].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  }
  if (up) {
    in[n].type = INPUT_MOUSE;
    in[n++].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  }
  SendInput(static_cast<UINT>(n), in, sizeof(INPUT));
  Pump(60);
}

class MediaPlayerSkin : public ctltest::CodedSkinTest {
 protected:
  static constexpr int kButtonW = 30, kHeight = 30;
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CodedSkinTest::SetUp());
    form = new TForm(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(60, 60, 400, 200);
    player = new TTestMediaPlayer(form);
    player->SetParent(form);
    player->SetBounds(20, 40, kButtonW * kMediaButtonCount, kHeight);
    form->Show();
    ASSERT_TRUE(Activate(form->Handle()));
    ASSERT_TRUE(WaitSkinned(form->Handle()));
  }
  TSkinMP* Skinner() const { return SkinnerOf<TSkinMP>(player); }
  TWMediaPlayer* Overlay() const {
    TSkinMP* s = Skinner();
    return s ? s->Overlay : nullptr;
  }
  COLORREF Frame(int n) const { return ImageColour(skin->Buttons->Bitmap, false, skin->Buttons->Frame, n); }
  COLORREF Face() const { return static_cast<COLORREF>(ColorToRGB(skin->Colors[sc::ButtonFace])); }
  // The panel as it paints itself.
  TCapture Panel() { return PaintInto(Overlay()->Handle(), WM_PAINT, 0); }
  // A point of button slot k where the skin's button frame shows (its
  // left edge, half-way down) and the middle of its glyph.
  static int EdgeX(int slot, int width = kButtonW) { return slot * width + 2; }
  static POINT GlyphCentre(int slot, int width = kButtonW) { return POINT{slot * width + width / 2, kHeight / 2}; }
  POINT Screen(int x, int y) const { return player->ClientToScreen(POINT{x, y}); }

  TTestMediaPlayer* player = nullptr;
};

TEST(MediaPlayerGeometry, ButtonsCountOnlyTheVisibleOnesWithBothEndsInclusive) {
  bool visible[kMediaButtonCount] = {};
  visible[btPlay] = visible[btStop] = visible[btEject] = true;
  const int w = 100 / 3;
  EXPECT_EQ(w, 33);
  EXPECT_EQ(MediaButtonAt(visible, w, 0), btPlay);
  EXPECT_EQ(MediaButtonAt(visible, w, 33), btPlay) << "the first button's end is inclusive";
  EXPECT_EQ(MediaButtonAt(visible, w, 34), btStop);
  EXPECT_EQ(MediaButtonAt(visible, w, 99), btEject);
  EXPECT_EQ(MediaButtonAt(visible, w, 100), kNoMediaButton);
  EXPECT_EQ(MediaButtonAt(visible, w, -1), kNoMediaButton);
  bool none[kMediaButtonCount] = {};
  EXPECT_EQ(MediaButtonAt(none, 0, 0), kNoMediaButton);
}

TEST(MediaPlayerGeometry, ASetIsReadByWholeMemberNamesInAnyLetterCase) {
  bool flags[kMediaButtonCount];
  ReadButtonSet("[btPlay,btStop, BTEJECT]", MediaButtonTypeNames(), flags);
  EXPECT_TRUE(flags[btPlay]);
  EXPECT_TRUE(flags[btStop]);
  EXPECT_TRUE(flags[btEject]);
  EXPECT_FALSE(flags[btPause]);
  EXPECT_FALSE(flags[btStep]);
  ReadButtonSet("[btPlayer,bt]", MediaButtonTypeNames(), flags);
  EXPECT_FALSE(flags[btPlay]) << "a name is not found inside a longer one";
  ReadButtonSet("[]", MediaButtonTypeNames(), flags);
  for (bool f : flags) EXPECT_FALSE(f);
}

TEST_F(MediaPlayerSkin, ThePanelLiesExactlyOverThePlayerAndIsNotSkinnedItself) {
  TSkinMP* s = Skinner();
  ASSERT_NE(s, nullptr) << "discovery made the media player skinner";
  TWMediaPlayer* o = Overlay();
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->Parent(), player->Parent());
  EXPECT_EQ(o->Owner(), SkinManager()->FindSkinnedForm(form->Handle())) << "owned by the form skinner";
  RECT p, v;
  GetWindowRect(player->Handle(), &p);
  GetWindowRect(o->Handle(), &v);
  EXPECT_TRUE(EqualRect(&p, &v));
  EXPECT_EQ(GetWindow(player->Handle(), GW_HWNDPREV), o->Handle()) << "directly above the player";
  EXPECT_EQ(o->Tag(), skin->DisableTag);
  EXPECT_TRUE(o->Components().empty()) << "no skinner of its own";
  EXPECT_EQ(SkinManager()->FindSkinnedForm(form->Handle())->FindSkinnerByHandle(o->Handle()), nullptr);
  // The mouse at the player's place is over the panel.
  EXPECT_EQ(WindowFromPoint(Screen(kButtonW / 2, kHeight / 2)), o->Handle());
}

TEST_F(MediaPlayerSkin, EachButtonShowsItsStateFrameAndItsGlyph) {
  player->SetEnabledButtons(kAllButtons & ~(1u << btStop));
  player->SetColoredButtons(1u << btPlay);
  TCapture c = Panel();
  // Normal frame for enabled buttons, the disabled frame for stop.
  for (int slot = 0; slot < kMediaButtonCount; slot++) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(c.At(EdgeX(slot), kHeight / 2), Frame(slot == btStop ? 3 : 1));
  }
  // Glyphs: coloured play, disabled stop, the others enabled; the olive
  // around them is left out.
  EXPECT_EQ(c.At(GlyphCentre(btPlay).x, GlyphCentre(btPlay).y), kGlyphPlay);
  EXPECT_EQ(c.At(GlyphCentre(btStop).x, GlyphCentre(btStop).y), kGlyphDisabled);
  EXPECT_EQ(c.At(GlyphCentre(btPause).x - 4, GlyphCentre(btPause).y), kGlyphEnabled);
  EXPECT_EQ(c.At(GlyphCentre(btRecord).x, GlyphCentre(btRecord).y), kGlyphEnabled);
  for (int y = 0; y < c.height; y++)
    for (int x = 0; x < c.width; x++) ASSERT_NE(c.At(x, y), kOlive) << x << "," << y;
  // The skin's rounded corners show the panel's face colour.
  EXPECT_EQ(c.At(0, 0), Face());
  // And the screen shows the panel, not the player beneath.
  TCapture screen = Screenshot(form->Handle());
  const int dx = player->Left(), dy = player->Top();
  EXPECT_EQ(screen.At(dx + EdgeX(btPause), dy + kHeight / 2), Frame(1));
  EXPECT_NE(screen.At(dx + EdgeX(btPause), dy + kHeight / 2), kPlayerColour);
}

TEST_F(MediaPlayerSkin, AHeldButtonShowsThePressedFrameWithItsGlyphMovedByOnePixel) {
  HWND panel = Overlay()->Handle();
  const POINT g = GlyphCentre(btRecord);
  TCapture up = Panel();
  SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(g.x, g.y));
  TCapture down = Panel();
  EXPECT_EQ(down.At(EdgeX(btRecord) + 1, kHeight / 2), Frame(2));
  EXPECT_EQ(down.At(EdgeX(btPlay), kHeight / 2), Frame(1)) << "only the pressed button";
  // The record disc's lower-right rim moves one pixel right and down.
  int upRim = 0, downRim = 0;
  for (int x = g.x; x < g.x + 10; x++) {
    if (up.At(x, g.y) == kGlyphEnabled) upRim = x;
    if (down.At(x, g.y + 1) == kGlyphEnabled) downRim = x;
  }
  EXPECT_EQ(downRim, upRim + 1);
  SendMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(g.x, g.y));
  EXPECT_EQ(Panel().At(EdgeX(btRecord) + 1, kHeight / 2), Frame(1));
}

TEST_F(MediaPlayerSkin, WithoutVisibleButtonsThePanelIsPlainFace) {
  player->SetVisibleButtons(0);
  TCapture c = Panel();
  for (POINT p : {POINT{0, 0}, POINT{c.width / 2, c.height / 2}, POINT{c.width - 1, c.height - 1}})
    EXPECT_EQ(c.At(p.x, p.y), Face());
  // Nothing to press: a click reaches the player as it would unskinned.
  player->presses.clear();
  SendMessageW(Overlay()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(Overlay()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(player->Count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(player->Count(WM_LBUTTONUP), 1);
}

TEST_F(MediaPlayerSkin, ThreeButtonsOnAHundredPixelsSplitItInThirdsWithInclusiveBounds) {
  player->SetVisibleButtons((1u << btPlay) | (1u << btStop) | (1u << btEject));
  player->SetWidth(100);
  Pump(30);
  TWMediaPlayer* o = Overlay();
  EXPECT_EQ(o->Width(), 100);
  TCapture c = Panel();
  EXPECT_EQ(o->VisibleCount, 3);
  EXPECT_EQ(o->ButtonWidth, 33);
  EXPECT_EQ(o->HitTest(33), btPlay);
  EXPECT_EQ(o->HitTest(99), btEject);
  EXPECT_EQ(c.At(33 + 2, kHeight / 2), Frame(1));
  // The last pixel column is outside the three buttons: face colour.
  EXPECT_EQ(c.At(99, kHeight / 2), Face());
}

TEST_F(MediaPlayerSkin, RealClicksReachThePlayerOnceEachAtItsOwnButtons) {
  int clicks = 0;
  player->OnClick = [&](TObject*) { clicks++; };
  for (int slot : {btPlay, btStop, btEject}) {
    SCOPED_TRACE(slot);
    player->presses.clear();
    clicks = 0;
    ClickAt(Screen(GlyphCentre(slot).x, GlyphCentre(slot).y), true, true);
    // The panel took the mouse over for the player: its press is still
    // its own, and the release the panel passed on is one click.
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(player->presses.size(), 2u);
    EXPECT_EQ(player->presses[0].msg, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(player->presses[1].msg, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(player->presses[0].button, slot);
    EXPECT_EQ(player->presses[1].button, slot);
    EXPECT_FALSE(Overlay()->MouseIsDown);
    EXPECT_EQ(Panel().At(EdgeX(slot) + 1, kHeight / 2), Frame(1)) << "drawn up again";
  }
}

TEST_F(MediaPlayerSkin, ARightClickIsThePlayersWithItsContextMenu) {
  int formMenus = 0;
  TWindowProcHook formHook;
  formHook.Install(form, [&](TMessage& m) {
    if (m.Msg == WM_CONTEXTMENU) formMenus++;
    formHook.CallPrevious(m);
  });
  ClickAt(Screen(GlyphCentre(btStop).x, 10), true, true, true);
  EXPECT_EQ(player->others, (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}));
  EXPECT_TRUE(player->presses.empty());
  EXPECT_FALSE(Overlay()->MouseIsDown);
  EXPECT_EQ(formMenus, 1) << "only the player's own menu request, passed up by it";
  formHook.Remove();
}

TEST_F(MediaPlayerSkin, APressReleasedOverAnotherButtonIsNoReleaseOnThePlayer) {
  ClickAt(Screen(GlyphCentre(btPause).x, 10), true, false);
  EXPECT_TRUE(Overlay()->MouseIsDown);
  EXPECT_EQ(Overlay()->PressedIndex, btPause);
  ClickAt(Screen(GlyphCentre(btNext).x, 10), false, true);
  ASSERT_EQ(player->Count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(player->presses[0].button, btPause);
  EXPECT_EQ(player->Count(WM_LBUTTONUP), 0);
  EXPECT_FALSE(Overlay()->MouseIsDown);
  EXPECT_EQ(Overlay()->PressedIndex, btNext);
  // Released outside the panel: the panel still hears of it and draws the
  // button up again; the player gets no release there either.
  player->presses.clear();
  ClickAt(Screen(GlyphCentre(btPlay).x, 10), true, false);
  ClickAt(Screen(-20, 10), false, true);
  EXPECT_FALSE(Overlay()->MouseIsDown);
  EXPECT_EQ(player->Count(WM_LBUTTONUP), 0);
  EXPECT_EQ(Panel().At(EdgeX(btPlay) + 1, kHeight / 2), Frame(1));
}

// The player's press is lost while its button is held: the player's own
// OnMouseDown opens a box, a box opens meanwhile (a timer's, say), or
// another window takes the pointer. The panel draws the button up at once,
// with the mouse button still held, and the release clicks nothing.
TEST_F(MediaPlayerSkin, APressThePlayerLostIsDrawnUpAndItsReleaseClicksNothing) {
  enum TLoss { kBoxFromMouseDown, kBoxWhileHeld, kCaptureTaken };
  int clicks = 0;
  TLoss loss = kBoxFromMouseDown;
  const auto showBox = [&] {
    ctltest::TEnterAnswer::Start(form->Handle());
    ShowMessageBox(form->Handle(), "Box", "Box", MB_OK);
  };
  player->OnClick = [&](TObject*) { clicks++; };
  player->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    if (loss == kBoxFromMouseDown) showBox();
  };
  HWND other = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10,
                               nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  const POINT p = Screen(GlyphCentre(btStop).x, 10);
  for (const TLoss l : {kBoxFromMouseDown, kBoxWhileHeld, kCaptureTaken}) {
    SCOPED_TRACE(l == kBoxFromMouseDown ? "box from OnMouseDown" : l == kBoxWhileHeld ? "box while held" : "capture");
    loss = l;
    clicks = 0;
    ClickAt(p, true, false);
    if (l == kBoxWhileHeld) showBox();
    if (l == kCaptureTaken) SetCapture(other);
    if (l != kCaptureTaken) {
      EXPECT_TRUE(ctltest::TEnterAnswer::answered);
    }
    Pump(50);
    EXPECT_FALSE(Overlay()->MouseIsDown);
    EXPECT_EQ(Panel().At(EdgeX(btStop) + 1, kHeight / 2), Frame(1)) << "drawn pressed after the press was lost";
    ClickAt(p, false, true);
    if (GetCapture() == other) ReleaseCapture();
    EXPECT_EQ(clicks, 0);
    Sleep(GetDoubleClickTime() + 50);
  }
  DestroyWindow(other);
  loss = kCaptureTaken;
  ClickAt(p, true, true);
  EXPECT_EQ(clicks, 1) << "the player's own click";
}

TEST_F(MediaPlayerSkin, AQuickSecondClickReachesThePlayerAsItsDoubleClick) {
  player->presses.clear();
  const POINT p = Screen(GlyphCentre(btPlay).x, 10);
  ClickAt(p, true, true);
  ClickAt(p, true, true);
  EXPECT_EQ(player->Count(WM_LBUTTONDOWN) + player->Count(WM_LBUTTONDBLCLK), 2);
  EXPECT_EQ(player->Count(WM_LBUTTONUP), 2);
}

TEST_F(MediaPlayerSkin, ThePanelMovesAndHidesWithThePlayer) {
  TWMediaPlayer* o = Overlay();
  player->SetBounds(50, 90, 180, 24);
  EXPECT_EQ(o->Left(), 50);
  EXPECT_EQ(o->Top(), 90);
  EXPECT_EQ(o->Width(), 180);
  EXPECT_EQ(o->Height(), 24);
  player->Hide();
  EXPECT_FALSE(o->Visible());
  EXPECT_FALSE(IsWindowVisible(o->Handle()));
  player->Show();
  EXPECT_TRUE(o->Visible());
  EXPECT_TRUE(IsWindowVisible(o->Handle()));
  // Brought to the front, the player has its panel above it again.
  player->BringToFront();
  EXPECT_EQ(GetWindow(player->Handle(), GW_HWNDPREV), o->Handle());
}

TEST_F(MediaPlayerSkin, ARecreatedPlayerWindowHasThePanelAboveItAgain) {
  TWMediaPlayer* o = Overlay();
  // A sibling below the player: the new window goes to the bottom, under it.
  auto* below = new TPanel(form);
  below->SetParent(form);
  below->SetBounds(300, 150, 40, 20);
  ASSERT_NE(below->Handle(), nullptr);
  ASSERT_EQ(GetWindow(player->Handle(), GW_HWNDNEXT), below->Handle());
  HWND old = player->Handle();
  player->RecreateWnd();
  ASSERT_NE(player->Handle(), old);
  Pump(50);
  EXPECT_EQ(Overlay(), o) << "the same panel";
  EXPECT_TRUE(o->Visible());
  EXPECT_EQ(GetWindow(player->Handle(), GW_HWNDPREV), o->Handle());
  player->presses.clear();
  ClickAt(Screen(GlyphCentre(btStep).x, 10), true, true);
  EXPECT_EQ(player->Count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(player->Count(WM_LBUTTONUP), 1);
}

TEST_F(MediaPlayerSkin, APlayerWhoseWindowGoesIsNotCoveredWhereItWas) {
  // Moved into another parent, the player gets a new window there (not a
  // re-created one: nothing skins it again). The panel must not stay
  // behind over the old place, and the player works as it is.
  TWMediaPlayer* o = Overlay();
  auto* box = new TPanel(form);
  box->SetParent(form);
  box->SetBounds(0, 100, 380, 60);
  ASSERT_NE(box->Handle(), nullptr);
  const POINT oldPlace = Screen(kButtonW / 2, kHeight / 2);
  player->SetParent(box);
  player->SetBounds(10, 10, kButtonW * kMediaButtonCount, kHeight);
  Pump(50);
  ASSERT_EQ(Overlay(), o);
  EXPECT_FALSE(o->Visible());
  EXPECT_NE(WindowFromPoint(oldPlace), o->HandleIfAllocated());
  player->presses.clear();
  ClickAt(Screen(GlyphCentre(btStop).x, 10), true, true);
  EXPECT_EQ(player->Count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(player->Count(WM_LBUTTONUP), 1);
}

TEST_F(MediaPlayerSkin, SwitchedOffTheSkinnerTakesItsPanelOutOfTheWayAndBack) {
  TWMediaPlayer* o = Overlay();
  SendMessageW(player->Handle(), SKM_SKINSTATE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(o->Handle())) << "the player shows itself";
  SendMessageW(player->Handle(), SKM_SKINSTATE, 1, 0);
  EXPECT_TRUE(IsWindowVisible(o->Handle()));
}

TEST_F(MediaPlayerSkin, ThePanelGoesWithThePlayer) {
  HWND panel = Overlay()->Handle();
  TWinSkinForm* f = SkinManager()->FindSkinnedForm(form->Handle());
  const size_t owned = f->Components().size();
  player->Free();
  player = nullptr;
  EXPECT_FALSE(IsWindow(panel));
  EXPECT_EQ(f->Components().size(), owned - 1);
}

TEST_F(MediaPlayerSkin, SkinningSwitchedOffTakesThePanelAwayAndTheScreenShowsThePlayer) {
  HWND panel = Overlay()->Handle();
  skin->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinnedForm(form->Handle()) == nullptr; }));
  EXPECT_FALSE(IsWindow(panel));
  EXPECT_EQ(Skinner(), nullptr) << "the skinner was released";
  EXPECT_EQ(SendMessageW(player->Handle(), SKM_ISSKINNED, 0, 0), 0);
  form->Repaint();
  TCapture screen = Screenshot(form->Handle());
  EXPECT_EQ(screen.At(player->Left() + EdgeX(btPause), player->Top() + kHeight / 2), kPlayerColour);
  // Clicks go to the player directly.
  player->presses.clear();
  ClickAt(Screen(GlyphCentre(btPause).x, 10), true, true);
  EXPECT_EQ(player->Count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(player->Count(WM_LBUTTONUP), 1);
}

TEST_F(MediaPlayerSkin, TheProgramCarriesEveryButtonPicture) {
  TWMediaPlayer* o = Overlay();
  for (int i = 0; i < kMediaButtonCount; i++) {
    SCOPED_TRACE(i);
    EXPECT_FALSE(o->ButtonInfo[i].EnabledPicture.Empty());
    EXPECT_FALSE(o->ButtonInfo[i].DisabledPicture.Empty());
    EXPECT_FALSE(o->ButtonInfo[i].ColoredPicture.Empty());
  }
}

}  // namespace
