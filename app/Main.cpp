#include "Main.h"

#include <ctime>
#include <random>

#include "Buttons.h"
#include "CheckedComboBox.h"
#include "ComboBox.h"
#include "DLL.h"
#include "Dialogs.h"
#include "DorvexImports.h"
#include "Image.h"
#include "KvLine.h"
#include "KvPanel.h"
#include "Label.h"
#include "Language.h"
#include "MaskEdit.h"
#include "SpinEdit.h"
#include "TextUtils.h"
#include "UserKeys.h"
#include "UserMG.h"

using namespace fw;

namespace {

// Secrets of the system password card: the value the card key is scrambled
// with before it is hidden in blocks 32-34, and the key of sector 8 of a
// system card (diversified with the card's serial number).
const char* const kSystemScrambleKey = "3B9E71A4";
const char* const kSystemCardKey = "640257319882";
const char* const kSystemSector = "08";
constexpr int kSystemFirstBlock = 32;
constexpr int kSystemBlocks = 3;
constexpr int kSystemBytes = kSystemBlocks * 16;
// What blocks 32-34 hold on a card that is no system card.
const unsigned char kNoSystemData[kSystemBytes] = {};

// The sector list that the window presets.
const char* const kDefaultSectors = "08/09/10";

std::string HexPair(unsigned value) {
  static const char kHex[] = "0123456789ABCDEF";
  return std::string{kHex[(value >> 4) & 15], kHex[value & 15]};
}

// 96 hexadecimal digits for blocks 32-34: four digits of the scrambled key
// at the start of each block, random filler after them (0x00-0xFE, never
// 0xFF).
std::string SystemCardDigits(const std::string& scrambled) {
  std::mt19937 random(static_cast<unsigned>(std::time(nullptr)) ^ GetTickCount());
  std::uniform_int_distribution<unsigned> filler(0, 254);
  std::string digits;
  for (int block = 0; block < kSystemBlocks; ++block) {
    digits += scrambled.substr(block * 4, 4);
    while (digits.size() < static_cast<size_t>(32 * (block + 1))) digits += HexPair(filler(random));
  }
  return digits;
}

void DigitsToBytes(const std::string& digits, unsigned char* out, int n) {
  auto nibble = [](char c) -> unsigned {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
  };
  for (int i = 0; i < n; ++i)
    out[i] = static_cast<unsigned char>(nibble(digits[2 * i]) * 16 + nibble(digits[2 * i + 1]));
}

}  // namespace

// ---- TSetCardPassWordThr ---------------------------------------------------

TSetCardPassWordThr::TSetCardPassWordThr(HWND owner, TResultEvent onResult)
    : TThread(true), owner_(owner), onResult_(std::move(onResult)) {
  Start();
}

TSetCardPassWordThr::~TSetCardPassWordThr() {
  SetPaused(true);
  Terminate();
  // Only the worker's synchronised calls (and messages other threads send,
  // as its own box does) run while it ends; no input reaches a window that
  // is being taken down.
  HANDLE thread = Handle();
  for (;;) {
    if (MsgWaitForMultipleObjects(1, &thread, FALSE, 10, QS_SENDMESSAGE) == WAIT_OBJECT_0) break;
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    CheckSynchronize();
    CloseOwnBox();
  }
}

bool TSetCardPassWordThr::GetPaused() {
  lock_.Enter();
  const bool paused = paused_;
  lock_.Leave();
  return paused;
}

void TSetCardPassWordThr::SetPaused(bool value) {
  lock_.Enter();
  paused_ = value;
  lock_.Leave();
}

int TSetCardPassWordThr::StartBatch(const TBatchSetCardPWParam& params) {
  lock_.Enter();
  params_ = params;
  const int batch = ++batch_;
  paused_ = false;
  lock_.Leave();
  return batch;
}

bool TSetCardPassWordThr::Busy() {
  lock_.Enter();
  const bool busy = !paused_ || inAttempt_;
  lock_.Leave();
  return busy;
}

void TSetCardPassWordThr::DropResults() {
  lock_.Enter();
  onResult_ = nullptr;
  lock_.Leave();
}

