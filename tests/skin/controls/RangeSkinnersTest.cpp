// The track bar, up-down, progress bar and edit skinners on a skinned
// framework form (stand-ins over the common track bar and progress bar for
// the kinds the framework lacks) and on plain windows: every state in the
// skin's frame, the fallbacks without skin objects, input through the
// system's queue working as unskinned (the track bar's keys, the up-down
// and spin buttons stepping, the masked edit's filter), the edit's border,
// and every skinner released with its control and when skinning stops.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "Application.h"
#include "ArchiveBuilder.h"
#include "CaptureProbes.h"
#include "CommonControlStandIns.h"
#include "ControlSkinners.h"
#include "Edit.h"
#include "Form.h"
#include "Graphics.h"
#include "MaskEdit.h"
#include "RangeSkinners.h"
#include "RealInput.h"
#include "SkinDraw.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "SkinTestSupport.h"
#include "SkinnedFormFixture.h"
#include "SpinEdit.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace skintest;

namespace {

COLORREF Colour(TDataSkinObject* o, int count, int frame) { return ImageColour(o->Bitmap, false, count, frame); }

class RangeSkinners : public SkinnedFormTest {
 protected:
  void SetUp() override {
    SkinnedFormTest::SetUp();
    if (HasFatalFailure()) return;
    form = new TForm(nullptr);
    form->SetBounds(100, 100, 460, 340);
  }
  void AfterFormFreed() override {
    if (raw.hwnd) DestroyWindow(raw.hwnd);
  }
  void Show() {
    form->Show();
    ASSERT_TRUE(Activate(form->Handle()));
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    formSkinner = SkinManager()->FindSkinnedForm(form->Handle());
    ASSERT_NE(formSkinner, nullptr);
  }
  void StopSkinning() {
    skin->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FindSkinnedForm(form->Handle()) == nullptr; }));
  }
  int SkinnersOf(HWND window) const {
    int n = 0;
    for (TSkinControl* s : formSkinner->FSkinners) n += s->Handle == window;
    return n;
  }
  TCommonStandIn* Track(DWORD style, int x, int y, int w, int h) {
    auto* t = new TCommonStandIn(form, StandInKind("TTrackBar"), TRACKBAR_CLASSW, style | WS_TABSTOP);
    t->SetParent(form);
    t->SetBounds(x, y, w, h);
    SendMessageW(t->Handle(), TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    return t;
  }
  TCommonStandIn* Progress(DWORD style, int x, int y, int w, int h) {
    auto* p = new TCommonStandIn(form, StandInKind("TProgressBar"), PROGRESS_CLASSW, style);
    p->SetParent(form);
    p->SetBounds(x, y, w, h);
    SendMessageW(p->Handle(), PBM_SETRANGE32, 0, 100);
    return p;
  }
  COLORREF Face() { return ColorToRGB(skin->Colors[sc::ButtonFace]); }
  COLORREF Shadow() { return ColorToRGB(skin->Colors[sc::ButtonShadow]); }
  TWinSkinForm* formSkinner = nullptr;
  TTestWindow raw;
};

RECT Channel(HWND track) {
  RECT r = {};
  SendMessageW(track, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
  return TrackChannelRect(r, (GetWindowLongW(track, GWL_STYLE) & TBS_VERT) != 0);
}

RECT Thumb(HWND track) {
  RECT r = {};
  SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  return r;
}

// ---- track bar --------------------------------------------------------------------

TEST_F(RangeSkinners, ATrackBarsChannelAndThumbComeFromTheSkinLyingAndStanding) {
  TCommonStandIn* lying = Track(0, 10, 10, 200, 40);
  TCommonStandIn* standing = Track(TBS_VERT, 250, 10, 40, 200);
  Show();
  ASSERT_NE(SkinnerOf<TSkinTrackBar>(lying), nullptr);
  ASSERT_NE(SkinnerOf<TSkinTrackBar>(standing), nullptr);
  struct Case {
    TCommonStandIn* bar;
    TDataSkinObject* track;
    TDataSkinObject* thumb;
    bool vertical;
  } cases[] = {{lying, skin->Track.get(), skin->TrackThumbHorz.get(), false},
               {standing, skin->TrackVert.get(), skin->TrackThumbVert.get(), true}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.vertical ? "standing" : "lying");
    HWND h = k.bar->Handle();
    const TCapture c = PaintInto(h, WM_PAINT, 0);
    const RECT ch = Channel(h);
    const RECT th = Thumb(h);
    // Past the thumb (at the start), in the middle across the channel.
    const int x = k.vertical ? (ch.left + ch.right) / 2 : ch.left + (ch.right - ch.left) * 3 / 4;
    const int y = k.vertical ? ch.top + (ch.bottom - ch.top) * 3 / 4 : (ch.top + ch.bottom) / 2;
    EXPECT_EQ(c.At(x, y), Colour(k.track, 1, 1)) << "the channel";
    EXPECT_EQ(c.At((th.left + th.right) / 2, (th.top + th.bottom) / 2), Colour(k.thumb, 5, 2))
        << "the thumb: its second image";
  }
}

