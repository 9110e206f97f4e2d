#include "CommandTable.h"

namespace halvin {

namespace {

constexpr int64_t kAnyInt = -2147483648LL;  // lower bound that lets every int through
constexpr int64_t kU16 = 0xFFFF;
constexpr int64_t kU24 = 0xFFFFFF;

constexpr FieldLayout None() { return {Field::kNone, 0, 0, 0, 0, nullptr}; }
// A number that must lie in lo..hi.
constexpr FieldLayout Num(uint8_t width, int64_t lo, int64_t hi) {
  return {Field::kNumber, width, 1, lo, hi, nullptr};
}
// A number with no range of its own: it must fit its field.
constexpr FieldLayout Fit(uint8_t width, uint8_t repeat = 1) {
  return {Field::kNumber, width, repeat, width == 4 ? kAnyInt : 0,
          width == 4 ? 0xFFFFFFFFLL : (1LL << (8 * width)) - 1, nullptr};
}
constexpr FieldLayout Flag() { return {Field::kFlag, 1, 1, 0, 1, nullptr}; }
constexpr FieldLayout Bytes(uint8_t n) { return {Field::kBytes, n, 1, 0, 0, nullptr}; }
constexpr FieldLayout Text(uint8_t n) { return {Field::kText, n, 1, 0, 0, nullptr}; }
constexpr FieldLayout Digits(uint8_t bytes) { return {Field::kDigits, bytes, 1, 0, 0, nullptr}; }
constexpr FieldLayout HexKey() { return {Field::kHexKey, 6, 1, 0, 0, nullptr}; }
constexpr FieldLayout ClockText() { return {Field::kClock, 7, 1, 0, 0, nullptr}; }
constexpr FieldLayout Table(uint8_t width, int64_t hi) {
  return {Field::kTable, width, 1, 0, hi, nullptr};
}
constexpr FieldLayout Flags() { return {Field::kFlagTable, 1, 1, 0, 1, nullptr}; }
constexpr FieldLayout Grid(const GridColumn* columns) {
  return {Field::kGrid, 0, 1, 0, 0, columns};
}
constexpr FieldLayout Menu() { return {Field::kMenu, 0, 1, 1, 9, nullptr}; }
constexpr FieldLayout Block(uint8_t width, int64_t maxLength) {
  return {Field::kBlock, width, 1, 0, maxLength, nullptr};
}

constexpr ReplyLayout Ack() { return {Reply::kAck, 0, 0, {0, 0, 0}}; }
constexpr ReplyLayout Numbers(uint8_t a, uint8_t b = 0, uint8_t c = 0) {
  return {Reply::kNumbers, 0, static_cast<uint8_t>(1 + (b != 0) + (c != 0)), {a, b, c}};
}
constexpr ReplyLayout DigitsOut(uint8_t bytes) { return {Reply::kDigits, bytes, 0, {0, 0, 0}}; }
constexpr ReplyLayout TextOut(uint8_t bytes) { return {Reply::kText, bytes, 0, {0, 0, 0}}; }
constexpr ReplyLayout FlashOut() { return {Reply::kFlash, 0, 0, {0, 0, 0}}; }
constexpr ReplyLayout Records() { return {Reply::kRecords, 0, 0, {0, 0, 0}}; }

// Record layouts of the three grid commands: column, width, largest value.
constexpr GridColumn kPeriodLimitGrid[kGridColumns] = {
    {0, 2, kU16}, {4, 3, kU24}, {1, 2, kU16}, {5, 3, kU24},
    {2, 2, kU16}, {6, 3, kU24}, {3, 2, kU16}, {7, 3, kU24}};
constexpr GridColumn kTimeMoneyGrid[kGridColumns] = {
    {0, 1, 0xFF}, {1, 3, kU24}, {2, 1, 0xFF}, {3, 1, 0xFF},
    {4, 3, kU24}, {5, 1, 0xFF}, {6, 1, 0xFF}, {7, 3, kU24}};
constexpr GridColumn kPeriodMoneyGrid[kGridColumns] = {
    {0, 3, kU24}, {1, 3, kU24}, {2, 3, kU24}, {3, 3, kU24},
    {4, 3, kU24}, {5, 3, kU24}, {6, 3, kU24}, {7, 3, kU24}};

// name, code, attempts (0 = retry count), count 0 succeeds at once,
// request fields, reply.
constexpr Command kCommands[kCommandCount] = {
    {"SetDevNo", 0x07, 3, false, {Num(2, 1, 65535), None()}, Ack()},
    {"SetBaud", 0x08, 0, false, {Num(1, 0, 4), None()}, Ack()},
    {"SetDevTime", 0x09, 0, false, {ClockText(), None()}, Ack()},
    {"GetDevTime", 0x0A, 0, false, {None(), None()}, DigitsOut(6)},
    {"SetMAGCard", 0x0B, 0, false, {Num(4, 1, 300000), None()}, Ack()},
    {"SetMenuPassWord", 0x0C, 0, false, {Bytes(4), None()}, Ack()},
    {"SetScreen", 0x0D, 0, false, {Text(16), None()}, Ack()},
    {"SetPrintTilte", 0x0E, 0, false, {Text(16), None()}, Ack()},
    {"SetAutoPrint", 0x0F, 0, false, {Flag(), None()}, Ack()},
    {"SetWorkType", 0x10, 0, false, {Num(1, 0, 8), None()}, Ack()},
    {"SetDoorType", 0x11, 0, false, {Num(1, 0, 2), None()}, Ack()},
    {"SetPeriod", 0x12, 0, false, {Digits(24), None()}, Ack()},
    {"SetIsLimitTime", 0x13, 0, false, {Flags(), None()}, Ack()},
    {"SetLimitTime", 0x14, 0, false, {Table(2, kU16), None()}, Ack()},
    {"SetIsLimitMoney", 0x15, 0, false, {Flags(), None()}, Ack()},
    {"SetLimitMoney", 0x16, 0, false, {Table(3, kU24), None()}, Ack()},
    {"SetIsPeriodLimit", 0x17, 0, false, {Flags(), None()}, Ack()},
    {"SetOutPeriodUse", 0x18, 0, false, {Flags(), None()}, Ack()},
    {"SetPeriodLimit", 0x19, 0, false, {Grid(kPeriodLimitGrid), None()}, Ack()},
    {"SetSleep", 0x1A, 0, false, {Num(1, 0, 255), None()}, Ack()},
    {"SetAllowLeave", 0x1B, 0, false, {Num(2, 0, 32767), None()}, Ack()},
    {"SetSaveMoney", 0x1C, 0, false, {Table(3, kU16), None()}, Ack()},
    {"SetFixedMoney", 0x1D, 0, false, {Num(3, 0, kU24), None()}, Ack()},
    {"SetTimeMoney", 0x1E, 0, false, {Grid(kTimeMoneyGrid), None()}, Ack()},
    {"SetPeriodMoney", 0x1F, 0, false, {Grid(kPeriodMoneyGrid), None()}, Ack()},
    {"SetMenuMoney", 0x20, 0, false, {Menu(), None()}, Ack()},
    {"SetDiscount", 0x21, 0, false, {Table(1, 100), None()}, Ack()},
    {"ClearBlackCard", 0x22, 0, false, {None(), None()}, Ack()},
    {"GetAllMoneyInfo", 0x23, 0, false, {None(), None()}, Numbers(2, 4, 2)},
    {"LoseCard", 0x24, 0, false, {Fit(4), None()}, Ack()},
    {"UnLoseCard", 0x25, 0, false, {Fit(4), None()}, Ack()},
    {"DownRecord", 0x26, 0, false, {Fit(3), None()}, Records()},
    {"DeleteRecord", 0x27, 0, false, {None(), None()}, Ack()},
    {"RealDownRecord", 0x28, 1, false, {None(), None()}, Records()},
    {"DeleteRealRecord", 0x29, 1, true, {Num(1, 0, 255), None()}, Ack()},
    {"RegainDelRecord", 0x2D, 0, true, {Num(2, 0, 40000), None()}, Ack()},
    {"GetCardSubsidy", 0x2E, 0, false, {Fit(4), None()}, Numbers(3)},
    {"AddSubsidy", 0x2F, 0, false, {Fit(4), Fit(3)}, Ack()},
    {"DecSubsidy", 0x30, 0, false, {Fit(4), Fit(3)}, Ack()},
    {"ClearAllSubsidy", 0x31, 0, false, {None(), None()}, Ack()},
    {"SetIsClearSubsidy", 0x32, 0, false, {Flag(), None()}, Ack()},
    {"SetTcpNetParam", 0x33, 0, false, {Fit(1, 12), None()}, Ack()},
    {"SetGPRSNetParam", 0x34, 0, false, {Fit(1), Block(1, 41)}, Ack()},
    {"SetDevVersion", 0x35, 0, false, {Text(10), None()}, Ack()},
    {"GetDevVersion", 0x36, 0, false, {None(), None()}, TextOut(10)},
    {"SetStartBlock", 0x37, 0, false, {Num(1, 1, 13), None()}, Ack()},
    {"SetDevPassWord", 0x38, 0, false, {HexKey(), None()}, Ack()},
    {"SetSoundInfo", 0x39, 0, false, {Num(1, 0, 1), None()}, Ack()},
    {"SetOneLimitMoney", 0x40, 0, false, {Table(3, kU24), None()}, Ack()},
    {"GetFlashBuf", 0x41, 0, false, {Num(3, 1, 0x400000), Num(1, 1, 255)}, FlashOut()},
    {"InitDev", 0x42, 0, false, {None(), None()}, Ack()},
    {"CheckFlash", 0x43, 0, false, {None(), None()}, Ack()},
    {"ReadRegainDelRecordCnt", 0x44, 0, false, {None(), None()}, Numbers(2)},
    {"SetFactoryTime", 0x45, 0, false, {Digits(6), None()}, Ack()},
    {"GetFactoryTime", 0x46, 0, false, {None(), None()}, DigitsOut(6)},
    {"GetDayMoneyInfo", 0x47, 0, false, {None(), None()}, Numbers(2, 4)},
    {"SetKeyMoney", 0x48, 0, false, {Num(1, 1, 2), Num(2, 0, 65535)}, Ack()},
    {"DownFont", 0x4C, 0, false, {Fit(3), Block(2, 586)}, Ack()},
    {"DecMoneySpeed", 0x4D, 0, false, {Num(1, 1, 255), None()}, Ack()},
    {"AddMoneySpeed", 0x4E, 0, false, {Num(1, 1, 255), None()}, Ack()},
    {"DecMoneyUnit", 0x4F, 0, false, {Num(2, 1, 65535), None()}, Ack()},
    {"AddMoneyUnit", 0x50, 0, false, {Num(2, 1, 65535), Fit(2)}, Ack()},
    {"SetRelayIsOpen", 0x51, 0, false, {Flag(), None()}, Ack()},
    {"SetRelayOpenTime", 0x52, 0, false, {Fit(2), None()}, Ack()},
    {"SetGameIsSwingCard", 0x55, 0, false, {Flag(), None()}, Ack()},
    {"SetIsMonthCount", 0x56, 0, false, {Flags(), None()}, Ack()},
    {"SetMonthCount", 0x57, 0, false, {Table(2, kU16), None()}, Ack()},
};

}  // namespace

const Command& CommandFor(Cmd id) { return kCommands[static_cast<size_t>(id)]; }
const Command* CommandTable() { return kCommands; }

}  // namespace halvin
