// An INI file that keeps its bytes: the file is read as it stands, values
// are GBK bytes passed through untouched, lines the program does not
// change stay exactly as they were, and every write rewrites the file at
// once (through a temporary file, so a failed write loses nothing).
// Section and key names are compared without regard to letter case;
// blanks around keys and values are ignored when reading.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

class TStrings;

// The text of an INI file and its edits, without any file access.
class TIniText {
 public:
  explicit TIniText(std::string text = std::string());

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

 private:
  struct Line {
    std::string raw;  // without its line end
    std::string eol;  // "\r\n", "\n" or "" (last line)
  };
  // Index of the section header line, or -1.
  int FindSection(const std::string& section) const;
  // End (exclusive) of the section that starts at header.
  int SectionEnd(int header) const;
  int FindKey(int header, const std::string& key) const;
  static bool IsSection(const std::string& raw, std::string& name);
  static bool IsKey(const std::string& raw, std::string& key, std::string& value);

  std::vector<Line> lines_;
};

class TIniFile {
 public:
  explicit TIniFile(std::string fileName);

  const std::string& FileName() const { return fileName_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  // Each write updates the file at once; false when it cannot be written
  // (the file then keeps its former contents), and false, writing nothing,
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
