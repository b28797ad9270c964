// Sprites and backgrounds drawn through the game's function table on Mesa's software renderer,
// checked pixel by pixel against positions worked out by hand, and against reference pictures.
#include "graphics/Graphics_Sprite.h"

#include <gtest/gtest.h>

#include "Render_Fixture.h"
#include "Test_Resources.h"
#include "code/Code_Instance.h"

namespace zorvex::testing {
namespace {

constexpr uint32_t R = 0xFFFF0000u, G = 0xFF00FF00u, B = 0xFF0000FFu, W = 0xFFFFFFFFu;

class SpriteDrawing : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    AttachResources(*game_);
    g().room_width = kWidth;
    g().room_height = kHeight;
  }
  template <class... A>
  RValue Call(const char* name, A... args) {
    return CallFunction(*game_, name, {Arg(args)...});
  }
  template <class... A>
  RValue CallAs(CInstanceCore* self, const char* name, A... args) {
    return CallFunction(*game_, name, {Arg(args)...}, self);
  }
};

using SpriteReference = SpriteDrawing;

TEST_F(SpriteDrawing, PlainSpritesTakeTheOriginAndPickFramesModulo) {
  // Three solid 2 x 2 frames, origin (1, 1).
  int32_t spr = AddTestSprite(*game_, 2, 2, {{R, R, R, R}, {G, G, G, G}, {B, B, B, B}}, 1, 1);
  Call("draw_sprite", spr, 0, 10, 10);
  EXPECT_EQ(Pixel(9, 9), 0xFF0000u);
  EXPECT_EQ(Pixel(10, 10), 0xFF0000u);
  EXPECT_EQ(Pixel(11, 10), 0u);
  EXPECT_EQ(Pixel(8, 9), 0u);
  Call("draw_sprite", spr, 4, 20, 10);  // 4 mod 3
  EXPECT_EQ(Pixel(19, 9), 0x00FF00u);
  Call("draw_sprite", spr, 1.6, 30, 10);  // rounded to 2
  EXPECT_EQ(Pixel(29, 9), 0x0000FFu);
  // Below 0: the calling instance's image_index, rounded down, then modulo.
  CInstanceCore instance;
  static double image_index;
  g().image_index_of = [](const CInstanceCore&) { return image_index; };
  image_index = 2.7;
  CallAs(&instance, "draw_sprite", spr, -1, 40, 10);
  EXPECT_EQ(Pixel(39, 9), 0x0000FFu);
  image_index = -2.0;  // frame -2 of three is frame 1
  CallAs(&instance, "draw_sprite", spr, -1, 50, 10);
  EXPECT_EQ(Pixel(49, 9), 0x00FF00u);
  // Without an instance there is no image_index: frame 0.
  Call("draw_sprite", spr, -3, 10, 20);
  EXPECT_EQ(Pixel(9, 19), 0xFF0000u);
  // The plain form ignores the drawing colour and alpha.
  Call("draw_set_color", 255.0);
  Call("draw_set_alpha", 0.2);
  int32_t white = AddTestSprite(*game_, 1, 1, {{W}}, 0, 0);
  Call("draw_sprite", white, 0, 20, 20);
  EXPECT_EQ(Pixel(20, 20), 0xFFFFFFu);
  // sprite_get_texture follows the same frame rule.
  const CSprite& s = *game_->resources.sprites.Get(spr);
  EXPECT_EQ(Call("sprite_get_texture", spr, 5).real, s.TextureOf(2));
  EXPECT_EQ(Call("texture_exists", Call("sprite_get_texture", spr, 5).real).real, 1);
}

