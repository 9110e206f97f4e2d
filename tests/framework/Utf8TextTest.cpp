// UTF-8 text to GBK and back, on both sides.
#include <gtest/gtest.h>

#include "Text.h"

using namespace fw;

namespace {

const std::string kZhangUtf8 = "\xE5\xBC\xA0\xE4\xB8\x89";  // 张三
const std::string kZhangGbk = "\xD5\xC5\xC8\xFD";

TEST(Utf8Text, ConvertsBothWaysAndRefusesWhatIsNotItsEncoding) {
  std::string out = "kept";
  ASSERT_TRUE(Utf8ToGbk("a " + kZhangUtf8 + "!", out));
  EXPECT_EQ(out, "a " + kZhangGbk + "!");
  ASSERT_TRUE(GbkToUtf8(out, out));
  EXPECT_EQ(out, "a " + kZhangUtf8 + "!");
  ASSERT_TRUE(Utf8ToGbk("", out));
  EXPECT_EQ(out, "");

  // GBK bytes are no UTF-8; a lead byte alone is no GBK.
  out = "kept";
  EXPECT_FALSE(Utf8ToGbk(kZhangGbk, out));
  EXPECT_FALSE(GbkToUtf8("x\xD5", out));
  EXPECT_EQ(out, "kept");

  // A character GBK lacks comes out as its substitute.
  ASSERT_TRUE(Utf8ToGbk("a\xF0\x9F\x98\x80" + kZhangUtf8, out));
  ASSERT_GE(out.size(), 6u);
  EXPECT_EQ(out.substr(0, 2), "a?");
  EXPECT_EQ(out.substr(out.size() - 4), kZhangGbk);
}

}  // namespace
