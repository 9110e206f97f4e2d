#include "Faults.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace sim {

namespace {
bool ParseInt(const std::string& s, int base, int* out) {
  if (s.empty()) return false;
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, base);
  if (*end || v < 0 || v > 1000000) return false;
  *out = static_cast<int>(v);
  return true;
}
}  // namespace

std::string FaultPlan::Add(const Words& w, const std::vector<std::string>& kinds) {
  if (w.empty()) return "fault needs a kind";
  FaultRule r;
  r.kind = w[0];
  if (std::find(kinds.begin(), kinds.end(), r.kind) == kinds.end()) return "unknown fault " + r.kind;
  for (size_t i = 1; i < w.size(); ++i) {
    const std::string& a = w[i];
    const size_t eq = a.find('=');
    int v = 0;
    if (eq == std::string::npos) {
      if (a == "always") r.count = -1;
      else if (!ParseInt(a, 10, &r.count) || r.count == 0) return "bad count " + a;
      continue;
    }
    const std::string key = a.substr(0, eq), val = a.substr(eq + 1);
    if (key == "code" && ParseInt(val, 16, &v) && v <= 0xFF) r.code = v;
    else if (key == "skip" && ParseInt(val, 10, &v)) r.skip = v;
    else if (key == "ms" && ParseInt(val, 10, &v)) r.ms = v;
    else if (key == "pieces" && ParseInt(val, 10, &v) && v >= 1) r.pieces = v;
    else if (key == "reply" && ParseInt(val, 10, &v)) r.reply = v != 0;
    else return "bad option " + a;
  }
  rules_.push_back(r);
  return "";
}

std::vector<FaultRule> FaultPlan::Take(uint8_t code) {
  std::vector<FaultRule> fired;
  for (FaultRule& r : rules_) {
    if (r.code >= 0 && r.code != code) continue;
    if (r.skip > 0) {
      --r.skip;
      continue;
    }
    fired.push_back(r);
    if (r.count > 0) --r.count;
  }
  rules_.erase(std::remove_if(rules_.begin(), rules_.end(), [](const FaultRule& r) { return r.count == 0; }),
               rules_.end());
  return fired;
}

std::string FaultPlan::Describe() const {
  std::ostringstream o;
  for (const FaultRule& r : rules_) {
    o << r.kind << ' ' << (r.count < 0 ? std::string("always") : std::to_string(r.count));
    if (r.code >= 0) o << " code=" << std::hex << r.code << std::dec;
    o << " skip=" << r.skip << " ms=" << r.ms << " pieces=" << r.pieces << " reply=" << r.reply << '\n';
  }
  return o.str();
}

bool CorruptFrame(const std::string& kind, Bytes* f) {
  if (f->size() < 8) return false;
  if (kind == "checksum") f->back() ^= 0x5A;
  else if (kind == "code") (*f)[5] ^= 0x80;
  else if (kind == "status") (*f)[6] = 0x00;
  else if (kind == "address") (*f)[2] = 0x00;
  else return false;
  if (kind == "code" || kind == "status") {
    // Keep the checksum right: the fault is in the content, not the line.
    f->back() = PayloadXor(*f);
  }
  return true;
}

}  // namespace sim
