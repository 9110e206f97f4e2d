#include "IniFile.h"

#include <algorithm>

#include "FileIO.h"
#include "StringList.h"
#include "TextUtils.h"

namespace fw {

namespace {
const char kUtf8Mark[] = "\xEF\xBB\xBF";

bool StartsWith(const std::string& text, const char* prefix, size_t n) { return text.compare(0, n, prefix, n) == 0; }
}  // namespace

TIniText::TIniText(const std::string& text) { Parse(text); }

void TIniText::Parse(const std::string& text) {
  bom_.clear();
  head_.clear();
  sections_.clear();
  index_.clear();
  utf16_ = StartsWith(text, "\xFF\xFE", 2) || StartsWith(text, "\xFE\xFF", 2);
  size_t start = 0;
  if (StartsWith(text, kUtf8Mark, 3)) {
    bom_ = kUtf8Mark;
    start = 3;
  }
  // The lines first, then the sections they make up, each given room for
  // all of its lines and keys at once.
  std::vector<Line> lines;
  lines.reserve(static_cast<size_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), '\n')) + 1);
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
    lines.push_back(std::move(line));
  }
  std::vector<std::pair<size_t, std::string>> headers;
  std::string name;
  for (size_t i = 0; i < lines.size(); ++i)
    if (IsSection(lines[i].raw, name)) headers.emplace_back(i, std::move(name));
  const size_t firstHeader = headers.empty() ? lines.size() : headers.front().first;
  head_.assign(std::make_move_iterator(lines.begin()),
               std::make_move_iterator(lines.begin() + static_cast<std::ptrdiff_t>(firstHeader)));
  sections_.reserve(headers.size());
  for (size_t h = 0; h < headers.size(); ++h) {
    const size_t from = headers[h].first, to = h + 1 < headers.size() ? headers[h + 1].first : lines.size();
    Section s{std::move(headers[h].second), std::move(lines[from]), {}, {}};
    s.lines.assign(std::make_move_iterator(lines.begin() + static_cast<std::ptrdiff_t>(from + 1)),
                   std::make_move_iterator(lines.begin() + static_cast<std::ptrdiff_t>(to)));
    s.keys.reserve(s.lines.size());
    IndexKeys(s);
    index_.emplace(LowerCase(s.name), sections_.size());
    sections_.push_back(std::move(s));
  }
}

void TIniText::Append(Line line) {
  std::string name, value;
  if (IsSection(line.raw, name)) {
    index_.emplace(LowerCase(name), sections_.size());
    sections_.push_back(Section{std::move(name), std::move(line), {}, {}});
    return;
  }
  if (sections_.empty()) {
    head_.push_back(std::move(line));
    return;
  }
  Section& s = sections_.back();
  if (IsKey(line.raw, name, value)) s.keys.emplace(LowerCase(name), s.lines.size());
  s.lines.push_back(std::move(line));
}

void TIniText::IndexKeys(Section& section) {
  section.keys.clear();
  std::string key, value;
  for (size_t i = 0; i < section.lines.size(); ++i)
    if (IsKey(section.lines[i].raw, key, value)) section.keys.emplace(LowerCase(key), i);
}

void TIniText::IndexSections() {
  index_.clear();
  for (size_t i = 0; i < sections_.size(); ++i) index_.emplace(LowerCase(sections_[i].name), i);
}

const TIniText::Section* TIniText::Find(const std::string& section) const {
  auto it = index_.find(LowerCase(section));
  return it == index_.end() ? nullptr : &sections_[it->second];
}

TIniText::Section* TIniText::Find(const std::string& section) {
  return const_cast<Section*>(static_cast<const TIniText*>(this)->Find(section));
}

TIniText::Line* TIniText::LastLine() {
  if (sections_.empty()) return head_.empty() ? nullptr : &head_.back();
  Section& s = sections_.back();
  return s.lines.empty() ? &s.header : &s.lines.back();
}

std::string TIniText::Text() const {
  size_t size = bom_.size();
  auto measure = [&size](const Line& l) { size += l.raw.size() + l.eol.size(); };
  for (const auto& l : head_) measure(l);
  for (const auto& s : sections_) {
    measure(s.header);
    for (const auto& l : s.lines) measure(l);
  }
  std::string out;
  out.reserve(size);
  out += bom_;
  auto put = [&out](const Line& l) {
    out += l.raw;
    out += l.eol;
  };
  for (const auto& l : head_) put(l);
  for (const auto& s : sections_) {
    put(s.header);
    for (const auto& l : s.lines) put(l);
  }
  return out;
}

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// text[begin, end) without the blanks and control characters at its ends
// (the lines are taken apart in place: a large file has many).
std::string TrimmedPart(const std::string& text, size_t begin, size_t end) {
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}
}  // namespace