TEST_F(RangeSkinners, ATrackBarWithoutSkinImagesDrawsItsOwnChannelAndAnOutlinedThumb) {
  TCommonStandIn* bar = Track(0, 10, 10, 200, 40);
  Show();
  HWND h = bar->Handle();
  const COLORREF track = Colour(skin->Track.get(), 1, 1);
  skin->Track.reset();
  skin->TrackThumbHorz.reset();
  const TCapture c = PaintInto(h, WM_PAINT, 0);
  const RECT ch = Channel(h), th = Thumb(h);
  EXPECT_NE(c.At(ch.left + (ch.right - ch.left) * 3 / 4, (ch.top + ch.bottom) / 2), track);
  EXPECT_EQ(c.At(th.left, (th.top + th.bottom) / 2), Shadow()) << "the thumb outlined in the shadow colour";
  EXPECT_EQ(c.At(th.right - 1, (th.top + th.bottom) / 2), Shadow());
}

TEST_F(RangeSkinners, ASkinWithoutTrackImagesGetsTheBuiltInOnes) {
  // A skin whose description names no channel images at all.
  TSkinDataContent bare;
  const std::string ini = "[TitlebarSkin]\r\nSkinName=Bare\r\n";
  const std::vector<uint8_t> archive = PackedArchive(20000, 0, {{"bare.ini", Bytes(ini)}});
  bare.SkinArchive.Write(archive.data(), archive.size());
  bare.SkinArchive.Seek(0);
  ASSERT_TRUE(bare.LoadSkin());
  ASSERT_NE(bare.Track, nullptr);
  ASSERT_NE(bare.TrackVert, nullptr);
  TCommonStandIn* lying = Track(0, 10, 10, 200, 40);
  TCommonStandIn* standing = Track(TBS_VERT, 250, 10, 40, 200);
  Show();
  skin->Track.swap(bare.Track);
  skin->TrackVert.swap(bare.TrackVert);
  // Across the groove: shadow, dark shadow, face, highlight.
  const COLORREF groove[4] = {RGB(128, 128, 128), RGB(64, 64, 64), RGB(212, 208, 200), RGB(255, 255, 255)};
  const RECT ch = Channel(lying->Handle());
  ASSERT_GE(ch.bottom - ch.top, 4);
  const int top = ch.top + ((ch.bottom - ch.top) - 4) / 2;
  TCapture c = PaintInto(lying->Handle(), WM_PAINT, 0);
  for (int j = 0; j < 4; j++) EXPECT_EQ(c.At(ch.left + (ch.right - ch.left) * 3 / 4, top + j), groove[j]) << j;
  const RECT cv = Channel(standing->Handle());
  const int left = cv.left + ((cv.right - cv.left) - 4) / 2;
  c = PaintInto(standing->Handle(), WM_PAINT, 0);
  for (int j = 0; j < 4; j++) EXPECT_EQ(c.At(left + j, cv.top + (cv.bottom - cv.top) * 3 / 4), groove[j]) << j;
}

