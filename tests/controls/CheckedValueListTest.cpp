#include <gtest/gtest.h>

#include "CheckedValueList.h"

using namespace kv;

namespace {

std::vector<std::string> Sectors() {
  std::vector<std::string> items;
  for (int i = 0; i < 16; ++i) items.push_back((i < 10 ? "0" : "") + std::to_string(i));
  return items;
}

struct Combo {
  CheckedValueList list;
  int changes = 0, refusals = 0;
  std::string shown;
  Combo() {
    list.onChange = [this] { ++changes; };
    list.onTooLong = [this] { ++refusals; };
    list.onDisplay = [this] { shown = list.DisplayText(); };
    list.SetEmptyValue("(none)");
    list.SetItems(Sectors());
    changes = 0;
  }
};

}  // namespace

TEST(ValueText, HasToken) {
  EXPECT_TRUE(HasValueToken("08", "08"));
  EXPECT_TRUE(HasValueToken("09", "08/09/10"));
  EXPECT_TRUE(HasValueToken("10", "08/09/10"));
  EXPECT_FALSE(HasValueToken("1", "08/10"));
  EXPECT_FALSE(HasValueToken("08/09", "08/09/10"));
  EXPECT_TRUE(HasValueToken("", "08//09"));
  // Only the first 256 characters are looked at.
  const std::string longValue = std::string(300, 'x') + "/tail";
  EXPECT_FALSE(HasValueToken("tail", longValue));
}

TEST(ValueText, AddToken) {
  std::string v;
  EXPECT_EQ(AddValueToken("08", v), TokenResult::Accepted);
  EXPECT_EQ(v, "08");
  EXPECT_EQ(AddValueToken("08", v), TokenResult::Refused);
  EXPECT_EQ(AddValueToken("02", v), TokenResult::Accepted);
  EXPECT_EQ(v, "08/02");
  std::string full(250, 'a');
  EXPECT_EQ(AddValueToken("bcde", full), TokenResult::Accepted);  // 250 + 4 + 1 = 255
  std::string fuller(250, 'a');
  EXPECT_EQ(AddValueToken("bcdef", fuller), TokenResult::TooLong);  // 256
  EXPECT_EQ(fuller, std::string(250, 'a'));
}

TEST(ValueText, RemoveToken) {
  auto removed = [](std::string v, const std::string& item) {
    return RemoveValueToken(item, v) == TokenResult::Accepted ? v : "refused";
  };
  EXPECT_EQ(removed("08/09/10", "08"), "09/10");
  EXPECT_EQ(removed("08/09/10", "09"), "08/10");
  EXPECT_EQ(removed("08/09/10", "10"), "08/09");
  EXPECT_EQ(removed("08", "08"), "");
  EXPECT_EQ(removed("08/09", "1"), "refused");
  EXPECT_EQ(removed("10/1", "1"), "10");
  EXPECT_EQ(removed("", "08"), "refused");
}

TEST(ValueText, SortedByTheItems) {
  EXPECT_EQ(SortValueText("10/08", Sectors()), "08/10");
  EXPECT_EQ(SortValueText("15/00/07", Sectors()), "00/07/15");
  EXPECT_EQ(SortValueText("b/A", {"a", "B"}), "A/b");
}

TEST(CheckedCombo, SetCheckedValuesPresetsTheSectors) {
  Combo c;
  c.list.SetCheckedValues("08/09/10");
  EXPECT_EQ(c.list.GetCheckedValues(), "08/09/10");
  EXPECT_EQ(c.shown, "08/09/10");
  EXPECT_EQ(c.changes, 4);  // the unchecking, then one per item
  for (int i = 0; i < 16; ++i) EXPECT_EQ(c.list.Checked(i), i >= 8 && i <= 10) << i;
}

TEST(CheckedCombo, GivenOrderIsKeptAndSortDisplayOnlyShows) {
  Combo c;
  c.list.SetCheckedValues("10/08");
  EXPECT_EQ(c.list.GetCheckedValues(), "10/08");
  EXPECT_EQ(c.shown, "10/08");
  c.list.SetSortDisplay(true);
  EXPECT_EQ(c.shown, "08/10");
  EXPECT_EQ(c.list.GetCheckedValues(), "10/08");
}

TEST(CheckedCombo, UnknownAndRepeatedTokensAreSkipped) {
  Combo c;
  c.list.SetCheckedValues("08/xx/08/16/");
  EXPECT_EQ(c.list.GetCheckedValues(), "08");
  EXPECT_EQ(c.refusals, 0);
}