TEST_F(SpriteDrawing, MissingSpritesAndBackgroundsReportAndDrawNothing) {
  int32_t spr = AddTestSprite(*game_, 1, 1, {{W}}, 0, 0);
  Call("draw_sprite", spr + 1, 0, 5, 5);
  EXPECT_NE(game_->errors.last_message.find("Trying to draw non-existing sprite."),
            std::string::npos)
      << game_->errors.last_message;
  game_->errors.last_message.clear();
  Call("draw_background_tiled", 0, 0, 0);
  EXPECT_NE(game_->errors.last_message.find("Trying to draw non-existing background."),
            std::string::npos);
  EXPECT_EQ(Call("sprite_get_texture", -1, 0).real, -1);
  EXPECT_NE(game_->errors.last_message.find("Trying to get texture from non-existing sprite."),
            std::string::npos);
  EXPECT_EQ(Call("background_get_texture", 4e12).real, -1);
  EXPECT_NE(game_->errors.last_message.find("Trying to get texture from non-existing background."),
            std::string::npos);
  // An index beyond 32 bits never wraps round to an existing sprite.
  game_->errors.last_message.clear();
  Call("draw_sprite", 4294967296.0 + spr, 0, 5, 5);
  EXPECT_FALSE(game_->errors.last_message.empty());
  EXPECT_EQ(Pixel(5, 5), 0u);
  // A deleted sprite is missing too.
  game_->resources.sprites.Delete(spr);
  game_->errors.last_message.clear();
  Call("draw_sprite_ext", spr, 0, 5, 5, 1, 1, 0, 16777215, 1);
  EXPECT_FALSE(game_->errors.last_message.empty());
  EXPECT_EQ(Pixel(5, 5), 0u);
}

TEST_F(SpriteDrawing, TransformedStretchedAndPartForms) {
  // red green / blue white, origin (1, 0).
  int32_t spr = AddTestSprite(*game_, 2, 2, {{R, G, B, W}}, 1, 0);
  // Turned 90 degrees about the origin at (10, 10): the origin's texel (green) lands on
  // (10, 10), red (left of it) below it, and the second row to the right.
  Call("draw_sprite_ext", spr, 0, 10, 10, 1, 1, 90, 16777215, 1);
  EXPECT_EQ(Pixel(10, 10), 0x00FF00u);
  EXPECT_EQ(Pixel(10, 11), 0xFF0000u);
  EXPECT_EQ(Pixel(11, 10), 0xFFFFFFu);
  EXPECT_EQ(Pixel(11, 11), 0x0000FFu);
  // Colour and alpha modulate: white x red at half alpha over black.
  Call("draw_sprite_ext", spr, 0, 21, 5, 1, 1, 0, 255, 0.5);
  EXPECT_NEAR(static_cast<int>(Pixel(21, 6) >> 16), 128, 1);  // the white texel, red only
  EXPECT_EQ(Pixel(21, 6) & 0xFFFF, 0u);
  // Stretched to 8 x 6 from (40, 40), ignoring the origin: x 40..47, y 40..45.
  Call("draw_sprite_stretched", spr, 0, 40, 40, 8, 6);
  EXPECT_EQ(Pixel(40, 40), 0xFF0000u);
  EXPECT_EQ(Pixel(47, 40), 0x00FF00u);
  EXPECT_EQ(Pixel(40, 45), 0x0000FFu);
  EXPECT_EQ(Pixel(47, 45), 0xFFFFFFu);
  EXPECT_EQ(Pixel(48, 40), 0u);
  EXPECT_EQ(Pixel(40, 46), 0u);
  // A size of 0 or below draws nothing, mirrored or not.
  Call("draw_sprite_stretched", spr, 0, 30, 30, -4, 4);
  Call("draw_sprite_stretched_ext", spr, 0, 30, 30, 4, 0, 16777215, 1);
  EXPECT_EQ(Pixel(28, 31), 0u);
  EXPECT_EQ(Pixel(31, 31), 0u);
  // The right column alone at (5, 50), then scaled 2 x 2 at (10, 50); no origin.
  Call("draw_sprite_part", spr, 0, 1, 0, 1, 2, 5, 50);
  EXPECT_EQ(Pixel(5, 50), 0x00FF00u);
  EXPECT_EQ(Pixel(5, 51), 0xFFFFFFu);
  EXPECT_EQ(Pixel(6, 50), 0u);
  Call("draw_sprite_part_ext", spr, 0, 1, 0, 1, 2, 10, 50, 2, 2, 16777215, 1);
  EXPECT_EQ(Pixel(11, 51), 0x00FF00u);
  EXPECT_EQ(Pixel(11, 53), 0xFFFFFFu);
  EXPECT_EQ(Pixel(12, 50), 0u);
  EXPECT_EQ(Pixel(10, 54), 0u);
  // Four corner colours on the white texel: pure red at its single pixel's corners.
  Call("draw_sprite_general", spr, 0, 1, 1, 1, 1, 20, 50, 1, 1, 0, 255, 255, 255, 255, 1);
  EXPECT_EQ(Pixel(20, 50), 0xFF0000u);
}

