// Every terminal command end to end: the request the terminal got, and what
// came back to the caller.
#include <cstring>

#include "EndToEnd.h"

using e2e::Bus;

namespace {

const int kDev = 2;

std::vector<int> Table(int base, int step) {
  std::vector<int> t(15);
  for (int i = 0; i < 15; ++i) t[i] = base + step * i;
  return t;
}

std::string HexOf(const std::vector<int>& values, int width) {
  std::string s;
  char t[9];
  for (int v : values) {
    std::snprintf(t, sizeof t, "%0*X", 2 * width, static_cast<unsigned>(v));
    s += t;
  }
  return s;
}

}  // namespace

using Commands = Bus;

TEST_F(Commands, DeviceSettings) {
  EXPECT_EQ(SetBaud(0, kDev, 3), 1);
  EXPECT_EQ(Setting(kDev, 0x08), "03");
  EXPECT_EQ(SetMAGCard(0, kDev, 300000), 1);
  EXPECT_EQ(Setting(kDev, 0x0B), "000493E0");
  const unsigned char password[4] = {0x01, 0x00, 0xFE, 0x04};
  EXPECT_EQ(SetMenuPassWord(0, kDev, password), 1);
  EXPECT_EQ(Setting(kDev, 0x0C), "0100FE04");
  EXPECT_EQ(SetScreen(0, kDev, "WELCOME"), 1);
  EXPECT_EQ(Setting(kDev, 0x0D), "57454C434F4D45000000000000000000");
  EXPECT_EQ(SetPrintTilte(0, kDev, "RECEIPT TITLE 16"), 1);
  EXPECT_EQ(Setting(kDev, 0x0E), "52454345495054205449544C45203136");
  EXPECT_EQ(SetAutoPrint(0, kDev, 7), 1);
  EXPECT_EQ(Setting(kDev, 0x0F), "01");
  EXPECT_EQ(SetWorkType(0, kDev, 8), 1);
  EXPECT_EQ(Setting(kDev, 0x10), "08");
  EXPECT_EQ(SetDoorType(0, kDev, 2), 1);
  EXPECT_EQ(Setting(kDev, 0x11), "02");
  EXPECT_EQ(SetSleep(0, kDev, 255), 1);
  EXPECT_EQ(Setting(kDev, 0x1A), "FF");
  EXPECT_EQ(SetAllowLeave(0, kDev, 32767), 1);
  EXPECT_EQ(Setting(kDev, 0x1B), "7FFF");
  EXPECT_EQ(SetFixedMoney(0, kDev, 0xABCDEF), 1);
  EXPECT_EQ(Setting(kDev, 0x1D), "ABCDEF");
  EXPECT_EQ(SetIsClearSubsidy(0, kDev, 1), 1);
  EXPECT_EQ(Setting(kDev, 0x32), "01");
  EXPECT_EQ(SetStartBlock(0, kDev, 13), 1);
  EXPECT_EQ(Setting(kDev, 0x37), "0D");
  EXPECT_EQ(SetDevPassWord(0, kDev, "a1B2c3D4e5F6"), 1);
  EXPECT_EQ(Setting(kDev, 0x38), "A1B2C3D4E5F6");
  EXPECT_EQ(SetSoundInfo(0, kDev, 1), 1);
  EXPECT_EQ(Setting(kDev, 0x39), "01");
  EXPECT_EQ(SetKeyMoney(0, kDev, 2, 65535), 1);
  EXPECT_EQ(Setting(kDev, 0x48), "02FFFF");
  EXPECT_EQ(DecMoneySpeed(0, kDev, 255), 1);
  EXPECT_EQ(Setting(kDev, 0x4D), "FF");
  EXPECT_EQ(AddMoneySpeed(0, kDev, 1), 1);
  EXPECT_EQ(Setting(kDev, 0x4E), "01");
  EXPECT_EQ(DecMoneyUnit(0, kDev, 65535), 1);
  EXPECT_EQ(Setting(kDev, 0x4F), "FFFF");
  EXPECT_EQ(AddMoneyUnit(0, kDev, 1, 2), 1);
  EXPECT_EQ(Setting(kDev, 0x50), "00010002");
  EXPECT_EQ(SetRelayIsOpen(0, kDev, 1), 1);
  EXPECT_EQ(Setting(kDev, 0x51), "01");
  EXPECT_EQ(SetRelayOpenTime(0, kDev, 500), 1);
  EXPECT_EQ(Setting(kDev, 0x52), "01F4");
  EXPECT_EQ(SetGameIsSwingCard(0, kDev, 0), 1);
  EXPECT_EQ(Setting(kDev, 0x55), "00");
  EXPECT_EQ(SetTcpNetParam(0, kDev, 192, 168, 1, 20, 255, 255, 255, 0, 192, 168, 1, 1), 1);
  EXPECT_EQ(Setting(kDev, 0x33), "C0A80114FFFFFF00C0A80101");
  const unsigned char gprs[5] = {'A', 'P', 'N', 0, 9};
  EXPECT_EQ(SetGPRSNetParam(0, kDev, 7, 5, gprs), 1);
  EXPECT_EQ(Setting(kDev, 0x34), "070541504E0009");
}

