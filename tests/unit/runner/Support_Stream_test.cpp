#include "runner/Support_Stream.h"

#include <gtest/gtest.h>

#include "runner/Support_Image.h"

namespace zorvex {
namespace {

CStream FromBytes(std::initializer_list<uint8_t> bytes) {
  return CStream(std::vector<uint8_t>(bytes));
}

TEST(SupportStream, BoolReadsTrueOnlyAboveZero) {
  CStream s;
  s.WriteInt(-1);
  s.WriteInt(2);
  s.WriteInt(0);
  s.WriteBool(true);
  s.Seek(0);
  EXPECT_FALSE(s.ReadBool());
  EXPECT_TRUE(s.ReadBool());
  EXPECT_FALSE(s.ReadBool());
  EXPECT_EQ(s.ReadInt(), 1);  // written true is 1
  EXPECT_THROW(s.ReadBool(), StreamReadError);
}

TEST(SupportStream, PrimitivesAreLittleEndian) {
  CStream s = FromBytes({0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF,
                         // 1.5 as an IEEE double: 0x3FF8000000000000
                         0, 0, 0, 0, 0, 0, 0xF8, 0x3F});
  EXPECT_EQ(s.ReadInt(), 0x12345678);
  EXPECT_EQ(s.ReadInt(), -1);
  EXPECT_EQ(s.ReadReal(), 1.5);
  EXPECT_TRUE(s.AtEnd());

  CStream w;
  w.WriteInt(-2);
  w.WriteReal(-0.25);  // 0xBFD0000000000000
  EXPECT_EQ(w.Bytes(),
            (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0xD0, 0xBF}));
}

TEST(SupportStream, StringsTakeTheirLengthAndKeepEveryByte) {
  CStream s;
  s.WriteString("");
  s.WriteString(std::string("a\0\xE9", 3));
  s.WriteInt(-5);  // a negative length reads as empty and consumes only the length
  s.WriteInt(7);
  s.Seek(0);
  EXPECT_EQ(s.ReadString(), "");
  EXPECT_EQ(s.Position(), 4u);
  EXPECT_EQ(s.ReadString(), std::string("a\0\xE9", 3));
  EXPECT_EQ(s.ReadString(), "");
  EXPECT_EQ(s.ReadInt(), 7);
}

TEST(SupportStream, ReadsPastTheEndThrowWithoutPartialValues) {
  CStream s = FromBytes({1, 2, 3});
  EXPECT_THROW(s.ReadInt(), StreamReadError);
  EXPECT_EQ(s.Position(), 0u);
  CStream t;
  t.WriteInt(10);
  t.WriteBytes("abc", 3);
  t.Seek(0);
  EXPECT_THROW(t.ReadString(), StreamReadError);
  CStream u = FromBytes({1, 2, 3, 4, 5, 6, 7});
  EXPECT_THROW(u.ReadReal(), StreamReadError);
  EXPECT_THROW(u.Skip(8), StreamReadError);
}

TEST(SupportStream, RawBlocks) {
  CStream s;
  CStream inner;
  inner.WriteInt(42);
  s.WriteRawBlock(inner);
  s.WriteInt(0);   // empty block
  s.WriteInt(-1);  // negative size
  s.Seek(0);
  auto b = s.ReadRawBlock();
  EXPECT_EQ(b->Position(), 0u);
  EXPECT_EQ(b->ReadInt(), 42);
  EXPECT_EQ(s.ReadRawBlock()->Size(), 0u);
  EXPECT_THROW(s.ReadRawBlock(), StreamReadError);

  CStream cut;
  cut.WriteInt(5);
  cut.WriteBytes("abcd", 4);
  cut.Seek(0);
  EXPECT_THROW(cut.ReadRawBlock(), StreamReadError);
}

TEST(SupportStream, CompressedBlocksInflateAcrossPieces) {
  // Larger than two inflate pieces of 32768 bytes.
  std::vector<uint8_t> big(100000);
  for (size_t i = 0; i < big.size(); ++i)
    big[i] = static_cast<uint8_t>(i * 7 + i / 300);
  CStream s;
  s.WriteCompressedBlock(big.data(), big.size());
  s.WriteInt(99);
  s.Seek(0);
  auto b = s.ReadCompressedBlock();
  EXPECT_EQ(b->Position(), 0u);
  EXPECT_EQ(b->Bytes(), big);
  EXPECT_EQ(s.ReadInt(), 99);  // the stream stands after the block
}

TEST(SupportStream, CorruptOrTruncatedCompressedBlocksThrow) {
  std::vector<uint8_t> data(5000, 'x');
  std::vector<uint8_t> packed = DeflateBytes(data.data(), data.size());
  ASSERT_GT(packed.size(), 6u);

  auto block_of = [](const std::vector<uint8_t>& bytes, int32_t n) {
    CStream s;
    s.WriteInt(n);
    s.WriteBytes(bytes.data(), bytes.size());
    s.Seek(0);
    return s;
  };
  // The zlib stream cut short (its trailer missing), with a length that says so.
  std::vector<uint8_t> cut(packed.begin(), packed.end() - 3);
  CStream a = block_of(cut, static_cast<int32_t>(cut.size()));
  EXPECT_THROW(a.ReadCompressedBlock(), StreamReadError);
  // A length larger than what is left.
  CStream b = block_of(packed, static_cast<int32_t>(packed.size() + 1));
  EXPECT_THROW(b.ReadCompressedBlock(), StreamReadError);
  // A broken header and broken data.
  std::vector<uint8_t> bad_header = packed;
  bad_header[0] = 0x00;
  CStream c = block_of(bad_header, static_cast<int32_t>(bad_header.size()));
  EXPECT_THROW(c.ReadCompressedBlock(), StreamReadError);
  std::vector<uint8_t> bad_sum = packed;
  bad_sum[bad_sum.size() - 1] ^= 0x55;  // the Adler-32 trailer
  CStream d = block_of(bad_sum, static_cast<int32_t>(bad_sum.size()));
  EXPECT_THROW(d.ReadCompressedBlock(), StreamReadError);
  // Negative and zero lengths: zero bytes are no zlib stream at all.
  CStream e = block_of(packed, -4);
  EXPECT_THROW(e.ReadCompressedBlock(), StreamReadError);
  CStream f = block_of({}, 0);
  EXPECT_THROW(f.ReadCompressedBlock(), StreamReadError);
  // Plain garbage.
  CStream g = block_of({1, 2, 3, 4, 5, 6, 7, 8}, 8);
  EXPECT_THROW(g.ReadCompressedBlock(), StreamReadError);
}

TEST(SupportStream, Images) {
  CImage img(2, 2);
  img.Set(0, 0, 0xFF112233);
  img.Set(1, 0, 0x80445566);
  img.Set(0, 1, 0x00778899);
  img.Set(1, 1, 0xFFAABBCC);
  CStream s;
  s.WriteImage(nullptr);
  s.WriteImage(&img);
  // Present, but the block holds something that is no BMP.
  s.WriteBool(true);
  const uint8_t junk[] = {'B', 'X', 0, 0};
  s.WriteCompressedBlock(junk, sizeof junk);
  s.WriteInt(-3);  // "present" is false for any value not above zero
  s.WriteInt(77);
  s.Seek(0);
  EXPECT_EQ(s.ReadImage(), nullptr);
  auto back = s.ReadImage();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->pixels, img.pixels);
  EXPECT_EQ(s.ReadImage(), nullptr);
  EXPECT_EQ(s.ReadImage(), nullptr);
  EXPECT_EQ(s.ReadInt(), 77);

