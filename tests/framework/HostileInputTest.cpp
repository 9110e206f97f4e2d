// Hostile input for the text parsers: random mutations of valid form data,
// INI text, property texts and numbers must be refused or read, never
// crash, hang or read out of bounds (natively this runs under ASan and
// UBSan). The seed is fixed so a failure repeats; FW_FUZZ_ROUNDS raises
// the number of rounds for a longer run by hand.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "FormReader.h"
#include "IniFile.h"
#include "PropertyText.h"
#include "SampleComponent.h"
#include "TextUtils.h"

using namespace fw;
using namespace sample;

namespace {

constexpr int kDefaultRounds = 3000;

int Rounds() {
  const char* env = std::getenv("FW_FUZZ_ROUNDS");
  int n = env ? std::atoi(env) : 0;
  return n > 0 ? n : kDefaultRounds;
}

const char* const kFormSeed = R"(object Root: TSampleRoot
  Tag = 7
  object first: TSample
    Count = $7FFFFFFF
    Active = True
    Border = bdDouble
    Edges = [edTop, edBottom]
    Caption = "\xCC\xE1" + "\xCA\xBE\\\"\n"
    Color = clWindow
    Style.FaceName = "Courier"
    Lines = ("00" "01")
    Data = {00 01 FE ff}
    Buddy = second
    OnChange = FirstChange
    Flat = True
    OldStyle = osWhatever
    object inner: TSample
      Count = -2147483648
      Cols = < item Caption = "a" Width = 200 end item end >
    end
  end
  object second: TSample
    Color = $00FF00
  end
end
)";

const char* const kIniSeed =
    "; \xD3\xC3\xBB\xA7\r\n[SYSInfo]\r\nUserCnt=1\r\n\r\n[UserInfo]\r\nUserName1=\xD5\xC5\xC8\xFD\r\n"
    "  Pass Word = \"A5C3\"  \n[\xC4\x5D]\nx\n=\n[]\n";

// Pieces that steer mutations towards the grammar's corners.
const char* const kTokens[] = {"object", "end", "item", "\"", "\\x", "\\", "{", "}", "<", ">", "[", "]", "(",
                               ")", "$", "-", "=", ":", ".", ",", "+", "\n", "\r\n", "//", "\xC4", "\x81\x5C",
                               "0x", "99999999999", "$FFFFFFFFF", "True", "nil", "first", "[A]", ";"};

std::string Mutate(const std::string& seed, std::mt19937& rng) {
  std::string s = seed;
  int edits = 1 + static_cast<int>(rng() % 8);
  for (int e = 0; e < edits; ++e) {
    size_t at = s.empty() ? 0 : rng() % (s.size() + 1);
    switch (rng() % 5) {
      case 0:  // flip a byte
        if (!s.empty()) s[at % s.size()] = static_cast<char>(rng() & 0xFF);
        break;
      case 1:  // insert a token
        s.insert(at, kTokens[rng() % (sizeof kTokens / sizeof kTokens[0])]);
        break;
      case 2: {  // cut a run
        size_t n = rng() % 16;
        if (at < s.size()) s.erase(at, n);
        break;
      }
      case 3: {  // repeat a run
        size_t n = rng() % 64;
        if (at < s.size()) s.insert(at, s.substr(at, n));
        break;
      }
      default:  // cut the tail
        s.resize(at);
        break;
    }
  }
  return s;
}

TEST(HostileInput, MutatedFormDataIsReadOrRefused) {
  RegisterSampleClasses();
  std::mt19937 rng(12345);
  int refused = 0;
  for (int round = 0, n = Rounds(); round < n; ++round) {
    std::string text = Mutate(kFormSeed, rng);
    TSampleRoot root(nullptr);
    std::string error;
    if (!ReadFormData(&root, text, error)) {
      ++refused;
      EXPECT_FALSE(error.empty()) << text;
    }
  }
  // Most mutations break the data; the loop must have seen both outcomes.
  EXPECT_GT(refused, 0);
}

TEST(HostileInput, MutatedIniTextKeepsWorking) {
  std::mt19937 rng(54321);
  for (int round = 0, n = Rounds(); round < n; ++round) {
    TIniText ini(Mutate(kIniSeed, rng));
    std::string value;
    for (const auto& section : ini.Sections()) {
      for (const auto& key : ini.Keys(section)) ini.Read(section, key, value);
    }
    ini.Read("UserInfo", "UserName1", value);
    ini.Write("UserInfo", "UserName9", "\xD5\xC5");
    ini.Write("New", "k", "v");
    ASSERT_TRUE(ini.Read("New", "k", value));
    EXPECT_EQ(value, "v");
    ini.DeleteKey("SYSInfo", "UserCnt");
    ini.EraseSection("UserInfo");
    EXPECT_FALSE(ini.SectionExists("UserInfo"));
    TIniText again(ini.Text());
    EXPECT_EQ(again.Text(), ini.Text());
  }
}

TEST(HostileInput, MutatedPropertyTextsAndNumbers) {
  std::mt19937 rng(777);
  const char* const seeds[] = {"[edLeft, edTop]", "bdDouble", "clBtnFace", "-2147483648", "$FFFFFFFF",
                               "0x7fffffff", "True", "second", "  42  "};
  const char* const props[] = {"Count", "Active", "Border", "Edges", "Caption", "Color", "Style.Size",
                               "Style.FaceName", "Buddy", "OnChange", "Style.Nothing.Deeper", "Nothing"};
  TSampleRoot root(nullptr);
  auto* first = new TSample(&root);
  first->SetName("first");
  auto* second = new TSample(&root);
  second->SetName("second");
  for (int round = 0, n = Rounds(); round < n; ++round) {
    std::string text = Mutate(seeds[rng() % (sizeof seeds / sizeof seeds[0])], rng);
    int32_t v32 = 0;
    int64_t v64 = 0;
    TryStrToInt(text, v32);
    TryStrToInt64(text, v64);
    for (const char* prop : props) {
      SetPropText(first, prop, text);
      std::string back;
      GetPropText(first, prop, back);
    }
  }
}

}  // namespace