TEST_F(SpriteDrawing, TiledSpritesCoverTheRoomFromTheirPosition) {
  // A 4 x 1 strip R G B W.
  int32_t spr = AddTestSprite(*game_, 4, 1, {{R, G, B, W}}, 0, 0);
  // x = -7: -7 mod 4 = -3, and -3 + 4 already reaches the left edge, so columns start at -3.
  Call("draw_sprite_tiled", spr, 0, -7, 3);
  EXPECT_EQ(Pixel(0, 0), 0xFFFFFFu);  // texel 3 of the column at -3
  EXPECT_EQ(Pixel(1, 40), 0xFF0000u);
  EXPECT_EQ(Pixel(2, 63), 0x00FF00u);
  EXPECT_EQ(Pixel(63, 63), 0x0000FFu);  // (63 - 1) mod 4 = 2
  // The room's size bounds the tiling: in a 32-pixel room the last column starts at 29.
  g().device.gl()->Clear(0xFF000000u, true, false);
  g().room_width = 32;
  g().room_height = 10;
  Call("draw_sprite_tiled_ext", spr, 0, 1, 0, 1, 1, 16777215, 1);
  EXPECT_EQ(Pixel(32, 5), 0xFFFFFFu);
  EXPECT_EQ(Pixel(33, 5), 0u);
  EXPECT_EQ(Pixel(5, 9), 0xFF0000u);  // the last row starts at 9 < 10
  EXPECT_EQ(Pixel(5, 10), 0u);
  // Scaled twice: tiles of 8 x 2 from x = 1, so (1, 0) and (2, 0) are red, (3, 0) green.
  g().device.gl()->Clear(0xFF000000u, true, false);
  Call("draw_sprite_tiled_ext", spr, 0, 1, 0, 2, 2, 16777215, 1);
  EXPECT_EQ(Pixel(2, 0), 0xFF0000u);
  EXPECT_EQ(Pixel(3, 1), 0x00FF00u);
  EXPECT_EQ(Pixel(0, 0), 0xFFFFFFu);
}

TEST_F(SpriteDrawing, BackgroundsHaveTheirTopLeftAsOrigin) {
  int32_t back = AddTestBackground(*game_, 2, 2, {R, G, B, W});
  Call("draw_background", back, 4, 4);
  EXPECT_EQ(Pixel(4, 4), 0xFF0000u);
  EXPECT_EQ(Pixel(5, 5), 0xFFFFFFu);
  Call("draw_background_ext", back, 20, 20, 2, 2, 180, 16777215, 1);  // turned about (20, 20)
  EXPECT_EQ(Pixel(20, 20), 0xFF0000u);  // covers 17..20 each way, upside down
  EXPECT_EQ(Pixel(19, 19), 0xFF0000u);
  EXPECT_EQ(Pixel(17, 17), 0xFFFFFFu);
  EXPECT_EQ(Pixel(16, 17), 0u);
  Call("draw_background_stretched", back, 30, 4, 4, 2);
  EXPECT_EQ(Pixel(33, 4), 0x00FF00u);
  EXPECT_EQ(Pixel(30, 5), 0x0000FFu);
  Call("draw_background_part", back, 0, 1, 2, 1, 40, 4);  // the bottom row
  EXPECT_EQ(Pixel(40, 4), 0x0000FFu);
  EXPECT_EQ(Pixel(40, 5), 0u);
  Call("draw_background_general", back, 1, 0, 1, 1, 50, 4, 1, 1, 0, 65535, 65535, 65535, 65535, 1);
  EXPECT_EQ(Pixel(50, 4), 0x00FF00u);  // green texel x yellow
  Call("draw_background_tiled_ext", back, 1, 41, 1, 1, 255, 1);
  EXPECT_EQ(Pixel(1, 41), 0xFF0000u);
  EXPECT_EQ(Pixel(2, 41), 0u);  // green x red
  EXPECT_EQ(Pixel(1, 63), 0xFF0000u);
  EXPECT_EQ(Pixel(0, 0), 0xFF0000u);  // white x red, from the tile starting at (-1, -1)
  // Stretching needs the stored size; a background that has none draws nothing.
  g().device.gl()->Clear(0xFF000000u, true, false);
  game_->resources.backgrounds.Get(back)->width = 0;
  Call("draw_background_stretched_ext", back, 60, 60, 3, 3, 16777215, 1);
  EXPECT_EQ(Pixel(61, 61), 0u);
  EXPECT_EQ(Call("background_get_texture", back).real,
            game_->resources.backgrounds.Get(back)->Texture());
}

