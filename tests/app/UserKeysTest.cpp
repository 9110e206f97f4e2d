// The key profile file: what LoadUserKeys reads and what SaveUserKeys
// leaves in the file, GBK bytes included.
#include "UserKeys.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// 张三 and 李四 in GBK.
const std::string kZhang = "\xD5\xC5\xC8\xFD";
const std::string kLi = "\xC0\xEE\xCB\xC4";

class ProfileFile : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = ::testing::TempDir() + "cardinit-sysinfo-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
    std::remove(file_.c_str());
  }
  void TearDown() override { std::remove(file_.c_str()); }
  void Write(const std::string& text) {
    std::ofstream(file_, std::ios::binary) << text;
  }
  std::string Read() {
    std::ifstream in(file_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string file_;
};

}  // namespace

TEST_F(ProfileFile, MissingFileHasNoProfiles) {
  TStringVector names = {"x"}, keys = {"y"};
  LoadUserKeys(file_, names, keys);
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(keys.empty());
}

TEST_F(ProfileFile, ReadsAsManyAsTheCountSays) {
  Write("[SYSInfo]\r\nUserCnt=2\r\n[UserInfo]\r\nUserName1=" + kZhang +
        "\r\nPassWord1=112233445566\r\nUserName2=" + kLi +
        "\r\nUserName3=extra\r\nPassWord3=AABBCCDDEEFF\r\n");
  TStringVector names, keys;
  LoadUserKeys(file_, names, keys);
  EXPECT_EQ(names, (TStringVector{kZhang, kLi}));
  // The second profile has no key line: it reads as the factory key.
  EXPECT_EQ(keys, (TStringVector{"112233445566", "A5C3E7B91D2F"}));
}

TEST_F(ProfileFile, DamagedCountReadsAsNone) {
  for (const char* count : {"abc", "-3", ""}) {
    Write(std::string("[SYSInfo]\nUserCnt=") + count + "\n[UserInfo]\nUserName1=a\n");
    TStringVector names, keys;
    LoadUserKeys(file_, names, keys);
    EXPECT_TRUE(names.empty()) << count;
  }
}

TEST_F(ProfileFile, SaveAfterDeletingTheLastLeavesItsLines) {
  ASSERT_TRUE(SaveUserKeys(file_, {kZhang, kLi, "c"},
                           {"112233445566", "AABBCCDDEEFF", "010203040506"}));
  ASSERT_TRUE(SaveUserKeys(file_, {kZhang, kLi}, {"112233445566", "AABBCCDDEEFF"}));
  const std::string text = Read();
  EXPECT_NE(text.find("UserCnt=2"), std::string::npos);
  EXPECT_NE(text.find("UserName1=" + kZhang), std::string::npos);
  EXPECT_NE(text.find("UserName2=" + kLi), std::string::npos);
  EXPECT_NE(text.find("UserName3=c"), std::string::npos);
  EXPECT_NE(text.find("PassWord3=010203040506"), std::string::npos);
  TStringVector names, keys;
  LoadUserKeys(file_, names, keys);
  EXPECT_EQ(names, (TStringVector{kZhang, kLi}));
  EXPECT_EQ(keys, (TStringVector{"112233445566", "AABBCCDDEEFF"}));
}

TEST_F(ProfileFile, SaveKeepsOtherLinesByteForByte) {
  const std::string head = "; " + kZhang + " comment\r\n[Other]\r\nx=" + kLi + "\r\n";
  Write(head + "[SYSInfo]\r\nUserCnt=0\r\n");
  ASSERT_TRUE(SaveUserKeys(file_, {kLi}, {"112233445566"}));
  const std::string text = Read();
  EXPECT_EQ(text.compare(0, head.size(), head), 0);
  TStringVector names, keys;
  LoadUserKeys(file_, names, keys);
  EXPECT_EQ(names, (TStringVector{kLi}));
}

TEST_F(ProfileFile, UnwritableFileIsReportedAndUntouched) {
  const std::string missingDir = ::testing::TempDir() + "no-such-dir-cardinit/SysInfo.ini";
  EXPECT_FALSE(SaveUserKeys(missingDir, {"a"}, {"112233445566"}));
  TStringVector names, keys;
  LoadUserKeys(missingDir, names, keys);
  EXPECT_TRUE(names.empty());
}

// Names as typed, blanks and quotes included, come back from the file as they
// were saved (the file's reader trims values and takes quotes off).
TEST_F(ProfileFile, NamesWithBlanksOrQuotesReadBackAsSaved) {
  const TStringVector names = {" " + kZhang, "bob ", "\"boss\"", "\"", kLi};
  const TStringVector keys = {"A5C3E7B91D2F", "112233445566", "AABBCCDDEEFF", "000000000000", "FFFFFFFFFFFF"};
  ASSERT_TRUE(SaveUserKeys(file_, names, keys));
  TStringVector readNames, readKeys;
  LoadUserKeys(file_, readNames, readKeys);
  EXPECT_EQ(readNames, names);
  EXPECT_EQ(readKeys, keys);
}
