// Size limits: how a size is held within them (natively; the controls that
// hold them are tested under Wine).
#include <gtest/gtest.h>

#include "PropertyText.h"
#include "SizeConstraints.h"

using namespace fw;

TEST(SizeConstraints, SizeHeldWithinTheLimitsAndZeroMeansNone) {
  TSizeLimits l;
  int w = 5, h = 5000;
  ConstrainSize(l, w, h);  // no limits
  EXPECT_EQ(w, 5);
  EXPECT_EQ(h, 5000);
  l.minWidth = 50;
  l.maxHeight = 300;
  ConstrainSize(l, w, h);
  EXPECT_EQ(w, 50);
  EXPECT_EQ(h, 300);
  w = 80;
  h = 20;
  ConstrainSize(l, w, h);  // inside: unchanged
  EXPECT_EQ(w, 80);
  EXPECT_EQ(h, 20);
}

TEST(SizeConstraints, MinimumWinsOverALowerMaximumAndNothingGoesNegative) {
  TSizeLimits l;
  l.minWidth = 100;
  l.maxWidth = 40;  // below the minimum
  l.minHeight = 10;
  l.maxHeight = 5;
  for (int start : {-30, 0, 20, 70, 500}) {
    int w = start, h = start;
    ConstrainSize(l, w, h);
    EXPECT_EQ(w, 100) << start;
    EXPECT_EQ(h, 10) << start;
  }
  TSizeLimits none;
  int w = -7, h = -1;
  ConstrainSize(none, w, h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
}

TEST(SizeConstraints, LimitsByNameNegativeRefusedChangesTold) {
  TSizeConstraints c;
  int changes = 0;
  c.OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(SetPropText(&c, "MinWidth", "120"), TPropStatus::Ok);
  EXPECT_EQ(SetPropText(&c, "MaxHeight", "$40"), TPropStatus::Ok);
  EXPECT_EQ(c.MinWidth(), 120);
  EXPECT_EQ(c.MaxHeight(), 64);
  EXPECT_EQ(changes, 2);
  c.SetMaxWidth(-5);  // refused: the old value stays, nobody is told
  EXPECT_EQ(c.MaxWidth(), 0);
  c.SetMinWidth(120);  // the same value: no change
  EXPECT_EQ(changes, 2);
  std::string text;
  EXPECT_EQ(GetPropText(&c, "MinHeight", text), TPropStatus::Ok);
  EXPECT_EQ(text, "0");
  TSizeConstraints copy;
  EXPECT_TRUE(copy.Empty());
  EXPECT_TRUE(copy.Assign(c));
  EXPECT_EQ(copy.MinWidth(), 120);
  EXPECT_EQ(copy.MaxHeight(), 64);
  EXPECT_FALSE(copy.Empty());
}