TEST_F(RangeSkinners, ATrackBarStillMovesByKeyAndMouseAndIgnoresTheSkinnedNotice) {
  TCommonStandIn* bar = Track(0, 10, 10, 200, 40);
  Show();
  HWND h = bar->Handle();
  bar->SetFocus();
  ASSERT_EQ(GetFocus(), h);
  PressKey(VK_RIGHT);
  EXPECT_EQ(SendMessageW(h, TBM_GETPOS, 0, 0), 1);
  PressKey(VK_END);
  EXPECT_EQ(SendMessageW(h, TBM_GETPOS, 0, 0), 10);
  // A press on the channel before the thumb pages back.
  const RECT ch = Channel(h);
  ClickAt(h, ch.left + 10, (ch.top + ch.bottom) / 2);
  EXPECT_LT(SendMessageW(h, TBM_GETPOS, 0, 0), 10);
  // The number of the reflected WM_NOTIFY with the engine's marker carries
  // no header: passed on, never read.
  SendMessageW(h, SKM_FORMSKINNEDNOTIFY, 0, kSkinMarker);
  EXPECT_TRUE(IsWindow(h));
  // A parent that passes WM_NOTIFY on unchanged reaches the skinner too;
  // another window's custom draw is not the track bar's.
  NMCUSTOMDRAW draw = {};
  draw.hdr.hwndFrom = h;
  draw.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
  draw.dwDrawStage = CDDS_PREPAINT;
  EXPECT_EQ(SendMessageW(h, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), CDRF_NOTIFYITEMDRAW);
  draw.hdr.hwndFrom = form->Handle();
  EXPECT_EQ(SendMessageW(h, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), 0);
}

TEST_F(RangeSkinners, ASkinChangeRedrawsATrackBarWithoutMovingTheFocus) {
  TCommonStandIn* bar = Track(0, 10, 10, 200, 40);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 100, 100, 24);
  int exits = 0;
  edit->OnExit = [&](TObject*) { exits++; };
  Show();
  edit->SetFocus();
  Pump(30);
  skin->SetSkinFile(std::string(CARDINIT_SKIN_DIR) + "/TavrinBlue.skn");
  ASSERT_TRUE(PumpUntil([&] { return skin->SkinName == "Tavrin Blue" && SkinManager()->PendingSkinData == nullptr; }));
  EXPECT_EQ(exits, 0) << "the focused edit never lost the focus";
  EXPECT_EQ(GetFocus(), edit->Handle());
  HWND h = bar->Handle();
  const TCapture c = Screenshot(h);
  const RECT ch = Channel(h);
  // The new skin's channel image at its own height, centred down the channel.
  TBitmap& image = skin->Track->Bitmap;
  const int offset = std::max(0, static_cast<int>((ch.bottom - ch.top) - image.Height()) / 2);
  const int x = ch.left + (ch.right - ch.left) * 3 / 4, y = ch.top + offset + image.Height() / 2;
  EXPECT_EQ(c.At(x, y), static_cast<COLORREF>(PixelsOf(image).Pixel(image.Width() / 2, image.Height() / 2)))
      << "the channel of the new skin";
}

TEST(TrackGeometry, ChannelsTurnedBackAndPiecesAtTheImagesThickness) {
  // Reported lying for a standing bar: turned back.
  EXPECT_EQ(TrackChannelRect(RECT{8, 10, 92, 14}, true).top, 8);
  EXPECT_EQ(TrackChannelRect(RECT{8, 10, 92, 14}, true).right, 14);
  // Already standing, or a lying bar: as reported.
  EXPECT_EQ(TrackChannelRect(RECT{10, 8, 14, 92}, true).bottom, 92);
  EXPECT_EQ(TrackChannelRect(RECT{8, 10, 92, 14}, false).right, 92);

  TTrackPiece p[3];
  // A standing channel 10 wide, an image 4 wide: centred across.
  ASSERT_EQ(TrackChannelPieces(RECT{0, 0, 10, 100}, 4, 16, 2, 2, true, p), 3);
  EXPECT_EQ(p[0].target.left, 3);
  EXPECT_EQ(p[0].target.right, 7);
  EXPECT_EQ(p[0].target.bottom, 2) << "the top cap at its rows";
  EXPECT_EQ(p[1].target.bottom, 98) << "the middle stretched";
  EXPECT_EQ(p[1].source.top, 2);
  EXPECT_EQ(p[1].source.bottom, 14);
  EXPECT_EQ(p[2].target.top, 98);
  // A channel narrower than the image: at full width from the left edge.
  ASSERT_EQ(TrackChannelPieces(RECT{20, 0, 22, 100}, 4, 16, 2, 2, true, p), 3);
  EXPECT_EQ(p[0].target.left, 20);
  EXPECT_EQ(p[0].target.right, 24);
  // Lying: moved down by half the difference.
  ASSERT_EQ(TrackChannelPieces(RECT{0, 10, 100, 20}, 16, 4, 3, 3, false, p), 3);
  EXPECT_EQ(p[0].target.top, 13);
  EXPECT_EQ(p[2].target.left, 97);
  // Caps of no height are left out; caps longer than the channel dropped.
  EXPECT_EQ(TrackChannelPieces(RECT{0, 0, 100, 4}, 16, 4, 0, 0, false, p), 1);
  ASSERT_EQ(TrackChannelPieces(RECT{0, 0, 5, 4}, 16, 4, 3, 3, false, p), 1);
  EXPECT_EQ(p[0].source.right, 16) << "the whole image stretched";
  EXPECT_EQ(TrackChannelPieces(RECT{0, 0, 0, 4}, 16, 4, 3, 3, false, p), 0);
}

