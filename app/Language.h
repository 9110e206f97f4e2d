// The program's message catalogue: 757 fixed texts addressed by index, in
// the GBK code page. The main window and the batch worker take the text and
// the caption of every message box from here. Nothing loads or saves it.
#pragma once
#include <string>

constexpr int kMessageCount = 757;

// The entries the program uses.
enum MessageIndex : int {
  kMsgCaption = 73,
  kMsgChoosePort = 124,
  kMsgOpenPortFailed = 126,
  kMsgNoPortToDetect = 131,
  kMsgPortDetected = 132,
  kMsgPortDetectFailed = 133,
  kMsgSectorsSet = 139,
  kMsgSectorsFailed = 140,
  kMsgAllSectorsSet = 141,
  kMsgAllSectorsFailed = 142,
  kMsgAutoKeyOff = 143,
  kMsgAutoKeyOffFailed = 144,
  kMsgAutoKeyOn = 145,
  kMsgAutoKeyOnFailed = 146,
  kMsgSystemCardMade = 147,
  kMsgSystemCardFailed = 148,
  kMsgSystemCardCancelled = 149,
  kMsgSystemCardCancelFailed = 150,
  kMsgReaderRefusedKey = 151,
  kMsgChooseSectors = 156,
  kMsgBadKey = 157,
  kMsgBatchRunning = 158,
  kMsgProfilesUnreadable = 159,
  kMsgProfilesUnreadableNotSaved = 160,
  kMsgYes = 177,
};

// Entry `index` (0..756); empty for an entry without text and for any index
// outside the table.
const std::string& Msg(int index);
// Entry `index` with its %d replaced by `number` (entry 132: the port).
std::string FormatMsg(int index, int number);
// Entry `index` with its %s replaced by `text` (entries 159, 160: the file).
std::string FormatMsg(int index, const std::string& text);

// Puts every entry to its default text. Runs once at start-up, before the
// first window.
void InitMessageCatalogue();
// Releases the texts at exit.
void DoneMessageCatalogue();
