// Sprites and backgrounds: project pictures and options, through a built file, as the runner
// reads them.
#include <gtest/gtest.h>

#include "Builder_Test_Project.h"
#include "runner/Support_Image.h"

namespace zorvex {
namespace {

constexpr uint32_t T = 0x00000000;  // see-through
constexpr uint32_t R = 0xFFFF0000;
constexpr uint32_t G = 0xFF00FF00;
constexpr uint32_t B = 0xFF0000FF;
constexpr uint32_t W = 0xFFFFFFFF;

std::vector<uint32_t> Pixels(const CBitmap32& b) {
  return std::vector<uint32_t>(b.Pixels(),
                               b.Pixels() + static_cast<size_t>(b.width()) * b.height());
}

TEST(BuilderSprite, FramesOptionsAndBoxesReachTheRunner) {
  CTestProject t("sprites");
  // Two 4 x 3 frames; the opaque pixels span columns 1-3 and rows 0-2 over both.
  const std::vector<uint32_t> f0 = {T, R, R, T,  //
                                    T, R, R, T,  //
                                    T, T, T, T};
  const std::vector<uint32_t> f1 = {T, T, T, T,  //
                                    T, T, T, T,  //
                                    T, T, T, G};
  t.WritePng("sprites/spr_ball/0.png", 4, 3, f0);
  t.WritePng("sprites/spr_ball/1.png", 4, 3, f1);
  t.Write("sprites/spr_ball/sprite.json", R"({"origin": "center", "preload": false})");
  // An opaque picture whose bottom-left colour becomes see-through; the box is the full frame.
  t.WritePng("sprites/spr_keyed/0.png", 3, 2, {B, W, W, B, B, W});
  t.Write("sprites/spr_keyed/sprite.json", R"({"key_color": "bottom_left", "bbox_mode": "full"})");
  t.WriteSolidPng("sprites/spr_manual/0.png", 5, 5, G);
  t.Write("sprites/spr_manual/sprite.json",
          R"({"bbox": [1, 1, 3, 2], "precise": false, "transparent": false, "smooth": false,
              "origin": [-3, 7]})");
  auto game = t.Load();
  ASSERT_TRUE(game);
  const CSpriteTable& sprites = game->resources.sprites;
  ASSERT_EQ(sprites.Count(), 3);
  // Sorted by name.
  EXPECT_EQ(sprites.Name(0), "spr_ball");
  EXPECT_EQ(sprites.Name(1), "spr_keyed");
  EXPECT_EQ(sprites.Name(2), "spr_manual");

  const CSprite& ball = *sprites.Get(0);
  ASSERT_EQ(ball.FrameCount(), 2);
  EXPECT_EQ(ball.width, 4);
  EXPECT_EQ(ball.height, 3);
  EXPECT_EQ(Pixels(ball.frames[0]), f0);
  EXPECT_EQ(Pixels(ball.frames[1]), f1);
  EXPECT_EQ(ball.xoffset, 2);
  EXPECT_EQ(ball.yoffset, 1);
  EXPECT_EQ(ball.bbox_mode, 0);
  EXPECT_EQ((CRect{ball.bbox_left, ball.bbox_top, ball.bbox_right, ball.bbox_bottom}),
            (CRect{1, 0, 3, 2}));
  EXPECT_TRUE(ball.precise);
  EXPECT_TRUE(ball.transparent);
  EXPECT_FALSE(ball.smooth);
  EXPECT_FALSE(ball.preload);
  ASSERT_TRUE(ball.masks_built());
  EXPECT_TRUE(ball.MaskAt(0, 1, 0));
  EXPECT_FALSE(ball.MaskAt(0, 0, 0));
  EXPECT_TRUE(ball.MaskAt(1, 3, 2));
  EXPECT_FALSE(ball.MaskAt(1, 1, 0));

  // The blue pixels lose their alpha; see-through pixels then take the colour of their first
  // opaque neighbour (left, right, above, below) in raster order, or keep their own.
  const CSprite& keyed = *sprites.Get(1);
  EXPECT_EQ(Pixels(keyed.frames[0]),
            (std::vector<uint32_t>{0x00FFFFFF, W, W, 0x000000FF, 0x00FFFFFF, W}));
  EXPECT_EQ(keyed.bbox_mode, 1);
  EXPECT_EQ((CRect{keyed.bbox_left, keyed.bbox_top, keyed.bbox_right, keyed.bbox_bottom}),
            (CRect{0, 0, 2, 1}));
  EXPECT_TRUE(keyed.preload);