void TSetCardPassWordThr::Execute() {
  while (!Terminated()) {
    Sleep(10);
    // Take a copy of the parameters at the start of the attempt, so that a
    // new start while it runs cannot change them under it.
    lock_.Enter();
    if (paused_) {
      lock_.Leave();
      continue;
    }
    const TBatchSetCardPWParam p = params_;
    const int batch = batch_;
    inAttempt_ = true;
    lock_.Leave();

    const bool ok = p.AreaType != 0
                        ? InitCardAllSectors(true, p.Port, kBaud, p.OldPerCard, p.NewPerCard,
                                             p.OldKey, p.NewKey)
                        : InitCardSectors(true, p.Port, kBaud, p.Sectors, p.OldPerCard,
                                          p.NewPerCard, p.OldKey, p.NewKey);
    lock_.Enter();
    inAttempt_ = false;
    lastResult_ = ok;
    attemptBatch_ = batch;
    lock_.Leave();
    Synchronize([this] { SyncResult(); });

    if (ok) {
      Wait(p.SuccSleep, batch);
      continue;
    }
    if (p.FailType == 0) PauseAfterFailure(batch);
    if (p.ShowMsg && !Terminated()) {
      inBox_ = true;
      ShowMessageBox(owner_, Msg(p.AreaType != 0 ? kMsgAllSectorsFailed : kMsgSectorsFailed),
                     Msg(kMsgCaption), MB_OK | MB_ICONERROR);
      inBox_ = false;
    }
    Wait(p.FailSleep, batch);
  }
}

void TSetCardPassWordThr::PauseAfterFailure(int batch) {
  // A stop and a new start during the failed attempt leave the new batch
  // running: only the batch the attempt belonged to is paused.
  lock_.Enter();
  if (batch_ == batch) paused_ = true;
  lock_.Leave();
}

bool TSetCardPassWordThr::WaitOver(int batch) {
  lock_.Enter();
  const bool over = paused_ || batch_ != batch;
  lock_.Leave();
  return over || Terminated();
}

void TSetCardPassWordThr::Wait(int32_t seconds, int batch) {
  const DWORD start = GetTickCount();
  const DWORD span = static_cast<DWORD>(seconds) * 1000u;
  // Tick differences wrap at 32 bits, so the wait is right across a wrap.
  while (GetTickCount() - start < span) {
    if (WaitOver(batch)) return;
    Sleep(10);
  }
}

void TSetCardPassWordThr::SyncResult() {
  lock_.Enter();
  const TResultEvent onResult = onResult_;
  const int batch = attemptBatch_;
  const bool result = lastResult_;
  lock_.Leave();
  if (onResult) onResult(batch, result);
}

namespace {
BOOL CALLBACK CloseBoxOfThread(HWND hwnd, LPARAM) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (lstrcmpW(cls, L"#32770") == 0) PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
  return TRUE;
}
}  // namespace

void TSetCardPassWordThr::CloseOwnBox() {
  if (inBox_) EnumThreadWindows(ThreadID(), CloseBoxOfThread, 0);
}

// ---- TFmMain ---------------------------------------------------------------

