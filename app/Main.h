// The main window: the reader's port, the sectors, the card's current key
// and the new one; the one-card operations (keys of the checked or of all
// sectors, the reader's automatic key setting, the system password card),
// the batch worker and the key profiles.
#pragma once
#include <cstdint>
#include <string>

#include "Common.h"
#include "Threads.h"

namespace fw {
class TBitBtn;
class TCheckBox;
class TComboBox;
class TImage;
class TLabel;
class TMaskEdit;
class TSpinEdit;
class TObject;
}  // namespace fw
namespace kv {
class TCheckedComboBox;
class TKvGroupBox;
class TKvLine;
}  // namespace kv

#include "Form.h"

// What the batch worker works with, copied from the window when a batch
// starts.
struct TBatchSetCardPWParam {
  int32_t Port = 0;
  uint8_t AreaType = 0;        // 0: the listed sectors, otherwise all sectors
  std::string Sectors;         // "/"-separated sector list
  bool OldPerCard = false;     // the current key is diversified per card
  bool NewPerCard = false;     // the new key is diversified per card
  std::string OldKey;          // 12 hex digits
  std::string NewKey;          // 12 hex digits
  int32_t SuccSleep = 2;       // seconds to wait after a success
  int32_t FailSleep = 5;       // seconds to wait after a failure
  int32_t FailType = 1;        // 0: pause after a failure, 1: go on
  bool ShowMsg = true;         // show an error box after a failure
};

// The batch worker: one card attempt after another while it is not paused,
// each result reported to the window by a synchronised call, then a wait.
class TSetCardPassWordThr : public fw::TThread {
 public:
  // (batch number, success)
  using TResultEvent = std::function<void(int batch, bool success)>;

  // Starts paused; `owner` owns the worker's own error box.
  TSetCardPassWordThr(HWND owner, TResultEvent onResult);
  // Stops the thread: only the worker's synchronised calls run meanwhile,
  // and an error box it shows is closed.
  ~TSetCardPassWordThr() override;

  bool GetPaused();
  void SetPaused(bool value);
  // Hands the parameters over and unpauses, in one step under the lock.
  // Returns the batch number the results of these parameters carry.
  int StartBatch(const TBatchSetCardPWParam& params);
  // True while not paused or inside an attempt: the reader is in use.
  bool Busy();
  // No more results are reported (the window is going away).
  void DropResults();

 protected:
  void Execute() override;

 private:
  // Waits `seconds` after an attempt of batch `batch`, ending early when
  // paused or when a new batch has started (a stop and a start may both
  // fall between two looks at the pause flag).
  void Wait(int32_t seconds, int batch);
  bool WaitOver(int batch);
  // Pauses after a failed attempt of batch `batch`, unless another batch
  // has started since.
  void PauseAfterFailure(int batch);
  void SyncResult();
  void CloseOwnBox();

  HWND owner_;
  bool paused_ = true;
  fw::TCriticalSection lock_;
  bool lastResult_ = false;
  TResultEvent onResult_;
  TBatchSetCardPWParam params_;
  int batch_ = 0;         // number of the parameters in params_
  int attemptBatch_ = 0;  // number of the attempt being reported
  bool inAttempt_ = false;
  bool inBox_ = false;
};

class TFmMain : public fw::TForm {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFmMain(fw::TComponent* owner) : fw::TForm(owner) {}

  // Form data fields.
  fw::TImage* img3 = nullptr;
  kv::TKvGroupBox* grpComm = nullptr;
  fw::TComboBox* cbbRPort = nullptr;
  fw::TBitBtn* btnChkComPort = nullptr;
  kv::TCheckedComboBox* cbbAreaNumPW = nullptr;
  kv::TKvGroupBox* grpInit = nullptr;
  fw::TMaskEdit* medtPassWord = nullptr;
  fw::TCheckBox* chkOldPWNoEny = nullptr;
  fw::TComboBox* cbbUser = nullptr;
  fw::TLabel* lbl21 = nullptr;
  fw::TMaskEdit* medtNewPassWord = nullptr;
  fw::TCheckBox* chkNewNoEny = nullptr;
  fw::TCheckBox* chkAutoEditPW = nullptr;
  fw::TBitBtn* btnSetOneCardPassWord = nullptr;
  fw::TBitBtn* btnSetAllCardPassWord = nullptr;
  fw::TBitBtn* btn1 = nullptr;
  fw::TBitBtn* btn2 = nullptr;
  kv::TKvLine* kvln1 = nullptr;
  fw::TSpinEdit* seSuccSleepTime = nullptr;
  fw::TSpinEdit* seFailSleepTime = nullptr;
  fw::TComboBox* cbbSetFailType = nullptr;
  fw::TComboBox* cbbIsShowMsg = nullptr;
  fw::TComboBox* cbbEditAreaType = nullptr;
  fw::TBitBtn* btnStart = nullptr;
  fw::TBitBtn* btnAbort = nullptr;
  fw::TLabel* lblSuccCnt = nullptr;
  fw::TLabel* lblFailCnt = nullptr;
  fw::TBitBtn* btnClose = nullptr;

  // Handlers.
  void FormCreate(fw::TObject* sender);
  void FormDestroy(fw::TObject* sender);
  void btnChkComPortClick(fw::TObject* sender);
  void btnCloseClick(fw::TObject* sender);
  void btnSetOneCardPassWordClick(fw::TObject* sender);
  void btnSetAllCardPassWordClick(fw::TObject* sender);
  void btn1Click(fw::TObject* sender);
  void btn2Click(fw::TObject* sender);
  void medtPassWordKeyPress(fw::TObject* sender, char& key);
  void chkAutoEditPWClick(fw::TObject* sender);
  void lbl21Click(fw::TObject* sender);
  void cbbUserSelect(fw::TObject* sender);
  void btnStartClick(fw::TObject* sender);
  void btnAbortClick(fw::TObject* sender);

  // The profile list window clears this when it goes.
  fw::TForm* userMG = nullptr;

 private:
  // The number n of the chosen port COMn, or -1 after asking for a port.
  int GetSelectedPort();
  // One message box of the window: a catalogue text under caption 73.
  void ShowMsg(int index, UINT icon);
  void ShowText(const std::string& text, UINT icon);
  // The success text with the information icon, or the failure text with
  // the error icon.
  void ShowOutcome(bool ok, int okMsg, int failMsg);
  // The compact keys of the two key edits; false (after a warning, with the
  // focus on the edit) when one is not 12 hexadecimal digits.
  bool ReadKeys(std::string& oldKey, std::string& newKey);
  // False (after a warning) while the batch uses the reader or another
  // operation runs.
  bool ReaderFree();
  // Greys out the buttons for an operation and puts them back after it,
  // the batch buttons as the batch stands.
  void BeginOperation();
  void EndOperation();
  void SyncBatchButtons();
  void OnBatchResult(int batch, bool success);
  // Fills the profile box from the profile file; a file that is there but
  // cannot be read leaves it empty, told in a box when `report` is set.
  void LoadProfiles(bool report);
  void AddToCounter(fw::TLabel* label);

  TStringVector profileKeys_;
  TSetCardPassWordThr* worker_ = nullptr;
  bool operating_ = false;
  bool batchRunning_ = false;
  int batch_ = 0;
};
