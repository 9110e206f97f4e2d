// The key profile file: what LoadUserKeys reads and what SaveUserKeys
// leaves in the file, GBK bytes included.
#include "UserKeys.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
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

// Runs `check` while the file `path` in the folder `folder` is there but
// cannot be read, by one who may write the file and the folder: held open
// by another program that shares it with no one (Windows), or of mode 0200
// (where this process runs as root, who reads every file, the check runs
// in a child process as nobody, to whom the folder and the file are
// given). The check's result (0 to 254), or -1 when it could not run.
int WhileUnreadable(const std::string& folder, const std::string& path, const std::function<int()>& check) {
#ifdef _WIN32
  (void)folder;
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (held == INVALID_HANDLE_VALUE) return -1;
  const int result = check();
  CloseHandle(held);
  return result;
#else
  if (chmod(path.c_str(), 0200) != 0) return -1;
  int result = -1;
  if (geteuid() != 0) {
    result = check();
  } else {
    const uid_t nobody = 65534;
    pid_t child = -1;
    if (chown(folder.c_str(), nobody, nobody) == 0 && chown(path.c_str(), nobody, nobody) == 0) child = fork();
    if (child == 0) {
      if (setgid(nobody) != 0 || setuid(nobody) != 0) _exit(255);
      _exit(check());
    }
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) != 255)
      result = WEXITSTATUS(status);
  }
  chmod(path.c_str(), 0600);
  return result;
#endif
}

}  // namespace

TEST_F(ProfileFile, MissingFileHasNoProfiles) {
  TStringVector names = {"x"}, keys = {"y"};
  EXPECT_TRUE(LoadUserKeys(file_, names, keys));
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(keys.empty());
}

