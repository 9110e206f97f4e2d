#include "MediaPlayerSkinner.h"

#include <windowsx.h>

#include <memory>

#include "PropertyText.h"
#include "SkinDraw.h"
#include "TextUtils.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

const char* const kPictureNames[kMediaButtonCount] = {"MPPLAY", "MPPAUSE", "MPSTOP",   "MPNEXT", "MPPREV",
                                                       "MPSTEP", "MPBACK",  "MPRECORD", "MPEJECT"};
const char* const kSetProperties[3] = {"VisibleButtons", "EnabledButtons", "ColoredButtons"};

// Frames of the skin's button strip.
constexpr int kFrameNormal = 1, kFramePressed = 2, kFrameDisabled = 3;

// A bitmap resource of the program's module copied into a framework
// bitmap; empty when the module has none of that name.
void LoadPicture(TBitmap& picture, const std::string& name) {
  HBITMAP loaded = LoadBitmapA(GetModuleHandleA(nullptr), name.c_str());
  if (!loaded) return;
  BITMAP info = {};
  if (GetObjectW(loaded, sizeof info, &info) && info.bmWidth > 0 && info.bmHeight > 0) {
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(info.bmWidth, info.bmHeight);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, loaded);
    BitBlt(picture.Canvas()->Handle(), 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  }
  DeleteObject(loaded);
}

// The names of the player's button type: those of the set's element type
// where the player's type information has them.
std::vector<std::string> ButtonNamesOf(const TControl* player) {
  std::vector<std::string> names = MediaButtonTypeNames();
  const TPropInfo* p = player ? player->ClassInfo().FindProp(kSetProperties[0]) : nullptr;
  if (p && p->kind == TPropKind::Set && p->enumType)
    for (size_t i = 0; i < names.size() && i < p->enumType->names.size(); i++) names[i] = p->enumType->names[i];
  return names;
}

}  // namespace

// ---- geometry and sets ----------------------------------------------------------

