/* Halvin.dll: the payment terminal library.
 *
 * Configures payment terminals and collects their transaction records over a
 * serial bus (several terminals, each with its device number) or one TCP
 * connection, and polls the terminals of a serial bus by address.
 *
 * Every function is stdcall and returns 1 for success, 0 for failure. The
 * first argument of a terminal command is the open-and-close flag: nonzero
 * opens the link (OpenPort) before the command and closes it after; 0 uses
 * the link opened before. The second is the device number, 1-65535.
 * Outputs are written only on success; text outputs end with a NUL.
 * Calls must not overlap: the link is one per process.
 */
#ifndef HALVIN_H
#define HALVIN_H

#ifdef __cplusplus
extern "C" {
#endif

#define HALVIN_API __stdcall

/* SetMenuMoney's menu record: nine entries; all nine are sent, whatever the count. */
typedef struct HalvinMenuMoney {
  int firstByte[9];
  int secondByte[9];
  char shortText[9][7];
  char longText[9][16];
  int price[9];
} HalvinMenuMoney;

/* Link. mode 0: serial port COMn at baud; nonzero: TCP to address:tcpPort. */
int HALVIN_API SetConnNetParam(int mode, int port, int baud, const char* address, int tcpPort);
int HALVIN_API OpenPort(void);
int HALVIN_API ClosePort(void);

/* Terminal commands. Tables are int[15]; grids are int[8][15]. */
int HALVIN_API SetDevNo(int open, int device, int newDevice);
int HALVIN_API SetBaud(int open, int device, int baudCode);
int HALVIN_API SetDevTime(int open, int device, const char* time13);
int HALVIN_API GetDevTime(int open, int device, char* time13);
int HALVIN_API SetMAGCard(int open, int device, int value);
int HALVIN_API SetMenuPassWord(int open, int device, const unsigned char* password4);
int HALVIN_API SetScreen(int open, int device, const char* text16);
int HALVIN_API SetPrintTilte(int open, int device, const char* text16);
int HALVIN_API SetAutoPrint(int open, int device, int flag);
int HALVIN_API SetWorkType(int open, int device, int value);
int HALVIN_API SetDoorType(int open, int device, int value);
int HALVIN_API SetPeriod(int open, int device, const char* digits48);
int HALVIN_API SetIsLimitTime(int open, int device, const int* table);
int HALVIN_API SetLimitTime(int open, int device, const int* table);
int HALVIN_API SetIsLimitMoney(int open, int device, const int* table);
int HALVIN_API SetLimitMoney(int open, int device, const int* table);
int HALVIN_API SetIsPeriodLimit(int open, int device, const int* table);
int HALVIN_API SetOutPeriodUse(int open, int device, const int* table);
int HALVIN_API SetPeriodLimit(int open, int device, const int* grid);
int HALVIN_API SetSleep(int open, int device, int value);
int HALVIN_API SetAllowLeave(int open, int device, int value);
int HALVIN_API SetSaveMoney(int open, int device, const int* table);
int HALVIN_API SetFixedMoney(int open, int device, int amount);
int HALVIN_API SetTimeMoney(int open, int device, const int* grid);
int HALVIN_API SetPeriodMoney(int open, int device, const int* grid);
int HALVIN_API SetMenuMoney(int open, int device, int count, const HalvinMenuMoney* menu);
int HALVIN_API SetDiscount(int open, int device, const int* table);
int HALVIN_API ClearBlackCard(int open, int device);
int HALVIN_API GetAllMoneyInfo(int open, int device, int* first, int* second, int* third);
int HALVIN_API LoseCard(int open, int device, int card);
int HALVIN_API UnLoseCard(int open, int device, int card);
/* Record downloads: *count gets the number of records, `records` the record
 * bytes (at most 1015) and a 0 byte after them. */
int HALVIN_API DownRecord(int open, int device, int index, int* count, unsigned char* records);
int HALVIN_API DeleteRecord(int open, int device);
int HALVIN_API RealDownRecord(int open, int device, int* count, unsigned char* records);
int HALVIN_API DeleteRealRecord(int open, int device, int count);
int HALVIN_API RegainDelRecord(int open, int device, int count);
int HALVIN_API GetCardSubsidy(int open, int device, int card, int* amount);
int HALVIN_API AddSubsidy(int open, int device, int card, int amount);
int HALVIN_API DecSubsidy(int open, int device, int card, int amount);
int HALVIN_API ClearAllSubsidy(int open, int device);
int HALVIN_API SetIsClearSubsidy(int open, int device, int flag);
int HALVIN_API SetTcpNetParam(int open, int device, int v1, int v2, int v3, int v4, int v5,
                              int v6, int v7, int v8, int v9, int v10, int v11, int v12);
int HALVIN_API SetGPRSNetParam(int open, int device, int value, int length,
                               const unsigned char* bytes);
int HALVIN_API SetDevVersion(int open, int device, const char* text10);
int HALVIN_API GetDevVersion(int open, int device, char* text11);
int HALVIN_API SetStartBlock(int open, int device, int value);
int HALVIN_API SetDevPassWord(int open, int device, const char* key12);
int HALVIN_API SetSoundInfo(int open, int device, int value);
int HALVIN_API SetOneLimitMoney(int open, int device, const int* table);
int HALVIN_API GetFlashBuf(int open, int device, int address, int length, unsigned char* out);
int HALVIN_API InitDev(int open, int device);
int HALVIN_API CheckFlash(int open, int device);
int HALVIN_API ReadRegainDelRecordCnt(int open, int device, int* count);
int HALVIN_API SetFactoryTime(int open, int device, const char* digits12);
int HALVIN_API GetFactoryTime(int open, int device, char* time13);
int HALVIN_API GetDayMoneyInfo(int open, int device, int* first, int* second);
int HALVIN_API SetKeyMoney(int open, int device, int key, int amount);
int HALVIN_API DownFont(int open, int device, int address, int length, const unsigned char* bytes);
int HALVIN_API DecMoneySpeed(int open, int device, int value);
int HALVIN_API AddMoneySpeed(int open, int device, int value);
int HALVIN_API DecMoneyUnit(int open, int device, int value);
int HALVIN_API AddMoneyUnit(int open, int device, int value, int second);
int HALVIN_API SetRelayIsOpen(int open, int device, int flag);
int HALVIN_API SetRelayOpenTime(int open, int device, int value);
int HALVIN_API SetGameIsSwingCard(int open, int device, int flag);
int HALVIN_API SetIsMonthCount(int open, int device, const int* table);
int HALVIN_API SetMonthCount(int open, int device, const int* table);

/* Bus polling (serial link opened with OpenPort, kept open). */
int HALVIN_API GetCardInfo(int maxAddress, int* device, int* card, int* status, int* first,
                           int* second);
int HALVIN_API SetBalance(int device, int value, int amount1, int amount2);
int HALVIN_API SetDecMoney(int device, int value, int amount1, int amount2, int amount3);
int HALVIN_API SetAddMoney(int device, int value, int amount1, int amount2, int amount3);

#ifdef __cplusplus
}
#endif

#endif /* HALVIN_H */
