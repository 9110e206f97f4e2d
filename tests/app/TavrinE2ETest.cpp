// Tavrin end to end: the real program and the real reader library under
// Wine against the simulated reader, driven through the window as an
// operator would, with the card checked on the simulator's card model.
#include <gtest/gtest.h>

#include <algorithm>

#include "TavrinSession.h"

using namespace driver;
using namespace tavrin_test;

namespace {

const char* kNewKey = "0123456789AB";
const char* kSerial = "5A3C0F12";  // the card every test starts with

std::string Spaced(const std::string& key) {
  std::string s;
  for (size_t i = 0; i < key.size(); i += 2) s += (i ? " " : "") + key.substr(i, 2);
  return s;
}

bool Checked(HWND h) { return SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class Tavrin : public TavrinSession {
 protected:
  void SetUp() override {
    TavrinSession::SetUp();
    ASSERT_TRUE(StartProgram());
    ChooseSimPort();
  }
  // The new key typed in, diversified per card or not.
  void NewKey(const std::string& key, bool perCard) {
    TypeKey("medtNewPassWord", key);
    ASSERT_TRUE(WaitFor([&] { return TextOf(W("medtNewPassWord")) == Spaced(key); }, 5000));
    if (Checked(W("chkNewNoEny")) != perCard) Press("chkNewNoEny");
    ASSERT_TRUE(WaitFor([&] { return Checked(W("chkNewNoEny")) == perCard; }, 5000));
  }
  std::vector<std::string> Expected(const std::string& otherKey, std::initializer_list<int> sectors,
                                    const std::string& key) {
    std::vector<std::string> keys(16, otherKey);
    for (int s : sectors) keys[s] = key;
    return keys;
  }
};

}  // namespace

TEST_F(Tavrin, StartsWithFoldersBesideItAndItsDefaults) {
  for (const char* dir : {"Language", "DLL", "Data"}) {
    const DWORD a = GetFileAttributesA((folder_ + dir).c_str());
    EXPECT_TRUE(a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) << dir;
  }
  const auto ports = ComboItems(W("cbbRPort"));
  EXPECT_NE(std::find(ports.begin(), ports.end(), "COM" + std::to_string(com_)), ports.end());
  EXPECT_EQ(TextOf(W("medtPassWord")), "A5 C3 E7 B9 1D 2F");
  EXPECT_EQ(TextOf(W("medtNewPassWord")), "A5 C3 E7 B9 1D 2F");
  EXPECT_FALSE(Checked(W("chkOldPWNoEny")));
  EXPECT_TRUE(Checked(W("chkNewNoEny")));
  EXPECT_FALSE(Checked(W("chkAutoEditPW")));
  EXPECT_TRUE(IsWindowEnabled(W("btnStart")));
  EXPECT_FALSE(IsWindowEnabled(W("btnAbort")));
  EXPECT_EQ(TextOf(W("seSuccSleepTime")), "2");
  EXPECT_EQ(TextOf(W("seFailSleepTime")), "5");
  EXPECT_EQ(TextOf(W("cbbSetFailType")), Gbk("继续执行"));
  EXPECT_EQ(TextOf(W("cbbIsShowMsg")), Gbk("是"));
  EXPECT_EQ(TextOf(W("cbbEditAreaType")), Gbk("初始化使用扇区"));
  EXPECT_TRUE(CounterShows("lblSuccCnt", 0));
  EXPECT_TRUE(CounterShows("lblFailCnt", 0));
  EXPECT_EQ(Frames(), 0);  // nothing goes to the reader at start
}

TEST_F(Tavrin, KeysTheCheckedSectorsWithAPlainKey) {
  NewKey(kNewKey, false);
  Press("btnSetOneCardPassWord");
  ExpectBox(Gbk("设置卡指定扇区密码成功"), BoxIcon::Information);
  EXPECT_EQ(Keys(), Expected(kFactoryKey, {8, 9, 10}, kNewKey));
  EXPECT_EQ(Sim("get devkey"), kFactoryKey);  // the reader is left with the factory key
}

TEST_F(Tavrin, KeysTheCheckedSectorsDiversifiedPerCard) {
  NewKey(kNewKey, true);
  Press("btnSetOneCardPassWord");
  ExpectBox(Gbk("设置卡指定扇区密码成功"), BoxIcon::Information);
  EXPECT_EQ(Keys(), Expected(kFactoryKey, {8, 9, 10}, Scramble(kNewKey, kSerial)));
}

TEST_F(Tavrin, KeysAllSectorsAndThenWithTheDiversifiedCurrentKey) {
  NewKey(kNewKey, true);
  Press("btnSetAllCardPassWord");
  ExpectBox(Gbk("设置卡所有扇区密码成功"), BoxIcon::Information);
  const std::string first = Scramble(kNewKey, kSerial);
  EXPECT_EQ(Keys(), std::vector<std::string>(16, first));

  // Now the card's current key is that diversified key: back to plain.
  TypeKey("medtPassWord", kNewKey);
  ASSERT_TRUE(WaitFor([&] { return TextOf(W("medtPassWord")) == Spaced(kNewKey); }, 5000));
  Press("chkOldPWNoEny");
  ASSERT_TRUE(WaitFor([&] { return Checked(W("chkOldPWNoEny")); }, 5000));
  NewKey("FEDCBA987654", false);
  Press("btnSetAllCardPassWord");
  ExpectBox(Gbk("设置卡所有扇区密码成功"), BoxIcon::Information);
  EXPECT_EQ(Keys(), std::vector<std::string>(16, "FEDCBA987654"));
}

TEST_F(Tavrin, AWrongCurrentKeyFailsAndLeavesTheCard) {
  SimOk("set key 9 112233445566");  // sector 9 has another key
  NewKey(kNewKey, false);
  Press("btnSetOneCardPassWord");
  ExpectBox(Gbk("设置卡指定扇区密码失败"), BoxIcon::Error);
  // Sector 8 went before the refusal; 9 refused, 10 not tried.
  auto expected = Expected(kFactoryKey, {8}, kNewKey);
  expected[9] = "112233445566";
  EXPECT_EQ(Keys(), expected);

  SimOk("card present 0");
  Press("btnSetAllCardPassWord");
  ExpectBox(Gbk("设置卡所有扇区密码失败"), BoxIcon::Error);
}

TEST_F(Tavrin, RefusalsTouchTheCardNotAtAll) {
  // No port chosen.
  SendMessageW(W("cbbRPort"), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  Press("btnSetOneCardPassWord");
  ExpectBox(Gbk("请选择串口号"), BoxIcon::Warning);
  Press("btn1");
  ExpectBox(Gbk("请选择串口号"), BoxIcon::Warning);
  Press("btnStart");
  ExpectBox(Gbk("请选择串口号"), BoxIcon::Warning);
  ChooseSimPort();

  // A key edit that does not hold 12 hexadecimal digits.
  HWND edit = W("medtNewPassWord");
  SendMessageW(edit, EM_SETSEL, 0, -1);
  TypeText(edit, "12345");
  ASSERT_TRUE(WaitFor([&] { return TextOf(edit).find('_') != std::string::npos; }, 5000));
  for (const char* button : {"btnSetOneCardPassWord", "btnSetAllCardPassWord", "btn1", "btnStart"}) {
    Press(button);
    ExpectBox(Gbk("密码必须是12位十六进制数字"), BoxIcon::Warning);
  }
  // Only hexadecimal digits can be typed.
  TypeKey("medtNewPassWord", "GHIJKL0123456789AB");
  ASSERT_TRUE(WaitFor([&] { return TextOf(edit) == "01 23 45 67 89 AB"; }, 5000));
  EXPECT_EQ(Frames(), 0);
  EXPECT_EQ(Keys(), std::vector<std::string>(16, kFactoryKey));
  EXPECT_EQ(Opens(), 0);
}
