// Menu shortcut texts: every key that has a name comes back from its text
// with any modifiers, the spelling is lenient in case and blanks, and text
// that names no key gives no shortcut.
#include <gtest/gtest.h>

#include "ShortCut.h"

using namespace fw;

namespace {

TEST(ShortCutText, KnownSpellings) {
  EXPECT_EQ(ShortCutToText(scCtrl | 'S'), "Ctrl+S");
  EXPECT_EQ(ShortCutToText(scAlt | 0x73), "Alt+F4");
  EXPECT_EQ(ShortCutToText(scShift | 0x2D), "Shift+Ins");
  EXPECT_EQ(ShortCutToText(0x74), "F5");
  EXPECT_EQ(ShortCutToText(0x2E), "Del");
  EXPECT_EQ(ShortCutToText(scShift | scCtrl | scAlt | 'Z'), "Shift+Ctrl+Alt+Z");
  EXPECT_EQ(ShortCutToText(scNone), "");
  EXPECT_EQ(ShortCutToText(scCtrl), "");         // modifiers without a key
  EXPECT_EQ(ShortCutToText(scCtrl | 0xFF), "");  // a key without a name
}

TEST(ShortCutText, EveryNamedKeyRoundTripsWithEveryModifierSet) {
  int named = 0;
  for (int key = 1; key <= 0xFF; ++key) {
    std::string plain = ShortCutToText(static_cast<TShortCut>(key));
    if (plain.empty()) continue;
    ++named;
    for (TShortCut mods : {TShortCut(0), scShift, scCtrl, scAlt, TShortCut(scShift | scCtrl | scAlt)}) {
      TShortCut sc = static_cast<TShortCut>(mods | key);
      EXPECT_EQ(TextToShortCut(ShortCutToText(sc)), sc) << ShortCutToText(sc);
    }
  }
  // Letters, digits, F1-F24, the numeric pad and the named keys.
  EXPECT_GE(named, 26 + 10 + 24 + 15 + 15);
}

TEST(ShortCutText, ReadingIgnoresCaseAndBlanks) {
  EXPECT_EQ(TextToShortCut("ALT+F4"), scAlt | 0x73);
  EXPECT_EQ(TextToShortCut(" ctrl + s "), scCtrl | 'S');
  EXPECT_EQ(TextToShortCut("alt+ctrl+del"), scAlt | scCtrl | 0x2E);
  EXPECT_EQ(TextToShortCut("Ctrl+Num +"), scCtrl | 0x6B);  // a key whose name has a '+'
  EXPECT_EQ(TextToShortCut("f12"), 0x7B);
}

TEST(ShortCutText, TextNamingNoKeyGivesNone) {
  for (const char* text : {"", "Ctrl+", "Ctrl", "Ctrl+Ctrl", "Hyper+S", "Ctrl+SS", "F25", "F0", "+", "Ctrl+S+",
                           "S+Ctrl"})
    EXPECT_EQ(TextToShortCut(text), scNone) << text;
}

}  // namespace
