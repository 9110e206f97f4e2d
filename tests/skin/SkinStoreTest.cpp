// The skin store: named skins read with a form's data, unique names,
// copying items and collections.
#include <gtest/gtest.h>

#include "FormReader.h"
#include "SkinRegistration.h"
#include "SkinStore.h"

namespace {

std::string Bytes(const TSkinMemoryStream& s) { return std::string(s.Bytes().begin(), s.Bytes().end()); }

class SkinStoreForm : public ::testing::Test {
 protected:
  void SetUp() override { RegisterSkinClasses(); }
  void TearDown() override { root.DestroyComponents(); }

  TSkinStore* Read(const std::string& body, std::string& error) {
    std::string text = "object Fm: TComponent\n  object SkinStore1: TSkinStore\n" + body + "  end\nend\n";
    if (!fw::ReadFormData(&root, text, error)) return nullptr;
    return dynamic_cast<TSkinStore*>(root.FindComponent("SkinStore1"));
  }

  fw::TComponent root{nullptr};
};

TEST_F(SkinStoreForm, ItemsComeWithNamesAndBytes) {
  std::string error;
  TSkinStore* store = Read(
      "    Store = <\n"
      "      item Name = \"Blue\" DataStream = {0A0B0C} end\n"
      "      item Name = \"blue\" end\n"  // letter case makes a different name
      "      item DataStream = {} end\n"
      "    >\n",
      error);
  ASSERT_NE(store, nullptr) << error;
  ASSERT_EQ(store->Store()->Count(), 3);
  TSkinCollectionItem* blue = store->Store()->Items(0);
  EXPECT_EQ(blue->Name(), "Blue");
  EXPECT_EQ(Bytes(blue->DataStream()), "\x0A\x0B\x0C");
  EXPECT_EQ(blue->DataSize(), 3);
  EXPECT_EQ(blue->SkinData(), "Load Skin");
  EXPECT_EQ(store->Store()->Items(1)->Name(), "blue");
  EXPECT_EQ(store->Store()->Items(1)->DataSize(), 0);
  // An item without a name takes "SkinItem" and its running number.
  EXPECT_EQ(store->Store()->Items(2)->Name(), "SkinItem2");
  EXPECT_EQ(store->Store()->Items(2)->DataSize(), 0);
}

TEST_F(SkinStoreForm, EmptyStoreAsTheMainWindowCarriesIt) {
  std::string error;
  TSkinStore* store = Read("    Store = <>\n", error);
  ASSERT_NE(store, nullptr) << error;
  EXPECT_EQ(store->Store()->Count(), 0);
}

TEST_F(SkinStoreForm, DuplicateOrReadOnlyOrWrongValuesAreRefusedWithTheirReason) {
  std::string error;
  EXPECT_EQ(Read("    Store = <\n      item Name = \"A\" end\n      item Name = \"A\" end\n    >\n", error), nullptr);
  EXPECT_NE(error.find("The name A is already used."), std::string::npos) << error;
  root.DestroyComponents();
  EXPECT_EQ(Read("    Store = <\n      item DataSize = 4 end\n    >\n", error), nullptr);
  EXPECT_NE(error.find("DataSize"), std::string::npos) << error;
  root.DestroyComponents();
  EXPECT_EQ(Read("    Store = <\n      item DataStream = \"abc\" end\n    >\n", error), nullptr);
  EXPECT_NE(error.find("binary data is expected"), std::string::npos) << error;
  root.DestroyComponents();
  // SkinData is a prompt: a value given to it changes nothing.
  TSkinStore* store = Read("    Store = <\n      item SkinData = \"x\" end\n    >\n", error);
  ASSERT_NE(store, nullptr) << error;
  EXPECT_EQ(store->Store()->Items(0)->SkinData(), "Load Skin");
}

TEST(SkinCollection, NamesAreUniqueWithinTheCollection) {
  TSkinStore store(nullptr);
  TSkinCollection& c = *store.Store();
  TSkinCollectionItem* a = c.Add();
  TSkinCollectionItem* b = c.Add();
  EXPECT_EQ(a->Name(), "SkinItem0");
  EXPECT_EQ(b->Name(), "SkinItem1");
  a->SetName("SkinItem0");  // its own name: no check
  EXPECT_THROW(a->SetName("SkinItem1"), ESkinStoreError);
  EXPECT_EQ(a->Name(), "SkinItem0");
  a->SetName("skinitem1");
  EXPECT_EQ(a->Name(), "skinitem1");
  // IDs are never reused.
  c.Delete(1);
  EXPECT_EQ(c.Add()->Name(), "SkinItem2");
}

TEST(SkinCollection, AssignCopiesNameAndDataEvenOntoATakenName) {
  TSkinStore store(nullptr);
  TSkinCollection& c = *store.Store();
  TSkinCollectionItem* a = c.Add();
  TSkinCollectionItem* b = c.Add();
  a->DataStream().Write("abcd", 4);
  a->DataStream().Seek(2);
  b->DataStream().Write("zz", 2);
  ASSERT_TRUE(b->Assign(*a));
  EXPECT_EQ(b->Name(), "SkinItem0");
  EXPECT_EQ(Bytes(b->DataStream()), "abcd");
  EXPECT_EQ(a->DataStream().Position(), 2u);
  // Anything but an item is refused.
  EXPECT_FALSE(b->Assign(c));

  TSkinStore other(nullptr);
  other.SetStore(&c);
  ASSERT_EQ(other.Store()->Count(), 2);
  EXPECT_EQ(Bytes(other.Store()->Items(1)->DataStream()), "abcd");
  other.SetStore(nullptr);
  EXPECT_EQ(other.Store()->Count(), 2);
}

}  // namespace
