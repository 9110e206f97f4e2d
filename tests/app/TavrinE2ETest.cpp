// Tavrin end to end: the real program and the real reader library under
// Wine against the simulated reader, driven through the window as an
// operator would, with the card checked on the simulator's card model.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include <windows.h>
#include <commctrl.h>

#include "Dorvex.h"
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
  // Clicks sectors in the drop-down check list of the sector box, then
  // closes it with Esc.
  void ToggleSectors(std::initializer_list<int> sectors) {
    HWND edit = FindChild(W("cbbAreaNumPW"), "TEdit", "");
    ASSERT_NE(edit, nullptr);
    MouseClick(edit);
    HWND list = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
          for (HWND top : TopLevelWindows())
            if ((list = FindChild(top, "TCheckListBox", "")) && IsWindowVisible(list)) return true;
          return false;
        },
        5000));
    const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    for (int s : sectors) {
      SendMessageW(list, LB_SETTOPINDEX, s, 0);
      const int row = s - static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
      const LPARAM at = MAKELPARAM(40, row * height + height / 2);
      PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageW(list, WM_LBUTTONUP, 0, at);
      ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == s; }, 5000));
    }
    PressKey(list, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(list); }, 5000));
  }
  std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> out;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(h, &pid);
      if (pid == program_.Pid()) out.push_back(h);
    }
    return out;
  }
  std::string SectorText() { return TextOf(FindChild(W("cbbAreaNumPW"), "TEdit", "")); }
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
  RECT client;
  GetClientRect(main_, &client);
  EXPECT_EQ(client.right, 609);
  EXPECT_EQ(client.bottom, 496);
  const auto ports = ComboItems(W("cbbRPort"));
  EXPECT_NE(std::find(ports.begin(), ports.end(), "COM" + std::to_string(com_)), ports.end());
  EXPECT_EQ(TextOf(W("medtPassWord")), "A5 C3 E7 B9 1D 2F");
  EXPECT_EQ(TextOf(W("medtNewPassWord")), "A5 C3 E7 B9 1D 2F");
  EXPECT_EQ(SectorText(), "08/09/10");
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

TEST_F(Tavrin, TheBatchHeadingStandsOverItsSeparatorLine) {
  // The line control is 343 x 20 with its default margin of 10: one row of
  // the line colour 0xDDA873 (blue-grey) across its middle, 10 pixels in
  // from either end.
  RECT rc;
  ASSERT_TRUE(mainMap_.ScreenRect(main_, "kvln1", rc));
  const COLORREF line = RGB(0x73, 0xA8, 0xDD);
  HDC screen = GetDC(nullptr);
  auto at = [&](int x, int y) { return GetPixel(screen, rc.left + x, rc.top + y); };
  // The window answering messages does not mean its children have painted:
  // the skin repaints the form after it attaches, so wait for the line.
  EXPECT_TRUE(WaitFor([&] { return at(171, 10) == line; }, 5000));
  for (int x : {10, 171, 332}) EXPECT_EQ(at(x, 10), line) << x;
  for (int x : {6, 336}) EXPECT_NE(at(x, 10), line) << x;
  for (int y : {8, 12}) EXPECT_NE(at(171, y), line) << y;
  ReleaseDC(nullptr, screen);
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

TEST_F(Tavrin, TheSectorsTickedAreTheSectorsKeyed) {
  ToggleSectors({8, 9, 10});
  ASSERT_TRUE(WaitFor([&] { return SectorText().empty(); }, 5000));
  // With no sector ticked, neither one card nor a batch of listed sectors
  // goes to the reader.
  Press("btnSetOneCardPassWord");
  ExpectBox(Gbk("请选择操作扇区"), BoxIcon::Warning);
  Press("btnStart");
  ExpectBox(Gbk("请选择操作扇区"), BoxIcon::Warning);
  EXPECT_TRUE(IsWindowEnabled(W("btnStart")));
  EXPECT_EQ(Frames(), 0);

  ToggleSectors({15, 2});
  ASSERT_TRUE(WaitFor([&] { return SectorText() == "02/15"; }, 5000));
  NewKey(kNewKey, false);
  Press("btnSetOneCardPassWord");
  ExpectBox(Gbk("设置卡指定扇区密码成功"), BoxIcon::Information);
  EXPECT_EQ(Keys(), Expected(kFactoryKey, {2, 15}, kNewKey));
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
  // Pasting: letters that are no hexadecimal digits are not taken at all;
  // a short key fills only part of the mask and is refused.
  auto paste = [&](const wchar_t* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(mem), text, bytes);
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_PASTE, 0, 0);  // handled before the clipboard is set again
  };
  const std::string before = TextOf(edit);
  paste(L"GHIJKLMNOPQR");
  paste(L"ABCD");
  ASSERT_TRUE(WaitFor([&] { return TextOf(edit) == "AB CD __ __ __ __"; }, 5000)) << before << " / " << TextOf(edit);
  Press("btnSetAllCardPassWord");
  ExpectBox(Gbk("密码必须是12位十六进制数字"), BoxIcon::Warning);
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
  RECT client;
  GetClientRect(main_, &client);
  EXPECT_EQ(client.right, 609);
  EXPECT_EQ(client.bottom, 496);
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

