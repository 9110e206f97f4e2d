#include "WinSkinIni.h"

#include <cassert>
#include <stdexcept>

#include "SkinRead.h"

namespace {
bool IsHeader(const std::string& line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}
}  // namespace

std::string TrimText(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') b++;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') e--;
  return s.substr(b, e - b);
}

void TQuickIni::LoadFromStream(TSkinMemoryStream* stream) {
  if (!stream) return;
  size_t pos = stream->Position();
  std::string text;
  if (pos < stream->Size())
    text.assign(reinterpret_cast<const char*>(stream->Data()) + pos, stream->Size() - pos);
  stream->Seek(stream->Size());
  LoadFromText(text);
}

void TQuickIni::LoadFromText(const std::string& text) {
  Lines.clear();
  SectionIndex.clear();
  size_t i = 0, n = text.size();
  while (i < n && text[i] != '\0') {
    size_t start = i;
    while (i < n && text[i] != '\r' && text[i] != '\n' && text[i] != '\0') i++;
    std::string line = TrimText(text.substr(start, i - start));
    if (!line.empty() && line[0] != ';') {
      Lines.push_back(line);
      if (IsHeader(line)) SectionIndex.emplace_back(line, static_cast<int>(Lines.size() - 1));
    }
    if (i < n && text[i] == '\r') i++;
    if (i < n && text[i] == '\n') i++;
  }
}

void TQuickIni::ReadSections(std::vector<std::string>* strings) const {
  if (!strings) throw std::logic_error("The parameter Strings is unassigned!");
  strings->clear();
  for (const auto& header : SectionIndex)
    strings->push_back(TrimText(header.first.substr(1, header.first.size() - 2)));
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const {
  if (Lines.empty()) return defaultValue;
  const std::string header = "[" + section + "]";
  int at = -1;
  for (const auto& h : SectionIndex) {
    if (EqualNoCase(h.first, header)) {
      at = h.second;
      break;
    }
  }
  if (at < 0) return defaultValue;
  const std::string wanted = LowerAscii(key);
  for (size_t i = static_cast<size_t>(at) + 1; i < Lines.size(); i++) {
    const std::string& line = Lines[i];
    if (IsHeader(line)) break;
    size_t eq = line.find('=');
    std::string lineKey = eq == std::string::npos ? std::string() : TrimText(line.substr(0, eq));
    if (LowerAscii(lineKey) != wanted) continue;
    std::string value = eq == std::string::npos ? std::string() : TrimText(line.substr(eq + 1));
    return value.empty() ? defaultValue : value;
  }
  return defaultValue;
}

bool ParseIniInteger(const std::string& text, int32_t& value) {
  size_t n = text.size();
  if (n > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (n - 2 > 8) return false;
    uint32_t v = 0;
    for (size_t i = 2; i < n; i++) {
      char c = text[i];
      int d = c >= '0' && c <= '9' ? c - '0'
            : c >= 'a' && c <= 'f' ? c - 'a' + 10
            : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (d < 0) return false;
      v = v << 4 | static_cast<uint32_t>(d);
    }
    value = static_cast<int32_t>(v);
    return true;
  }
  size_t i = 0;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == n) return false;
  int64_t v = 0;
  for (; i < n; i++) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
    if (v > int64_t(INT32_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  value = static_cast<int32_t>(v);
  return true;
}

int32_t TQuickIni::ReadInteger(const std::string& section, const std::string& key,
                               int32_t defaultValue) const {
  int32_t v = defaultValue;
  return ParseIniInteger(ReadString(section, key, ""), v) ? v : defaultValue;
}

TColor ParseColourText(const std::string& raw) {
  const std::string text = TrimText(raw);
  int channels[3] = {0, 0, 0};
  int stored = 0;
  int value = 0;
  bool collecting = false;
  for (char ch : text) {
    if (ch >= '0' && ch <= '9') {
      value = (value * 10 + (ch - '0')) % 256;
      collecting = true;
    } else if (collecting) {
      if (stored < 3) channels[stored++] = value;
      value = 0;
      collecting = false;
    }
  }
  if (collecting && stored == 2) channels[stored++] = value;
  return RGBColor(channels[0], channels[1], channels[2]);
}