TEST_F(Commands, Tables) {
  const std::vector<int> flags = {1, 0, 5, 0, 1, 1, 0, 0, 0, 1, 0, 1, 0, 0, -1};
  const std::string flagHex = "010001000101000000010001000001";
  EXPECT_EQ(SetIsLimitTime(0, kDev, flags.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x13), flagHex);
  EXPECT_EQ(SetIsLimitMoney(0, kDev, flags.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x15), flagHex);
  EXPECT_EQ(SetIsPeriodLimit(0, kDev, flags.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x17), flagHex);
  EXPECT_EQ(SetOutPeriodUse(0, kDev, flags.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x18), flagHex);
  EXPECT_EQ(SetIsMonthCount(0, kDev, flags.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x56), flagHex);

  const std::vector<int> two = Table(0x1000, 0x111);
  EXPECT_EQ(SetLimitTime(0, kDev, two.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x14), HexOf(two, 2));
  EXPECT_EQ(SetMonthCount(0, kDev, two.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x57), HexOf(two, 2));
  EXPECT_EQ(SetSaveMoney(0, kDev, two.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x1C), HexOf(two, 3));
  const std::vector<int> three = Table(0x100000, 0x10101);
  EXPECT_EQ(SetLimitMoney(0, kDev, three.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x16), HexOf(three, 3));
  EXPECT_EQ(SetOneLimitMoney(0, kDev, three.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x40), HexOf(three, 3));
  const std::vector<int> discount = Table(30, 5);
  EXPECT_EQ(SetDiscount(0, kDev, discount.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x21), HexOf(discount, 1));

  // Refused tables never reach the terminal.
  std::vector<int> bad = discount;
  bad[7] = 101;
  EXPECT_EQ(SetDiscount(0, kDev, bad.data()), 0);
  EXPECT_EQ(Setting(kDev, 0x21), HexOf(discount, 1));
}

TEST_F(Commands, Grids) {
  std::vector<int> grid(8 * 15);
  for (int c = 0; c < 8; ++c)
    for (int i = 0; i < 15; ++i) grid[c * 15 + i] = c * 16 + i;
  auto column = [&](int c, int i) { return grid[c * 15 + i]; };
  std::vector<int> limit, time, period;
  std::string limitHex, timeHex;
  for (int i = 0; i < 15; ++i) {
    limitHex += HexOf({column(0, i)}, 2) + HexOf({column(4, i)}, 3) + HexOf({column(1, i)}, 2) +
                HexOf({column(5, i)}, 3) + HexOf({column(2, i)}, 2) + HexOf({column(6, i)}, 3) +
                HexOf({column(3, i)}, 2) + HexOf({column(7, i)}, 3);
    timeHex += HexOf({column(0, i)}, 1) + HexOf({column(1, i)}, 3) + HexOf({column(2, i)}, 1) +
               HexOf({column(3, i)}, 1) + HexOf({column(4, i)}, 3) + HexOf({column(5, i)}, 1) +
               HexOf({column(6, i)}, 1) + HexOf({column(7, i)}, 3);
  }
  EXPECT_EQ(SetPeriodLimit(0, kDev, grid.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x19), limitHex);
  EXPECT_EQ(SetTimeMoney(0, kDev, grid.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x1E), timeHex);
  EXPECT_EQ(SetPeriodMoney(0, kDev, grid.data()), 1);
  EXPECT_EQ(Setting(kDev, 0x1F).size(), 15u * 24u * 2u);
  EXPECT_EQ(Setting(kDev, 0x1F).substr(0, 12), "000000000010");
}

