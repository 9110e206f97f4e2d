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
  EXPECT_FALSE(CounterShows("lblSuccCnt", 1));
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

TEST_F(Tavrin, AutomaticKeySettingOnAndOff) {
  NewKey(kNewKey, true);
  Press("chkAutoEditPW");  // checking sends nothing
  ASSERT_TRUE(WaitFor([&] { return Checked(W("chkAutoEditPW")); }, 5000));
  EXPECT_TRUE(NoMessageBox(program_.Pid(), 1000));
  EXPECT_EQ(Frames(), 0);

  // The checked sectors 08/09/10: only the first goes to the reader.
  Press("btnSetOneCardPassWord");
  ExpectBox(Gbk("设置主动加密成功"), BoxIcon::Information);
  EXPECT_EQ(Sim("get auto"), std::string("mode=0 sector=8 old=") + kFactoryKey + " oldflag=0 new=" + kNewKey +
                                 " newflag=1");
  // All sectors: the all-sectors flag with sector 8.
  Press("btnSetAllCardPassWord");
  ExpectBox(Gbk("设置主动加密成功"), BoxIcon::Information);
  EXPECT_EQ(Sim("get auto"), std::string("mode=1 sector=8 old=") + kFactoryKey + " oldflag=0 new=" + kNewKey +
                                 " newflag=1");
  EXPECT_EQ(Keys(), std::vector<std::string>(16, kFactoryKey));  // the card itself is not keyed here

  Press("chkAutoEditPW");
  ExpectBox(Gbk("取消主动加密成功"), BoxIcon::Information);
  EXPECT_EQ(Sim("get auto"), "off");

  // Switching it off without a port asks for one and sends nothing.
  Press("chkAutoEditPW");
  ASSERT_TRUE(WaitFor([&] { return Checked(W("chkAutoEditPW")); }, 5000));
  SendMessageW(W("cbbRPort"), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SimOk("log clear");
  Press("chkAutoEditPW");
  ExpectBox(Gbk("请选择串口号"), BoxIcon::Warning);
  EXPECT_EQ(Frames(), 0);

  // A reader that refuses.
  ChooseSimPort();
  Press("chkAutoEditPW");
  ASSERT_TRUE(WaitFor([&] { return Checked(W("chkAutoEditPW")); }, 5000));
  SimOk("fault status always");
  Press("btnSetOneCardPassWord");
  ExpectBox(Gbk("设置主动加密失败"), BoxIcon::Error);
  Press("chkAutoEditPW");
  ExpectBox(Gbk("取消主动加密失败"), BoxIcon::Error);
}

TEST_F(Tavrin, SystemPasswordCardMadeAndCancelled) {
  NewKey(kNewKey, true);  // the installation's card key
  SimOk("get beeps");
  Press("btn1");
  ExpectBox(Gbk("制作系统密码卡成功"), BoxIcon::Information);

  // Blocks 32-34: four digits of the scrambled card key at the start of
  // each, random filler after them that never holds 0xFF.
  const std::string z = Scramble(kNewKey, "3B9E71A4");
  for (int i = 0; i < 3; ++i) {
    const std::string block = Sim("get block " + std::to_string(32 + i));
    ASSERT_EQ(block.size(), 32u);
    EXPECT_EQ(block.substr(0, 4), z.substr(4 * i, 4)) << "block " << 32 + i;
    for (size_t at = 4; at < 32; at += 2) EXPECT_NE(block.substr(at, 2), "FF") << "block " << 32 + i;
  }
  // Sector 8 carries the system card key diversified by the card's serial.
  auto expected = std::vector<std::string>(16, kFactoryKey);
  expected[8] = Scramble("640257319882", kSerial);
  EXPECT_EQ(Keys(), expected);

  const int beeps = std::atoi(Sim("get beeps").c_str());
  Press("btn2");
  ExpectBox(Gbk("取消系统密码卡成功"), BoxIcon::Information);
  for (int b = 32; b < 35; ++b) EXPECT_EQ(Sim("get block " + std::to_string(b)), std::string(32, '0'));
  EXPECT_EQ(Keys(), std::vector<std::string>(16, kFactoryKey));
  EXPECT_EQ(std::atoi(Sim("get beeps").c_str()), beeps + 2);  // cancelling beeps twice
}

TEST_F(Tavrin, SystemCardRefusals) {
  // The card's current key is not the one given: the reader refuses it.
  SimOk("set key 8 112233445566");
  Press("btn1");
  ExpectBox(Gbk("制作系统密码卡失败"), BoxIcon::Error);
  EXPECT_EQ(Sim("get block 32"), std::string(32, '0'));
  // A card that is no system card cannot be cancelled.
  Press("btn2");
  ExpectBox(Gbk("取消系统密码卡失败"), BoxIcon::Error);
  // A listed port that cannot be opened.
  SimOk("set key 8 " + std::string(kFactoryKey));
  ASSERT_TRUE(CloseProgram());
  ListPort("COM98");
  ASSERT_TRUE(StartProgram());
  const auto ports = ComboItems(W("cbbRPort"));
  const auto at = std::find(ports.begin(), ports.end(), "COM98");
  ASSERT_NE(at, ports.end());
  SelectComboItem(W("cbbRPort"), static_cast<int>(at - ports.begin()));
  ASSERT_TRUE(WaitFor([&] { return TextOf(W("cbbRPort")) == "COM98"; }, 5000));
  Press("btn1");
  ExpectBox(Gbk("打开端口失败"), BoxIcon::Error);
  Press("btn2");
  ExpectBox(Gbk("打开端口失败"), BoxIcon::Error);
  EXPECT_EQ(Sim("get block 32"), std::string(32, '0'));
}

TEST_F(Tavrin, CancellingHalfWayNeverLeavesTheHiddenKeyUnderTheFactoryKey) {
  NewKey(kNewKey, true);
  Press("btn1");
  ExpectBox(Gbk("制作系统密码卡成功"), BoxIcon::Information);
  const std::string systemKey = Scramble("640257319882", kSerial);
  ASSERT_EQ(Keys()[8], systemKey);

  // The sector key command goes unanswered and does nothing: the blocks are
  // already clear and the sector keeps the system card's key.
  SimOk("fault silence 1 code=02");
  Press("btn2");
  ExpectBox(Gbk("取消系统密码卡失败"), BoxIcon::Error);
  for (int b = 32; b < 35; ++b) EXPECT_EQ(Sim("get block " + std::to_string(b)), std::string(32, '0'));
  EXPECT_EQ(Keys()[8], systemKey);

  // Cancelling again finishes the job.
  Press("btn2");
  ExpectBox(Gbk("取消系统密码卡成功"), BoxIcon::Information);
  EXPECT_EQ(Keys()[8], kFactoryKey);
}

TEST_F(Tavrin, DetectsTheReadersPort) {
  Press("btnChkComPort");
  ExpectBox(Gbk("检测串口号成功，当前设备连接串口COM") + std::to_string(com_), BoxIcon::Information, 60000);
  EXPECT_EQ(TextOf(W("cbbRPort")), "COM" + std::to_string(com_));
  EXPECT_GE(std::atoi(Sim("get beeps").c_str()), 1);

  // A reader that does not answer: no port is chosen afterwards.
  SimOk("link down");
  Press("btnChkComPort");
  ExpectBox(Gbk("检测串口号失败"), BoxIcon::Error, 60000);
  EXPECT_EQ(TextOf(W("cbbRPort")), "");
  SimOk("link up");
  Press("btnSetOneCardPassWord");
  ExpectBox(Gbk("请选择串口号"), BoxIcon::Warning);
}

namespace {

class Batch : public Tavrin {
 protected:
  // Waits, failure handling and the error box as the test wants them.
  void Settings(int succWait, int failWait, bool stopOnFailure, bool showBox) {
    TypeSpin("seSuccSleepTime", succWait);
    TypeSpin("seFailSleepTime", failWait);
    SelectComboItem(W("cbbSetFailType"), stopOnFailure ? 0 : 1);
    SelectComboItem(W("cbbIsShowMsg"), showBox ? 0 : 1);
    ASSERT_TRUE(WaitFor([&] { return ComboSelection(W("cbbIsShowMsg")) == (showBox ? 0 : 1); }, 5000));
  }
  void TypeSpin(const std::string& name, int value) {
    HWND h = W(name);
    SendMessageW(h, EM_SETSEL, 0, -1);
    TypeText(h, std::to_string(value));
    ASSERT_TRUE(WaitFor([&] { return TextOf(h) == std::to_string(value); }, 5000));
  }
  // Presents fresh cards one after another, each as soon as the one before
  // has its new key in `lastSector`; returns the serials presented.
  std::vector<std::string> FeedCards(int n, int lastSector, const std::string& key) {
    std::vector<std::string> serials;
    for (int i = 0; i < n; ++i) {
      char serial[9];
      std::snprintf(serial, sizeof serial, "%08X", 0x10203040u + 0x11u * i);
      if (i > 0) FreshCard(serial);
      else SimOk("set serial " + std::string(serial));
      serials.push_back(serial);
      const bool keyed = WaitFor([&] { return Sim("get key " + std::to_string(lastSector)) == key; }, 20000);
      EXPECT_TRUE(keyed) << "card " << serial << " was not keyed";
      if (!keyed) break;
      EXPECT_EQ(Keys(), Expected(kFactoryKey, {8, 9, 10}, key)) << "card " << serial;
    }
    return serials;
  }
};

}  // namespace

TEST_F(Batch, KeysEveryCardPresentedAndCountsTheFailure) {
  Settings(1, 1, /*stopOnFailure=*/true, /*showBox=*/false);
  NewKey(kNewKey, false);
  Press("btnStart");
  ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(W("btnStart")) && IsWindowEnabled(W("btnAbort")); }, 5000));
  FeedCards(3, 10, kNewKey);
  // No card: the attempt fails, is counted, and the batch pauses itself.
  SimOk("card present 0");
  ASSERT_TRUE(CounterShows("lblFailCnt", 1));
  EXPECT_TRUE(CounterShows("lblSuccCnt", 3));
  SimOk("log clear");
  Sleep(2500);
  EXPECT_EQ(Frames(), 0) << "a paused batch made another attempt";
  // The buttons still show a running batch until the operator stops it.
  EXPECT_TRUE(IsWindowEnabled(W("btnAbort")));
  Press("btnAbort");
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(W("btnStart")) && !IsWindowEnabled(W("btnAbort")); }, 5000));

  // A new start resets both counters.
  FreshCard("0BADCAFE");
  Press("btnStart");
  ASSERT_TRUE(CounterShows("lblSuccCnt", 1));
  EXPECT_TRUE(CounterShows("lblFailCnt", 0));
  Press("btnAbort");
}