TEST(CheckedCombo, LookupIgnoresCase) {
  Combo c;
  c.list.SetItems({"ab", "AB", "cd"});
  c.list.SetCheckedValues("AB/CD");
  EXPECT_EQ(c.list.GetCheckedValues(), "ab/cd");
  EXPECT_TRUE(c.list.Checked(0));
  EXPECT_FALSE(c.list.Checked(1));
}

TEST(CheckedCombo, NothingCheckedShowsTheEmptyValue) {
  Combo c;
  c.list.SetCheckedValues("");
  EXPECT_EQ(c.list.GetCheckedValues(), "");
  EXPECT_EQ(c.shown, "(none)");
}

TEST(CheckedCombo, PopupClicksRebuildInListOrder) {
  Combo c;
  c.list.ListItemClicked(9);
  c.list.ListItemClicked(2);
  EXPECT_EQ(c.list.GetCheckedValues(), "02/09");
  Combo d;
  d.list.SetItemChecked(9, true);
  d.list.SetItemChecked(2, true);
  EXPECT_EQ(d.list.GetCheckedValues(), "09/02");
}

TEST(CheckedCombo, ClicksOnTextAndCheckBoxToggleOnce) {
  Combo c;
  c.list.ListItemClicked(5);  // a click on the text
  EXPECT_TRUE(c.list.Checked(5));
  EXPECT_EQ(c.changes, 1);
  c.changes = 0;
  // A click in the check box: the list toggles, raises its check event, and
  // its click event follows on release.
  c.list.ListToggled(5);
  c.list.ListCheckClicked(5);
  c.list.ListItemClicked(5);
  EXPECT_FALSE(c.list.Checked(5));
  EXPECT_EQ(c.list.GetCheckedValues(), "");
  EXPECT_EQ(c.changes, 2);
}

TEST(CheckedCombo, SpaceLeavesMarksAndArrowsToggle) {
  Combo c;
  c.list.SetCheckedValues("03");
  c.changes = 0;
  c.list.ListToggled(3);
  c.list.ListCheckClicked(3);
  EXPECT_TRUE(c.list.Checked(3));
  EXPECT_EQ(c.changes, 1);
  c.list.ListItemClicked(4);  // arrow down onto item 4
  EXPECT_EQ(c.list.GetCheckedValues(), "03/04");
  // A check event with nothing selected still rebuilds.
  c.changes = 0;
  c.list.ListCheckClicked(-1);
  EXPECT_EQ(c.changes, 1);
  c.list.ListItemClicked(-1);
  EXPECT_EQ(c.changes, 1);
}

TEST(CheckedCombo, SetItemCheckedIgnoresNoChangesAndBadIndexes) {
  Combo c;
  c.list.SetItemChecked(3, false);
  c.list.SetItemChecked(16, true);
  c.list.SetItemChecked(-1, true);
  EXPECT_EQ(c.changes, 0);
  c.list.SetItemChecked(3, true);
  c.list.SetItemChecked(3, true);
  EXPECT_EQ(c.changes, 1);
  c.list.SetItemChecked(3, false);
  EXPECT_EQ(c.list.GetCheckedValues(), "");
  EXPECT_EQ(c.changes, 2);
}

TEST(CheckedCombo, CheckAllAndUncheckAll) {
  Combo c;
  c.list.CheckAllItems();
  EXPECT_EQ(c.list.GetCheckedValues().size(), 16u * 3 - 1);
  EXPECT_TRUE(c.list.Checked(15));
  EXPECT_EQ(c.changes, 1);
  c.list.UncheckAllItems();
  EXPECT_EQ(c.list.GetCheckedValues(), "");
  EXPECT_FALSE(c.list.Checked(0));
  EXPECT_EQ(c.changes, 2);
  // CheckAll has no length limit.
  c.list.SetItems(std::vector<std::string>(10, std::string(40, 'x')));
  c.list.CheckAllItems();
  EXPECT_EQ(c.list.GetCheckedValues().size(), 10u * 41 - 1);
  EXPECT_EQ(c.refusals, 0);
}