TEST_F(Tavrin, AMakeThatFailsOnTheKeyChangeWipesTheHiddenKey) {
  NewKey(kNewKey, true);
  // Blocks 32-34 as anyone with the key reads them through the reader ("" when
  // the reader refuses).
  auto readWith = [&](const char* key) -> std::string {
    unsigned char data[3 * 16 + 1] = {};
    if (!SetDevPassWord(1, com_, 9600, key) || !ReadCardBlock(1, com_, 9600, 32, 3, data))
      return "";
    static const char kHex[] = "0123456789ABCDEF";
    std::string hex;
    for (int i = 0; i < 48; ++i) hex += std::string{kHex[data[i] >> 4], kHex[data[i] & 15]};
    return hex;
  };
  // The blocks are written, then the sector key command goes unanswered and
  // does nothing: sector 8 keeps the factory key, and the blocks are wiped
  // under it before the failure is shown.
  SimOk("fault silence 1 code=02");
  Press("btn1");
  ExpectBox(Gbk("制作系统密码卡失败"), BoxIcon::Error);
  EXPECT_EQ(Keys()[8], kFactoryKey);
  EXPECT_EQ(readWith(kFactoryKey), std::string(96, '0'));

  // The wipe is refused as well: it was tried (three times, as every block
  // write), the failure is shown, and the window goes on working.
  SimOk("log clear");
  SimOk("fault silence 1 code=02");
  SimOk("fault writefail always code=03 skip=1");
  Press("btn1");
  ExpectBox(Gbk("制作系统密码卡失败"), BoxIcon::Error);
  // The wipe as the reader hears it: write 3 blocks from 32, 48 zero bytes.
  const std::string wipe = "5E5E7F0033" "032003" + std::string(96, '0') + "20";
  int wipes = 0;
  for (const auto& line : sim_->Log())
    if (line.size() > wipe.size() && line.compare(line.size() - wipe.size(), wipe.size(), wipe) == 0)
      ++wipes;
  EXPECT_EQ(wipes, 3);
  EXPECT_NE(Sim("get block 32"), std::string(32, '0'));
  SimOk("fault clear");
  Press("btn1");
  ExpectBox(Gbk("制作系统密码卡成功"), BoxIcon::Information);
  EXPECT_EQ(Keys()[8], Scramble("640257319882", kSerial));
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

TEST_F(Batch, AStopAndStartDuringAFailingAttemptLeavesTheNewBatchRunning) {
  Settings(1, 1, /*stopOnFailure=*/true, /*showBox=*/false);
  NewKey(kNewKey, false);
  SimOk("card present 0");
  SimOk("fault late always ms=800");  // the attempt takes a while to fail
  Press("btnStart");
  ASSERT_TRUE(WaitFor([&] { return Frames() > 0; }, 5000));
  // Stopped and started again while that attempt still waits for the reader.
  Press("btnAbort");
  Press("btnStart");
  ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(W("btnStart")); }, 5000));
  // The old attempt's failure pauses nothing: the new batch makes its own
  // attempt and counts its failure.
  EXPECT_TRUE(WaitFor([&] { return Opens() >= 2; }, 15000)) << "the new batch made no attempt";
  EXPECT_TRUE(WaitFor([&] { return CounterShows("lblFailCnt", 1); }, 15000));
  Press("btnAbort");
}