// ---- up-down ----------------------------------------------------------------------

TEST_F(RangeSkinners, UpDownButtonsShowNormalHotPressedAndDisabledInTheHalfUnderThePointer) {
  auto* ud = new TUpDown(form);
  ud->SetParent(form);
  ud->SetBounds(300, 100, 20, 40);
  ud->SetMax(10);
  Show();
  TSkinUpDown* s = SkinnerOf<TSkinUpDown>(ud);
  ASSERT_NE(s, nullptr);
  HWND h = ud->Handle();
  TDataSkinObject* strip = skin->UpDownVert.get();
  const int count = strip->Frame;
  auto upper = [&](const TCapture& c) { return c.At(3, 3); };
  auto lower = [&](const TCapture& c) { return c.At(3, c.height - 4); };
  MoveTo(form->Handle(), 5, 5);
  TCapture c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(upper(c), Colour(strip, count, 1));
  EXPECT_EQ(lower(c), Colour(strip, count, 5)) << "the second button's normal image";

  MoveTo(h, 10, 10);
  c = Screenshot(h);
  EXPECT_EQ(upper(c), Colour(strip, count, 4)) << "hot under the pointer";
  EXPECT_EQ(lower(c), Colour(strip, count, 5));
  Button(true);
  c = Screenshot(h);
  EXPECT_EQ(upper(c), Colour(strip, count, 2)) << "pressed only in the half under the pointer";
  EXPECT_EQ(lower(c), Colour(strip, count, 5));
  Button(false);
  EXPECT_EQ(ud->Position(), 1) << "the press stepped the control";
  c = Screenshot(h);
  EXPECT_EQ(upper(c), Colour(strip, count, 4));
  ClickAt(h, 10, 30);
  EXPECT_EQ(ud->Position(), 0);
  MoveTo(form->Handle(), 5, 5);
  c = Screenshot(h);
  EXPECT_EQ(lower(c), Colour(strip, count, 5)) << "leaving clears the hot image";

  ud->SetEnabled(false);
  c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(upper(c), Colour(strip, count, 3));
  EXPECT_EQ(lower(c), Colour(strip, count, 7));
  // The number of the reflected WM_NOTIFY with the engine's marker: no header.
  SendMessageW(h, SKM_FORMSKINNEDNOTIFY, 0, kSkinMarker);
  EXPECT_TRUE(IsWindow(h));
}

