// The exported functions of Halvin.dll: thin wrappers that hand their
// arguments to the link, the command cycle or the bus polling. The link and
// its platform parts are process-wide, as the calling convention promises.
#include "Halvin.h"

#include <cstddef>

#include "BusPolling.h"
#include "CommandCycle.h"
#include "Link.h"
#include "SystemClock.h"
#include "Win32SerialPort.h"
#include "WinSockSocket.h"

using namespace halvin;

static_assert(sizeof(HalvinMenuMoney) == sizeof(MenuMoneyRecord), "menu record layout");
static_assert(offsetof(HalvinMenuMoney, price) == offsetof(MenuMoneyRecord, price),
              "menu record layout");
static_assert(sizeof(int) == 4 && sizeof(void*) == 4, "32-bit arguments");

namespace {

Win32SerialPort gSerial;
WinSockSocket gSocket;
SystemClock gClock;
Link gLink(gSerial, gSocket, gClock);

int Run(Cmd id, int open, int device, std::initializer_list<Arg> args = {}) {
  return RunCommand(gLink, id, open, device, args);
}

int SendMoneyFrame(uint8_t code, int device, int value, std::initializer_list<int32_t> amounts) {
  return SendAddressedFrame(gLink, code, device, value, amounts.begin(),
                            static_cast<int>(amounts.size()));
}

}  // namespace

