// INI files keep their bytes: GBK values round-trip exactly and lines the
// program does not touch stay as they were.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>

#include "FileIO.h"
#include "IniFile.h"
#include "StringList.h"
#include "TextUtils.h"

using namespace fw;

namespace {

std::string TempPath(const char* name) {
#ifdef _WIN32
  return std::string(".\\") + name;
#else
  return std::string("/tmp/") + name + "." + std::to_string(::testing::UnitTest::GetInstance()->random_seed());
#endif
}

TEST(IniFile, GbkRoundTripAndUntouchedLines) {
  std::string path = TempPath("fw_ini_test.ini");
  const std::string original =
      "; \xD3\xC3\xBB\xA7 profiles\r\n[SYSInfo]\r\nUserCnt=1\r\n\r\n[UserInfo]\r\nUserName1=\xD5\xC5\xC8\xFD\r\n"
      "PassWord1=A5C3E7B91D2F\r\n";
  ASSERT_TRUE(SaveFileBytes(path, original));
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("UserInfo", "UserName1", ""), "\xD5\xC5\xC8\xFD");  // 张三
  EXPECT_EQ(ini.ReadInteger("sysinfo", "usercnt", 0), 1);
  // A name whose trail byte is '\\' (0x5C) and one with '[' must survive.
  const std::string tricky = "\xC4\x5C\xB0\x5B\xCA\xBE";
  ASSERT_TRUE(ini.WriteString("UserInfo", "UserName2", tricky));
  ASSERT_TRUE(ini.WriteInteger("SYSInfo", "UserCnt", 2));
  EXPECT_EQ(ini.ReadString("UserInfo", "UserName2", ""), tricky);
  std::string bytes;
  ASSERT_TRUE(LoadFileBytes(path, bytes));
  EXPECT_EQ(bytes,
            "; \xD3\xC3\xBB\xA7 profiles\r\n[SYSInfo]\r\nUserCnt=2\r\n\r\n[UserInfo]\r\nUserName1=\xD5\xC5\xC8\xFD\r\n"
            "PassWord1=A5C3E7B91D2F\r\nUserName2=" +
                tricky + "\r\n");
  TStringList keys;
  ini.ReadSection("UserInfo", keys);
  EXPECT_EQ(keys.Count(), 3);
  std::remove(path.c_str());
}

TEST(IniFile, MissingFileReadsDefaultsAndFailedWriteKeepsFile) {
  TIniFile missing(TempPath("fw_no_such.ini"));
  EXPECT_EQ(missing.ReadString("A", "B", "dflt"), "dflt");
  EXPECT_EQ(missing.ReadInteger("A", "B", 5), 5);
  TIniFile unwritable(TempPath("no_such_dir/x.ini"));
  EXPECT_FALSE(unwritable.WriteString("A", "B", "C"));
}

TEST(IniFile, EntriesThatWouldNotReadBackAreRefusedAndWriteNothing) {
  std::string path = TempPath("fw_ini_refuse.ini");
  const std::string original = "[A]\r\nk=1\r\n";
  ASSERT_TRUE(SaveFileBytes(path, original));
  TIniFile ini(path);
  EXPECT_FALSE(ini.WriteString("A", "k", "2\r\n[B]\r\nx=injected"));
  EXPECT_FALSE(ini.WriteString("A", "k\nx", "2"));
  EXPECT_FALSE(ini.WriteString("A", "a=b", "2"));
  EXPECT_FALSE(ini.WriteString("A", " ", "2"));
  EXPECT_FALSE(ini.WriteString("A]x", "k", "2"));
  // Names the reader would take differently: trimmed, a comment, a header.
  EXPECT_FALSE(ini.WriteString(" A", "k", "2"));
  EXPECT_FALSE(ini.WriteString("\x05" "Caption", "Width", "120"));
  EXPECT_FALSE(ini.WriteString("A", "k ", "2"));
  EXPECT_FALSE(ini.WriteString("A", ";k", "2"));
  EXPECT_FALSE(ini.WriteString("A", "[B]k", "2"));
  // A section name ending in the first byte of a Chinese character: its
  // closing bracket would be read as the character's second byte.
  EXPECT_FALSE(ini.WriteString("\xD5", "k", "2"));
  std::string bytes;
  ASSERT_TRUE(LoadFileBytes(path, bytes));
  EXPECT_EQ(bytes, original);
  EXPECT_FALSE(ini.SectionExists("B"));
  EXPECT_TRUE(ini.WriteString("A", "k", "\xD5\xC5 = [x]"));  // '=' and brackets in a value are fine
  EXPECT_EQ(ini.ReadString("A", "k", ""), "\xD5\xC5 = [x]");
  std::remove(path.c_str());
}