TEST_F(RangeSkinners, HorizontalUpDownButtonsAndPlainButtonsWithoutTheSkinsImages) {
  auto* ud = new TUpDown(form);
  ud->SetParent(form);
  ud->SetBounds(300, 100, 40, 20);
  ud->SetOrientation(udHorizontal);
  auto* plain = new TUpDown(form);
  plain->SetParent(form);
  plain->SetBounds(300, 150, 20, 40);
  Show();
  MoveTo(form->Handle(), 5, 5);
  TDataSkinObject* strip = skin->UpDownHorz.get();
  TCapture c = PaintInto(ud->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(3, 3), Colour(strip, strip->Frame, 1)) << "left";
  EXPECT_EQ(c.At(c.width - 4, 3), Colour(strip, strip->Frame, 5)) << "right";

  // A strip whose frame count is below 1 counts as one image.
  skin->UpDownVert->Frame = 0;
  c = PaintInto(plain->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_NE(c.At(3, 3), RGB(0x12, 0x34, 0x56));
  skin->UpDownVert.reset();
  c = PaintInto(plain->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(0, 0), ColorToRGB(skin->Colors[sc::ButtonDkShadow])) << "outlined";
  EXPECT_EQ(c.At(3, 3), Face());
  EXPECT_EQ(c.At(3, c.height - 4), Face());
  MoveTo(plain->Handle(), 10, 10);
  Button(true);
  c = Screenshot(plain->Handle());
  EXPECT_EQ(c.At(3, 3), Shadow()) << "pressed: the shadow colour";
  EXPECT_EQ(c.At(3, c.height - 4), Face());
  Button(false);
}

TEST_F(RangeSkinners, APlainUpDownWindowIsErasedWhite) {
  HWND parent = MakeTestWindow(&raw, 200, 100);
  ASSERT_TRUE(WaitSkinned(parent));
  HWND ud = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 20, 40, parent, nullptr,
                            nullptr, nullptr);
  auto* s = new TSkinUpDown(nullptr);
  s->InitSkinHandle(ud, skin, nullptr, nullptr);
  const TCapture e = PaintInto(ud, WM_ERASEBKGND, 0);
  EXPECT_EQ(e.At(5, 5), RGB(255, 255, 255));
  const TCapture c = PaintInto(ud, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(3, 3), Colour(skin->UpDownVert.get(), skin->UpDownVert->Frame, 1));
  s->Free();
  DestroyWindow(ud);
}

TEST_F(RangeSkinners, ASpinEditsButtonsAreSkinnedOnceStandInsideItAndStillStepIt) {
  auto* spin = new TSpinEdit(form);
  spin->SetParent(form);
  spin->SetBounds(10, 10, 100, 24);
  spin->SetMaxValue(100);
  spin->SetValue(5);
  Show();
  ASSERT_NE(SkinnerOf<TSkinEdit>(spin), nullptr);
  HWND buttons = spin->Button()->Handle();
  Pump(50);
  EXPECT_EQ(SkinnersOf(buttons), 1) << "buttons skinned already get no second skinner";
  auto* s = dynamic_cast<TSkinUpDown*>(formSkinner->FindSkinnerByHandle(buttons));
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(s->AttachedToEdit);
  EXPECT_EQ(SkinnerOf<TSkinEdit>(spin)->SpinButtons, nullptr);
  // Inside an edit: at least 3 pixels of the edit's border to their right.
  const TCapture c = Screenshot(buttons);
  EXPECT_EQ(c.At(c.width - 1, c.height / 2), RGB(255, 255, 255));

  RECT r;
  GetClientRect(buttons, &r);
  ClickAt(buttons, r.right / 2, 4);
  EXPECT_EQ(spin->Value(), 6) << "the upper button steps the spin edit up";
  ClickAt(buttons, r.right / 2, r.bottom - 5);
  ClickAt(buttons, r.right / 2, r.bottom - 5);
  EXPECT_EQ(spin->Value(), 4);
  spin->SetFocus();
  PressKey(VK_UP);
  EXPECT_EQ(spin->Value(), 5);
  spin->SelectAll();
  TypeText(L"7x");
  EXPECT_EQ(spin->Text(), "7") << "the spin edit's own key filter";
}

