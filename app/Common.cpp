#include "Common.h"

#include <algorithm>
#include <cctype>

std::string AppPath;
const char* const kFactoryKey = "A5C3E7B91D2F";

namespace {

bool IsBlankText(const std::string& text) {
  return text.find_first_not_of(' ') == std::string::npos;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// Splits `text` + delim at every delimiter: the fields GetFieldCount counts
// and GetField picks from.
TStringVector SplitFields(const std::string& text, char delim) {
  TStringVector fields;
  if (IsBlankText(text)) return fields;
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(delim, start);
    if (at == std::string::npos) {
      fields.push_back(text.substr(start));
      return fields;
    }
    fields.push_back(text.substr(start, at - start));
    start = at + 1;
  }
}

int CompareNoCase(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int ca = std::toupper(static_cast<unsigned char>(a[i]));
    const int cb = std::toupper(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

int GetFieldCount(const std::string& text, char delim) {
  return static_cast<int>(SplitFields(text, delim).size());
}

std::string GetField(const std::string& text, int n, char delim) {
  const TStringVector fields = SplitFields(text, delim);
  if (fields.empty()) return std::string();
  if (n < 1 || n > static_cast<int>(fields.size())) return fields.back();
  return fields[n - 1];
}

std::string HexSpaced(const std::string& text) {
  std::string out;
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    if (!out.empty()) out += ' ';
    out.append(text, i, 2);
  }
  return Trim(out);
}

std::string HexCompact(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != ' ') out += c;
  return out;
}

bool IsKeyChar(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) || c == '\b';
}

bool IsCardKey(const std::string& key) {
  if (key.size() != 12) return false;
  for (char c : key)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

bool ParseDecimal(const std::string& text, int& value) {
  const std::string digits = Trim(text);
  if (digits.empty() || digits.size() > 9) return false;
  int v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  value = v;
  return true;
}

int PortNumberOf(const std::string& portName) {
  const std::string name = Trim(portName);
  if (name.size() <= 3) return -1;
  int n = 0;
  if (!ParseDecimal(name.substr(3), n) || n < 1 || n > 99) return -1;
  return n;
}

void SortPortNames(TStringVector& names) {
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return CompareNoCase(a, b) < 0;
  });
}
