// An INI file that keeps its bytes: the file is read as it stands, values
// are GBK bytes passed through untouched, lines the program does not
// change stay exactly as they were, and every write rewrites the file at
// once (through a temporary file, so a failed write loses nothing).
// Section and key names are compared without regard to letter case;
// blanks around keys and values are ignored when reading. A UTF-8
// byte-order mark at the start is skipped when reading and kept when
// writing; a file that begins with a UTF-16 byte-order mark is in another
// encoding, and nothing is written into it.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace fw {

class TStrings;

// The text of an INI file and its edits, without any file access. The
// sections and their keys are indexed, so a read or a write takes the
// same time in a file of ten thousand entries as in one of ten.
class TIniText {
 public:
  explicit TIniText(const std::string& text = std::string());

  bool Read(const std::string& section, const std::string& key, std::string& value) const;
  // A value that begins or ends with a blank, or is wholly enclosed in
  // double quotes, is written in quotes so that Read gives it back as given.
  void Write(const std::string& section, const std::string& key, const std::string& value);
  bool SectionExists(const std::string& section) const;
  std::vector<std::string> Keys(const std::string& section) const;
  std::vector<std::string> Sections() const;
  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& key);
  std::string Text() const;
  // True when the text begins with a UTF-16 byte-order mark: it is not GBK,
  // and lines written into it would leave the file in two encodings.
  bool IsUtf16() const { return utf16_; }

 private:
  struct Line {
    std::string raw;  // without its line end
    std::string eol;  // "\r\n", "\n" or "" (last line)
  };
  // A section: its header line and the lines up to the next header, with
  // the first line of each key name (lower case) in them.
  struct Section {
    std::string name;
    Line header;
    std::vector<Line> lines;
    std::unordered_map<std::string, size_t> keys;
  };
  void Parse(const std::string& text);
  // Appends a line at the end of the text, taken as the reader takes it.
  void Append(Line line);
  void IndexKeys(Section& section);
  void IndexSections();
  // The first section of that name, or nullptr.
  const Section* Find(const std::string& section) const;
  Section* Find(const std::string& section);
  Line* LastLine();
  static bool IsSection(const std::string& raw, std::string& name);
  static bool IsKey(const std::string& raw, std::string& key, std::string& value);

  std::string bom_;           // a UTF-8 byte-order mark the text began with
  bool utf16_ = false;
  std::vector<Line> head_;    // the lines before the first section header
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> index_;  // lower-case name -> first section of it
};

class TIniFile {
 public:
  explicit TIniFile(std::string fileName);

  const std::string& FileName() const { return fileName_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  // Each write updates the file at once; false when it cannot be written
  // (the file then keeps its former contents: a read-only file, a file in
  // UTF-16 are not written either), and false, writing nothing,
  // for names or a value that would not read back as written: a line
  // break anywhere, an empty key or one with '=', ';' or '[' first, a
  // section name with ']' or ending inside a Chinese character, a name
  // with blanks around it.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInteger(const std::string& section, const std::string& key, int32_t value);
  bool WriteBool(const std::string& section, const std::string& key, bool value);
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  void ReadSection(const std::string& section, TStrings& keys) const;
  void ReadSections(TStrings& sections) const;
  bool EraseSection(const std::string& section);
  bool DeleteKey(const std::string& section, const std::string& key);

 private:
  TIniText Load() const;
  bool Save(const TIniText& text);

  std::string fileName_;
};

}  // namespace fw
