// The simulated card reader: a ReaderModel behind the simulator core, with
// faults, answering the reader's frames on a pty linked as a Wine COM port.
// Control commands are listed by Help() and in tools/README-sim.md.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "Faults.h"
#include "ReaderModel.h"
#include "SimCore.h"

namespace sim {
namespace {

const std::vector<std::string> kFaultKinds = {"silence", "late",    "split", "checksum", "code",
                                              "status",  "address", "nowrite", "writefail", "cut"};

bool ParseNumber(const std::string& s, int lo, int hi, int* out) {
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end || v < lo || v > hi) return false;
  *out = static_cast<int>(v);
  return true;
}

bool ParseSerial(const std::string& s, uint32_t* out) {
  Bytes b;
  if (!ParseHex(s, &b) || b.size() != 4) return false;
  *out = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
  return true;
}

bool ParseKey(const std::string& s, Key* out) {
  Bytes b;
  if (!ParseHex(s, &b) || b.size() != 6) return false;
  std::copy(b.begin(), b.end(), out->begin());
  return true;
}

std::string SerialText(uint32_t serial) {
  char t[9];
  std::snprintf(t, sizeof t, "%08X", serial);
  return t;
}

class ReaderSim : public Device {
 public:
  explicit ReaderSim(SimCore& core) : core_(core) {}

  void OnBytes(const uint8_t* data, size_t n) override {
    reader_.Feed(data, n, NowMs(), [this](const Bytes& f) { OnFrame(f); },
                 [this](const Bytes& b) { core_.Log("stray", b); });
  }

  std::string Help() const override {
    return "card present 0|1         take the card out of the field or put it back\n"
           "card new [SERIAL]        a new factory card (keys FFFFFFFFFFFF or --card-key, zero data) in the field\n"
           "card every SECONDS       a new card (serial + 1) every SECONDS, as an operator swaps them; 0 stops\n"
           "get card                 present=0|1 serial=HHHHHHHH\n"
           "set serial SERIAL        change the card's serial (8 hex digits)\n"
           "serials SERIAL...        answer the next serial reads with these, in order\n"
           "get devkey | set devkey KEY   the key loaded into the reader (12 hex digits)\n"
           "get key S | set key S KEY     key A of sector S\n"
           "get keys                 key A of sectors 0-15\n"
           "get block B | set block B HEX32   one block (key blocks show their stored key)\n"
           "get sector S             the 4 blocks of sector S\n"
           "get auto                 off | mode=M sector=S old=KEY oldflag=F new=KEY newflag=F\n"
           "get beeps                beeps so far and the last beep value\n"
           "get writes               block writes stored on the card\n"
           "fault KIND [N|always] [code=HH] [skip=N] [ms=N] [pieces=N] [reply=1]\n"
           "  KIND: silence late split checksum code status address nowrite writefail cut\n"
           "  (nowrite and writefail hit block writes, code 03, unless a code is given)\n"
           "fault clear | get faults\n"
           "link up | link down | get link   a cut link ignores every frame until up\n"
           "log | log clear          frames received: <index> <ms> frame|stray|bad <hex>\n"
           "get line                 the line as the program set it\n"
           "get opens                times the program opened the port\n"
           "pace off|line|BAUD | get pace\n"
           "ping | help | quit\n";
  }