TEST_F(RangeSkinners, AnEditSkinsTheSpinButtonsItFindsOnce) {
  auto* spin = new TSpinEdit(form);
  spin->SetParent(form);
  spin->SetBounds(10, 10, 100, 24);
  spin->SetTag(99);  // not skinned by discovery, nor its buttons
  spin->Button()->SetTag(99);
  Show();
  EXPECT_EQ(SkinnerOf<TSkinEdit>(spin), nullptr);
  auto* edit = new TSkinEdit(spin);
  edit->InitSkin(formSkinner, skin, nullptr, false);
  edit->PaintFrame(nullptr);
  ASSERT_NE(edit->SpinButtons, nullptr);
  EXPECT_TRUE(edit->SpinButtons->AttachedToEdit);
  EXPECT_EQ(edit->SpinButtons->Handle, spin->Button()->Handle());
  edit->PaintFrame(nullptr);
  EXPECT_EQ(SkinnersOf(spin->Button()->Handle()), 1);
  // Without xcSpin the buttons are left alone.
  auto* other = new TSpinEdit(form);
  other->SetParent(form);
  other->SetTag(99);
  other->Button()->SetTag(99);
  skin->RemoveControl(xcSpin);
  auto* plainEdit = new TSkinEdit(other);
  plainEdit->InitSkin(formSkinner, skin, nullptr, false);
  plainEdit->PaintFrame(nullptr);
  EXPECT_EQ(plainEdit->SpinButtons, nullptr);
  EXPECT_EQ(SkinnersOf(other->Button()->Handle()), 0);
}

TEST_F(RangeSkinners, APlainDateTimePickersSpinButtonsAreFoundByTheirClass) {
  HWND parent = MakeTestWindow(&raw, 300, 100);
  ASSERT_TRUE(WaitSkinned(parent));
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
  HWND picker = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | DTS_UPDOWN, 10, 10,
                                150, 24, parent, nullptr, nullptr, nullptr);
  ASSERT_NE(picker, nullptr);
  auto* edit = new TSkinEdit(nullptr);
  edit->InitSkinHandle(picker, skin, nullptr, nullptr);
  edit->PaintFrame(nullptr);
  ASSERT_NE(edit->SpinButtons, nullptr) << "the picker's up-down child";
  EXPECT_EQ(GetParent(edit->SpinButtons->Handle), picker);
  EXPECT_TRUE(edit->SpinButtons->AttachedToEdit);
  EXPECT_EQ(SendMessageW(edit->SpinButtons->Handle, SKM_ISSKINNED, 0, 0), 1);
  edit->SpinButtons->Free();
  EXPECT_EQ(edit->SpinButtons, nullptr) << "told when the buttons' skinner goes";
  edit->Free();
  DestroyWindow(picker);
}

TEST(UpDownGeometry, HalvesAndTheRoomLeftInAnEdit) {
  RECT a, b;
  UpDownParts(RECT{0, 0, 17, 25}, false, a, b);
  EXPECT_EQ(a.bottom, 12);
  EXPECT_EQ(b.top, 12);
  EXPECT_EQ(b.bottom, 25);
  UpDownParts(RECT{0, 0, 31, 10}, true, a, b);
  EXPECT_EQ(a.right, 15);
  EXPECT_EQ(b.left, 15);
  // 2 pixels of the edit above, 1 below, none at the right.
  const RECT r = AttachedUpDownRect(RECT{0, 0, 17, 20}, RECT{100, 52, 117, 72}, RECT{20, 50, 117, 73});
  EXPECT_EQ(r.top, 1);
  EXPECT_EQ(r.bottom, 18);
  EXPECT_EQ(r.right, 14);
  EXPECT_EQ(r.left, 0);
}

// ---- progress bar -------------------------------------------------------------------

TEST_F(RangeSkinners, AProgressBarFillsFromTheSkinAndEmptyWhereItShouldBe) {
  TCommonStandIn* bar = Progress(0, 10, 10, 200, 20);
  TCommonStandIn* standing = Progress(PBS_VERTICAL, 250, 10, 20, 200);
  Show();
  ASSERT_NE(SkinnerOf<TSkinProgress>(bar), nullptr);
  TDataSkinObject* p = skin->Progress.get();
  const COLORREF empty = Colour(p, 2, 1), filled = Colour(p, 2, 2);
  HWND h = bar->Handle();
  SendMessageW(h, PBM_SETPOS, 50, 0);
  TCapture c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(50, 10), filled);
  EXPECT_EQ(c.At(150, 10), empty);
  EXPECT_EQ(Screenshot(h).At(50, 10), filled) << "on the screen too";
  SendMessageW(h, PBM_SETPOS, 0, 0);
  c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(10, 10), empty) << "at position 0 only the empty bar";
  SendMessageW(h, PBM_SETRANGE32, -100, -10);
  SendMessageW(h, PBM_SETPOS, -20, 0);
  c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(190, 10), empty) << "a range whose high end is below 0 shows the empty bar";
  SendMessageW(h, PBM_SETRANGE32, 10, 10);
  c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(190, 10), empty) << "an empty range divides by nothing";

  // Standing: composed lying down and turned, filling upward.
  SendMessageW(standing->Handle(), PBM_SETPOS, 50, 0);
  c = PaintInto(standing->Handle(), SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_EQ(c.At(10, 150), filled);
  EXPECT_EQ(c.At(10, 50), empty);
}

