#include "Common.h"

#include <gtest/gtest.h>

TEST(FieldList, CountsEveryFieldEmptyOnesIncluded) {
  EXPECT_EQ(GetFieldCount("08/09/10", '/'), 3);
  EXPECT_EQ(GetFieldCount("08//10", '/'), 3);
  EXPECT_EQ(GetFieldCount("08/09/10/", '/'), 4);
  EXPECT_EQ(GetFieldCount("08", '/'), 1);
  EXPECT_EQ(GetFieldCount("", '/'), 0);
  EXPECT_EQ(GetFieldCount(" ", '/'), 0);
  EXPECT_EQ(GetFieldCount("/", '/'), 2);
}

TEST(FieldList, PicksFieldOrTheLastOne) {
  EXPECT_EQ(GetField("08/09/10", 2, '/'), "09");
  EXPECT_EQ(GetField("08/09/10", 1, '/'), "08");
  EXPECT_EQ(GetField("08/09/10", 5, '/'), "10");
  EXPECT_EQ(GetField("08/09/10", 0, '/'), "10");
  EXPECT_EQ(GetField("08//10", 2, '/'), "");
  EXPECT_EQ(GetField("08/09/10/", 4, '/'), "");
  EXPECT_EQ(GetField("", 1, '/'), "");
  EXPECT_EQ(GetField("   ", 1, '/'), "");
}

TEST(KeyForms, SpacedAndCompact) {
  EXPECT_EQ(HexSpaced("ABCDEF"), "AB CD EF");
  EXPECT_EQ(HexSpaced("A5C3E7B91D2F"), "A5 C3 E7 B9 1D 2F");
  EXPECT_EQ(HexSpaced("ABC"), "AB");
  EXPECT_EQ(HexSpaced("A"), "");
  EXPECT_EQ(HexSpaced(""), "");
  EXPECT_EQ(HexCompact("AB CD EF"), "ABCDEF");
  EXPECT_EQ(HexCompact("A5 C3 E7 B9 1D 2F"), "A5C3E7B91D2F");
  EXPECT_EQ(HexCompact(""), "");
  // A key round-trips through the edit's form.
  EXPECT_EQ(HexCompact(HexSpaced("640257319882")), "640257319882");
}

TEST(KeyForms, OnlyTwelveHexDigitsAreAKey) {
  EXPECT_TRUE(IsCardKey("A5C3E7B91D2F"));
  EXPECT_TRUE(IsCardKey("a5c3e7b91d2f"));
  EXPECT_FALSE(IsCardKey("A5C3E7B91D2"));     // 11
  EXPECT_FALSE(IsCardKey("A5C3E7B91D2F0"));   // 13
  EXPECT_FALSE(IsCardKey("A5C3E7B91D2G"));
  EXPECT_FALSE(IsCardKey("A5C3E7B9__2F"));    // incomplete mask
  EXPECT_FALSE(IsCardKey("A5 C3 E7 B9 1D"));
  EXPECT_FALSE(IsCardKey(""));
}

TEST(KeyForms, KeyEditsTakeHexDigitsAndBackspaceOnly) {
  for (char c : std::string("0123456789ABCDEFabcdef\b")) EXPECT_TRUE(IsKeyChar(c)) << int(c);
  for (char c : std::string(" -GgZz/:@`\t\r\x7F")) EXPECT_FALSE(IsKeyChar(c)) << int(c);
  EXPECT_FALSE(IsKeyChar('\xCC'));  // the lead byte of a GBK character
}

TEST(Numbers, StrictDecimalNeverThrows) {
  int v = -7;
  EXPECT_TRUE(ParseDecimal("15", v));
  EXPECT_EQ(v, 15);
  EXPECT_TRUE(ParseDecimal(" 08 ", v));
  EXPECT_EQ(v, 8);
  v = -7;
  EXPECT_FALSE(ParseDecimal("", v));
  EXPECT_FALSE(ParseDecimal("1x", v));
  EXPECT_FALSE(ParseDecimal("-1", v));
  EXPECT_FALSE(ParseDecimal("+1", v));
  EXPECT_FALSE(ParseDecimal("9999999999", v));
  EXPECT_EQ(v, -7);
}

TEST(Numbers, PortNumberOfName) {
  EXPECT_EQ(PortNumberOf("COM1"), 1);
  EXPECT_EQ(PortNumberOf("COM10"), 10);
  EXPECT_EQ(PortNumberOf(" COM3 "), 3);
  EXPECT_EQ(PortNumberOf("COM"), -1);
  EXPECT_EQ(PortNumberOf("COMx"), -1);
  EXPECT_EQ(PortNumberOf("COM0"), -1);
  EXPECT_EQ(PortNumberOf("COM100"), -1);
  EXPECT_EQ(PortNumberOf(""), -1);
}

TEST(PortList, SortsAsTextWithoutCase) {
  TStringVector names = {"COM2", "COM10", "com3", "COM1"};
  SortPortNames(names);
  EXPECT_EQ(names, (TStringVector{"COM1", "COM10", "COM2", "com3"}));
}
