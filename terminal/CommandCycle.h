// One routine for every terminal command: test the arguments, open the link
// if asked, make the request from the command's table entry, exchange it with
// the terminal up to the command's number of attempts, and hand the reply
// data to the outputs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "CommandTable.h"
#include "Link.h"

namespace halvin {

// One export argument after the open-and-close flag and the device number:
// an int, or a pointer to a text, table, buffer or output.
struct Arg {
  int32_t value = 0;
  const void* ptr = nullptr;
  Arg(int32_t v) : value(v) {}                // NOLINT: arguments read like the export's
  Arg(const void* p) : ptr(p) {}              // NOLINT
};

// The caller's menu record of SetMenuMoney, with the platform's natural alignment.
struct MenuMoneyRecord {
  int32_t firstByte[kMenuEntries];
  int32_t secondByte[kMenuEntries];
  char shortText[kMenuEntries][7];
  char longText[kMenuEntries][16];
  int32_t price[kMenuEntries];
};

// Builds the whole request frame of `cmd` to `device` into `out`. Returns its
// length, or 0 when an argument is refused (out of range, missing, too short,
// too long). `used` gets the number of arguments the request took.
size_t BuildRequest(const Command& cmd, int32_t device, const Arg* args, size_t count,
                    uint8_t* out, size_t cap, size_t* used);

// Runs the command cycle; 1 or 0.
int RunCommand(Link& link, Cmd id, int32_t openAndClose, int32_t device, const Arg* args,
               size_t count);
inline int RunCommand(Link& link, Cmd id, int32_t openAndClose, int32_t device,
                      std::initializer_list<Arg> args = {}) {
  return RunCommand(link, id, openAndClose, device, args.begin(), args.size());
}

}  // namespace halvin