  const CSprite& manual = *sprites.Get(2);
  EXPECT_EQ(manual.bbox_mode, 2);
  EXPECT_EQ((CRect{manual.bbox_left, manual.bbox_top, manual.bbox_right, manual.bbox_bottom}),
            (CRect{1, 1, 3, 2}));
  EXPECT_EQ(manual.xoffset, -3);
  EXPECT_EQ(manual.yoffset, 7);
  EXPECT_FALSE(manual.precise);
  EXPECT_FALSE(manual.transparent);
  EXPECT_FALSE(manual.masks_built());
}

TEST(BuilderSprite, SmoothEdgesSoftenTheOutline) {
  CTestProject t("smooth");
  // One see-through pixel in the middle of a 3 x 3 opaque block: its eight neighbours lose 32.
  std::vector<uint32_t> px(9, W);
  px[4] = T;
  t.WritePng("sprites/spr_soft/0.png", 3, 3, px);
  t.Write("sprites/spr_soft/sprite.json", R"({"smooth": true})");
  auto game = t.Load();
  ASSERT_TRUE(game);
  const CBitmap32& f = game->resources.sprites.Get(0)->frames[0];
  EXPECT_EQ(f.Pixel(0, 0), 0xDFFFFFFFu);
  EXPECT_EQ(f.Pixel(2, 2), 0xDFFFFFFFu);
  EXPECT_EQ(CBitmap32::Alpha(f.Pixel(1, 1)), 0);
  EXPECT_TRUE(game->resources.sprites.Get(0)->smooth);
}

TEST(BuilderSprite, BadSpriteFoldersNameTheFile) {
  CTestProject t("badsprites");
  t.WriteSolidPng("sprites/spr_bad/0.png", 4, 3, R);
  t.WriteSolidPng("sprites/spr_bad/1.png", 4, 4, R);
  EXPECT_EQ(t.Error(),
            "sprites/spr_bad/1.png: 4 x 4 pixels, but 0.png is 4 x 3 (the frames of a sprite "
            "share one size)");
  t.Remove("sprites/spr_bad/1.png");
  t.WriteSolidPng("sprites/spr_bad/2.png", 4, 3, R);
  EXPECT_EQ(t.Error(),
            "sprites/spr_bad/1.png: missing (frames are numbered from 0 without gaps, and there "
            "is 2.png)");
  t.Remove("sprites/spr_bad/2.png");
  t.WriteSolidPng("sprites/spr_bad/01.png", 4, 3, R);
  EXPECT_EQ(t.Error(),
            "sprites/spr_bad/01.png: not a frame (a sprite folder holds 0.png, 1.png, ... and "
            "sprite.json)");
  t.Remove("sprites/spr_bad/01.png");
  t.Write("sprites/spr_bad/sprite.json", R"({"bbox": [0, 0, 4, 2]})");
  EXPECT_EQ(t.Error(),
            "sprites/spr_bad/sprite.json: field \"bbox\": the box must lie inside the 4 x 3 "
            "frame, left <= right and top <= bottom (edges included)");
  t.Write("sprites/spr_bad/sprite.json", R"({"bbox": [0, 0, 1, 1], "bbox_mode": "full"})");
  EXPECT_EQ(t.Error(),
            "sprites/spr_bad/sprite.json: field \"bbox\": a box is given only with "
            "\"bbox_mode\": \"manual\"");
  t.Write("sprites/spr_bad/sprite.json", R"({"bbox_mode": "manual"})");
  EXPECT_EQ(t.Error(),
            "sprites/spr_bad/sprite.json: field \"bbox_mode\": a manual box needs \"bbox\": "
            "[left, top, right, bottom]");
  t.Write("sprites/spr_bad/sprite.json", R"({"bbox_mode": "tight"})");
  EXPECT_EQ(t.Error(),
            "sprites/spr_bad/sprite.json: field \"bbox_mode\": expected one of \"automatic\" (0), "
            "\"full\" (1), \"manual\" (2)");
  t.Write("sprites/spr_bad/sprite.json", R"({"origin": [1]})");
  EXPECT_EQ(t.Error(),
            "sprites/spr_bad/sprite.json: field \"origin\": expected [x, y] or \"center\"");
  t.Write("sprites/spr_bad/sprite.json", R"({"key_color": "red"})");
  EXPECT_EQ(t.Error(),
            "sprites/spr_bad/sprite.json: field \"key_color\": expected \"bottom_left\", a "
            "colour \"#RRGGBB\" or null");
  t.Write("sprites/spr_bad/sprite.json", R"({"frames": 2})");
  EXPECT_EQ(t.Error(), "sprites/spr_bad/sprite.json: field \"frames\": unknown field");
  t.Write("sprites/spr_bad/sprite.json", "{");
  EXPECT_EQ(t.Error().rfind("sprites/spr_bad/sprite.json: not valid JSON", 0), 0u);
  t.Remove("sprites/spr_bad");
  t.Write("sprites/spr_bad/notes.txt", "empty");
  EXPECT_EQ(t.Error(), "sprites/spr_bad: no frames (a sprite folder holds 0.png, 1.png, ...)");
  t.Write("sprites/spr_bad/0.png", "not a picture");
  EXPECT_EQ(t.Error(), "sprites/spr_bad/0.png: neither a PNG nor a BMP picture");
  t.Remove("sprites/spr_bad");
  t.WriteSolidPng("sprites/loose.png", 1, 1, R);
  EXPECT_EQ(t.Error(),
            "sprites/loose.png: not a sprite (a sprite is a folder sprites/NAME/ holding 0.png, "
            "1.png, ... and sprite.json)");
}

TEST(BuilderBackground, PicturesAndOptionsReachTheRunner) {
  CTestProject t("backgrounds");
  const std::vector<uint32_t> a = {0x80102030, R, G, B};
  t.WritePng("backgrounds/bg_a.png", 2, 2, a);
  // A BMP with a green key colour.
  CImage bmp(3, 1);
  bmp.Set(0, 0, 0xFF00FF00);
  bmp.Set(1, 0, 0xFF336699);
  bmp.Set(2, 0, 0xFF00FF00);
  std::vector<uint8_t> bytes = EncodeBmp(bmp, false);
  t.Write("backgrounds/bg_b.bmp", std::string(bytes.begin(), bytes.end()));
  t.Write("backgrounds/bg_b.json",
          R"({"transparent": true, "preload": true, "key_color": "#00FF00"})");
  auto game = t.Load();
  ASSERT_TRUE(game);
  const CBackgroundTable& backs = game->resources.backgrounds;
  ASSERT_EQ(backs.Count(), 2);
  const CBackground& ba = *backs.Get(backs.Find("bg_a"));
  EXPECT_EQ(ba.width, 2);
  EXPECT_EQ(ba.height, 2);
  ASSERT_TRUE(ba.has_image);
  EXPECT_EQ(Pixels(ba.image), a);
  EXPECT_FALSE(ba.transparent);
  EXPECT_FALSE(ba.preload);
  const CBackground& bb = *backs.Get(backs.Find("bg_b"));
  // Both green pixels become see-through and take the colour of their opaque neighbour.
  EXPECT_EQ(Pixels(bb.image), (std::vector<uint32_t>{0x00336699, 0xFF336699, 0x00336699}));
  EXPECT_TRUE(bb.transparent);
  EXPECT_TRUE(bb.preload);

  t.Write("backgrounds/bg_c.json", "{}");
  EXPECT_EQ(t.Error(),
            "backgrounds/bg_c.json: there is no background \"bg_c\" for it (backgrounds are "
            "NAME.png or NAME.bmp, with an optional NAME.json)");
  t.Remove("backgrounds/bg_c.json");
  t.WriteSolidPng("backgrounds/bg_b.png", 1, 1, R);
  EXPECT_EQ(t.Error(),
            "backgrounds/bg_b.png: a second file for the background \"bg_b\" "
            "(backgrounds/bg_b.bmp)");
}

}  // namespace
}  // namespace zorvex