const TClassInfo& TFmMain::StaticClass() {
  static const TClassInfo info =
      TClassInfo::Make<TFmMain>("TFmMain", &TForm::StaticClass())
          .Field("img3", &TFmMain::img3)
          .Field("grpComm", &TFmMain::grpComm)
          .Field("cbbRPort", &TFmMain::cbbRPort)
          .Field("btnChkComPort", &TFmMain::btnChkComPort)
          .Field("cbbAreaNumPW", &TFmMain::cbbAreaNumPW)
          .Field("grpInit", &TFmMain::grpInit)
          .Field("medtPassWord", &TFmMain::medtPassWord)
          .Field("chkOldPWNoEny", &TFmMain::chkOldPWNoEny)
          .Field("cbbUser", &TFmMain::cbbUser)
          .Field("lbl21", &TFmMain::lbl21)
          .Field("medtNewPassWord", &TFmMain::medtNewPassWord)
          .Field("chkNewNoEny", &TFmMain::chkNewNoEny)
          .Field("chkAutoEditPW", &TFmMain::chkAutoEditPW)
          .Field("btnSetOneCardPassWord", &TFmMain::btnSetOneCardPassWord)
          .Field("btnSetAllCardPassWord", &TFmMain::btnSetAllCardPassWord)
          .Field("btn1", &TFmMain::btn1)
          .Field("btn2", &TFmMain::btn2)
          .Field("kvln1", &TFmMain::kvln1)
          .Field("seSuccSleepTime", &TFmMain::seSuccSleepTime)
          .Field("seFailSleepTime", &TFmMain::seFailSleepTime)
          .Field("cbbSetFailType", &TFmMain::cbbSetFailType)
          .Field("cbbIsShowMsg", &TFmMain::cbbIsShowMsg)
          .Field("cbbEditAreaType", &TFmMain::cbbEditAreaType)
          .Field("btnStart", &TFmMain::btnStart)
          .Field("btnAbort", &TFmMain::btnAbort)
          .Field("lblSuccCnt", &TFmMain::lblSuccCnt)
          .Field("lblFailCnt", &TFmMain::lblFailCnt)
          .Field("btnClose", &TFmMain::btnClose)
          .Method("FormCreate", &TFmMain::FormCreate)
          .Method("FormDestroy", &TFmMain::FormDestroy)
          .Method("btnChkComPortClick", &TFmMain::btnChkComPortClick)
          .Method("btnCloseClick", &TFmMain::btnCloseClick)
          .Method("btnSetOneCardPassWordClick", &TFmMain::btnSetOneCardPassWordClick)
          .Method("btnSetAllCardPassWordClick", &TFmMain::btnSetAllCardPassWordClick)
          .Method("btn1Click", &TFmMain::btn1Click)
          .Method("btn2Click", &TFmMain::btn2Click)
          .Method("medtPassWordKeyPress", &TFmMain::medtPassWordKeyPress)
          .Method("chkAutoEditPWClick", &TFmMain::chkAutoEditPWClick)
          .Method("lbl21Click", &TFmMain::lbl21Click)
          .Method("cbbUserSelect", &TFmMain::cbbUserSelect)
          .Method("btnStartClick", &TFmMain::btnStartClick)
          .Method("btnAbortClick", &TFmMain::btnAbortClick);
  return info;
}

void TFmMain::FormCreate(TObject*) {
  ForceAppSubDir("Data");
  profileKeys_.clear();

  TStringVector ports;
  GetComPortList(ports);
  cbbRPort->Items()->Clear();
  for (const auto& p : ports) cbbRPort->Items()->Add(p);
  if (!ports.empty()) cbbRPort->SetItemIndex(0);

  cbbAreaNumPW->Items()->Clear();
  for (int s = 0; s < 16; ++s) cbbAreaNumPW->Items()->Add(Format("%.2d", s));
  cbbAreaNumPW->SetCheckedValues(kDefaultSectors);

  chkOldPWNoEny->SetChecked(false);
  chkNewNoEny->SetChecked(true);
  LoadProfiles(true);

  worker_ = new TSetCardPassWordThr(Handle(), [this](int batch, bool ok) { OnBatchResult(batch, ok); });
  btnAbort->SetEnabled(false);
}

void TFmMain::FormDestroy(TObject*) {
  if (worker_) {
    worker_->SetPaused(true);
    worker_->DropResults();
    delete worker_;
    worker_ = nullptr;
  }
  profileKeys_.clear();
}

void TFmMain::ShowText(const std::string& text, UINT icon) {
  ShowMessageBox(Handle(), text, Msg(kMsgCaption), MB_OK | icon);
}

void TFmMain::ShowMsg(int index, UINT icon) { ShowText(Msg(index), icon); }

void TFmMain::ShowOutcome(bool ok, int okMsg, int failMsg) {
  if (ok)
    ShowMsg(okMsg, MB_ICONINFORMATION);
  else
    ShowMsg(failMsg, MB_ICONERROR);
}

