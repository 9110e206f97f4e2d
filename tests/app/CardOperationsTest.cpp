// The card operation wrappers against a scripted reader: what reaches the
// library, in which order, and that the port is closed on every way out.
#include "DLL.h"

#include <gtest/gtest.h>

#include "ScriptedReader.h"

using scripted::CallsOf;
using scripted::reader;
using Calls = std::vector<std::string>;

namespace {
const std::string kOld = "A5C3E7B91D2F";
const std::string kNew = "112233445566";

class Wrappers : public ::testing::Test {
 protected:
  void SetUp() override { scripted::Reset(); }
};
}  // namespace

TEST_F(Wrappers, ListedSectorsPlainKeys) {
  ASSERT_TRUE(InitCardSectors(true, 3, 9600, "08/09/10", false, false, kOld, kNew));
  EXPECT_EQ(reader().calls, (Calls{
                                "OpenComPort 3 9600",
                                "SetDevPassWord 0 3 9600 A5C3E7B91D2F",
                                "SetOneCardPassWord 0 3 9600 8 112233445566",
                                "SetOneCardPassWord 0 3 9600 9 112233445566",
                                "SetOneCardPassWord 0 3 9600 10 112233445566",
                                "SetDevPassWord 0 3 9600 A5C3E7B91D2F",
                                "SendBeep 0 3 9600 1",
                                "CloseComPort",
                            }));
}

TEST_F(Wrappers, DiversifiedKeysReadTheSerialOnce) {
  ASSERT_TRUE(InitCardSectors(true, 4, 9600, "01", false, true, kOld, kNew));
  EXPECT_EQ(CallsOf("ReadCardSerNum"), (Calls{"ReadCardSerNum 0 4 9600"}));
  EXPECT_EQ(CallsOf("ChangeCardPassWord"), (Calls{"ChangeCardPassWord 112233445566 1A2B3C4D"}));
  EXPECT_EQ(CallsOf("SetOneCardPassWord"),
            (Calls{"SetOneCardPassWord 0 4 9600 1 " + scripted::Scramble(kNew, "1A2B3C4D")}));

  scripted::Reset();
  ASSERT_TRUE(InitCardAllSectors(true, 4, 9600, true, true, kOld, kNew));
  EXPECT_EQ(CallsOf("ReadCardSerNum").size(), 1u);
  EXPECT_EQ(CallsOf("SetDevPassWord").front(),
            "SetDevPassWord 0 4 9600 " + scripted::Scramble(kOld, "1A2B3C4D"));
  EXPECT_EQ(CallsOf("SetAllCardPassWord"),
            (Calls{"SetAllCardPassWord 0 4 9600 " + scripted::Scramble(kNew, "1A2B3C4D")}));
}

TEST_F(Wrappers, PlainKeysNeverReadTheSerial) {
  ASSERT_TRUE(InitCardAllSectors(true, 1, 9600, false, false, kOld, kNew));
  EXPECT_TRUE(CallsOf("ReadCardSerNum").empty());
  EXPECT_TRUE(CallsOf("ChangeCardPassWord").empty());
  ASSERT_TRUE(SetReaderKey(true, 1, 9600, false, kNew));
  EXPECT_EQ(CallsOf("SetDevPassWord").back(), "SetDevPassWord 0 1 9600 112233445566");
  EXPECT_TRUE(CallsOf("ReadCardSerNum").empty());
}