TEST(IniFile, SectionNamesWhoseSecondByteIsABracketStayWhole) {
  // The second byte of these GBK characters is ']' (0x5D).
  const std::string name = "\x81\x5D\xC5\x5D";
  std::string path = TempPath("fw_ini_bracket.ini");
  ASSERT_TRUE(SaveFileBytes(path, "[" + name + "]\r\nk=1\r\n[" + name + "x]\r\nk=2\r\n"));
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString(name, "k", ""), "1");
  EXPECT_EQ(ini.ReadString(name + "x", "k", ""), "2");
  EXPECT_FALSE(ini.SectionExists("\x81"));
  TStringList sections;
  ini.ReadSections(sections);
  ASSERT_EQ(sections.Count(), 2);
  EXPECT_EQ(sections.Strings(0), name);
  // Such a name is written like any other; a real ']' is still refused.
  ASSERT_TRUE(ini.WriteString(name, "j", "3"));
  EXPECT_EQ(ini.ReadString(name, "j", ""), "3");
  EXPECT_FALSE(ini.WriteString(name + "]", "k", "4"));
  std::string bytes;
  ASSERT_TRUE(LoadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "[" + name + "]\r\nk=1\r\nj=3\r\n[" + name + "x]\r\nk=2\r\n");
  std::remove(path.c_str());
}

TEST(IniText, ValuesReadBackAsWritten) {
  TIniText t;
  const std::string values[] = {"plain", "", " leading", "trailing\t", "\"quoted\"", "\"\"", "\"", "a \"b\" c",
                                " \xD5\xC5 "};
  for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i) t.Write("S", "k" + std::to_string(i), values[i]);
  const TIniText read(t.Text());
  for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i) {
    std::string value;
    ASSERT_TRUE(read.Read("S", "k" + std::to_string(i), value));
    EXPECT_EQ(value, values[i]);
  }
  // Values that read back as they stand are written as they are.
  EXPECT_NE(t.Text().find("k0=plain\r\n"), std::string::npos);
  EXPECT_NE(t.Text().find("k7=a \"b\" c\r\n"), std::string::npos);
  EXPECT_NE(t.Text().find("k2=\" leading\"\r\n"), std::string::npos);
}