int TFmMain::GetSelectedPort() {
  const int n = PortNumberOf(cbbRPort->Text());
  if (n < 0) {
    cbbRPort->SetFocus();
    ShowMsg(kMsgChoosePort, MB_ICONWARNING);
  }
  return n;
}

bool TFmMain::ReadKeys(std::string& oldKey, std::string& newKey) {
  oldKey = HexCompact(medtPassWord->Text());
  newKey = HexCompact(medtNewPassWord->Text());
  TMaskEdit* bad = !IsCardKey(oldKey) ? medtPassWord : !IsCardKey(newKey) ? medtNewPassWord : nullptr;
  if (!bad) return true;
  bad->SetFocus();
  ShowMsg(kMsgBadKey, MB_ICONWARNING);
  return false;
}

bool TFmMain::ReaderFree() {
  // A click that arrives while an operation paints its disabled buttons
  // belongs to no operation.
  if (operating_) return false;
  if (batchRunning_ || (worker_ && worker_->Busy())) {
    ShowMsg(kMsgBatchRunning, MB_ICONWARNING);
    return false;
  }
  return true;
}

void TFmMain::BeginOperation() {
  operating_ = true;
  SetButtonsEnabled(this, false);
}

void TFmMain::EndOperation() {
  SetButtonsEnabled(this, true);
  SyncBatchButtons();
  operating_ = false;
}

void TFmMain::SyncBatchButtons() {
  btnStart->SetEnabled(!batchRunning_);
  btnAbort->SetEnabled(batchRunning_);
}

void TFmMain::btnChkComPortClick(TObject*) {
  if (!ReaderFree()) return;
  TStringVector ports;
  GetComPortList(ports);
  cbbRPort->Items()->Clear();
  for (const auto& p : ports) cbbRPort->Items()->Add(p);
  if (ports.empty()) {
    ShowMsg(kMsgNoPortToDetect, MB_ICONERROR);
    return;
  }
  BeginOperation();
  for (size_t i = 0; i < ports.size(); ++i) {
    const int n = PortNumberOf(ports[i]);
    if (n < 0) continue;
    if (SendBeep(kLibTrue, n, kBaud, 1)) {
      cbbRPort->SetItemIndex(static_cast<int32_t>(i));
      EndOperation();
      ShowText(FormatMsg(kMsgPortDetected, n), MB_ICONINFORMATION);
      return;
    }
  }
  cbbRPort->SetItemIndex(-1);
  EndOperation();
  ShowMsg(kMsgPortDetectFailed, MB_ICONERROR);
}

void TFmMain::btnCloseClick(TObject*) { Close(); }

void TFmMain::btnSetOneCardPassWordClick(TObject*) {
  if (!ReaderFree()) return;
  const int n = GetSelectedPort();
  if (n < 0) return;
  const std::string sectors = cbbAreaNumPW->GetCheckedValues();
  if (sectors.empty()) {
    ShowMsg(kMsgChooseSectors, MB_ICONWARNING);
    cbbAreaNumPW->SetFocus();
    return;
  }
  std::string oldKey, newKey;
  if (!ReadKeys(oldKey, newKey)) return;
  const bool oPC = chkOldPWNoEny->Checked(), nPC = chkNewNoEny->Checked();

  BeginOperation();
  bool ok;
  int okMsg, failMsg;
  if (chkAutoEditPW->Checked()) {
    // Only the first checked sector goes to the reader on this path.
    int sector = -1;
    ok = ParseDecimal(GetField(sectors, 1, '/'), sector) &&
         SetAutoEditPW(kLibTrue, n, kBaud, 0, sector, oldKey.c_str(), LibFlag(oPC),
                       newKey.c_str(), LibFlag(nPC)) != 0;
    okMsg = kMsgAutoKeyOn;
    failMsg = kMsgAutoKeyOnFailed;
  } else {
    ok = InitCardSectors(true, n, kBaud, sectors, oPC, nPC, oldKey, newKey);
    okMsg = kMsgSectorsSet;
    failMsg = kMsgSectorsFailed;
  }
  EndOperation();
  ShowOutcome(ok, okMsg, failMsg);
}