// Only a missing file reads as no profiles. One that is there but cannot be
// read gives none and false, and is never replaced by a save of what was
// listed (it would lose every profile it holds).
TEST_F(ProfileFile, AFileThatCannotBeReadIsToldAndNeverReplaced) {
  // A folder where the file should be.
  ASSERT_TRUE(std::filesystem::create_directory(file_));
  TStringVector names = {"x"}, keys = {"y"};
  EXPECT_FALSE(LoadUserKeys(file_, names, keys));
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(keys.empty());
  EXPECT_FALSE(SaveUserKeys(file_, {"a"}, {"112233445566"}));
  std::filesystem::remove(file_);

  // A file that its reader may write, in a folder it may write, but not read.
  const std::string folder = file_ + ".d";
  const std::string path = folder + "/SysInfo.ini";
  const std::string text = "[SYSInfo]\r\nUserCnt=1\r\n[UserInfo]\r\nUserName1=alice\r\nPassWord1=112233445566\r\n";
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  std::ofstream(path, std::ios::binary) << text;
  const int seen = WhileUnreadable(folder, path, [&] {
    TStringVector n = {"x"}, k = {"y"};
    const bool loaded = LoadUserKeys(path, n, k);
    const bool saved = SaveUserKeys(path, {"mallory"}, {"000000000000"});
    return (loaded ? 1 : 0) | (saved ? 2 : 0) | (n.empty() && k.empty() ? 4 : 0);
  });
  ASSERT_NE(seen, -1) << "the file could not be made unreadable";
  EXPECT_EQ(seen & 1, 0) << "read as if it were not there";
  EXPECT_EQ(seen & 2, 0) << "replaced";
  EXPECT_EQ(seen & 4, 4);
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  in.close();
  EXPECT_EQ(bytes.str(), text);
  std::filesystem::remove_all(folder);
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

// A count that is not a number or below zero reads as the highest profile
// present, the gaps listed as empty profiles, so that adding profiles and
// saving writes them after all of them, over none.
TEST_F(ProfileFile, DamagedCountReadsAsTheHighestProfilePresent) {
  for (const char* count : {"x", "2x", "abc", "-3", ""}) {
    Write(std::string("[SYSInfo]\nUserCnt=") + count +
          "\n[UserInfo]\nUserName1=alice\nPassWord1=112233445566\nUserName3=carol\nPassWord3=AABBCCDDEEFF\n");
    TStringVector names, keys;
    LoadUserKeys(file_, names, keys);
    EXPECT_EQ(names, (TStringVector{"alice", "", "carol"})) << count;
    EXPECT_EQ(keys, (TStringVector{"112233445566", "A5C3E7B91D2F", "AABBCCDDEEFF"})) << count;
    names.insert(names.end(), {"dave", "erin"});
    keys.insert(keys.end(), {"010203040506", "0A0B0C0D0E0F"});
    ASSERT_TRUE(SaveUserKeys(file_, names, keys));
    const std::string text = Read();
    EXPECT_NE(text.find("UserCnt=5\n"), std::string::npos) << count;
    EXPECT_NE(text.find("UserName3=carol\nPassWord3=AABBCCDDEEFF\n"), std::string::npos) << text;
    TStringVector again, againKeys;
    LoadUserKeys(file_, again, againKeys);
    EXPECT_EQ(again, names) << count;
    EXPECT_EQ(againKeys, keys) << count;
  }
}

// A file without a count line (made by hand) keeps its profiles too.
TEST_F(ProfileFile, MissingCountReadsAsTheNamesPresent) {
  Write("[UserInfo]\nUserName1=alice\nPassWord1=112233445566\nUserName2=bob\n");
  TStringVector names, keys;
  LoadUserKeys(file_, names, keys);
  EXPECT_EQ(names, (TStringVector{"alice", "bob"}));
  names.push_back("carol");
  keys.push_back("AABBCCDDEEFF");
  ASSERT_TRUE(SaveUserKeys(file_, names, keys));
  LoadUserKeys(file_, names, keys);
  EXPECT_EQ(names, (TStringVector{"alice", "bob", "carol"}));
}

// A file saved with a UTF-8 byte-order mark reads like one without, and
// keeps its mark and its one [SYSInfo] section when saved.
TEST_F(ProfileFile, ByteOrderMarkIsSkippedAndKept) {
  const std::string mark = "\xEF\xBB\xBF";
  Write(mark + "[SYSInfo]\r\nUserCnt=1\r\n[UserInfo]\r\nUserName1=alice\r\nPassWord1=112233445566\r\n");
  TStringVector names, keys;
  LoadUserKeys(file_, names, keys);
  ASSERT_EQ(names, (TStringVector{"alice"}));
  names.push_back("carol");
  keys.push_back("AABBCCDDEEFF");
  ASSERT_TRUE(SaveUserKeys(file_, names, keys));
  EXPECT_EQ(Read(), mark +
                        "[SYSInfo]\r\nUserCnt=2\r\n[UserInfo]\r\nUserName1=alice\r\nPassWord1=112233445566\r\n"
                        "UserName2=carol\r\nPassWord2=AABBCCDDEEFF\r\n");
}

// A file that begins with the UTF-8 mark is in UTF-8: its names are read
// into GBK and written back in UTF-8 behind the mark. A name with a
// character GBK lacks shows GBK's substitute and goes back into the file
// as it was, where it stands or moved by a deletion (the list tells where
// each profile came from); so do bytes that are not UTF-8 (a GBK name an
// earlier version wrote into the file), and two names that differ only in
// such characters.
TEST_F(ProfileFile, AUtf8FileIsReadAndWrittenInUtf8) {
  const std::string mark = "\xEF\xBB\xBF";
  const std::string zhang = "\xE5\xBC\xA0\xE4\xB8\x89";  // 张三 in UTF-8
  const std::string li = "\xE6\x9D\x8E\xE5\x9B\x9B";     // 李四 in UTF-8
  const std::string smile = "a\xF0\x9F\x98\x80";           // 'a' and a character GBK lacks
  const std::string head = mark + "[SYSInfo]\r\nUserCnt=";
  const std::string first = "[UserInfo]\r\nUserName1=" + zhang + "\r\nPassWord1=112233445566\r\n";
  const std::string second = "UserName2=" + smile + "\r\nPassWord2=AABBCCDDEEFF\r\n";
  Write(head + "2\r\n" + first + second);
  TStringVector names, keys;
  TStoredProfiles stored;
  LoadUserKeys(file_, names, keys, &stored);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], kZhang);
  EXPECT_EQ(names[1].substr(0, 2), "a?");
  names.push_back(kLi);
  keys.push_back("010203040506");
  stored.push_back(std::nullopt);
  ASSERT_TRUE(SaveUserKeys(file_, names, keys, stored));
  EXPECT_EQ(Read(), head + "3\r\n" + first + second + "UserName3=" + li + "\r\nPassWord3=010203040506\r\n");
  TStringVector again, againKeys;
  LoadUserKeys(file_, again, againKeys);
  EXPECT_EQ(again, names);

  // The first deleted: the second moves up as it was.
  ASSERT_TRUE(SaveUserKeys(file_, {names[1], names[2]}, {keys[1], keys[2]}, {stored[1], stored[2]}));
  EXPECT_EQ(Read().find(head + "2\r\n[UserInfo]\r\nUserName1=" + smile + "\r\nPassWord1=AABBCCDDEEFF\r\n"
                        "UserName2=" + li + "\r\nPassWord2=010203040506\r\n"), 0u) << Read();

  // A GBK name in the UTF-8 file shows as it stands and stays as it was.
  Write(head + "1\r\n[UserInfo]\r\nUserName1=" + kZhang + "\r\nPassWord1=112233445566\r\n");
  LoadUserKeys(file_, names, keys, &stored);
  EXPECT_EQ(names, TStringVector{kZhang});
  ASSERT_TRUE(SaveUserKeys(file_, names, keys, stored));
  EXPECT_EQ(Read(), head + "1\r\n[UserInfo]\r\nUserName1=" + kZhang + "\r\nPassWord1=112233445566\r\n");

  // Two names that read the same, with keys of their own: kept where they
  // stand, and each as it was once moved.
  const std::string other = "a\xF0\x9F\x98\x81";
  const std::string third = "UserName3=" + other + "\r\nPassWord3=0A0B0C0D0E0F\r\n";
  const std::string twins = head + "3\r\n" + first + second + third;
  Write(twins);
  LoadUserKeys(file_, names, keys, &stored);
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[1], names[2]);
  ASSERT_TRUE(SaveUserKeys(file_, names, keys, stored));
  EXPECT_EQ(Read(), twins);
  ASSERT_TRUE(SaveUserKeys(file_, {names[0], names[2]}, {keys[0], keys[2]}, {stored[0], stored[2]}));
  EXPECT_EQ(Read(), head + "2\r\n" + first + "UserName2=" + other + "\r\nPassWord2=0A0B0C0D0E0F\r\n" + third);
}