// ---- the failure box among the other modal windows, with the real mouse ----

namespace {

class BatchAmongModals : public Batch {
 protected:
  // The program's message box that shows `text` (GBK), or nullptr.
  HWND BoxShowing(const std::string& text) {
    for (HWND h : TopLevelWindows())
      if (ClassOf(h) == "#32770" && IsWindowVisible(h) && FindChild(h, "Static", text)) return h;
    return nullptr;
  }
  HWND WaitBox(const std::string& text) {
    HWND h = nullptr;
    WaitFor([&] { return (h = BoxShowing(text)) != nullptr; }, 20000);
    return h;
  }
  // Starts a batch whose first attempt fails slowly, with its failure box.
  void StartFailingBatch() {
    Settings(1, 1, /*stopOnFailure=*/true, /*showBox=*/true);
    NewKey(kNewKey, false);
    SimOk("card present 0");
    SimOk("fault late always ms=700");
    Press("btnStart");
    ASSERT_TRUE(WaitFor([&] { return Frames() > 0; }, 5000));
  }
  const std::string failed_ = Gbk("设置卡指定扇区密码失败");
};

}  // namespace

TEST_F(BatchAmongModals, TheFailureBoxClosedOverTheRunningWarningLeavesTheWarningModal) {
  ASSERT_NO_FATAL_FAILURE(StartFailingBatch());
  // A one-card operation asked for during the batch: the warning box.
  Press("btnSetOneCardPassWord");
  HWND warning = WaitBox(Gbk("批量初始化正在运行，请先停止批量初始化"));
  ASSERT_NE(warning, nullptr);
  HWND failure = WaitBox(failed_);
  ASSERT_NE(failure, nullptr) << "the batch showed no failure box";
  ASSERT_TRUE(LeftClick(GetDlgItem(failure, IDOK)));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(failure); }, 5000));
  Sleep(300);
  // The warning is still open: the main window takes nothing, and the
  // warning is the window in front.
  EXPECT_FALSE(IsWindowEnabled(main_)) << "the failure box gave back the main window under the warning";
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == warning; }, 2000));
  SimOk("log clear");
  ASSERT_TRUE(LeftClick(GetDlgItem(warning, IDOK)));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(warning); }, 5000));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(main_); }, 5000));
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == main_; }, 5000));
  Press("btnAbort");
}

TEST_F(BatchAmongModals, TheFailureBoxTakesTheKeyboardAsTheWindowsOwnBoxesDo) {
  ASSERT_NO_FATAL_FAILURE(StartFailingBatch());
  HWND failure = WaitBox(failed_);
  ASSERT_NE(failure, nullptr);
  EXPECT_FALSE(IsWindowEnabled(main_));
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == failure; }, 2000)) << "the box is not in front";
  // Read before it is answered: answered in the very instant it comes up,
  // the window system can leave no window in front.
  Sleep(300);
  KeyPress(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(failure); }, 5000)) << "Enter did not close the box";
  if (IsWindow(failure)) PostMessageW(failure, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(main_) && GetForegroundWindow() == main_; }, 5000));
  Press("btnAbort");
}

TEST_F(BatchAmongModals, TheFailureBoxClosedOverTheProfileListLeavesTheListModal) {
  ASSERT_NO_FATAL_FAILURE(StartFailingBatch());
  // The profile list, opened by a real click on its label.
  RECT label = {};
  ASSERT_TRUE(mainMap_.ScreenRect(main_, "lbl21", label));
  ASSERT_TRUE(LeftClickRect(label, main_));
  HWND list = WaitTopWindow(program_.Pid(), Gbk("用户管理"), 10000);
  ASSERT_NE(list, nullptr);
  HWND failure = WaitBox(failed_);
  ASSERT_NE(failure, nullptr);
  ASSERT_TRUE(LeftClick(GetDlgItem(failure, IDOK)));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(failure); }, 5000));
  Sleep(300);
  EXPECT_FALSE(IsWindowEnabled(main_)) << "the failure box gave back the main window under the profile list";
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == list; }, 2000));
  // The list closes with its own button; then the main window is back.
  HWND close = FindChild(list, "", Gbk("退出"));
  ASSERT_NE(close, nullptr);
  ASSERT_TRUE(LeftClick(close));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(list) || !IsWindowVisible(list); }, 5000));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(main_); }, 5000));
  Press("btnAbort");
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