const std::vector<std::string>& MediaButtonTypeNames() {
  static const std::vector<std::string> names = {"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                                 "btStep", "btBack",  "btRecord", "btEject"};
  return names;
}

void ReadButtonSet(const std::string& text, const std::vector<std::string>& names, bool flags[kMediaButtonCount]) {
  for (int i = 0; i < kMediaButtonCount; i++) flags[i] = false;
  std::string inner = Trim(text);
  if (!inner.empty() && inner.front() == '[') inner.erase(0, 1);
  if (!inner.empty() && inner.back() == ']') inner.pop_back();
  size_t start = 0;
  while (start <= inner.size()) {
    size_t comma = inner.find(',', start);
    if (comma == std::string::npos) comma = inner.size();
    const std::string member = Trim(inner.substr(start, comma - start));
    for (int i = 0; i < kMediaButtonCount && i < static_cast<int>(names.size()); i++)
      if (!member.empty() && CompareText(member, names[static_cast<size_t>(i)]) == 0) flags[i] = true;
    start = comma + 1;
  }
}

uint8_t MediaButtonAt(const bool visible[kMediaButtonCount], int buttonWidth, int x) {
  int start = 0;
  for (int i = 0; i < kMediaButtonCount; i++) {
    if (!visible[i]) continue;
    if (start <= x && x <= start + buttonWidth) return static_cast<uint8_t>(i);
    start += buttonWidth;
  }
  return kNoMediaButton;
}

// ---- TWMediaPlayer ---------------------------------------------------------------

const TClassInfo& TWMediaPlayer::StaticClass() {
  static const TClassInfo info("TWMediaPlayer", &TCustomPanel::StaticClass());
  return info;
}

TWMediaPlayer::TWMediaPlayer(TComponent* owner) : TCustomPanel(owner) {
  // The panel paints all of itself in one copy: nothing to erase beneath.
  opaque_ = true;
  LoadPictures();
}

void TWMediaPlayer::LoadPictures() {
  for (int i = 0; i < kMediaButtonCount; i++) {
    const std::string button = kPictureNames[i];
    LoadPicture(ButtonInfo[i].EnabledPicture, "EN_" + button);
    LoadPicture(ButtonInfo[i].DisabledPicture, "DI_" + button);
    LoadPicture(ButtonInfo[i].ColoredPicture, "CL_" + button);
  }
}

void TWMediaPlayer::Attach(TSkinMP* skinner, TControl* mediaPlayer) {
  if (MediaPlayer && MediaPlayer != mediaPlayer) MediaPlayer->RemoveFreeNotification(this);
  MediaPlayer = mediaPlayer;
  if (MediaPlayer) MediaPlayer->FreeNotification(this);
  SkinData = skinner ? skinner->SkinData : nullptr;
  if (SkinData) SetTag(SkinData->DisableTag);
  if (!MediaPlayer) return;
  Place(MediaPlayer);
  SetParent(MediaPlayer->Parent());
}

void TWMediaPlayer::Place(TControl* mediaPlayer) {
  if (mediaPlayer)
    SetBounds(mediaPlayer->Left(), mediaPlayer->Top(), mediaPlayer->Width(), mediaPlayer->Height());
}

uint8_t TWMediaPlayer::HitTest(int x) const {
  bool visible[kMediaButtonCount];
  for (int i = 0; i < kMediaButtonCount; i++) visible[i] = ButtonInfo[i].Visible;
  return MediaButtonAt(visible, ButtonWidth, x);
}

void TWMediaPlayer::Notification(TComponent* component, TOperation operation) {
  TCustomPanel::Notification(component, operation);
  if (operation == opRemove && component == MediaPlayer) MediaPlayer = nullptr;
}

void TWMediaPlayer::ReadButtonStates() {
  bool flags[3][kMediaButtonCount] = {};
  if (MediaPlayer) {
    const std::vector<std::string> names = ButtonNamesOf(MediaPlayer);
    for (int set = 0; set < 3; set++) {
      std::string text;
      if (GetPropText(MediaPlayer, kSetProperties[set], text) == TPropStatus::Ok)
        ReadButtonSet(text, names, flags[set]);
    }
  }
  VisibleCount = 0;
  for (int i = 0; i < kMediaButtonCount; i++) {
    ButtonInfo[i].Visible = flags[0][i];
    ButtonInfo[i].Enabled = flags[1][i];
    ButtonInfo[i].Colored = flags[2][i];
    if (flags[0][i]) VisibleCount++;
  }
}

void TWMediaPlayer::Paint() {
  ReadButtonStates();
  HDC dc = Canvas()->Handle();
  const RECT client = ClientRect();
  const TColor face = SkinData ? SkinData->Colors[sc::ButtonFace] : clBtnFace;
  if (VisibleCount == 0) {
    ButtonWidth = 0;
    FillColour(dc, client, face);
    return;
  }
  const int w = client.right - client.left, h = client.bottom - client.top;
  ButtonWidth = w / VisibleCount;
  if (w <= 0 || h <= 0) return;
  TBitmap image;
  SetSkinBitmapSize(image, w, h);
  HDC imageDC = image.Canvas()->Handle();
  FillColour(imageDC, RECT{0, 0, w, h}, face);
  int start = 0;
  for (int i = 0; i < kMediaButtonCount; i++) {
    if (!ButtonInfo[i].Visible) continue;
    DrawButton(imageDC, i, RECT{start, 0, start + ButtonWidth, h});
    start += ButtonWidth;
  }
  BitBlt(dc, client.left, client.top, w, h, imageDC, 0, 0, SRCCOPY);
}

void TWMediaPlayer::DrawButton(HDC dc, int index, const RECT& r) {
  TMediaButtonInfo& info = ButtonInfo[index];
  TBitmap& picture = !info.Enabled ? info.DisabledPicture : info.Colored ? info.ColoredPicture : info.EnabledPicture;
  int frame = MouseIsDown && index == PressedIndex ? kFramePressed : kFrameNormal;
  if (!info.Enabled) frame = kFrameDisabled;
  TDataSkinButton* face = SkinData ? SkinData->Buttons.get() : nullptr;
  if (face && !face->Bitmap.Empty()) {
    DrawSkinImage(dc, SkinRect(r.left, r.top, r.right, r.bottom), face->Bitmap, false, face->Tile == 1,
                  face->Trans == 1, face->Frame < 1 ? 1 : face->Frame, frame, face->Margins());
  } else {
    // A skin without button images: the system's push button.
    RECT b = r;
    UINT state = DFCS_BUTTONPUSH;
    if (frame == kFramePressed) state |= DFCS_PUSHED;
    if (frame == kFrameDisabled) state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &b, DFC_BUTTON, state);
  }
  if (picture.Empty()) return;
  const int shift = frame == kFramePressed ? 1 : 0;
  const int left = r.left + ((r.right - r.left) - picture.Width()) / 2 + shift;
  const int top = r.top + ((r.bottom - r.top) - picture.Height()) / 2 + shift;
  DrawTransparent(dc, SkinRect(left, top, left + picture.Width(), top + picture.Height()), picture,
                  kMediaPictureKey);
}