// Names that read alike in GBK (Hangul, which GBK lacks, shows as its
// substitute): each profile that came from the file keeps the stored bytes
// of its name and of its key where they read as before, wherever a
// deletion moved it; a profile added, and a name or key changed, go in as
// typed, even where they read as a stored one. No save is refused.
TEST_F(ProfileFile, NamesThatReadAlikeKeepTheirBytesByWhereTheyCameFrom) {
  const std::string korea = "\xED\x95\x9C\xEA\xB5\xAD", joseon = "\xEC\xA1\xB0\xEC\x84\xA0";  // 한국, 조선
  const std::string aHan = "a\xED\x95\x9C", typed = "a?";                                  // a한 reads as a?
  auto entry = [](int i, const std::string& name, const std::string& key) {
    return "UserName" + std::to_string(i) + "=" + name + "\r\nPassWord" + std::to_string(i) + "=" + key + "\r\n";
  };
  auto profiles = [](int count, const std::string& entries) {
    return "\xEF\xBB\xBF[SYSInfo]\r\nUserCnt=" + std::to_string(count) + "\r\n[UserInfo]\r\n" + entries;
  };
  const std::string k1 = "111111111111", k2 = "222222222222", k3 = "333333333333", k4 = "444444444444";
  const std::string first = entry(1, korea, k1), second = entry(2, joseon, k2), third = entry(3, aHan, k3);
  const std::string three = profiles(3, first + second + third);
  TStringVector names, keys;
  TStoredProfiles stored;
  Write(three);
  LoadUserKeys(file_, names, keys, &stored);
  ASSERT_EQ(names.size(), 3u);
  ASSERT_EQ(names[0], names[1]);
  ASSERT_EQ(names[2], "a" + names[0].substr(0, names[0].size() / 2));
  const std::string& alike = names[0];  // "??"
  // Saved over the file as loaded, each profile with the stored entry of
  // the place it came from (-1: added).
  auto saved = [&](const TStringVector& n, const TStringVector& k, const std::vector<int>& from) {
    TStoredProfiles rows;
    for (int i : from) rows.push_back(i < 0 ? std::nullopt : stored[static_cast<size_t>(i)]);
    Write(three);
    EXPECT_TRUE(SaveUserKeys(file_, n, k, rows));
    return Read();
  };

  // The first or the second deleted: the other stays with its own bytes.
  EXPECT_EQ(saved({alike, typed}, {k2, k3}, {1, 2}), profiles(2, entry(1, joseon, k2) + entry(2, aHan, k3) + third));
  EXPECT_EQ(saved({alike, typed}, {k1, k3}, {0, 2}), profiles(2, first + entry(2, aHan, k3) + third));
  // "a?" added beside the stored one that reads so, with its key or with
  // one of its own, and also in place of that one, deleted: as typed.
  EXPECT_EQ(saved({alike, alike, typed, typed}, {k1, k2, k3, k3}, {0, 1, 2, -1}),
            profiles(4, first + second + third + entry(4, typed, k3)));
  EXPECT_EQ(saved({alike, alike, typed}, {k1, k2, k4}, {0, 1, -1}), profiles(3, first + second + entry(3, typed, k4)));
  EXPECT_EQ(saved({alike, alike, typed}, {k1, k2, k3}, {0, 1, -1}), profiles(3, first + second + entry(3, typed, k3)));
  // The first renamed "a?": as typed, its key as it was.
  EXPECT_EQ(saved({typed, alike, typed}, {k1, k2, k3}, {0, 1, 2}), profiles(3, entry(1, typed, k1) + second + third));
  // Only a key changed, to a key of its own or to the other's: the name
  // keeps its bytes.
  EXPECT_EQ(saved({alike, alike, typed}, {k1, k4, k3}, {0, 1, 2}), profiles(3, first + entry(2, joseon, k4) + third));
  EXPECT_EQ(saved({alike, alike, typed}, {k2, k2, k3}, {0, 1, 2}), profiles(3, entry(1, korea, k2) + second + third));
}

