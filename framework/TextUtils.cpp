#include "TextUtils.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace fw {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses into a 64-bit value with a magnitude limit; false on any junk.
bool ParseInteger(const std::string& text, uint64_t limitPositive, uint64_t limitNegative,
                  int64_t& out) {
  size_t i = 0, n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  while (n > i && IsBlank(text[n - 1])) --n;
  if (i == n) return false;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < n && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == n) return false;
  uint64_t magnitude = 0;
  const uint64_t limit = negative ? limitNegative : limitPositive;
  for (; i < n; ++i) {
    int d = base == 16 ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (d < 0) return false;
    // Checked before multiplying, so that no digit string wraps around.
    if (magnitude > (limit - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base)) return false;
    magnitude = magnitude * base + static_cast<uint64_t>(d);
  }
  out = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

}  // namespace

bool TryStrToInt(const std::string& text, int32_t& value) {
  int64_t v = 0;
  // Hexadecimal texts may spell the full 32-bit pattern ($FFFFFFFF = -1),
  // as colour values are written that way.
  bool hex = text.find('$') != std::string::npos || text.find("0x") != std::string::npos ||
             text.find("0X") != std::string::npos;
  if (!ParseInteger(text, hex ? 0xFFFFFFFFull : 0x7FFFFFFFull, 0x80000000ull, v)) return false;
  value = static_cast<int32_t>(static_cast<uint32_t>(v));
  return true;
}

bool TryStrToInt64(const std::string& text, int64_t& value) {
  return ParseInteger(text, 0x7FFFFFFFFFFFFFFFull, 0x8000000000000000ull, value);
}

int32_t StrToIntDef(const std::string& text, int32_t fallback) {
  int32_t v = 0;
  return TryStrToInt(text, v) ? v : fallback;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string IntToHex(uint32_t value, int digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s;
  do {
    s.insert(s.begin(), kDigits[value & 15]);
    value >>= 4;
  } while (value != 0);
  while (static_cast<int>(s.size()) < digits) s.insert(s.begin(), '0');
  return s;
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    std::vector<char> buffer(static_cast<size_t>(n) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    out.assign(buffer.data(), static_cast<size_t>(n));
  }
  va_end(args);
  return out;
}

size_t FindSingleByte(const std::string& text, char c, size_t from) {
  for (size_t i = from; i < text.size(); ++i) {
    if (IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
        IsGbkTrailByte(static_cast<unsigned char>(text[i + 1]))) {
      ++i;  // the whole character
      continue;
    }
    if (text[i] == c) return i;
  }
  return std::string::npos;
}

std::string TrimLeft(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

std::string TrimRight(const std::string& text) {
  size_t n = text.size();
  while (n > 0 && IsBlank(text[n - 1])) --n;
  return text.substr(0, n);
}

std::string Trim(const std::string& text) { return TrimRight(TrimLeft(text)); }

namespace {
template <class F>
std::string MapAscii(const std::string& text, F f) {
  std::string out = text;
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsGbkLeadByte(c) && i + 1 < out.size()) {
      ++i;  // skip the trail byte
      continue;
    }
    out[i] = f(out[i]);
  }
  return out;
}
}  // namespace

std::string UpperCase(const std::string& text) {
  return MapAscii(text, [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; });
}

std::string LowerCase(const std::string& text) {
  return MapAscii(text, [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; });
}

int CompareText(const std::string& a, const std::string& b) {
  std::string la = LowerCase(a), lb = LowerCase(b);
  size_t n = la.size() < lb.size() ? la.size() : lb.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(la[i]), y = static_cast<unsigned char>(lb[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (la.size() == lb.size()) return 0;
  return la.size() < lb.size() ? -1 : 1;
}

}  // namespace fw
