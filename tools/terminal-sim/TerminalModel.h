// One simulated payment terminal: its device number and the settings,
// tables, clock, money figures, subsidies, blacklist, flash and transaction
// records that the terminal commands read and write. It answers one command
// frame with one reply frame; the bus around it (TerminalBus) decides who
// hears what.
#pragma once
#include <cstdint>
#include <ctime>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "TerminalReply.h"

namespace terminalsim {

constexpr size_t kRecordSize = 16;        // card (4), amount (3), balance (3), time (6)
constexpr size_t kMaxRecordData = 1015;   // record bytes a download reply can carry

// A card the terminal reports at every poll of its address until a money
// frame serves it.
struct CardEvent {
  uint8_t status = 0x64;  // 0x64 card only; 0x65, 0x66 with two values
  uint32_t card = 0;
  uint32_t first = 0, second = 0;
};

class TerminalModel {
 public:
  explicit TerminalModel(uint16_t device);

  uint16_t Device() const { return device_; }

  // Handles a whole request frame addressed to this terminal (code, device
  // and data already checked by the bus). Returns the reply frame, or
  // nothing when the terminal would not answer.
  Bytes Handle(const Bytes& request, double nowMs);

  // Bus polling: the answer to a poll of this terminal's address, or nothing.
  Bytes PollAnswer(double nowMs);
  // An addressed money frame for this terminal (its bytes as received).
  void MoneyFrame(const Bytes& frame, double nowMs);

  // --- control: preparing and inspecting the terminal ---
  void AddRecords(size_t n);
  size_t RecordCount() const { return records_.size(); }
  size_t Collected() const { return collected_; }
  void SetEvent(const CardEvent& e) { event_ = e; hasEvent_ = true; }
  void SetMoney(uint32_t a, uint32_t b, uint32_t c) { money_[0] = a; money_[1] = b; money_[2] = c; }
  void SetDayMoney(uint32_t a, uint32_t b) { day_[0] = a; day_[1] = b; }
  // The data of the last request with this code ("" when none came).
  std::string Setting(uint8_t code) const;
  uint32_t Subsidy(uint32_t card) const;
  bool Blacklisted(uint32_t card) const { return black_.count(card) != 0; }
  size_t BlacklistSize() const { return black_.size(); }
  std::string Clock(double nowMs) const;  // YYMMDDhhmmss
  std::string LastMoneyFrame() const { return lastMoney_; }
  int MoneyFrames() const { return moneyFrames_; }
  double LastPollAnswerMs() const { return lastAnswerMs_; }

 private:
  Bytes Reply(uint8_t code, const Bytes& data = {}) const;
  Bytes Records(uint8_t code, size_t from) const;
  uint8_t FlashByte(uint32_t address) const;

  uint16_t device_;
  std::map<uint8_t, Bytes> settings_;
  std::time_t clockBase_ = 0;  // terminal time at clockSetMs_
  double clockSetMs_ = 0;
  Bytes factoryTime_ = Bytes(6, 0);
  Bytes version_;
  uint32_t money_[3] = {12, 345678, 3};
  uint32_t day_[2] = {2, 1500};
  std::map<uint32_t, uint32_t> subsidy_;
  std::set<uint32_t> black_;
  std::map<uint32_t, uint8_t> flash_;  // bytes written by font downloads
  std::vector<Bytes> records_;
  size_t collected_ = 0;  // records already collected by the real-time download
  std::vector<Bytes> deleted_;
  CardEvent event_;
  bool hasEvent_ = false;
  double lastAnswerMs_ = -1e9;
  std::string lastMoney_;
  int moneyFrames_ = 0;
};

}  // namespace terminalsim