void TFmMain::btnSetAllCardPassWordClick(TObject*) {
  if (!ReaderFree()) return;
  const int n = GetSelectedPort();
  if (n < 0) return;
  std::string oldKey, newKey;
  if (!ReadKeys(oldKey, newKey)) return;
  const bool oPC = chkOldPWNoEny->Checked(), nPC = chkNewNoEny->Checked();

  BeginOperation();
  bool ok;
  int okMsg, failMsg;
  if (chkAutoEditPW->Checked()) {
    ok = SetAutoEditPW(kLibTrue, n, kBaud, kLibTrue, 8, oldKey.c_str(), LibFlag(oPC),
                       newKey.c_str(), LibFlag(nPC)) != 0;
    okMsg = kMsgAutoKeyOn;
    failMsg = kMsgAutoKeyOnFailed;
  } else {
    ok = InitCardAllSectors(true, n, kBaud, oPC, nPC, oldKey, newKey);
    okMsg = kMsgAllSectorsSet;
    failMsg = kMsgAllSectorsFailed;
  }
  EndOperation();
  ShowOutcome(ok, okMsg, failMsg);
}

void TFmMain::chkAutoEditPWClick(TObject*) {
  // Checking sends nothing: the key buttons switch the setting on.
  if (chkAutoEditPW->Checked()) return;
  if (!ReaderFree()) return;
  const int n = GetSelectedPort();
  if (n < 0) return;
  BeginOperation();
  const bool ok = CancelAutoEditPW(kLibTrue, n, kBaud) != 0;
  EndOperation();
  ShowOutcome(ok, kMsgAutoKeyOff, kMsgAutoKeyOffFailed);
}

void TFmMain::btn1Click(TObject*) {
  if (!ReaderFree()) return;
  const int n = GetSelectedPort();
  if (n < 0) return;
  std::string oldKey, newKey;
  if (!ReadKeys(oldKey, newKey)) return;
  const bool oPC = chkOldPWNoEny->Checked();

  BeginOperation();
  char scrambled[DORVEX_KEY_BUFFER] = {};
  ChangeCardPassWord(newKey.c_str(), kSystemScrambleKey, scrambled);
  unsigned char bytes[kSystemBytes];
  DigitsToBytes(SystemCardDigits(scrambled), bytes, kSystemBytes);

  if (!OpenComPort(n, kBaud)) {
    EndOperation();
    ShowMsg(kMsgOpenPortFailed, MB_ICONERROR);
    return;
  }
  int result;
  if (!SetReaderKey(false, n, kBaud, oPC, oldKey)) {
    result = kMsgReaderRefusedKey;
  } else if (!WriteCardBlock(0, n, kBaud, kSystemFirstBlock, kSystemBlocks, bytes)) {
    result = kMsgSystemCardFailed;
  } else if (InitCardSectors(false, n, kBaud, kSystemSector, oPC, true, oldKey, kSystemCardKey)) {
    result = kMsgSystemCardMade;
  } else {
    // The blocks hold the scrambled key, and sector 8 may still open with
    // the card's old key: wipe them under that key before reporting, so
    // that a failed make leaves nothing readable. When the wipe fails as
    // well, the failure is all there is to report.
    if (SetReaderKey(false, n, kBaud, oPC, oldKey))
      WriteCardBlock(0, n, kBaud, kSystemFirstBlock, kSystemBlocks, kNoSystemData);
    result = kMsgSystemCardFailed;
  }
  CloseComPort();
  EndOperation();
  ShowMsg(result, result == kMsgSystemCardMade ? MB_ICONINFORMATION : MB_ICONERROR);
}

