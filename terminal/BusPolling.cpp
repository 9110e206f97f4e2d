#include "BusPolling.h"

#include "Frame.h"

namespace halvin {

namespace {
constexpr uint8_t kShortAnswer = 0x64;       // card number and device only
constexpr uint8_t kValueAnswers[] = {0x65, 0x66};
constexpr size_t kShortAnswerSize = 6;
constexpr size_t kValueAnswerSize = 12;
constexpr uint32_t kParitySettleMs = 2;
constexpr uint32_t kAnswerRestWaitMs = 10;
constexpr uint32_t kAgeWaitStepMs = 5;
constexpr size_t kAddressedFrameMax = 19;

bool IsAnswerStatus(uint8_t b) {
  return b == kShortAnswer || b == kValueAnswers[0] || b == kValueAnswers[1];
}

// Milliseconds since the last addressed frame, or a day when there was none.
uint32_t SinceLastFrame(const PollState& poll, uint32_t now) {
  return poll.framed ? DayTimeSince(poll.frameTime, now) : kMsPerDay;
}
}  // namespace

int GetCardInfo(Link& link, int32_t maxAddress, int32_t* device, int32_t* card,
                int32_t* status, int32_t* first, int32_t* second) {
  if (maxAddress < 1 || maxAddress > 255 || !link.SerialOpen()) return 0;
  if (!device || !card || !status || !first || !second) return 0;
  PollState& poll = link.Poll();
  Clock& clock = link.Time();

  if (SinceLastFrame(poll, clock.TimeOfDay()) < kFrameGapMs) {
    clock.Sleep(kBusyPollSleepMs);
    return 0;
  }
  link.PurgeSerial();
  clock.Sleep(kParitySettleMs);
  if (!link.SetComParity('M')) return 0;
  clock.Sleep(kParitySettleMs);
  poll.polling = true;

  uint8_t reply[kValueAnswerSize] = {};
  bool found = false;
  for (int32_t tries = 0; tries < maxAddress && !found; ++tries) {
    if (poll.nextAddress > static_cast<uint32_t>(maxAddress)) poll.nextAddress = 1;
    const uint8_t address = static_cast<uint8_t>(poll.nextAddress);
    const uint8_t request[3] = {kPollByte, address, static_cast<uint8_t>(address ^ kPollByte)};
    if (link.Write(request, sizeof request)) {
      link.FlushSerial();
      found = link.ReadExact(reply, 1) && IsAnswerStatus(reply[0]);
    }
    if (!found) ++poll.nextAddress;
  }
  if (!found) {
    poll.polling = false;
    return 0;
  }

  clock.Sleep(kAnswerRestWaitMs);
  const size_t size = reply[0] == kShortAnswer ? kShortAnswerSize : kValueAnswerSize;
  const bool read = link.ReadExact(reply + 1, size - 1);
  poll.polling = false;
  if (!read || frame::XorRange(0, size - 2, reply) != reply[size - 1]) return 0;

  const uint8_t answering = reply[4];
  poll.answered[answering] = true;
  poll.answerTime[answering] = clock.TimeOfDay();
  *status = reply[0];
  *card = static_cast<int32_t>(frame::GetBE(reply + 1, 3));
  *device = answering;
  if (size == kValueAnswerSize) {
    *first = static_cast<int32_t>(frame::GetBE(reply + 5, 3));
    *second = static_cast<int32_t>(frame::GetBE(reply + 8, 3));
  }
  ++poll.nextAddress;
  return 1;
}

int SendAddressedFrame(Link& link, uint8_t code, int32_t device, int32_t byteValue,
                       const int32_t* amounts, int amountCount) {
  // Only a device that can have answered a poll (one address byte) is addressed.
  if (device < 1 || device >= static_cast<int32_t>(PollState::kDevices)) return 0;
  if (byteValue < 0 || byteValue > 0xFF) return 0;
  for (int i = 0; i < amountCount; ++i)
    if (amounts[i] < 0 || amounts[i] > 0xFFFFFF) return 0;
  if (!link.SerialOpen() || !link.SetComParity('S')) return 0;

  const uint16_t len = static_cast<uint16_t>(2 + 3 * amountCount);
  uint8_t frameBytes[kAddressedFrameMax];
  frameBytes[0] = frame::kStart;
  frameBytes[1] = frame::kStart;
  frameBytes[2] = frame::kAddress;
  frame::PutBE(frameBytes + 3, static_cast<uint32_t>(device), 2);
  frame::PutBE(frameBytes + 5, len, 2);
  frameBytes[7] = code;
  frameBytes[8] = static_cast<uint8_t>(byteValue);
  for (int i = 0; i < amountCount; ++i)
    frame::PutBE(frameBytes + 9 + 3 * i, static_cast<uint32_t>(amounts[i]), 3);
  frameBytes[7 + len] = frame::AddressedFrameChecksum(frameBytes);
  const size_t frameLen = 8u + len;

  PollState& poll = link.Poll();
  Clock& clock = link.Time();
  uint32_t now = clock.TimeOfDay();
  // Another device's frame must be 60 ms behind us.
  const uint32_t since = SinceLastFrame(poll, now);
  if (since < kFrameGapMs && static_cast<uint32_t>(device) != poll.frameDevice)
    clock.Sleep(kFrameGapMs - since);

  // The answer must be recent: no frame to a device that has not answered,
  // or whose answer is older than 3 s.
  if (!poll.answered[device]) return 0;
  uint32_t age = DayTimeSince(poll.answerTime[device], now);
  if (age > kLongestAnswerAge) return 0;
  while (age < kShortestAnswerAge) {
    clock.Sleep(kAgeWaitStepMs);
    age = DayTimeSince(poll.answerTime[device], clock.TimeOfDay());
  }

  int sent = 0;
  if (link.Write(frameBytes, frameLen)) {
    link.FlushSerial();
    sent = 1;
  }
  poll.framed = true;
  poll.frameDevice = static_cast<uint32_t>(device);
  poll.frameTime = clock.TimeOfDay();
  return sent;
}

}  // namespace halvin