namespace {

// 张三 and 李四: names with GBK bytes.
const char* kZhang = "张三";
const char* kLi = "李四";

class Profiles : public Tavrin {
 protected:
  void SetUp() override {
    Tavrin::SetUp();
    std::string error;
    ASSERT_TRUE(mgMap_.Load(AppFormPath("UserMG.form"), error)) << error;
    ASSERT_TRUE(editMap_.Load(AppFormPath("UserEdit.form"), error)) << error;
  }
  // Opens the profile list from the main window's label.
  HWND OpenList() {
    mainMap_.ClickAt(main_, "lbl21");
    list_ = WaitTopWindow(program_.Pid(), Gbk("用户管理"), 10000);
    return list_;
  }
  HWND L(const std::string& name) { return mgMap_.Window(list_, name); }
  // The add or change dialog after pressing its button.
  HWND OpenDialog(const std::string& button, const char* caption) {
    Click(L(button));
    dialog_ = WaitTopWindow(program_.Pid(), Gbk(caption), 10000);
    return dialog_;
  }
  HWND D(const std::string& name) { return editMap_.Window(dialog_, name); }
  void FillDialog(const std::string& name, const std::string& key) {
    HWND edit = D("edtUserName");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    TypeText(edit, name);
    ASSERT_TRUE(WaitFor([&] { return TextOf(edit) == name; }, 5000));
    HWND keyEdit = D("medtPassWord");
    SendMessageW(keyEdit, EM_SETSEL, 0, -1);
    TypeText(keyEdit, key);
    ASSERT_TRUE(WaitFor([&] { return HexOnly(TextOf(keyEdit)) == HexOnly(key); }, 5000));
  }
  static std::string HexOnly(const std::string& s) {
    std::string out;
    for (char c : s)
      if (isxdigit(static_cast<unsigned char>(c))) out += c;
    return out;
  }
  // Clicks row `row` of the list view.
  void SelectRow(int row) {
    HWND lv = L("lvUserInfo");
    const POINT p = ListViewRowPoint(lv, row);
    const LPARAM at = MAKELPARAM(p.x, p.y);
    PostMessageW(lv, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(lv, WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(lv, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == row; }, 5000));
  }
  int Rows() { return static_cast<int>(SendMessageW(L("lvUserInfo"), LVM_GETITEMCOUNT, 0, 0)); }
  bool CloseList() {
    Click(L("btnClose"));
    return WaitFor([&] { return !IsWindow(list_); }, 10000);
  }
  std::string IniText() { return ProfileText(); }
  // Puts `text` into the profile file as it stands.
  void PutIni(const std::string& text) {
    HANDLE f = CreateFileA(IniPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD put = 0;
    ASSERT_TRUE(WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &put, nullptr));
    CloseHandle(f);
  }
  std::string IniPath() const { return folder_ + "Data\\SysInfo.ini"; }
  // Adds a profile through the add dialog and waits for its row.
  void AddProfile(const std::string& name, const std::string& key) {
    const int rows = Rows();
    ASSERT_NE(OpenDialog("btnAdd", "新增用户信息"), nullptr);
    FillDialog(name, key);
    Click(D("btnSave"));
    ASSERT_TRUE(WaitFor([&] { return Rows() == rows + 1; }, 5000));
  }
  static bool Has(const std::string& text, const std::string& line) { return HasLine(text, line); }
  FormMap mgMap_, editMap_;
  HWND list_ = nullptr;
  HWND dialog_ = nullptr;
};

}  // namespace