// Another program (a second Tavrin, an editor) changes the file while the
// list is open; the list's save then writes its own rows, each name with
// its own key and with the bytes it was read with: what a row came from is
// kept with it from the load, never looked up again in the changed file.
TEST_F(ProfileFile, ASaveAfterAnotherProgramChangedTheFileWritesEachRowAsItWasRead) {
  const std::string korea = "\xED\x95\x9C\xEA\xB5\xAD", joseon = "\xEC\xA1\xB0\xEC\x84\xA0";  // 한국, 조선
  auto entry = [](int i, const std::string& name, const std::string& key) {
    return "UserName" + std::to_string(i) + "=" + name + "\r\nPassWord" + std::to_string(i) + "=" + key + "\r\n";
  };
  auto profiles = [](int count, const std::string& entries) {
    return "\xEF\xBB\xBF[SYSInfo]\r\nUserCnt=" + std::to_string(count) + "\r\n[UserInfo]\r\n" + entries;
  };
  const std::string k1 = "111111111111", k2 = "222222222222", k3 = "333333333333";
  const std::string three = profiles(3, entry(1, korea, k1) + entry(2, joseon, k2) + entry(3, "bob", k3));
  Write(three);
  TStringVector names, keys;
  TStoredProfiles stored;
  LoadUserKeys(file_, names, keys, &stored);
  ASSERT_EQ(names.size(), 3u);

  // The first profile deleted meanwhile (the rest moved up), or all of
  // them put in another order: the unchanged list goes back as it was read.
  for (const std::string& meanwhile :
       {profiles(2, entry(1, joseon, k2) + entry(2, "bob", k3)),
        profiles(3, entry(1, "bob", k3) + entry(2, korea, k1) + entry(3, joseon, k2))}) {
    Write(meanwhile);
    ASSERT_TRUE(SaveUserKeys(file_, names, keys, stored));
    EXPECT_EQ(Read(), three);
  }
  // The list's own deletion of the first after the other program's: 조선
  // keeps its bytes and its key.
  Write(profiles(2, entry(1, joseon, k2) + entry(2, "bob", k3)));
  ASSERT_TRUE(SaveUserKeys(file_, {names[1], names[2]}, {keys[1], keys[2]}, {stored[1], stored[2]}));
  EXPECT_EQ(Read(), profiles(2, entry(1, joseon, k2) + entry(2, "bob", k3)));
  // The file became GBK meanwhile: the values as shown, in GBK.
  Write("[SYSInfo]\r\nUserCnt=0\r\n");
  ASSERT_TRUE(SaveUserKeys(file_, names, keys, stored));
  TStringVector again, againKeys;
  LoadUserKeys(file_, again, againKeys);
  EXPECT_EQ(again, names);
  EXPECT_EQ(againKeys, keys);
  // A list loaded from a GBK file saved into a file that became UTF-8
  // meanwhile: its names go in as UTF-8, not as GBK bytes.
  Write("[SYSInfo]\r\nUserCnt=1\r\n[UserInfo]\r\nUserName1=" + kZhang + "\r\nPassWord1=" + k1 + "\r\n");
  LoadUserKeys(file_, names, keys, &stored);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_FALSE(stored[0]);
  Write(profiles(0, ""));
  ASSERT_TRUE(SaveUserKeys(file_, names, keys, stored));
  EXPECT_EQ(Read(), profiles(1, entry(1, "\xE5\xBC\xA0\xE4\xB8\x89", k1)));  // 张三 in UTF-8
}

