#include "Language.h"

#include <gtest/gtest.h>

class Catalogue : public ::testing::Test {
 protected:
  void SetUp() override { InitMessageCatalogue(); }
};

TEST_F(Catalogue, HoldsTheTextsInGbk) {
  EXPECT_EQ(Msg(73), "\xCC\xE1\xCA\xBE");  // 提示
  EXPECT_EQ(Msg(124), "\xC7\xEB\xD1\xA1\xD4\xF1\xB4\xAE\xBF\xDA\xBA\xC5");  // 请选择串口号
  EXPECT_EQ(Msg(156), "\xC7\xEB\xD1\xA1\xD4\xF1\xB2\xD9\xD7\xF7\xC9\xC8\xC7\xF8");  // 请选择操作扇区
  EXPECT_EQ(Msg(177), "\xCA\xC7");  // 是
  EXPECT_EQ(Msg(kMsgCaption), Msg(73));
}

TEST_F(Catalogue, PortDetectedTakesTheNumber) {
  // 检测串口号成功，当前设备连接串口COM3
  EXPECT_EQ(FormatMsg(132, 3),
            "\xBC\xEC\xB2\xE2\xB4\xAE\xBF\xDA\xBA\xC5\xB3\xC9\xB9\xA6\xA3\xAC\xB5\xB1\xC7\xB0"
            "\xC9\xE8\xB1\xB8\xC1\xAC\xBD\xD3\xB4\xAE\xBF\xDA" "COM3");
  EXPECT_EQ(FormatMsg(132, 12).substr(FormatMsg(132, 12).size() - 5), "COM12");
}

TEST_F(Catalogue, UnusedAndOutOfRangeEntriesAreEmpty) {
  EXPECT_EQ(Msg(0), "");
  EXPECT_EQ(Msg(756), "");
  EXPECT_EQ(Msg(-1), "");
  EXPECT_EQ(Msg(757), "");
  DoneMessageCatalogue();
  EXPECT_EQ(Msg(73), "");
}