TEST_F(SpriteDrawing, WhatRoomDrawingCalls) {
  int32_t spr = AddTestSprite(*game_, 1, 1, {{W}, {G}}, 0, 0);
  const CSprite& s = *game_->resources.sprites.Get(spr);
  // Default image fields: the plain way; frame floor(1.9) = 1.
  DrawInstanceSprite(g(), s, 1.9, 3, 3, 1, 1, 0, 16777215, 1);
  EXPECT_EQ(Pixel(3, 3), 0x00FF00u);
  // A blend colour takes the transformed way.
  DrawInstanceSprite(g(), s, 0, 5, 3, 1, 1, 0, 255, 1);
  EXPECT_EQ(Pixel(5, 3), 0xFF0000u);
  DrawInstanceSprite(g(), s, 0, 7, 3, 2, 1, 0, 16777215, 1);
  EXPECT_EQ(Pixel(8, 3), 0xFFFFFFu);
  EXPECT_EQ(FrameOfImageIndex(-0.5), -1);
  EXPECT_EQ(FrameOfImageIndex(1e300), 0);

  int32_t back = AddTestBackground(*game_, 2, 2, {R, G, B, W});
  // A layer tiled horizontally only, over the rectangle (0, 10)-(64, 20): one row at y = 12.
  CBack layer;
  layer.index = back;
  layer.x = 1;
  layer.y = 12;
  layer.htiled = true;
  layer.vtiled = false;
  DrawBackgroundLayer(g(), game_->resources.backgrounds, layer, 0, 10, 64, 20);
  EXPECT_EQ(Pixel(0, 12), 0x00FF00u);
  EXPECT_EQ(Pixel(63, 13), 0x0000FFu);
  EXPECT_EQ(Pixel(5, 14), 0u);
  EXPECT_EQ(Pixel(5, 11), 0u);
  layer.index = back + 1;  // no such background: nothing
  DrawBackgroundLayer(g(), game_->resources.backgrounds, layer, 0, 0, 64, 64);

  // Tiles: wholly outside the rectangle they are skipped; partly inside they are drawn whole.
  CTile tile;
  tile.background = back;
  tile.width = 2;
  tile.height = 2;
  tile.x = 41;
  tile.y = 30;
  EXPECT_FALSE(DrawTile(g(), game_->resources.backgrounds, tile, 0, 0, 40, 40));
  EXPECT_EQ(Pixel(41, 30), 0u);
  tile.x = 39;
  EXPECT_TRUE(DrawTile(g(), game_->resources.backgrounds, tile, 0, 0, 40, 40));
  EXPECT_EQ(Pixel(40, 31), 0xFFFFFFu);
  tile.x = 10;
  tile.y = 40;
  tile.left = 1;
  tile.width = 1;
  tile.xscale = 3;
  tile.blend = 65280;
  EXPECT_TRUE(DrawTile(g(), game_->resources.backgrounds, tile, 0, 0, 40, 40));
  EXPECT_EQ(Pixel(12, 40), 0x00FF00u);
  EXPECT_EQ(Pixel(12, 41), 0x00FF00u);  // white x green
  EXPECT_EQ(Pixel(13, 40), 0u);
  tile.background = back + 1;
  EXPECT_FALSE(DrawTile(g(), game_->resources.backgrounds, tile, 0, 0, 40, 40));
}

TEST_F(SpriteDrawing, ChangedPixelsDrawTheirNewTextures) {
  int32_t back = AddTestBackground(*game_, 2, 2, {R, R, R, R});
  CBackground& b = *game_->resources.backgrounds.Get(back);
  auto live = [&] {
    int n = 0;
    for (size_t i = 0; i < g().textures.Size(); ++i)
      n += g().textures.Get(static_cast<int>(i)) != nullptr;
    return n;
  };
  const int before = live();
  b.MakeSolid(3, 3, 65280, false);
  EXPECT_EQ(live(), before);  // the old texture went with the old picture
  Call("draw_background", back, 0, 0);
  EXPECT_EQ(Pixel(2, 2), 0x00FF00u);
  int32_t spr = AddTestSprite(*game_, 1, 1, {{R}}, 0, 0);
  CRawBitmap blue{1, 1, 32, {B}};
  game_->resources.sprites.Get(spr)->AddFrameFromBitmap(blue, true);
  EXPECT_EQ(live(), before + 2);
  Call("draw_sprite", spr, 1, 10, 10);
  EXPECT_EQ(Pixel(10, 10), 0x0000FFu);
  game_->resources.sprites.Delete(spr);
  EXPECT_EQ(live(), before);
}