TEST_F(Profiles, AddChangeDeleteKeepTheGbkBytes) {
  ASSERT_NE(OpenList(), nullptr);
  EXPECT_EQ(Rows(), 0);
  RECT client;
  GetClientRect(list_, &client);
  EXPECT_EQ(client.right, 488);
  EXPECT_EQ(client.bottom, 396);
  // The key column fills the rest of the view, and no more: no scroll bar.
  HWND lv = L("lvUserInfo");
  RECT lvClient;
  GetClientRect(lv, &lvClient);
  EXPECT_EQ(SendMessageW(lv, LVM_GETCOLUMNWIDTH, 0, 0), 200);
  EXPECT_EQ(SendMessageW(lv, LVM_GETCOLUMNWIDTH, 1, 0), lvClient.right - 200);
  EXPECT_EQ(GetWindowLongW(lv, GWL_STYLE) & WS_HSCROLL, 0);
  // Nothing chosen yet.
  Click(L("btnEdit"));
  ExpectBox(Gbk("请选择待修改的用户"), BoxIcon::Warning);
  Click(L("btnDel"));
  ExpectBox(Gbk("请选择待删除的用户"), BoxIcon::Warning);

  // Two profiles; the name is stored trimmed.
  ASSERT_NE(OpenDialog("btnAdd", "新增用户信息"), nullptr);
  EXPECT_EQ(TextOf(D("medtPassWord")), "A5 C3 E7 B9 1D 2F");
  GetClientRect(dialog_, &client);
  EXPECT_EQ(client.right, 345);
  EXPECT_EQ(client.bottom, 158);
  FillDialog("  " + Gbk(kZhang) + " ", "112233445566");
  Click(D("btnSave"));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog_); }, 5000));
  ASSERT_NE(OpenDialog("btnAdd", "新增用户信息"), nullptr);
  FillDialog(Gbk(kLi), "AABBCCDDEEFF");
  Click(D("btnSave"));
  ASSERT_TRUE(WaitFor([&] { return Rows() == 2; }, 5000));
  ASSERT_TRUE(CloseList());

  std::string ini = IniText();
  EXPECT_TRUE(Has(ini, "UserCnt=2")) << ini;
  EXPECT_TRUE(Has(ini, "UserName1=" + Gbk(kZhang))) << ini;
  EXPECT_TRUE(Has(ini, "PassWord1=112233445566")) << ini;
  EXPECT_TRUE(Has(ini, "UserName2=" + Gbk(kLi))) << ini;
  EXPECT_TRUE(Has(ini, "PassWord2=AABBCCDDEEFF")) << ini;

  // The main window lists them; choosing one changes only the new key.
  HWND users = W("cbbUser");
  ASSERT_TRUE(WaitFor([&] { return ComboItems(users).size() == 2; }, 5000));
  EXPECT_EQ(ComboItems(users), (std::vector<std::string>{Gbk(kZhang), Gbk(kLi)}));
  SelectComboItem(users, 1);
  ASSERT_TRUE(WaitFor([&] { return TextOf(W("medtNewPassWord")) == "AA BB CC DD EE FF"; }, 5000));
  EXPECT_EQ(TextOf(W("medtPassWord")), "A5 C3 E7 B9 1D 2F");

  // Change the first: its key shows as six pairs and is stored compact.
  ASSERT_NE(OpenList(), nullptr);
  SelectRow(0);
  ASSERT_NE(OpenDialog("btnEdit", "修改用户信息"), nullptr);
  EXPECT_EQ(TextOf(D("edtUserName")), Gbk(kZhang));
  EXPECT_EQ(TextOf(D("medtPassWord")), "11 22 33 44 55 66");
  FillDialog(Gbk("王五"), "0A0B0C0D0E0F");
  Click(D("btnSave"));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog_); }, 5000));

  // Delete the second: No keeps it, Yes deletes it.
  SelectRow(1);
  Click(L("btnDel"));
  MessageBoxSeen ask = Box();
  ASSERT_NE(ask.hwnd, nullptr);
  EXPECT_EQ(ask.caption, Gbk("询问"));
  EXPECT_EQ(ask.text, Gbk("是否删除用户：[") + Gbk(kLi) + "]?");
  EXPECT_EQ(ask.icon, BoxIcon::Question);
  EXPECT_EQ(ask.buttons, (std::vector<int>{IDYES, IDNO}));
  Answer(ask, IDNO);
  EXPECT_EQ(Rows(), 2);
  Click(L("btnDel"));
  ask = Box();
  ASSERT_NE(ask.hwnd, nullptr);
  Answer(ask, IDYES);
  ASSERT_TRUE(WaitFor([&] { return Rows() == 1; }, 5000));
  ASSERT_TRUE(CloseList());

  ini = IniText();
  EXPECT_TRUE(Has(ini, "UserCnt=1")) << ini;
  EXPECT_TRUE(Has(ini, "UserName1=" + Gbk("王五"))) << ini;
  EXPECT_TRUE(Has(ini, "PassWord1=0A0B0C0D0E0F")) << ini;
  // The deleted profile's lines stay; they are not read any more.
  EXPECT_TRUE(Has(ini, "UserName2=" + Gbk(kLi))) << ini;
  ASSERT_TRUE(WaitFor([&] { return ComboItems(users).size() == 1; }, 5000));
  EXPECT_EQ(ComboItems(users)[0], Gbk("王五"));
}