  std::string OnCommand(const Words& w) override {
    const size_t n = w.size();
    const std::string& c = w[0];
    int a = 0;
    if (c == "card" && n == 3 && w[1] == "present" && ParseNumber(w[2], 0, 1, &a)) {
      model_.card.present = a == 1;
      return "ok";
    }
    if (c == "card" && (n == 2 || n == 3) && w[1] == "new") {
      uint32_t serial = model_.card.Serial() + 1;
      if (n == 3 && !ParseSerial(w[2], &serial)) return "err bad serial";
      NewCard(serial);
      return "ok " + SerialText(serial);
    }
    if (c == "card" && n == 3 && w[1] == "every" && ParseNumber(w[2], 0, 3600, &a)) {
      ++feed_;  // ends the series running now
      if (a > 0) FeedEvery(a * 1000.0, feed_);
      return "ok";
    }
    if (c == "get" && n == 2 && w[1] == "card")
      return std::string("ok present=") + (model_.card.present ? "1" : "0") +
             " serial=" + SerialText(model_.card.Serial());
    if (c == "set" && n == 3 && w[1] == "serial") {
      uint32_t serial;
      if (!ParseSerial(w[2], &serial)) return "err bad serial";
      model_.card.SetSerial(serial);
      return "ok";
    }
    if (c == "get" && n == 2 && w[1] == "serial") return "ok " + SerialText(model_.card.Serial());
    if (c == "serials" && n >= 2) {
      model_.serials.clear();
      for (size_t i = 1; i < n; ++i) {
        uint32_t s;
        if (!ParseSerial(w[i], &s)) return "err bad serial " + w[i];
        model_.serials.push_back(s);
      }
      return "ok";
    }
    if (c == "get" && n == 2 && w[1] == "devkey") return "ok " + Hex(model_.devKey.data(), 6);
    if (c == "set" && n == 3 && w[1] == "devkey")
      return ParseKey(w[2], &model_.devKey) ? "ok" : "err bad key";
    if (c == "get" && n == 3 && w[1] == "key" && ParseNumber(w[2], 0, kSectors - 1, &a)) {
      const Key k = model_.card.SectorKey(a);
      return "ok " + Hex(k.data(), 6);
    }
    if (c == "set" && n == 4 && w[1] == "key" && ParseNumber(w[2], 0, kSectors - 1, &a)) {
      Key k;
      if (!ParseKey(w[3], &k)) return "err bad key";
      model_.card.SetSectorKey(a, k);
      return "ok";
    }
    if (c == "get" && n == 2 && w[1] == "keys") {
      std::string r = "ok";
      for (int s = 0; s < kSectors; ++s) r += " " + Hex(model_.card.SectorKey(s).data(), 6);
      return r;
    }
    if (c == "get" && n == 3 && w[1] == "block" && ParseNumber(w[2], 0, kBlocks - 1, &a))
      return "ok " + Hex(model_.card.blocks[a].data(), 16);
    if (c == "set" && n == 4 && w[1] == "block" && ParseNumber(w[2], 0, kBlocks - 1, &a)) {
      Bytes b;
      if (!ParseHex(w[3], &b) || b.size() != 16) return "err bad block";
      std::copy(b.begin(), b.end(), model_.card.blocks[a].begin());
      return "ok";
    }
    if (c == "get" && n == 3 && w[1] == "sector" && ParseNumber(w[2], 0, kSectors - 1, &a)) {
      std::string r = "ok";
      for (int b = 4 * a; b < 4 * a + 4; ++b) r += " " + Hex(model_.card.blocks[b].data(), 16);
      return r;
    }
    if (c == "get" && n == 2 && w[1] == "auto") {
      const AutoKeySetting& s = model_.autoKey;
      if (!s.on) return "ok off";
      std::ostringstream o;
      o << "ok mode=" << int(s.mode) << " sector=" << int(s.sector) << " old=" << Hex(s.oldKey.data(), 6)
        << " oldflag=" << int(s.oldFlag) << " new=" << Hex(s.newKey.data(), 6) << " newflag=" << int(s.newFlag);
      return o.str();
    }
    if (c == "get" && n == 2 && w[1] == "beeps")
      return "ok " + std::to_string(model_.beeps) + " " + std::to_string(model_.lastBeep);
    if (c == "get" && n == 2 && w[1] == "writes") return "ok " + std::to_string(model_.blockWrites);
    if (c == "fault" && n == 2 && w[1] == "clear") {
      faults_.Clear();
      return "ok";
    }
    if (c == "fault") {
      Words rule(w.begin() + 1, w.end());
      // The card-write faults concern block writes unless told otherwise.
      const bool writeFault = n >= 2 && (w[1] == "nowrite" || w[1] == "writefail");
      bool hasCode = false;
      for (const std::string& word : rule) hasCode = hasCode || word.compare(0, 5, "code=") == 0;
      if (writeFault && !hasCode) rule.push_back("code=03");
      const std::string e = faults_.Add(rule, kFaultKinds);
      return e.empty() ? "ok" : "err " + e;
    }
    if (c == "get" && n == 2 && w[1] == "faults") return faults_.Describe() + "ok";
    if (c == "link" && n == 2 && (w[1] == "up" || w[1] == "down")) {
      linkDown_ = w[1] == "down";
      if (linkDown_) core_.DropOutput();
      return "ok";
    }
    if (c == "get" && n == 2 && w[1] == "link") return linkDown_ ? "ok down" : "ok up";
    return "err unknown command (try help)";
  }

  // The key A of every sector of a new card.
  Key cardKey = kFactoryKey;

 private:
  void NewCard(uint32_t serial) {
    model_.card = Card::Factory(serial);
    for (int s = 0; s < kSectors; ++s) model_.card.SetSectorKey(s, cardKey);
  }

