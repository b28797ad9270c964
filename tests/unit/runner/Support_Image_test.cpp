#include "runner/Support_Image.h"

#include <gtest/gtest.h>

namespace zorvex {
namespace {

// Builds a BMP by hand: file header, a 40-byte info header (or another size), extra bytes
// (palette or masks), then the pixel rows as given.
std::vector<uint8_t> Bmp(int32_t w, int32_t h, uint16_t bpp, uint32_t compression,
                         const std::vector<uint8_t>& extra, const std::vector<uint8_t>& rows,
                         uint32_t colors_used = 0) {
  std::vector<uint8_t> out;
  auto u16 = [&](uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
  };
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i)
      out.push_back(uint8_t(v >> (8 * i)));
  };
  uint32_t offset = 14 + 40 + static_cast<uint32_t>(extra.size());
  out.push_back('B');
  out.push_back('M');
  u32(offset + static_cast<uint32_t>(rows.size()));
  u32(0);
  u32(offset);
  u32(40);
  u32(static_cast<uint32_t>(w));
  u32(static_cast<uint32_t>(h));
  u16(1);
  u16(bpp);
  u32(compression);
  u32(static_cast<uint32_t>(rows.size()));
  u32(0);
  u32(0);
  u32(colors_used);
  u32(0);
  out.insert(out.end(), extra.begin(), extra.end());
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

std::unique_ptr<CImage> Decode(const std::vector<uint8_t>& b) {
  return DecodeBmp(b.data(), b.size());
}

// Palette entries are blue, green, red, reserved.
const std::vector<uint8_t> kTwoColours = {0x00, 0x00, 0xFF, 0, 0xFF, 0x00, 0x00, 0};  // red, blue

TEST(SupportImage, OneBitBottomUpWithPaddedRows) {
  // 3 x 2: bottom row (stored first) 1 0 1, top row 0 1 1; each row padded to 4 bytes.
  auto img = Decode(Bmp(3, 2, 1, 0, kTwoColours, {0xA0, 0, 0, 0, 0x60, 0, 0, 0}));
  ASSERT_NE(img, nullptr);
  const uint32_t red = 0xFFFF0000, blue = 0xFF0000FF;
  EXPECT_EQ(img->pixels, (std::vector<uint32_t>{red, blue, blue, blue, red, blue}));
}

TEST(SupportImage, FourAndEightBitPalettes) {
  // 4 bits, 3 x 1: indices 1 0 1 -> bytes 0x10 0x10 (last nibble unused).
  auto four = Decode(Bmp(3, 1, 4, 0, kTwoColours, {0x10, 0x10, 0, 0}, 2));
  // Without a colour count the full palette of 16 entries must be there.
  EXPECT_EQ(Decode(Bmp(3, 1, 4, 0, kTwoColours, {0x10, 0x10, 0, 0})), nullptr);
  ASSERT_NE(four, nullptr);
  EXPECT_EQ(four->pixels, (std::vector<uint32_t>{0xFF0000FF, 0xFFFF0000, 0xFF0000FF}));
  // 8 bits top-down (negative height), 2 x 2, palette of 2 declared through colours-used.
  auto eight = Decode(Bmp(2, -2, 8, 0, kTwoColours, {0, 1, 0, 0, 1, 1, 0, 0}, 2));
  ASSERT_NE(eight, nullptr);
  EXPECT_EQ(eight->pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF}));
  // An index beyond the stored palette reads as black rather than out of bounds.
  auto beyond = Decode(Bmp(1, 1, 8, 0, kTwoColours, {200, 0, 0, 0}, 2));
  ASSERT_NE(beyond, nullptr);
  EXPECT_EQ(beyond->pixels[0], 0xFF000000u);
}

TEST(SupportImage, SixteenBitsDefaultAndMasked) {
  // 5-5-5: 0x7C00 is full red; 0x001F full blue; 0x0200 is green 16 of 31 -> 132.
  auto plain = Decode(Bmp(3, 1, 16, 0, {}, {0x00, 0x7C, 0x1F, 0x00, 0x00, 0x02, 0, 0}));
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF, 0xFF008400}));
  // 5-6-5 through bit-field masks: 0x07E0 is full green.
  std::vector<uint8_t> masks = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
  auto masked = Decode(Bmp(1, 1, 16, 3, masks, {0xE0, 0x07, 0, 0}));
  ASSERT_NE(masked, nullptr);
  EXPECT_EQ(masked->pixels[0], 0xFF00FF00u);
}

TEST(SupportImage, TwentyFourAndThirtyTwoBits) {
  // 24 bits, 2 x 2 bottom-up; rows of 6 bytes padded to 8.
  auto rgb = Decode(Bmp(2, 2, 24, 0, {},
                        {1, 2, 3, 4, 5, 6, 0, 0,  // bottom row
                         7, 8, 9, 10, 11, 12, 0, 0}));
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(rgb->pixels, (std::vector<uint32_t>{0xFF090807, 0xFF0C0B0A, 0xFF030201, 0xFF060504}));
  // 32 bits without masks: the fourth byte is not alpha.
  auto rgbx = Decode(Bmp(1, 1, 32, 0, {}, {1, 2, 3, 0}));
  ASSERT_NE(rgbx, nullptr);
  EXPECT_EQ(rgbx->pixels[0], 0xFF030201u);
}

TEST(SupportImage, EncodedFilesDecodeToTheSamePixels) {
  CImage img(3, 2);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x)
      img.Set(x, y,
              uint32_t(0x10 * (x + 1)) << 24 | uint32_t(x * 40) << 16 | uint32_t(y * 90) << 8 | 7);
  auto with_alpha = EncodeBmp(img, true);
  auto back = Decode(with_alpha);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->pixels, img.pixels);
  auto without = Decode(EncodeBmp(img, false));
  ASSERT_NE(without, nullptr);
  for (size_t i = 0; i < img.pixels.size(); ++i)
    EXPECT_EQ(without->pixels[i], img.pixels[i] | 0xFF000000u);
  // A 24-bit file of 3 pixels per row pads each row from 9 to 12 bytes.
  EXPECT_EQ(EncodeBmp(img, false).size(), 14u + 40u + 2u * 12u);
}

TEST(SupportImage, BrokenFilesGiveNoImage) {
  std::vector<uint8_t> good = Bmp(2, 2, 24, 0, {}, std::vector<uint8_t>(16, 9));
  ASSERT_NE(Decode(good), nullptr);
  for (size_t cut : {size_t(0), size_t(10), size_t(30), good.size() - 1})
    EXPECT_EQ(Decode(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(cut))),
              nullptr)
        << cut;
  auto bad = good;
  bad[0] = 'X';
  EXPECT_EQ(Decode(bad), nullptr);
  EXPECT_EQ(Decode(Bmp(0, 2, 24, 0, {}, {})), nullptr);                               // no width
  EXPECT_EQ(Decode(Bmp(2, 2, 7, 0, {}, std::vector<uint8_t>(16))), nullptr);          // odd depth
  EXPECT_EQ(Decode(Bmp(2, 2, 8, 1, kTwoColours, std::vector<uint8_t>(8))), nullptr);  // RLE
  EXPECT_EQ(Decode(Bmp(100000, 1, 24, 0, {}, {})), nullptr);                          // too wide
  EXPECT_EQ(Decode(Bmp(1, INT32_MIN, 24, 0, {}, {})), nullptr);
}

}  // namespace
}  // namespace zorvex
