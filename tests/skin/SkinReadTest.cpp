#include "SkinRead.h"

#include <gtest/gtest.h>

#include <random>

#include "ArchiveBuilder.h"
#include "SkinMessage.h"

namespace {

std::vector<uint8_t> Decode(const std::vector<uint8_t>& packed) {
  TSkinMemoryStream source(packed), target;
  TSkinReader::DecodeLzh(source, target);
  return target.Bytes();
}

// Records what the loader tells the operator.
class MessageLog {
 public:
  MessageLog() {
    old_ = SetSkinMessageHandler([this](const std::string& t) { texts.push_back(t); });
  }
  ~MessageLog() { SetSkinMessageHandler(old_); }
  std::vector<std::string> texts;
 private:
  TSkinMessageHandler old_;
};

}  // namespace

// The vectors below were worked out by hand from the starting tree: leaves
// 0..313 are nodes 0..313, node 314 + k pairs nodes 2k and 2k + 1, so the
// parent of node n is 314 + n / 2 and the bit leading to n is n & 1; a code
// is the bits from the root (626) down to the leaf.
//
//   'A' (65):  65 > 346 > 487 > 557 > 592 > 610 > 619 > 623 > 625 > root
//              code from the root 1 1 1 0 0 1 1 0 1
//   After 'A' its weight 2 moves leaf 'A' to node 313 (the last weight-1
//   node); 'B' (66) still sits at node 66:
//   'B' (66):  66 > 347 > 487 > 557 > 592 > 610 > 619 > 623 > 625 > root
//              code 1 1 1 0 0 1 1 1 0
//   Length 4 (symbol 257): 257 > 442 > 535 > 581 > 604 > 616 > 622 > 625
//              code 1 0 0 0 1 1 0 1
//   Distance 1 (copy from two bytes back): upper bits 0 -> prefix 000,
//              then the low 6 bits 000001.
//   Bits: 111001101 111001110 10001101 000000001 -> E6 F3 A3 40 20.
TEST(LzhDecoder, HandWorkedLiteralsAndMatch) {
  EXPECT_EQ(Decode({6, 0, 0, 0, 0xE6, 0xF3, 0xA3, 0x40, 0x20}), Bytes("ABABAB"));
}

// First symbol a match of length 3 (symbol 256: 256 > 442 > ... > 625, code
// 1 0 0 0 1 1 0 0) at distance 4036 = upper 63, low 4: prefix 11111111, then
// 000100. The copy starts at ring position 4036 - 4036 - 1 = 4095, which the
// decoder never filled (0), then wraps to the prefilled spaces.
TEST(LzhDecoder, HandWorkedFarDistanceIntoTheRingStart) {
  EXPECT_EQ(Decode({3, 0, 0, 0, 0x8C, 0xFF, 0x10}), (std::vector<uint8_t>{0x00, 0x20, 0x20}));
}

TEST(LzhDecoder, DistanceTablesFollowThePublishedRuns) {
  EXPECT_EQ(TLZH::DCode[0x00], 0); EXPECT_EQ(TLZH::DLen[0x00], 3);
  EXPECT_EQ(TLZH::DCode[0x1F], 0); EXPECT_EQ(TLZH::DLen[0x1F], 3);
  EXPECT_EQ(TLZH::DCode[0x20], 1); EXPECT_EQ(TLZH::DLen[0x20], 4);
  EXPECT_EQ(TLZH::DCode[0x4F], 3); EXPECT_EQ(TLZH::DLen[0x4F], 4);
  EXPECT_EQ(TLZH::DCode[0x50], 4); EXPECT_EQ(TLZH::DLen[0x50], 5);
  EXPECT_EQ(TLZH::DCode[0x8F], 11); EXPECT_EQ(TLZH::DLen[0x8F], 5);
  EXPECT_EQ(TLZH::DCode[0x90], 12); EXPECT_EQ(TLZH::DLen[0x90], 6);
  EXPECT_EQ(TLZH::DCode[0xC0], 24); EXPECT_EQ(TLZH::DLen[0xC0], 7);
  EXPECT_EQ(TLZH::DCode[0xEF], 47); EXPECT_EQ(TLZH::DLen[0xEF], 7);
  EXPECT_EQ(TLZH::DCode[0xF0], 48); EXPECT_EQ(TLZH::DLen[0xF0], 8);
  EXPECT_EQ(TLZH::DCode[0xFF], 63); EXPECT_EQ(TLZH::DLen[0xFF], 8);
}

TEST(LzhDecoder, ZeroOrNegativeLengthProducesNothing) {
  EXPECT_TRUE(Decode({0, 0, 0, 0, 0xE6}).empty());
  EXPECT_TRUE(Decode({0xFF, 0xFF, 0xFF, 0xFF, 0xE6}).empty());
  EXPECT_TRUE(Decode({}).empty());
}