// A count above the last profile in the file invents none; a gap in the
// numbering stays a profile of its own, as the count says, while the name
// and key lines outnumber the profiles.
TEST_F(ProfileFile, CountAboveTheLastProfileIsHeldToIt) {
  Write("[SYSInfo]\r\nUserCnt=99999\r\n[UserInfo]\r\nUserName1=alice\r\nPassWord2=AABBCCDDEEFF\r\n");
  TStringVector names, keys;
  LoadUserKeys(file_, names, keys);
  EXPECT_EQ(names, (TStringVector{"alice", ""}));
  EXPECT_EQ(keys, (TStringVector{"A5C3E7B91D2F", "AABBCCDDEEFF"}));

  Write("[SYSInfo]\nUserCnt=5\n[UserInfo]\nUserName1=a\nUserName2=b\nusername4=d\nPassWord4=AABBCCDDEEFF\n"
        "UserName05=e\n");
  LoadUserKeys(file_, names, keys);
  EXPECT_EQ(names, (TStringVector{"a", "b", "", "d"}));
}

// Numbers far apart make up no profiles: there are never more profiles
// than name and key lines in the file. Where the numbers up to the count
// would outnumber those lines, the profiles present are listed without the
// gaps (a save numbers them afresh), and none is lost when profiles are
// added, whatever the count.
TEST_F(ProfileFile, FarNumbersListNoMoreProfilesThanTheFileHasLines) {
  const std::string padding = "; " + std::string(1 << 20, 'x') + "\r\n";
  Write("[SYSInfo]\r\nUserCnt=2000000000\r\n" + padding +
        "[UserInfo]\r\nUserName1=alice\r\nPassWord1=112233445566\r\nUserName1999999999=zed\r\n");
  TStringVector names, keys;
  LoadUserKeys(file_, names, keys);
  EXPECT_EQ(names, (TStringVector{"alice", "zed"}));
  EXPECT_EQ(keys, (TStringVector{"112233445566", "A5C3E7B91D2F"}));
  const size_t size = Read().size();
  names.push_back("carol");
  keys.push_back("AABBCCDDEEFF");
  ASSERT_TRUE(SaveUserKeys(file_, names, keys));
  EXPECT_LT(Read().size(), size + 200);
  TStringVector again, againKeys;
  LoadUserKeys(file_, again, againKeys);
  EXPECT_EQ(again, names);
  EXPECT_EQ(againKeys, keys);

  // Names without keys, one number left out: three names, and the gap
  // would make a fourth profile. With a count, a broken count or none.
  for (const char* count : {"UserCnt=4\n", "UserCnt=x\n", ""}) {
    Write(std::string("[SYSInfo]\n") + count + "[UserInfo]\nUserName1=a\nUserName2=b\nUserName4=d\n");
    LoadUserKeys(file_, names, keys);
    EXPECT_EQ(names, (TStringVector{"a", "b", "d"})) << count;
    names.insert(names.end(), {"e", "f"});
    keys.insert(keys.end(), {"010203040506", "0A0B0C0D0E0F"});
    ASSERT_TRUE(SaveUserKeys(file_, names, keys));
    LoadUserKeys(file_, names, keys);
    EXPECT_EQ(names, (TStringVector{"a", "b", "d", "e", "f"})) << count;
  }
}