extern "C" {

int HALVIN_API SetConnNetParam(int mode, int port, int baud, const char* address, int tcpPort) {
  return gLink.SetConnNetParam(mode, port, baud, address, tcpPort);
}

int HALVIN_API OpenPort(void) { return gLink.Open(); }

int HALVIN_API ClosePort(void) { return gLink.Close(); }

int HALVIN_API SetDevNo(int open, int device, int newDevice) {
  return Run(Cmd::kSetDevNo, open, device, {newDevice});
}

int HALVIN_API SetBaud(int open, int device, int baudCode) {
  return Run(Cmd::kSetBaud, open, device, {baudCode});
}

int HALVIN_API SetDevTime(int open, int device, const char* time13) {
  return Run(Cmd::kSetDevTime, open, device, {time13});
}

int HALVIN_API GetDevTime(int open, int device, char* time13) {
  return Run(Cmd::kGetDevTime, open, device, {time13});
}

int HALVIN_API SetMAGCard(int open, int device, int value) {
  return Run(Cmd::kSetMAGCard, open, device, {value});
}

int HALVIN_API SetMenuPassWord(int open, int device, const unsigned char* password4) {
  return Run(Cmd::kSetMenuPassWord, open, device, {password4});
}

int HALVIN_API SetScreen(int open, int device, const char* text16) {
  return Run(Cmd::kSetScreen, open, device, {text16});
}

int HALVIN_API SetPrintTilte(int open, int device, const char* text16) {
  return Run(Cmd::kSetPrintTilte, open, device, {text16});
}

int HALVIN_API SetAutoPrint(int open, int device, int flag) {
  return Run(Cmd::kSetAutoPrint, open, device, {flag});
}

int HALVIN_API SetWorkType(int open, int device, int value) {
  return Run(Cmd::kSetWorkType, open, device, {value});
}

int HALVIN_API SetDoorType(int open, int device, int value) {
  return Run(Cmd::kSetDoorType, open, device, {value});
}

int HALVIN_API SetPeriod(int open, int device, const char* digits48) {
  return Run(Cmd::kSetPeriod, open, device, {digits48});
}

int HALVIN_API SetIsLimitTime(int open, int device, const int* table) {
  return Run(Cmd::kSetIsLimitTime, open, device, {table});
}

int HALVIN_API SetLimitTime(int open, int device, const int* table) {
  return Run(Cmd::kSetLimitTime, open, device, {table});
}

int HALVIN_API SetIsLimitMoney(int open, int device, const int* table) {
  return Run(Cmd::kSetIsLimitMoney, open, device, {table});
}

int HALVIN_API SetLimitMoney(int open, int device, const int* table) {
  return Run(Cmd::kSetLimitMoney, open, device, {table});
}

int HALVIN_API SetIsPeriodLimit(int open, int device, const int* table) {
  return Run(Cmd::kSetIsPeriodLimit, open, device, {table});
}

int HALVIN_API SetOutPeriodUse(int open, int device, const int* table) {
  return Run(Cmd::kSetOutPeriodUse, open, device, {table});
}

int HALVIN_API SetPeriodLimit(int open, int device, const int* grid) {
  return Run(Cmd::kSetPeriodLimit, open, device, {grid});
}

int HALVIN_API SetSleep(int open, int device, int value) {
  return Run(Cmd::kSetSleep, open, device, {value});
}

int HALVIN_API SetAllowLeave(int open, int device, int value) {
  return Run(Cmd::kSetAllowLeave, open, device, {value});
}

int HALVIN_API SetSaveMoney(int open, int device, const int* table) {
  return Run(Cmd::kSetSaveMoney, open, device, {table});
}

int HALVIN_API SetFixedMoney(int open, int device, int amount) {
  return Run(Cmd::kSetFixedMoney, open, device, {amount});
}

int HALVIN_API SetTimeMoney(int open, int device, const int* grid) {
  return Run(Cmd::kSetTimeMoney, open, device, {grid});
}

int HALVIN_API SetPeriodMoney(int open, int device, const int* grid) {
  return Run(Cmd::kSetPeriodMoney, open, device, {grid});
}

int HALVIN_API SetMenuMoney(int open, int device, int count, const HalvinMenuMoney* menu) {
  return Run(Cmd::kSetMenuMoney, open, device, {count, menu});
}

int HALVIN_API SetDiscount(int open, int device, const int* table) {
  return Run(Cmd::kSetDiscount, open, device, {table});
}

int HALVIN_API ClearBlackCard(int open, int device) {
  return Run(Cmd::kClearBlackCard, open, device);
}

int HALVIN_API GetAllMoneyInfo(int open, int device, int* first, int* second, int* third) {
  return Run(Cmd::kGetAllMoneyInfo, open, device, {first, second, third});
}

int HALVIN_API LoseCard(int open, int device, int card) {
  return Run(Cmd::kLoseCard, open, device, {card});
}

int HALVIN_API UnLoseCard(int open, int device, int card) {
  return Run(Cmd::kUnLoseCard, open, device, {card});
}

int HALVIN_API DownRecord(int open, int device, int index, int* count, unsigned char* records) {
  return Run(Cmd::kDownRecord, open, device, {index, count, records});
}

int HALVIN_API DeleteRecord(int open, int device) {
  return Run(Cmd::kDeleteRecord, open, device);
}

int HALVIN_API RealDownRecord(int open, int device, int* count, unsigned char* records) {
  return Run(Cmd::kRealDownRecord, open, device, {count, records});
}

int HALVIN_API DeleteRealRecord(int open, int device, int count) {
  return Run(Cmd::kDeleteRealRecord, open, device, {count});
}

int HALVIN_API RegainDelRecord(int open, int device, int count) {
  return Run(Cmd::kRegainDelRecord, open, device, {count});
}

int HALVIN_API GetCardSubsidy(int open, int device, int card, int* amount) {
  return Run(Cmd::kGetCardSubsidy, open, device, {card, amount});
}

int HALVIN_API AddSubsidy(int open, int device, int card, int amount) {
  return Run(Cmd::kAddSubsidy, open, device, {card, amount});
}

int HALVIN_API DecSubsidy(int open, int device, int card, int amount) {
  return Run(Cmd::kDecSubsidy, open, device, {card, amount});
}

int HALVIN_API ClearAllSubsidy(int open, int device) {
  return Run(Cmd::kClearAllSubsidy, open, device);
}

int HALVIN_API SetIsClearSubsidy(int open, int device, int flag) {
  return Run(Cmd::kSetIsClearSubsidy, open, device, {flag});
}

int HALVIN_API SetTcpNetParam(int open, int device, int v1, int v2, int v3, int v4, int v5,
                              int v6, int v7, int v8, int v9, int v10, int v11, int v12) {
  return Run(Cmd::kSetTcpNetParam, open, device,
             {v1, v2, v3, v4, v5, v6, v7, v8, v9, v10, v11, v12});
}

int HALVIN_API SetGPRSNetParam(int open, int device, int value, int length,
                               const unsigned char* bytes) {
  return Run(Cmd::kSetGPRSNetParam, open, device, {value, length, bytes});
}

int HALVIN_API SetDevVersion(int open, int device, const char* text10) {
  return Run(Cmd::kSetDevVersion, open, device, {text10});
}

int HALVIN_API GetDevVersion(int open, int device, char* text11) {
  return Run(Cmd::kGetDevVersion, open, device, {text11});
}

int HALVIN_API SetStartBlock(int open, int device, int value) {
  return Run(Cmd::kSetStartBlock, open, device, {value});
}

int HALVIN_API SetDevPassWord(int open, int device, const char* key12) {
  return Run(Cmd::kSetDevPassWord, open, device, {key12});
}

int HALVIN_API SetSoundInfo(int open, int device, int value) {
  return Run(Cmd::kSetSoundInfo, open, device, {value});
}

int HALVIN_API SetOneLimitMoney(int open, int device, const int* table) {
  return Run(Cmd::kSetOneLimitMoney, open, device, {table});
}

int HALVIN_API GetFlashBuf(int open, int device, int address, int length, unsigned char* out) {
  return Run(Cmd::kGetFlashBuf, open, device, {address, length, out});
}

int HALVIN_API InitDev(int open, int device) {
  return Run(Cmd::kInitDev, open, device);
}

int HALVIN_API CheckFlash(int open, int device) {
  return Run(Cmd::kCheckFlash, open, device);
}

int HALVIN_API ReadRegainDelRecordCnt(int open, int device, int* count) {
  return Run(Cmd::kReadRegainDelRecordCnt, open, device, {count});
}

int HALVIN_API SetFactoryTime(int open, int device, const char* digits12) {
  return Run(Cmd::kSetFactoryTime, open, device, {digits12});
}

int HALVIN_API GetFactoryTime(int open, int device, char* time13) {
  return Run(Cmd::kGetFactoryTime, open, device, {time13});
}

int HALVIN_API GetDayMoneyInfo(int open, int device, int* first, int* second) {
  return Run(Cmd::kGetDayMoneyInfo, open, device, {first, second});
}

int HALVIN_API SetKeyMoney(int open, int device, int key, int amount) {
  return Run(Cmd::kSetKeyMoney, open, device, {key, amount});
}

int HALVIN_API DownFont(int open, int device, int address, int length, const unsigned char* bytes) {
  return Run(Cmd::kDownFont, open, device, {address, length, bytes});
}

int HALVIN_API DecMoneySpeed(int open, int device, int value) {
  return Run(Cmd::kDecMoneySpeed, open, device, {value});
}

int HALVIN_API AddMoneySpeed(int open, int device, int value) {
  return Run(Cmd::kAddMoneySpeed, open, device, {value});
}

int HALVIN_API DecMoneyUnit(int open, int device, int value) {
  return Run(Cmd::kDecMoneyUnit, open, device, {value});
}

int HALVIN_API AddMoneyUnit(int open, int device, int value, int second) {
  return Run(Cmd::kAddMoneyUnit, open, device, {value, second});
}

int HALVIN_API SetRelayIsOpen(int open, int device, int flag) {
  return Run(Cmd::kSetRelayIsOpen, open, device, {flag});
}

int HALVIN_API SetRelayOpenTime(int open, int device, int value) {
  return Run(Cmd::kSetRelayOpenTime, open, device, {value});
}

int HALVIN_API SetGameIsSwingCard(int open, int device, int flag) {
  return Run(Cmd::kSetGameIsSwingCard, open, device, {flag});
}

int HALVIN_API SetIsMonthCount(int open, int device, const int* table) {
  return Run(Cmd::kSetIsMonthCount, open, device, {table});
}

int HALVIN_API SetMonthCount(int open, int device, const int* table) {
  return Run(Cmd::kSetMonthCount, open, device, {table});
}

int HALVIN_API GetCardInfo(int maxAddress, int* device, int* card, int* status, int* first,
                           int* second) {
  return halvin::GetCardInfo(gLink, maxAddress, device, card, status, first, second);
}

int HALVIN_API SetBalance(int device, int value, int amount1, int amount2) {
  return SendMoneyFrame(kSetBalanceCode, device, value, {amount1, amount2});
}

int HALVIN_API SetDecMoney(int device, int value, int amount1, int amount2, int amount3) {
  return SendMoneyFrame(kSetDecMoneyCode, device, value, {amount1, amount2, amount3});
}

int HALVIN_API SetAddMoney(int device, int value, int amount1, int amount2, int amount3) {
  return SendMoneyFrame(kSetAddMoneyCode, device, value, {amount1, amount2, amount3});
}

}  // extern "C"