TEST_F(Profiles, TheDialogRefusesAnEmptyNameOrAnIncompleteKey) {
  ASSERT_NE(OpenList(), nullptr);
  ASSERT_NE(OpenDialog("btnAdd", "新增用户信息"), nullptr);
  FillDialog("   ", "112233445566");
  Click(D("btnSave"));
  ExpectBox(Gbk("用户名不能为空"), BoxIcon::Warning);
  EXPECT_TRUE(IsWindow(dialog_));
  FillDialog(Gbk(kZhang), "1122");
  Click(D("btnSave"));
  ExpectBox(Gbk("密码必须是12位十六进制数字"), BoxIcon::Warning);
  EXPECT_TRUE(IsWindow(dialog_));
  Click(D("btnExit"));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog_); }, 5000));
  EXPECT_EQ(Rows(), 0);
  ASSERT_TRUE(CloseList());
  EXPECT_TRUE(Has(IniText(), "UserCnt=0"));  // closing always writes
}

TEST_F(Profiles, AFileThatCannotBeWrittenIsReportedAndTheListStillCloses) {
  // The folder Data gone after the start: nothing can be written there.
  ASSERT_TRUE(RemoveDirectoryA((folder_ + "Data").c_str()));
  ASSERT_NE(OpenList(), nullptr);
  ASSERT_NE(OpenDialog("btnAdd", "新增用户信息"), nullptr);
  FillDialog(Gbk(kZhang), "112233445566");
  Click(D("btnSave"));
  ASSERT_TRUE(WaitFor([&] { return Rows() == 1; }, 5000));
  Click(L("btnClose"));
  MessageBoxSeen box = Box();
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(box.caption, Gbk("提示"));
  EXPECT_EQ(box.text, Gbk("无法写入文件 ") + folder_ + "Data\\SysInfo.ini" + Gbk("，用户信息未保存。"));
  EXPECT_EQ(box.icon, BoxIcon::Warning);
  Answer(box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(list_); }, 5000));
  EXPECT_TRUE(ComboItems(W("cbbUser")).empty());
}

