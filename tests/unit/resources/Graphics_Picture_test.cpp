#include "resources/Graphics_Picture.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "Resource_Test_Util.h"

namespace zorvex {
namespace {

using testing::GifFrameSpec;
using testing::TempDir;

TEST(PictureFiles, PngWithAndWithoutAlpha) {
  TempDir dir;
  std::vector<uint32_t> px = {0xFFFF0000u, 0x8000FF00u, 0x000000FFu, 0xFF123456u};
  ASSERT_TRUE(testing::WritePng(dir.File("a.png"), 2, 2, px, true));
  CPicture pic;
  ASSERT_TRUE(LoadPictureFile(dir.File("a.png"), pic));
  EXPECT_EQ(pic.width, 2);
  EXPECT_EQ(pic.height, 2);
  EXPECT_TRUE(pic.has_alpha);
  EXPECT_EQ(pic.pixels[0], 0xFFFF0000u);
  EXPECT_EQ(pic.pixels[1], 0x8000FF00u);
  EXPECT_EQ(pic.pixels[2] >> 24, 0u);
  EXPECT_EQ(pic.pixels[3], 0xFF123456u);

  ASSERT_TRUE(testing::WritePng(dir.File("b.png"), 2, 2, px, false));
  ASSERT_TRUE(LoadPictureFile(dir.File("b.png"), pic));
  EXPECT_FALSE(pic.has_alpha);
  EXPECT_EQ(pic.pixels[1], 0xFF00FF00u);
  EXPECT_EQ(pic.pixels[2], 0xFF0000FFu);
}

TEST(PictureFiles, JpegDecodesToOpaqueColours) {
  TempDir dir;
  std::vector<uint32_t> px(16 * 8, 0xFF3080C0u);
  ASSERT_TRUE(testing::WriteJpeg(dir.File("p.jpg"), 16, 8, px));
  CPicture pic;
  ASSERT_TRUE(LoadPictureFile(dir.File("p.jpg"), pic));
  EXPECT_EQ(pic.width, 16);
  EXPECT_EQ(pic.height, 8);
  EXPECT_FALSE(pic.has_alpha);
  for (uint32_t p : pic.pixels) {
    EXPECT_EQ(p >> 24, 0xFFu);
    EXPECT_NEAR(static_cast<int>(p >> 16 & 0xFF), 0x30, 3);
    EXPECT_NEAR(static_cast<int>(p >> 8 & 0xFF), 0x80, 3);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 0xC0, 3);
  }
}

TEST(PictureFiles, GifSubImagesKeepPlaceTransparencyAndDisposal) {
  TempDir dir;
  std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  std::vector<GifFrameSpec> frames = {
      {0, 0, 4, 2, {1, 1, 1, 1, 1, 1, 1, 1}, -1, 1, false},
      {1, 1, 2, 1, {2, 0}, 0, 2, false},
  };
  ASSERT_TRUE(testing::WriteGif(dir.File("a.gif"), 4, 2, palette, frames));
  CGifAnimation anim;
  ASSERT_TRUE(LoadGifFile(dir.File("a.gif"), anim));
  EXPECT_EQ(anim.width, 4);
  EXPECT_EQ(anim.height, 2);
  ASSERT_EQ(anim.frames.size(), 2u);
  EXPECT_EQ(anim.frames[0].disposal, 1);
  EXPECT_EQ(anim.frames[0].transparent_index, -1);
  const auto& f = anim.frames[1];
  EXPECT_EQ(f.left, 1);
  EXPECT_EQ(f.top, 1);
  EXPECT_EQ(f.width, 2);
  EXPECT_EQ(f.height, 1);
  EXPECT_EQ(f.transparent_index, 0);
  EXPECT_EQ(f.disposal, 2);
  EXPECT_EQ(f.indices, (std::vector<uint8_t>{2, 0}));
  EXPECT_EQ(f.palette[2], 0x00FF00u);

  // As one picture: the first sub-image on the logical screen.
  CPicture pic;
  ASSERT_TRUE(LoadPictureFile(dir.File("a.gif"), pic));
  EXPECT_EQ(pic.width, 4);
  EXPECT_FALSE(pic.has_alpha);
  EXPECT_EQ(pic.pixels[0], 0xFFFF0000u);
}

TEST(PictureFiles, InterlacedGifRowsComeOutInOrder) {
  TempDir dir;
  std::vector<uint32_t> palette(16);
  for (uint32_t i = 0; i < 16; ++i)
    palette[i] = i * 0x101010u;
  GifFrameSpec f{0, 0, 1, 10, {}, -1, 0, true};
  for (uint8_t y = 0; y < 10; ++y)
    f.indices.push_back(y);
  ASSERT_TRUE(testing::WriteGif(dir.File("i.gif"), 1, 10, palette, {f}));
  CGifAnimation anim;
  ASSERT_TRUE(LoadGifFile(dir.File("i.gif"), anim));
  EXPECT_EQ(anim.frames[0].indices, f.indices);
}

TEST(PictureFiles, RefusesMissingCorruptUnknownAndOversizedFiles) {
  TempDir dir;
  CPicture pic;
  EXPECT_FALSE(LoadPictureFile(dir.File("none.png"), pic));
  EXPECT_FALSE(LoadPictureFile(dir.Path(), pic));  // a directory

  std::vector<uint32_t> px(64, 0xFF00FF00u);
  ASSERT_TRUE(testing::WritePng(dir.File("c.png"), 8, 8, px, false));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("c.png"), bytes));
  std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
  EXPECT_FALSE(DecodePicture(cut.data(), cut.size(), pic));
  ASSERT_TRUE(testing::WriteJpeg(dir.File("c.jpg"), 8, 8, px));
  ASSERT_TRUE(ReadWholeFile(dir.File("c.jpg"), bytes));
  cut.assign(bytes.begin(), bytes.begin() + 20);
  EXPECT_FALSE(DecodePicture(cut.data(), cut.size(), pic));
  const uint8_t text[] = "just some text";
  EXPECT_FALSE(DecodePicture(text, sizeof text, pic));

  // A GIF whose logical screen is wider than any picture we take.
  ASSERT_TRUE(testing::WriteGif(dir.File("wide.gif"), 20000, 1, {0, 0xFFFFFF},
                                {{0, 0, 1, 1, {1}, -1, 0, false}}));
  CGifAnimation anim;
  EXPECT_FALSE(LoadGifFile(dir.File("wide.gif"), anim));
  EXPECT_FALSE(LoadPictureFile(dir.File("wide.gif"), pic));
}

}  // namespace
}  // namespace zorvex