TEST_F(Commands, MenuAndTexts) {
  HalvinMenuMoney menu;
  std::memset(&menu, 0, sizeof menu);
  for (int i = 0; i < 9; ++i) {
    menu.firstByte[i] = i + 1;
    menu.secondByte[i] = 0x40 + i;
    std::memcpy(menu.shortText[i], "RICE  1", 7);
    std::memcpy(menu.longText[i], "FRIED RICE BOWL ", 16);
    menu.price[i] = 1200 + i;
  }
  EXPECT_EQ(SetMenuMoney(0, kDev, 3, &menu), 1);
  const std::string m = Setting(kDev, 0x20);
  ASSERT_EQ(m.size(), 2u * (1 + 9 * 28));
  EXPECT_EQ(m.substr(0, 2), "03");
  EXPECT_EQ(m.substr(2 + 56 * 2, 4), "0342");  // entry 2: first and second byte
  EXPECT_EQ(m.substr(2 + 56 * 3 - 6, 6), "0004B2");  // entry 2's price 1202

  EXPECT_EQ(SetPeriod(0, kDev, "000102030405060708091011121314151617181920212223"), 1);
  EXPECT_EQ(Setting(kDev, 0x12), "000102030405060708090A0B0C0D0E0F1011121314151617");
  EXPECT_EQ(SetPeriod(0, kDev, "0001"), 0);  // too short: refused, nothing sent
}

TEST_F(Commands, ClockAndFactoryTime) {
  EXPECT_EQ(SetDevTime(0, kDev, "2406301259507"), 1);
  EXPECT_EQ(Setting(kDev, 0x09), "18061E0C3B3207");
  char time[13 + 8];
  std::memset(time, 'x', sizeof time);
  EXPECT_EQ(GetDevTime(0, kDev, time), 1);
  EXPECT_EQ(std::strlen(time), 12u);
  EXPECT_EQ(std::string(time).substr(0, 10), "2406301259");
  EXPECT_EQ(SetFactoryTime(0, kDev, "230102030405"), 1);
  EXPECT_EQ(GetFactoryTime(0, kDev, time), 1);
  EXPECT_STREQ(time, "230102030405");
}

TEST_F(Commands, VersionAndFlash) {
  EXPECT_EQ(SetDevVersion(0, kDev, "V9.87 TEST"), 1);
  char version[11];
  EXPECT_EQ(GetDevVersion(0, kDev, version), 1);
  EXPECT_STREQ(version, "V9.87 TEST");
  const unsigned char font[4] = {0xDE, 0xAD, 0xBE, 0xEF};
  EXPECT_EQ(DownFont(0, kDev, 0x123456, 4, font), 1);
  EXPECT_EQ(Setting(kDev, 0x4C), "1234560004DEADBEEF");
  unsigned char flash[8];
  std::memset(flash, 0xAA, sizeof flash);
  EXPECT_EQ(GetFlashBuf(0, kDev, 0x123455, 6, flash), 1);
  EXPECT_EQ(flash[1], 0xDE);
  EXPECT_EQ(flash[4], 0xEF);
  EXPECT_EQ(flash[6], 0);
  EXPECT_EQ(flash[7], 0xAA);
  EXPECT_EQ(CheckFlash(0, kDev), 1);
}

TEST_F(Commands, MoneyFigures) {
  ASSERT_TRUE(sim.Ok("money 2 65535 123456789 7"));
  ASSERT_TRUE(sim.Ok("daymoney 2 12 654321"));
  int a = -1, b = -1, c = -1;
  EXPECT_EQ(GetAllMoneyInfo(0, kDev, &a, &b, &c), 1);
  EXPECT_EQ(a, 65535);
  EXPECT_EQ(b, 123456789);
  EXPECT_EQ(c, 7);
  EXPECT_EQ(GetDayMoneyInfo(0, kDev, &a, &b), 1);
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, 654321);
}

TEST_F(Commands, BlacklistAndSubsidies) {
  EXPECT_EQ(LoseCard(0, kDev, 77), 1);
  EXPECT_EQ(LoseCard(0, kDev, 78), 1);
  EXPECT_EQ(Get(kDev, "black 77"), "1");
  EXPECT_EQ(UnLoseCard(0, kDev, 77), 1);
  EXPECT_EQ(Get(kDev, "black 77"), "0");
  EXPECT_EQ(ClearBlackCard(0, kDev), 1);
  EXPECT_EQ(Get(kDev, "blacksize"), "0");

  EXPECT_EQ(AddSubsidy(0, kDev, 9, 500), 1);
  EXPECT_EQ(DecSubsidy(0, kDev, 9, 200), 1);
  int amount = -1;
  EXPECT_EQ(GetCardSubsidy(0, kDev, 9, &amount), 1);
  EXPECT_EQ(amount, 300);
  // The terminal refuses taking more than there is: its status is not
  // success, so the call fails and the amount stays.
  EXPECT_EQ(DecSubsidy(0, kDev, 9, 1000), 0);
  EXPECT_EQ(Get(kDev, "subsidy 9"), "300");
  EXPECT_EQ(AddSubsidy(0, kDev, 9, -1), 0);  // refused before I/O
  EXPECT_EQ(ClearAllSubsidy(0, kDev), 1);
  EXPECT_EQ(Get(kDev, "subsidy 9"), "0");
}