bool TIniText::IsSection(const std::string& raw, std::string& name) {
  size_t begin = 0, end = raw.size();
  while (begin < end && IsBlank(raw[begin])) ++begin;
  while (end > begin && IsBlank(raw[end - 1])) --end;
  if (end - begin < 2 || raw[begin] != '[') return false;
  // The closing bracket is a character of its own, not the second byte of
  // a Chinese character in the name.
  size_t close = FindSingleByte(raw, ']', begin + 1);
  if (close == std::string::npos || close >= end) return false;
  name = TrimmedPart(raw, begin + 1, close);
  return true;
}

bool TIniText::IsKey(const std::string& raw, std::string& key, std::string& value) {
  size_t begin = 0;
  while (begin < raw.size() && IsBlank(raw[begin])) ++begin;
  if (begin == raw.size() || raw[begin] == ';' || raw[begin] == '[') return false;
  size_t eq = raw.find('=', begin);
  if (eq == std::string::npos) return false;
  key = TrimmedPart(raw, begin, eq);
  value = TrimmedPart(raw, eq + 1, raw.size());
  return !key.empty();
}

bool TIniText::Read(const std::string& section, const std::string& key, std::string& value) const {
  const Section* s = Find(section);
  if (!s) return false;
  auto it = s->keys.find(LowerCase(key));
  if (it == s->keys.end()) return false;
  std::string k;
  IsKey(s->lines[it->second].raw, k, value);
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
  Section* s = Find(section);
  if (!s) {
    if (Line* last = LastLine(); last && last->eol.empty()) last->eol = "\r\n";
    Append(Line{"[" + section + "]", "\r\n"});
    Append(Line{std::move(entry), "\r\n"});
    return;
  }
  // The entry may read differently from what was asked for (a key that
  // holds '=' or begins like a header): the text is then read anew, as a
  // reader of the file would take it.
  std::string name, v;
  const bool header = IsSection(entry, name);
  const bool isKey = !header && IsKey(entry, name, v);
  auto it = s->keys.find(LowerCase(key));
  if (it != s->keys.end()) {
    s->lines[it->second].raw = std::move(entry);
    if (!isKey || !SameText(name, key)) Parse(Text());
    return;
  }
  // Append after the section's last non-blank line (the blank lines after
  // it hold no keys, so the indexed lines keep their places).
  size_t at = s->lines.size();
  while (at > 0 && Trim(s->lines[at - 1].raw).empty()) --at;
  Line& before = at > 0 ? s->lines[at - 1] : s->header;
  if (before.eol.empty()) before.eol = "\r\n";
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(entry), "\r\n"});
  if (header) Parse(Text());
  else if (isKey) s->keys.emplace(LowerCase(name), at);
}

bool TIniText::SectionExists(const std::string& section) const { return Find(section) != nullptr; }

std::vector<std::string> TIniText::Keys(const std::string& section) const {
  std::vector<std::string> out;
  const Section* s = Find(section);
  if (!s) return out;
  std::string k, v;
  for (const auto& l : s->lines)
    if (IsKey(l.raw, k, v)) out.push_back(k);
  return out;
}

std::vector<std::string> TIniText::Sections() const {
  std::vector<std::string> out;
  out.reserve(sections_.size());
  for (const auto& s : sections_) out.push_back(s.name);
  return out;
}

void TIniText::EraseSection(const std::string& section) {
  if (!Find(section)) return;
  sections_.erase(std::remove_if(sections_.begin(), sections_.end(),
                                 [&](const Section& s) { return SameText(s.name, section); }),
                  sections_.end());
  IndexSections();
}

void TIniText::DeleteKey(const std::string& section, const std::string& key) {
  Section* s = Find(section);
  if (!s) return;
  auto it = s->keys.find(LowerCase(key));
  if (it == s->keys.end()) return;
  s->lines.erase(s->lines.begin() + static_cast<std::ptrdiff_t>(it->second));
  IndexKeys(*s);
}

// ---- TIniFile ----------------------------------------------------------

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

TIniText TIniFile::Load() const {
  std::string data;
  if (!LoadFileBytes(fileName_, data)) data.clear();
  return TIniText(data);
}

bool TIniFile::Save(const TIniText& text) { return !text.IsUtf16() && SaveFileBytes(fileName_, text.Text()); }

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