TEST(IniText, NewSectionsAndKeysAppendCleanly) {
  TIniText t("[A]\nx=1");
  t.Write("A", "y", "2");
  t.Write("B", "z", "3");
  EXPECT_EQ(t.Text(), "[A]\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
  t.DeleteKey("a", "X");
  t.EraseSection("B");
  EXPECT_EQ(t.Text(), "[A]\ny=2\r\n");
}

// A UTF-8 byte-order mark before the first section is skipped when reading
// and kept when writing.
TEST(IniText, ByteOrderMarkIsSkippedAndKept) {
  TIniText t("\xEF\xBB\xBF[A]\r\nk=1\r\n");
  std::string value;
  ASSERT_TRUE(t.Read("A", "k", value));
  EXPECT_EQ(value, "1");
  EXPECT_EQ(t.Sections(), std::vector<std::string>{"A"});
  t.Write("A", "j", "2");
  EXPECT_EQ(t.Text(), "\xEF\xBB\xBF[A]\r\nk=1\r\nj=2\r\n");
  // A mark alone: the first section follows it directly.
  TIniText mark("\xEF\xBB\xBF");
  mark.Write("A", "k", "1");
  EXPECT_EQ(mark.Text(), "\xEF\xBB\xBF[A]\r\nk=1\r\n");
}

// A file in UTF-16 and a read-only file are never written: every write is
// refused and the bytes stay.
TEST(IniFile, Utf16AndReadOnlyFilesAreNotWritten) {
  std::string path = TempPath("fw_ini_wide.ini");
  const std::string wide("\xFF\xFE[\0A\0]\0\r\0\n\0", 12);
  ASSERT_TRUE(SaveFileBytes(path, wide));
  TIniFile ini(path);
  EXPECT_FALSE(ini.WriteString("A", "k", "1"));
  EXPECT_FALSE(ini.EraseSection("A"));
  std::string bytes;
  ASSERT_TRUE(LoadFileBytes(path, bytes));
  EXPECT_EQ(bytes, wide);

  ASSERT_TRUE(SaveFileBytes(path, "[A]\r\nk=1\r\n"));
#ifdef _WIN32
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
#else
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
#endif
  EXPECT_FALSE(ini.WriteString("A", "k", "2"));
  EXPECT_FALSE(SaveFileBytes(path, "x"));
  EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
#ifdef _WIN32
  EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
#else
  chmod(path.c_str(), 0644);
#endif
  std::remove(path.c_str());
}

// Reading a whole file tells a file that is not there from one that is
// there but cannot be read.
TEST(FileRead, MissingIsToldFromUnreadable) {
  const std::string path = TempPath("fw_read_test.ini");
  std::remove(path.c_str());
  std::string data = "kept";
  EXPECT_EQ(ReadFileBytes(path, data), TReadResult::Missing);
  EXPECT_EQ(ReadFileBytes(TempPath("fw_no_such_folder") + "/x.ini", data), TReadResult::Missing);
  // A folder where the file should be.
  ASSERT_TRUE(std::filesystem::create_directory(path));
  EXPECT_EQ(ReadFileBytes(path, data), TReadResult::Unreadable);
  EXPECT_FALSE(LoadFileBytes(path, data));
  std::filesystem::remove(path);
  EXPECT_EQ(data, "kept");

  ASSERT_TRUE(SaveFileBytes(path, "[A]\r\nb=c\r\n"));
  EXPECT_EQ(ReadFileBytes(path, data), TReadResult::Read);
  EXPECT_EQ(data, "[A]\r\nb=c\r\n");
#ifdef _WIN32
  // Held open by another program that shares it with no one.
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadFileBytes(path, data), TReadResult::Unreadable);
  CloseHandle(held);
#else
  // Without read permission (which root does not need).
  if (geteuid() != 0) {
    ASSERT_EQ(chmod(path.c_str(), 0200), 0);
    EXPECT_EQ(ReadFileBytes(path, data), TReadResult::Unreadable);
    chmod(path.c_str(), 0600);
  }
#endif
  EXPECT_EQ(data, "[A]\r\nb=c\r\n");
  std::remove(path.c_str());
}

TEST(Numbers, SafeParsing) {
  int32_t v = 0;
  EXPECT_TRUE(TryStrToInt(" 15 ", v));
  EXPECT_EQ(v, 15);
  EXPECT_TRUE(TryStrToInt("-2147483648", v));
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_FALSE(TryStrToInt("2147483648", v));
  EXPECT_FALSE(TryStrToInt("", v));
  EXPECT_FALSE(TryStrToInt("1 2", v));
  EXPECT_FALSE(TryStrToInt("0x", v));
  EXPECT_TRUE(TryStrToInt("$FFFFFFFF", v));
  EXPECT_EQ(v, -1);
  EXPECT_EQ(StrToIntDef("COM", -1), -1);
  // 64 bits: the extremes read, one digit more is refused, not wrapped.
  int64_t w = 5;
  EXPECT_TRUE(TryStrToInt64("-9223372036854775808", w));
  EXPECT_EQ(w, INT64_MIN);
  EXPECT_TRUE(TryStrToInt64("$7FFFFFFFFFFFFFFF", w));
  EXPECT_EQ(w, INT64_MAX);
  w = 5;
  EXPECT_FALSE(TryStrToInt64("18446744073709551616", w));
  EXPECT_FALSE(TryStrToInt64("-92233720368547758080", w));
  EXPECT_FALSE(TryStrToInt64("$10000000000000000", w));
  EXPECT_EQ(w, 5);
  EXPECT_EQ(IntToHex(0xAB, 4), "00AB");
  EXPECT_EQ(Format("COM%d", 3), "COM3");
}

TEST(Numbers, CaseChangesLeaveGbkWhole) {
  // The trail byte 0x61 ('a') of a GBK character must not be upper-cased.
  EXPECT_EQ(UpperCase("ab\x81\x61z"), "AB\x81\x61Z");
  EXPECT_TRUE(SameText("Com10", "COM10"));
  EXPECT_LT(CompareText("COM10", "com2"), 0);
}

}  // namespace