// ---- reference pictures (ZORVEX_UPDATE_RENDER=1 rewrites them; look at them before accepting) --

// An 8 x 8 picture: a red column on the left, a yellow top row, blue elsewhere, a transparent
// bottom-right quarter.
std::vector<uint32_t> ArrowPicture() {
  std::vector<uint32_t> img(64, 0xFF2040C0u);
  for (int y = 0; y < 8; ++y)
    img[static_cast<size_t>(y) * 8] = R;
  for (int x = 0; x < 8; ++x)
    img[static_cast<size_t>(x)] = 0xFFFFFF00u;
  for (int y = 5; y < 8; ++y)
    for (int x = 5; x < 8; ++x)
      img[static_cast<size_t>(y) * 8 + x] = 0x00000000u;
  return img;
}

TEST_F(SpriteReference, SpritesScaledTurnedBlendedAndTranslucent) {
  // A grey band behind the lower half shows what translucency lets through.
  Fill(g(), 0, 32, 63, 63, 0xFF606060u);
  int32_t spr = AddTestSprite(*game_, 8, 8, {ArrowPicture()}, 4, 4);
  Call("draw_sprite", spr, 0, 6, 6);
  Call("draw_sprite_ext", spr, 0, 22, 7, 1, 1, 30, 16777215, 1);
  Call("draw_sprite_ext", spr, 0, 42, 8, 2, 1, 90, 16777215, 1);
  Call("draw_sprite_ext", spr, 0, 56, 8, -1, 1.5, 0, 16777215, 1);  // mirrored
  Call("draw_sprite_ext", spr, 0, 8, 24, 1.5, 1.5, 0, 65280, 1);    // green blend
  Call("draw_sprite_ext", spr, 0, 26, 24, 1, 1, -45, 16777215, 0.5);
  Call("draw_sprite_stretched_ext", spr, 0, 36, 18, 24, 10, 16777215, 0.7);
  Call("draw_sprite_ext", spr, 0, 8, 42, 1.5, 1.5, 0, 16777215, 0.4);
  Call("draw_sprite_general", spr, 0, 0, 0, 8, 8, 20, 36, 2, 2, 15, 255, 65280, 16711680, 16777215,
       1);
  Call("draw_sprite_part_ext", spr, 0, 0, 0, 4, 4, 44, 44, 4, 4, 65535, 0.8);
  ExpectMatchesReference("sprites_transformed");
}

TEST_F(SpriteReference, BackgroundsTiledAndStretched) {
  // A 6 x 4 picture: a checker of two blues with an orange corner pixel.
  std::vector<uint32_t> pic(24);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      pic[static_cast<size_t>(y) * 6 + x] = (x + y) % 2 ? 0xFF2050A0u : 0xFF80B0F0u;
  pic[0] = 0xFFFF8000u;
  int32_t back = AddTestBackground(*game_, 6, 4, pic);
  g().room_width = 64;
  g().room_height = 24;
  Call("draw_background_tiled", back, -2, 3);
  g().room_height = 64;
  CBack layer;
  layer.index = back;
  layer.x = 5;
  layer.y = 26;
  layer.htiled = true;
  layer.vtiled = false;
  layer.xscale = 1.5;
  layer.yscale = 1.5;
  layer.blend = 0x80FF80;
  DrawBackgroundLayer(g(), game_->resources.backgrounds, layer, 0, 0, 64, 64);
  Call("draw_background_stretched", back, 2, 36, 28, 12);
  Call("draw_background_stretched_ext", back, 34, 36, 28, 12, 255, 0.6);
  Call("draw_background_part_ext", back, 1, 1, 4, 2, 2, 52, 3, 3, 16777215, 1);
  Call("draw_background_ext", back, 40, 54, 2, 1, 20, 65535, 1);
  ExpectMatchesReference("backgrounds_tiled");
}

}  // namespace
}  // namespace zorvex::testing