TEST(LzhDecoder, AFinalMatchIsCopiedWhole) {
  // Same stream as above, asking for 3 bytes: the match starts at byte 3 and
  // is copied in full.
  EXPECT_EQ(Decode({3, 0, 0, 0, 0xE6, 0xF3, 0xA3, 0x40, 0x20}), Bytes("ABABAB"));
}

// Long inputs pass the 0x8000 root weight many times, so the tree is rebuilt
// repeatedly; the encoder keeps a model of its own.
TEST(LzhDecoder, RoundTripThroughTreeRebuilds) {
  std::mt19937 rng(7);
  std::vector<uint8_t> text;
  const char* words[] = {"Button", "Frame", "=", "\r\n", "[Section]", "Image", "bmp", " "};
  while (text.size() < 200000) {
    if (rng() % 4 == 0) {
      text.push_back(static_cast<uint8_t>(rng()));
    } else {
      std::string w = words[rng() % 8];
      text.insert(text.end(), w.begin(), w.end());
    }
  }
  // A skewed tail: one symbol dominates, driving the weights apart.
  text.insert(text.end(), 70000, 'x');
  for (int i = 0; i < 40000; i++) text.push_back(static_cast<uint8_t>(rng() % 7));
  std::vector<uint8_t> packed = LzhPack(text);
  EXPECT_LT(packed.size(), text.size());
  EXPECT_EQ(Decode(packed), text);
}

TEST(LzhDecoder, EveryByteValueAndEveryMatchLength) {
  std::vector<uint8_t> text;
  for (int i = 0; i < 256; i++) text.push_back(static_cast<uint8_t>(i));
  for (int len = 3; len <= 60; len++) {
    text.push_back('#');
    text.insert(text.end(), text.begin(), text.begin() + len);
  }
  EXPECT_EQ(Decode(LzhPack(text)), text);
}

TEST(LzhDecoder, CorruptLengthCannotRunOnUnbounded) {
  std::vector<uint8_t> packed = LzhPack(Bytes("hello, skin"));
  packed[0] = 0xFF; packed[1] = 0xFF; packed[2] = 0xFF; packed[3] = 0x7F;
  TSkinMemoryStream source(packed), target;
  EXPECT_THROW(TSkinReader::DecodeLzh(source, target), ElzhException);
  EXPECT_LT(target.Size(), 2000u);
}

// ---------------------------------------------------------------------------

TEST(SkinReader, ReadsEveryFormatVersion) {
  const std::pair<int32_t, int> versions[] = {{20000, 0}, {30000, 256}, {40000, 80},
                                              {50000, 48}, {60000, 117}, {70000, 69}};
  for (auto [version, reserved] : versions) {
    SCOPED_TRACE(version);
    TSkinMemoryStream archive(PackedArchive(version, reserved,
        {{"Skin.INI", Bytes("[Buttons]\r\n")}, {"close.bmp", Bytes("BM12")}}));
    TSkinReader reader;
    ASSERT_TRUE(reader.UnpackSkin(archive));
    EXPECT_EQ(reader.FormatVersion, version);
    EXPECT_EQ(reader.Count, 2);
    EXPECT_EQ(reader.Names, (std::vector<std::string>{"skin.ini", "close.bmp"}));
    EXPECT_EQ(reader.Sizes[0], 11);
    EXPECT_EQ(reader.Sizes[1], 4);
    TSkinMemoryStream part;
    reader.ExtractPart("CLOSE.BMP", part);
    EXPECT_EQ(part.Bytes(), Bytes("BM12"));
    EXPECT_EQ(part.Position(), 0u);
  }
}

TEST(SkinReader, NameListLinesAndEmptyNames) {
  // No trailing break on the last name; an empty line is a part of its own.
  std::vector<TestPart> parts = {{"a.bmp", Bytes("AA")}, {"", Bytes("E")}, {"b.ini", Bytes("BBB")}};
  TSkinMemoryStream archive(LzhPack(UnpackedArchive(20000, 0, "A.bmp\r\n\nb.ini", parts)));
  TSkinReader reader;
  ASSERT_TRUE(reader.UnpackSkin(archive));
  EXPECT_EQ(reader.Names, (std::vector<std::string>{"a.bmp", "", "b.ini"}));
  TSkinMemoryStream part;
  reader.ExtractPart("b.ini", part);
  EXPECT_EQ(part.Bytes(), Bytes("BBB"));
}

TEST(SkinReader, FindPartIsCaseSensitiveAndTakesTheFirst) {
  TSkinMemoryStream archive(PackedArchive(70000, 69,
      {{"one.bmp", Bytes("1")}, {"desc.ini", Bytes("first")}, {"desc.ini", Bytes("second")}}));
  TSkinReader reader;
  ASSERT_TRUE(reader.UnpackSkin(archive));
  TSkinMemoryStream part;
  std::string name = "unchanged";
  reader.FindPart(".INI", part, name);
  EXPECT_EQ(part.Size(), 0u);
  EXPECT_EQ(name, "unchanged");
  reader.FindPart(".ini", part, name);
  EXPECT_EQ(part.Bytes(), Bytes("first"));
  EXPECT_EQ(name, "desc.ini");
  reader.ExtractPart("DESC.ini", part);
  EXPECT_EQ(part.Bytes(), Bytes("first"));
  reader.ExtractPart("missing.bmp", part);
  EXPECT_EQ(part.Size(), 0u);
}