TEST_F(Batch, GoesOnAfterFailuresWhenToldTo) {
  Settings(1, 1, /*stopOnFailure=*/false, /*showBox=*/false);
  NewKey(kNewKey, false);
  SimOk("card present 0");
  Press("btnStart");
  ASSERT_TRUE(CounterShows("lblFailCnt", 2));
  SimOk("card present 1");
  ASSERT_TRUE(WaitFor([&] { return Sim("get key 10") == kNewKey; }, 20000));
  EXPECT_TRUE(CounterShows("lblSuccCnt", 1));
  Press("btnAbort");
}

TEST_F(Batch, ShowsItsErrorBoxAndKeysAllSectorsWhenAsked) {
  Settings(1, 1, /*stopOnFailure=*/true, /*showBox=*/true);
  SelectComboItem(W("cbbEditAreaType"), 1);
  ASSERT_TRUE(WaitFor([&] { return ComboSelection(W("cbbEditAreaType")) == 1; }, 5000));
  NewKey(kNewKey, true);
  SimOk("card present 0");
  Press("btnStart");
  ExpectBox(Gbk("设置卡所有扇区密码失败"), BoxIcon::Error);
  EXPECT_TRUE(CounterShows("lblFailCnt", 1));
  Press("btnAbort");
  SimOk("card present 1");
  Press("btnStart");
  ASSERT_TRUE(CounterShows("lblSuccCnt", 1));
  EXPECT_EQ(Keys(), std::vector<std::string>(16, Scramble(kNewKey, kSerial)));
  Press("btnAbort");
}

