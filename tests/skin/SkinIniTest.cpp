#include "WinSkinIni.h"

#include <gtest/gtest.h>

namespace {
TQuickIni Ini(const std::string& text) {
  TQuickIni ini;
  ini.LoadFromText(text);
  return ini;
}
}  // namespace

TEST(QuickIni, LinesAreTrimmedAndCommentsAndBlanksDropped) {
  TQuickIni ini = Ini("  [Colours] \r\n\r\n; comment\r\n\tWindowText = 1 2 3\n\rMenu=4\r[ Odd ]\n");
  EXPECT_EQ(ini.Lines, (std::vector<std::string>{"[Colours]", "WindowText = 1 2 3", "Menu=4", "[ Odd ]"}));
  ASSERT_EQ(ini.SectionIndex.size(), 2u);
  EXPECT_EQ(ini.SectionIndex[0], (std::pair<std::string, int>{"[Colours]", 0}));
  EXPECT_EQ(ini.SectionIndex[1], (std::pair<std::string, int>{"[ Odd ]", 3}));
  std::vector<std::string> sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (std::vector<std::string>{"Colours", "Odd"}));
  EXPECT_THROW(ini.ReadSections(nullptr), std::logic_error);
}

TEST(QuickIni, ANulByteEndsTheText) {
  std::string text = "[A]\nk=1\n";
  text += '\0';
  text += "[B]\nk=2\n";
  TQuickIni ini = Ini(text);
  EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
  EXPECT_EQ(ini.ReadString("B", "k", "none"), "none");
}

TEST(QuickIni, StreamIsReadFromItsPosition) {
  TSkinMemoryStream s(std::vector<uint8_t>{'x', 'x', '[', 'S', ']', '\n', 'a', '=', 'b'});
  s.Seek(2);
  TQuickIni ini;
  ini.LoadFromStream(&s);
  EXPECT_EQ(ini.ReadString("s", "A", ""), "b");
  ini.LoadFromStream(nullptr);  // does nothing
  EXPECT_EQ(ini.Lines.size(), 2u);
}

TEST(QuickIni, SectionAndKeyLookUp) {
  TQuickIni ini = Ini(
      "[colours]\nRightwidth = 7\n"
      "[ Spaced ]\nk=1\n"
      "[Twice]\nk=\nk=2\nj=first\nj=second\nnoequals\n=empty key\n"
      "[Next]\nk=3\n");
  // Section names without regard to case; spaces inside the brackets count.
  EXPECT_EQ(ini.ReadString("Colours", "RightWidth", "d"), "7");
  EXPECT_EQ(ini.ReadString("Spaced", "k", "d"), "d");
  EXPECT_EQ(ini.ReadString(" Spaced ", "k", "d"), "1");
  // The first line of a key wins, even with an empty value.
  EXPECT_EQ(ini.ReadString("Twice", "k", "d"), "d");
  EXPECT_EQ(ini.ReadString("Twice", "J", "d"), "first");
  // A key is not looked for past the next section header.
  EXPECT_EQ(ini.ReadString("Twice", "missing", "d"), "d");
  EXPECT_EQ(ini.ReadString("Next", "k", "d"), "3");
  // A line without "=" has an empty key, as has "=empty key"; the first of
  // them ends the search with an empty value.
  EXPECT_EQ(ini.ReadString("Twice", "", "d"), "d");
  EXPECT_EQ(Ini("").ReadString("A", "b", "d"), "d");
}

TEST(QuickIni, Integers) {
  TQuickIni ini = Ini("[N]\nhex=0x1F\nHEX=0XfF\nbare=0x\nneg=-12\nplus=+5\nbad=12a\n"
                      "big=99999999999\nmin=-2147483648\nfull=0xFFFFFFFF\nspace=1 2\n");
  EXPECT_EQ(ini.ReadInteger("N", "hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("n", "bare", 9), 9);
  EXPECT_EQ(ini.ReadInteger("N", "neg", 0), -12);
  EXPECT_EQ(ini.ReadInteger("N", "plus", 0), 5);
  EXPECT_EQ(ini.ReadInteger("N", "bad", 4), 4);
  EXPECT_EQ(ini.ReadInteger("N", "big", 4), 4);
  EXPECT_EQ(ini.ReadInteger("N", "min", 4), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("N", "full", 4), -1);
  EXPECT_EQ(ini.ReadInteger("N", "space", 4), 4);
  EXPECT_EQ(ini.ReadInteger("N", "absent", -1), -1);
}

TEST(SkinIni, ColourTexts) {
  EXPECT_EQ(ParseColourText("227 238 253"), RGBColor(227, 238, 253));
  EXPECT_EQ(ParseColourText("255,128,0"), RGBColor(255, 128, 0));
  EXPECT_EQ(ParseColourText("10 20"), RGBColor(10, 0, 0));
  EXPECT_EQ(ParseColourText(" 1;;2x3 "), RGBColor(1, 2, 3));
  EXPECT_EQ(ParseColourText("256 257 258 9 9"), RGBColor(0, 1, 2));
  // Long digit runs: only the value modulo 256 counts (10^8 is a multiple of
  // 256, so the last eight digits decide: 34567890 % 256 = 210).
  EXPECT_EQ(ParseColourText("123456789012345678901234567890 0 0"), RGBColor(210, 0, 0));
  EXPECT_EQ(ParseColourText("4294967297 1 1"), RGBColor(1, 1, 1));
  EXPECT_EQ(ParseColourText(""), 0);
}