TEST(SkinReader, RefusesUnknownVersionsAsOlderSkins) {
  MessageLog log;
  TSkinReader reader;
  TSkinMemoryStream old(PackedArchive(10000, 0, {{"a.ini", Bytes("x")}}));
  EXPECT_FALSE(reader.UnpackSkin(old));
  TSkinMemoryStream empty(std::vector<uint8_t>{0, 0, 0, 0});
  EXPECT_FALSE(reader.UnpackSkin(empty));
  TSkinMemoryStream negative(std::vector<uint8_t>{0xF0, 0xFF, 0xFF, 0xFF});
  EXPECT_FALSE(reader.UnpackSkin(negative));
  // Shorter than the header: reads as version 0.
  TSkinMemoryStream shortOne(LzhPack({0x20, 0x4E}));
  EXPECT_FALSE(reader.UnpackSkin(shortOne));
  ASSERT_EQ(log.texts.size(), 4u);
  for (const auto& t : log.texts) EXPECT_EQ(t, "This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(reader.Count, 0);
  EXPECT_TRUE(reader.Names.empty());
}

TEST(SkinReader, RefusesFieldsThatDoNotFitTheData) {
  MessageLog log;
  std::vector<TestPart> parts = {{"a.bmp", Bytes("AAAA")}, {"b.ini", Bytes("BB")}};
  auto refused = [&](const std::vector<uint8_t>& unpacked) {
    TSkinMemoryStream archive(LzhPack(unpacked));
    TSkinReader reader;
    bool ok = reader.UnpackSkin(archive);
    return !ok && reader.Count == 0 && reader.PartData.Size() == 0;
  };
  // A good archive for contrast.
  EXPECT_FALSE(refused(UnpackedArchive(20000, 0, "a.bmp\r\nb.ini\r\n", parts)));

  std::vector<int32_t> tooBig = {4, 3};
  EXPECT_TRUE(refused(UnpackedArchive(20000, 0, "a.bmp\r\nb.ini\r\n", parts, &tooBig)));
  std::vector<int32_t> negative = {-1, 7};
  EXPECT_TRUE(refused(UnpackedArchive(20000, 0, "a.bmp\r\nb.ini\r\n", parts, &negative)));
  std::vector<int32_t> overflow = {0x7FFFFFFF, 0x7FFFFFFF};
  EXPECT_TRUE(refused(UnpackedArchive(20000, 0, "a.bmp\r\nb.ini\r\n", parts, &overflow)));

  // Name list size beyond the data, and negative.
  auto bad = UnpackedArchive(20000, 0, "a.bmp\r\nb.ini\r\n", parts);
  bad[4] = 0xFF; bad[5] = 0x7F;
  EXPECT_TRUE(refused(bad));
  bad[4] = 0xFF; bad[5] = 0xFF; bad[6] = 0xFF; bad[7] = 0xFF;
  EXPECT_TRUE(refused(bad));

  // More names than sizes in the data.
  std::string many;
  for (int i = 0; i < 50; i++) many += "x.bmp\r\n";
  EXPECT_TRUE(refused(UnpackedArchive(20000, 0, many, parts)));

  // More parts than the size table holds, even when the data is all there.
  std::string names;
  std::vector<TestPart> lots;
  for (int i = 0; i < 1002; i++) { names += "p\r\n"; lots.push_back({"p", {}}); }
  EXPECT_TRUE(refused(UnpackedArchive(20000, 0, names, lots)));
  names.clear(); lots.clear();
  for (int i = 0; i < 1001; i++) { names += "p\r\n"; lots.push_back({"p", {}}); }
  EXPECT_FALSE(refused(UnpackedArchive(20000, 0, names, lots)));

  // A reserved block longer than the data.
  EXPECT_TRUE(refused(UnpackedArchive(30000, 10, "", {})));
  for (const auto& t : log.texts) EXPECT_EQ(t, kDamagedSkinMessage);
  EXPECT_EQ(log.texts.size(), 8u);
}

TEST(SkinReader, PartDataRunsToTheEndOfTheArchive) {
  // Bytes after the last part belong to the part data and are never handed out.
  auto unpacked = UnpackedArchive(20000, 0, "a.bmp\r\n", {{"a.bmp", Bytes("12")}});
  unpacked.push_back('!');
  TSkinMemoryStream archive(LzhPack(unpacked));
  TSkinReader reader;
  ASSERT_TRUE(reader.UnpackSkin(archive));
  EXPECT_EQ(reader.PartData.Bytes(), Bytes("12!"));
  TSkinMemoryStream part;
  reader.ExtractPart("a.bmp", part);
  EXPECT_EQ(part.Bytes(), Bytes("12"));
}
