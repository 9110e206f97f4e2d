// A small in-memory reader of the skin description: bracketed section
// headers and key=value lines. Keys and section names compare without regard
// to case; the first line of a key wins.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "SkinPixels.h"
#include "SkinStream.h"

class TQuickIni {
 public:
  // Trimmed, non-empty lines that do not begin with ";".
  std::vector<std::string> Lines;
  // Section header lines (brackets kept) with their index in `Lines`.
  std::vector<std::pair<std::string, int>> SectionIndex;

  // Reads `stream` from its position to its end; a NUL ends the text.
  // A null stream does nothing.
  void LoadFromStream(TSkinMemoryStream* stream);
  void LoadFromText(const std::string& text);
  // Section names without brackets, trimmed, in file order. A null list is a
  // programming error (assertion "The parameter Strings is unassigned!").
  void ReadSections(std::vector<std::string>* strings) const;
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // Decimal with optional sign, or "0x"/"0X" followed by hex digits; anything
  // else (and an absent key) gives the default.
  int32_t ReadInteger(const std::string& section, const std::string& key,
                      int32_t defaultValue) const;
};

// Blanks and control characters off both ends.
std::string TrimText(const std::string& s);
// Integer conversion as ReadInteger does it; false when the text does not convert.
bool ParseIniInteger(const std::string& text, int32_t& value);

// A colour written as three decimal numbers (red, green, blue) separated by
// any non-digits. Channels are taken modulo 256 however long their digit
// runs; numbers after the third are ignored.
TColor ParseColourText(const std::string& text);