TEST_F(RangeSkinners, AProgressBarOfChunksAndOneWithoutTheSkinsImage) {
  TCommonStandIn* bar = Progress(0, 10, 10, 200, 20);
  Show();
  HWND h = bar->Handle();
  skin->Progress->Style = 1;
  TDataSkinObject* chunk = skin->ProgressChunk.get();
  const COLORREF chunkColour = Colour(chunk, 1, 1);
  for (int tile = 0; tile < 2; tile++) {
    SCOPED_TRACE(tile);
    chunk->Tile = tile;
    SendMessageW(h, PBM_SETPOS, 50, 0);
    TCapture c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
    EXPECT_EQ(c.At(20, 10), chunkColour);
    EXPECT_NE(c.At(150, 10), chunkColour);
    SendMessageW(h, PBM_SETPOS, 100, 0);
    c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
    EXPECT_NE(c.At(c.width - 1, 10), chunkColour) << "a full row ends inside the bar";
  }
  // No chunk image: the control paints itself.
  skin->ProgressChunk.reset();
  TCapture c = PaintInto(h, SKM_PAINTCLIENTTO, kSkinMarker);
  EXPECT_NE(c.At(20, 10), chunkColour);
  skin->Progress.reset();
  c = PaintInto(h, WM_PAINT, 0);
  EXPECT_NE(c.At(20, 10), RGB(0x12, 0x34, 0x56)) << "painted by the control";
}

TEST(ProgressGeometry, TheFillIsClampedToTheBar) {
  const RECT bar = {0, 0, 200, 20};
  EXPECT_EQ(ProgressFillRight(bar, 50, 0, 100), 100);
  EXPECT_EQ(ProgressFillRight(bar, 150, 0, 100), 200) << "past the high end";
  EXPECT_EQ(ProgressFillRight(bar, 5, 10, 100), 0) << "below the low end";
  EXPECT_EQ(ProgressFillRight(bar, 30, 30, 30), 0) << "an empty range";
  EXPECT_EQ(ProgressFillRight(bar, 0, 0, 100), 0);
  EXPECT_EQ(ProgressFillRight(bar, 20, 10, 0), 0);
  EXPECT_EQ(ProgressFillRight(bar, 60, 20, 100), 100);
  EXPECT_EQ(ChunkFillRight(bar, 50, 100), 100);
  EXPECT_EQ(ChunkFillRight(bar, 500, 100), 200);
  EXPECT_EQ(ChunkFillRight(bar, 50, 0), 0);
}

// ---- edit ------------------------------------------------------------------------------

TEST_F(RangeSkinners, AnEditsBorderIsTheSkinsAndABorderlessEditHasNone) {
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 120, 24);
  auto* flat = new TEdit(form);
  flat->SetParent(form);
  flat->SetBounds(10, 50, 120, 24);
  flat->SetBorderStyle(ebsNone);
  Show();
  ASSERT_NE(SkinnerOf<TSkinEdit>(edit), nullptr);
  const TCapture c = PaintInto(edit->Handle(), WM_PAINT, 0);
  EXPECT_EQ(c.At(0, 0), Shadow());
  EXPECT_EQ(c.At(c.width - 1, c.height / 2), Shadow());
  EXPECT_EQ(c.At(1, 1), RGB(255, 255, 255));
  EXPECT_EQ(c.At(2, c.height / 2), RGB(255, 255, 255));
  const TCapture s = Screenshot(edit->Handle());
  EXPECT_EQ(s.At(0, 0), Shadow()) << "on the screen";
  EXPECT_EQ(s.At(1, s.height - 2), RGB(255, 255, 255));
  const TCapture f = PaintInto(flat->Handle(), WM_PAINT, 0);
  EXPECT_NE(f.At(0, 0), Shadow());
  // The printed frame: the shadow outline and the DC's brush inside it.
  const TCapture p = PaintInto(edit->Handle(), WM_PRINTCLIENT, PRF_CLIENT);
  EXPECT_EQ(p.At(0, 0), Shadow());
  EXPECT_EQ(p.At(1, 5), RGB(255, 255, 255));
}

