// Form data: parsing, reading into components through the property table,
// obsolete and custom properties, and clear errors for bad data.
#include <gtest/gtest.h>

#include "FormReader.h"
#include "SampleComponent.h"

using namespace fw;
using namespace sample;

namespace {

const char* kGood = R"(// a sample form
object Root: TSampleRoot
  Tag = 7
  object first: TSample
    Count = 3
    Active = True
    Border = bdDouble
    Edges = [edTop, edBottom]
    Caption = "\xCC\xE1" + "\xCA\xBE"
    Color = clWindow
    Style.FaceName = "Courier"
    Style.Size = 12
    Lines = (
      "00"
      "01"
      "\"q\"")
    Data = {00 01 FE ff}
    Buddy = second
    OnChange = FirstChange
    Flat = True
    OldStyle = osWhatever
    object inner: TSample
      Count = -1
    end
  end
  object second: TSample
    Color = $00FF00
  end
end
)";

class FormDataTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterSampleClasses(); }
};

TEST_F(FormDataTest, ReadsObjectsPropertiesAndReferences) {
  TSampleRoot root(nullptr);
  std::string error;
  ASSERT_TRUE(ReadFormData(&root, kGood, error)) << error;
  EXPECT_EQ(root.Name(), "Root");
  EXPECT_EQ(root.Tag(), 7);
  ASSERT_NE(root.first, nullptr);
  ASSERT_NE(root.second, nullptr);
  TSample& f = *root.first;
  EXPECT_EQ(f.count, 3);
  EXPECT_TRUE(f.active);
  EXPECT_EQ(f.border, bdNone);  // the obsolete Flat = True came after Border
  EXPECT_EQ(f.edges, 10u);
  EXPECT_EQ(f.caption, "\xCC\xE1\xCA\xBE");
  EXPECT_EQ(f.color, clWindow);
  EXPECT_EQ(f.style.face, "Courier");
  EXPECT_EQ(f.style.size, 12);
  ASSERT_EQ(f.lines.Count(), 3);
  EXPECT_EQ(f.lines[2], "\"q\"");
  EXPECT_EQ(f.data, (std::vector<uint8_t>{0x00, 0x01, 0xFE, 0xFF}));
  EXPECT_EQ(f.buddy, root.second);
  ASSERT_TRUE(static_cast<bool>(f.OnChange));
  f.OnChange(&f);
  EXPECT_EQ(root.lastSender, &f);
  EXPECT_EQ(root.second->color, 0x00FF00);
  // Every object belongs to the root; Loaded ran once after all reading.
  EXPECT_EQ(root.ComponentCount(), 3);
  auto* inner = static_cast<TSample*>(root.FindComponent("inner"));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->count, -1);
  EXPECT_EQ(f.loadedCalls, 1);
  EXPECT_EQ(f.captionAtLoaded, f.caption);
  EXPECT_FALSE(f.IsLoading());
}

struct BadCase {
  const char* text;
  const char* expected;  // part of the error message
};

TEST_F(FormDataTest, BadDataGivesErrorsNamingObjectAndProperty) {
  const BadCase cases[] = {
      {"object Root: TSampleRoot\n object first: TSample\n  Count = \"x\"\n end\nend\n",
       "Root.first.Count (line 3): an integer is expected"},
      {"object Root: TSampleRoot\n object first: TSample\n  Border = bdTriple\n end\nend\n",
       "Root.first.Border (line 3): not a value of TBorder: bdTriple"},
      {"object Root: TSampleRoot\n object first: TSample\n  Nothing = 1\n end\nend\n",
       "Root.first.Nothing (line 3): no such property in TSample"},
      {"object Root: TSampleRoot\n object first: TNoSuchClass\n end\nend\n",
       "Root.first (line 2): unknown class TNoSuchClass"},
      {"object Root: TSampleRoot\n object first: TSample\n  Buddy = ghost\n end\nend\n",
       "Root.first.Buddy (line 3): no component named ghost"},
      {"object Root: TSampleRoot\n object first: TSample\n  OnChange = Missing\n end\nend\n",
       "TSampleRoot has no published method Missing"},
      {"object Root: TSampleRoot\n object first: TSample\n  OnChange = WrongShape\n end\nend\n",
       "method WrongShape does not fit the event"},
      {"object Root: TSampleRoot\n object first: TSample\n  Edges = [edLeft, edNowhere]\n end\nend\n",
       "not an element of the set: edNowhere"},
      {"object Root: TSampleRoot\n object first: TSample\n  Flat = 3\n end\nend\n",
       "Root.first.Flat (line 3): True or False is expected"},
      {"object Root: TSampleRoot\n object first: TSample\n end\n object first: TSample\n end\nend\n",
       "a component of this name exists already"},
      {"object Root: TOther\nend\n", "the data is for class TOther"},
      {"object Root: TSampleRoot\n object first: TSample\n  Caption = \"open\n end\nend\n",
       "line 3: string not closed on its line"},
      {"object Root: TSampleRoot\n  Tag = 1\n", "line 3: \"end\" of object Root missing"},
      {"object Root: TSampleRoot\n object first: TSample\n  Data = {0G}\n end\nend\n",
       "line 3: hexadecimal digit expected"},
      {"object Root: TSampleRoot\n  Tag = 99999999999\nend\n", "line 2: number out of range"},
      {"", "line 1: \"object\" expected"},
  };
  for (const auto& c : cases) {
    TSampleRoot root(nullptr);
    std::string error;
    EXPECT_FALSE(ReadFormData(&root, c.text, error)) << c.text;
    EXPECT_NE(error.find(c.expected), std::string::npos) << "got: " << error << "\nwanted: " << c.expected;
  }
}

TEST_F(FormDataTest, GbkWrittenDirectlyInStringsKeepsItsBytes) {
  // A trail byte 0x5C ('\\') does not start an escape: "\x81\x5Cn" is a GBK
  // character and an n, not a character's lead byte and a line break.
  const std::string gbk = "\x81\x5C\x95\x5C\xCC\xE1";
  TFormObject data;
  std::string error;
  ASSERT_TRUE(ParseFormData("object A: TX\n  S = \"" + gbk + "\"\n  T = \"\x81\x5Cn\"\nend\n", data, error))
      << error;
  ASSERT_EQ(data.props.size(), 2u);
  EXPECT_EQ(data.props[0].value.text, gbk);
  EXPECT_EQ(data.props[1].value.text, "\x81\x5Cn");
}

TEST_F(FormDataTest, DeepNestingIsRefusedNotOverflowed) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "object o" + std::to_string(i) + ": TSample\n";
  for (int i = 0; i < 200; ++i) text += "end\n";
  TFormObject data;
  std::string error;
  EXPECT_FALSE(ParseFormData(text, data, error));
  EXPECT_NE(error.find("nested too deeply"), std::string::npos);
}

TEST_F(FormDataTest, CollectionsAndEmptyValuesParse) {
  TFormObject data;
  std::string error;
  ASSERT_TRUE(ParseFormData("object A: TX\n  Cols = <\n item Caption = \"a\" Width = 200 end\n"
                            "  item end >\n  S = []\n  L = ()\n  B = {}\nend",
                            data, error))
      << error;
  ASSERT_EQ(data.props.size(), 4u);
  ASSERT_EQ(data.props[0].value.kind, TFormValue::Collection);
  ASSERT_EQ(data.props[0].value.collection.size(), 2u);
  EXPECT_EQ(data.props[0].value.collection[0][1].value.integer, 200);
  EXPECT_TRUE(data.props[1].value.items.empty());
  EXPECT_TRUE(data.props[3].value.bytes.empty());
}

}  // namespace