  void FeedEvery(double ms, int series) {
    core_.After(ms, [this, ms, series] {
      if (series != feed_) return;
      NewCard(model_.card.Serial() + 1);
      core_.Verbose("new card " + SerialText(model_.card.Serial()));
      FeedEvery(ms, series);
    });
  }

  void OnFrame(const Bytes& f) {
    if (f.size() < 7 || PayloadXor(f) != f.back()) {
      core_.Log("bad", f);  // a reader drops a frame it cannot check
      return;
    }
    core_.Log("frame", f);
    if (linkDown_) return;
    const Bytes payload(f.begin() + 5, f.end() - 1);
    const std::vector<FaultRule> fired = faults_.Take(payload[0]);
    auto has = [&](const char* kind) -> const FaultRule* {
      for (const FaultRule& r : fired)
        if (r.kind == kind) return &r;
      return nullptr;
    };
    if (has("silence")) return;
    ReaderModel::WriteMode mode = ReaderModel::WriteMode::Store;
    if (has("nowrite")) mode = ReaderModel::WriteMode::Lose;
    if (has("writefail")) mode = ReaderModel::WriteMode::Refuse;
    bool wrote = false;
    const Bytes reply = model_.Handle(payload, mode, &wrote);
    Bytes out = Envelope(reply);
    double delay = 0, gap = 0;
    int pieces = 1;
    for (const FaultRule& r : fired) {
      CorruptFrame(r.kind, &out);
      if (r.kind == "late") delay += r.ms;
      if (r.kind == "split") {
        pieces = r.pieces;
        gap = r.ms;
      }
    }
    if (const FaultRule* cut = has("cut")) {
      linkDown_ = true;
      core_.Verbose("link cut");
      if (!cut->reply) return;
    }
    core_.Send(out, delay, pieces, gap);
  }

  SimCore& core_;
  ReaderModel model_;
  FaultPlan faults_;
  FrameReader reader_;
  bool linkDown_ = false;
  int feed_ = 0;  // number of the card series that "card every" runs
};

int Usage() {
  std::fprintf(stderr,
               "usage: reader-sim [--prefix WINEPREFIX] [--com N] [--com-range FIRST-LAST]\n"
               "                  [--control PORT] [--pace off|line|BAUD] [--no-card] [--serial HEX8]\n"
               "                  [--card-key KEY12] [--new-card-every SECONDS] [-v]\n"
               "Prints \"READY com=N control=PORT pty=PATH\" once it answers, then runs until\n"
               "\"quit\" on the control channel, SIGINT or SIGTERM.\n");
  return 2;
}

}  // namespace
}  // namespace sim

int main(int argc, char** argv) {
  using namespace sim;
  CoreOptions opt;
  if (const char* p = std::getenv("WINEPREFIX")) opt.prefix = p;
  bool card = true;
  uint32_t serial = 0x11223344;
  Key cardKey = kFactoryKey;
  std::string every;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool more = i + 1 < argc;
    if (a == "--prefix" && more) opt.prefix = argv[++i];
    else if (a == "--com" && more) opt.com = std::atoi(argv[++i]);
    else if (a == "--com-range" && more) {
      if (std::sscanf(argv[++i], "%d-%d", &opt.comFirst, &opt.comLast) != 2) return Usage();
    } else if (a == "--control" && more) opt.controlPort = std::atoi(argv[++i]);
    else if (a == "--pace" && more) opt.pace = argv[++i];
    else if (a == "--no-card") card = false;
    else if (a == "--serial" && more) {
      if (!ParseSerial(argv[++i], &serial)) return Usage();
    } else if (a == "--card-key" && more) {
      if (!ParseKey(argv[++i], &cardKey)) return Usage();
    } else if (a == "--new-card-every" && more) {
      every = argv[++i];
    } else if (a == "-v") opt.verbose = true;
    else return Usage();
  }
  if (opt.com < 0 || opt.com > 255 || opt.comFirst < 1 || opt.comLast > 255 || opt.comFirst > opt.comLast)
    return Usage();
  SimCore core(opt);
  std::string error;
  if (!core.Start(&error)) {
    std::fprintf(stderr, "reader-sim: %s\n", error.c_str());
    return 1;
  }
  ReaderSim device(core);
  device.cardKey = cardKey;
  device.OnCommand({"card", "new", SerialText(serial)});
  if (!every.empty() && device.OnCommand({"card", "every", every}) != "ok") return Usage();
  if (!card) device.OnCommand({"card", "present", "0"});
  std::printf("READY com=%d control=%d pty=%s\n", core.Com(), core.ControlPort(), core.SlavePath().c_str());
  std::fflush(stdout);
  core.Run(device);
  return 0;
}
