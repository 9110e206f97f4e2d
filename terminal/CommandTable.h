// The terminal commands as data: for each one its code, how its request data
// is made from the export's arguments, what its reply carries and how many
// attempts it gets. One routine (CommandCycle) runs them all.
#pragma once
#include <cstddef>
#include <cstdint>

namespace halvin {

// How one request field takes its bytes from the export's arguments.
enum class Field : uint8_t {
  kNone,
  kNumber,     // `repeat` ints, `width` big-endian bytes each, each lo..hi
  kFlag,       // an int: one byte, 1 when nonzero
  kBytes,      // a buffer: its first `width` bytes as they are
  kText,       // a text: up to `width` characters, zero bytes after its end
  kDigits,     // a text of 2 * width decimal digits: one byte per digit pair
  kHexKey,     // a text of 2 * width hex digits: one byte per pair
  kClock,      // a text of 13 characters: six digit pairs, then one hex digit
  kTable,      // an int[15]: 15 fields of `width` bytes, each lo..hi
  kFlagTable,  // an int[15]: 15 flag bytes
  kGrid,       // an int[8][15]: 15 records over the columns of `grid`
  kMenu,       // a count 1-9 and a MenuMoneyRecord: count, then 9 entries of 28
  kBlock,      // a length n (0..hi, sent in `width` bytes) and n bytes of a buffer
};

// One column of a grid record: which column of int[8][15], its width and
// largest value.
struct GridColumn {
  uint8_t column;
  uint8_t width;
  uint32_t hi;
};

struct FieldLayout {
  Field kind;
  uint8_t width;
  uint8_t repeat;
  int64_t lo;
  int64_t hi;
  const GridColumn* grid;  // kGrid: 8 columns in record order
};

// What a reply carries and where it goes.
enum class Reply : uint8_t {
  kAck,      // nothing
  kNumbers,  // `count` big-endian fields of `widths` into int outputs
  kDigits,   // `size` bytes into a text output, two digits per byte and a NUL
  kText,     // `size` bytes and a NUL into a buffer output
  kFlash,    // as many bytes as the request's length argument, and a NUL
  kRecords,  // record download: count output and record buffer output
};

struct ReplyLayout {
  Reply kind;
  uint8_t size;       // kDigits, kText
  uint8_t count;      // kNumbers
  uint8_t widths[3];  // kNumbers
};

constexpr size_t kMaxFields = 2;

struct Command {
  const char* name;
  uint8_t code;
  uint8_t attempts;   // 0: the link's retry count
  bool zeroIsDone;    // a first argument of 0 succeeds at once, nothing sent
  FieldLayout fields[kMaxFields];
  ReplyLayout reply;
};

// Every terminal command, in code order.
enum class Cmd : uint8_t {
  kSetDevNo, kSetBaud, kSetDevTime, kGetDevTime, kSetMAGCard, kSetMenuPassWord,
  kSetScreen, kSetPrintTilte, kSetAutoPrint, kSetWorkType, kSetDoorType, kSetPeriod,
  kSetIsLimitTime, kSetLimitTime, kSetIsLimitMoney, kSetLimitMoney, kSetIsPeriodLimit,
  kSetOutPeriodUse, kSetPeriodLimit, kSetSleep, kSetAllowLeave, kSetSaveMoney,
  kSetFixedMoney, kSetTimeMoney, kSetPeriodMoney, kSetMenuMoney, kSetDiscount,
  kClearBlackCard, kGetAllMoneyInfo, kLoseCard, kUnLoseCard, kDownRecord, kDeleteRecord,
  kRealDownRecord, kDeleteRealRecord, kRegainDelRecord, kGetCardSubsidy, kAddSubsidy,
  kDecSubsidy, kClearAllSubsidy, kSetIsClearSubsidy, kSetTcpNetParam, kSetGPRSNetParam,
  kSetDevVersion, kGetDevVersion, kSetStartBlock, kSetDevPassWord, kSetSoundInfo,
  kSetOneLimitMoney, kGetFlashBuf, kInitDev, kCheckFlash, kReadRegainDelRecordCnt,
  kSetFactoryTime, kGetFactoryTime, kGetDayMoneyInfo, kSetKeyMoney, kDownFont,
  kDecMoneySpeed, kAddMoneySpeed, kDecMoneyUnit, kAddMoneyUnit, kSetRelayIsOpen,
  kSetRelayOpenTime, kSetGameIsSwingCard, kSetIsMonthCount, kSetMonthCount,
  kCount
};

constexpr size_t kCommandCount = static_cast<size_t>(Cmd::kCount);

const Command& CommandFor(Cmd id);
const Command* CommandTable();  // kCommandCount entries

// Sizes that bound a request and a record download reply.
constexpr size_t kMaxRequest = 600;        // the largest request frame (DownFont)
constexpr size_t kMaxDownload = 1024;      // the largest record download frame
constexpr size_t kTableEntries = 15;       // entries of a table, records of a grid
constexpr size_t kGridColumns = 8;
constexpr size_t kMenuEntries = 9;

}  // namespace halvin
