// The fixture the control skinners' tests start from: every skinner kind
// registered and the coded test skin running. A test may make a form in
// `form`; it is freed before the skin stops, and AfterFormFreed runs in
// between (to move the mouse away or destroy raw windows of the test).
#pragma once
#include <gtest/gtest.h>

#include "ControlSkinners.h"
#include "Form.h"
#include "SkinTestSupport.h"
#include "WinSkinData.h"

namespace skintest {

class SkinnedFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterControlSkinners();
    skin = StartCodedSkin();
    ASSERT_NE(skin, nullptr);
  }
  void TearDown() override {
    if (form) form->Free();
    form = nullptr;
    AfterFormFreed();
    StopSkin(skin);
  }
  virtual void AfterFormFreed() {}

  TSkinData* skin = nullptr;
  fw::TForm* form = nullptr;
};

}  // namespace skintest