TEST_F(Commands, Records) {
  const int dev = 1;
  ASSERT_TRUE(sim.Ok("reset 1"));
  ASSERT_TRUE(sim.Ok("records 1 100"));
  int count = -1;
  std::vector<unsigned char> buf(1024, 0xEE);
  EXPECT_EQ(DownRecord(0, dev, 0, &count, buf.data()), 1);
  EXPECT_EQ(count, 63);  // as many 16-byte records as a reply holds
  EXPECT_EQ(buf[0], 0x00);  // card 100001 = 0x000186A1
  EXPECT_EQ(buf[3], 0xA1);
  EXPECT_EQ(buf[63 * 16], 0);
  EXPECT_EQ(DownRecord(0, dev, 90, &count, buf.data()), 1);
  EXPECT_EQ(count, 10);
  EXPECT_EQ(buf[3], static_cast<unsigned char>((100000 + 91) & 0xFF));

  EXPECT_EQ(RealDownRecord(0, dev, &count, buf.data()), 1);
  EXPECT_EQ(count, 63);
  EXPECT_EQ(DeleteRealRecord(0, dev, count), 1);
  EXPECT_EQ(Get(dev, "records"), "100 63");
  EXPECT_EQ(RealDownRecord(0, dev, &count, buf.data()), 1);
  EXPECT_EQ(count, 37);
  EXPECT_EQ(DeleteRealRecord(0, dev, 0), 1);  // nothing sent
  EXPECT_EQ(Get(dev, "records"), "100 63");

  EXPECT_EQ(DeleteRecord(0, dev), 1);
  EXPECT_EQ(Get(dev, "records"), "0 0");
  int regain = -1;
  EXPECT_EQ(ReadRegainDelRecordCnt(0, dev, &regain), 1);
  EXPECT_EQ(regain, 100);
  EXPECT_EQ(RegainDelRecord(0, dev, 40), 1);
  EXPECT_EQ(Get(dev, "records"), "40 0");
  EXPECT_EQ(ReadRegainDelRecordCnt(0, dev, &regain), 1);
  EXPECT_EQ(regain, 60);
}

TEST_F(Commands, TerminalsAnswerOnlyTheirOwnNumber) {
  EXPECT_EQ(SetSleep(0, 1, 11), 1);
  EXPECT_EQ(SetSleep(0, 3, 33), 1);
  EXPECT_EQ(Setting(1, 0x1A), "0B");
  EXPECT_EQ(Setting(3, 0x1A), "21");
  EXPECT_EQ(SetSleep(0, 4, 44), 0);  // nobody is number 4
  // A new number: the terminal answers to it from then on.
  EXPECT_EQ(SetDevNo(0, 3, 9), 1);
  EXPECT_EQ(SetSleep(0, 3, 1), 0);
  EXPECT_EQ(SetSleep(0, 9, 99), 1);
  EXPECT_EQ(Setting(9, 0x1A), "63");
  EXPECT_EQ(SetDevNo(0, 9, 3), 1);
  EXPECT_EQ(sim.Value("devices"), "1 2 3");
  // InitDev puts the terminal back to its defaults.
  EXPECT_EQ(InitDev(0, 3), 1);
  EXPECT_EQ(Setting(3, 0x1A), "");
}

TEST_F(Commands, OpenAndCloseFlag) {
  ClosePort();
  const std::string before = sim.Value("get opens");
  EXPECT_EQ(SetSleep(1, 1, 5), 1);
  EXPECT_EQ(Setting(1, 0x1A), "05");
  EXPECT_NE(sim.Value("get opens"), before);
  EXPECT_EQ(SetSleep(0, 1, 6), 0);  // closed again afterwards
  EXPECT_EQ(SetSleep(1, 0, 6), 0);  // refused before opening
  ASSERT_EQ(OpenPort(), 1);
}
