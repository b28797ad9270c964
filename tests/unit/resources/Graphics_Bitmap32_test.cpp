#include "resources/Graphics_Bitmap32.h"

#include <gtest/gtest.h>

#include "resources/Graphics_Picture.h"

namespace zorvex {
namespace {

CBitmap32 Image(int32_t w, int32_t h, std::vector<uint32_t> px) {
  CBitmap32 b(w, h);
  for (int32_t i = 0; i < w * h; ++i)
    b.SetPixel(i % w, i / w, px[static_cast<size_t>(i)]);
  return b;
}

std::vector<uint32_t> Pixels(const CBitmap32& b) {
  return std::vector<uint32_t>(b.Pixels(), b.Pixels() + b.width() * b.height());
}

uint32_t Grey(uint32_t v) {
  return 0xFF000000u | v << 16 | v << 8 | v;
}

TEST(Bitmap32Record, RoundTripStoresPixelsAsBgraWords) {
  CBitmap32 img = Image(2, 1, {0x80FF0000u, 0x0000FF00u});
  CStream s;
  img.WriteTo(s);
  s.Seek(0);
  EXPECT_EQ(s.ReadInt(), 540);
  EXPECT_TRUE(s.ReadBool());
  EXPECT_EQ(s.ReadInt(), 2);
  EXPECT_EQ(s.ReadInt(), 1);
  auto block = s.ReadCompressedBlock();
  std::vector<uint8_t> expected = {0x00, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0x00, 0x00};
  EXPECT_EQ(block->Bytes(), expected);

  s.Seek(0);
  CBitmap32 back;
  ASSERT_TRUE(back.ReadFrom(s));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_EQ(back, img);
}

TEST(Bitmap32Record, OtherVersionGivesNoPixelsAndReadsNothingMore) {
  CStream s;
  s.WriteInt(541);
  s.WriteBool(true);
  s.Seek(0);
  CBitmap32 b;
  EXPECT_TRUE(b.ReadFrom(s));
  EXPECT_FALSE(b.exists());
  EXPECT_EQ(s.Position(), 4u);
}

TEST(Bitmap32Record, PixelBlockOfTheWrongSizeOrNegativeSizeIsRefused) {
  for (size_t bytes : {12u, 20u}) {
    CStream s;
    s.WriteInt(540);
    s.WriteBool(true);
    s.WriteInt(2);
    s.WriteInt(2);
    std::vector<uint8_t> px(bytes, 7);
    s.WriteCompressedBlock(px.data(), px.size());
    s.Seek(0);
    CBitmap32 b;
    EXPECT_FALSE(b.ReadFrom(s)) << bytes;
  }
  CStream s;
  s.WriteInt(540);
  s.WriteBool(true);
  s.WriteInt(-1);
  s.WriteInt(5);
  s.Seek(0);
  CBitmap32 b;
  EXPECT_FALSE(b.ReadFrom(s));
}

TEST(Bitmap32Record, AbsurdSizeIsRefusedWithoutAllocating) {
  CStream s;
  s.WriteInt(540);
  s.WriteBool(true);
  s.WriteInt(100000);
  s.WriteInt(100000);
  uint8_t tiny[4] = {1, 2, 3, 4};
  s.WriteCompressedBlock(tiny, 4);
  s.Seek(0);
  CBitmap32 b;
  EXPECT_FALSE(b.ReadFrom(s));
}

TEST(Bitmap32Record, TruncatedRecordThrows) {
  CBitmap32 img = Image(2, 2, {1, 2, 3, 4});
  CStream full;
  img.WriteTo(full);
  for (size_t cut = 0; cut < full.Size(); ++cut) {
    CStream s(std::vector<uint8_t>(full.Bytes().begin(), full.Bytes().begin() + cut));
    CBitmap32 b;
    EXPECT_THROW(b.ReadFrom(s), StreamReadError) << cut;
  }
}

TEST(Bitmap32, CropSolidAndColourConversion) {
  CBitmap32 img = Image(3, 2, {1, 2, 3, 4, 5, 6});
  CBitmap32 c = CBitmap32::Crop(img, 1, 0, 2, 2);
  ASSERT_TRUE(c.exists());
  EXPECT_EQ(Pixels(c), (std::vector<uint32_t>{2, 3, 5, 6}));
  EXPECT_FALSE(CBitmap32::Crop(img, 2, 0, 2, 1).exists());
  EXPECT_FALSE(CBitmap32::Crop(img, 0, 1, 1, 2).exists());
  EXPECT_FALSE(CBitmap32::Crop(CBitmap32(), 0, 0, 0, 0).exists());

  CBitmap32 red = CBitmap32::Solid(0, -3, 0x0000FF);
  EXPECT_EQ(red.width(), 1);
  EXPECT_EQ(red.height(), 1);
  EXPECT_EQ(red.Pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(CBitmap32::Solid(2, 1, 0x123456).Pixel(1, 0), 0xFF563412u);
}

TEST(Bitmap32, MakeTransparentKeysOnBottomLeftColourAndBleeds) {
  // One row: the bottom-left pixel is red, so every red pixel (whatever its alpha) loses its
  // alpha; transparent pixels then take the colour of an opaque neighbour, left first.
  CBitmap32 img = Image(5, 1, {0xFFFF0000u, 0xFFFF0000u, 0xFF00FF00u, 0x80FF0000u, 0xFF0000FFu});
  img.MakeTransparent();
  EXPECT_EQ(Pixels(img), (std::vector<uint32_t>{0x00FF0000u, 0x0000FF00u, 0xFF00FF00u, 0x0000FF00u,
                                                0xFF0000FFu}));
}

TEST(Bitmap32, BleedPrefersLeftThenRightThenAboveThenBelow) {
  // The centre is transparent; its left neighbour is transparent too, so the right one wins.
  CBitmap32 img = Image(3, 3,
                        {0x00000000u, 0xFF111111u, 0x00000000u,  //
                         0x00000000u, 0x00000000u, 0xFF222222u,  //
                         0x00000000u, 0xFF333333u, 0x00000000u});
  img.BleedTransparentColors();
  EXPECT_EQ(img.Pixel(1, 1), 0x00222222u);
  EXPECT_EQ(img.Pixel(0, 0), 0x00111111u);  // right
  EXPECT_EQ(img.Pixel(0, 1), 0x00000000u);  // no opaque neighbour
  EXPECT_EQ(img.Pixel(2, 2), 0x00333333u);  // left
}

TEST(Bitmap32, SmoothEdgesLowersNeighboursInPlace) {
  CBitmap32 img(3, 3, 0xFF000000u);
  img.SetPixel(1, 1, 0);
  img.SmoothEdges();
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(img.Pixel(x, y) >> 24, x == 1 && y == 1 ? 0u : 223u) << x << "," << y;

  // A pixel that reaches 0 before it is visited counts as transparent in turn.
  CBitmap32 row = Image(3, 1, {0x00000000u, 0x20000000u, 0x28000000u});
  row.SmoothEdges();
  EXPECT_EQ(Pixels(row), (std::vector<uint32_t>{0, 0, 0x08000000u}));
}

TEST(Bitmap32, AlphaFromBrightnessOverTheOverlap) {
  CBitmap32 img = Image(2, 1, {0xFF102030u, 0xC0102030u});
  CBitmap32 other = Image(1, 2, {0xFF1E3C5Au, 0xFF000000u});  // (30 + 60 + 90) / 3 = 60
  img.AlphaFromBrightness(other);
  EXPECT_EQ(img.Pixel(0, 0), 0x3C102030u);
  EXPECT_EQ(img.Pixel(1, 0), 0xC0102030u);
}

TEST(Bitmap32, ResizeNearestPicksFlooredSourcePixels) {
  CBitmap32 img = Image(2, 2, {1, 2, 3, 4});
  CBitmap32 wide = img;
  wide.ResizeNearest(4, 1);
  EXPECT_EQ(Pixels(wide), (std::vector<uint32_t>{1, 1, 2, 2}));
  CBitmap32 tall = img;
  tall.ResizeNearest(1, 3);
  EXPECT_EQ(Pixels(tall), (std::vector<uint32_t>{1, 1, 3}));
}

TEST(Bitmap32, OpaqueBounds) {
  CBitmap32 img(4, 3, 0);
  EXPECT_EQ(img.OpaqueBounds(), (CRect{3, 2, 0, 0}));
  img.SetPixel(1, 0, 0x01000000u);
  img.SetPixel(2, 2, 0xFF000000u);
  EXPECT_EQ(img.OpaqueBounds(), (CRect{1, 0, 2, 2}));
  EXPECT_EQ(CBitmap32().OpaqueBounds(), (CRect{0, 0, 0, 0}));
}

TEST(Bitmap32Gradient, LinearKindsMixWithHalvesToEven) {
  // Black to white over 4 rows: 0, 63.75, 127.5, 191.25.
  CBitmap32 v = CBitmap32::Gradient(1, 4, 0x000000, 0xFFFFFF, 1);
  EXPECT_EQ(Pixels(v), (std::vector<uint32_t>{Grey(0), Grey(64), Grey(128), Grey(191)}));
  // Red (0x0000FF) to blue (0xFF0000) over 4 columns.
  CBitmap32 h = CBitmap32::Gradient(4, 1, 0x0000FF, 0xFF0000, 0);
  EXPECT_EQ(Pixels(h), (std::vector<uint32_t>{0xFFFF0000u, 0xFFBF0040u, 0xFF800080u, 0xFF4000BFu}));
}

TEST(Bitmap32Gradient, RectangleEllipseAndDoubleKinds) {
  CBitmap32 r = CBitmap32::Gradient(4, 4, 0x000000, 0xFFFFFF, 2);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      bool inner = x >= 1 && x <= 2 && y >= 1 && y <= 2;
      EXPECT_EQ(r.Pixel(x, y), inner ? Grey(128) : Grey(0)) << x << "," << y;
    }
  CBitmap32 e = CBitmap32::Gradient(3, 3, 0x000000, 0xFFFFFF, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(e.Pixel(x, y), x == 1 && y == 1 ? Grey(255) : Grey(0)) << x << "," << y;
  CBitmap32 d = CBitmap32::Gradient(5, 1, 0x000000, 0xFFFFFF, 4);
  EXPECT_EQ(Pixels(d),
            (std::vector<uint32_t>{Grey(0), Grey(128), Grey(255), Grey(255), Grey(128)}));
  CBitmap32 dv = CBitmap32::Gradient(1, 5, 0x000000, 0xFFFFFF, 5);
  EXPECT_EQ(Pixels(dv),
            (std::vector<uint32_t>{Grey(0), Grey(128), Grey(255), Grey(255), Grey(128)}));
  // A single step has nothing to divide by: the start colour.
  EXPECT_EQ(CBitmap32::Gradient(1, 1, 0x0000FF, 0xFFFFFF, 4).Pixel(0, 0), 0xFFFF0000u);
}

TEST(Bitmap32, FromPictureBlendsOntoTheKeyColourBeforeMakingItTransparent) {
  CPicture pic;
  pic.width = 3;
  pic.height = 1;
  pic.has_alpha = true;
  pic.pixels = {0x00000000u, 0xFF0000FFu, 0x80FFFFFFu};
  CBitmap32 t = CBitmap32::FromPicture(pic, false, false, true);
  // Pixel 0 shows the key colour and is the bottom-left pixel, so it turns transparent and
  // takes its right neighbour's colour; white at alpha 128 blends over (64, 128, 0).
  EXPECT_EQ(Pixels(t), (std::vector<uint32_t>{0x000000FFu, 0xFF0000FFu, 0xFFA0C080u}));

  CBitmap32 a = CBitmap32::FromPicture(pic, true, false, false);
  EXPECT_EQ(Pixels(a), pic.pixels);

  CPicture empty;
  CBitmap32 one = CBitmap32::FromPicture(empty, false, false, false);
  EXPECT_EQ(one.width(), 1);
  EXPECT_EQ(one.height(), 1);
}

TEST(Bitmap32, FromBitmapDepthsAndToBitmap24) {
  CRawBitmap raw{2, 1, 24, {0x12345678u, 0x00ABCDEFu}};
  CBitmap32 b24 = CBitmap32::FromBitmap(raw, false, false);
  EXPECT_EQ(Pixels(b24), (std::vector<uint32_t>{0xFF345678u, 0xFFABCDEFu}));
  raw.depth = 32;
  CBitmap32 b32 = CBitmap32::FromBitmap(raw, false, false);
  EXPECT_EQ(Pixels(b32), (std::vector<uint32_t>{0x12345678u, 0x00ABCDEFu}));
  CRawBitmap back = b32.ToBitmap24();
  EXPECT_EQ(back.depth, 24);
  EXPECT_EQ(back.pixels, (std::vector<uint32_t>{0x00345678u, 0x00ABCDEFu}));
}

}  // namespace
}  // namespace zorvex