// A masked edit that counts the WM_SIZE messages its own procedure gets.
class TCountingMaskEdit : public TMaskEdit {
 public:
  explicit TCountingMaskEdit(TComponent* owner) : TMaskEdit(owner) {}
  int sizes = 0;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_SIZE) sizes++;
    TMaskEdit::WndProc(m);
  }
};

TEST_F(RangeSkinners, TheMaskedEditKeepsItsFilterAndTheEditItsSizeMessages) {
  auto* mask = new TCountingMaskEdit(form);
  mask->SetParent(form);
  mask->SetBounds(10, 10, 120, 24);
  mask->SetEditMask("00 00;1;_");
  Show();
  ASSERT_NE(SkinnerOf<TSkinEdit>(mask), nullptr);
  mask->SetFocus();
  mask->SetSelStart(0);
  TypeText(L"1a2");
  EXPECT_EQ(mask->EditText().substr(0, 2), "12") << "the letter is refused";
  // The control's own procedure sees one WM_SIZE for one resize.
  mask->sizes = 0;
  mask->SetBounds(10, 10, 150, 26);
  EXPECT_EQ(mask->sizes, 1);
}

// ---- release --------------------------------------------------------------------------

TEST_F(RangeSkinners, EverySkinnerGoesWithItsControlAndWhenSkinningStops) {
  TCommonStandIn* bar = Track(0, 10, 10, 200, 40);
  TCommonStandIn* progress = Progress(0, 10, 60, 200, 20);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 100, 120, 24);
  auto* spin = new TSpinEdit(form);
  spin->SetParent(form);
  spin->SetBounds(10, 140, 100, 24);
  auto* gone = new TEdit(form);
  gone->SetParent(form);
  gone->SetBounds(10, 180, 120, 24);
  Show();
  TSkinEdit* goneSkinner = SkinnerOf<TSkinEdit>(gone);
  ASSERT_NE(goneSkinner, nullptr);
  const size_t before = formSkinner->FSkinners.size();
  gone->Free();
  EXPECT_EQ(formSkinner->FSkinners.size(), before - 1);
  for (TSkinControl* k : formSkinner->FSkinners) EXPECT_NE(k, goneSkinner);

  HWND handles[] = {bar->Handle(), progress->Handle(), edit->Handle(), spin->Handle(), spin->Button()->Handle()};
  for (HWND h : handles) EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 1);
  StopSkinning();
  for (HWND h : handles) EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(SkinnerOf<TSkinTrackBar>(bar), nullptr);
  EXPECT_EQ(SkinnerOf<TSkinProgress>(progress), nullptr);
  EXPECT_EQ(SkinnerOf<TSkinEdit>(edit), nullptr);
  EXPECT_EQ(SkinnerOf<TSkinUpDown>(spin->Button()), nullptr);
  // Left as they were: the system's border, channel and bar.
  const TCapture e = PaintInto(edit->Handle(), WM_PAINT, 0);
  EXPECT_NE(e.At(0, 0), Shadow());
  SendMessageW(progress->Handle(), PBM_SETPOS, 50, 0);
  const TCapture p = PaintInto(progress->Handle(), WM_PAINT, 0);
  EXPECT_NE(p.At(50, 10), Colour(skin->Progress.get(), 2, 2));
  // The spin buttons still step the edit.
  RECT r;
  GetClientRect(spin->Button()->Handle(), &r);
  ClickAt(spin->Button()->Handle(), r.right / 2, 4);
  EXPECT_EQ(spin->Value(), 1);
}

}  // namespace