void TFmMain::btn2Click(TObject*) {
  if (!ReaderFree()) return;
  const int n = GetSelectedPort();
  if (n < 0) return;

  BeginOperation();
  if (!OpenComPort(n, kBaud)) {
    EndOperation();
    ShowMsg(kMsgOpenPortFailed, MB_ICONERROR);
    return;
  }
  // The hidden key is wiped while the sector still has the system card's
  // key; only then does the sector go back to the factory key. A cancel
  // that stops half way never leaves the scrambled key readable under the
  // factory key.
  const bool ok =
      SetReaderKey(false, n, kBaud, true, kSystemCardKey) &&
      WriteCardBlock(0, n, kBaud, kSystemFirstBlock, kSystemBlocks, kNoSystemData) &&
      InitCardSectors(false, n, kBaud, kSystemSector, true, false, kSystemCardKey, kFactoryKey) &&
      SetReaderKey(false, n, kBaud, false, kFactoryKey);
  if (ok) SendBeep(0, n, kBaud, 1);
  CloseComPort();
  EndOperation();
  ShowOutcome(ok, kMsgSystemCardCancelled, kMsgSystemCardCancelFailed);
}

void TFmMain::medtPassWordKeyPress(TObject*, char& key) {
  if (!IsKeyChar(key)) key = 0;
}

void TFmMain::cbbUserSelect(TObject*) {
  const int i = cbbUser->ItemIndex();
  if (i < 0 || i >= static_cast<int>(profileKeys_.size())) return;
  const std::string& key = profileKeys_[i];
  if (!IsCardKey(key)) {
    ShowMsg(kMsgBadKey, MB_ICONWARNING);
    return;
  }
  medtNewPassWord->SetText(HexSpaced(key));
}

void TFmMain::lbl21Click(TObject*) {
  if (!userMG) userMG = CreateForm<TFmUserMG>(this);
  if (!userMG) return;
  userMG->ShowModal();
  // A file the list could not read was told when the list opened.
  LoadProfiles(false);
}

void TFmMain::LoadProfiles(bool report) {
  TStringVector names;
  if (!LoadUserKeys(names, profileKeys_) && report)
    ShowText(FormatMsg(kMsgProfilesUnreadable, UserKeysFile()), MB_ICONWARNING);
  // One refill of the box for the whole list.
  TStrings* items = cbbUser->Items();
  items->BeginUpdate();
  items->Clear();
  for (const auto& name : names) items->Add(name);
  items->EndUpdate();
  cbbUser->SetItemIndex(-1);
}

void TFmMain::btnStartClick(TObject*) {
  if (operating_) return;
  const int n = GetSelectedPort();
  if (n < 0) return;
  TBatchSetCardPWParam p;
  p.Port = n;
  p.AreaType = cbbEditAreaType->ItemIndex() > 0 ? 1 : 0;
  p.Sectors = cbbAreaNumPW->GetCheckedValues();
  if (p.AreaType == 0 && p.Sectors.empty()) {
    ShowMsg(kMsgChooseSectors, MB_ICONWARNING);
    cbbAreaNumPW->SetFocus();
    return;
  }
  if (!ReadKeys(p.OldKey, p.NewKey)) return;
  p.OldPerCard = chkOldPWNoEny->Checked();
  p.NewPerCard = chkNewNoEny->Checked();
  p.SuccSleep = seSuccSleepTime->Value();
  p.FailSleep = seFailSleepTime->Value();
  p.FailType = cbbSetFailType->ItemIndex() == 0 ? 0 : 1;
  p.ShowMsg = cbbIsShowMsg->Text() == Msg(kMsgYes);

  lblSuccCnt->SetCaption("0");
  lblFailCnt->SetCaption("0");
  batch_ = worker_->StartBatch(p);
  batchRunning_ = true;
  SyncBatchButtons();
}

void TFmMain::btnAbortClick(TObject*) {
  worker_->SetPaused(true);
  batchRunning_ = false;
  SyncBatchButtons();
}

void TFmMain::AddToCounter(TLabel* label) {
  int count = 0;
  if (!ParseDecimal(label->Caption(), count)) count = 0;
  label->SetCaption(std::to_string(count + 1));
}

void TFmMain::OnBatchResult(int batch, bool success) {
  // A result of an attempt that began before the current batch started
  // belongs to no counter on the window.
  if (batch != batch_) return;
  AddToCounter(success ? lblSuccCnt : lblFailCnt);
}
