#include "IniFile.h"

#include "FileIO.h"
#include "StringList.h"
#include "TextUtils.h"

namespace fw {

TIniText::TIniText(std::string text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    Line line;
    if (nl == std::string::npos) {
      line.raw = text.substr(start);
      start = text.size();
    } else {
      size_t end = nl;
      if (end > start && text[end - 1] == '\r') {
        --end;
        line.eol = "\r\n";
      } else {
        line.eol = "\n";
      }
      line.raw = text.substr(start, end - start);
      start = nl + 1;
    }
    lines_.push_back(std::move(line));
  }
}

std::string TIniText::Text() const {
  std::string out;
  for (const auto& l : lines_) out += l.raw + l.eol;
  return out;
}

bool TIniText::IsSection(const std::string& raw, std::string& name) {
  std::string t = Trim(raw);
  if (t.size() < 2 || t.front() != '[') return false;
  // The closing bracket is a character of its own, not the second byte of
  // a Chinese character in the name.
  size_t close = FindSingleByte(t, ']', 1);
  if (close == std::string::npos) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

bool TIniText::IsKey(const std::string& raw, std::string& key, std::string& value) {
  std::string t = TrimLeft(raw);
  if (t.empty() || t[0] == ';' || t[0] == '[') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  return !key.empty();
}

int TIniText::FindSection(const std::string& section) const {
  std::string name;
  for (size_t i = 0; i < lines_.size(); ++i)
    if (IsSection(lines_[i].raw, name) && SameText(name, section)) return static_cast<int>(i);
  return -1;
}

int TIniText::SectionEnd(int header) const {
  std::string name;
  size_t i = static_cast<size_t>(header) + 1;
  while (i < lines_.size() && !IsSection(lines_[i].raw, name)) ++i;
  return static_cast<int>(i);
}

int TIniText::FindKey(int header, const std::string& key) const {
  std::string k, v;
  int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i)
    if (IsKey(lines_[static_cast<size_t>(i)].raw, k, v) && SameText(k, key)) return i;
  return -1;
}

bool TIniText::Read(const std::string& section, const std::string& key, std::string& value) const {
  int header = FindSection(section);
  if (header < 0) return false;
  int line = FindKey(header, key);
  if (line < 0) return false;
  std::string k;
  IsKey(lines_[static_cast<size_t>(line)].raw, k, value);
  // A value wholly enclosed in double quotes is given without them.
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return true;
}

namespace {
// A value as it is written so that reading gives it back: one that begins or
// ends with a blank (reading trims those) or is wholly enclosed in double
// quotes (reading takes them off) goes inside a pair of quotes of its own.
std::string ValueText(const std::string& value) {
  const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  return quoted || Trim(value) != value ? "\"" + value + "\"" : value;
}
}  // namespace

void TIniText::Write(const std::string& section, const std::string& key, const std::string& value) {
  std::string entry = key + "=" + ValueText(value);
  int header = FindSection(section);
  if (header < 0) {
    if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = "\r\n";
    lines_.push_back(Line{"[" + section + "]", "\r\n"});
    lines_.push_back(Line{entry, "\r\n"});
    return;
  }
  int line = FindKey(header, key);
  if (line >= 0) {
    lines_[static_cast<size_t>(line)].raw = entry;
    return;
  }
  // Append after the section's last non-blank line.
  int end = SectionEnd(header);
  int at = end;
  while (at - 1 > header && Trim(lines_[static_cast<size_t>(at - 1)].raw).empty()) --at;
  if (at > 0 && lines_[static_cast<size_t>(at - 1)].eol.empty()) lines_[static_cast<size_t>(at - 1)].eol = "\r\n";
  lines_.insert(lines_.begin() + at, Line{entry, "\r\n"});
}

bool TIniText::SectionExists(const std::string& section) const { return FindSection(section) >= 0; }

std::vector<std::string> TIniText::Keys(const std::string& section) const {
  std::vector<std::string> out;
  int header = FindSection(section);
  if (header < 0) return out;
  std::string k, v;
  int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i)
    if (IsKey(lines_[static_cast<size_t>(i)].raw, k, v)) out.push_back(k);
  return out;
}

std::vector<std::string> TIniText::Sections() const {
  std::vector<std::string> out;
  std::string name;
  for (const auto& l : lines_)
    if (IsSection(l.raw, name)) out.push_back(name);
  return out;
}

void TIniText::EraseSection(const std::string& section) {
  int header;
  while ((header = FindSection(section)) >= 0)
    lines_.erase(lines_.begin() + header, lines_.begin() + SectionEnd(header));
}

void TIniText::DeleteKey(const std::string& section, const std::string& key) {
  int header = FindSection(section);
  if (header < 0) return;
  int line = FindKey(header, key);
  if (line >= 0) lines_.erase(lines_.begin() + line);
}

// ---- TIniFile ----------------------------------------------------------

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

TIniText TIniFile::Load() const {
  std::string data;
  if (!LoadFileBytes(fileName_, data)) data.clear();
  return TIniText(data);
}

bool TIniFile::Save(const TIniText& text) { return SaveFileBytes(fileName_, text.Text()); }

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
  std::string value;
  return Load().Read(section, key, value) ? value : def;
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
  std::string value;
  if (!Load().Read(section, key, value)) return def;
  return StrToIntDef(value, def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

namespace {
bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// True when the entry can be written as one line that reads back the same.
// A line break anywhere would start new keys or sections; a name that the
// reader would take differently could never be found again: blanks or
// control characters around it (trimmed), an empty key, a key with '=' or
// one that reads as a comment or a section header, a section name with ']'
// or one ending inside a Chinese character. The names are tried by writing
// the entry into a text of its own and reading it back.
bool IsWritableEntry(const std::string& section, const std::string& key, const std::string& value) {
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  TIniText probe;
  probe.Write(section, key, value);
  std::string back;
  return probe.Read(section, key, back) && back == value;
}
}  // namespace

bool TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (!IsWritableEntry(section, key, value)) return false;
  TIniText text = Load();
  text.Write(section, key, value);
  return Save(text);
}

bool TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  return WriteString(section, key, IntToStr(value));
}

bool TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::SectionExists(const std::string& section) const { return Load().SectionExists(section); }

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  std::string value;
  return Load().Read(section, key, value);
}

void TIniFile::ReadSection(const std::string& section, TStrings& keys) const {
  keys.BeginUpdate();
  keys.Clear();
  for (const auto& k : Load().Keys(section)) keys.Add(k);
  keys.EndUpdate();
}

void TIniFile::ReadSections(TStrings& sections) const {
  sections.BeginUpdate();
  sections.Clear();
  for (const auto& s : Load().Sections()) sections.Add(s);
  sections.EndUpdate();
}

bool TIniFile::EraseSection(const std::string& section) {
  TIniText text = Load();
  text.EraseSection(section);
  return Save(text);
}

bool TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  TIniText text = Load();
  text.DeleteKey(section, key);
  return Save(text);
}

}  // namespace fw