  CStream cut;
  cut.WriteBool(true);
  cut.WriteInt(100);
  cut.Seek(0);
  EXPECT_THROW(cut.ReadImage(), StreamReadError);
}

// The permutation a seed must give, built from its two derived values a and b.
Substitution TableFor(int32_t a, int32_t b) {
  Substitution t;
  for (int i = 0; i < 256; ++i)
    t.forward[i] = t.inverse[i] = static_cast<uint8_t>(i);
  for (int32_t i = 1; i <= 10000; ++i) {
    int32_t j = (i * a + b) % 254 + 1;
    std::swap(t.forward[j], t.forward[j + 1]);
  }
  return t;
}

TEST(SupportStream, SubstitutionDerivesItsValuesFromTheSeed) {
  struct Case {
    int32_t seed, a, b;
  };
  // Worked out by hand: a = seed mod 250 + 6 (plus 256 when negative), b = seed div 250 (plus
  // 256 when negative), with truncating division.
  const Case cases[] = {{0, 6, 0},       {1000, 6, 4},      {-1, 5, 0},    {-7, 255, 0},
                        {-251, 5, 255},  {-6, 0, 0},        {243, 249, 0}, {244, 250, 0},
                        {-64249, 13, 0}, {123456, 212, 493}};
  for (const Case& c : cases) {
    Substitution got;
    ASSERT_TRUE(BuildSubstitution(c.seed, got)) << c.seed;
    Substitution want = TableFor(c.a, c.b);
    for (int i = 0; i < 256; ++i) {
      ASSERT_EQ(got.forward[i], want.forward[i]) << "seed " << c.seed << " entry " << i;
      ASSERT_EQ(got.inverse[got.forward[i]], i) << "seed " << c.seed;
    }
    EXPECT_EQ(got.forward[0], 0);
    EXPECT_EQ(got.inverse[0], 0);
  }
}