TEST_F(Batch, OneCardOperationsWaitForTheBatch) {
  Settings(99, 99, /*stopOnFailure=*/false, /*showBox=*/false);
  NewKey(kNewKey, false);
  Press("btnStart");
  ASSERT_TRUE(CounterShows("lblSuccCnt", 1));
  // The worker now waits 99 seconds; the reader is still the batch's.
  SimOk("log clear");
  for (const char* button : {"btnSetOneCardPassWord", "btnSetAllCardPassWord", "btn1", "btn2", "btnChkComPort"}) {
    Press(button);
    ExpectBox(Gbk("批量初始化正在运行，请先停止批量初始化"), BoxIcon::Warning);
  }
  EXPECT_EQ(Frames(), 0);

  // Stopping ends the long wait at once; a new start keys the next card.
  Press("btnAbort");
  FreshCard("0C0FFEE0");
  Press("btnStart");
  ASSERT_TRUE(WaitFor([&] { return Sim("get key 10") == kNewKey; }, 5000));
  Press("btnAbort");
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(W("btnStart")); }, 5000));

  // After a one-card operation every button is back, the stop button
  // as the batch stands.
  FreshCard("0D0D0D0D");
  Press("btnSetOneCardPassWord");
  ExpectBox(Gbk("设置卡指定扇区密码成功"), BoxIcon::Information);
  EXPECT_TRUE(IsWindowEnabled(W("btnStart")));
  EXPECT_FALSE(IsWindowEnabled(W("btnAbort")));
}

TEST_F(Batch, ClosingTheWindowDuringABatchDoesNotHang) {
  Settings(1, 1, /*stopOnFailure=*/false, /*showBox=*/true);
  SimOk("card present 0");
  Press("btnStart");
  // The worker's own box is up when the window is closed.
  MessageBoxSeen box = Box();
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(box.text, Gbk("设置卡指定扇区密码失败"));
  PostMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_GE(program_.WaitExit(10000), 0) << "the program hangs";
}

TEST_F(Batch, ClosingTheWindowInTheMiddleOfAnAttempt) {
  Settings(1, 1, /*stopOnFailure=*/false, /*showBox=*/false);
  SimOk("fault late always ms=800");  // every answer comes late
  Press("btnStart");
  ASSERT_TRUE(WaitFor([&] { return Frames() > 0; }, 5000));
  PostMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_GE(program_.WaitExit(15000), 0) << "the program hangs";
}