TEST(CheckedCombo, LongItemsAreRefusedWithTheMessage) {
  Combo c;
  std::vector<std::string> items;
  for (char ch = 'a'; ch < 'a' + 8; ++ch) items.push_back(std::string(40, ch));
  c.list.SetItems(items);
  for (int i = 0; i < 6; ++i) c.list.SetItemChecked(i, true);
  EXPECT_EQ(c.list.GetCheckedValues().size(), 245u);
  c.changes = 0;
  c.list.SetItemChecked(6, true);
  EXPECT_EQ(c.refusals, 1);
  EXPECT_EQ(c.changes, 0);
  EXPECT_FALSE(c.list.Checked(6));
  EXPECT_EQ(c.list.GetCheckedValues().size(), 245u);
  // In a rebuild the refused item stays checked in the list; every rebuild
  // shows the message again.
  c.list.ListItemClicked(6);
  EXPECT_TRUE(c.list.Checked(6));
  EXPECT_EQ(c.refusals, 2);
  c.list.ListItemClicked(7);
  EXPECT_EQ(c.refusals, 4);
  EXPECT_EQ(c.list.GetCheckedValues().size(), 245u);
}

TEST(CheckedCombo, ChangingItemsDropsTheValueQuietly) {
  Combo c;
  c.list.SetCheckedValues("01/02");
  c.changes = 0;
  int replaced = 0;
  c.list.onItemsReplaced = [&] { ++replaced; };
  c.list.AddItem("16");
  EXPECT_EQ(c.list.GetCheckedValues(), "");
  EXPECT_FALSE(c.list.Checked(1));
  EXPECT_EQ(c.shown, "(none)");
  EXPECT_EQ(c.changes, 0);
  EXPECT_EQ(replaced, 1);
}

TEST(CheckedCombo, SortedItems) {
  Combo c;
  c.list.SetItems({"b", "C", "a"});
  c.list.SetSorted(true);
  EXPECT_EQ(c.list.Items(), (std::vector<std::string>{"a", "b", "C"}));
  c.list.AddItem("B2");
  EXPECT_EQ(c.list.Items(), (std::vector<std::string>{"a", "b", "B2", "C"}));
}

TEST(CheckedComboPopup, Lines) {
  EXPECT_EQ(PopupLines(0, 6, 3), 3);
  EXPECT_EQ(PopupLines(0, 6, 20), 6);
  EXPECT_EQ(PopupLines(2, 6, 20), 10);  // 20 div 2 + 1 = 11, clamped
  EXPECT_EQ(PopupLines(3, 6, 20), 7);
  EXPECT_EQ(PopupLines(0, 6, 0), 0);
  EXPECT_EQ(PopupLines(0, 3, 20), 6);   // a lowered value is clamped again
}

TEST(CheckedComboPopup, PlacementFlipsAboveNearTheBottom) {
  TPopupRect r = PopupPlacement(100, 200, 121, 21, 16, 6, 768);
  EXPECT_EQ(r.top, 200);
  EXPECT_EQ(r.height, 100);
  EXPECT_EQ(r.width, 121);
  r = PopupPlacement(100, 700, 121, 21, 16, 6, 768);  // 700 + 100 > 748
  EXPECT_EQ(r.top, 700 - 100 - 21);
  r = PopupPlacement(100, 648, 121, 21, 16, 6, 768);  // exactly at the margin stays below
  EXPECT_EQ(r.top, 648);
  r = PopupPlacement(100, 660, 121, 21, 16, 6, 768);  // on the screen, but within the margin
  EXPECT_EQ(r.top, 660 - 100 - 21);
}

TEST(CheckedComboPopup, ReopenGuardNeedsStrictlyInside) {
  EXPECT_TRUE(StrictlyInside(1, 1, 16, 17));
  EXPECT_FALSE(StrictlyInside(0, 5, 16, 17));
  EXPECT_FALSE(StrictlyInside(16, 5, 16, 17));
  EXPECT_FALSE(StrictlyInside(5, 17, 16, 17));
}

TEST(CheckedComboLayout, PartsAndHeight) {
  const TComboLayout l = ComboLayout(121, 21);
  EXPECT_EQ(l.editWidth, 104);
  EXPECT_EQ(l.buttonLeft, 103);
  EXPECT_EQ(l.buttonTop, 2);
  EXPECT_EQ(l.buttonHeight, 17);
  EXPECT_EQ(FitHeightToFont(13, 16, true, true, 1), 21);
  EXPECT_EQ(FitHeightToFont(13, 16, true, false, 1), 19);
  EXPECT_EQ(FitHeightToFont(13, 16, false, true, 1), 13 + 3 + 4);
}