TEST(SupportStream, SeedZeroSwapsFollowSixTimesStep) {
  // With seed 0 step i swaps positions j = 2k + 1 and j + 1 with k = 3i mod 127. Every j is odd,
  // so the table only exchanges whole pairs (2k+1, 2k+2), and a pair ends up exchanged when its
  // k comes up an odd number of times: 10000 = 78 * 127 + 94, so exactly the k of i = 1..94.
  Substitution t;
  ASSERT_TRUE(BuildSubstitution(0, t));
  auto exchanged = [&](int k) {
    int p = 2 * k + 1;
    return t.forward[p] == p + 1 && t.forward[p + 1] == p;
  };
  auto kept = [&](int k) {
    int p = 2 * k + 1;
    return t.forward[p] == p && t.forward[p + 1] == p + 1;
  };
  EXPECT_TRUE(exchanged(3));  // i = 1: positions 7 and 8
  EXPECT_TRUE(exchanged(6));  // i = 2
  EXPECT_TRUE(exchanged(1));  // i = 85 (3 * 85 = 255 = 2 * 127 + 1)
  EXPECT_TRUE(exchanged(4));  // i = 86
  EXPECT_TRUE(kept(0));       // i = 127, 254, ...: never within 1..94 of a cycle
  EXPECT_TRUE(kept(31));      // i = 95
  EXPECT_TRUE(kept(46));      // i = 100
  for (int k = 0; k < 127; ++k)
    EXPECT_TRUE(kept(k) || exchanged(k)) << k;
  EXPECT_EQ(t.forward[0], 0);
  EXPECT_EQ(t.forward[255], 255);
}

