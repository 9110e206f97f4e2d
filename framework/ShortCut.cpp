#include "ShortCut.h"

#include "TextUtils.h"

namespace fw {

namespace {

struct KeyName {
  uint8_t key;
  const char* name;
};

// Keys other than letters, digits and function keys, by virtual key code.
// The punctuation keys carry their names on a US keyboard.
constexpr KeyName kKeyNames[] = {
    {0x08, "BkSp"},  {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},   {0x20, "Space"}, {0x21, "PgUp"},
    {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"},  {0x25, "Left"},  {0x26, "Up"},    {0x27, "Right"},
    {0x28, "Down"},  {0x2D, "Ins"},   {0x2E, "Del"},   {0x6A, "Num *"}, {0x6B, "Num +"}, {0x6D, "Num -"},
    {0x6E, "Num ."}, {0x6F, "Num /"}, {0xBA, ";"},     {0xBB, "="},     {0xBC, ","},     {0xBD, "-"},
    {0xBE, "."},     {0xBF, "/"},     {0xC0, "`"},     {0xDB, "["},     {0xDC, "\\"},    {0xDD, "]"},
    {0xDE, "'"},
};

std::string KeyToText(uint8_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= 0x60 && key <= 0x69) return "Num " + std::string(1, static_cast<char>('0' + key - 0x60));
  if (key >= 0x70 && key <= 0x87) return "F" + IntToStr(key - 0x70 + 1);
  for (const KeyName& k : kKeyNames)
    if (k.key == key) return k.name;
  return std::string();
}

// The key code of a key name (letter case ignored); 0 when unknown.
uint8_t TextToKey(const std::string& name) {
  if (name.empty()) return 0;
  for (int key = 1; key <= 0xFF; ++key) {
    std::string known = KeyToText(static_cast<uint8_t>(key));
    if (!known.empty() && CompareText(known, name) == 0) return static_cast<uint8_t>(key);
  }
  return 0;
}

// Takes "word+" (letter case and blanks before the '+' ignored) off the
// front of text; false when text does not start so.
bool TakePrefix(std::string& text, const char* word) {
  size_t plus = text.find('+');
  if (plus == std::string::npos || CompareText(Trim(text.substr(0, plus)), word) != 0) return false;
  text = TrimLeft(text.substr(plus + 1));
  return true;
}

}  // namespace

TShortCut MakeShortCut(uint16_t key, bool shift, bool ctrl, bool alt) {
  if (key == 0 || key > 0xFF) return scNone;
  return static_cast<TShortCut>(key | (shift ? scShift : 0) | (ctrl ? scCtrl : 0) | (alt ? scAlt : 0));
}

std::string ShortCutToText(TShortCut shortCut) {
  std::string key = KeyToText(static_cast<uint8_t>(shortCut & 0xFF));
  if (key.empty()) return std::string();
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + key;
}

TShortCut TextToShortCut(const std::string& text) {
  std::string rest = Trim(text);
  TShortCut modifiers = 0;
  for (;;) {
    if (TakePrefix(rest, "Shift")) modifiers |= scShift;
    else if (TakePrefix(rest, "Ctrl")) modifiers |= scCtrl;
    else if (TakePrefix(rest, "Alt")) modifiers |= scAlt;
    else break;
  }
  uint8_t key = TextToKey(TrimRight(rest));
  if (key == 0) return scNone;
  return static_cast<TShortCut>(modifiers | key);
}

}  // namespace fw