TEST_F(Wrappers, BadArgumentsTouchNothing) {
  EXPECT_FALSE(InitCardSectors(true, 3, 9600, "08/16", false, false, kOld, kNew));
  EXPECT_FALSE(InitCardSectors(true, 3, 9600, "08/x", false, false, kOld, kNew));
  EXPECT_FALSE(InitCardSectors(true, 3, 9600, "08//10", false, false, kOld, kNew));
  EXPECT_FALSE(InitCardSectors(true, 3, 9600, "-1", false, false, kOld, kNew));
  EXPECT_FALSE(InitCardSectors(true, 3, 9600, "08", false, false, "A5C3E7B91D2", kNew));
  EXPECT_FALSE(InitCardSectors(true, 3, 9600, "08", false, false, kOld, kNew + "7"));
  EXPECT_FALSE(InitCardSectors(true, 3, 9600, "08", false, false, kOld, "11223344556G"));
  EXPECT_FALSE(InitCardAllSectors(true, 3, 9600, false, false, "", kNew));
  EXPECT_FALSE(InitCardAllSectors(true, 3, 9600, false, false, kOld, "11 22 33 44 55 66"));
  EXPECT_FALSE(SetReaderKey(true, 3, 9600, false, "A5C3E7B91D2F0"));
  EXPECT_TRUE(reader().calls.empty());
}

TEST_F(Wrappers, FailedSectorStopsWithoutRestoringTheReader) {
  reader().failAt["SetOneCardPassWord"] = 3;
  EXPECT_FALSE(InitCardSectors(true, 2, 9600, "01/02/03/04", false, false, kOld, kNew));
  EXPECT_EQ(CallsOf("SetOneCardPassWord").size(), 3u);  // the fourth is not tried
  EXPECT_EQ(CallsOf("SetDevPassWord").size(), 1u);       // no factory key loaded back
  EXPECT_TRUE(CallsOf("SendBeep").empty());
  EXPECT_EQ(reader().calls.back(), "CloseComPort");
  EXPECT_FALSE(reader().portOpen);

  scripted::Reset();
  reader().failAt["SetAllCardPassWord"] = 1;
  EXPECT_FALSE(InitCardAllSectors(true, 2, 9600, false, false, kOld, kNew));
  EXPECT_TRUE(CallsOf("SendBeep").empty());
  EXPECT_EQ(reader().closes, 1);
}

TEST_F(Wrappers, EveryFailureClosesWhatItOpened) {
  for (const char* fn : {"ReadCardSerNum", "SetDevPassWord", "SetOneCardPassWord"}) {
    scripted::Reset();
    reader().failAt[fn] = 1;
    EXPECT_FALSE(InitCardSectors(true, 2, 9600, "05", true, true, kOld, kNew)) << fn;
    EXPECT_EQ(reader().opens, 1) << fn;
    EXPECT_EQ(reader().closes, 1) << fn;
  }
  scripted::Reset();
  reader().failAt["OpenComPort"] = 1;
  EXPECT_FALSE(InitCardSectors(true, 2, 9600, "05", false, false, kOld, kNew));
  EXPECT_EQ(reader().closes, 0);
  EXPECT_EQ(reader().calls.size(), 1u);
}

TEST_F(Wrappers, WithoutOpenTheCallerKeepsThePort) {
  ASSERT_TRUE(SetReaderKey(false, 5, 9600, true, kNew));
  ASSERT_TRUE(InitCardSectors(false, 5, 9600, "08", false, true, kOld, "640257319882"));
  EXPECT_EQ(reader().opens, 0);
  EXPECT_EQ(reader().closes, 0);
  EXPECT_EQ(CallsOf("ReadCardSerNum").size(), 2u);  // once per wrapper call
}

TEST_F(Wrappers, EmptyListLoadsKeysAndBeeps) {
  ASSERT_TRUE(InitCardSectors(true, 3, 9600, "", false, false, kOld, kNew));
  EXPECT_TRUE(CallsOf("SetOneCardPassWord").empty());
  EXPECT_EQ(CallsOf("SetDevPassWord").size(), 2u);
  EXPECT_EQ(CallsOf("SendBeep").size(), 1u);
}

TEST(SectorList, ParsesDecimalFieldsInOrder) {
  std::vector<int> s;
  EXPECT_TRUE(ParseSectorList("10/08/00/15", s));
  EXPECT_EQ(s, (std::vector<int>{10, 8, 0, 15}));
  EXPECT_TRUE(ParseSectorList("", s));
  EXPECT_TRUE(s.empty());
  EXPECT_FALSE(ParseSectorList("16", s));
  EXPECT_FALSE(ParseSectorList("1/", s));
}