TEST(SupportStream, InvalidSeedsAreRefusedAndChangeNothing) {
  Substitution t;
  EXPECT_FALSE(SeedIsValid(-64250));
  EXPECT_FALSE(SeedIsValid(INT32_MIN));
  EXPECT_TRUE(SeedIsValid(-64249));
  EXPECT_TRUE(SeedIsValid(INT32_MAX));
  EXPECT_FALSE(BuildSubstitution(-64250, t));
  CStream s = FromBytes({1, 2, 3});
  EXPECT_FALSE(DescrambleBlock(s, -100000, 0, 0));
  EXPECT_FALSE(DescramblePlain(s, -100000, 0, 0));
  EXPECT_EQ(s.Bytes(), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(SupportStream, DescrambleBlockSubtractsThePositionsLowByte) {
  const int32_t seed = 31337;
  Substitution t;
  ASSERT_TRUE(BuildSubstitution(seed, t));
  std::vector<uint8_t> bytes(300, t.forward[5]);
  bytes[0] = 0;
  CStream s(bytes);
  ASSERT_TRUE(DescrambleBlock(s, seed, 0, 0));
  EXPECT_EQ(s.Bytes()[0], 0);     // inverse[0] is 0, minus position 0
  EXPECT_EQ(s.Bytes()[1], 4);     // 5 - 1
  EXPECT_EQ(s.Bytes()[10], 251);  // 5 - 10 wraps
  EXPECT_EQ(s.Bytes()[256], 5);   // position 256 subtracts 0
  EXPECT_EQ(s.Bytes()[257], 4);   // position 257 subtracts 1

  // A part of the stream only; the length counts from the start.
  CStream r(std::vector<uint8_t>(10, t.forward[9]));
  ASSERT_TRUE(DescrambleBlock(r, seed, 3, 2));
  EXPECT_EQ(r.Bytes(),
            (std::vector<uint8_t>{t.forward[9], t.forward[9], t.forward[9], 6, 5, t.forward[9],
                                  t.forward[9], t.forward[9], t.forward[9], t.forward[9]}));
  // Ranges outside the stream change nothing.
  CStream q(std::vector<uint8_t>(4, 1));
  EXPECT_FALSE(DescrambleBlock(q, seed, 5, 0));
  EXPECT_FALSE(DescrambleBlock(q, seed, 2, 3));
  EXPECT_FALSE(DescrambleBlock(q, seed, -1, 2));
  EXPECT_EQ(q.Bytes(), std::vector<uint8_t>(4, 1));
}

TEST(SupportStream, PlainSubstitutionKeepsZeroAndInvertsScrambling) {
  for (int32_t seed : {0, 1, 27409, -64249, 987654321}) {
    CStream s(std::vector<uint8_t>(8, 0));
    ASSERT_TRUE(DescramblePlain(s, seed, 0, 0));
    EXPECT_EQ(s.Bytes(), std::vector<uint8_t>(8, 0)) << seed;

    std::vector<uint8_t> all(512);
    for (size_t i = 0; i < all.size(); ++i)
      all[i] = static_cast<uint8_t>(i);
    CStream p(all), b(all);
    ASSERT_TRUE(ScramblePlain(p, seed, 0, 0));
    ASSERT_TRUE(ScrambleBlock(b, seed, 0, 0));
    EXPECT_NE(p.Bytes(), all);
    ASSERT_TRUE(DescramblePlain(p, seed, 0, 0));
    ASSERT_TRUE(DescrambleBlock(b, seed, 0, 0));
    EXPECT_EQ(p.Bytes(), all);
    EXPECT_EQ(b.Bytes(), all);
  }
}

TEST(SupportStream, HexConversion) {
  CStream s = FromBytes({0x00, 0xAB});
  s.Seek(2);
  EXPECT_EQ(StreamToHex(s), "00AB");  // the whole stream, whatever the position
  CStream t;
  ASSERT_TRUE(HexToStream(t, "00ab1"));  // the odd last digit is ignored
  EXPECT_EQ(t.Bytes(), (std::vector<uint8_t>{0x00, 0xAB}));
  EXPECT_EQ(t.Position(), 0u);
  ASSERT_TRUE(HexToStream(t, ""));
  EXPECT_EQ(t.Size(), 0u);
  EXPECT_FALSE(HexToStream(t, "0G"));
  EXPECT_EQ(t.Size(), 0u);
  EXPECT_FALSE(HexToStream(t, "00 1"));
  EXPECT_EQ(StreamToHex(CStream()), "");
}

}  // namespace
}  // namespace zorvex