// No fixed limit: every profile of a large file is read, and a save keeps
// them all.
TEST_F(ProfileFile, TenThousandAndFiveProfilesAllSurviveASave) {
  const int n = 10005;
  std::string text = "[SYSInfo]\r\nUserCnt=" + std::to_string(n) + "\r\n[UserInfo]\r\n";
  for (int i = 1; i <= n; ++i)
    text += "UserName" + std::to_string(i) + "=u" + std::to_string(i) + "\r\nPassWord" + std::to_string(i) +
            "=112233445566\r\n";
  Write(text);
  TStringVector names, keys;
  LoadUserKeys(file_, names, keys);
  ASSERT_EQ(names.size(), static_cast<size_t>(n));
  EXPECT_EQ(names.back(), "u10005");
  ASSERT_TRUE(SaveUserKeys(file_, names, keys));
  EXPECT_EQ(Read(), text);
}

// A file in UTF-16 is not written into in GBK; a read-only file is not
// replaced. Both are refused and keep their bytes.
TEST_F(ProfileFile, Utf16AndReadOnlyFilesAreRefusedAndKeepTheirBytes) {
  const std::string wide("\xFF\xFE[\0S\0Y\0S\0]\0\r\0\n\0", 16);
  Write(wide);
  EXPECT_FALSE(SaveUserKeys(file_, {"a"}, {"112233445566"}));
  EXPECT_EQ(Read(), wide);

  const std::string text = "[SYSInfo]\r\nUserCnt=0\r\n";
  Write(text);
  ASSERT_EQ(chmod(file_.c_str(), 0444), 0);
  EXPECT_FALSE(SaveUserKeys(file_, {"a"}, {"112233445566"}));
  EXPECT_EQ(Read(), text);
  struct stat st;
  ASSERT_EQ(stat(file_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
  chmod(file_.c_str(), 0644);
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
