// Published properties read and written by name as text, one test per
// kind, and the component basics they rest on.
#include <gtest/gtest.h>

#include "PropertyText.h"
#include "SampleComponent.h"

using namespace fw;
using namespace sample;

namespace {

std::string Text(const TObject* o, const std::string& name) {
  std::string t;
  EXPECT_EQ(GetPropText(o, name, t), TPropStatus::Ok) << name;
  return t;
}

TEST(PropertyText, IntegersReadAndWriteAsDecimal) {
  TSample s(nullptr);
  EXPECT_EQ(SetPropText(&s, "Count", "-42"), TPropStatus::Ok);
  EXPECT_EQ(s.count, -42);
  EXPECT_EQ(Text(&s, "count"), "-42");  // names ignore letter case
  EXPECT_EQ(SetPropText(&s, "Count", "$10"), TPropStatus::Ok);
  EXPECT_EQ(s.count, 16);
  EXPECT_EQ(SetPropText(&s, "Count", "12abc"), TPropStatus::BadValue);
  EXPECT_EQ(SetPropText(&s, "Count", "99999999999"), TPropStatus::BadValue);
  EXPECT_EQ(s.count, 16);
}

TEST(PropertyText, BooleansAreTrueAndFalse) {
  TSample s(nullptr);
  EXPECT_EQ(Text(&s, "Active"), "False");
  EXPECT_EQ(SetPropText(&s, "Active", "true"), TPropStatus::Ok);
  EXPECT_TRUE(s.active);
  EXPECT_EQ(Text(&s, "Active"), "True");
  EXPECT_EQ(SetPropText(&s, "Active", "yes"), TPropStatus::BadValue);
}

TEST(PropertyText, EnumerationsByName) {
  TSample s(nullptr);
  EXPECT_EQ(Text(&s, "Border"), "bdSingle");
  EXPECT_EQ(SetPropText(&s, "Border", "bdNone"), TPropStatus::Ok);
  EXPECT_EQ(s.border, bdNone);
  EXPECT_EQ(SetPropText(&s, "Border", "bdTriple"), TPropStatus::BadValue);
  int32_t ord = -1;
  EXPECT_EQ(GetOrdProp(&s, "Border", ord), TPropStatus::Ok);
  EXPECT_EQ(ord, 0);
  // By number: only the enumeration's own values get in.
  EXPECT_EQ(SetOrdProp(&s, "Border", 2), TPropStatus::Ok);
  EXPECT_EQ(s.border, bdDouble);
  EXPECT_EQ(SetOrdProp(&s, "Border", 3), TPropStatus::BadValue);
  EXPECT_EQ(SetOrdProp(&s, "Border", -1), TPropStatus::BadValue);
  EXPECT_EQ(s.border, bdDouble);
  EXPECT_EQ(SetOrdProp(&s, "Active", 5), TPropStatus::Ok);  // any nonzero is True
  EXPECT_TRUE(s.active);
}

TEST(PropertyText, SetsAsBracketedLists) {
  TSample s(nullptr);
  EXPECT_EQ(Text(&s, "Edges"), "[edLeft,edTop]");
  EXPECT_EQ(SetPropText(&s, "Edges", "[edRight, edBottom]"), TPropStatus::Ok);
  EXPECT_EQ(s.edges, 12u);
  EXPECT_EQ(SetPropText(&s, "Edges", "[]"), TPropStatus::Ok);
  EXPECT_EQ(s.edges, 0u);
  EXPECT_EQ(Text(&s, "Edges"), "[]");
  EXPECT_EQ(SetPropText(&s, "Edges", "[edLeft,]"), TPropStatus::BadValue);
  EXPECT_EQ(SetPropText(&s, "Edges", "edLeft"), TPropStatus::BadValue);
  EXPECT_EQ(SetPropText(&s, "Edges", "[edMiddle]"), TPropStatus::BadValue);
  EXPECT_EQ(SetOrdProp(&s, "Edges", 0x0F), TPropStatus::Ok);
  EXPECT_EQ(SetOrdProp(&s, "Edges", 0x10), TPropStatus::BadValue);
  EXPECT_EQ(s.edges, 0x0Fu);
}

TEST(PropertyText, StringsKeepGbkBytes) {
  TSample s(nullptr);
  const std::string tip = "\xCC\xE1\xCA\xBE";  // 提示
  EXPECT_EQ(SetPropText(&s, "Caption", tip), TPropStatus::Ok);
  EXPECT_EQ(Text(&s, "Caption"), tip);
}

TEST(PropertyText, ColoursByConstantNameOrNumber) {
  TSample s(nullptr);
  EXPECT_EQ(Text(&s, "Color"), "clBtnFace");
  EXPECT_EQ(SetPropText(&s, "Color", "clWhite"), TPropStatus::Ok);
  EXPECT_EQ(s.color, 0xFFFFFF);
  EXPECT_EQ(SetPropText(&s, "Color", "14003838"), TPropStatus::Ok);
  EXPECT_EQ(s.color, 14003838);
  EXPECT_EQ(Text(&s, "Color"), "14003838");
  EXPECT_EQ(SetPropText(&s, "Color", "$00D5AE7E"), TPropStatus::Ok);
  EXPECT_EQ(s.color, 0xD5AE7E);
  int32_t ord = 0;
  EXPECT_EQ(GetOrdProp(&s, "Color", ord), TPropStatus::Ok);
  EXPECT_EQ(ord, 0xD5AE7E);
}

TEST(PropertyText, SubObjectsAndReferences) {
  TSampleRoot root(nullptr);
  auto* a = new TSample(&root);
  auto* b = new TSample(&root);
  ASSERT_TRUE(a->SetName("a"));
  ASSERT_TRUE(b->SetName("b"));
  EXPECT_EQ(SetPropText(a, "Style.FaceName", "Tahoma"), TPropStatus::Ok);
  EXPECT_EQ(a->style.face, "Tahoma");
  EXPECT_EQ(Text(a, "Style.Size"), "9");
  EXPECT_EQ(Text(a, "Style"), "(TStyle)");
  EXPECT_EQ(SetPropText(a, "Buddy", "b"), TPropStatus::Ok);
  EXPECT_EQ(a->buddy, b);
  EXPECT_EQ(Text(a, "Buddy"), "b");
  EXPECT_EQ(SetPropText(a, "Buddy", "nobody"), TPropStatus::BadValue);
  TObject* o = nullptr;
  EXPECT_EQ(GetObjectProp(a, "Lines", o), TPropStatus::Ok);
  EXPECT_EQ(o, &a->lines);
  // Freeing the referenced component clears the reference.
  b->Free();
  EXPECT_EQ(a->buddy, nullptr);
  EXPECT_EQ(root.ComponentCount(), 1);
}

TEST(PropertyText, MissingPropertiesAreReportedNotFatal) {
  TSample s(nullptr);
  std::string t = "x";
  EXPECT_EQ(GetPropText(&s, "ParentBackground", t), TPropStatus::Missing);
  EXPECT_EQ(t, "");
  EXPECT_EQ(SetPropText(&s, "ParentBackground", "False"), TPropStatus::Missing);
  EXPECT_EQ(SetPropText(&s, "Style.Nothing", "1"), TPropStatus::Missing);
  EXPECT_EQ(SetPropText(&s, "Count.Deeper", "1"), TPropStatus::Missing);
  EXPECT_EQ(GetPropText(nullptr, "Count", t), TPropStatus::Missing);
  EXPECT_FALSE(IsPublishedProp(&s, "Nothing"));
  EXPECT_TRUE(IsPublishedProp(&s, "Tag"));
  EXPECT_EQ(GetPropText(&s, "OnChange", t), TPropStatus::WrongKind);
}

TEST(Component, ClassNamesAndAncestry) {
  TSample s(nullptr);
  EXPECT_EQ(s.ClassName(), "TSample");
  EXPECT_TRUE(s.InheritsFrom("TComponent"));
  EXPECT_TRUE(s.InheritsFrom("tpersistent"));
  EXPECT_FALSE(s.InheritsFrom("TSampleRoot"));
}

TEST(Component, OwnerFreesOwnedAndNamesAreUnique) {
  auto* root = new TSampleRoot(nullptr);
  auto* a = new TSample(root);
  auto* b = new TSample(a);  // owned by a, freed with it
  EXPECT_TRUE(a->SetName("one"));
  auto* c = new TSample(root);
  EXPECT_FALSE(c->SetName("ONE"));  // names are unique per owner, any case
  EXPECT_FALSE(c->SetName("1x"));
  EXPECT_TRUE(c->SetName("two"));
  EXPECT_EQ(root->FindComponent("Two"), c);
  EXPECT_EQ(a->ComponentCount(), 1);
  EXPECT_EQ(b->Owner(), a);
  root->Free();  // frees a, b and c; the sanitizers catch any leak
}

}  // namespace