// A file that is there but cannot be read (held by another program that
// shares it with no one) is told at the start and again when the list
// opens; the list opens empty and closes as ever, and its close leaves the
// file as it is, even once it can be read again.
TEST_F(Profiles, AFileThatCannotBeReadIsToldAndNeverReplaced) {
  ASSERT_TRUE(CloseProgram());
  const std::string text = "[SYSInfo]\r\nUserCnt=2\r\n[UserInfo]\r\nUserName1=alice\r\nPassWord1=112233445566\r\n"
                           "UserName2=bob\r\nPassWord2=AABBCCDDEEFF\r\n";
  PutIni(text);
  HANDLE held = CreateFileA(IniPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  ASSERT_TRUE(program_.Start(folder_ + "Tavrin.exe", temp));
  ExpectBox(Gbk("无法读取文件 ") + IniPath() + Gbk("，用户信息未载入。"), BoxIcon::Warning);
  main_ = WaitTopWindow(program_.Pid(), "Tavrin", 20000);
  ASSERT_NE(main_, nullptr);
  EXPECT_TRUE(ComboItems(W("cbbUser")).empty());

  mainMap_.ClickAt(main_, "lbl21");
  ExpectBox(Gbk("无法读取文件 ") + IniPath() + Gbk("，用户信息未载入，本次修改不会保存。"), BoxIcon::Warning);
  list_ = WaitTopWindow(program_.Pid(), Gbk("用户管理"), 10000);
  ASSERT_NE(list_, nullptr);
  EXPECT_EQ(Rows(), 0);
  AddProfile("carol", "0A0B0C0D0E0F");
  CloseHandle(held);
  ASSERT_TRUE(CloseList());
  EXPECT_TRUE(NoMessageBox(program_.Pid(), 1000));
  EXPECT_TRUE(IniText() == text) << IniText();
  // Readable again, the file lists its profiles in the main window.
  EXPECT_TRUE(WaitFor([&] { return ComboItems(W("cbbUser")) == std::vector<std::string>{"alice", "bob"}; }, 5000));
}

// A file in UTF-8 (behind its mark) lists its Chinese names as they are,
// and a profile added in the list goes into it in UTF-8 too.
TEST_F(Profiles, AUtf8FileIsListedAndWrittenInUtf8) {
  const std::string mark = "\xEF\xBB\xBF";
  const std::string first = "UserName1=" + std::string(kZhang) + "\r\nPassWord1=112233445566\r\n";  // UTF-8 here
  PutIni(mark + "[SYSInfo]\r\nUserCnt=1\r\n[UserInfo]\r\n" + first);
  ASSERT_NE(OpenList(), nullptr);
  EXPECT_EQ(Rows(), 1);
  AddProfile(Gbk(kLi), "AABBCCDDEEFF");
  ASSERT_TRUE(CloseList());
  EXPECT_TRUE(IniText() == mark + "[SYSInfo]\r\nUserCnt=2\r\n[UserInfo]\r\n" + first + "UserName2=" + kLi +
                               "\r\nPassWord2=AABBCCDDEEFF\r\n")
      << IniText();
  EXPECT_TRUE(WaitFor(
      [&] { return ComboItems(W("cbbUser")) == std::vector<std::string>{Gbk(kZhang), Gbk(kLi)}; }, 5000));
}

TEST_F(Profiles, AProfileWithADamagedKeyIsRefusedWhenChosen) {
  ASSERT_TRUE(CloseProgram());
  PutIni("[SYSInfo]\r\nUserCnt=1\r\n[UserInfo]\r\nUserName1=" + Gbk(kLi) + "\r\nPassWord1=12 34\r\n");
  ASSERT_TRUE(StartProgram());
  SelectComboItem(W("cbbUser"), 0);
  ExpectBox(Gbk("密码必须是12位十六进制数字"), BoxIcon::Warning);
  EXPECT_EQ(TextOf(W("medtNewPassWord")), "A5 C3 E7 B9 1D 2F");
}

// A count that is not a number, and a file saved with a UTF-8 byte-order
// mark, list the profiles the file holds; a profile added after them is
// written after them, over none of them.
TEST_F(Profiles, ADamagedCountOrAByteOrderMarkLosesNoProfileOnAdd) {
  PutIni("[SYSInfo]\r\nUserCnt=2x\r\n[UserInfo]\r\nUserName1=alice\r\nPassWord1=112233445566\r\n"
         "UserName2=bob\r\nPassWord2=AABBCCDDEEFF\r\n");
  ASSERT_NE(OpenList(), nullptr);
  EXPECT_EQ(Rows(), 2);
  AddProfile("carol", "0A0B0C0D0E0F");
  ASSERT_TRUE(CloseList());
  std::string ini = IniText();
  EXPECT_TRUE(Has(ini, "UserCnt=3")) << ini;
  EXPECT_TRUE(Has(ini, "UserName1=alice")) << ini;
  EXPECT_TRUE(Has(ini, "UserName2=bob")) << ini;
  EXPECT_TRUE(Has(ini, "UserName3=carol")) << ini;
  EXPECT_TRUE(Has(ini, "PassWord3=0A0B0C0D0E0F")) << ini;

  const std::string mark = "\xEF\xBB\xBF";
  PutIni(mark + "[SYSInfo]\r\nUserCnt=1\r\n[UserInfo]\r\nUserName1=alice\r\nPassWord1=112233445566\r\n");
  ASSERT_NE(OpenList(), nullptr);
  EXPECT_EQ(Rows(), 1);
  AddProfile("carol", "0A0B0C0D0E0F");
  ASSERT_TRUE(CloseList());
  EXPECT_EQ(IniText(), mark + "[SYSInfo]\r\nUserCnt=2\r\n[UserInfo]\r\nUserName1=alice\r\nPassWord1=112233445566\r\n"
                              "UserName2=carol\r\nPassWord2=0A0B0C0D0E0F\r\n");
  ASSERT_TRUE(WaitFor([&] { return ComboItems(W("cbbUser")) == std::vector<std::string>{"alice", "carol"}; }, 5000));
}

// A count far above the profiles in the file lists only those, and writes
// back no empty ones; a file of 10,005 profiles is listed whole, at once,
// and written back whole.
TEST_F(Profiles, ACountAboveTheProfilesInventsNoneAndALargeFileSurvivesWhole) {
  PutIni("[SYSInfo]\r\nUserCnt=99999\r\n[UserInfo]\r\nUserName1=alice\r\nPassWord1=112233445566\r\n"
         "UserName2=bob\r\nPassWord2=AABBCCDDEEFF\r\n");
  ASSERT_NE(OpenList(), nullptr);
  EXPECT_EQ(Rows(), 2);
  ASSERT_TRUE(CloseList());
  std::string ini = IniText();
  EXPECT_TRUE(Has(ini, "UserCnt=2")) << ini;
  EXPECT_EQ(ini.find("UserName3"), std::string::npos) << ini;

  const int n = 10005;
  std::string large = "[SYSInfo]\r\nUserCnt=" + std::to_string(n) + "\r\n[UserInfo]\r\n";
  for (int i = 1; i <= n; ++i)
    large += "UserName" + std::to_string(i) + "=u" + std::to_string(i) + "\r\nPassWord" + std::to_string(i) +
             "=112233445566\r\n";
  PutIni(large);
  ASSERT_NE(OpenList(), nullptr);
  EXPECT_EQ(Rows(), n);
  ASSERT_TRUE(CloseList());
  EXPECT_TRUE(IniText() == large) << "the file changed";
  HWND users = W("cbbUser");
  EXPECT_TRUE(WaitFor([&] { return SendMessageW(users, CB_GETCOUNT, 0, 0) == n; }, 10000));
}

// A read-only file, and a file in UTF-16, are not written: closing the list
// shows the write error, and the file keeps its bytes (and its mark).
TEST_F(Profiles, AReadOnlyOrUtf16FileIsRefusedWithTheWriteError) {
  const std::string text = "[SYSInfo]\r\nUserCnt=1\r\n[UserInfo]\r\nUserName1=alice\r\nPassWord1=112233445566\r\n";
  const std::string wide("\xFF\xFE[\0S\0Y\0S\0I\0n\0f\0o\0]\0\r\0\n\0", 22);
  for (const std::string& contents : {text, wide}) {
    PutIni(contents);
    const bool readOnly = contents == text;
    if (readOnly) {
      ASSERT_TRUE(SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_READONLY));
    }
    ASSERT_NE(OpenList(), nullptr);
    AddProfile("carol", "0A0B0C0D0E0F");
    Click(L("btnClose"));
    MessageBoxSeen box = Box();
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, Gbk("无法写入文件 ") + IniPath() + Gbk("，用户信息未保存。"));
    EXPECT_EQ(box.icon, BoxIcon::Warning);
    Answer(box, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(list_); }, 5000));
    EXPECT_TRUE(IniText() == contents) << "the file changed";
    if (readOnly) {
      EXPECT_TRUE(GetFileAttributesA(IniPath().c_str()) & FILE_ATTRIBUTE_READONLY);
      SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
}
