// Polling the terminals on the serial bus. Poll requests go out with mark
// parity, one address after another; the first terminal with something to
// report answers. The host then sends that terminal one addressed money frame
// with space parity, within 3 s of its answer and no sooner than 10 ms after
// it; a new poll waits 60 ms after an addressed frame.
#pragma once
#include <cstdint>

#include "Link.h"

namespace halvin {

constexpr uint8_t kPollByte = 0x88;
constexpr uint32_t kFrameGapMs = 60;        // quiet time after an addressed frame
constexpr uint32_t kShortestAnswerAge = 10; // an addressed frame waits this long after the answer
constexpr uint32_t kLongestAnswerAge = 3000;  // and is refused after this
constexpr uint32_t kBusyPollSleepMs = 10;   // a poll refused by the gap sleeps this long

// Addressed frame codes.
constexpr uint8_t kSetBalanceCode = 0x49;
constexpr uint8_t kSetDecMoneyCode = 0x4A;
constexpr uint8_t kSetAddMoneyCode = 0x4B;

// Polls addresses 1..maxAddress (1-255) from the next poll address on.
// 1 when a terminal answered soundly: its device number, card number and
// status go to the outputs, and its two values too when the answer carries
// them (status 0x65 or 0x66). Nothing is written otherwise.
int GetCardInfo(Link& link, int32_t maxAddress, int32_t* device, int32_t* card,
                int32_t* status, int32_t* first, int32_t* second);

// Sends an addressed frame with `code` to `device` (1-255): the byte value
// and 2 (code 0x49) or 3 amounts of 24 bits. 1 when it went out.
int SendAddressedFrame(Link& link, uint8_t code, int32_t device, int32_t byteValue,
                       const int32_t* amounts, int amountCount);

}  // namespace halvin