void TWMediaPlayer::WndProc(TMessage& m) {
  switch (m.Msg) {
    // A quick second press comes as a double click: to the player it is a
    // press like any other, as it would be without the panel.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: MouseDownMessage(m); return;
    case WM_LBUTTONUP: MouseUpMessage(m); return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: PassToPlayer(m); return;
    case WM_CAPTURECHANGED: CaptureChanged(m); break;
    default: break;
  }
  TCustomPanel::WndProc(m);
}

void TWMediaPlayer::MouseDownMessage(TMessage& m) {
  MouseIsDown = true;
  pressing_ = true;
  TCustomPanel::WndProc(m);
  if (MediaPlayer) MediaPlayer->Perform(m.Msg, m.WParam, m.LParam);
  // A player that takes the mouse on its press would get the release
  // instead of the panel. The panel takes it over while the button is held,
  // so that the release comes here wherever it happens and no button stays
  // drawn pressed. It does so for the player: the press stays the
  // player's, and the release the panel passes on is its click.
  {
    TCaptureHandOver forPlayer(MediaPlayer);
    ReleaseCapture();
    const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    if (HWND h = HandleIfAllocated(); h && (GetKeyState(button) & 0x8000)) SetCapture(h);
  }
  pressing_ = false;
  HitIndex = HitTest(GET_X_LPARAM(m.LParam));
  PressedIndex = HitIndex;
  Invalidate();
}

void TWMediaPlayer::MouseUpMessage(TMessage& m) {
  MouseIsDown = false;
  if (HWND h = HandleIfAllocated(); h && GetCapture() == h) ReleaseCapture();
  HitIndex = HitTest(GET_X_LPARAM(m.LParam));
  // A press released over another button is no release on the player. The
  // player hears of its release before the panel's own handling, which
  // ends the press under way: after it, the player's press would be over
  // and its release no click. A press released elsewhere ends there.
  if (HitIndex == PressedIndex && MediaPlayer) MediaPlayer->Perform(m.Msg, m.WParam, m.LParam);
  TCustomPanel::WndProc(m);
  PressedIndex = HitIndex;
  Invalidate();
}

void TWMediaPlayer::PlayerPressLost() {
  if (!MouseIsDown) return;
  MouseIsDown = false;
  Invalidate();
}

void TWMediaPlayer::PassToPlayer(TMessage& m) {
  // The other buttons are the player's alone (its context menu comes from
  // its own right-button release).
  if (MediaPlayer) MediaPlayer->Perform(m.Msg, m.WParam, m.LParam);
  m.Result = 0;
}

void TWMediaPlayer::CaptureChanged(TMessage& m) {
  // The mouse taken away while a button is held (a window that opened):
  // the button is drawn up again.
  if (!MouseIsDown || pressing_ || reinterpret_cast<HWND>(m.LParam) == HandleIfAllocated()) return;
  MouseIsDown = false;
  // The player's press, which the panel carried, gets no release either.
  if (MediaPlayer && MediaPlayer->PressHeld()) MediaPlayer->ForgetPress();
  Invalidate();
}

// ---- TSkinMP ---------------------------------------------------------------------

const TClassInfo& TSkinMP::StaticClass() {
  static const TClassInfo info("TSkinMP", &TSkinControl::StaticClass());
  return info;
}

void TSkinMP::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool useSkinColour) {
  TSkinControl::InitSkin(form, skinData, formCanvas, useSkinColour);
  if (!Control || Overlay || !Skinned) return;
  // Owned by the form skinner (by this skinner when there is none).
  TComponent* owner = Form ? static_cast<TComponent*>(Form) : this;
  Overlay = new TWMediaPlayer(owner);
  Overlay->FreeNotification(this);
  Overlay->SetVisible(Control->Visible());
  Overlay->Attach(this, Control);
  KeepOverlayAbove();
}

void TSkinMP::SkinStateChanged() {
  if (Overlay && Control) Overlay->SetVisible(Active && Control->Visible());
}

void TSkinMP::Unskin() {
  TSkinControl::Unskin();
  if (State != 6) FreeOverlay();
}

void TSkinMP::BeforeDestruction() {
  // The panel goes with the player.
  FreeOverlay();
  TSkinControl::BeforeDestruction();
}

bool TSkinMP::BeforeProc(TMessage& m) {
  // The player's window goes: the panel no longer covers its place (it
  // comes back over a window made anew).
  if (m.Msg == WM_NCDESTROY && Overlay) Overlay->SetVisible(false);
  return TSkinControl::BeforeProc(m);
}

void TSkinMP::AfterProc(TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
      if (Overlay) {
        Overlay->Place(Control);
        RefreshOverlay();
      }
      break;
    case CM_VISIBLECHANGED:
      if (Overlay && Control) Overlay->SetVisible(Control->Visible());
      break;
    case CM_PRESSLOST:
      // The player's press ended without its release (its OnMouseDown or a
      // timer opened a box, another window took the pointer): the button
      // the panel shows pressed is up again.
      if (Overlay) Overlay->PlayerPressLost();
      TSkinControl::AfterProc(m);
      break;
    case WM_PAINT:
      if (OverlayStale()) RefreshOverlay();
      TSkinControl::AfterProc(m);
      break;
    default: TSkinControl::AfterProc(m);
  }
}

void TSkinMP::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == Overlay) Overlay = nullptr;
}

void TSkinMP::FreeOverlay() {
  TWMediaPlayer* overlay = Overlay;
  Overlay = nullptr;
  overlaidWindow_ = nullptr;
  if (!overlay) return;
  overlay->RemoveFreeNotification(this);
  overlay->Free();
}

bool TSkinMP::OverlayStale() const {
  return Overlay && Control && (Handle != overlaidWindow_ || Overlay->Parent() != Control->Parent());
}

void TSkinMP::RefreshOverlay() {
  // A player between parents (its window going) is followed once it is in
  // its new one.
  if (!Overlay || !Control || !Control->Parent() || State != 1) return;
  if (Overlay->Parent() != Control->Parent()) Overlay->Attach(this, Control);
  Overlay->SetVisible(Control->Visible());
  KeepOverlayAbove();
}

void TSkinMP::KeepOverlayAbove() {
  auto* player = dynamic_cast<TWinControl*>(Control);
  HWND below = player ? player->HandleIfAllocated() : nullptr;
  if (!Overlay || !below || !Overlay->Parent()) return;
  HWND panel = Overlay->Handle();
  if (!panel || GetParent(panel) != GetParent(below)) return;
  overlaidWindow_ = below;
  HWND above = GetWindow(below, GW_HWNDPREV);
  if (above == panel) return;
  SetWindowPos(panel, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void RegisterMediaPlayerSkinners() {
  RegisterSkinnerClass("TSkinMP", [](TComponent* owner) -> TSkinControl* { return new TSkinMP(owner); });
}
